#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the tests need, builds from scratch and runs the whole suite
# under a virtual X server.
#   ./test.sh             Debug build, the test suite, then each fuzz target
#                         for a short while on the seed corpus (clang)
#   ./test.sh --sanitize  the test suite built with AddressSanitizer and
#                         UndefinedBehaviorSanitizer
#   ./test.sh --coverage  the test suite built with --coverage, then gcovr's
#                         summary of the lines of the program it ran
set -euo pipefail
cd "$(dirname "$0")"
. tools/paquets.sh
installer_paquets "${PAQUETS_EXECUTION[@]}" "${PAQUETS_TESTS[@]}"

# Every source file carries its licence's SPDX line.
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    sans=$(git ls-files '*.cpp' '*.h' '*.sh' '*.py' 'CMakeLists.txt' '*/CMakeLists.txt' .ci/run |
        while read -r f; do
            head -n 3 "$f" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' || echo "$f"
        done)
    [ -z "$sans" ] || { echo "no SPDX licence line in: $sans" >&2; exit 1; }
fi
# Every include runs down the layers, and the check catches one that does not.
tools/couches.sh
tools/couches.sh --essai
# Each planted fault of the mutation check still finds its text.
python3 tools/mutations.py --verifier > /dev/null
for l in tools/mutations-hasard-*.txt; do python3 tools/mutations.py --liste "$l" --verifier > /dev/null; done


if [ "${1:-}" = "--coverage" ]; then
    rm -rf build-cov
    cmake -S . -B build-cov -DCMAKE_BUILD_TYPE=Debug -DQUAYLIGHT_TESTS=ON -DQUAYLIGHT_BENCH=OFF \
        -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage \
        -DCMAKE_MODULE_LINKER_FLAGS=--coverage
    cmake --build build-cov -j2
    (cd build-cov && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 600)
    # The program's own code: not the tests, the fuzz targets, the benchmarks
    # nor the generated files.
    gcovr --root . --object-directory build-cov --exclude-unreachable-branches \
        --filter '(app|shell|ui|gpx|editing|links|earth|tools)/' --exclude '.*_autogen/.*' \
        --print-summary --txt build-cov/couverture.txt | tail -n 3
    exit 0
fi

if [ "${1:-}" = "--sanitize" ]; then
    rm -rf build-asan
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUAYLIGHT_TESTS=ON \
        -DQUAYLIGHT_SANITIZE=ON -DQUAYLIGHT_BENCH=OFF
    cmake --build build-asan -j2
    cd build-asan
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 600
    exit 0
fi

rm -rf build-tests
cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=Debug -DQUAYLIGHT_TESTS=ON
cmake --build build-tests -j2
(cd build-tests && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 300)

# The installed editor, driven as a user would (one run in French), and the
# Debian package.
locale_francaise
prefixe=$(mktemp -d)
cmake --install build-tests --prefix "$prefixe" > /dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" tests/e2e/parcours.sh "$prefixe" examples/rade-de-brest.gpx
rm -rf "$prefixe"
# The package as Debian installs it: under /usr, clean for lintian; the
# desktop entry and the AppStream data pass their validators.
cmake -S . -B build-tests -DCMAKE_INSTALL_PREFIX=/usr > /dev/null
cmake --build build-tests -j2 > /dev/null
(cd build-tests && rm -f quaylight_*.deb && cpack -G DEB > /dev/null)
paquet=$(ls build-tests/quaylight_*.deb)
dpkg-deb -f "$paquet" Depends | grep -q "libqt5widgets5" && dpkg-deb -f "$paquet" Depends | grep -q "marble-data"
apt-get install --simulate "./$paquet" > /dev/null
lintian --fail-on error,warning "$paquet"
desktop-file-validate resources/quaylight.desktop
appstreamcli validate --no-net build-tests/io.github.quaylight.Quaylight.metainfo.xml
echo "package: $paquet installs with its dependencies, lintian and the validators pass"

# Short fuzzing runs: about 30 s in all, on a copy of the seed corpus.
rm -rf build-fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUAYLIGHT_FUZZ=ON -DQUAYLIGHT_GLOBE=OFF -DQUAYLIGHT_BENCH=OFF
cmake --build build-fuzz -j2 --target fuzz_gpx fuzz_langue fuzz_nombres fuzz_tuiles
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
for cible in gpx langue nombres tuiles; do
    mkdir -p "$corpus/$cible"
    cp fuzz/corpus/$cible/* "$corpus/$cible/"
    ./build-fuzz/fuzz/fuzz_$cible -max_total_time=10 -max_len=4096 \
        -artifact_prefix="$PWD/build-fuzz/echec-$cible-" "$corpus/$cible" 2>&1 | tail -n 1
done
echo "fuzzing: no failure"
