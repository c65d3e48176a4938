#!/bin/bash
# Warm runs of several builds of tessaly-cli against the bare loop, on a
# fresh tree of 10,000 pictures in 100 directories for every run, the order
# shuffled in each round, the clock read to the microsecond; then the
# medians, and each build's time against the loop's. For telling whether a
# change makes the warm run faster: builds are compared in the same rounds.
#
#   bench/warm_compare.sh BUILD_DIR ROUNDS CLI...
set -euo pipefail
build="${1:?usage: warm_compare.sh BUILD_DIR ROUNDS CLI...}"
rounds="${2:?usage: warm_compare.sh BUILD_DIR ROUNDS CLI...}"
shift 2
work=/var/tmp/tessaly-warm-compare
commands=("$build/bench/bare_loop" "$@")
mkdir -p "$work"
for ((round = 1; round <= rounds; round++)); do
  declare -A took=()
  for k in $(shuf -i "0-$((${#commands[@]} - 1))"); do
    rm -rf "$work/tree" && "$build/bench/make_picture_tree" "$work/tree" 10000 100 && sync
    sleep 1  # the writes of the tree settle first
    find "$work/tree" -type f -print0 | xargs -0 head -q -c 8192 >/dev/null
    start=$EPOCHREALTIME
    if ((k == 0)); then
      "${commands[0]}" "$work/tree" >/dev/null 2>&1
    else
      "${commands[k]}" rename --no-subdir --list "$work/list.txt" "$work/tree" >/dev/null 2>&1
    fi
    took[$k]=$(echo "$EPOCHREALTIME - $start" | bc -l)
  done
  for ((k = 0; k < ${#commands[@]}; k++)); do printf '%s ' "${took[$k]}"; done
  echo
done | python3 -c '
import statistics, sys
rows = [[float(x) for x in line.split()] for line in sys.stdin]
medians = [statistics.median(column) for column in zip(*rows)]
print("bare loop: median %.3f s" % medians[0])
for k, median in enumerate(medians[1:], 1):
    print("%s: median %.3f s, %.2f of the loop" % (sys.argv[k], median, median / medians[0]))
' "${@}"
rm -rf "$work/tree"
