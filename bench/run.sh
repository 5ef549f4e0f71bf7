#!/usr/bin/env bash
# run.sh - times `sipocheck file` on generated inputs in three layouts (one number a line,
# ';'-delimited, quoted), each in bytes and as UTF-16 LE with its mark (the "-u16" rows), next to
# plain copies of the same input made in the same run:
#   cat     `cat INPUT > OUT`; GNU cat 9 and later copies with copy_file_range, inside the kernel
#           where the file system allows it, as cp does;
#   dd      `dd bs=256K` over the existing copy, a program that reads the bytes into its own
#           memory and writes them once, as sipocheck must;
#   safe    a safe copy: `dd bs=256K` into a fresh temporary, then `mv` over the existing copy,
#           which is how sipocheck replaces its outputs (the figure the "/safe" ratio is against);
#   2safe   two safe copies of sipocheck's own outputs (the bytes of its ok and bad files, each
#           copied by `dd bs=256K` into a temporary and renamed over the existing output): the job
#           without the checking, the floor a run can approach ("/2safe" is sipocheck's ratio to it).
# Every output exists before each timed run, as a user's rerun finds it.
# "user" is sipocheck's median user time and "ns/line" the same per input line: the part of the
# run that is the program's own, not the kernel's copying.
# "+prog" is sipocheck with its progress line forced on (drawn into /dev/null), as a ratio to the
# run without it: what reporting progress costs.
# Each time is the median of REPEAT runs (default 5), input in the page cache, every run started
# after a sync; peak memory is the largest resident size of sipocheck's runs. COLD=1 (needs root)
# drops the page cache before every run, so that the input is read from disk.
# Inputs are generated in bench/data (SIPO_BENCH_DATA) and removed after use (KEEP_INPUTS=1 keeps
# them); 100,000,000 lines take about 11 GB there while they are measured (input, copy and
# both outputs), one input at a time.
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
  local times=() cpus=() users=() peak=0 start end kib cpu user_median
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
    users+=("$user")
  done
  cpu=$(printf "%s\n" "${cpus[@]}" | sort -n | awk '{ c[NR] = $1 } END { print c[int((NR + 1) / 2)] }')
  user_median=$(printf "%s\n" "${users[@]}" | sort -n | awk '{ c[NR] = $1 } END { print c[int((NR + 1) / 2)] }')
  printf "%s\n" "${times[@]}" | sort -n |
    awk -v p="$peak" -v c="$cpu" -v u="$user_median" '{ t[NR] = $1 } END { m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; printf "%.3f %d %s %s\n", m / 1e9, p, c, u }'
}

# safe_copy INPUT TARGET: the copy a careful program makes: a fresh temporary beside the target,
# then a rename over it.
safe_copy() {
  dd if="$1" of="$2.tmp" bs=256K status=none && mv "$2.tmp" "$2"
}
export -f safe_copy

printf "%-13s %10s %8s %7s %7s %7s %7s %7s %6s %6s %6s %6s %7s %7s %8s %6s %7s %6s\n" layout lines \
  "size MB" "cat s" "dd s" "safe s" "2safe s" "sipo s" "/cat" "/dd" "/safe" "/2safe" "peak MB" \
  "dd cpu" "sipo cpu" "user" "ns/line" "+prog"
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
    copy="$data/copy.txt"
    cp "$input" "$copy"
    read -r cat_s _ < <(median_of sh -c 'cat "$1" > "$2"' cat "$input" "$copy")
    read -r dd_s _ dd_cpu _ < <(median_of dd if="$input" of="$copy" bs=256K status=none)
    read -r safe_s _ < <(median_of bash -c 'safe_copy "$1" "$2"' safe "$input" "$copy")
    rm -f "$copy"
    run=("$sipocheck" file "$input" --ok "$data/ok.txt" --bad "$data/bad.txt" "${options[@]}")
    "${run[@]}" >/dev/null 2>&1  # the outputs exist before each timed run
    # The floor: the outputs' own bytes, each copied safely over the existing output.
    cp "$data/ok.txt" "$data/ok.src"
    cp "$data/bad.txt" "$data/bad.src"
    read -r two_s _ < <(median_of bash -c 'safe_copy "$1" "$2" && safe_copy "$3" "$4"' two \
      "$data/ok.src" "$data/ok.txt" "$data/bad.src" "$data/bad.txt")
    rm -f "$data/ok.src" "$data/bad.src"
    read -r run_s run_kib run_cpu run_user < <(median_of "${run[@]}")
    read -r progress_s _ < <(median_of "${run[@]}" --progress)
    bytes=$(stat -c %s "$input")
    awk -v l="$layout" -v n="$lines" -v b="$bytes" -v c="$cat_s" -v w="$dd_s" -v s="$safe_s" -v t="$two_s" -v r="$run_s" -v k="$run_kib" -v wc="$dd_cpu" -v rc="$run_cpu" -v u="$run_user" -v p="$progress_s" 'BEGIN {
      printf "%-13s %10d %8.1f %7.3f %7.3f %7.3f %7.3f %7.3f %6.2f %6.2f %6.2f %6.2f %7.1f %7.2f %8.2f %6.2f %7.1f %6.3f\n",
        l, n, b / 1048576, c, w, s, t, r, (c > 0 ? r / c : 0), (w > 0 ? r / w : 0), (s > 0 ? r / s : 0),
        (t > 0 ? r / t : 0), k / 1024, wc, rc, u, u * 1e9 / n, (r > 0 ? p / r : 0) }'
    rm -f "$data/ok.txt" "$data/bad.txt"
    [ "${KEEP_INPUTS:-0}" = 1 ] || rm -f "$input"
  done
done
rm -f "$data/time.out"
