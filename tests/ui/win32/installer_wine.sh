#!/bin/bash
# The installer under Wine: a silent install puts both programs, the
# uninstaller, the Start-menu shortcut and the Add/Remove Programs entry in
# place; the installed command runs; a silent uninstall is refused while the
# window is open and removes everything once it is closed.
#   installer_wine.sh SETUP.exe VERSION
# The uninstaller's exit status cannot be seen under Wine, so the files and
# the registry are checked after wineserver --wait.
set -euo pipefail
setup="$1" version="$2"
here="$(cd "$(dirname "$0")/../../.." && pwd)"
run=("$here/tools/wine-run.sh")
"${run[@]}" cmd /c echo >/dev/null  # the prefix, made once
export WINEPREFIX="${WINEPREFIX:-$here/build/windows/wine}"
fail() { echo "installer_wine.sh: $*" >&2; exit 1; }
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly'
dir="$(winepath -u 'C:\Program Files\Tessaly' 2>/dev/null)"
link="$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tessaly.lnk' 2>/dev/null)"

"${run[@]}" "$setup" /S
wineserver --wait
for f in tessaly.exe tessaly-cli.exe uninstall.exe README.md LICENSE.txt; do
  [[ -f "$dir/$f" ]] || fail "$dir/$f: not installed"
done
[[ -f "$link" ]] || fail "$link: no Start-menu shortcut"
entry="$("${run[@]}" reg query "$key" 2>/dev/null | tr -d '\r')"
for value in "DisplayName.*Tessaly" "DisplayVersion.*$version" "DisplayIcon.*tessaly.exe" \
             "EstimatedSize.*0x" "UninstallString.*uninstall.exe"; do
  grep -q "$value" <<<"$entry" || fail "$key: no $value"
done
[[ "$("${run[@]}" "$dir/tessaly-cli.exe" --version | tr -d '\r')" == "tessaly-cli $version" ]] ||
  fail "the installed tessaly-cli.exe does not run"

# While the window is open: refused (run in place, so that it is waited for).
"${run[@]}" "$dir/tessaly.exe" &
sleep 3
"${run[@]}" "$dir/uninstall.exe" /S '_?=C:\Program Files\Tessaly' || true
[[ -f "$dir/README.md" ]] || fail "uninstalled while the window was open"
"${run[@]}" taskkill /f /im tessaly.exe >/dev/null 2>&1 || true
wait || true

"${run[@]}" "$dir/uninstall.exe" /S
wineserver --wait
[[ ! -e "$dir" ]] || fail "$dir: left behind by the uninstaller"
[[ ! -e "$link" ]] || fail "$link: left behind by the uninstaller"
if "${run[@]}" reg query "$key" >/dev/null 2>&1; then fail "$key: left behind"; fi
echo "installed, refused while running, uninstalled"
