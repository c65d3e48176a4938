# The tree that the Windows builds are compared on with the Linux build,
# sourced by those tests: clashes, an identical copy, date directories,
# names in several scripts, a path longer than 260 characters.
source "$(dirname "${BASH_SOURCE[0]}")/exif_picture.sh"

long="$(printf 'a%.0s' {1..60})/$(printf 'b%.0s' {1..60})/$(printf 'c%.0s' {1..60})/$(printf 'd%.0s' {1..60})"
# Every clash is with a file that is no picture, so that the outcome does not
# hang on the order in which a directory lists its files (which differs).
make_tree() {  # make_tree DIR
  picture "$1/IMG_0001.JPG" "2009:08:12 12:07:41" 5000
  head -c 7000 /dev/zero >"$1/2009-08-12-120741.JPG"  # another length: suffix -1
  picture "$1/IMG_0003.JPG" "2015:01:01 00:00:00" 5000
  head -c "$(stat -c %s "$1/IMG_0003.JPG")" /dev/zero >"$1/2015-01-01-000000.JPG"  # the same length: kept
  picture "$1/img_0004.jpg" "2010:01:02 03:04:05" 5000
  mkdir -p "$1/2010-01-02"
  head -c 7000 /dev/zero >"$1/2010-01-02/2010-01-02-030405.JPG"  # taken in the date directory
  picture "$1/相片/Été 🌅/IMG_0005.JPG" "2012:02:03 04:05:06" 5000
  picture "$1/$long/IMG_0006.JPG" "2013:03:04 05:06:07" 5000
  picture "$1/2014-05-06 trip/IMG_0007.JPG" "2014:05:06 07:08:09" 5000  # the date in the path
  echo "not a picture" >"$1/notes.txt"
}
