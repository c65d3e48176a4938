#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tessaly {
namespace {

// Every code point comes back from its encoding, which takes as many bytes
// as UTF-8 gives its range; a surrogate only where Windows names allow one.
TEST(Utf8Test, EveryCodePointReadsBackFromItsShortestForm) {
  constexpr std::pair<char32_t, std::size_t> kLastOfLength[] = {
      {0x7F, 1}, {0x7FF, 2}, {0xFFFF, 3}, {0x10FFFF, 4}};
  std::size_t range = 0;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    std::string bytes;
    AppendUtf8(bytes, c);
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    ASSERT_EQ(bytes.size(), kLastOfLength[range].second)
        << std::hex << static_cast<std::uint32_t>(c);
    ASSERT_TRUE(DecodeUtf8(bytes, Surrogates::Allowed).codePoint == c)
        << std::hex << static_cast<std::uint32_t>(c);
    ASSERT_EQ(ValidUtf8Sequence(bytes), surrogate ? 0 : bytes.size())
        << std::hex << static_cast<std::uint32_t>(c);
    if (c == kLastOfLength[range].first) ++range;
  }
}

}  // namespace
}  // namespace tessaly
