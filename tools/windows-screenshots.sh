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
source tools/wine-x11.sh
trap stop_wine_x11 EXIT
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

wine build/windows/ui/win32/tessaly.exe &
window=$(wait_for "Brannock's Tessaly")
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
question=$(wait_for "確認取代檔案")
shot "$out/replace-windows-zh.png" "$question"
press "$question" Return  # No
press "$(wait_for "略過的照片")" Return
click "$window" 356 94   # English
click "$window" 402 24   # the date directory box on
choose "$window" 'C:\Trip\IMG_0201.JPG'
press "$window" F5       # Preview
review=$(wait_for "Preview: what Start would do")
shot "$out/preview-windows-en.png" "$review"
press "$review" Return   # Close
echo "made $out/windows-en.png, $out/windows-zh.png, $out/replace-windows-zh.png," \
  "$out/preview-windows-en.png"
