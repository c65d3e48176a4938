#include "core/ReadPictureInfo.h"

#include <gtest/gtest.h>

#include "platform/MemoryFile.h"
#include "platform/PosixFileSystem.h"
#include "tests/support/ExifWriter.h"

namespace tessaly {
namespace {

using namespace std::string_literals;
using test::Order;
using W = test::ExifWriter;
using Bytes = std::vector<std::uint8_t>;
constexpr std::uint16_t kMake = W::kMake, kModel = W::kModel, kDate = W::kDateTime;
const std::string kNul10(10, '\0'), kNul8(8, '\0');

// Options as fixed values, counting how often they are read.
struct CountingOptions final : OptionSource {
  RenameOptions options;
  int reads = 0;
  RenameOptions ReadOptions() override { return ++reads, options; }
};

ReadResult Read(const Bytes& bytes, std::size_t chunk = SIZE_MAX, bool maker = true,
                bool model = true, int* optionReads = nullptr) {
  MemoryFile file(bytes, chunk);
  CountingOptions options;
  options.options = {false, maker, model};
  ReadResult result = ReadPictureInfo(file, options);
  if (optionReads) *optionReads = options.reads;
  return result;
}

// The worked example: Make (count 5, value 0x00B6) and DateTime (value
// 0x00D0), their strings at file offsets 194 and 220.
Bytes Acme(Order order) {
  return W(order)
      .Entry(kMake, 5, 0xB6)
      .Entry(kDate, 20, 0xD0)
      .Put(194, "ACME\0"s)
      .Put(220, "2009:08:12 12:07:41")
      .Size(600)
      .Bytes();
}
Bytes Camera(std::string_view maker, std::string_view model, Order order = Order::Intel) {
  return test::CameraPicture("2011:01:02 03:04:05", maker, model, order, 6000, "");
}

TEST(ReadPictureInfoTest, AcceptsOnlyStartMarkerExifSignatureAndByteOrder) {
  // clang-format off
  const struct { const char* why; Bytes bytes; bool accepted; } cases[] = {
      {"Intel", W(Order::Intel).Size(100).Bytes(), true},
      {"Motorola", W(Order::Motorola).Size(100).Bytes(), true},
      {"cut right after the byte order", W().Size(14).Bytes(), true},
      {"PNG", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, false},
      {"first marker byte", W().Put(0, "\xFE").Size(100).Bytes(), false},
      {"second marker byte", W().Put(1, "\xD9").Size(100).Bytes(), false},
      {"JFIF first, Exif later", W().Put(6, "JFIF").Put(30, "Exif").Bytes(), false},
      {"lower-case signature", W().Put(6, "exif").Size(100).Bytes(), false},
      {"mixed byte order IM", W().Put(12, "IM").Size(100).Bytes(), false},
      {"mixed byte order MI", W().Put(12, "MI").Size(100).Bytes(), false},
  };
  // clang-format on
  for (const auto& c : cases) {
    int optionReads = 0;
    ReadResult result = Read(c.bytes, SIZE_MAX, true, true, &optionReads);
    EXPECT_TRUE(result.ok()) << c.why;
    EXPECT_EQ(result.info.HeaderAccepted, c.accepted) << c.why;
    EXPECT_EQ(optionReads, c.accepted ? 2 : 0) << c.why << ": a rejected header reads no option";
  }
}

TEST(ReadPictureInfoTest, TakesDateTimeMakerAndModel) {
  // clang-format off
  const struct {
    const char* why; Bytes bytes; bool maker, model, dateFound; std::string date, time, makerText, modelText;
  } cases[] = {
      {"worked example", Acme(Order::Intel), 1, 1, 1, "2009:08:12", "12:07:41", "ACME", ""},
      {"worked example, Motorola", Acme(Order::Motorola), 1, 1, 1, "2009:08:12", "12:07:41", "ACME", ""},
      {"maker box clear", Acme(Order::Intel), 0, 1, 1, "2009:08:12", "12:07:41", "", ""},
      {"maker and model, blanks kept", Camera("ACME  ", "Z1 "), 1, 1, 1, "2011:01:02", "03:04:05", "ACME  ", "Z1 "},
      {"model alone, high bytes kept", Camera("ACME", "\x80\xE9", Order::Motorola), 0, 1, 1, "2011:01:02",
       "03:04:05", "", "\x80\xE9"},
      {"texts of up to 4 bytes stand in their entries", W(Order::Motorola).TextEntry(kMake, 0, "LGE")
       .TextEntry(kModel, 0, "BQ").Bytes(), 1, 1, 0, "", "", "LGE", "BQ"},
      {"padding NULs end the text", W().Entry(kMake, 5, 100).Entry(kModel, 13, 110).Put(112, "SONY\0"s)
       .Put(122, "CYBERSHOT\0\0\0\0"s).Bytes(), 1, 1, 0, "", "", "SONY", "CYBERSHOT"},
      {"count 0 and 1 give empty texts", W().Entry(kMake, 0, 100).Entry(kModel, 1, 100).Put(112, "XY")
       .Bytes(), 1, 1, 0, "", "", "", ""},
      {"a count of 32767 is read", W().Entry(kMake, 32767, 100).Put(112, "BIG").Bytes(), 1, 1, 0, "", "", "BIG", ""},
      {"DateTime wins over DateTimeOriginal", W().TextEntry(kDate, 100, "2001:01:01 01:01:01")
       .Put(144, "\x03\x90").PutU32(152, 200 - 12).Put(200, "2002:02:02 02:02:02").Bytes(),
       1, 1, 1, "2001:01:01", "01:01:01", "", ""},
      {"the scan takes the first tag pair, in an entry or not", W().Entry(0x0100, 1, 0).Put(60, "\x03\x90")
       .PutU32(68, 300 - 12).Put(90, "\x03\x90").PutU32(98, 400 - 12).Put(300, "2003:03:03 03:03:03")
       .Put(400, "2004:04:04 04:04:04").Bytes(), 1, 1, 1, "2003:03:03", "03:03:03", "", ""},
      {"the scan in Motorola order", W(Order::Motorola).Put(60, "\x90\x03").PutU32(68, 300 - 12)
       .Put(80, "\x03\x90").Put(300, "2003:03:03 03:03:03").Bytes(), 1, 1, 1, "2003:03:03", "03:03:03", "", ""},
      // A Make string at 1000 makes the reader read on to 5000: bytes near 4000 are there to scan.
      {"the scan looks at offset 4000", W().Entry(kMake, 5, 1000 - 12).Put(4000, "\x03\x90")
       .PutU32(4008, 100 - 12).Put(100, "2005:05:05 05:05:05").Size(8000).Bytes(),
       1, 1, 1, "2005:05:05", "05:05:05", "", ""},
      // With nothing to read on for, offsets from 4000 on are never read: the
      // high bytes of this value count as 0, which keeps it inside the limit.
      {"unread bytes are NUL to the scan", W().Put(3990, "\x03\x90").PutU32(3998, 0x10000 + 100 - 12)
       .Put(100, "2005:05:05 05:05:05").Size(8000).Bytes(), 1, 1, 1, "2005:05:05", "05:05:05", "", ""},
      {"the read-on counts from the model string too", W().Entry(kModel, 5, 3000 - 12).Put(50, "\x03\x90")
       .PutU32(58, 6900 - 12).Put(6900, "2005:05:05 05:05:05").Size(8000).Bytes(),
       0, 0, 1, "2005:05:05", "05:05:05", "", ""},
      {"the last entry is examined by the walk", W().Entry(0x0100, 1, 0).TextEntry(kDate, 300,
       "2007:07:07 07:07:07").Put(200, "\x03\x90").PutU32(208, 400 - 12).Put(400, "1999:09:09 09:09:09")
       .Bytes(), 1, 1, 1, "2007:07:07", "07:07:07", "", ""},
      {"an entry beyond the count is not examined", W(Order::Motorola).TextEntry(kMake, 300, "ACME")
       .TextEntry(kDate, 320, "2007:07:07 07:07:07").EntryCount(1).Bytes(), 1, 1, 0, "", "", "ACME", ""},
      {"a later entry with the same tag wins", W().TextEntry(kDate, 300, "2001:01:01 01:01:01")
       .TextEntry(kDate, 350, "2002:02:02 02:02:02").Bytes(), 1, 1, 1, "2002:02:02", "02:02:02", "", ""},
      {"the IFD0 offset is not followed", W().PutU32(16, 100).TextEntry(kDate, 300, "2008:08:08 08:08:08")
       .Bytes(), 1, 1, 1, "2008:08:08", "08:08:08", "", ""},
      {"a value just inside the limit", W().Entry(kDate, 20, 28755).Bytes(), 1, 1, 1, kNul10, kNul8, "", ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    for (std::size_t chunk : {SIZE_MAX, std::size_t{7}}) {
      ReadResult result = Read(c.bytes, chunk, c.maker, c.model);
      ASSERT_TRUE(result.ok()) << c.why << ": " << result.Reason();
      EXPECT_TRUE(result.info.HeaderAccepted && result.info.DateFound == c.dateFound) << c.why;
      EXPECT_EQ(result.info.DateText + "|" + result.info.TimeText, c.date + "|" + c.time) << c.why;
      EXPECT_EQ(result.info.MakerText + "|" + result.info.ModelText,
                c.makerText + "|" + c.modelText)
          << c.why;
    }
  }
}

TEST(ReadPictureInfoTest, ReportsALimitInsteadOfReadingPastIt) {
  W most, many;
  for (int i = 0; i < 2728; ++i)
    most.Entry(0x0100, 1, 0);
  many = most;
  many.Entry(0x0100, 1, 0);
  // clang-format off
  const struct { const char* why; Bytes bytes; ReadFailure failure; } cases[] = {
      {"2728 entries fit", most.Bytes(), ReadFailure::None},
      {"2729 entries read past byte 32767", many.Bytes(), ReadFailure::ReadBeyondLimit},
      {"entry count 32768", W().EntryCount(0x8000).Bytes(), ReadFailure::TooManyEntries},
      {"date value 32756", W().Entry(kDate, 20, 32756).Bytes(), ReadFailure::ValueTooLarge},
      {"maker value too large, box clear", W().Entry(kMake, 5, 0xFFFFFFFF).Bytes(), ReadFailure::ValueTooLarge},
      {"maker count 32768", W().Entry(kMake, 32768, 100).Bytes(), ReadFailure::CountTooLarge},
      {"date value 32755: the read-on passes the limit", W().Entry(kDate, 20, 32755).Bytes(),
       ReadFailure::StringTooFar},
      {"model string from 28768 on", W().Entry(kModel, 5, 28756).Bytes(), ReadFailure::StringTooFar},
      {"model string from 28767 on", W().Entry(kModel, 5, 28755).Bytes(), ReadFailure::None},
      {"scanned value 32756", W().Put(50, "\x03\x90").PutU32(58, 32756).Bytes(), ReadFailure::ValueTooLarge},
  };
  // clang-format on
  for (const auto& c : cases) {
    ReadResult result = Read(c.bytes, SIZE_MAX, false, false);
    EXPECT_EQ(result.failure, c.failure) << c.why << ": " << result.Reason();
    EXPECT_EQ(result.info.HeaderAccepted, c.failure == ReadFailure::None) << c.why;
  }
}

TEST(ReadPictureInfoTest, ReadsAPictureInAtMostTwoBlocks) {
  const std::pair<Bytes, std::size_t> cases[] = {
      {test::CameraPicture("2009:08:12 12:07:41", "A", "Z", Order::Intel, 3'000'000, ""), 1},
      {W().TextEntry(kDate, 20000, "2009:08:12 12:07:41").Size(100'000).Bytes(), 2},
  };
  for (const auto& [bytes, reads] : cases) {
    MemoryFile file(bytes);
    CountingOptions options;
    EXPECT_EQ(ReadPictureInfo(file, options).info.DateText, "2009:08:12");
    EXPECT_EQ(file.Reads(), reads);
  }
}

TEST(ReadPictureInfoTest, ReadsTheModelBoxThenTheMakerBoxOnceEach) {
  struct Ordered final : OptionSource {
    int reads = 0;  // first reading: only the model wanted; second: only the maker
    RenameOptions ReadOptions() override {
      return ++reads, RenameOptions{false, reads == 2, reads == 1};
    }
  } options;
  const Bytes picture = Camera("ACME", "Z100");
  MemoryFile file(picture);
  ReadResult result = ReadPictureInfo(file, options);
  EXPECT_EQ(result.info.ModelText + "|" + result.info.MakerText, "Z100|ACME");
  EXPECT_EQ(options.reads, 2);
}

TEST(ReadPictureInfoTest, AMissingFileIsReportedAndAnEmptyPathOpensNothing) {
  PosixFileSystem fs;
  CountingOptions options;
  EXPECT_EQ(ReadPictureInfo(fs, "/nonexistent/IMG.JPG", options, true).Reason(),
            "cannot be opened: No such file or directory");
  ReadResult empty = ReadPictureInfo(fs, "", options, true);
  EXPECT_TRUE(empty.ok() && !empty.info.HeaderAccepted);
}

}  // namespace
}  // namespace tessaly
