#include "text/Json.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(JsonTest, StringsAreQuotedEscapedAndValidUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\"b\\c", R"("a\"b\\c")"},
      {std::string("\0\x1f\x7f", 3), R"("\u0000\u001f\u007f")"},
      {"tab\there\nnew\r", R"("tab\there\nnew\r")"},
      {"\xC3\xA9\xE2\x82\xAC\xC2\x81", "\"\xC3\xA9\xE2\x82\xAC\xC2\x81\""},  // UTF-8 kept
      {"a\xFF", "\"a\xEF\xBF\xBD\""},                                        // a stray byte
      {"\xC3", "\"\xEF\xBF\xBD\""},                                          // cut short
      {"\xC3\xC3\xA9", "\"\xEF\xBF\xBD\xC3\xA9\""},  // a lead byte where one continues
      {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},  // overlong "/"
      {"\xE0\x80\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // overlong "/"
      {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // a surrogate
  };
  for (const auto& [text, json] : cases) {
    std::string out;
    AppendJsonString(out, text);
    EXPECT_EQ(out, json);
  }
}

}  // namespace
}  // namespace tessaly
