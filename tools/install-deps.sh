#!/bin/bash
# Installs the Debian packages that building, testing and running need.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  libgtest-dev libbenchmark-dev libfuse3-dev
  qt6-base-dev qt6-translations-l10n fonts-noto-cjk xdg-utils
  xvfb xauth xdotool strace bc time tzdata
  dosfstools fusefat exfatprogs exfat-fuse
  dpkg-dev desktop-file-utils appstream lintian man-db
  g++-mingw-w64-x86-64-posix googletest wine wine64 librsvg2-bin icoutils nsis zip
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  # Not root: nothing to do when all is there, else sudo is needed.
  [[ ${#missing[@]} -eq 0 ]] && exit 0
  if ! command -v sudo >/dev/null; then
    echo "tessaly: please install these packages first: ${missing[*]}" >&2
    exit 1
  fi
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
