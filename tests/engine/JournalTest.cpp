#include "engine/Journal.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "core/Utf8.h"
#include "platform/NativeFileSystem.h"
#include "tests/support/TempTree.h"

namespace tessaly {
namespace {

bool IsValidUtf8(std::string_view text) {
  for (std::size_t n; !text.empty(); text.remove_prefix(n)) {
    if ((n = ValidUtf8Sequence(text)) == 0) return false;
  }
  return true;
}

TEST(JournalTest, EveryPathReadsBackExactlyFromOneLineOfValidUtf8) {
  // clang-format off
  const std::string names[] = {"new\nline\tquote\"back\\.JPG", "\xFF\xFE.JPG", "cut\xC3.JPG", "overlong\xC0\xAF.JPG",
      "surrogate\xED\xA0\x80.JPG", "\xE6\xAA\x94\xF0\x9F\x93\xB7.JPG", "literal\\udc80\x7F.JPG", "\xC3\xA9t\xC3\xA9\x80.JPG"};
  // clang-format on
  NativeFileSystem fs;
  test::TempTree dir;
  Journal journal;
  ASSERT_FALSE(journal.Create(fs, dir.PathOf("j"), std::chrono::system_clock::now(), "/p\xFF/"));
  std::vector<JournalRecord> written;
  for (std::uint64_t n = 0; n < std::size(names); ++n) {
    const std::string& name = names[n];
    written.push_back(
        {JournalRecord::Kind::Rename,
         "/p/" + name,
         "/p/d/" + name,
         n % 2 == 0,
         {UINT64_MAX - n, n, 6000 + n, -1'000'000'000 * static_cast<std::int64_t>(n)}});
    written.push_back({JournalRecord::Kind::MakeDirectory, "/p/" + name, "", false, {}});
  }
  for (const JournalRecord& record : written) {
    std::string line = FormatJournalRecord(record);
    EXPECT_TRUE(line.find('\n') == std::string::npos && IsValidUtf8(line)) << line;
    ASSERT_FALSE(journal.Append(record));
  }
  ASSERT_FALSE(journal.Close());
  JournalContents read = ReadJournal(fs, journal.Path());
  EXPECT_EQ(read.failure, JournalReadFailure::None) << read.reason;
  EXPECT_EQ(read.walkedDirectory, "/p\xFF/");
  EXPECT_EQ(read.records, written);
  // The escape that Python's os.fsdecode reads back.
  EXPECT_NE(FormatJournalRecord(written[2]).find(R"("from":"/p/\udcff\udcfe.JPG")"),
            std::string::npos);
}

TEST(JournalTest, AJournalIsReadUpToItsLastWholeRecord) {
  const std::string header = R"({"journal":"tessaly","version":1,"directory":"/p/"})"
                             "\n";
  const std::string record =
      R"({"change":"rename","from":"/p/a","to":"/p/b","device":1,"inode":2,"size":3,"mtime_ns":4})"
      "\n";
  // clang-format off
  const struct { const char* why; std::string text; JournalReadFailure failure; std::size_t records; bool cut; } cases[] = {
      {"a whole journal", header + record + record, JournalReadFailure::None, 2, false},
      {"a crash in the middle of a record", header + record + record.substr(0, 30), JournalReadFailure::None, 1, true},
      {"a kill amid a record of a mapped journal", header + record.substr(0, 30) + std::string(9, '\0'), JournalReadFailure::None, 0, true},
      {"a rename list", "a--->b\r\n", JournalReadFailure::NotAJournal, 0, false},
      {"a later version", R"({"journal":"tessaly","version":2})" "\n", JournalReadFailure::NewerVersion, 0, false},
      {"a damaged line amid records", header + "{\"change\":\"rename\"}\n" + record, JournalReadFailure::DamagedRecord, 0, false},
      {"a lone surrogate", header + R"({"change":"mkdir","path":"/p/\ud800"})" "\n", JournalReadFailure::DamagedRecord, 0, false},
  };
  // clang-format on
  NativeFileSystem fs;
  for (const auto& c : cases) {
    test::TempTree dir;
    dir.Write("j.jsonl", c.text);
    JournalContents read = ReadJournal(fs, dir.PathOf("j.jsonl"));
    EXPECT_EQ(read.failure, c.failure) << c.why;
    EXPECT_EQ(read.records.size(), c.records) << c.why;
    EXPECT_EQ(read.endsMidRecord, c.cut) << c.why;
  }
}

TEST(JournalTest, EachRunGetsANewJournalAndTheLatestIsFound) {
  NativeFileSystem fs;
  test::TempTree dir;
  const auto now = std::chrono::system_clock::now();
  std::vector<std::string> paths;
  for (int i = 0; i < 3; ++i) {  // three runs in the same second
    Journal journal;
    ASSERT_FALSE(journal.Create(fs, dir.PathOf("journals"), now, "/p/"));
    paths.push_back(journal.Path());
  }
  EXPECT_TRUE(paths[0].ends_with(".jsonl"));
  EXPECT_NE(paths[0], paths[1]);
  EXPECT_NE(paths[1], paths[2]);
  EXPECT_EQ(LatestJournal(fs, dir.PathOf("journals")), paths[2]);
  EXPECT_EQ(LatestJournal(fs, dir.PathOf("none")), "");
  // The start in local time with its distance from UTC, on every system.
  std::string header;
  std::getline(std::ifstream(test::NativePath(paths[0])), header);
  EXPECT_TRUE(std::regex_search(
      header, std::regex(R"("started":"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d{4}")")))
      << header;
}

}  // namespace
}  // namespace tessaly
