#!/bin/bash
# Runs a Windows program under Wine, headless, in a Wine prefix of the
# build's own (made on first use), with Wine's own messages off. Windows are
# made on Wine's null graphics driver, which draws nothing and needs no
# display; the prefix maps the Chinese interface fonts to Noto Sans CJK TC.
#   tools/wine-run.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/build/windows/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY
# Tests run side by side: one of them makes the prefix while the others wait.
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"${WINEPREFIX%/}.lock"
flock 9
if [[ ! -d "$WINEPREFIX" ]]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver --wait || true
fi
if [[ ! -f "$WINEPREFIX/tessaly.reg" ]]; then
  bash "$here/tools/wine-prefix.sh" null
fi
exec 9>&-
exec wine "$@"
