#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaly {

// Whether a surrogate (U+D800 to U+DFFF) reads as a character. UTF-8 has
// none; Windows lets a name hold one without its pair, and such a one
// travels in its three-byte form (as WTF-8 does), so that every name Windows
// lists converts back to the very same name.
enum class Surrogates { Invalid, Allowed };

struct Utf8Sequence {
  char32_t codePoint = 0;
  std::size_t length = 0;  // 0 when there is no valid sequence
};

// The code point at the start of `text` (which is not empty) and the length
// of its UTF-8 sequence. Overlong forms and code points above U+10FFFF are
// not valid, nor surrogates unless allowed.
Utf8Sequence DecodeUtf8(std::string_view text, Surrogates surrogates = Surrogates::Invalid);

// The length of the valid UTF-8 sequence at the start of `text` (which is
// not empty), or 0 when it does not start with one.
inline std::size_t ValidUtf8Sequence(std::string_view text) {
  return DecodeUtf8(text).length;
}

// Appends `codePoint` (at most U+10FFFF) to `out` as UTF-8, a surrogate in
// its three-byte form.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace tessaly
