#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the editor as a user meets it: time from start to the first
# window, and memory at rest without and with the map. Run inside xvfb-run
# after a Release build:  xvfb-run -a tools/mesurer.sh build/quaylight
set -euo pipefail
editeur=$(realpath "$1")
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
export HOME="$travail"
cd "$(dirname "$editeur")"

ms() { echo $(( $(date +%s%N) / 1000000 )); }
rss() { awk '/VmRSS/ {print int($2 / 1024)}' "/proc/$1/status"; }

for essai in 1 2 3; do
    debut=$(ms)
    "$editeur" > /dev/null 2>&1 &
    pid=$!
    fenetre=""
    until [ -n "$fenetre" ]; do
        fenetre=$(xdotool search --onlyvisible --name 'Quaylight \(V1\.2i\)' 2>/dev/null | head -n 1 || true)
    done
    echo "start to first window: $(( $(ms) - debut )) ms"
    eval "$(xdotool getwindowgeometry --shell "$fenetre")"
    if [ "$essai" = 1 ]; then
        # "Non": Option2(1) of the layout, in twips of the client area.
        xdotool mousemove --sync $(( X + 2190 * WIDTH / 3900 )) \
            $(( Y + HEIGHT - (7185 - 2407) * WIDTH / 3900 )) click 1
        sleep 3
        echo "memory at rest without the map: $(rss $pid) MB"
    elif [ "$essai" = 2 ]; then
        xdotool mousemove --sync $(( X + 1000 * WIDTH / 3900 )) \
            $(( Y + HEIGHT - (7185 - 2407) * WIDTH / 3900 )) click 1
        timeout 60 xdotool search --sync --onlyvisible --name 'Quaylight - carte' > /dev/null
        sleep 5
        echo "memory at rest with the map: $(rss $pid) MB"
    fi
    kill $pid
    wait $pid 2>/dev/null || true
done
