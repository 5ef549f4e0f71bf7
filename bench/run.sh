#!/usr/bin/env bash
# run.sh - times `sipocheck file` on generated inputs in three layouts (one number a line,
# ';'-delimited, quoted), each in bytes and as UTF-16 LE with its mark (the "-u16" rows), next to
# plain copies of the same input made in the same run:
#   cat     `cat INPUT > OUT`; GNU cat 9 and later copies with copy_file_range, inside the kernel
#           where the file system allows it, as cp does;
#   rw      `dd bs=256K`, a program that reads the bytes into its own memory and writes them
#           once, as sipocheck must.
# "+prog" is sipocheck with its progress line forced on (drawn into /dev/null), as a ratio to the
# run without it: what reporting progress costs.
# Each time is the median of REPEAT runs (default 5), input in the page cache, every run started
# after a sync; peak memory is the largest resident size of sipocheck's runs. COLD=1 (needs root)
# drops the page cache before every run, so that the input is read from disk.
# Inputs are generated in bench/data (SIPO_BENCH_DATA) and removed after use (KEEP_INPUTS=1 keeps
# them); 100,000,000 lines take about 11 GB there while they are measured.
# LAYOUTS (default "single delimited quoted single-u16 delimited-u16 quoted-u16") picks rows.
# Usage: [COLD=1] [REPEAT=N] [LAYOUTS=...] bench/run.sh [LINES...]   (default: 1000000 10000000)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
REPEAT="${REPEAT:-5}"
COLD="${COLD:-0}"
sizes=("$@")
[ "${#sizes[@]}" -gt 0 ] || sizes=(1000000 10000000)
data="${SIPO_BENCH_DATA:-$ROOT/bench/data}"
mkdir -p "$data"

cmake --preset release -Wno-dev >/dev/null
cmake --build --preset release --target sipocheck bench_make_input >/dev/null
sipocheck="$ROOT/build/release/cli/sipocheck"
make_input="$ROOT/build/release/bench/bench_make_input"

# median_of CMD...: prints "seconds peak_kib cpu_seconds": the median wall time of REPEAT runs
# (nanoseconds around the run), the largest peak resident memory and the median processor time,
# user and system (GNU time). On a shared machine the processor time is the steadier figure.
median_of() {
  local times=() cpus=() peak=0 start end kib cpu
  for _ in $(seq "$REPEAT"); do
    sync  # each run starts without dirty pages left by the one before
    if [ "$COLD" = 1 ]; then echo 3 >/proc/sys/vm/drop_caches; fi
    start=$(date +%s%N)
    /usr/bin/time -f "%M %U %S" -o "$data/time.out" "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    read -r kib user system < <(tail -n 1 "$data/time.out")
    [ "$kib" -gt "$peak" ] && peak=$kib
    times+=("$((end - start))")
    cpus+=("$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')")
  done
  cpu=$(printf "%s\n" "${cpus[@]}" | sort -n | awk '{ c[NR] = $1 } END { print c[int((NR + 1) / 2)] }')
  printf "%s\n" "${times[@]}" | sort -n |
    awk -v p="$peak" -v c="$cpu" '{ t[NR] = $1 } END { m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; printf "%.3f %d %s\n", m / 1e9, p, c }'
}

printf "%-13s %10s %8s %7s %7s %7s %7s %7s %8s %8s %8s %6s\n" layout lines "size MB" "cat s" "rw s" "sipo s" "/cat" "/rw" "peak MB" "rw cpu" "sipo cpu" "+prog"
for lines in "${sizes[@]}"; do
  for layout in ${LAYOUTS:-single delimited quoted single-u16 delimited-u16 quoted-u16}; do
    input="$data/$layout-$lines.txt"
    encoding=()
    [ "${layout%-u16}" = "$layout" ] || encoding=(utf16)
    [ -f "$input" ] || "$make_input" "${layout%-u16}" "$lines" "$input" "${encoding[@]}"
    case ${layout%-u16} in
      single) options=(--single-column) ;;
      delimited) options=(--column 1) ;;
      quoted) options=(--quoted --column 1) ;;
    esac
    [ "$COLD" = 1 ] || cat "$input" >/dev/null  # into the page cache
    read -r cat_s _ < <(median_of sh -c 'cat "$1" > "$2"' cat "$input" "$data/copy.txt")
    rm -f "$data/copy.txt"
    read -r rw_s _ rw_cpu < <(median_of dd if="$input" of="$data/copy.txt" bs=256K status=none)
    rm -f "$data/copy.txt"
    read -r run_s run_kib run_cpu < <(median_of "$sipocheck" file "$input" --ok "$data/ok.txt" --bad "$data/bad.txt" "${options[@]}")
    read -r progress_s _ < <(median_of "$sipocheck" file "$input" --ok "$data/ok.txt" --bad "$data/bad.txt" "${options[@]}" --progress)
    bytes=$(stat -c %s "$input")
    awk -v l="$layout" -v n="$lines" -v b="$bytes" -v c="$cat_s" -v w="$rw_s" -v r="$run_s" -v k="$run_kib" -v wc="$rw_cpu" -v rc="$run_cpu" -v p="$progress_s" 'BEGIN {
      printf "%-13s %10d %8.1f %7.3f %7.3f %7.3f %7.2f %7.2f %8.1f %8.2f %8.2f %6.3f\n",
        l, n, b / 1048576, c, w, r, (c > 0 ? r / c : 0), (w > 0 ? r / w : 0), k / 1024, wc, rc, (r > 0 ? p / r : 0) }'
    rm -f "$data/ok.txt" "$data/bad.txt"
    [ "${KEEP_INPUTS:-0}" = 1 ] || rm -f "$input"
  done
done
rm -f "$data/time.out"
