#!/usr/bin/env bash
# run.sh - times `sipocheck file` on generated inputs of 1,000,000 and 10,000,000 lines in three
# layouts, next to `cp` of the same input (and `cat` into a file, what any program pays that
# reads and writes the bytes itself), and reports wall time, peak memory and throughput.
# Each figure is the best of REPEAT runs (default 3) with the input in the page cache, each run
# started after a sync.
# With COLD=1 (needs root) the page cache is dropped before every run, so input is read from disk.
# Usage: [COLD=1] [REPEAT=N] bench/run.sh [LINES...]   (default: 1000000 10000000)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
REPEAT="${REPEAT:-3}"
COLD="${COLD:-0}"
sizes=("$@")
[ "${#sizes[@]}" -gt 0 ] || sizes=(1000000 10000000)
data="$ROOT/bench/data"
mkdir -p "$data"

cmake --preset release -Wno-dev >/dev/null
cmake --build --preset release --target sipocheck bench_make_input >/dev/null
sipocheck="$ROOT/build/release/cli/sipocheck"
make_input="$ROOT/build/release/bench/bench_make_input"

# best_of CMD...: prints "seconds peak_kib" of the fastest of REPEAT runs; wall time in
# nanoseconds around the run, peak resident memory from GNU time.
best_of() {
  local best="" line start end kib
  for _ in $(seq "$REPEAT"); do
    sync  # each run starts without dirty pages left by the one before
    if [ "$COLD" = 1 ]; then echo 3 >/proc/sys/vm/drop_caches; fi
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$data/time.out" "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    kib=$(tail -n 1 "$data/time.out")
    line="$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }') $kib"
    if [ -z "$best" ] || awk -v a="${line%% *}" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
      best="$line"
    fi
  done
  echo "$best"
}

printf "%-10s %10s %9s %8s %8s %8s %6s %9s %8s %8s\n" layout lines "size MB" "cp s" "cat s" "sipo s" ratio "peak MB" "peak/in" "MB/s"
for lines in "${sizes[@]}"; do
  for layout in single delimited quoted; do
    input="$data/$layout-$lines.txt"
    [ -f "$input" ] || "$make_input" "$layout" "$lines" "$input"
    case $layout in
      single) options=(--single-column) ;;
      delimited) options=(--column 1) ;;
      quoted) options=(--quoted --column 1) ;;
    esac
    [ "$COLD" = 1 ] || cat "$input" >/dev/null  # into the page cache
    read -r cp_s _ < <(best_of cp "$input" "$data/copy.txt")
    read -r cat_s _ < <(best_of sh -c 'cat "$1" > "$2"' cat "$input" "$data/copy.txt")
    read -r run_s run_kib < <(best_of "$sipocheck" file "$input" --ok "$data/ok.txt" --bad "$data/bad.txt" "${options[@]}")
    bytes=$(stat -c %s "$input")
    awk -v l="$layout" -v n="$lines" -v b="$bytes" -v c="$cp_s" -v t="$cat_s" -v r="$run_s" -v k="$run_kib" 'BEGIN {
      mb = b / 1048576; printf "%-10s %10d %9.1f %8.3f %8.3f %8.3f %6.2f %9.1f %8.2f %8.0f\n",
        l, n, mb, c, t, r, (c > 0 ? r / c : 0), k / 1024, k * 1024 / b, (r > 0 ? mb / r : 0) }'
    rm -f "$data/copy.txt" "$data/ok.txt" "$data/bad.txt"
  done
done
