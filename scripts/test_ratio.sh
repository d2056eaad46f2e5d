#!/usr/bin/env bash
# Prints the size of the tests against the code they test, in non-blank lines
# of the text files git tracks (binary files left out, nothing else):
#   tests  tests/ and the scripts that test, fuzz or make test data
#   code   src/, tools/, bench/ and the other scripts
# Run from anywhere in the checkout:  scripts/test_ratio.sh
set -euo pipefail
cd "$(git -C "$(dirname "$0")" rev-parse --show-toplevel)"

test_scripts=('scripts/test*.sh' scripts/wine_common.sh scripts/run_fuzzer.sh 'scripts/soak_*.sh'
              scripts/mutate.sh)

# lines PATHSPEC...: non-blank lines of the tracked text files they match.
lines() {
  git grep -I -c -v -e '^[[:space:]]*$' -- "$@" | awk -F: '{ n += $NF } END { print n + 0 }'
}

tests=$(lines tests "${test_scripts[@]/#/:(glob)}")
code=$(lines src tools bench scripts "${test_scripts[@]/#/:(exclude,glob)}")
awk -v t="$tests" -v c="$code" 'BEGIN { printf "test lines %d, code lines %d, tests/code %.2f\n", t, c, t / c }'
