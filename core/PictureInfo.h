#pragma once

#include <string>

namespace tessaly {

// What the header reader takes from one picture. The four texts hold the
// file's bytes as they stand, one byte per character (Windows-1252 when
// shown; see Windows1252.h).
struct PictureInfo {
  bool headerAccepted = false;  // start marker, Exif signature and byte order recognised
  bool dateFound = false;       // a DateTime or DateTimeOriginal entry was found
  std::string dateText;         // 10 bytes, normally YYYY:MM:DD; empty when no date was found
  std::string timeText;         // 8 bytes, normally HH:MM:SS; empty when no date was found
  std::string makerText;        // up to the first NUL; empty unless asked for and found
  std::string modelText;        // up to the first NUL; empty unless asked for and found
};

}  // namespace tessaly
