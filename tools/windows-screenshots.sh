#!/bin/bash
# The README's pictures of the Windows window, taken from Wine on a virtual
# display (Xvfb), driven by xdotool: the window after a run, in English and
# in Chinese, the replace question in Chinese and the preview in English.
#   tools/windows-screenshots.sh [OUT]     (OUT: docs/ unless given)
# Needs the Windows build (tools/build.sh windows) and xvfb, xdotool,
# x11-apps and netpbm.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs}"
export WINEPREFIX="$PWD/build/windows/wine-x11" WINEDEBUG=-all
export DISPLAY=:97
Xvfb "$DISPLAY" -screen 0 1280x900x24 >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb' EXIT
sleep 1
if [[ ! -f "$WINEPREFIX/tessaly.reg" ]]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver --wait || true
  bash tools/wine-prefix.sh x11
fi
source tests/cli/exif_picture.sh
drive="$WINEPREFIX/drive_c"
rm -rf "$drive/Photos" "$drive/Clash" "$drive/Trip"
picture "$drive/Photos/IMG_0001.JPG" "2009:08:12 12:07:41"
picture "$drive/Photos/IMG_0002.JPG" "2009:08:12 12:09:03"
picture "$drive/Photos/IMG_0003.JPG" "2009:08:13 08:30:00"
picture "$drive/Clash/IMG_0101.JPG" "2010:01:01 10:00:00" 6000
picture "$drive/Clash/2010-01-01-100000.JPG" "2010:01:01 10:00:00" 6000
picture "$drive/Clash/IMG_0102.JPG" "2010:01:01 10:00:00" 6001
picture "$drive/Trip/IMG_0201.JPG" "2011:07:14 09:12:30"
picture "$drive/Trip/IMG_0202.JPG" "2011:07:14 09:12:30" 6000
picture "$drive/Trip/IMG_0203.JPG" "2011:07:15 18:40:02"

# shot FILE WINDOW: the window's client area as a PNG.
shot() {
  eval "$(xdotool getwindowgeometry --shell "$2")"
  xwd -root -silent | xwdtopnm 2>/dev/null |
    pnmcut -left "$X" -top "$Y" -right $((X + WIDTH - 1)) -bottom $((Y + HEIGHT - 1)) -pad |
    pnmtopng >"$1"
}
# press WINDOW KEY: the key, typed into that window (Escape does not reach
# a task dialog here; Return presses its default button).
press() { xdotool windowfocus --sync "$1" key "$2"; sleep 1; }
# click WINDOW X Y: a click at pixels of the window's client area.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.5; }
# choose WINDOW PATH: Select Directory, the path typed into the dialog.
choose() {
  click "$1" 56 94
  timeout 30 xdotool search --sync --name "點選任一檔案" >/dev/null
  sleep 1
  xdotool type --delay 20 "$2"
  xdotool key Return
  sleep 2
}

wine build/windows/ui/win32/tessaly.exe &
window=$(timeout 60 xdotool search --sync --name "Brannock's Tessaly" | head -1)
xdotool windowmove "$window" 200 250   # room above it for the question
sleep 2
choose "$window" 'C:\Photos\IMG_0001.JPG'
click "$window" 138 94   # Start
sleep 8
shot "$out/windows-en.png" "$window"
click "$window" 356 94   # 中文
sleep 1
shot "$out/windows-zh.png" "$window"
click "$window" 402 24   # the date directory box off: the clash stays in place
choose "$window" 'C:\Clash\IMG_0101.JPG'
click "$window" 138 94
question=$(timeout 60 xdotool search --sync --name "確認取代檔案" | head -1)
sleep 1
shot "$out/replace-windows-zh.png" "$question"
press "$question" Return  # No
press "$(timeout 60 xdotool search --sync --name "略過的照片" | head -1)" Return
click "$window" 356 94   # English
click "$window" 402 24   # the date directory box on
choose "$window" 'C:\Trip\IMG_0201.JPG'
press "$window" F5       # Preview
review=$(timeout 60 xdotool search --sync --name "Preview: what Start would do" | head -1)
sleep 1
shot "$out/preview-windows-en.png" "$review"
press "$review" Return   # Close
echo "made $out/windows-en.png, $out/windows-zh.png, $out/replace-windows-zh.png," \
  "$out/preview-windows-en.png"
