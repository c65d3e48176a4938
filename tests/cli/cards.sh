#!/bin/bash
# Pictures on a camera card's own file systems, FAT and exFAT, made in image
# files and mounted through FUSE (else through a loop device where the kernel
# has the driver). Through FUSE neither has a no-replace rename nor hard
# links, so every move reserves its new name with an empty placeholder. The
# run is killed at each step of such moves, then undo; undo is killed, then
# undo again; a run is killed, the next run frees the name it reserved; a run, the card unmounted and mounted again, then undo. Each
# time undo exits 0 and the tree is as it was: names, sizes, contents, no
# empty file and no date directory left. Exits 77 where no card mounts.
#   cards.sh TESSALY_CLI
set -uo pipefail
cli="$1"
work="$(mktemp -d)"
source "$(dirname "$0")/exif_picture.sh"
export XDG_STATE_HOME="$work/state"
list="$work/list.txt"
card="$work/card"
mkdir "$card"

loop=""
unmount() {
  mountpoint -q "$card" && { fusermount -u "$card" || fusermount3 -u "$card" || umount "$card"; }
  [[ -z "$loop" ]] || losetup -d "$loop"
  loop=""
} 2>/dev/null
trap 'unmount; rm -rf "$work"' EXIT

# mount_card fat|exfat: the image through FUSE, else the kernel's driver;
# sets placeholders when the moves take the placeholder path for certain.
mount_card() {
  local image="$work/$1.img"
  placeholders=yes
  case "$1" in
    # fusefat exits 0 also when the mount fails.
    fat) fusefat -o rw+ "$image" "$card" >/dev/null 2>&1 && mountpoint -q "$card" && return ;;
    # Run by root, exfat-fuse wants a block device.
    exfat) mount.exfat-fuse "$image" "$card" >/dev/null 2>&1 && return
      [[ $(id -u) -eq 0 ]] && loop="$(losetup -f --show "$image" 2>/dev/null)" &&
        mount.exfat-fuse "$loop" "$card" >/dev/null 2>&1 && return
      [[ -z "$loop" ]] || losetup -d "$loop"; loop="" ;;
  esac
  placeholders=""
  local type=vfat; [[ "$1" == fat ]] || type=exfat
  mount -t "$type" -o loop "$image" "$card" 2>/dev/null
}

# Seven pictures: one at the top, then two directories of three whose first
# and last share a second (a suffix, whichever way the directory lists
# them) and whose dates recur across directories; every content differs.
fill() {
  rm -rf "${card:?}"/* "$XDG_STATE_HOME" "$list"
  picture "$card/IMG_0001.JPG" "2010:01:02 03:04:05" 1001
  picture "$card/DCIM/100CANON/IMG_0002.JPG" "2009:08:12 12:07:41" 1002
  picture "$card/DCIM/100CANON/IMG_0003.JPG" "2009:08:13 08:00:00" 1003
  picture "$card/DCIM/100CANON/IMG_0004.JPG" "2009:08:12 12:07:41" 1004
  picture "$card/DCIM/101CANON/IMG_0005.JPG" "2010:01:02 03:04:05" 1005
  picture "$card/DCIM/101CANON/IMG_0006.JPG" "2009:08:12 12:07:41" 1006
  picture "$card/DCIM/101CANON/IMG_0007.JPG" "2010:01:02 03:04:05" 1007
  echo "not a picture" >"$card/notes.txt"
}
tree() {
  (cd "$card" && find . -mindepth 1 -type d -printf '%p/\n' && find . -type f -exec md5sum {} +) |
    sort
}
rename() { "$@" "$cli" rename --list "$list" "$card" >/dev/null 2>&1; }
undo() { "$@" "$cli" undo >"$work/undo.out" 2>&1; }
kill_at() {  # kill_at SYSCALL N COMMAND...: killed as it makes its Nth SYSCALL
  local call="$1" n="$2"; shift 2
  strace -f -o /dev/null -e inject="$call:signal=KILL:when=$n" "$@"
}

# The kill points: what is killed, at which call of which system call. The
# counts follow the calls on this tree: three state directories made, the
# journal's space reserved, then per picture a move to its new name and one
# into its date directory, each a refused renameat2, a refused linkat, the
# placeholder, renameat. Undo makes the moves the other way round.
rows=(
  "run fallocate 1"  # the journal opened, nothing moved yet
  "run renameat2 1"  # the first move begins
  "run renameat 1"   # placeholder at the first new name, picture at the old
  "run mkdir 4"      # about to make the first date directory
  "run linkat 2"     # into that date directory, before its placeholder
  "run renameat 2"   # placeholder in the date directory just made
  "run mkdir 6"      # a date directory after moves into others
  "run renameat 8"   # placeholder at a name with a suffix
  "run renameat 10"  # a move near the end (fusefat may list a picture renamed meanwhile no more)
  "run ftruncate 3"  # every move made, the journal not yet trimmed
  "undo renameat 1"  # placeholder at the name the last move left
  "undo renameat 2"  # placeholder at a picture's old name
  "undo linkat 3"    # in the middle of taking back a directory
  "undo rmdir 1"     # its pictures back, the date directory not yet removed
  "rerun renameat 1" # the next run removes the first placeholder, then undo
  "whole"            # no kill: a run, then undo
  "remount"          # between run and undo; inode numbers change
)

failed=0
fail() { echo "$system, $row: $*" >&2; failed=1; }
killed() {  # killed STATUS WHO: fails when a kill that had to come did not
  [[ $1 -eq 137 || -z "$placeholders" ]] || { fail "$2 was not killed (exit $1)"; false; }
}
mountable=0
for system in fat exfat; do
  truncate -s 64M "$work/$system.img"
  make=mkfs.exfat; [[ $system == exfat ]] || make=mkfs.vfat
  "$make" "$work/$system.img" >/dev/null 2>&1
  if ! mount_card "$system"; then
    echo "cards: cannot mount the $system image here (FUSE or a loop device); not tested" >&2
    continue
  fi
  mountable=1
  for row in "${rows[@]}"; do
    read -r who call n <<<"$row"
    fill
    before="$(tree)"
    case "$who" in
      run) rename kill_at "$call" "$n"; killed $? "the run" || continue ;;
      undo) rename; undo kill_at "$call" "$n"; killed $? "undo" || continue ;;
      rerun) rename kill_at "$call" "$n"; killed $? "the run" || continue
        rename || fail "the run after the killed one exited $?" ;;
      whole) rename || fail "the run exited $?" ;;
      remount) rename && unmount && mount_card "$system" || { fail "remount failed"; continue; } ;;
    esac
    undo || fail "undo exited $?: $(head -c 300 "$work/undo.out" | tr '\n' ' ')"
    changed="$(diff <(echo "$before") <(tree) | grep '^[<>]' | tr '\n' ' ')"
    [[ -z "$changed" ]] || fail "undo left (> new, < gone): $changed"
  done
  unmount
done
[[ $mountable -eq 1 ]] || exit 77
exit "$failed"
