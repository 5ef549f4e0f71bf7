#!/usr/bin/env bash
# release.sh - builds the release from the checked-out commit and writes into dist/:
#   tamrix-sipo-<version>-win64.zip  Sipo.exe, sipocheck.exe, navod.html, ČTĚTE.txt, LICENCE.txt,
#                                    SHA256SUMS
#   sipocheck_<version>_amd64.deb    sipocheck, its manual page and the guide for Debian
#   SHA256SUMS                       the checksums of the two
# The same commit gives the same bytes wherever and whenever it is built: every time stamp is the
# commit's time (SOURCE_DATE_EPOCH) and no folder name reaches the files.
#
# Signing: with SIPO_SIGN_CERT (the certificate chain, PEM) and SIPO_SIGN_KEY (its private key,
# PEM; SIPO_SIGN_PASS its password, if any) both executables are signed with osslsigncode before
# they are zipped, the signing time being the commit's time; SIPO_SIGN_TIMESTAMP_URL adds a
# time-stamping authority's countersignature (which makes the bytes differ from build to build).
# Without them the release is unsigned, and the script says so.
#
# Usage: tools/release.sh [--no-deb]
set -euo pipefail
SIPO_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$SIPO_ROOT"

build_deb=1
case "${1:-}" in
  --no-deb) build_deb=0 ;;
  "") ;;
  *) echo "usage: tools/release.sh [--no-deb]" >&2; exit 2 ;;
esac

bash tools/install-deps.sh

export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}"
export TZ=UTC LC_ALL=C.UTF-8
# As many compile jobs as the machine has processors (ninja alone would run two more).
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
umask 022
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release: the working tree has uncommitted changes; the release is built from them" >&2
fi

win_build=build/release-win64
deb_build=build/release-deb
stage=build/release-stage
dist=dist

# The version as CMake's project() states it.
cmake -S . -B "$win_build" -G Ninja --toolchain cmake/toolchain-mingw.cmake \
  -DCMAKE_BUILD_TYPE=Release -DSIPO_TESTS=OFF >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win_build/CMakeCache.txt")
echo "release: Tamrix SIPO $version (commit $(git rev-parse --short HEAD), time $SOURCE_DATE_EPOCH)"
nice cmake --build "$win_build" --target Sipo sipocheck
# The linker's output holds no debugging information of its own, but the MinGW runtime's static
# libraries bring some: stripped, the executables are smaller. strip writes SOURCE_DATE_EPOCH into
# the PE header's time stamp.
x86_64-w64-mingw32-strip --strip-debug -o "$win_build/Sipo.release.exe" "$win_build/app/Sipo.exe"
x86_64-w64-mingw32-strip --strip-debug -o "$win_build/sipocheck.release.exe" \
  "$win_build/cli/sipocheck.exe"

rm -rf "$stage" && mkdir -p "$stage" "$dist"
cp "$win_build/Sipo.release.exe" "$stage/Sipo.exe"
cp "$win_build/sipocheck.release.exe" "$stage/sipocheck.exe"

sign() {
  local exe=$1 args=(-certs "$SIPO_SIGN_CERT" -key "$SIPO_SIGN_KEY" -h sha256
                     -n "Tamrix SIPO" -time "$SOURCE_DATE_EPOCH")
  [ -n "${SIPO_SIGN_PASS:-}" ] && args+=(-pass "$SIPO_SIGN_PASS")
  [ -n "${SIPO_SIGN_TIMESTAMP_URL:-}" ] && args+=(-ts "$SIPO_SIGN_TIMESTAMP_URL")
  osslsigncode sign "${args[@]}" -in "$exe" -out "$exe.signed" >/dev/null
  mv "$exe.signed" "$exe"
}
if [ -n "${SIPO_SIGN_CERT:-}" ] && [ -n "${SIPO_SIGN_KEY:-}" ]; then
  sign "$stage/Sipo.exe"
  sign "$stage/sipocheck.exe"
  echo "release: Sipo.exe and sipocheck.exe signed with $(basename "$SIPO_SIGN_CERT")"
else
  echo "release: UNSIGNED (set SIPO_SIGN_CERT and SIPO_SIGN_KEY to sign the executables)"
fi

# The guide as one HTML page that any browser opens, its pictures inside it. Pandoc 2.19 renamed
# --self-contained to --embed-resources --standalone; the older name still works there but warns.
pandoc_help=$(pandoc --help)
if grep -q -- --embed-resources <<<"$pandoc_help"; then
  embed=(--embed-resources --standalone)
else
  embed=(--self-contained)
fi
(cd docs && pandoc -f gfm -t html5 "${embed[@]}" --resource-path=. -V lang=cs \
  -M pagetitle="Tamrix SIPO – návod k použití" -o "$SIPO_ROOT/$stage/navod.html" navod.md)

# Texts for Notepad: UTF-8 with its mark, CR LF line ends. ČTĚTE.txt is kept so in the
# repository (.gitattributes keeps Git from converting it); LICENCE is an ordinary text file.
cp "docs/ČTĚTE.txt" "$stage/ČTĚTE.txt"
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' LICENCE; } >"$stage/LICENCE.txt"

files=(Sipo.exe sipocheck.exe navod.html ČTĚTE.txt LICENCE.txt)
# CR LF line ends, so that Notepad shows the sums one a line; sha256sum -c reads them as well.
(cd "$stage" && sha256sum "${files[@]}" | sed 's/$/\r/' >SHA256SUMS)
files+=(SHA256SUMS)

# Zip entries in a fixed order with the commit's time, mode 644 and no extra fields (-X: no owner,
# no Unix times; -D: no folder entries).
zip_name="tamrix-sipo-$version-win64.zip"
chmod 0644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
rm -f "$dist/$zip_name"
mapfile -t sorted < <(printf '%s\n' "${files[@]}" | LC_ALL=C sort)
(cd "$stage" && zip -X -D -q "$SIPO_ROOT/$dist/$zip_name" "${sorted[@]}")
published=("$zip_name")

if [ "$build_deb" -eq 1 ]; then
  cmake -S . -B "$deb_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSIPO_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr "-DSIPO_GUIDE_HTML=$SIPO_ROOT/$stage/navod.html" >/dev/null
  nice cmake --build "$deb_build"
  (cd "$deb_build" && cpack -G DEB >/dev/null)
  deb_name="sipocheck_${version}_amd64.deb"
  cp "$deb_build/$deb_name" "$dist/$deb_name"
  published+=("$deb_name")
fi

(cd "$dist" && sha256sum "${published[@]}" >SHA256SUMS)
echo "release: written to $dist/:"
(cd "$dist" && cat SHA256SUMS)
