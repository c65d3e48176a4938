#include "text/Utf8.h"

#include <cstdint>

namespace tessaly {

Utf8Sequence DecodeUtf8(std::string_view text, Surrogates surrogates) {
  auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  // Lead byte: 0xxxxxxx, 110xxxxx, 1110xxxx or 11110xxx, then one to three
  // continuation bytes 10xxxxxx.
  const std::uint8_t lead = byte(0);
  const std::size_t length = lead < 0x80   ? 1
                             : lead < 0xC0 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF8 ? 4
                                           : 0;
  if (length == 0 || length > text.size()) return {};
  char32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return {};
    code = code << 6 | (byte(k) & 0x3Fu);
  }
  constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kLeast[length] || code > 0x10FFFF) return {};  // overlong, too large
  if (code >= 0xD800 && code <= 0xDFFF && surrogates == Surrogates::Invalid) return {};
  return {code, length};
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
    return;
  }
  const int continuations = codePoint < 0x800 ? 1 : codePoint < 0x10000 ? 2 : 3;
  constexpr unsigned kLead[] = {0, 0xC0, 0xE0, 0xF0};
  out += static_cast<char>(kLead[continuations] | codePoint >> (6 * continuations));
  for (int k = continuations - 1; k >= 0; --k) {
    out += static_cast<char>(0x80 | (codePoint >> (6 * k) & 0x3F));
  }
}

}  // namespace tessaly
