#!/bin/bash
# What the preview and the journal cost on 10,000 pictures in 100
# directories: alternating rounds on fresh trees of
#   - rename --dry-run --no-subdir (reads every header, changes nothing),
#   - rename --no-subdir, with its journal and without one,
#   - the default run (date directories), with its journal and without one,
# and the medians. A run keeps no journal when it has no state directory
# (neither XDG_STATE_HOME nor HOME set).
#
#   bench/preview_journal.sh BUILD_DIR [WORK_DIR] [ROUNDS]
set -euo pipefail
build="${1:?usage: preview_journal.sh BUILD_DIR [WORK_DIR] [ROUNDS]}"
work="${2:-/var/tmp/tessaly-bench}"
rounds="${3:-5}"
cli="$build/cli/tessaly-cli"
make_tree="$build/bench/make_picture_tree"
mkdir -p "$work"
declare -A times

once() {  # once NAME ENV... -- OPTIONS...
  local name="$1"; shift
  local env=()
  while [[ "$1" != -- ]]; do env+=("$1"); shift; done; shift
  rm -rf "$work/tree" "$work/state" && "$make_tree" "$work/tree" 10000 100 && sync
  local start end
  start=$(date +%s.%N)
  env "${env[@]}" "$cli" rename "$@" --list "$work/list.txt" "$work/tree" >"$work/out" 2>&1
  end=$(date +%s.%N)
  times[$name]+="$(echo "$end - $start" | bc -l) "
}

for ((round = 1; round <= rounds; round++)); do
  once preview XDG_STATE_HOME="$work/state" -- --dry-run --no-subdir
  once no-subdir XDG_STATE_HOME="$work/state" -- --no-subdir
  once no-subdir-unjournalled -u HOME -u XDG_STATE_HOME -- --no-subdir
  once default XDG_STATE_HOME="$work/state" --
  once default-unjournalled -u HOME -u XDG_STATE_HOME --
done

source "$(dirname "$0")/median.sh"
for name in preview no-subdir no-subdir-unjournalled default default-unjournalled; do
  printf '%-24s median %6.3f s   (%s)\n' "$name" "$(median "${times[$name]}")" "${times[$name]% }"
done
printf 'preview / no-subdir run: %.2f\n' \
  "$(echo "$(median "${times[preview]}") / $(median "${times[no-subdir]}")" | bc -l)"
printf 'journal cost: --no-subdir %+.1f %%, default %+.1f %%\n' \
  "$(echo "100 * ($(median "${times[no-subdir]}") / $(median "${times[no-subdir-unjournalled]}") - 1)" | bc -l)" \
  "$(echo "100 * ($(median "${times[default]}") / $(median "${times[default-unjournalled]}") - 1)" | bc -l)"
rm -rf "$work/tree" "$work/state"
