#!/usr/bin/env bash
# wine_large.sh - runs the Windows build of `sipocheck file` under Wine on a generated input of
# more than 3 GB (past both the 2 GiB and the 32-bit limits of a single read), and checks its
# counts and both outputs against the Linux build's on the same input. Not part of the tests:
# it needs about 10 GB in bench/data (SIPO_BENCH_DATA) and a few minutes.
# Usage: bench/wine_large.sh [LINES]   (default 120000000 delimited lines, about 3.3 GB)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
lines="${1:-120000000}"
data="${SIPO_BENCH_DATA:-$ROOT/bench/data}"
mkdir -p "$data"
free_kib=$(df -Pk "$data" | awk 'NR == 2 { print $4 }')
if [ "$free_kib" -lt $((12 * 1024 * 1024)) ]; then
  echo "wine_large: less than 12 GB free in $data" >&2
  exit 1
fi

cmake --preset release -Wno-dev >/dev/null
cmake --build --preset release --target sipocheck bench_make_input >/dev/null
cmake --preset mingw -Wno-dev >/dev/null
cmake --build --preset mingw --target sipocheck >/dev/null

input="$data/large.txt"
cleanup() { rm -f "$input" "$data"/linux-*.txt "$data"/windows-*.txt; }
trap cleanup EXIT
"$ROOT/build/release/bench/bench_make_input" delimited "$lines" "$input"
echo "input: $(stat -c %s "$input") bytes, $lines lines"

cd "$data"
linux=$("$ROOT/build/release/cli/sipocheck" file large.txt --ok linux-ok.txt --bad linux-bad.txt --column 1 2>&1)
echo "Linux:   $linux"

source "$ROOT/tools/wine-env.sh"
start_wine
start=$(date +%s%N)
status=0
windows=$(wine "$ROOT/build/mingw/cli/sipocheck.exe" file large.txt --ok windows-ok.txt --bad windows-bad.txt --column 1 2>&1 | tr -d '\r') || status=$?
end=$(date +%s%N)
wineserver -k >/dev/null 2>&1 || true
echo "Windows: $windows (exit $status, $(awk -v ns=$((end - start)) 'BEGIN { printf "%.1f", ns / 1e9 }') s under Wine)"

same=1
[ "$linux" = "$windows" ] || { echo "wine_large: the summaries differ"; same=0; }
for kind in ok bad; do
  cmp -s "linux-$kind.txt" "windows-$kind.txt" || { echo "wine_large: the $kind outputs differ"; same=0; }
done
[ "$same" = 1 ] && echo "wine_large: same counts and byte-identical outputs"
[ "$same" = 1 ]
