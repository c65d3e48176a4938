#!/bin/bash
# Checks the Debian package that tools/build.sh package made, as a user and
# Debian's own tools see it: unpacked into a scratch root, its programs run;
# its Depends, desktop entry, AppStream metadata, manual pages and bash
# completion are checked; lintian finds no error; and an installed copy,
# whose directory its user cannot write, keeps its rename list in the
# user's state directory.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls build/release/tessaly_*_amd64.deb)
version=$(dpkg-deb -f "$deb" Version)
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

dpkg-deb -x "$deb" "$work/root"
bin="$work/root/usr/bin"
[[ "$("$bin/tessaly-cli" --version)" == "tessaly-cli $version" ]] || fail "tessaly-cli --version"
[[ "$("$bin/tessaly" --version)" == "tessaly $version" ]] || fail "tessaly --version"
for command in "" probe rename; do
  "$bin/tessaly-cli" $command --help | grep -q "^usage: tessaly-cli" || fail "tessaly-cli $command --help"
done

# A camera picture, made by the build's own tree maker: taken on 1 January
# 2010 at 08:00:00.
build/release/bench/make_picture_tree "$work/pictures" 1 1
"$bin/tessaly-cli" probe "$work/pictures/card0/IMG_0.JPG" | grep -q '"new_name":"2010-01-01-080000.JPG"' ||
  fail "probe from the unpacked package"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-noto-cjk libqt6widgets6 libstdc++6; do
  [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
desktop-file-validate "$work/root/usr/share/applications/"*.desktop
appstreamcli validate --no-net --no-color "$work/root/usr/share/metainfo/"*.metainfo.xml >/dev/null
for page in "$work/root/usr/share/man/man1/"*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [[ -z "$warnings" ]] || fail "$(basename "$page"): $warnings"
done
lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || { cat "$work/lintian"; fail "lintian reports an error"; }

# Completion: the commands, then rename's options.
completions=$(bash -c 'source "$1"; COMP_WORDS=(tessaly-cli re); COMP_CWORD=1; _tessaly_cli
  printf "%s " "${COMPREPLY[@]}"; COMP_WORDS=(tessaly-cli rename --no); COMP_CWORD=2; _tessaly_cli
  printf "%s" "${COMPREPLY[@]}"' _ "$work/root/usr/share/bash-completion/completions/tessaly-cli")
[[ "$completions" == "rename --no-subdir" ]] || fail "completion gave: $completions"

# Installed where its user cannot write, the program keeps its list in the
# user's state directory.
if [[ $(id -u) -eq 0 ]] && id nobody >/dev/null 2>&1; then
  mkdir -m 777 "$work/state" && chmod -R a+rwX "$work/pictures" && chmod a+rx "$work"
  out=$(XDG_STATE_HOME="$work/state" runuser -u nobody -- "$bin/tessaly-cli" rename --no-subdir "$work/pictures")
  [[ "$out" == *"Rename list: $work/state/tessaly/Rename_List.TXT"* ]] || fail "list place: $out"
else
  echo "package: not root, so the list place of an installed copy is not checked"
fi
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes; Depends: $depends"
