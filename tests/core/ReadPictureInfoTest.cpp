#include "core/ReadPictureInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/MemoryFile.h"
#include "platform/PosixFileSystem.h"
#include "tests/support/ExifWriter.h"

namespace tessaly {
namespace {

using test::ExifWriter;
using test::Order;

// Options as fixed values; remembers which box was looked at, in order.
class RecordingOptions final : public OptionSource {
 public:
  explicit RecordingOptions(bool maker, bool model) {
    options_.MakerPrefix = maker;
    options_.ModelPrefix = model;
  }
  RenameOptions ReadOptions() override {
    ++reads;
    return options_;
  }
  int reads = 0;

 private:
  RenameOptions options_;
};

ReadResult Read(const std::vector<std::uint8_t>& bytes, bool maker = true, bool model = true,
                std::size_t chunk = SIZE_MAX) {
  MemoryFile file(bytes, chunk);
  RecordingOptions options(maker, model);
  return ReadPictureInfo(file, options);
}

std::string Nuls(std::size_t n) {
  return std::string(n, '\0');
}

// --- Which headers are accepted -------------------------------------------

struct AcceptCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  bool accepted;
};

void PrintTo(const AcceptCase& c, std::ostream* os) {
  *os << c.name;
}

std::vector<AcceptCase> AcceptCases() {
  std::vector<std::uint8_t> jfifThenExif =
      ExifWriter().Signature("JFIF").Put(30, std::string_view("Exif\0\0II", 8)).Size(200).Bytes();
  return {
      {"IntelHeader", ExifWriter(Order::Intel).Size(100).Bytes(), true},
      {"MotorolaHeader", ExifWriter(Order::Motorola).Size(100).Bytes(), true},
      {"EmptyFile", {}, false},
      {"OneByteFF", {0xFF}, false},
      {"PngFile", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, false},
      {"SecondMarkerByteWrong", ExifWriter().StartMarker(0xFF, 0xD9).Size(100).Bytes(), false},
      {"FirstMarkerByteWrong", ExifWriter().StartMarker(0xFE, 0xD8).Size(100).Bytes(), false},
      {"JfifFirstSegmentEvenWithExifLater", jfifThenExif, false},
      {"LowerCaseSignature", ExifWriter().Signature("exif").Size(100).Bytes(), false},
      {"UpperCaseSignature", ExifWriter().Signature("EXIF").Size(100).Bytes(), false},
      {"MixedByteOrderIM", ExifWriter().ByteOrderMark("IM").Size(100).Bytes(), false},
      {"MixedByteOrderMI", ExifWriter().ByteOrderMark("MI").Size(100).Bytes(), false},
      {"LowerCaseByteOrder", ExifWriter().ByteOrderMark("ii").Size(100).Bytes(), false},
      {"HeaderCutBeforeByteOrder", ExifWriter().Size(12).Bytes(), false},
      {"HeaderCutAfterByteOrder", ExifWriter().Size(14).Bytes(), true},
  };
}

class AcceptTest : public testing::TestWithParam<AcceptCase> {};

TEST_P(AcceptTest, AcceptsOnlyStartMarkerExifAndByteOrder) {
  RecordingOptions options(true, true);
  MemoryFile file(GetParam().bytes);
  ReadResult result = ReadPictureInfo(file, options);
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(result.info.HeaderAccepted, GetParam().accepted);
  if (!GetParam().accepted) {
    EXPECT_EQ(options.reads, 0) << "a rejected header reads no option";
    EXPECT_TRUE(result.info.DateText.empty());
    EXPECT_TRUE(result.info.MakerText.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Headers, AcceptTest, testing::ValuesIn(AcceptCases()),
                         [](const auto& p) { return std::string(p.param.name); });

// --- What is taken from an accepted header --------------------------------

struct FieldCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  bool maker, model;
  bool dateFound;
  std::string date, time, makerText, modelText;
};

void PrintTo(const FieldCase& c, std::ostream* os) {
  *os << c.name;
}

// The layout of the worked example: Make (count 5, value 0x00B6) and
// DateTime (value 0x00D0), strings at file offsets 194 and 220.
ExifWriter AcmeExample(Order order) {
  ExifWriter w(order);
  w.Entry(ExifWriter::kMake, 5, 0x00B6).Entry(ExifWriter::kDateTime, 20, 0x00D0);
  w.Put(194, std::string("ACME\0", 5)).Put(220, "2009:08:12 12:07:41");
  return w.Size(600);
}

std::vector<FieldCase> FieldCases() {
  std::vector<FieldCase> cases = {
      {"WorkedExampleIntel", AcmeExample(Order::Intel).Bytes(), true, true, true, "2009:08:12",
       "12:07:41", "ACME", ""},
      {"WorkedExampleMotorola", AcmeExample(Order::Motorola).Bytes(), true, true, true,
       "2009:08:12", "12:07:41", "ACME", ""},
      {"MakerOptionClearLeavesMakerEmpty", AcmeExample(Order::Intel).Bytes(), false, true, true,
       "2009:08:12", "12:07:41", "", ""},
      {"MakerAndModel", test::CameraPicture("2011:01:02 03:04:05", "ACME", "ACME Z100"), true, true,
       true, "2011:01:02", "03:04:05", "ACME", "ACME Z100"},
      {"ModelOnly", test::CameraPicture("2011:01:02 03:04:05", "ACME", "ACME Z100"), false, true,
       true, "2011:01:02", "03:04:05", "", "ACME Z100"},
      {"TrailingBlanksKept", test::CameraPicture("2011:01:02 03:04:05", "ACME  ", "Z "), true, true,
       true, "2011:01:02", "03:04:05", "ACME  ", "Z "},
      {"PaddingNulsEndTheText",
       ExifWriter()
           .Entry(ExifWriter::kMake, 5, 100)
           .Entry(ExifWriter::kModel, 13, 110)
           .TextEntry(ExifWriter::kDateTime, 150, "2011:01:02 03:04:05")
           .Put(112, std::string("SONY\0", 5))
           .Put(122, std::string("CYBERSHOT\0\0\0\0", 13))
           .Bytes(),
       true, true, true, "2011:01:02", "03:04:05", "SONY", "CYBERSHOT"},
      {"CountZeroAndOneGiveEmptyTexts",
       ExifWriter()
           .Entry(ExifWriter::kMake, 0, 100)
           .Entry(ExifWriter::kModel, 1, 100)
           .TextEntry(ExifWriter::kDateTime, 150, "2011:01:02 03:04:05")
           .Put(112, "XYZ")
           .Bytes(),
       true, true, true, "2011:01:02", "03:04:05", "", ""},
      {"DateTimeWinsOverDateTimeOriginal",
       ExifWriter()
           .TextEntry(ExifWriter::kDateTime, 100, "2001:01:01 01:01:01")
           .Entry(0x8769, 1, 130)  // Exif sub-directory pointer, passed over
           .PutU16(142, 1)
           .PutU16(144, ExifWriter::kDateTimeOriginal)
           .PutU32(152, 200 - 12)
           .Put(200, "2002:02:02 02:02:02")
           .Bytes(),
       true, true, true, "2001:01:01", "01:01:01", "", ""},
      {"ScanTakesFirstTagPairEvenOutsideAnEntry",
       ExifWriter()
           .Entry(0x0100, 1, 0)
           .Put(60, "\x03\x90")  // inside some value, not an entry
           .PutU32(68, 300 - 12)
           .PutU16(90, ExifWriter::kDateTimeOriginal)
           .PutU32(98, 400 - 12)
           .Put(300, "2003:03:03 03:03:03")
           .Put(400, "2004:04:04 04:04:04")
           .Bytes(),
       true, true, true, "2003:03:03", "03:03:03", "", ""},
      {"ScanInMotorolaOrder",
       ExifWriter(Order::Motorola)
           .Put(60, "\x90\x03")
           .PutU32(68, 300 - 12)
           .Put(300, "2003:03:03 03:03:03")
           .Put(80, "\x03\x90")
           .Bytes(),
       true, true, true, "2003:03:03", "03:03:03", "", ""},
      // The Make string at 1000 makes the reader read on to 5000, so the bytes
      // around offset 4000 are there for the scan to see.
      {"ScanLooksAtOffset4000",
       ExifWriter()
           .Entry(ExifWriter::kMake, 1, 1000 - 12)
           .Put(4000, "\x03\x90")
           .PutU32(4008, 100 - 12)
           .Put(100, "2005:05:05 05:05:05")
           .Size(8000)
           .Bytes(),
       true, true, true, "2005:05:05", "05:05:05", "", ""},
      {"ScanStopsBeforeOffset4001",
       ExifWriter()
           .Entry(ExifWriter::kMake, 1, 1000 - 12)
           .Put(4001, "\x03\x90")
           .PutU32(4009, 100 - 12)
           .Put(100, "2005:05:05 05:05:05")
           .Size(8000)
           .Bytes(),
       true, true, false, "", "", "", ""},
      // With nothing to read on for, offsets 4000 and up are never read: the
      // high bytes of this value count as 0, which keeps it inside the limit.
      {"ScanSeesUnreadBytesAsNul",
       ExifWriter()
           .EntryCount(0)
           .Put(3990, "\x03\x90")
           .PutU32(3998, 0x00010000 + 100 - 12)
           .Put(100, "2005:05:05 05:05:05")
           .Size(8000)
           .Bytes(),
       true, true, true, "2005:05:05", "05:05:05", "", ""},
      {"StringBeyondWhatWasReadIsNul",
       ExifWriter()
           .EntryCount(0)
           .Put(40, "\x03\x90")
           .PutU32(48, 4100 - 12)
           .Put(4100, "2006:06:06 06:06:06")
           .Size(8000)
           .Bytes(),
       true, true, true, Nuls(10), Nuls(8), "", ""},
      {"NoEntriesNoDate", ExifWriter().EntryCount(0).Size(5000).Bytes(), true, true, false, "", "",
       "", ""},
      {"LastEntryIsExaminedByTheWalk",
       ExifWriter()
           .Entry(0x0100, 1, 0)
           .Entry(0x0101, 1, 0)
           .TextEntry(ExifWriter::kDateTime, 300, "2007:07:07 07:07:07")
           .PutU16(200, ExifWriter::kDateTimeOriginal)  // a decoy the scan would take
           .PutU32(208, 400 - 12)
           .Put(400, "1999:09:09 09:09:09")
           .Bytes(),
       true, true, true, "2007:07:07", "07:07:07", "", ""},
      {"EntryBeyondCountIsNotExamined",
       ExifWriter()
           .TextEntry(ExifWriter::kMake, 300, "ACME")
           .TextEntry(ExifWriter::kDateTime, 320, "2007:07:07 07:07:07")
           .EntryCount(1)
           .Bytes(),
       true, true, false, "", "", "ACME", ""},
      {"LaterEntryWithSameTagWins",
       ExifWriter()
           .TextEntry(ExifWriter::kDateTime, 300, "2001:01:01 01:01:01")
           .TextEntry(ExifWriter::kMake, 330, "FIRST")
           .TextEntry(ExifWriter::kDateTime, 350, "2002:02:02 02:02:02")
           .TextEntry(ExifWriter::kMake, 380, "SECOND")
           .Bytes(),
       true, true, true, "2002:02:02", "02:02:02", "SECOND", ""},
      {"Ifd0OffsetIsNotFollowed",
       ExifWriter()
           .Ifd0Offset(100)
           .TextEntry(ExifWriter::kDateTime, 300, "2008:08:08 08:08:08")
           .Bytes(),
       true, true, true, "2008:08:08", "08:08:08", "", ""},
      {"OtherSeparatorsAreTakenAsTheyStand",
       ExifWriter().TextEntry(ExifWriter::kDateTime, 300, "2009/08/12 12.07.41").Bytes(), true,
       true, true, "2009/08/12", "12.07.41", "", ""},
      {"ShortFileReadsAsNul",
       ExifWriter().TextEntry(ExifWriter::kDateTime, 100, "2009:08:12 12:07:41").Size(105).Bytes(),
       true, true, true, std::string("2009:") + Nuls(5), Nuls(8), "", ""},
      {"ValueJustInsideTheLimit",
       ExifWriter().Entry(ExifWriter::kDateTime, 20, 28767 - 12).Size(30000).Bytes(), true, true,
       true, Nuls(10), Nuls(8), "", ""},
      {"HighBytesKeptAsBytes",
       ExifWriter()
           .TextEntry(ExifWriter::kMake, 300, "\x80\xE9\x81")
           .TextEntry(ExifWriter::kDateTime, 320, "2009:08:12 12:07:41")
           .Bytes(),
       true, true, true, "2009:08:12", "12:07:41", "\x80\xE9\x81", ""},
  };
  return cases;
}

class FieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(FieldTest, TakesDateTimeMakerAndModel) {
  const FieldCase& c = GetParam();
  for (std::size_t chunk : {SIZE_MAX, std::size_t{7}}) {
    ReadResult result = Read(c.bytes, c.maker, c.model, chunk);
    ASSERT_TRUE(result.ok()) << result.Reason();
    EXPECT_TRUE(result.info.HeaderAccepted);
    EXPECT_EQ(result.info.DateFound, c.dateFound);
    EXPECT_EQ(result.info.DateText, c.date);
    EXPECT_EQ(result.info.TimeText, c.time);
    EXPECT_EQ(result.info.MakerText, c.makerText);
    EXPECT_EQ(result.info.ModelText, c.modelText);
  }
}

INSTANTIATE_TEST_SUITE_P(Fields, FieldTest, testing::ValuesIn(FieldCases()),
                         [](const auto& p) { return std::string(p.param.name); });

// --- Limits: reported, never a crash --------------------------------------

struct LimitCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  ReadFailure failure;
};

void PrintTo(const LimitCase& c, std::ostream* os) {
  *os << c.name;
}

std::vector<LimitCase> LimitCases() {
  ExifWriter many;
  for (int i = 0; i < 2729; ++i)
    many.Entry(0x0100, 1, 0);
  ExifWriter most;
  for (int i = 0; i < 2728; ++i)
    most.Entry(0x0100, 1, 0);
  return {
      {"2729EntriesReadPastTheLimit", many.Bytes(), ReadFailure::ReadBeyondLimit},
      {"2728EntriesAreRead", most.Bytes(), ReadFailure::None},
      {"EntryCount32768", ExifWriter().EntryCount(0x8000).Size(100).Bytes(),
       ReadFailure::TooManyEntries},
      {"EntryCount32767ReadsPastTheLimit", ExifWriter().EntryCount(0x7FFF).Size(100).Bytes(),
       ReadFailure::ReadBeyondLimit},
      {"DateValueAbove32755", ExifWriter().Entry(ExifWriter::kDateTime, 20, 32756).Bytes(),
       ReadFailure::ValueTooLarge},
      {"MakeValueAbove32755EvenWithOptionClear",
       ExifWriter().Entry(ExifWriter::kMake, 5, 0xFFFFFFFF).Bytes(), ReadFailure::ValueTooLarge},
      {"ModelShortStringInsideEntryBigEndian",
       ExifWriter(Order::Motorola).Entry(ExifWriter::kModel, 4, 0x4E494B00).Bytes(),
       ReadFailure::ValueTooLarge},
      {"MakeCountAbove32767", ExifWriter().Entry(ExifWriter::kMake, 32768, 100).Bytes(),
       ReadFailure::CountTooLarge},
      {"ValueAt32755PassesTheReadOnLimit",
       ExifWriter().Entry(ExifWriter::kDateTime, 20, 32755).Bytes(), ReadFailure::StringTooFar},
      {"StringStartingAfter28767", ExifWriter().Entry(ExifWriter::kModel, 5, 28756).Bytes(),
       ReadFailure::StringTooFar},
      {"ScannedValueAbove32755",
       ExifWriter().EntryCount(0).Put(50, "\x03\x90").PutU32(58, 40000).Bytes(),
       ReadFailure::ValueTooLarge},
  };
}

class LimitTest : public testing::TestWithParam<LimitCase> {};

TEST_P(LimitTest, ReportsTheLimitInsteadOfReading) {
  ReadResult result = Read(GetParam().bytes, false, false);
  EXPECT_EQ(result.failure, GetParam().failure) << result.Reason();
  if (GetParam().failure != ReadFailure::None) {
    EXPECT_FALSE(result.info.HeaderAccepted);
    EXPECT_FALSE(result.Reason().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Limits, LimitTest, testing::ValuesIn(LimitCases()),
                         [](const auto& p) { return std::string(p.param.name); });

// --- How the file is read --------------------------------------------------

TEST(ReadPictureInfoTest, TypicalPictureTakesOneRead) {
  std::vector<std::uint8_t> picture =
      test::CameraPicture("2009:08:12 12:07:41", "ACME", "Z100", Order::Intel, 3'000'000);
  MemoryFile file(picture);
  RecordingOptions options(true, true);
  ASSERT_TRUE(ReadPictureInfo(file, options).info.HeaderAccepted);
  EXPECT_EQ(file.Reads(), 1u);
}

TEST(ReadPictureInfoTest, StringsFarIntoTheFileTakeTwoReads) {
  std::vector<std::uint8_t> picture =
      ExifWriter()
          .TextEntry(ExifWriter::kDateTime, 20000, "2009:08:12 12:07:41")
          .Size(100000)
          .Bytes();
  MemoryFile file(picture);
  RecordingOptions options(false, false);
  ReadResult result = ReadPictureInfo(file, options);
  EXPECT_EQ(result.info.DateText, "2009:08:12");
  EXPECT_EQ(file.Reads(), 2u);
}

TEST(ReadPictureInfoTest, ModelOptionIsReadBeforeMakerAndEachOnce) {
  class Ordered final : public OptionSource {
   public:
    RenameOptions ReadOptions() override {
      // First reading: model wanted; second: maker wanted; never both.
      RenameOptions o;
      o.ModelPrefix = reads == 0;
      o.MakerPrefix = reads == 1;
      ++reads;
      return o;
    }
    int reads = 0;
  } options;
  std::vector<std::uint8_t> picture = test::CameraPicture("2009:08:12 12:07:41", "ACME", "Z100");
  MemoryFile file(picture);
  ReadResult result = ReadPictureInfo(file, options);
  EXPECT_EQ(options.reads, 2);
  EXPECT_EQ(result.info.ModelText, "Z100");
  EXPECT_EQ(result.info.MakerText, "ACME");
}

TEST(ReadPictureInfoTest, MissingFileIsReportedWithTheSystemReason) {
  PosixFileSystem fs;
  RecordingOptions options(true, true);
  ReadResult result = ReadPictureInfo(fs, "/nonexistent/dir/IMG_0001.JPG", options);
  EXPECT_EQ(result.failure, ReadFailure::CannotOpen);
  EXPECT_FALSE(result.info.HeaderAccepted);
  EXPECT_NE(result.Reason().find("No such file"), std::string::npos) << result.Reason();
}

TEST(ReadPictureInfoTest, EmptyPathOpensNothing) {
  PosixFileSystem fs;
  RecordingOptions options(true, true);
  ReadResult result = ReadPictureInfo(fs, "", options);
  EXPECT_TRUE(result.ok());
  EXPECT_FALSE(result.info.HeaderAccepted);
  EXPECT_EQ(options.reads, 0);
}

}  // namespace
}  // namespace tessaly
