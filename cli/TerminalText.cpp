#include "cli/TerminalText.h"

#include <cstdint>

#include "core/Path.h"
#include "text/Utf8.h"

namespace tessaly {
namespace {

void AppendEscaped(std::string& out, char c) {
  static constexpr char kHex[] = "0123456789abcdef";
  auto b = static_cast<std::uint8_t>(c);
  out += "\\x";
  out += kHex[b >> 4];
  out += kHex[b & 0x0F];
}

}  // namespace

std::string TerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    std::size_t n = ValidUtf8Sequence(text);
    auto lead = static_cast<std::uint8_t>(text[0]);
    bool c1 = n == 2 && lead == 0xC2 && static_cast<std::uint8_t>(text[1]) < 0xA0;
    if (n > 1 && !c1) {
      out.append(text.substr(0, n));
    } else if (c1) {
      AppendEscaped(out, text[0]);
      AppendEscaped(out, text[1]);
    } else if (text[0] == '\\' && kPathSeparator != '\\') {
      out += "\\\\";
    } else if (text[0] == '\n' || text[0] == '\t' || text[0] == '\r') {
      out += text[0] == '\n' ? "\\n" : text[0] == '\t' ? "\\t" : "\\r";
    } else if (n == 1 && lead >= 0x20 && lead != 0x7F) {
      out += text[0];
    } else {
      AppendEscaped(out, text[0]);
    }
    text.remove_prefix(c1 ? 2 : std::max<std::size_t>(n, 1));
  }
  return out;
}

}  // namespace tessaly
