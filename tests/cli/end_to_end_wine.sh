#!/bin/bash
# The Windows build under Wine against the Linux build: the same tree of
# pictures (clashes, an identical copy, date directories, names in several
# scripts, a path longer than 260 characters) renamed by each must end the
# same, with the same rename list but for the form of its paths.
#   end_to_end_wine.sh tessaly-cli.exe LINUX_BUILD_DIR
set -euo pipefail
exe="$1"
linux="$2/cli/tessaly-cli"
here="$(cd "$(dirname "$0")/../.." && pwd)"
[[ -x "$linux" ]] || { echo "no Linux build at $linux to compare with; build it first (tools/build.sh release)"; exit 1; }
work="$(mktemp -d)"
trap "rm -rf \"$work\"" EXIT

source "$(dirname "$0")/comparison_tree.sh"
make_tree "$work/win"
make_tree "$work/lin"
(( ${#work} + 5 + ${#long} + 40 > 260 )) || { echo "the long path is not long enough"; exit 1; }

export XDG_STATE_HOME="$work/state"
status=0
"$here/tools/wine-run.sh" "$exe" rename --list "Z:$work/win.txt" "Z:$work/win" \
  >"$work/win.out" 2>"$work/win.err" </dev/null || status=$?
linux_status=0
"$linux" rename --list "$work/lin.txt" "$work/lin" >"$work/lin.out" 2>"$work/lin.err" || linux_status=$?
[[ $status == 1 && $linux_status == 1 ]] ||
  { echo "exit status $status under Wine, $linux_status on Linux; 1 expected (a copy kept)"; cat "$work/win.err"; exit 1; }
grep -q 'IMG_0003.JPG: not renamed: kept the existing Z:\\' "$work/win.err" || { cat "$work/win.err"; exit 1; }

tree() { (cd "$1" && find . -printf '%p %s\n' | LC_ALL=C sort); }
diff <(tree "$work/lin") <(tree "$work/win") || { echo "the trees differ (< Linux, > Windows)"; exit 1; }
# The Windows list in Linux form ("Z:" gone, "/" for "\", CR LF kept), both
# in one order: the order of a listing is the file system's own.
sed -e 's/^Z://' -e 's/--->Z:/--->/' -e 's#\\#/#g' -e "s#$work/win#$work/lin#g" "$work/win.txt" |
  LC_ALL=C sort >"$work/win.sorted"
LC_ALL=C sort "$work/lin.txt" >"$work/lin.sorted"
diff "$work/lin.sorted" "$work/win.sorted" || { echo "the lists differ (< Linux, > Windows)"; exit 1; }
grep -q '^Z:\\.*相片\\Été 🌅\\2012-02-03-040506.JPG'$'\r''$' "$work/win.txt" ||
  { echo "the list lacks the Windows form of a path in other scripts"; exit 1; }
[[ "$(tail -n 1 "$work/win.out" | tr -d "\r")" == "$(tail -n 1 "$work/lin.out")" ]] || { echo "the counts differ"; tail -n 1 "$work/win.out" "$work/lin.out" | od -c | tail -3; exit 1; }
echo "the same tree, list ($(wc -l <"$work/win.txt") lines) and count"
