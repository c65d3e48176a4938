#include "text/Windows1252.h"

#include "text/Utf8.h"

#include <array>
#include <cstdint>

namespace tessaly {
namespace {

// Code points of bytes 0x80 to 0x9F; the rest of the upper half is Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

void AppendWindows1252AsUtf8(std::string& out, std::string_view bytes) {
  for (char ch : bytes) {
    auto b = static_cast<std::uint8_t>(ch);
    if (b < 0x80) {
      out.push_back(ch);
    } else if (b < 0xA0) {
      AppendUtf8(out, kHighControls[b - 0x80u]);
    } else {
      AppendUtf8(out, b);
    }
  }
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  AppendWindows1252AsUtf8(out, bytes);
  return out;
}

std::size_t Utf8Length(std::string_view text) {
  std::size_t n = 0;
  for (char ch : text) {
    if ((static_cast<std::uint8_t>(ch) & 0xC0) != 0x80) ++n;
  }
  return n;
}

}  // namespace tessaly
