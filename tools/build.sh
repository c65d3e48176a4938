#!/bin/bash
# Configures and builds one of the project's builds.
#   tools/build.sh release|sanitize|tsan|fuzz|package|windows
# tsan builds only the tests of the layers without a window.
# windows cross-builds build/windows/cli/tessaly-cli.exe, build/windows/ui/win32/tessaly.exe
# and the tests, which run under Wine.
# package builds the release and makes build/release/tessaly_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
kind="${1:-release}"
if [[ "$kind" == package ]]; then
  bash "$0" release
  cd build/release && exec cpack -G DEB >/dev/null
fi
case "$kind" in
  release)
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSALY_WERROR=ON ;;
  sanitize)
    cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSALY_WERROR=ON \
      -DTESSALY_SANITIZE=ON -DTESSALY_BUILD_BENCH=OFF ;;
  tsan)
    cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSALY_WERROR=ON \
      -DTESSALY_TSAN=ON -DTESSALY_BUILD_UI=OFF -DTESSALY_BUILD_BENCH=OFF ;;
  fuzz)
    cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_WERROR=ON \
      -DCMAKE_CXX_COMPILER=clang++ -DTESSALY_BUILD_FUZZ=ON -DTESSALY_BUILD_UI=OFF \
      -DTESSALY_BUILD_TESTS=OFF -DTESSALY_BUILD_BENCH=OFF ;;
  windows)
    cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSALY_WERROR=ON \
      -DCMAKE_TOOLCHAIN_FILE=tools/mingw-w64.cmake -DTESSALY_BUILD_UI=ON \
      -DTESSALY_BUILD_BENCH=OFF ;;
  *) echo "usage: tools/build.sh release|sanitize|tsan|fuzz|package|windows" >&2; exit 2 ;;
esac >/dev/null
cmake --build "build/$kind"
