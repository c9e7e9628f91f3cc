#!/usr/bin/env bash
# Installs what the tests need, builds from scratch (Debug, with tests) and
# runs the whole suite under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")"
. tools/paquets.sh
installer_paquets "${PAQUETS_EXECUTION[@]}" "${PAQUETS_TESTS[@]}"
rm -rf build-tests
cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=Debug -DQUAYLIGHT_TESTS=ON
cmake --build build-tests -j2
cd build-tests
# The web engine that the map library loads refuses its sandbox as root.
export QTWEBENGINE_DISABLE_SANDBOX=1
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 300
