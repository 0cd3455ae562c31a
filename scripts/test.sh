#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the host flavour (sanitizers), the fuzz
# targets (clang, libFuzzer) and the Windows flavour (mingw-w64); runs the host suites natively,
# each fuzz target for a few seconds over its seeds, and the Windows suites under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

jobs=${VT_JOBS:-2}
logdir=build/test-logs
mkdir -p "$logdir"
rm -f "$logdir"/*-ctest.log
status=0

step() { echo; echo "== $*"; }

step "layers: includes point down"
scripts/check-layers.sh || status=1

step "lines: within 100 columns"
if git ls-files -z -- '*.cpp' '*.h' '*.hpp' '*.c' | xargs -0 -r awk 'length($0) > 100 {
     print FILENAME ":" FNR ": line past 100 columns"; bad = 1 } END { exit bad }' >&2; then
  echo "lines: every line within 100 columns"
else
  status=1
fi

step "format: as .clang-format says"
if out=$(git ls-files -z -- '*.cpp' '*.h' '*.hpp' '*.c' |
         xargs -0 -r clang-format --dry-run --Werror 2>&1); then
  echo "format: clang-format would change nothing"
else
  printf '%s\n' "$out" | head -n 40 >&2
  echo "format: clang-format -i the files above" >&2
  status=1
fi

# A Linux suite: configure, build and run one preset, its ctest output kept whole in the log
# and shown without the passing lines.
linux_suite() {
  local preset=$1 what=$2
  step "$preset: configure and build"
  if cmake --preset "$preset" >"$logdir/$preset-configure.log" 2>&1 && cmake --build --preset "$preset" -j "$jobs"; then
    step "$preset: $what"
    ctest --preset "$preset" -j "$jobs" 2>&1 | tee "$logdir/$preset-ctest.log" | { grep -vE '^ *([0-9]+/[0-9]+ Test +#[0-9]+: .* Passed|Start +[0-9]+: )' || true; }
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  else
    cat "$logdir/$preset-configure.log"; status=1
  fi
}

linux_suite host "tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
linux_suite fuzz "each target over its seeds (findings in build/fuzz/fuzz/findings)"

step "win32: configure and build"
if cmake --preset win32 >"$logdir/win32-configure.log" 2>&1 && cmake --build --preset win32 -j "$jobs"; then
  step "win32: tests under Wine"
  tests/wine/with-wine ctest --preset win32 -j "$jobs" 2>&1 | tee "$logdir/win32-ctest.log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
else
  cat "$logdir/win32-configure.log"; status=1
fi

# One closing line over every suite.
passed=0 failed=0
for log in "$logdir/host-ctest.log" "$logdir/fuzz-ctest.log" "$logdir/win32-ctest.log"; do
  [ -f "$log" ] || continue
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  # A suite that died before its summary has failed, whatever it printed before.
  [ -n "$line" ] || { echo "no test summary in $log" >&2; status=1; }
  if [ -n "$line" ]; then
    f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + t - f)); failed=$((failed + f))
  fi
done
echo
# The tests' share of the code, which the project keeps at most a third; informative, never a failure.
bash scripts/test-share.sh || echo "test share: not counted (no git checkout)"
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || status=1
exit $status
