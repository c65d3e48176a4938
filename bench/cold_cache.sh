#!/bin/bash
# A freshly inserted card: whole runs on 10,000 pictures (or PICTURES) in 100 directories
# with the page cache dropped before each (cold) and filled (warm), in
# alternating rounds on fresh trees, for
#   - the bare sequential loop (open, read 4 KiB, close, stat, rename),
#   - tessaly-cli rename --no-subdir,
#   - tessaly-cli rename (date directories);
# then the medians and ratios, peak memory, what the device gives at best
# (the headers alone read by 1, 4 and 16 readers at once), and the cold
# --no-subdir run with 0, 1, 2, 4 and 8 read-ahead threads.
#
# Dropping the cache needs root (it writes /proc/sys/vm/drop_caches); as
# another user the script says so and does nothing.
#
#   bench/cold_cache.sh BUILD_DIR [WORK_DIR] [ROUNDS] [PICTURES]
set -euo pipefail
build="${1:?usage: cold_cache.sh BUILD_DIR [WORK_DIR] [ROUNDS]}"
work="${2:-/var/tmp/tessaly-bench}"
rounds="${3:-5}"
pictures="${4:-10000}"
if [[ $EUID -ne 0 || ! -w /proc/sys/vm/drop_caches ]]; then
  echo "cold_cache.sh: dropping the page cache needs root; skipped"
  exit 0
fi
cli="$build/cli/tessaly-cli"
mkdir -p "$work"
declare -A times memory

once() {  # once NAME cold|warm COMMAND...
  local name="$1" state="$2"; shift 2
  rm -rf "$work/tree" && "$build/bench/make_picture_tree" "$work/tree" "$pictures" 100 && sync
  sleep 1  # the writes of the tree settle first
  if [[ $state == cold ]]; then
    echo 3 >/proc/sys/vm/drop_caches
  else
    find "$work/tree" -type f -print0 | xargs -0 head -q -c 8192 >/dev/null  # the headers
  fi
  local start=$EPOCHREALTIME
  /usr/bin/time -f '%M' -o "$work/time" "$@" >/dev/null 2>&1
  local end=$EPOCHREALTIME
  read -r kib <"$work/time"
  times[$name-$state]+="$(printf '%.3f' "$(echo "$end - $start" | bc -l)") "
  memory[$name]="$kib"
}

for ((round = 1; round <= rounds; round++)); do
  for state in cold warm; do
    once bare "$state" "$build/bench/bare_loop" "$work/tree"
    once no-subdir "$state" "$cli" rename --no-subdir --list "$work/list.txt" "$work/tree"
    once default "$state" "$cli" rename --list "$work/list.txt" "$work/tree"
  done
done
source "$(dirname "$0")/median.sh"
for state in cold warm; do
  for name in bare no-subdir default; do
    printf '%-5s %-10s median %6.3f s   (%s)\n' "$state" "$name" "$(median "${times[$name-$state]}")" \
      "${times[$name-$state]% }"
  done
  printf '%-5s --no-subdir / bare loop: %.3f\n' "$state" \
    "$(echo "$(median "${times[no-subdir-$state]}") / $(median "${times[bare-$state]}")" | bc -l)"
done
printf 'peak memory: --no-subdir %.1f MiB, default %.1f MiB\n' \
  "$(echo "${memory[no-subdir]} / 1024" | bc -l)" "$(echo "${memory[default]} / 1024" | bc -l)"

# What the device gives at best: the headers alone, read cold by 1, 4 and 16
# readers at once (head, 200 files a process).
for readers in 1 4 16; do
  for ((round = 1; round <= 3; round++)); do
    once "readers$readers" cold sh -c \
      "find '$work/tree' -name '*.JPG' -print0 | xargs -0 -P $readers -n 200 head -q -c 4096"
  done
  printf 'cold, headers only, %2d readers: median %.2f s\n' "$readers" \
    "$(median "${times[readers$readers-cold]}")"
done

for threads in 0 1 2 4 8; do
  for ((round = 1; round <= 3; round++)); do
    once "threads$threads" cold env TESSALY_READ_AHEAD_THREADS="$threads" \
      "$cli" rename --no-subdir --list "$work/list.txt" "$work/tree"
  done
  printf 'cold --no-subdir, %2d read-ahead threads: median %.2f s\n' "$threads" \
    "$(median "${times[threads$threads-cold]}")"
done
rm -rf "$work/tree"
