#!/bin/bash
# Installs what is missing, then: the build with warnings as errors and every
# test; the Debian package, unpacked and checked; every test again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and those without a window
# under ThreadSanitizer; the Windows build, its tests under Wine; the header
# reader's fuzzer for a minute; the source format.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
bash tools/install-deps.sh

echo "== format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== release build and tests"
bash tools/build.sh release
ctest --test-dir build/release --output-on-failure -j2

echo "== the tests again in a time zone west of UTC, with daylight saving"
TZ=America/Los_Angeles ctest --test-dir build/release --output-on-failure -j2 -E 'cli\.Cards'

echo "== the Debian package"
bash tools/build.sh package
bash tools/check-package.sh

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
bash tools/build.sh sanitize
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitize --output-on-failure -j2

echo "== tests under ThreadSanitizer"
bash tools/build.sh tsan
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir build/tsan --output-on-failure -j2

echo "== the Windows build, its tests under Wine"
bash tools/build.sh windows
ctest --test-dir build/windows --output-on-failure -j2

echo "== fuzzing the header reader for ${TESSALY_FUZZ_SECONDS:-60} s"
bash tools/build.sh fuzz
corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT
cp tests/regression/inputs/* "$corpus/"
mkdir -p fuzz/artifacts
if ! build/fuzz/fuzz/read_picture_info_fuzzer -max_total_time="${TESSALY_FUZZ_SECONDS:-60}" \
    -max_len=40000 -print_final_stats=1 -artifact_prefix=fuzz/artifacts/ "$corpus" \
    >build/fuzz/fuzz.log 2>&1; then
  tail -n 40 build/fuzz/fuzz.log
  echo "The fuzzer found a crash; the input is in fuzz/artifacts/. Keep it in" \
       "tests/regression/inputs/ once it is fixed." >&2
  exit 1
fi
grep -E "^stat::number_of_executed_units|^Done" build/fuzz/fuzz.log || true

# The closing line, after everything above has passed.
total=$(ctest --test-dir build/release -N | awk '/Total Tests:/ {print $3}')
windows=$(ctest --test-dir build/windows -N | awk '/Total Tests:/ {print $3}')
echo "all: ${total} passed, 0 failed; under Wine: ${windows} passed, 0 failed"
