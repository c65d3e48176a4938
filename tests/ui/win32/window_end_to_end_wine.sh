#!/bin/bash
# The window under Wine against the Linux build's command line: the tree of
# the command-line comparison, renamed from tessaly.exe's window as a user
# does it (Select Directory, a file typed into the dialog, Start, No to the
# replace question, the problem list closed) on a virtual display, must end
# as the Linux build leaves it, with the same rename list but for the form
# of its paths. Skipped (77) without Xvfb or xdotool.
#   window_end_to_end_wine.sh tessaly.exe LINUX_BUILD_DIR
set -euo pipefail
exe="$1"
linux="$2/cli/tessaly-cli"
here="$(cd "$(dirname "$0")/../../.." && pwd)"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "no Xvfb or xdotool"; exit 77; }
[[ -x "$linux" ]] || { echo "no Linux build at $linux to compare with; build it first (tools/build.sh release)"; exit 1; }
work="$(mktemp -d)"
source "$here/tools/wine-x11.sh"
trap 'stop_wine_x11; rm -rf "$work"' EXIT

source "$here/tests/cli/comparison_tree.sh"
make_tree "$work/gui"
make_tree "$work/lin"
XDG_STATE_HOME="$work/state" "$linux" rename --list "$work/lin.txt" "$work/lin" >/dev/null 2>&1 || true
# The window's list goes beside the program.
mkdir "$work/app"
cp "$exe" "$work/app/tessaly.exe"

wine "$work/app/tessaly.exe" >/dev/null 2>&1 &
window=$(wait_for "Brannock's Tessaly")
choose "$window" "Z:${work//\//\\}\\gui\\IMG_0001.JPG"
click "$window" 138 94  # Start
question=$(wait_for "Confirm File Replace")
press "$question" Return  # No, the default: the file there is kept
problems=$(wait_for "Pictures passed over")  # the run has ended
press "$problems" Return  # Close, the default
click "$window" 528 94  # Close
for _ in $(seq 60); do xdotool search --name "Brannock's Tessaly" >/dev/null || break; sleep 0.5; done

tree() { (cd "$1" && find . -printf '%p %s\n' | LC_ALL=C sort); }
diff <(tree "$work/lin") <(tree "$work/gui") || { echo "the trees differ (< Linux, > the window)"; exit 1; }
sed -e 's/^Z://' -e 's/--->Z:/--->/' -e 's#\\#/#g' -e "s#$work/gui#$work/lin#g" \
  "$work/app/Rename_List.TXT" | LC_ALL=C sort >"$work/gui.sorted"
LC_ALL=C sort "$work/lin.txt" >"$work/lin.sorted"
diff "$work/lin.sorted" "$work/gui.sorted" || { echo "the lists differ (< Linux, > the window)"; exit 1; }
echo "the window left the same tree and list ($(wc -l <"$work/lin.txt") lines) as the Linux build"
