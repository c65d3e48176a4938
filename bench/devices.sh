#!/bin/bash
# Cold runs on three devices: this machine's disk, the page cache dropped
# before each run; and two slow devices in user space (slow_device, mounted
# afresh before each run over a tree kept in memory), each request LATENCY_US
# (default 500) late: a card in a USB reader, which answers one request at a
# time, and an SSD, which answers 32 at once. In alternating rounds, on a
# fresh tree of 10,000 pictures (or PICTURES) in 100 directories each run:
#   - the bare sequential loop (open, read 4 KiB, close, stat, rename), and
#     the same into date directories (bare_loop --dated),
#   - 16 readers of the headers alone (what the device gives at best),
#   - tessaly-cli rename --no-subdir,
#   - tessaly-cli rename (date directories);
# then the medians, the ratios and peak memory.
#
# Needs root (dropping the page cache, mounting) and slow_device, which is
# built where libfuse3's headers are installed (libfuse3-dev).
#
#   bench/devices.sh BUILD_DIR [WORK_DIR] [ROUNDS] [PICTURES] [LATENCY_US]
set -euo pipefail
build="${1:?usage: devices.sh BUILD_DIR [WORK_DIR] [ROUNDS] [PICTURES] [LATENCY_US]}"
work="${2:-/var/tmp/tessaly-devices}"
rounds="${3:-5}"
pictures="${4:-10000}"
latency="${5:-500}"
source "$(dirname "$0")/median.sh"
if [[ $EUID -ne 0 || ! -x "$build/bench/slow_device" ]]; then
  echo "devices.sh: needs root and $build/bench/slow_device (libfuse3-dev); skipped"
  exit 0
fi
cli="$build/cli/tessaly-cli"
devices=(disk card ssd)
declare -A atOnce=([card]=1 [ssd]=32)
runs=(bare bare-dated readers16 no-subdir default)
mkdir -p "$work/real" "$work/mount"
declare -A times memory
trap 'umount "$work/mount" 2>/dev/null || true' EXIT

run() {  # run NAME DIR: one of the runs on the tree at DIR
  case "$1" in
    bare) "$build/bench/bare_loop" "$2" ;;
    bare-dated) "$build/bench/bare_loop" "$2" --dated ;;
    readers16) find "$2" -name '*.JPG' -print0 | xargs -0 -P 16 -n 200 head -q -c 4096 ;;
    no-subdir) /usr/bin/time -f '%M' -o "$work/time" "$cli" rename --no-subdir --list "$work/list.txt" "$2" ;;
    default) /usr/bin/time -f '%M' -o "$work/time" "$cli" rename --list "$work/list.txt" "$2" ;;
  esac
}

once() {  # once DEVICE NAME
  local device="$1" name="$2" dir="$work/real"
  rm -rf "$work/real/tree" && "$build/bench/make_picture_tree" "$work/real/tree" "$pictures" 100
  sync && sleep 1  # the writes of the tree settle first
  if [[ $device == disk ]]; then
    echo 3 >/proc/sys/vm/drop_caches
  else
    find "$work/real/tree" -type f -print0 | xargs -0 head -q -c 16384 >/dev/null
    "$build/bench/slow_device" "$work/real" "$work/mount" "$latency" "${atOnce[$device]}"
    dir="$work/mount"
  fi
  local start=$EPOCHREALTIME
  run "$name" "$dir/tree" >/dev/null 2>&1
  local end=$EPOCHREALTIME
  [[ $device == disk ]] || umount "$work/mount"
  times[$device-$name]+="$(printf '%.3f' "$(echo "$end - $start" | bc -l)") "
  if [[ $name == no-subdir || $name == default ]]; then
    read -r kib <"$work/time"
    ((${memory[$name]:-0} >= kib)) || memory[$name]=$kib
  fi
}

for ((round = 1; round <= rounds; round++)); do
  for device in "${devices[@]}"; do
    for name in "${runs[@]}"; do once "$device" "$name"; done
  done
done

ratio() { echo "$(median "${times[$1]}") / $(median "${times[$2]}")" | bc -l; }
for device in "${devices[@]}"; do
  for name in "${runs[@]}"; do
    printf '%-4s %-10s median %7.3f s   (%s)\n' "$device" "$name" \
      "$(median "${times[$device-$name]}")" "${times[$device-$name]% }"
  done
  printf '%-4s --no-subdir / 16 readers %.2f, / bare loop %.2f; default / dated loop %.2f\n' \
    "$device" "$(ratio "$device-no-subdir" "$device-readers16")" \
    "$(ratio "$device-no-subdir" "$device-bare")" "$(ratio "$device-default" "$device-bare-dated")"
done
printf 'peak memory: --no-subdir %.1f MiB, default %.1f MiB\n' \
  "$(echo "${memory[no-subdir]} / 1024" | bc -l)" "$(echo "${memory[default]} / 1024" | bc -l)"
rm -rf "$work/real/tree"
