#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/FsResult.h"

namespace tessaly {

// The program keeps paths as UTF-8; the wide Windows calls take UTF-16.
// Windows lets a name hold a surrogate without its pair, which no UTF-8 can;
// such a unit travels in its three-byte form (as WTF-8 does), so that every
// name Windows lists converts back to the very same name.

// UTF-16 from `text`; nothing when it is neither UTF-8 nor such a form.
std::optional<std::wstring> WideFromUtf8(std::string_view text);

// UTF-8 from `text`, a lone surrogate in its three-byte form.
std::string Utf8FromWide(std::wstring_view text);

// Makes the console show what the program writes as UTF-8.
void ShowOutputAsUtf8();

// `path` as the wide calls take it at any length: made absolute against the
// working directory, "/" read as "\", "." and ".." resolved, and prefixed
// with "\\?\" ("\\?\UNC\" for a share), which lifts the 260-character
// limit. Fails with errc::invalid_argument when the path is not UTF-8.
FsResult<std::wstring> WidePath(const std::string& path);

}  // namespace tessaly
