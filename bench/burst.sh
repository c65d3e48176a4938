#!/bin/bash
# A burst: 10,000 pictures taken in the same second in one directory, against
# 10,000 pictures with their own times, each on a fresh tree; tessaly-cli
# rename --no-subdir and the default run. The clash search's cost per
# picture shows as the difference.
#
#   bench/burst.sh BUILD_DIR [WORK_DIR]
set -euo pipefail
build="${1:?usage: burst.sh BUILD_DIR [WORK_DIR]}"
work="${2:-/var/tmp/tessaly-bench}"
mkdir -p "$work"
for kind in "" --one-second; do
  for options in --no-subdir ""; do
    rm -rf "$work/tree" && "$build/bench/make_picture_tree" "$work/tree" 10000 1 $kind && sync
    start=$(date +%s.%N)
    "$build/cli/tessaly-cli" rename $options --list "$work/list.txt" "$work/tree" >"$work/out" 2>&1 || true
    printf '%-13s %-12s %6.2f s  (%s)\n' "${kind:-own times}" "${options:-default}" \
      "$(echo "$(date +%s.%N) - $start" | bc -l)" "$(tail -n 1 "$work/out")"
  done
done
rm -rf "$work/tree"
