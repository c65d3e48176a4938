#include "platform/windows/WideText.h"
#include "platform/windows/WindowsError.h"
#include "text/Utf8.h"

#include <windows.h>

#include <cstdint>

namespace tessaly {

std::optional<std::wstring> WideFromUtf8(std::string_view text) {
  std::wstring wide;
  wide.reserve(text.size());
  while (!text.empty()) {
    const Utf8Sequence sequence = DecodeUtf8(text, Surrogates::Allowed);
    if (sequence.length == 0) return std::nullopt;
    char32_t code = sequence.codePoint;
    if (code >= 0x10000) {
      code -= 0x10000;
      wide += static_cast<wchar_t>(0xD800 + (code >> 10));
      wide += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    } else {
      wide += static_cast<wchar_t>(code);
    }
    text.remove_prefix(sequence.length);
  }
  return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t code = static_cast<std::uint16_t>(text[i]);
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size()) {
      char32_t low = static_cast<std::uint16_t>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(utf8, code);
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
