#!/usr/bin/env bash
# install-deps.sh - installs the Debian packages that building and testing need, and the Czech and
# English locales that the Windows program is tested under. Does nothing when all are present.
set -euo pipefail

packages=(
  cmake ninja-build g++ python3 git              # native build
  clang-format                                   # formatting (the repository's .clang-format)
  clang libclang-rt-14-dev                       # libFuzzer
  googletest                                     # GoogleTest sources, built by each configuration
  g++-mingw-w64-x86-64-posix mingw-w64-tools     # the Windows program
  wine wine64 xvfb imagemagick x11-utils         # running and testing it
  fonts-wine                                     # Tahoma, the font the windows are drawn in
  locales time
  zip unzip osslsigncode openssl dpkg-dev        # the release: zip, signing, the Debian package
  pandoc                                         # the guide as one HTML page with its pictures
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

for locale in cs_CZ.UTF-8 en_US.UTF-8; do
  short=$(echo "$locale" | sed 's/UTF-8/utf8/')
  if ! locale -a 2>/dev/null | grep -qx "$short"; then
    as_root sed -i "s/^# *$locale UTF-8/$locale UTF-8/" /etc/locale.gen
    grep -q "^$locale UTF-8" /etc/locale.gen || echo "$locale UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  fi
done
