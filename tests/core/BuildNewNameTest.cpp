#include "core/BuildNewName.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using namespace std::string_literals;

PictureInfo Info(std::string date, std::string time, std::string maker = "",
                 std::string model = "") {
  return PictureInfo{
      true, true, std::move(date), std::move(time), std::move(maker), std::move(model)};
}

TEST(BuildNewNameTest, ComposesNameDatePartAndUsability) {
  // clang-format off
  const struct { const char* why; PictureInfo info; std::string newName, datePart; bool usable; } cases[] = {
      {"leading zero", Info("0000:00:00", "00:00:00"), "0000-00-00-000000.JPG", "0000-00-00", false},
      {"maker starting with zero", Info("2009:08:12", "12:07:41", "0ACME"), "0ACME-2009-08-12-120741.JPG",
       "2009-08-12", false},
      {"NUL in a skipped place of the time", Info("2009:08:12", "12\0" "07:41"s), "2009-08-12-120741.JPG",
       "2009-08-12", false},
      {"backslash in the model", Info("2009:08:12", "12:07:41", "", "Z\\1"), "Z\\1-2009-08-12-120741.JPG",
       "2009-08-12", false},
      {"no date, no name", PictureInfo{true, false, "", "", "", ""}, "", "", false},
  };
  // clang-format on
  for (const auto& c : cases) {
    NewNameParts parts = BuildNewName(c.info);
    EXPECT_EQ(parts.newName, c.newName) << c.why;
    EXPECT_EQ(parts.datePart, c.datePart) << c.why;
    EXPECT_EQ(IsUsableName(c.info, parts.newName), c.usable) << c.why;
  }
  // Every control character in a maker or a model makes the name unusable
  // for what it is; no other ASCII byte does.
  for (int c = 1; c < 0x80; ++c) {
    const std::string text = "A"s + static_cast<char>(c) + "B";
    for (const PictureInfo& info :
         {Info("2009:08:12", "12:07:41", text), Info("2009:08:12", "12:07:41", "", text)}) {
      EXPECT_EQ(CheckNewName(info, BuildNewName(info).newName) == NameProblem::ControlCharacter,
                c < 0x20 || c == 0x7F)
          << c;
    }
  }
  // More than 10 characters are needed, counted as characters, not bytes.
  const std::pair<std::string, bool> lengths[] = {
      {"123456789A", false},
      {"123456789AB", true},
      {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", false}};
  for (const auto& [name, usable] : lengths)
    EXPECT_EQ(IsUsableName(Info("2", "1"), name), usable) << name;
}

}  // namespace
}  // namespace tessaly
