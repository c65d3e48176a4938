# Tessaly's window under Wine's X11 driver on a virtual display, driven by
# xdotool; sourced by the window's end-to-end test and the screenshot script.
# Starts Xvfb on a free display and sets up the prefix build/windows/wine-x11
# once; the caller's EXIT trap calls stop_wine_x11.
here_x11="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="$here_x11/build/windows/wine-x11" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1280x900x24 3>"$display_file" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [[ -s "$display_file" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$display_file")"
rm -f "$display_file"
if [[ ! -f "$WINEPREFIX/tessaly.reg" ]]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver --wait || true
  bash "$here_x11/tools/wine-prefix.sh" x11
fi

stop_wine_x11() { wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true; }
# wait_for TITLE: the window of that title, once it is there (60 s at most).
wait_for() {
  local id
  id=$(timeout 60 xdotool search --sync --name "$1" | head -n 1) || { echo "no window \"$1\" came" >&2; exit 1; }
  sleep 1
  echo "$id"
}
# press WINDOW KEY: the key, typed into that window (Escape does not reach a
# task dialog this way; Return presses its default button).
press() { xdotool windowfocus --sync "$1" key "$2"; sleep 1; }
# click WINDOW X Y: a click at pixels of the window's client area (96 DPI).
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.5; }
# choose WINDOW PATH: Select Directory, the path typed into the dialog.
choose() {
  click "$1" 56 94
  wait_for "點選任一檔案" >/dev/null
  xdotool type --delay 20 "$2"
  xdotool key Return
  sleep 2
}
