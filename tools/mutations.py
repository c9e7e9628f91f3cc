#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Mutation check: plants one small fault at a time in a scratch copy of
the tree, rebuilds it incrementally, runs the fast tests, and counts the
faults they notice (killed) and those they miss (survived), per folder.

    tools/mutations.py [--liste tools/mutations.txt] [--seul N ...] [--garder DIR]
    tools/mutations.py --tirer N [--graine S]

The list holds one fault a line: FILE | TEXT | REPLACEMENT | WHY, where
TEXT stands exactly once in FILE ("\\n" and "\\t" stand for a line end and a
tab, "\\\\" for a backslash; " | " separates the fields). A WHY that starts with "neutre:" marks a
fault that cannot change behaviour: it is tried, not counted. The working
tree is never written: the copy lives in a temporary folder, or in DIR
(kept between runs, so that only what changed is built again).

--tirer prints N faults drawn at random, in the list's format, for a sample
the tests were not written against: a comparison flipped, an operator
swapped, a constant or a "+ 1" changed, a call or an assignment dropped, two
arguments swapped, each on a line of the program's sources that stands once
in its file and in no list yet.
"""
import argparse
import collections
import glob
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

ICI = os.path.dirname(os.path.abspath(__file__))
RACINE = os.path.dirname(ICI)
# The fast tests: the widget-free core and the windows through the fake seam;
# the relay's and the globe's, which take the longest, for the faults of the
# map's folder, the only code they check that the others do not.
TESTS = "^(test_noyau|test_commandes|regression_.*)$"
TESTS_CARTE = "^(test_noyau|test_commandes|test_relais|test_globe|regression_.*)$"
CIBLES = ["test_noyau", "test_commandes", "test_relais", "test_globe", "quaylight", "quaylight-gpx",
          "regression_gpx", "regression_langue", "regression_nombres", "regression_tuiles"]
CIBLES_CARTE = ["test_relais", "test_globe"]
DELAI = 120


def lire_liste(chemin):
    fautes = []
    with open(chemin, encoding="utf-8") as f:
        for n, ligne in enumerate(f, 1):
            ligne = ligne.rstrip("\n")
            if not ligne.strip() or ligne.startswith("#"):
                continue
            champs = ligne.split(" | ")
            if len(champs) != 4:
                sys.exit(f"{chemin}:{n}: four fields separated by ' | ' expected")
            def dec(s):
                return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), s)
            fichier, texte, remplacement, pourquoi = champs
            fautes.append((n, fichier.strip(), dec(texte), dec(remplacement), pourquoi.strip()))
    return fautes


def executer(commande, dossier, delai=None):
    try:
        return subprocess.run(commande, cwd=dossier, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=delai).returncode
    except subprocess.TimeoutExpired:
        return -1


SYMETRIQUES = {"swap", "min", "max", "qMin", "qMax", "hypot"}


def tirer(n, graine):
    """n faults drawn at random, one a line, none in a list already."""
    listes = "".join(open(l, encoding="utf-8").read()
                     for l in glob.glob(os.path.join(ICI, "mutations*.txt")))
    changements = [(r" <= ", " < "), (r" < ", " <= "), (r" >= ", " > "), (r" > ", " >= "),
                   (r" == ", " != "), (r" != ", " == "), (r" && ", " || "), (r" \|\| ", " && "),
                   (r" \+ 1\b", ""), (r" - 1\b", ""), (r"\btrue\b", "false"),
                   (r"\bfalse\b", "true")]
    comparaisons = ("<=", "<", ">=", ">", "==", "!=")
    # Each fault's kind, drawn first and as often as the others: there are
    # many more statements to drop than comparisons to flip.
    genres = collections.defaultdict(list)
    for dossier in ["gpx", "editing", "links", "shell", "earth", "ui", "app", "tools"]:
        for fichier in sorted(glob.glob(os.path.join(RACINE, dossier, "**", "*.[ch]*"),
                                        recursive=True)):
            if not fichier.endswith((".cpp", ".h")):
                continue
            texte = open(fichier, encoding="utf-8").read()
            for ligne in texte.split("\n"):
                s = ligne.strip()
                if (not s or s.startswith(("//", "#", "*")) or " | " in s or
                        texte.count(s) != 1 or s.replace("\\", "\\\\") in listes):
                    continue
                nom = os.path.relpath(fichier, RACINE)
                for motif, remplacement in changements:
                    for m in re.finditer(motif, s):
                        nouveau = s[:m.start()] + remplacement + s[m.end():]
                        avant = re.sub(r"\\b|\\", "", motif).strip()
                        genre = ("comparaison" if avant in comparaisons else
                                 "operateur" if avant in ("&&", "||") else "constante")
                        genres[genre].append((nom, s, nouveau, f"{avant} made {remplacement.strip() or 'nothing'}"))
                # A call or an assignment left out; two arguments swapped.
                if (fichier.endswith(".cpp") and s.count("(") == s.count(")") and
                        re.fullmatch(r"[\w.\->\[\]:]+(\(.*\)| [-+*/|&]?= .*);", s)):
                    genres["statement dropped"].append((nom, s, ";", "statement dropped"))
                for m in re.finditer(r"(\w*)\((\w+), (\w+)\)", s):
                    # Not in a call whose two arguments are alike (swap, min,
                    # max), its type given or not (std::min<size_t>), nor two
                    # equal arguments.
                    if (m.group(2) == m.group(3) or
                            re.search(r"\b(%s)(<[\w:, ]*>)?$" % "|".join(SYMETRIQUES),
                                      s[:m.start(2) - 1])):
                        continue
                    nouveau = (s[:m.start()] + f"{m.group(1)}({m.group(3)}, {m.group(2)})" +
                               s[m.end():])
                    genres["arguments swapped"].append((nom, s, nouveau, "arguments swapped"))
    hasard = random.Random(graine)
    for g in genres.values():
        hasard.shuffle(g)
    e = lambda t: t.replace("\\", "\\\\")
    vues = set()
    while len(vues) < n and any(genres.values()):
        g = genres[hasard.choice(sorted(k for k in genres if genres[k]))]
        fichier, s, nouveau, motif = g.pop()
        if s in vues:
            continue
        vues.add(s)
        print(f"{fichier} | {e(s)} | {e(nouveau)} | random: {motif}")


def copier(copie):
    """The tracked files as they stand in the working tree; unchanged ones
    are left alone, so that the build sees only what changed."""
    fichiers = subprocess.run(["git", "ls-files", "-z"], cwd=RACINE, check=True,
                              stdout=subprocess.PIPE).stdout.decode().split("\0")
    for f in filter(None, fichiers):
        source = os.path.join(RACINE, f)
        cible = os.path.join(copie, f)
        os.makedirs(os.path.dirname(cible), exist_ok=True)
        with open(source, "rb") as s:
            octets = s.read()
        if os.path.exists(cible):
            with open(cible, "rb") as c:
                if c.read() == octets:
                    continue
        # Written now, not with the source's time: a build of the copy made
        # after the source changed would otherwise look newer than it.
        shutil.copyfile(source, cible)
        shutil.copymode(source, cible)


def main():
    a = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    a.add_argument("--liste", default=os.path.join(ICI, "mutations.txt"))
    a.add_argument("--seul", type=int, nargs="+", help="only the faults of these lines")
    a.add_argument("--garder", help="scratch folder kept between runs")
    a.add_argument("--verifier", action="store_true",
                   help="only check that each fault's text stands once in its file")
    a.add_argument("--tirer", type=int, metavar="N", help="print N faults drawn at random")
    a.add_argument("--graine", type=int, default=2026, help="the draw's seed")
    o = a.parse_args()
    if o.tirer:
        tirer(o.tirer, o.graine)
        return
    fautes = lire_liste(o.liste)
    if o.seul:
        fautes = [f for f in fautes if f[0] in o.seul]
    if o.verifier:
        fausses = 0
        for n, fichier, texte, _, _ in fautes:
            with open(os.path.join(RACINE, fichier), encoding="utf-8") as f:
                fois = f.read().count(texte)
            if fois != 1:
                fausses += 1
                print(f"{n}: {fichier}: the text stands {fois} times, not once")
        print(f"{len(fautes)} faults, {fausses} to mend")
        sys.exit(1 if fausses else 0)
    copie = os.path.abspath(o.garder) if o.garder else tempfile.mkdtemp(prefix="quaylight-mutations-")
    os.makedirs(copie, exist_ok=True)
    copier(copie)
    construction = os.path.join(copie, "build-mutations")
    if executer(["cmake", "-S", ".", "-B", construction, "-DCMAKE_BUILD_TYPE=Debug",
                 "-DQUAYLIGHT_TESTS=ON", "-DQUAYLIGHT_BENCH=OFF"], copie) != 0:
        sys.exit("mutations: the copy does not configure")
    construire = ["cmake", "--build", construction, "-j2", "--target"] + CIBLES
    def ctest(*options):
        return ["xvfb-run", "-a", "ctest", "--test-dir", construction, *options]
    def tester(motif):
        # A fault is killed at the first test that fails.
        return ctest("-R", motif, "--timeout", str(DELAI), "-j2", "--stop-on-failure")
    if executer(construire, copie) != 0:
        sys.exit("mutations: the copy does not build")
    if executer(tester(TESTS_CARTE), copie) != 0:
        # Which test, and how: a test that fails now and then would count
        # faults as killed.
        subprocess.run(ctest("--rerun-failed", "--output-on-failure"), cwd=copie)
        sys.exit("mutations: the fast tests fail without a fault")
    bilan = collections.defaultdict(lambda: [0, 0])
    survivantes = []
    for n, fichier, texte, remplacement, pourquoi in fautes:
        chemin = os.path.join(copie, fichier)
        try:
            with open(chemin, encoding="utf-8") as f:
                original = f.read()
        except OSError:
            print(f"{n}: {fichier}: no such file", flush=True)
            continue
        if original.count(texte) != 1:
            print(f"{n}: {fichier}: the text stands {original.count(texte)} times, not once",
                  flush=True)
            continue
        neutre = pourquoi.startswith("neutre:")
        debut = time.time()
        try:
            with open(chemin, "w", encoding="utf-8") as f:
                f.write(original.replace(texte, remplacement))
            carte = fichier.startswith("earth/")
            motif = TESTS_CARTE if carte else TESTS
            construite = executer(construire if carte else
                                  [c for c in construire if c not in CIBLES_CARTE], copie) == 0
            code = executer(tester(motif), copie, 3 * DELAI) if construite else 0
            tuee = code != 0
            # Killed only if the test that failed fails again (a hang is
            # enough): one that fails now and then would count a fault it
            # never saw.
            if tuee and code != -1:
                tuee = executer(ctest("--rerun-failed", "--timeout", str(DELAI)), copie,
                                3 * DELAI) != 0
        finally:
            with open(chemin, "w", encoding="utf-8") as f:
                f.write(original)
        dossier = fichier.split("/")[0] if "/" in fichier else "."
        if fichier.startswith("earth/globe/"):
            dossier = "earth/globe"
        if not construite:
            # A fault the compiler refuses is no fault a test could miss.
            print(f"{n}: does not build {fichier}: {pourquoi}", flush=True)
            continue
        print(f"{n}: {'killed' if tuee else 'SURVIVED'}{' (neutral)' if neutre else ''} "
              f"{fichier}: {pourquoi} [{time.time() - debut:.0f} s]", flush=True)
        if neutre:
            continue
        bilan[dossier][0 if tuee else 1] += 1
        if not tuee:
            survivantes.append(f"{n}: {fichier}: {pourquoi}")
    # The copy built back as the tree stands, for the next run.
    executer(construire, copie)
    print("\nfolder\tkilled\tsurvived")
    total = [0, 0]
    for dossier in sorted(bilan):
        k, s = bilan[dossier]
        total[0] += k
        total[1] += s
        print(f"{dossier}\t{k}\t{s}")
    n = total[0] + total[1]
    print(f"total\t{total[0]}\t{total[1]}\t{100 * total[0] / n if n else 0:.0f}% killed")
    if survivantes:
        print("\nsurvived:\n" + "\n".join(survivantes))
    if not o.garder:
        shutil.rmtree(copie, ignore_errors=True)


if __name__ == "__main__":
    main()
