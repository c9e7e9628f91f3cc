#!/usr/bin/env bash
# End-to-end run of the installed editor, driven like a user with xdotool
# under a virtual X server: answer "Non", open the harbour sample, rename a
# mark, add a web link, save, quit; then check the saved file with gpsbabel.
#   tests/e2e/parcours.sh PREFIX EXAMPLE   (run inside xvfb-run)
set -euo pipefail
prefix=$1
exemple=$2
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
mkdir -p "$travail/home" "$travail/docs"
cp "$exemple" "$travail/docs/rade.gpx"
export HOME="$travail/home"

etape() { echo "e2e: $*"; }
capture() { [ -n "${E2E_CAPTURES:-}" ] && xwd -root -silent > "$E2E_CAPTURES/$1.xwd" || true; }
clic() { xdotool mousemove --sync "$1" "$2" click 1; sleep 0.4; }
taper() { xdotool type --delay 15 "$1"; sleep 0.3; }
# Waits until a second window of the editor (the file dialog) is shown.
attendre_dialogue() {
    for _ in $(seq 1 100); do
        [ "$(xdotool search --onlyvisible --pid "$editeur" 2>/dev/null | wc -l)" -ge 2 ] && break
        sleep 0.1
    done
    sleep 0.5
}

cd "$travail"
"$prefix/bin/quaylight" > "$travail/editeur.log" 2>&1 &
editeur=$!
fenetre=$(timeout 60 xdotool search --sync --name 'Quaylight \(V1\.2i\)' | head -n 1)
sleep 1
# Controls are found from the layout in twips: the client area is 3900 twips
# wide and ends the window; the menu bar sits above it.
eval "$(xdotool getwindowgeometry --shell "$fenetre")"
place() { # twips in the client area -> a click there
    clic $(( X + $1 * WIDTH / 3900 )) $(( Y + HEIGHT - (7185 - $2) * WIDTH / 3900 ))
}
etape "answer Non"
place 2190 2407
capture 1-non

etape "open the sample"
clic 20 8
xdotool key Down Return
attendre_dialogue
taper "$travail/docs/rade.gpx"
xdotool key Return
sleep 2
capture 2-ouvert

etape "select the first mark and rename it"
place 660 1560        # first entry of the list
place 480 6307        # Modifier le Poi
place 1360 5947       # name box
xdotool key ctrl+a
taper "Quai du Chateau"
place 2767 6667       # Valider
capture 3-modifie

etape "add a web link"
clic 131 8            # Liens du Poi
place 1480 2182       # link text
taper "Capitainerie"
place 1480 2752       # link address
taper "https://example.org/capitainerie?a=1&b=2"
place 1980 4507       # Valider
capture 4-lien

etape "save and quit"
clic 20 8
xdotool key Down Down Return
sleep 1
clic 221 8            # Quitter
sleep 1
capture 5-question
xdotool key Escape    # "Sauver le fichier ?": No, it is saved already
for _ in $(seq 1 50); do
    kill -0 "$editeur" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$editeur" 2>/dev/null; then
    echo "e2e: the editor did not end" >&2
    kill "$editeur"
    exit 1
fi

etape "check the saved file"
xmllint --noout "$travail/docs/rade.gpx"
gpsbabel -i gpx -f "$travail/docs/rade.gpx" -o unicsv -F "$travail/marques.csv"
grep -q '"Quai du Chateau"' "$travail/marques.csv" || { cat "$travail/marques.csv"; exit 1; }
grep -q '"Moulin Blanc"' "$travail/marques.csv" || { cat "$travail/marques.csv"; exit 1; }
"$prefix/bin/quaylight-gpx" dump "$travail/docs/rade.gpx" > "$travail/dump.txt"
grep -q $'link\t1\t3\thttps://example.org/capitainerie?a=1&amp;b=2\tCapitainerie' "$travail/dump.txt" ||
    { cat "$travail/dump.txt"; exit 1; }
[ -f "$travail/docs/tmp/rade.gpx.30" ] || { echo "e2e: no backup" >&2; exit 1; }
grep -q 'Creer_POI_MargeG' "$HOME/.config/Quaylight/Quaylight.ini"
echo "e2e: passed"
