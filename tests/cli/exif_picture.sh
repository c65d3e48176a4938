# The shell tests' Exif writer, sourced by them.
# A minimal little-endian Exif header with a DateTime entry at offset 100,
# then SIZE bytes of padding (5000 unless given); its directory is made.
picture() {  # picture FILE "YYYY:MM:DD HH:MM:SS" [SIZE]
  mkdir -p "$(dirname "$1")"
  {
    printf '\xff\xd8\xff\xe1\x10\x00Exif\x00\x00II\x2a\x00\x08\x00\x00\x00'
    printf '\x01\x00\x32\x01\x02\x00\x14\x00\x00\x00\x58\x00\x00\x00'
    head -c 66 /dev/zero
    printf '%s\x00' "$2"
    head -c "${3:-5000}" /dev/zero
  } >"$1"
}
