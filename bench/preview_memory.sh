#!/bin/bash
# The preview's peak memory (/usr/bin/time -v) on fresh trees of 10,000 and
# 100,000 pictures over 100 directories, the default run (date directories),
# and what each further picture costs between the two.
#
#   bench/preview_memory.sh BUILD_DIR [WORK_DIR]
set -euo pipefail
build="${1:?usage: preview_memory.sh BUILD_DIR [WORK_DIR]}"
work="${2:-/var/tmp/tessaly-bench}"
cli="$build/cli/tessaly-cli"
make_tree="$build/bench/make_picture_tree"
mkdir -p "$work"
declare -A peak

for n in 10000 100000; do
  rm -rf "$work/tree" && "$make_tree" "$work/tree" "$n" 100
  /usr/bin/time -v -o "$work/time" "$cli" rename --dry-run --list "$work/list.txt" "$work/tree" \
    >/dev/null 2>"$work/err"
  peak[$n]=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time")
  printf '%7d pictures  preview peak %6.1f MiB\n' "$n" "$(echo "${peak[$n]} / 1024" | bc -l)"
done
printf 'each further picture: %.3f KiB\n' "$(echo "(${peak[100000]} - ${peak[10000]}) / 90000" | bc -l)"
rm -rf "$work/tree"
