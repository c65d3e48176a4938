#include "text/Json.h"

#include <cstdint>
#include <cstdio>

#include "text/Utf8.h"

namespace tessaly {
namespace {

void AppendUnicodeEscape(std::string& out, unsigned codeUnit) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\u%04x", codeUnit);
  out += escaped;
}

std::optional<unsigned> TakeHex4(std::string_view& text) {
  if (text.size() < 4) return std::nullopt;
  unsigned value = 0;
  for (char c : text.substr(0, 4)) {
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
      digit = static_cast<unsigned>((c | 0x20) - 'a' + 10);
    } else {
      return std::nullopt;
    }
    value = value * 16 + digit;
  }
  text.remove_prefix(4);
  return value;
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text, InvalidBytes invalid) {
  out += '"';
  while (!text.empty()) {
    // Printable ASCII but for the two that JSON escapes goes as it is.
    std::size_t plain = 0;
    while (plain < text.size() && text[plain] >= 0x20 && text[plain] < 0x7F && text[plain] != '"' &&
           text[plain] != '\\') {
      ++plain;
    }
    out.append(text.substr(0, plain));
    text.remove_prefix(plain);
    if (text.empty()) break;
    char c = text[0];
    std::size_t n = ValidUtf8Sequence(text);
    if (n == 0) {
      if (invalid == InvalidBytes::Escape) {
        AppendUnicodeEscape(out, 0xDC00u + static_cast<std::uint8_t>(c));
      } else {
        out += "\xEF\xBF\xBD";
      }
      text.remove_prefix(1);
      continue;
    }
    if (n == 1) {
      switch (c) {
        case '"':
          out += "\\\"";
          break;
        case '\\':
          out += "\\\\";
          break;
        case '\n':
          out += "\\n";
          break;
        case '\r':
          out += "\\r";
          break;
        case '\t':
          out += "\\t";
          break;
        default:  // the rest of the control characters and DEL
          AppendUnicodeEscape(out, static_cast<unsigned>(c));
      }
    } else {
      out.append(text.substr(0, n));
    }
    text.remove_prefix(n);
  }
  out += '"';
}

std::optional<std::string> TakeJsonString(std::string_view& text) {
  std::string_view rest = text;
  if (rest.empty() || rest[0] != '"') return std::nullopt;
  rest.remove_prefix(1);
  std::string value;
  while (!rest.empty()) {
    char c = rest[0];
    rest.remove_prefix(1);
    if (c == '"') {
      text = rest;
      return value;
    }
    if (static_cast<std::uint8_t>(c) < 0x20) return std::nullopt;
    if (c != '\\') {
      value += c;
      continue;
    }
    if (rest.empty()) return std::nullopt;
    char escape = rest[0];
    rest.remove_prefix(1);
    switch (escape) {
      case '"':
      case '\\':
      case '/':
        value += escape;
        break;
      case 'b':
        value += '\b';
        break;
      case 'f':
        value += '\f';
        break;
      case 'n':
        value += '\n';
        break;
      case 'r':
        value += '\r';
        break;
      case 't':
        value += '\t';
        break;
      case 'u': {
        std::optional<unsigned> unit = TakeHex4(rest);
        if (!unit) return std::nullopt;
        if (*unit >= 0xDC80 && *unit <= 0xDCFF) {
          value += static_cast<char>(*unit - 0xDC00);  // an escaped byte
        } else if (*unit >= 0xD800 && *unit <= 0xDBFF) {
          // A pair of surrogates stands for one code point above U+FFFF.
          if (rest.size() < 2 || rest[0] != '\\' || rest[1] != 'u') return std::nullopt;
          rest.remove_prefix(2);
          std::optional<unsigned> low = TakeHex4(rest);
          if (!low || *low < 0xDC00 || *low > 0xDFFF) return std::nullopt;
          AppendUtf8(value, 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00));
        } else if (*unit >= 0xDC00 && *unit <= 0xDFFF) {
          return std::nullopt;
        } else {
          AppendUtf8(value, *unit);
        }
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return std::nullopt;
}

void JsonObjectWriter::Key(std::string_view key) {
  if (line_.size() > 1) line_ += ',';
  AppendJsonString(line_, key);
  line_ += ':';
}

void JsonObjectWriter::Text(std::string_view key, std::string_view text) {
  Key(key);
  AppendJsonString(line_, text, invalid_);
}

void JsonObjectWriter::Flag(std::string_view key, bool flag) {
  Key(key);
  line_ += flag ? "true" : "false";
}

}  // namespace tessaly
