#include "core/BuildNewName.h"

#include <gtest/gtest.h>

#include <string>

namespace tessaly {
namespace {

PictureInfo Info(std::string date, std::string time, std::string maker = "",
                 std::string model = "") {
  PictureInfo info;
  info.HeaderAccepted = true;
  info.DateFound = true;
  info.DateText = std::move(date);
  info.TimeText = std::move(time);
  info.MakerText = std::move(maker);
  info.ModelText = std::move(model);
  return info;
}

struct NameCase {
  const char* name;
  PictureInfo info;
  std::string newName;
  std::string datePart;
  bool usable;
};

void PrintTo(const NameCase& c, std::ostream* os) {
  *os << c.name;
}

std::vector<NameCase> NameCases() {
  return {
      {"DateAlone", Info("2009:08:12", "12:07:41"), "2009-08-12-120741.JPG", "2009-08-12", true},
      {"MakerPrefix", Info("2009:08:12", "12:07:41", "ACME"), "ACME-2009-08-12-120741.JPG",
       "2009-08-12", true},
      {"ModelPrefix", Info("2009:08:12", "12:07:41", "", "ACME Z100"),
       "ACME Z100-2009-08-12-120741.JPG", "2009-08-12", true},
      {"MakerThenModel", Info("2009:08:12", "12:07:41", "ACME", "ACME Z100"),
       "ACME-ACME Z100-2009-08-12-120741.JPG", "2009-08-12", true},
      {"TrailingBlanksBeforeTheDash", Info("2009:08:12", "12:07:41", "ACME  "),
       "ACME  -2009-08-12-120741.JPG", "2009-08-12", true},
      {"OtherSeparatorsAreSkipped", Info("2009/08/12", "12.07.41"), "2009-08-12-120741.JPG",
       "2009-08-12", true},
      {"SeparatorPositionsSkippedWhateverTheyHold", Info("2009x08y12", "12z07w41"),
       "2009-08-12-120741.JPG", "2009-08-12", true},
      {"BlankDateIsBlanksAndDashes", Info("    :  :  ", "  :  :  "), "    -  -  -      .JPG",
       "    -  -  ", true},
      {"LeadingZeroIsUnusable", Info("0000:00:00", "00:00:00"), "0000-00-00-000000.JPG",
       "0000-00-00", false},
      {"MakerStartingWithZeroIsUnusable", Info("2009:08:12", "12:07:41", "0ACME"),
       "0ACME-2009-08-12-120741.JPG", "2009-08-12", false},
      {"NulInDateIsUnusable", Info(std::string(10, '\0'), std::string(8, '\0')),
       std::string(4, '\0') + "-" + std::string(2, '\0') + "-" + std::string(2, '\0') + "-" +
           std::string(6, '\0') + ".JPG",
       std::string(4, '\0') + "-" + std::string(2, '\0') + "-" + std::string(2, '\0'), false},
      {"NulInSkippedSeparatorIsUnusable",
       Info(std::string("2009\0"
                        "08:12",
                        10),
            "12:07:41"),
       "2009-08-12-120741.JPG", "2009-08-12", false},
      {"SlashInMakerIsUnusable", Info("2009:08:12", "12:07:41", "AC/ME"),
       "AC/ME-2009-08-12-120741.JPG", "2009-08-12", false},
      {"BackslashInModelIsUnusable", Info("2009:08:12", "12:07:41", "", "Z\\1"),
       "Z\\1-2009-08-12-120741.JPG", "2009-08-12", false},
      {"SlashInDateIsUnusable", Info("20/9:08:12", "12:07:41"), "20/9-08-12-120741.JPG",
       "20/9-08-12", false},
      {"HighBytesBecomeUtf8", Info("2009:08:12", "12:07:41", "\xC9\x80"),
       "\xC3\x89\xE2\x82\xAC-2009-08-12-120741.JPG", "2009-08-12", true},
  };
}

class NameTest : public testing::TestWithParam<NameCase> {};

TEST_P(NameTest, ComposesNameDatePartAndUsability) {
  const NameCase& c = GetParam();
  NewNameParts parts = BuildNewName(c.info);
  EXPECT_EQ(parts.NewName, c.newName);
  EXPECT_EQ(parts.DatePart, c.datePart);
  EXPECT_EQ(IsUsableName(c.info, parts.NewName), c.usable);
}

INSTANTIATE_TEST_SUITE_P(Names, NameTest, testing::ValuesIn(NameCases()),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(BuildNewNameTest, NoDateGivesNoName) {
  PictureInfo info;
  info.HeaderAccepted = true;
  NewNameParts parts = BuildNewName(info);
  EXPECT_EQ(parts.NewName, "");
  EXPECT_EQ(parts.DatePart, "");
  EXPECT_FALSE(IsUsableName(info, parts.NewName));
}

struct UsableLengthCase {
  std::string name;
  bool usable;
};

TEST(IsUsableNameTest, NeedsMoreThanTenCharacters) {
  PictureInfo info = Info("2009:08:12", "12:07:41");
  const UsableLengthCase cases[] = {
      {"", false},
      {"123456789A", false},
      {"123456789AB", true},
      {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", false},  // 6 characters, 12 bytes
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsUsableName(info, c.name), c.usable) << c.name;
  }
}

TEST(PictureFileNameTest, TakesThePartAfterTheLastSeparator) {
  const std::pair<const char*, const char*> cases[] = {
      {"/photos/IMG_0001.JPG", "IMG_0001.JPG"},
      {"IMG_0001.JPG", "IMG_0001.JPG"},
      {"/photos/trip/", ""},
      {"/a/b/c.d/e.jpg", "e.jpg"},
  };
  for (const auto& [path, name] : cases) {
    EXPECT_EQ(PictureFileName(path), name) << path;
  }
}

}  // namespace
}  // namespace tessaly
