#include "cli/Json.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(JsonTest, StringsAreQuotedEscapedAndValidUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "\"plain\""},
      {"", "\"\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {std::string("\0\0", 2), "\"\\u0000\\u0000\""},
      {"tab\there\nnew\r", "\"tab\\there\\nnew\\r\""},
      {"\x1f\x7f", "\"\\u001f\\u007f\""},
      {"\xC3\xA9\xE2\x82\xAC", "\"\xC3\xA9\xE2\x82\xAC\""},  // UTF-8 kept
      {"\xC2\x81", "\"\xC2\x81\""},                          // C1 control as UTF-8 is valid
      {"a\xFF"
       "b",
       "\"a\xEF\xBF\xBD"
       "b\""},                                                       // a stray byte
      {"\xC3", "\"\xEF\xBF\xBD\""},                                  // cut-off sequence
      {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // surrogate
  };
  for (const auto& [text, json] : cases) {
    std::string out;
    AppendJsonString(out, text);
    EXPECT_EQ(out, json);
  }
}

}  // namespace
}  // namespace tessaly
