#!/bin/bash
# The installed command as a user runs it: a tree of pictures, a preview,
# one rename, then the tree, the list and the output looked at, and undo.
set -euo pipefail
cli="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

source "$(dirname "$0")/exif_picture.sh"

mkdir -p "$work/photos/card"
picture "$work/photos/IMG_0001.JPG" "2009:08:12 12:07:41"
picture "$work/photos/card/img_0002.jpg" "2010:01:02 03:04:05"
echo "not a picture" >"$work/photos/notes.txt"

probe="$("$cli" probe "$work/photos/IMG_0001.JPG")"
[[ "$probe" == *'"new_name":"2009-08-12-120741.JPG"'* ]] || { echo "probe: $probe"; exit 1; }

export XDG_STATE_HOME="$work/state"
tree() { (cd "$work/photos" && find . -printf '%p %s\n' | sort); }
before="$(tree)"
preview="$("$cli" rename --dry-run --list "$work/list.txt" "$work/photos")"
[[ "$(tree)" == "$before" && ! -e "$work/list.txt" && ! -e "$work/state" ]] || { echo "the preview changed something"; exit 1; }

out="$("$cli" rename --list "$work/list.txt" "$work/photos" 2>"$work/err")"
diff <(grep -e '--->' <<<"$preview") <(tr -d '\r' <"$work/list.txt") || { echo "the preview differs"; exit 1; }
[[ "$(tail -n 1 <<<"$out")" == "Rename Count = 4" ]] || { echo "out: $out"; exit 1; }
[[ ! -s "$work/err" ]] || { cat "$work/err"; exit 1; }
[[ -f "$work/photos/2009-08-12/2009-08-12-120741.JPG" ]]
[[ -f "$work/photos/card/2010-01-02/2010-01-02-030405.JPG" ]]
[[ -f "$work/photos/notes.txt" ]]
grep -q $'^'"$work/photos/IMG_0001.JPG"'--->'"$work/photos/2009-08-12-120741.JPG"$'\r$' "$work/list.txt"
[[ "$(wc -l <"$work/list.txt")" == 4 ]]
# Output that cannot be written is a failure with a reason, not a success.
renamed="$work/photos/2009-08-12/2009-08-12-120741.JPG"
if "$cli" probe "$renamed" >/dev/full 2>"$work/err"; then echo "probe into /dev/full exited 0"; exit 1; fi
grep -q "cannot write the output: No space left on device" "$work/err" || { cat "$work/err"; exit 1; }

# Undo puts everything back and removes the date directories; a second one
# finds nothing to do.
"$cli" undo >"$work/out" || { cat "$work/out"; exit 1; }
[[ "$(tree)" == "$before" ]] || { echo "undo left: $(tree)"; exit 1; }
[[ "$("$cli" undo)" == "Nothing to undo"* ]] || { echo "a second undo did something"; exit 1; }

# A FIFO handed to probe is read as its writer writes, not taken for empty.
mkfifo "$work/pipe.jpg"
(sleep 0.3; picture "$work/pipe.jpg" "2011:11:11 11:11:11") &
probe="$("$cli" probe "$work/pipe.jpg")"
[[ "$probe" == *'"new_name":"2011-11-11-111111.JPG"'* ]] || { echo "probe of a FIFO: $probe"; exit 1; }
echo "end-to-end: ok"
