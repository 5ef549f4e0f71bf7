#!/usr/bin/env bash
# test.sh - installs what is missing, builds everything and runs every test: the includes' layer
# order, the native tests, the same under AddressSanitizer and UndefinedBehaviorSanitizer, a
# bounded fuzzing run, and the Windows build's tests under Wine on a virtual display. Exits
# non-zero on any failure.
set -uo pipefail
SIPO_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$SIPO_ROOT"

FUZZ_SECONDS="${SIPO_FUZZ_SECONDS:-45}"  # for each fuzz target
# As many compile jobs as the machine has processors (ninja alone would run two more).
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
passed=0
failed=0
skipped=0
log_dir="$SIPO_ROOT/build/test-logs"

bash tools/install-deps.sh || { echo "test: installing the packages failed"; exit 1; }
mkdir -p "$log_dir"

# Adds one CTest run's counts to the totals; a run that prints no summary counts as one failure.
# CTest counts a skipped test (GTEST_SKIP, a disabled test) among the passed ones and lists it
# under "did not run"; here it is counted apart.
count_ctest() {
  local summary
  summary=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$1" | tail -n 1)
  if [ -z "$summary" ]; then failed=$((failed + 1)); return; fi
  local bad total
  bad=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
  total=$(echo "$summary" | sed -E 's/.* failed out of ([0-9]+).*/\1/')
  local skip
  skip=$(sed -n '/The following tests did not run:/,$p' "$1" | grep -cE '\((Skipped|Disabled)\)$')
  passed=$((passed + total - bad - skip))
  failed=$((failed + bad))
  skipped=$((skipped + skip))
}

# build_and_test NAME: configure, build and run CTest with the preset of that name.
build_and_test() {
  local name=$1 log="$log_dir/$1.log"
  echo "== $name: build"
  if ! { cmake --preset "$name" >/dev/null && cmake --build --preset "$name"; } >"$log_dir/$name-build.log" 2>&1; then
    tail -n 40 "$log_dir/$name-build.log"
    echo "== $name: build FAILED"
    failed=$((failed + 1))
    return
  fi
  echo "== $name: test"
  # Under Wine a test's process very rarely fails to start at all (no output, a failure within
  # milliseconds); such a test gets one more try there. A test that fails twice still fails.
  local retry=()
  [ "$name" = mingw ] && retry=(--repeat until-pass:2)
  ctest --preset "$name" "${retry[@]}" 2>&1 | tee "$log" | grep -E "tests passed|\*\*\*" || true
  count_ctest "$log"
}

run_fuzzers() {
  echo "== fuzz: build"
  if ! { cmake --preset fuzz >/dev/null && cmake --build --preset fuzz; } >"$log_dir/fuzz-build.log" 2>&1; then
    tail -n 40 "$log_dir/fuzz-build.log"; failed=$((failed + 1)); return
  fi
  local target
  for target in number text notice; do
    echo "== fuzz: ${target}_fuzz for ${FUZZ_SECONDS}s"
    local corpus="$SIPO_ROOT/build/fuzz/$target-corpus"
    mkdir -p "$corpus" && cp tests/fuzz/$target-corpus/* "$corpus/"
    if "build/fuzz/tests/fuzz/${target}_fuzz" -max_total_time="$FUZZ_SECONDS" \
        -artifact_prefix="$log_dir/$target-" "$corpus" >"$log_dir/$target-fuzz.log" 2>&1; then
      tail -n 1 "$log_dir/$target-fuzz.log"; passed=$((passed + 1))
    else
      tail -n 30 "$log_dir/$target-fuzz.log"; echo "== fuzz: ${target}_fuzz FAILED"; failed=$((failed + 1))
    fi
  done
}

# No include runs up the layer order (docs/layout.md).
echo "== layers"
if python3 tools/check_layers.py >"$log_dir/layers.log" 2>&1; then
  tail -n 1 "$log_dir/layers.log"; passed=$((passed + 1))
else
  cat "$log_dir/layers.log"; echo "== layers FAILED"; failed=$((failed + 1))
fi

build_and_test native
build_and_test asan
run_fuzzers

source tools/wine-env.sh
start_virtual_display
trap stop_wine_and_display EXIT
start_wine
build_and_test mingw

echo "tests: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
