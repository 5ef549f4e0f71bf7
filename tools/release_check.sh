#!/usr/bin/env bash
# release_check.sh - builds the release of the committed HEAD twice, in two fresh clones in two
# different folders one after the other, and checks what a user and a packager get:
#   - both builds give the same bytes of Sipo.exe, sipocheck.exe and the zip;
#   - the zip holds exactly its six files, and both SHA256SUMS verify;
#   - the guide in the zip is one HTML page with every picture of docs/navod.md inside it;
#   - the texts are for Notepad (UTF-8 mark, CR LF) and the licence is the About window's;
#   - both executables' version resources carry the version of CMake's project() and their Czech
#     description with its diacritics, and
#     sipocheck.exe's manifest declares what the README says;
#   - signing with a throw-away self-signed certificate verifies against that certificate;
#   - the .deb holds sipocheck, its manual page and the guide, and its sipocheck prints the version;
#   - lintian finds no error in the .deb.
# Ends with "release checks: N passed, N failed"; non-zero on any failure.
set -uo pipefail
SIPO_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$SIPO_ROOT" || exit 1

bash tools/install-deps.sh || { echo "release checks: installing the packages failed"; exit 1; }
# lintian checks the package as Debian's archive would; only these checks need it.
if ! command -v lintian >/dev/null; then
  as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
  echo "Installing: lintian"
  { as_root apt-get update -qq &&
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      lintian >/dev/null; } || { echo "release checks: installing lintian failed"; exit 1; }
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log_dir="$SIPO_ROOT/build/test-logs"
mkdir -p "$log_dir"
passed=0
failed=0

pass() { echo "ok: $1"; passed=$((passed + 1)); }
fail() { echo "FAILED: $1"; failed=$((failed + 1)); }
# check DESCRIPTION COMMAND...: counts the command's outcome.
check() {
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release checks: uncommitted changes are not part of the clones and are not checked"
fi

# release CLONE LOG [ARGS...]: a fresh clone of HEAD in CLONE and tools/release.sh in it.
release() {
  local clone=$1 log=$2
  shift 2
  git clone -q --no-hardlinks "$SIPO_ROOT" "$clone" &&
    (cd "$clone" && bash tools/release.sh "$@") >"$log" 2>&1
}

first="$work/first"
second="$work/elsewhere/second clone"
echo "== release: first build"
release "$first" "$log_dir/release-first.log" || { tail -n 30 "$log_dir/release-first.log"; fail "first release build"; }
sleep 2
echo "== release: second build"
release "$second" "$log_dir/release-second.log" --no-deb ||
  { tail -n 30 "$log_dir/release-second.log"; fail "second release build"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$first/build/release-win64/CMakeCache.txt")
zip_name="tamrix-sipo-$version-win64.zip"
zip="$first/dist/$zip_name"
echo "== release: checks of $zip_name"

for file in Sipo.exe sipocheck.exe; do
  check "$file the same in both builds" \
    cmp "$first/build/release-stage/$file" "$second/build/release-stage/$file"
done
check "zip the same in both builds" cmp "$zip" "$second/dist/$zip_name"
grep -q "UNSIGNED" "$log_dir/release-first.log"
check "an unsigned build says so" [ $? -eq 0 ]

expected=$(printf '%s\n' LICENCE.txt SHA256SUMS Sipo.exe navod.html sipocheck.exe ČTĚTE.txt |
  LC_ALL=C sort)
check "zip holds exactly its six files" [ "$(zipinfo -1 "$zip" | LC_ALL=C sort)" = "$expected" ]
unpacked="$work/unpacked"
mkdir -p "$unpacked" && unzip -q "$zip" -d "$unpacked"
check "SHA256SUMS inside the zip verifies" bash -c "cd '$unpacked' && sha256sum --quiet -c SHA256SUMS"
check "SHA256SUMS beside the zip verifies" bash -c "cd '$first/dist' && sha256sum --quiet -c SHA256SUMS"

# for_notepad FILE: one UTF-8 mark first, every line ended by CR LF, the last one too.
for_notepad() {
  [ "$(head -c 3 "$1" | od -An -tx1 | tr -d ' ')" = "efbbbf" ] &&
    [ "$(head -c 6 "$1" | od -An -tx1 | tr -d ' ')" != "efbbbfefbbbf" ] &&
    [ "$(grep -c $'[^\r]\r$\|^\r$' "$1")" -eq "$(wc -l <"$1")" ] &&
    ! grep -q $'\r\r' "$1" && [ "$(tail -c 2 "$1" | od -An -tx1 | tr -d ' ')" = "0d0a" ]
}
check "ČTĚTE.txt: UTF-8 mark, CR LF" for_notepad "$unpacked/ČTĚTE.txt"
# crlf_sums FILE: a sum on each of the five lines, each ended by CR LF.
crlf_sums() {
  [ "$(wc -l <"$1")" -eq 5 ] && [ "$(grep -c $'^[0-9a-f]\{64\}  [^\r]*\r$' "$1")" -eq 5 ]
}
check "SHA256SUMS in the zip: CR LF" crlf_sums "$unpacked/SHA256SUMS"

# guide_html FILE: an HTML page whose pictures are all inside it, as many as the guide shows.
guide_html() {
  local pictures
  pictures=$(grep -o '!\[[^]]*\]([^)]*)' docs/navod.md | wc -l)
  head -c 15 "$1" | grep -qi '^<!DOCTYPE html>' &&
    [ "$(grep -o '<img src="data:image/png;base64,' "$1" | wc -l)" -eq "$pictures" ] &&
    [ "$pictures" -gt 0 ] && ! grep -q '<img src="[^d]' "$1" &&
    grep -q "navod\.html" "$unpacked/ČTĚTE.txt"
}
check "navod.html: HTML with its pictures inside, named in ČTĚTE.txt" guide_html "$unpacked/navod.html"
check "LICENCE.txt: UTF-8 mark, CR LF" for_notepad "$unpacked/LICENCE.txt"
check "LICENCE is the About window's licence" \
  cmp -s LICENCE <(python3 tools/licence_text.py ui/forms/about_texts.cpp)
check "LICENCE.txt is LICENCE" \
  cmp -s <(tail -c +4 "$unpacked/LICENCE.txt" | tr -d '\r') LICENCE

# version_resource EXE NAME DESCRIPTION: the version resource carries project()'s version.
version_resource() {
  local fields
  fields=$(python3 tools/pe_resources.py "$1") || return 1
  local line
  for line in "FIXED_FILEVERSION=$version" "FIXED_PRODUCTVERSION=$version" "FileVersion=$version" \
              "ProductVersion=$version" "OriginalFilename=$2" "CompanyName=Tamrix" \
              "ProductName=Tamrix SIPO" "STRING_TABLE=040504E2" "TRANSLATION=040504E2"; do
    grep -qxF "$line" <<<"$fields" || { echo "  $1: no $line in:"; echo "$fields"; return 1; }
  done
  grep -q "^LegalCopyright=Copyright" <<<"$fields" && grep -qxF "FileDescription=$3" <<<"$fields"
}
check "Sipo.exe version resource is $version" version_resource "$unpacked/Sipo.exe" Sipo.exe \
  "Tamrix SIPO - kontrola čísel SIPO"
check "sipocheck.exe version resource is $version" \
  version_resource "$unpacked/sipocheck.exe" sipocheck.exe \
  "Tamrix SIPO - kontrola čísel SIPO z příkazové řádky"

cli_manifest() {
  local manifest
  manifest=$(python3 tools/pe_resources.py --manifest "$unpacked/sipocheck.exe") || return 1
  grep -q "<longPathAware[^>]*>true</longPathAware>" <<<"$manifest" &&
    grep -q "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a" <<<"$manifest" &&
    grep -q "version=\"$version\"" <<<"$manifest" && ! grep -q activeCodePage <<<"$manifest"
}
check "sipocheck.exe manifest: supported Windows, long paths, no code page" cli_manifest
check "Sipo.exe manifest carries the version" \
  grep -q "version=\"$version\"" <(python3 tools/pe_resources.py --manifest "$unpacked/Sipo.exe")

# Signing: a throw-away self-signed code-signing certificate, the second clone's release signed
# with it (its build is reused), and each signature verified against that certificate alone.
signing() {
  local keys="$work/keys"
  mkdir -p "$keys"
  openssl req -x509 -newkey rsa:3072 -nodes -days 2 -subj "/CN=Tamrix SIPO test signing" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -keyout "$keys/key.pem" -out "$keys/cert.pem" >/dev/null 2>&1 || return 1
  (cd "$second" && SIPO_SIGN_CERT="$keys/cert.pem" SIPO_SIGN_KEY="$keys/key.pem" \
    bash tools/release.sh --no-deb) >"$log_dir/release-signed.log" 2>&1 || return 1
  local signed="$work/signed"
  mkdir -p "$signed" && unzip -q "$second/dist/$zip_name" -d "$signed" || return 1
  (cd "$signed" && sha256sum --quiet -c SHA256SUMS) || return 1
  local file
  for file in Sipo.exe sipocheck.exe; do
    osslsigncode verify -CAfile "$keys/cert.pem" -in "$signed/$file" >>"$log_dir/release-signed.log" 2>&1 ||
      { echo "  $file: signature does not verify"; return 1; }
    ! osslsigncode verify -CAfile "$keys/cert.pem" -in "$unpacked/$file" >/dev/null 2>&1 ||
      { echo "  unsigned $file verifies"; return 1; }
  done
}
check "signing round trip with a throw-away certificate" signing

deb_package() {
  local deb="$first/dist/sipocheck_${version}_amd64.deb" root="$work/deb-root"
  [ -f "$deb" ] || { echo "  no $deb"; return 1; }
  local info contents
  info=$(dpkg-deb -I "$deb") && contents=$(dpkg-deb -c "$deb") || return 1
  grep -q "^ Package: sipocheck$" <<<"$info" && grep -q "^ Version: $version$" <<<"$info" &&
    grep -q "^ Architecture: amd64$" <<<"$info" || { echo "$info"; return 1; }
  grep -q " \./usr/bin/sipocheck$" <<<"$contents" &&
    grep -q " \./usr/share/man/man1/sipocheck\.1\.gz$" <<<"$contents" &&
    grep -q " \./usr/share/doc/sipocheck/navod\.html$" <<<"$contents" || { echo "$contents"; return 1; }
  dpkg-deb -x "$deb" "$root" || return 1
  # The first line names the package and the version; the copyright, the licence and the line
  # loop follow.
  [ "$("$root/usr/bin/sipocheck" --version | sed -n 1p)" = "sipocheck (Tamrix SIPO) $version" ] &&
    zcat "$root/usr/share/man/man1/sipocheck.1.gz" | grep -q '^\.TH SIPOCHECK 1'
}
check ".deb: package, sipocheck --version, manual page, guide" deb_package

# Errors fail the check; warnings and notes are shown but pass.
deb_lintian() {
  lintian --fail-on error "$first/dist/sipocheck_${version}_amd64.deb" 2>&1 |
    grep -v "running with root privileges"
  return "${PIPESTATUS[0]}"
}
check ".deb: lintian without errors" deb_lintian

echo "release checks: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
