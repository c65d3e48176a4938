#include "text/Utf8.h"

#include <cstdint>

namespace tessaly {

std::size_t ValidUtf8Sequence(std::string_view s) {
  auto b = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  auto cont = [&](std::size_t i) { return i < s.size() && (b(i) & 0xC0) == 0x80; };
  std::uint8_t lead = b(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return cont(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (!cont(1) || !cont(2)) return 0;
    if (lead == 0xE0 && b(1) < 0xA0) return 0;  // overlong
    if (lead == 0xED && b(1) > 0x9F) return 0;  // surrogate
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (!cont(1) || !cont(2) || !cont(3)) return 0;
    if (lead == 0xF0 && b(1) < 0x90) return 0;
    if (lead == 0xF4 && b(1) > 0x8F) return 0;
    return 4;
  }
  return 0;
}

}  // namespace tessaly
