#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end runs of the installed editor under a virtual X server with a
# window manager, driven like a user with xdotool (mouse and keyboard):
#  1. answer "Non", open the harbour sample, rename a mark, add a web link,
#     save, quit; the saved file is checked with xmllint, gpsbabel and the
#     companion tool;
#  2. in a French locale: open, select a mark, open again, Shift+Tab into the
#     list, "Supprimer le Poi" + "Valider" (the program must refuse), add a
#     mark typed with a decimal point, save;
#  3. a file another program wrote, with characters beyond Windows-1252,
#     lon before lat, elements and extensions the editor does not show, a
#     track: open and save without a message, and it reads back the same, keeps all
#     it held and stays valid GPX 1.1;
#  3b. a CSV file imported through the menu with the keyboard: opened as
#     a GPX file beside it, the CSV unchanged;
#  4. a file named on the command line: listed once "Non" is answered;
#  5. "Oui": the globe's first place beside the editor, its frame inside
#     the screen; the sea chart's tiles from a local server, under the program's
#     name; a right click east of a selected mark takes that position, and
#     the menu key on the map gives a new mark the view's centre;
#  6. (French locale) Ctrl+F and a name typed without its accent: the mark chosen; a filter
#     that hides every mark, a click on the map picks it back; dragged east
#     in "Modifier le Poi", given a symbol, "Valider", saved;
#  7. four marks chosen with Shift+arrows, "Supprimer le Poi" + "Valider":
#     Return keeps them (No the default), Yes deletes them, saved; Ctrl+Z
#     and a save give the file back whole;
#  8. (French locale) a route planned: two marks chosen in the list, Ctrl+R,
#     "Nouvelle route" named by typing, the marks added, then built on the
#     map with a click on a mark and one on the water, Escape; the speed
#     and departure typed; saved, and listed by quaylight-gpx routes;
#  9. (French locale) three marks chosen with Ctrl+click, their properties
#     opened with Ctrl+P, names hidden and an arrival radius typed with a
#     decimal comma by keyboard, Return; saved, checked with quaylight-gpx
#     props; Ctrl+Z and a save give the properties back;
#  10. a Garmin BaseCamp file merged from the menu by the keyboard, one of
#     its marks carrying the GUID of an open mark: "Garder les deux" for
#     all changed marks, Return; saved, checked with quaylight-gpx dump.
#   tests/e2e/parcours.sh PREFIX EXAMPLE   (run inside xvfb-run)
set -euo pipefail
prefix=$1
exemple=$2
ici=$(cd "$(dirname "$0")" && pwd)
travail=$(mktemp -d)
mkdir -p "$travail/home" "$travail/docs"
cp "$exemple" "$travail/docs/rade.gpx"
export HOME="$travail/home" LANG=C.UTF-8
openbox > "$travail/openbox.log" 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null; rm -rf "$travail"' EXIT
sleep 1

etape() { echo "e2e: $*"; }
capture() { [ -n "${E2E_CAPTURES:-}" ] && xwd -root -silent > "$E2E_CAPTURES/$1.xwd" || true; }
clic() { xdotool mousemove --sync "$1" "$2" click 1; sleep 0.4; }
taper() { xdotool type --delay 15 "$1"; sleep 0.3; }
fenetres() { xdotool search --onlyvisible --pid "$editeur" 2>/dev/null | wc -l; }
# Waits until the editor shows a second window (a dialog or a message box).
attendre_dialogue() {
    for _ in $(seq 1 100); do
        [ "$(fenetres)" -ge 2 ] && break
        sleep 0.1
    done
    [ "$(fenetres)" -ge 2 ] || { echo "e2e: no dialog" >&2; exit 1; }
    sleep 0.5
}
# Controls are found from the layout in twips: the client area is 3900 twips
# wide and ends the window; the menu bar sits above it.
place() { clic $((X + $1 * WIDTH / 3900)) $((Y + HEIGHT - (7185 - $2) * WIDTH / 3900)); }
menu() { clic $((X + $1)) $((Y + 8)); } # Fichier 20, Liens du Poi 131, Quitter 221

demarrer() { # the editor, with its arguments
    "$prefix/bin/quaylight" "$@" > "$travail/editeur.log" 2>&1 &
    editeur=$!
    fenetre=$(timeout 60 xdotool search --sync --onlyvisible --name 'Quaylight \(V1\.2i\)' | head -n 1)
    sleep 1
    xdotool windowactivate --sync "$fenetre"
    # xwininfo, not xdotool, gives the place of a window inside its frame.
    eval "$(xwininfo -id "$fenetre" | awk '/Absolute upper-left X/ {print "X=" $4}
        /Absolute upper-left Y/ {print "Y=" $4} /Width:/ {print "WIDTH=" $2}
        /Height:/ {print "HEIGHT=" $2}')"
    place "${reponse:-2190}" 2407 # Non, or Oui at 990
}
ouvrir() {
    menu 20
    xdotool key Down Return
    attendre_dialogue
    taper "$1"
    xdotool key Return
    sleep 2
}
enregistrer() {
    menu 20
    xdotool key Down Down Return
    sleep 1
}
quitter() {
    menu 221
    sleep 1
    xdotool key Escape # "Sauver le fichier ?": No, it is saved already
    for _ in $(seq 1 50); do
        kill -0 "$editeur" 2>/dev/null || return 0
        sleep 0.2
    done
    echo "e2e: the editor did not end" >&2
    kill "$editeur"
    exit 1
}
marques() {
    gpsbabel -i gpx -f "$1" -o unicsv -F "$travail/marques.csv"
    grep -c '^[0-9]' "$travail/marques.csv"
}

cd "$travail"
etape "1: open the sample, rename a mark, add a web link, save"
demarrer
capture 1-non
ouvrir "$travail/docs/rade.gpx"
capture 2-ouvert
place 660 1860 # first entry of the list
place 480 6307 # Modifier le Poi
place 1360 5947 # name box
xdotool key ctrl+a
taper "Quai du Chateau"
place 2767 6667 # Valider
menu 131 # Liens du Poi
place 1480 2182 # link text
taper "Capitainerie"
place 1480 2752 # link address
taper "https://example.org/capitainerie?a=1&b=2"
place 1980 4507 # Valider
capture 3-lien
enregistrer
quitter
xmllint --noout "$travail/docs/rade.gpx"
marques "$travail/docs/rade.gpx" > /dev/null
grep -q '"Quai du Chateau"' "$travail/marques.csv" || { cat "$travail/marques.csv"; exit 1; }
"$prefix/bin/quaylight-gpx" dump "$travail/docs/rade.gpx" > "$travail/dump.txt"
grep -q $'link\t1\t3\thttps://example.org/capitainerie?a=1&amp;b=2\tCapitainerie' "$travail/dump.txt" ||
    { cat "$travail/dump.txt"; exit 1; }
[ -f "$travail/docs/tmp/rade.gpx.30" ] || { echo "e2e: no backup" >&2; exit 1; }
grep -q 'Creer_POI_MargeG' "$HOME/.config/Quaylight/Quaylight.ini"

etape "2: keyboard focus into the list selects nothing (French locale)"
avant=$(marques "$travail/docs/rade.gpx")
export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
demarrer
ouvrir "$travail/docs/rade.gpx"
place 660 1860 # first entry
xdotool key Down # the second
ouvrir "$travail/docs/rade.gpx"
place 1447 5347 # position box
xdotool key shift+Tab # into the list
place 907 6547 # Supprimer le Poi
place 2527 6547 # Valider
attendre_dialogue # "Selectionner d'abord un Poi"
capture 4-refus
xdotool key Return
sleep 0.5
place 2527 6187 # Nouveau Poi
place 1447 5347 # position box, emptied
taper "48.3512,-4.5523"
place 1360 5827 # name box, emptied
taper "Anse de Bertheaume"
place 2527 6547 # Valider
[ "$(fenetres)" -eq 1 ] || { echo "e2e: a message refused the new mark" >&2; exit 1; }
enregistrer
quitter
export LANG=C.UTF-8
unset LC_ALL
[ "$(marques "$travail/docs/rade.gpx")" -eq $((avant + 1)) ] || { cat "$travail/marques.csv"; exit 1; }
"$prefix/bin/quaylight-gpx" dump "$travail/docs/rade.gpx" > "$travail/dump.txt"
grep -q $'\t48.3512\t-4.5523\t.*\tAnse de Bertheaume\t' "$travail/dump.txt" || { cat "$travail/dump.txt"; exit 1; }

etape "3: a file another program wrote"
mkdir -p "$travail/docs/Régates"
etranger="$travail/docs/Régates/etranger.gpx"
cat > "$etranger" <<'FIN'
<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="autre" xmlns="http://www.topografix.com/GPX/1/1">
  <wpt lon="17.5500" lat="54.7500">
    <ele>3.5</ele>
    <time>2026-05-01T10:00:00Z</time>
    <name>Port de Łeba</name>
    <desc>Avant-port, fond de sable</desc>
    <link href="file:///ailleurs/Plan&amp;Co.pdf">
      <text>Plan &#321;eba</text>
    </link>
    <sym>&#x2693;</sym>
  </wpt>
  <wpt lat="54.3500" lon="18.6600">
    <name>Gda&#324;sk</name>
    <sym>buoy</sym>
    <extensions><x:bouee xmlns:x="urn:example:bouees">verte</x:bouee></extensions>
  </wpt>
  <trk><name>Sortie</name><trkseg><trkpt lat="54.76" lon="17.56"/></trkseg></trk>
</gpx>
FIN
"$prefix/bin/quaylight-gpx" dump "$etranger" | sed 's|file://[^\t]*/|file://…/|' > "$travail/avant.txt"
# Started there, the dialog opens in the folder: xdotool cannot type its "é".
cd "$travail/docs/Régates"
demarrer
ouvrir etranger.gpx
cd "$travail"
# The track is kept and drawn on the map: no message says it is not shown.
sleep 0.5
[ "$(fenetres)" -eq 1 ] || { echo "e2e: a message for the track" >&2; exit 1; }
xmllint --noout "$etranger" # well-formed right after the relocation
enregistrer
capture 5-etranger
[ "$(fenetres)" -eq 1 ] || { echo "e2e: the save showed a message" >&2; exit 1; }
quitter
xmllint --noout --schema "$ici/../data/gpx-1.1.xsd" "$etranger"
for garde in '<ele>3.5</ele>' 'fond de sable' '>verte</x:bouee>' '<trkpt lat="54.76"'; do
    grep -q "$garde" "$etranger" || { echo "e2e: lost $garde" >&2; cat "$etranger"; exit 1; }
done
"$prefix/bin/quaylight-gpx" dump "$etranger" | sed 's|file://[^\t]*/|file://…/|' > "$travail/apres.txt"
diff "$travail/avant.txt" "$travail/apres.txt"
grep -q $'Port de Łeba\t⚓' "$travail/apres.txt" && grep -q 'Gdańsk' "$travail/apres.txt" &&
    grep -q $'\tPlan Łeba' "$travail/apres.txt" || { cat "$travail/apres.txt"; exit 1; }
etape "3b: marks of another format imported, by the keyboard"
printf 'Name,Latitude,Longitude\nPhare du Minou,48.3367,-4.6156\n' > "$travail/docs/Régates/phares.csv"
cp "$travail/docs/Régates/phares.csv" "$travail/source.csv"
cd "$travail/docs/Régates"
demarrer
menu 20
xdotool key Down Down Down Down Return # Importer des Poi…
attendre_dialogue
taper phares.csv
xdotool key Return
for _ in $(seq 1 50); do [ -s phares.gpx ] && break; sleep 0.2; done
sleep 1
cd "$travail"
capture 5b-import
[ "$(fenetres)" -eq 1 ] || { echo "e2e: a message after the import" >&2; exit 1; }
"$prefix/bin/quaylight-gpx" dump "$travail/docs/Régates/phares.gpx" | grep -q $'\tPhare du Minou\t' ||
    { echo "e2e: the imported mark is not there" >&2; exit 1; }
cmp "$travail/source.csv" "$travail/docs/Régates/phares.csv"
quitter
etape "4: a file named on the command line"
demarrer "$travail/docs/rade.gpx"
place 660 1860 # first entry of the list, there without the Open command
place 480 6307 # Modifier le Poi
place 1360 5947 # name box
xdotool key ctrl+a
taper "Quai de la Douane"
place 2767 6667 # Valider
enregistrer
quitter
marques "$travail/docs/rade.gpx" > /dev/null
grep -q '"Quai de la Douane"' "$travail/marques.csv" || { cat "$travail/marques.csv"; exit 1; }
etape "5: the map, the sea chart from a local tile server, a right click"
python3 "$ici/../serveur_tuiles.py" "$travail/tuiles.txt" > "$travail/port" &
serveur=$!
trap 'kill $wm $serveur 2>/dev/null; rm -rf "$travail"' EXIT
for _ in $(seq 1 50); do [ -s "$travail/port" ] && break; sleep 0.1; done
export QUAYLIGHT_TUILES="http://127.0.0.1:$(cat "$travail/port")"
printf '[Globe]\ntheme=3\n' >> "$HOME/.config/Quaylight/Quaylight.ini"
# The editor 600 pixels from the left: the globe's first place, beside it,
# has less room than it wants on either side.
sed -i 's/^Creer_POI_MargeG=.*/Creer_POI_MargeG=9000/' "$HOME/.config/Quaylight/Quaylight.ini"
reponse=990 demarrer "$travail/docs/rade.gpx"
globe=$(timeout 60 xdotool search --sync --onlyvisible --name 'Quaylight - carte' | head -n 1)
sleep 1
# Its frame, as the window manager draws it, inside the screen.
eval "$(xwininfo -id "$globe" | awk '/Absolute upper-left X/ {print "GX=" $4}
    /Absolute upper-left Y/ {print "GY=" $4} /Width:/ {print "GW=" $2}
    /Height:/ {print "GH=" $2}')"
read -r bg bd bh bb <<< "$(xprop -id "$globe" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
[ $((GX - bg)) -ge 0 ] && [ $((GX + GW + bd)) -le 1280 ] && [ $((GY - bh)) -ge 0 ] &&
    [ $((GY + GH + bb)) -le 1024 ] ||
    { echo "e2e: the globe's frame runs off the screen: $GX $GY $GW $GH ($bg $bd $bh $bb)" >&2; exit 1; }
for _ in $(seq 1 200); do grep -q '^/seamark/' "$travail/tuiles.txt" 2>/dev/null && break; sleep 0.1; done
grep -q '^/osm/' "$travail/tuiles.txt" && grep -q '^/seamark/' "$travail/tuiles.txt"
if grep -Ev ' Quaylight/1\.2( |$)' "$travail/tuiles.txt"; then
    echo "e2e: a tile was asked under another name" >&2
    exit 1
fi
place 660 1860 # first entry of the list: the globe flies to it
place 480 6307 # Modifier le Poi
sleep 2
capture 6-carte
eval "$(xwininfo -id "$globe" | awk '/Absolute upper-left X/ {print "GX=" $4}
    /Absolute upper-left Y/ {print "GY=" $4} /Width:/ {print "GW=" $2}
    /Height:/ {print "GH=" $2}')"
# The map fills the window under the theme box: its centre is a little low.
xdotool mousemove --sync $((GX + GW / 2 + 120)) $((GY + GH / 2 + 12)) click 3
sleep 0.5
xdotool key Down Return
sleep 0.5
place 2767 6667 # Valider
# The keyboard's way: a new mark; with the map focused, the menu key offers
# the same entry for the centre of the view, now over the mark just moved.
place 660 1860 # the moved mark: the globe flies to it
place 2160 6307 # Nouveau Poi
place 1360 5947 # name box
taper "Bouee du Chateau"
sleep 1.5
clic $((GX + GW / 2)) $((GY + GH / 2 + 12))
xdotool key Menu
sleep 0.5
xdotool key Down Return
sleep 0.5
place 2767 6667 # Valider
enregistrer
quitter
"$prefix/bin/quaylight-gpx" dump "$travail/docs/rade.gpx" > "$travail/dump.txt"
awk -F '\t' 'NR == 1 { lat = $2; lon = $3; ok = $2 > 48.36 && $2 < 48.40 && $3 > -4.4942 && $3 < -4.3 }
    $5 == "Bouee du Chateau" { neuve = ($2 - lat)^2 + ($3 - lon)^2 < 1e-6 }
    END { exit !(ok && neuve) }' "$travail/dump.txt" || { cat "$travail/dump.txt"; exit 1; }
etape "6: a mark found with Ctrl+F, picked and dragged on the map, given a symbol (French locale)"
export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
avant=$(awk -F '\t' '$5 == "Mouillage &amp; bouée" || $5 == "Mouillage & bouée"' "$travail/dump.txt")
reponse=990 demarrer "$travail/docs/rade.gpx"
globe=$(timeout 60 xdotool search --sync --onlyvisible --name 'Quaylight - carte' | head -n 1)
xdotool windowactivate --sync "$fenetre"
xdotool key ctrl+f
taper "BOUEE" # case and accents aside, "Mouillage & bouée" first
xdotool key Return # the first mark shown: chosen, the globe flies to it
sleep 2.5
xdotool key ctrl+f
taper "zzz" # no mark listed; the map still shows them all
eval "$(xwininfo -id "$globe" | awk '/Absolute upper-left X/ {print "GX=" $4}
    /Absolute upper-left Y/ {print "GY=" $4} /Width:/ {print "GW=" $2}
    /Height:/ {print "GH=" $2}')"
cx=$((GX + GW / 2))
cy=$((GY + GH / 2 + 12))
clic $cx $cy # the mark at the centre, picked: listed and chosen again
capture 7-choisie
xdotool windowactivate --sync "$fenetre"
place 480 6307 # Modifier le Poi
xdotool mousemove --sync $cx $cy mousedown 1
xdotool mousemove --sync $((cx + 40)) $cy
xdotool mousemove --sync $((cx + 80)) $cy
xdotool mouseup 1
sleep 0.5
capture 8-glissee
xdotool windowactivate --sync "$fenetre"
place 2677 5827 # the symbol box
xdotool key ctrl+a
taper "buoy1"
place 2767 6667 # Valider
enregistrer
quitter
"$prefix/bin/quaylight-gpx" dump "$travail/docs/rade.gpx" > "$travail/dump.txt"
apres=$(awk -F '\t' '$5 == "Mouillage &amp; bouée" || $5 == "Mouillage & bouée"' "$travail/dump.txt")
paste <(echo "$avant") <(echo "$apres") | LC_ALL=C awk -F '\t' '
    { ok = $9 - $2 < 1e-4 && $2 - $9 < 1e-4 && $10 > $3 + 5e-4 && $13 == "buoy1" }
    END { exit !ok }' || { echo "e2e: not moved, or no symbol: $avant / $apres" >&2; exit 1; }
etape "7: four marks chosen with Shift, deleted after the question, undone with Ctrl+Z (French locale)"
"$prefix/bin/quaylight-gpx" dump "$travail/docs/rade.gpx" > "$travail/avant.txt"
demarrer "$travail/docs/rade.gpx"
place 660 1860 # first entry of the list
xdotool key shift+Down shift+Down shift+Down
place 907 6547 # Supprimer le Poi
place 2527 6547 # Valider
attendre_dialogue # how many: No is the default
capture 9-question
xdotool key Return
sleep 0.5
place 907 6547
place 2527 6547
attendre_dialogue
xdotool key alt+y
sleep 0.5
enregistrer
[ "$("$prefix/bin/quaylight-gpx" dump "$travail/docs/rade.gpx" | wc -l)" -eq \
    $(($(wc -l < "$travail/avant.txt") - 4 - $(LC_ALL=C awk -F '\t' 'NR <= 4 { n += $7 } END { print n }' "$travail/avant.txt"))) ] ||
    { echo "e2e: four marks were not deleted" >&2; exit 1; }
xdotool key ctrl+z
sleep 0.5
capture 10-annule
enregistrer
quitter
export LANG=C.UTF-8
unset LC_ALL
"$prefix/bin/quaylight-gpx" dump "$travail/docs/rade.gpx" > "$travail/apres.txt"
diff "$travail/avant.txt" "$travail/apres.txt"

etape "8: a route planned in the panel and on the map, its speed and departure typed (French locale)"
export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
reponse=990 demarrer "$travail/docs/rade.gpx"
globe=$(timeout 60 xdotool search --sync --onlyvisible --name 'Quaylight - carte' | head -n 1)
xdotool windowactivate --sync "$fenetre"
place 660 1860 # the first mark: the globe flies to it
sleep 2.5
xdotool windowactivate --sync "$fenetre" keydown ctrl
place 660 2070 # and the second, with Ctrl
xdotool keyup ctrl
touches() { xdotool key --delay 120 "$@"; sleep 0.5; }
touches ctrl+r # the routes panel beside the marks
# The window grew on its left: its menus moved with it.
eval "$(xwininfo -id "$fenetre" | awk '/Absolute upper-left X/ {print "X=" $4}')"
touches ctrl+shift+n # "Nouvelle route": its name box takes the keys
taper "Iroise"
touches Return
touches ctrl+shift+a # "Ajouter les Poi": the two marks chosen
touches ctrl+shift+b # "Construire sur la carte"
xdotool windowactivate --sync "$globe"
eval "$(xwininfo -id "$globe" | awk '/Absolute upper-left X/ {print "GX=" $4}
    /Absolute upper-left Y/ {print "GY=" $4} /Width:/ {print "GW=" $2}
    /Height:/ {print "GH=" $2}')"
clic $((GX + GW / 2)) $((GY + GH / 2 + 12)) # the first mark again, at the centre
clic $((GX + GW / 2 - 60)) $((GY + GH / 2 + 90)) # a free point on the water
capture 11-route
xdotool key Escape
xdotool windowactivate --sync "$fenetre"
sleep 0.3
# From the name box, where the keys were, to the speed.
touches Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab ctrl+a
taper "7,5"
touches Return Tab ctrl+a # the departure
taper "2027-06-01 08:00"
touches Return
capture 12-eta
enregistrer
quitter
export LANG=C.UTF-8
unset LC_ALL
"$prefix/bin/quaylight-gpx" routes "$travail/docs/rade.gpx" > "$travail/routes.txt"
# Two marks of the list, a third mark clicked on the map, then the free point.
"$prefix/bin/quaylight-gpx" dump "$travail/docs/rade.gpx" | cut -f 5 > "$travail/noms.txt"
awk -F '\t' 'NR == FNR { nom[$0] = 1; next }
    FNR == 1 { ok = $1 == "route" && $3 == "Iroise" && $4 == 4 && $5 > 0 }
    FNR == 4 { ok = ok && ($3 in nom) && $4 == "001" && $5 > 0 }
    END { exit !(ok && FNR == 4) }' "$travail/noms.txt" "$travail/routes.txt" ||
    { echo "e2e: the route is not as planned:" >&2; cat "$travail/routes.txt" >&2; exit 1; }
grep -q '<opencpn:planned_speed>7.50</opencpn:planned_speed>' "$travail/docs/rade.gpx"
grep -q '<opencpn:planned_departure>2027-06-01T08:00:00Z</opencpn:planned_departure>' \
    "$travail/docs/rade.gpx"
xmllint --noout --schema "$ici/../data/gpx-1.1.xsd" "$travail/docs/rade.gpx"

etape "9: three marks' properties set at once from the keyboard, then undone (French locale)"
export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
"$prefix/bin/quaylight-gpx" props "$travail/docs/rade.gpx" > "$travail/props-avant.txt"
demarrer "$travail/docs/rade.gpx"
place 660 1860 # the first mark, then the third and fifth with Ctrl
xdotool keydown ctrl
place 660 2280
place 660 2700
xdotool keyup ctrl
touches ctrl+p
attendre_dialogue
capture 13-proprietes
# "Visible sur la carte" has the keys: the next box is "Nom visible", then
# the arrival radius; Return is "Valider".
touches Tab space Tab
taper "0,25"
touches Return
sleep 0.5
[ "$(fenetres)" -eq 1 ] || { echo "e2e: the properties dialog stayed open" >&2; exit 1; }
enregistrer
"$prefix/bin/quaylight-gpx" props "$travail/docs/rade.gpx" > "$travail/props.txt"
awk -F '\t' '{ choisie = NR == 1 || NR == 3 || NR == 5
    if (choisie != ($4 == "0" && $5 == "0.250")) bad = 1 }
    END { exit bad || NR < 5 }' "$travail/props.txt" ||
    { echo "e2e: the properties are not as set:" >&2; cat "$travail/props.txt" >&2; exit 1; }
xdotool key ctrl+z
sleep 0.5
enregistrer
quitter
export LANG=C.UTF-8
unset LC_ALL
"$prefix/bin/quaylight-gpx" props "$travail/docs/rade.gpx" > "$travail/props-apres.txt"
diff "$travail/props-avant.txt" "$travail/props-apres.txt"
xmllint --noout --schema "$ici/../data/gpx-1.1.xsd" "$travail/docs/rade.gpx"

etape "10: a BaseCamp file merged by the keyboard, a changed mark kept both ways"
"$prefix/bin/quaylight-gpx" dump "$travail/docs/rade.gpx" | grep -vc '^  link' > "$travail/avant.n"
guid=$("$prefix/bin/quaylight-gpx" props "$travail/docs/rade.gpx" | awk -F '\t' '$2 != "" { print $2; exit }')
premier=$("$prefix/bin/quaylight-gpx" props "$travail/docs/rade.gpx" | awk -F '\t' '$2 != "" { print $1; exit }')
[ -n "$guid" ] || { echo "e2e: no mark with a GUID" >&2; exit 1; }
sed "0,/<extensions>/s//<extensions><opencpn:guid xmlns:opencpn=\"http:\/\/www.opencpn.org\">$guid<\/opencpn:guid>/" \
    "$ici/../data/gpx/basecamp.gpx" > "$travail/docs/basecamp.gpx"
demarrer "$travail/docs/rade.gpx"
menu 20
touches Down Down Down Down Down Return # Fusionner un fichier…
attendre_dialogue
taper "$travail/docs/basecamp.gpx"
xdotool key Return
sleep 2
capture 14-fusion
touches Tab End # the choice for all changed marks: "Garder les deux"
touches Return
sleep 0.5
touches Return # the message that counts them
enregistrer
quitter
"$prefix/bin/quaylight-gpx" dump "$travail/docs/rade.gpx" > "$travail/fusion.txt"
[ "$(grep -vc '^  link' "$travail/fusion.txt")" -eq $(($(cat "$travail/avant.n") + 3)) ] ||
    { echo "e2e: the three BaseCamp marks were not added" >&2; cat "$travail/fusion.txt" >&2; exit 1; }
grep -q "Pointe du Toulinguet" "$travail/fusion.txt"
[ "$("$prefix/bin/quaylight-gpx" props "$travail/docs/rade.gpx" | awk -F '\t' -v g="$guid" '$2 == g' | cut -f 1)" = "$premier" ] ||
    { echo "e2e: the changed mark did not keep its GUID alone" >&2; exit 1; }
xmllint --noout "$travail/docs/rade.gpx"
echo "e2e: passed"
