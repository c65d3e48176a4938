#!/bin/bash
# Whole runs of tessaly-cli rename on trees of 10,000 and 100,000 pictures
# over 100 directories, on fresh trees, with and without --no-subdir:
# pictures per second, peak memory (/usr/bin/time -v) and, for --no-subdir,
# system calls per picture (strace -c -f).
#
#   bench/rename_tree.sh BUILD_DIR [WORK_DIR]
set -euo pipefail
build="${1:?usage: rename_tree.sh BUILD_DIR [WORK_DIR]}"
work="${2:-/var/tmp/tessaly-bench}"
cli="$build/cli/tessaly-cli"
make_tree="$build/bench/make_picture_tree"
mkdir -p "$work"

run() {  # run PICTURES OPTIONS...
  local pictures="$1"; shift
  rm -rf "$work/tree" && "$make_tree" "$work/tree" "$pictures" 100
  sync
  /usr/bin/time -v -o "$work/time" "$cli" rename "$@" --list "$work/list.txt" "$work/tree" \
    >"$work/out" 2>"$work/err"
  local seconds kib count
  seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ {split($2, t, ":"); s = 0;
             for (i = 1; i <= length(t); i++) s = s * 60 + t[i]; print s}' "$work/time")
  kib=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time")
  count=$(tail -n 1 "$work/out")
  printf '%7d pictures %-12s %6.2f s %9.0f pictures/s  peak %6.1f MiB  (%s)\n' \
    "$pictures" "${*:-default}" "$seconds" "$(echo "$pictures / $seconds" | bc -l)" \
    "$(echo "$kib / 1024" | bc -l)" "$count"
}

for n in 10000 100000; do
  run "$n" --no-subdir
  run "$n"
done

if command -v strace >/dev/null; then
  rm -rf "$work/tree" && "$make_tree" "$work/tree" 10000 100
  strace -c -f -o "$work/strace" "$cli" rename --no-subdir --list "$work/list.txt" "$work/tree" \
    >/dev/null 2>&1
  calls=$(awk '/total/ {print $4}' "$work/strace")
  printf 'system calls with --no-subdir: %d for 10000 pictures, %.2f per picture\n' \
    "$calls" "$(echo "$calls / 10000" | bc -l)"
  grep -E '^ *[0-9.]+ +[0-9.]+ +[0-9]+ +[0-9]+' "$work/strace" | sort -k4 -n -r | head -8
fi
rm -rf "$work/tree"
