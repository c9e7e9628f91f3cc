#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The globe's cost, side by side in one run: time from "Oui" to the globe
# window and the memory of the whole process tree once it is shown, for the
# editor and for the smallest program showing Marble's widget (same theme,
# same window size). Run inside xvfb-run after a Release build:
#   xvfb-run -a -s "-screen 0 1280x1024x24" tools/mesurer_globe.sh build [AUTRE_EDITEUR]
set -euo pipefail
construction=$(realpath "$1")
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
export HOME="$travail" QTWEBENGINE_DISABLE_SANDBOX=1

ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Resident memory of a process and all its descendants, in MB.
arbre() {
    local total=0 p
    for p in $(ps -e -o pid= -o ppid= | awk -v racine="$1" '
        { parent[$1] = $2 } END { for (p in parent) { q = p
            while (q != "" && q != 1) { if (q == racine) { print p; break } q = parent[q] } } }'); do
        total=$(( total + $(awk '/VmRSS/ {print $2}' "/proc/$p/status" 2>/dev/null || echo 0) ))
    done
    echo $(( total / 1024 ))
}
# Polls every 10 ms: xdotool's own --sync waits half a second between tries.
attendre() {
    for _ in $(seq 1 6000); do
        xdotool search --onlyvisible --name "$1" > /dev/null 2>&1 && return 0
        sleep 0.01
    done
    return 1
}

editeur() { # the editor of a build folder
    (cd "$1" && ./quaylight > /dev/null 2>&1) &
    local pid=$!
    attendre 'Quaylight \(V1\.2i\)'
    sleep 1
    local f
    f=$(xdotool search --onlyvisible --name 'Quaylight \(V1\.2i\)' | head -n 1)
    eval "$(xwininfo -id "$f" | awk '/Absolute upper-left X/ {print "X=" $4}
        /Absolute upper-left Y/ {print "Y=" $4} /Width:/ {print "W=" $2} /Height:/ {print "H=" $2}')"
    local debut
    debut=$(ms)
    xdotool mousemove --sync $(( X + 1000 * W / 3900 )) $(( Y + H - (7185 - 2407) * W / 3900 )) click 1
    attendre 'Quaylight - carte'
    echo "$2: \"Oui\" to the globe window $(( $(ms) - debut )) ms"
    sleep 8
    echo "$2: process tree with the globe shown $(arbre $!) MB"
    pkill -P $! 2>/dev/null || true
    kill $! 2>/dev/null || true
    sleep 1
}

debut=$(ms)
"$construction/globe_minimal" > /dev/null 2>&1 &
attendre 'Globe minimal'
echo "minimal MarbleWidget program: start to window $(( $(ms) - debut )) ms"
sleep 8
echo "minimal MarbleWidget program: process tree $(arbre $!) MB"
kill $!
sleep 1
editeur "$construction" "editor"
[ -n "${2:-}" ] && editeur "$(realpath "$2")" "other editor"
exit 0
