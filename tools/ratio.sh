#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Test lines against code lines (.cpp and .h as git ls-files lists them).
cd "$(dirname "$0")/.."
code=$(git ls-files '*.cpp' '*.h' | grep -v -E '^(tests|fuzz|bench)/' | xargs cat | wc -l)
tests=$(git ls-files '*.cpp' '*.h' | grep -E '^(tests|fuzz)/' | xargs cat | wc -l)
awk -v c="$code" -v t="$tests" 'BEGIN { printf "code %d, tests %d, ratio %.3f\n", c, t, t / c }'
