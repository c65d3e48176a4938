#pragma once

#include <cstddef>
#include <string_view>

namespace tessaly {

// The length of the valid UTF-8 sequence at the start of `text` (which is
// not empty), or 0 when it does not start with one. Overlong forms,
// surrogates and code points above U+10FFFF are not valid.
std::size_t ValidUtf8Sequence(std::string_view text);

}  // namespace tessaly
