#include "text/Windows1252.h"

#include <gtest/gtest.h>

#include <set>

namespace tessaly {
namespace {

TEST(Windows1252Test, EveryByteBecomesOneDistinctCharacter) {
  const std::pair<std::string, std::string> cases[] = {
      {std::string("A\0", 2), std::string("A\0", 2)},
      {"\x80\x81\x8A", "\xE2\x82\xAC\xC2\x81\xC5\xA0"},  // euro, undefined: the C1 control, S caron
      {"\x9F\xA0\xFF", "\xC5\xB8\xC2\xA0\xC3\xBF"},      // Y diaeresis, no-break space, y diaeresis
  };
  for (const auto& [bytes, utf8] : cases) {
    EXPECT_EQ(Windows1252ToUtf8(bytes), utf8);
    EXPECT_EQ(Utf8Length(utf8), bytes.size());
  }
  std::set<std::string> seen;
  for (int b = 0x80; b <= 0xFF; ++b)
    seen.insert(Windows1252ToUtf8(std::string(1, char(b))));
  EXPECT_EQ(seen.size(), 128u);
}

}  // namespace
}  // namespace tessaly
