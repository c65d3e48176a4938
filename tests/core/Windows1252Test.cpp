#include "core/Windows1252.h"

#include <gtest/gtest.h>

#include <set>

namespace tessaly {
namespace {

TEST(Windows1252Test, EveryByteBecomesOneCharacter) {
  const std::pair<std::string, std::string> cases[] = {
      {"ACME", "ACME"},         {std::string("\0", 1), std::string("\0", 1)},
      {"\x80", "\xE2\x82\xAC"},  // euro sign
      {"\x81", "\xC2\x81"},      // undefined: the C1 control
      {"\x8D", "\xC2\x8D"},     {"\x8F", "\xC2\x8F"},
      {"\x90", "\xC2\x90"},     {"\x9D", "\xC2\x9D"},
      {"\x8A", "\xC5\xA0"},      // S caron
      {"\x99", "\xE2\x84\xA2"},  // trade mark
      {"\x9F", "\xC5\xB8"},      // Y diaeresis
      {"\xA0", "\xC2\xA0"},     {"\xE9", "\xC3\xA9"},
      {"\xFF", "\xC3\xBF"},
  };
  for (const auto& [bytes, utf8] : cases) {
    EXPECT_EQ(Windows1252ToUtf8(bytes), utf8);
    EXPECT_EQ(Utf8Length(Windows1252ToUtf8(bytes)), bytes.size());
  }
}

TEST(Windows1252Test, AllHighBytesGiveDistinctCharacters) {
  std::set<std::string> seen;
  for (int b = 0x80; b <= 0xFF; ++b) {
    seen.insert(Windows1252ToUtf8(std::string(1, static_cast<char>(b))));
  }
  EXPECT_EQ(seen.size(), 128u);
}

}  // namespace
}  // namespace tessaly
