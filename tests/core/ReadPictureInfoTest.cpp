#include "core/ReadPictureInfo.h"

#include <gtest/gtest.h>

#include "engine/ReadPictureFile.h"
#include "platform/NativeFileSystem.h"
#include "tests/support/ExifWriter.h"
#include "tests/support/MemoryFile.h"

namespace tessaly {
namespace {

using namespace std::string_literals;
using test::Order;
using W = test::ExifWriter;
using Bytes = std::vector<std::uint8_t>;
constexpr std::uint16_t kMake = W::kMake, kModel = W::kModel, kDate = W::kDateTime;

Bytes Camera(std::string_view maker, std::string_view model) {
  return test::CameraPicture("2011:01:02 03:04:05", maker, model, Order::Intel, 6000, "");
}

// What a reading gave, in one line: "rejected", the reason it failed, or
// "<date> <time>|<maker>|<model>" ("no date" without one).
std::string Describe(const ReadResult& r) {
  if (!r.ok()) return r.Reason();
  if (!r.info.headerAccepted) return "rejected";
  std::string date = r.info.dateFound ? r.info.dateText + " " + r.info.timeText : "no date";
  return date + "|" + r.info.makerText + "|" + r.info.modelText;
}

TEST(ReadPictureInfoTest, ReadsWhatTheHeaderHoldsWithinItsLimits) {
  W most, many;
  for (int i = 0; i < 2728; ++i)
    most.Entry(0x0100, 1, 0);
  many = most;
  many.Entry(0x0100, 1, 0);
  const std::string nul = std::string(10, '\0') + " " + std::string(8, '\0');
  const std::string past = "header points past byte 32767",
                    far = "header text starts past byte 28767";
  // clang-format off
  const struct { const char* why; Bytes bytes; std::string read; bool maker = true, model = true; } cases[] = {
      {"Intel", W(Order::Intel).Size(100).Bytes(), "no date||"},
      {"Motorola, cut right after the byte order", W(Order::Motorola).Size(14).Bytes(), "no date||"},
      {"PNG", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, "rejected"},
      {"first marker byte", W().Put(0, "\xFE").Size(100).Bytes(), "rejected"},
      {"second marker byte", W().Put(1, "\xD9").Size(100).Bytes(), "rejected"},
      {"JFIF first, Exif later", W().Put(6, "JFIF").Put(30, "Exif").Bytes(), "rejected"},
      {"lower-case signature", W().Put(6, "exif").Size(100).Bytes(), "rejected"},
      {"mixed byte order IM", W().Put(12, "IM").Size(100).Bytes(), "rejected"},
      // Make (count 5, value 0x00B6) and DateTime (value 0x00D0), their strings at file offsets 194 and 220.
      {"worked example", W().Entry(kMake, 5, 0xB6).Entry(kDate, 20, 0xD0).Put(194, "ACME\0"s)
       .Put(220, "2009:08:12 12:07:41").Size(600).Bytes(), "2009:08:12 12:07:41|ACME|"},
      {"the scan in Motorola order passes over the Intel pair", W(Order::Motorola).Put(50, "\x03\x90")
       .PutU32(58, 400 - 12).Put(60, "\x90\x03").PutU32(68, 300 - 12).Put(300, "2003:03:03 03:03:03")
       .Put(400, "2004:04:04 04:04:04").Bytes(), "2003:03:03 03:03:03||"},
      {"maker and model, blanks kept", Camera("ACME  ", "Z1 "), "2011:01:02 03:04:05|ACME  |Z1 "},
      {"texts of up to 4 bytes stand in their entries", W(Order::Motorola).TextEntry(kMake, 0, "LGE")
       .TextEntry(kModel, 0, "BQ").Bytes(), "no date|LGE|BQ"},
      {"counts 0 and 1 give empty texts", W().Entry(kMake, 0, 100).Entry(kModel, 1, 100).Bytes(), "no date||"},
      {"a count of 32767 is read", W().Entry(kMake, 32767, 100).Put(112, "BIG").Bytes(), "no date|BIG|"},
      {"DateTime wins over DateTimeOriginal", W().TextEntry(kDate, 100, "2001:01:01 01:01:01").Put(144, "\x03\x90")
       .PutU32(152, 200 - 12).Put(200, "2002:02:02 02:02:02").Bytes(), "2001:01:01 01:01:01||"},
      {"the scan takes the first tag pair, in an entry or not", W().Entry(0x0100, 1, 0).Put(60, "\x03\x90")
       .PutU32(68, 300 - 12).Put(90, "\x03\x90").PutU32(98, 400 - 12).Put(300, "2003:03:03 03:03:03")
       .Put(400, "2004:04:04 04:04:04").Bytes(), "2003:03:03 03:03:03||"},
      // A Make string at 1000 makes the reader read on to 5000: bytes near 4000 are there to scan.
      {"the scan looks at offset 4000", W().Entry(kMake, 5, 1000 - 12).Put(4000, "\x03\x90")
       .PutU32(4008, 100 - 12).Put(100, "2005:05:05 05:05:05").Size(8000).Bytes(), "2005:05:05 05:05:05||"},
      // With nothing to read on for, offsets from 4000 on are never read: the
      // high bytes of this value count as 0, which keeps it inside the limit.
      {"unread bytes are NUL to the scan", W().Put(3990, "\x03\x90").PutU32(3998, 0x10000 + 100 - 12)
       .Put(100, "2005:05:05 05:05:05").Size(8000).Bytes(), "2005:05:05 05:05:05||"},
      {"an entry beyond the count is not examined", W(Order::Motorola).TextEntry(kMake, 300, "ACME")
       .TextEntry(kDate, 320, "2007:07:07 07:07:07").EntryCount(1).Bytes(), "no date|ACME|"},
      {"2728 entries fit", most.Bytes(), "no date||"},
      {"2729 entries read past byte 32767", many.Bytes(), "header entries reach past byte 32767"},
      {"entry count 32768", W().EntryCount(0x8000).Bytes(), "header claims 32768 entries or more"},
      {"date value 32756", W().Entry(kDate, 20, 32756).Bytes(), past},
      {"scanned value 32756", W().Put(50, "\x03\x90").PutU32(58, 32756).Bytes(), past},
      {"maker count 32768", W().Entry(kMake, 32768, 100).Bytes(), "maker or model text longer than 32767 bytes"},
      {"date value 32755: the read-on passes the limit", W().Entry(kDate, 20, 32755).Bytes(), far},
      {"model string from 28768 on", W().Entry(kModel, 5, 28756).Bytes(), far},
      {"a date just inside the limit", W().Entry(kDate, 20, 28755).Bytes(), nul + "||"},
  };
  // clang-format on
  for (const auto& c : cases) {
    for (std::size_t chunk : {SIZE_MAX, std::size_t{7}}) {
      MemoryFile file(c.bytes, chunk);
      ReadResult read = ReadPictureInfo(file);
      KeepAskedTexts(read.info, {false, c.maker, c.model});
      EXPECT_EQ(Describe(read), c.read) << c.why;
    }
  }
}

TEST(ReadPictureInfoTest, ReadsAPictureInAtMostTwoBlocks) {
  const std::pair<Bytes, std::size_t> cases[] = {
      {test::CameraPicture("2009:08:12 12:07:41", "A", "Z", Order::Intel, 3'000'000, ""), 1},
      {W().TextEntry(kDate, 20000, "2009:08:12 12:07:41").Size(100'000).Bytes(), 2},
  };
  for (const auto& [bytes, reads] : cases) {
    MemoryFile file(bytes);
    EXPECT_EQ(ReadPictureInfo(file).info.dateText, "2009:08:12");
    EXPECT_EQ(file.Reads(), reads);
  }
}

TEST(ReadPictureInfoTest, AMissingFileIsReportedAndAnEmptyPathOpensNothing) {
  NativeFileSystem fs;
  EXPECT_EQ(ReadPictureInfo(fs, "/nonexistent/IMG.JPG", FileKinds::RegularOnly).Reason(),
            "cannot be opened: No such file or directory");
  ReadResult empty = ReadPictureInfo(fs, "", FileKinds::RegularOnly);
  EXPECT_TRUE(empty.ok() && !empty.info.headerAccepted);
}

}  // namespace
}  // namespace tessaly
