#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the editor needs, builds it (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
. tools/paquets.sh
installer_paquets "${PAQUETS_EXECUTION[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2
# The build folder holds the language files, which the editor looks for in
# its working directory.
cd build
exec ./quaylight "$@"
