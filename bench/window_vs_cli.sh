#!/bin/bash
# A run from the window against tessaly-cli rename on the same tree of
# 10,000 pictures over 100 directories, each on a fresh copy: the window
# paints under Xvfb when it is there, else on the offscreen platform.
#
#   bench/window_vs_cli.sh BUILD_DIR [WORK_DIR]
set -euo pipefail
build="${1:?usage: window_vs_cli.sh BUILD_DIR [WORK_DIR]}"
work="${2:-/var/tmp/tessaly-bench}"
mkdir -p "$work"
fresh() { rm -rf "$work/tree" && "$build/bench/make_picture_tree" "$work/tree" 10000 100 && sync; }

for options in "" "--no-subdir"; do
  for round in 1 2 3; do
    fresh
    start=$(date +%s.%N)
    "$build/cli/tessaly-cli" rename $options --list "$work/list.txt" "$work/tree" >/dev/null
    cli=$(echo "$(date +%s.%N) - $start" | bc -l)
    fresh
    if command -v xvfb-run >/dev/null; then
      window=$(xvfb-run -a "$build/bench/window_run_bench" "$work/tree" "$work/list.txt" $options)
    else
      window=$(QT_QPA_PLATFORM=offscreen "$build/bench/window_run_bench" "$work/tree" "$work/list.txt" $options)
    fi
    w=${window%% s*}
    printf '%-12s cli %6.3f s   window %6.3f s   ratio %.2f   (%s)\n' "${options:-default}" \
      "$cli" "$w" "$(echo "$w / $cli" | bc -l)" "$window"
  done
done
rm -rf "$work/tree"
