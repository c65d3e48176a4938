#!/bin/bash
# Configures and builds one of the project's builds.
#   tools/build.sh release|sanitize|fuzz
set -euo pipefail
cd "$(dirname "$0")/.."
kind="${1:-release}"
case "$kind" in
  release)
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSALY_WERROR=ON ;;
  sanitize)
    cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSALY_WERROR=ON \
      -DTESSALY_SANITIZE=ON -DTESSALY_BUILD_BENCH=OFF ;;
  fuzz)
    cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_WERROR=ON \
      -DCMAKE_CXX_COMPILER=clang++ -DTESSALY_BUILD_FUZZ=ON -DTESSALY_BUILD_UI=OFF \
      -DTESSALY_BUILD_TESTS=OFF -DTESSALY_BUILD_BENCH=OFF ;;
  *) echo "usage: tools/build.sh release|sanitize|fuzz" >&2; exit 2 ;;
esac >/dev/null
cmake --build "build/$kind"
