#include "platform/windows/WideText.h"
#include "platform/windows/WindowsError.h"

#include <windows.h>

#include <cstdint>

namespace tessaly {

std::optional<std::wstring> WideFromUtf8(std::string_view text) {
  std::wstring wide;
  wide.reserve(text.size());
  auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  for (std::size_t i = 0; i < text.size();) {
    std::uint8_t lead = byte(i);
    // Lead byte: 0xxxxxxx, 110xxxxx, 1110xxxx or 11110xxx, then one to three
    // continuation bytes 10xxxxxx.
    std::size_t length = lead < 0x80                    ? 1
                         : lead >= 0xC2 && lead <= 0xDF ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 0;
    if (length == 0 || i + length > text.size()) return std::nullopt;
    std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      if ((byte(i + k) & 0xC0) != 0x80) return std::nullopt;
      code = code << 6 | (byte(i + k) & 0x3F);
    }
    const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF) return std::nullopt;  // overlong, too large
    if (code >= 0x10000) {
      code -= 0x10000;
      wide += static_cast<wchar_t>(0xD800 + (code >> 10));
      wide += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    } else {
      wide += static_cast<wchar_t>(code);
    }
    i += length;
  }
  return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t code = static_cast<std::uint16_t>(text[i]);
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size()) {
      std::uint32_t low = static_cast<std::uint16_t>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (code < 0x80) {
      utf8 += static_cast<char>(code);
    } else if (code < 0x800) {
      utf8 += static_cast<char>(0xC0 | code >> 6);
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      utf8 += static_cast<char>(0xE0 | code >> 12);
      utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | code >> 18);
      utf8 += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return utf8;
}

void ShowOutputAsUtf8() {
  SetConsoleOutputCP(CP_UTF8);
}

FsResult<std::wstring> WidePath(const std::string& path) {
  std::optional<std::wstring> wide = WideFromUtf8(path);
  if (!wide || path.empty()) return std::make_error_code(std::errc::invalid_argument);
  if (wide->starts_with(L"\\\\?\\")) return *wide;
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    DWORD n =
        GetFullPathNameW(wide->c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0) return LastWindowsError();
    if (n < full.size()) {
      full.resize(n);
      break;
    }
    full.resize(n);
  }
  if (full.starts_with(L"\\\\.\\")) return full;  // a device, not a file
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

}  // namespace tessaly
