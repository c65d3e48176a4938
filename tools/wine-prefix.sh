#!/bin/bash
# Sets up the Wine prefix in $WINEPREFIX for Tessaly's window:
#   tools/wine-prefix.sh null|x11
# null: Wine's null graphics driver (windows without a display, for the
# tests); x11: the X11 driver (for pictures under Xvfb). Either way the
# Chinese interface fonts are mapped to Noto Sans CJK TC (Debian's Wine has
# none of its own) and .txt opens in Wine's notepad.
set -euo pipefail
driver="${1:-null}"
[[ "$driver" == x11 ]] && graphics="x11" || graphics="null"
reg="$WINEPREFIX/tessaly.reg"
cat >"$reg.new" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]
"Graphics"="$graphics"

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"Microsoft JhengHei UI"="Noto Sans CJK TC"
"Microsoft JhengHei"="Noto Sans CJK TC"
"PMingLiU"="Noto Sans CJK TC"
"MingLiU"="Noto Sans CJK TC"

[HKEY_LOCAL_MACHINE\\Software\\Classes\\.txt]
@="txtfile"
REG
wine regedit /S "$(winepath -w "$reg.new")" >/dev/null 2>&1
wineserver --wait || true
mv "$reg.new" "$reg"
