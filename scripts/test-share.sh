#!/usr/bin/env bash
# Prints the tests' share of the C and C++ lines that git tracks: raw lines of the sources,
# headers and resource scripts in tests/ and fuzz/ against those of everything else, with
# benchmarks/ counted on neither side. The project keeps it at most a third.
set -euo pipefail
cd "$(dirname "$0")/.."
kinds=('*.c' '*.cpp' '*.h' '*.hpp' '*.rc')
# Pathspecs are matched by git, where * also crosses folders; the shell never expands them.
lines() { git ls-files -z -- "$@" | xargs -0 -r cat | wc -l; }
tests=$(lines "${kinds[@]/#/tests/}" "${kinds[@]/#/fuzz/}")
product=$(lines "${kinds[@]}" ':(exclude)tests/' ':(exclude)fuzz/' ':(exclude)benchmarks/')
awk -v t="$tests" -v p="$product" 'BEGIN {
  printf "test share: %d test lines, %d product lines: %.1f%% tests (at most 33.3%%)\n",
         t, p, t + p ? 100 * t / (t + p) : 0 }'
