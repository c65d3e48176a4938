#include "cli/TerminalText.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(TerminalTextTest, ControlCharactersAndStrayBytesAreEscaped) {
  const std::pair<std::string, std::string> cases[] = {
      {"/photos/\xC3\xA9t\xC3\xA9/IMG.JPG", "/photos/\xC3\xA9t\xC3\xA9/IMG.JPG"},
#ifdef _WIN32
      {"a\nb\tc\rC:\\e", R"(a\nb\tc\rC:\e)"},  // the separator as it is
#else
      {"a\nb\tc\rd\\e", R"(a\nb\tc\rd\\e)"},
#endif
      {"\x1b]0;title\x07\x7f", R"(\x1b]0;title\x07\x7f)"},
      {"\xC2\x9B"
       "2J\xFF",
       R"(\xc2\x9b2J\xff)"},  // a C1 control sequence, a stray byte
  };
  for (const auto& [text, shown] : cases)
    EXPECT_EQ(TerminalText(text), shown);
}

}  // namespace
}  // namespace tessaly
