#!/usr/bin/env bash
# Prints the tests' size against the code's, in non-blank lines of the text
# files git tracks: tests are tests/ and the scripts that test, fuzz or make
# test data; code is src/, tools/, bench/ and the other scripts.
#   scripts/test_ratio.sh      (from anywhere in the checkout)
set -euo pipefail
cd "$(git -C "$(dirname "$0")" rev-parse --show-toplevel)"
test_scripts=('scripts/test*.sh' scripts/wine_common.sh scripts/run_fuzzer.sh 'scripts/soak_*.sh'
              scripts/mutate.sh)
lines() { git grep -I -c -v -e '^[[:space:]]*$' -- "$@" | awk -F: '{ n += $NF } END { print n + 0 }'; }
tests=$(lines tests "${test_scripts[@]/#/:(glob)}")
code=$(lines src tools bench scripts "${test_scripts[@]/#/:(exclude,glob)}")
awk -v t="$tests" -v c="$code" 'BEGIN { printf "test lines %d, code lines %d, tests/code %.2f\n", t, c, t / c }'
