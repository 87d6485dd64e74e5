#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the programs need; skips what is present.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev fonts-liberation2
  qt6-base-dev
  portaudio19-dev libasound2-plugins libsndfile1-dev libsamplerate0-dev
  libfftw3-dev libpng-dev
  libcpp-httplib-dev chromium
  xvfb xauth
  pkg-config
  cups printer-driver-cups-pdf poppler-utils
  desktop-file-utils appstream lintian man-db
  python3
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]} == 0)); then
  exit 0
fi
echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
