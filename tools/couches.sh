#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every file of the program includes only its own layer and the
# layers below it, and that only the globe includes the map library.
#   tools/couches.sh [DIR]     checks DIR (the source tree by default)
#   tools/couches.sh --essai   plants a wrong include in a copy and checks
#                              that it is caught
# Prints each include that runs against the layers, as FILE:LINE: INCLUDE,
# and exits 1 when there is one.
set -euo pipefail

# Folder -> the folders its files may include, ground to top. The core's
# folders stand on each other in this order; tests, fuzz and bench may use
# everything and are not checked.
declare -A PERMIS=(
    [gpx]="gpx"
    [editing]="gpx editing"
    [links]="gpx editing links"
    [shell]="gpx editing links shell"
    [earth]="gpx editing links shell earth"
    [ui]="gpx editing links shell earth ui"
    [app]="gpx editing links shell earth ui app"
    [tools]="gpx editing links"
)

verifier() {
    local racine=$1 fautes=0
    cd "$racine"
    while IFS= read -r fichier; do
        local dossier=${fichier%%/*}
        [ -n "${PERMIS[$dossier]+x}" ] || continue
        while IFS=: read -r ligne inclus; do
            local cible=${inclus%%/*}
            # A header beside the file ("GlobeMarble.h") is its own layer's.
            [ "$cible" = "$inclus" ] && continue
            if [ -z "${PERMIS[$cible]+x}" ] || [[ " ${PERMIS[$dossier]} " != *" $cible "* ]]; then
                echo "$fichier:$ligne: includes \"$inclus\" (${dossier}/ may include: ${PERMIS[$dossier]})"
                fautes=$((fautes + 1))
            fi
        done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$fichier" |
            sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/' || true)
        if [[ "$fichier" != earth/globe/* ]] && grep -qn '^[[:space:]]*#[[:space:]]*include[[:space:]]*<marble/' "$fichier"; then
            echo "$fichier:$(grep -n '#[[:space:]]*include[[:space:]]*<marble/' "$fichier" | head -n 1 | cut -d: -f1): includes the map library outside earth/globe/"
            fautes=$((fautes + 1))
        fi
    done < <(find . -type f \( -name '*.cpp' -o -name '*.h' \) -printf '%P\n' | sort)
    [ "$fautes" -eq 0 ]
}

if [ "${1:-}" = "--essai" ]; then
    ici=$(cd "$(dirname "$0")/.." && pwd)
    copie=$(mktemp -d)
    trap 'rm -rf "$copie"' EXIT
    for d in "${!PERMIS[@]}"; do
        [ -d "$ici/$d" ] && cp -r "$ici/$d" "$copie/"
    done
    # A core file that reaches for the window must be named.
    sed -i '0,/^#include/s//#include "ui\/Creer_POI.h"\n#include/' "$copie/gpx/Fichiers.cpp"
    sortie=$(verifier "$copie" || true)
    if ! grep -q '^gpx/Fichiers.cpp:[0-9]*: includes "ui/Creer_POI.h"' <<< "$sortie"; then
        echo "layer check: a planted include of the window in gpx/ went unnoticed" >&2
        exit 1
    fi
    echo "layer check: a planted wrong include is caught"
    exit 0
fi

verifier "${1:-$(cd "$(dirname "$0")/.." && pwd)}" || {
    echo "includes run against the layers (see above)" >&2
    exit 1
}
echo "layers: every include runs down"
