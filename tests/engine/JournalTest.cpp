#include "engine/Journal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "platform/NativeFileSystem.h"
#include "tests/support/TempTree.h"
#include "text/Utf8.h"

namespace tessaly {
namespace {

bool IsValidUtf8(std::string_view text) {
  for (std::size_t n; !text.empty(); text.remove_prefix(n)) {
    if ((n = ValidUtf8Sequence(text)) == 0) return false;
  }
  return true;
}

// Sets the TZ variable (or unsets it, given null) for this process.
void SetZone(const char* zone) {
#ifdef _WIN32
  _putenv_s("TZ", zone ? zone : "");
  _tzset();
#else
  zone ? setenv("TZ", zone, 1) : unsetenv("TZ");
  tzset();
#endif
}

// Whatever a kill leaves, cut at any byte, with or without the NUL bytes
// that a mapped journal keeps after its last append: the reader gives back
// exactly the records wholly written and says whether the last was cut, and
// a killed run's last whole record is found from the end. Every record is
// one line of valid UTF-8, whatever bytes its paths hold.
TEST(JournalTest, CutAnywhereAJournalGivesBackExactlyItsWholeRecords) {
  std::mt19937 random(2009);  // 32-bit draws
  const std::string alphabet = "aZ/.\n\r\"\\\xFF\xC3\xA9\x7F-";
  std::vector<JournalRecord> written;
  for (std::uint64_t n = 0; n < 6; ++n) {
    std::string name;
    for (auto k = random() % 12; k > 0; --k)
      name += alphabet[random() % alphabet.size()];
    if (random() % 3 == 0) {
      written.push_back({JournalRecord::Kind::MakeDirectory, "/p/" + name, "", false, {}});
    } else {
      written.push_back({static_cast<JournalRecord::Kind>(random() % 2),
                         "/p/" + name,
                         "/p/d/" + name,
                         random() % 2 == 0,
                         {n, random(), random(), 0, random()}});
    }
  }
  NativeFileSystem fs;
  test::TempTree dir;
  Journal journal;
  ASSERT_FALSE(journal.Create(fs, dir.PathOf("j"), std::chrono::system_clock::now(), "/p/"));
  for (const JournalRecord& record : written)
    ASSERT_FALSE(journal.Append(record));
  const std::string path = journal.Path();
  ASSERT_FALSE(journal.Close());
  const std::string whole = dir.Read(path.substr(dir.Root().size()));
  EXPECT_TRUE(IsValidUtf8(whole));
  // The escape that Python's os.fsdecode reads back.
  EXPECT_NE(FormatJournalRecord({JournalRecord::Kind::Rename, "/p/\xFF", "/p/d", false, {}})
                .find(R"("from":"/p/\udcff")"),
            std::string::npos);
  std::vector<std::size_t> ends;  // where each line ends, its break included
  for (std::size_t at = 0; (at = whole.find('\n', at)) != std::string::npos;)
    ends.push_back(++at);
  ASSERT_EQ(ends.size(), written.size() + 1);
  for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
    // Now and then more NUL bytes than the reader takes at once from the end.
    const std::size_t many = cut % 64 == 0 ? 65536 + random() % 4096 : 1 + random() % 256;
    for (std::size_t nuls : {std::size_t{0}, many}) {
      dir.Write("cut.jsonl", whole.substr(0, cut) + std::string(nuls, '\0'));
      const std::size_t kept = static_cast<std::size_t>(
          std::upper_bound(ends.begin() + 1, ends.end(), cut) - ends.begin() - 1);
      JournalContents read = ReadJournal(fs, dir.PathOf("cut.jsonl"));
      const std::string at = "cut at " + std::to_string(cut) + " with NULs " + std::to_string(nuls);
      if (cut < ends[0]) {
        EXPECT_EQ(read.failure, JournalReadFailure::NotAJournal) << at;
        continue;
      }
      EXPECT_EQ(read.failure, JournalReadFailure::None) << at;
      EXPECT_EQ(read.records, std::vector(written.begin(), written.begin() + std::ptrdiff_t(kept)))
          << at;
      EXPECT_EQ(read.endsMidRecord, cut != ends[kept]) << at;
      std::optional<JournalContents> killed = LastRecordOfAKilledRun(fs, dir.PathOf("cut.jsonl"));
      EXPECT_EQ(killed.has_value(), nuls > 0 && kept > 0) << at;
      if (killed) {
        EXPECT_EQ(killed->records.back(), written[kept - 1]) << at;
      }
    }
  }
}

TEST(JournalTest, WhatIsNoJournalIsRefusedWithItsReason) {
  const std::string header = R"({"journal":"tessaly","version":1,"directory":"/p/"})"
                             "\n";
  const std::string record =
      R"({"change":"rename","from":"/p/a","to":"/p/b","device":1,"inode":2,"size":3,"mtime_ns":4})"
      "\n";
  // clang-format off
  const struct { const char* why; std::string text; JournalReadFailure failure; } cases[] = {
      {"a rename list", "a--->b\r\n", JournalReadFailure::NotAJournal},
      {"a later version", R"({"journal":"tessaly","version":2})" "\n", JournalReadFailure::NewerVersion},
      {"a version below the first", R"({"journal":"tessaly","version":0})" "\n", JournalReadFailure::NotAJournal},
      {"a damaged line amid records", header + "{\"change\":\"rename\"}\n" + record, JournalReadFailure::DamagedRecord},
      {"a lone surrogate", header + R"({"change":"mkdir","path":"/p/\ud800"})" "\n", JournalReadFailure::DamagedRecord},
      {"lines after NUL bytes", header + std::string(3, '\0') + record, JournalReadFailure::DamagedRecord},
      {"a line longer than any record", header + std::string(kLongestRecord + 1, 'x') + "\n", JournalReadFailure::DamagedRecord},
  };
  // clang-format on
  NativeFileSystem fs;
  for (const auto& c : cases) {
    test::TempTree dir;
    dir.Write("j.jsonl", c.text);
    JournalContents read = ReadJournal(fs, dir.PathOf("j.jsonl"));
    EXPECT_EQ(read.failure, c.failure) << c.why;
    EXPECT_TRUE(read.records.empty()) << c.why;
  }
}

// Runs started in one second, held open together or one after the other,
// each get a journal of their own; undo's "latest" is the newest that
// records a change, and a journal that records none does not stay.
TEST(JournalTest, RunsOfOneSecondGetJournalsOfTheirOwnAndTheLatestChangeIsFound) {
  NativeFileSystem fs;
  const auto now = std::chrono::system_clock::now();
  const JournalRecord change{JournalRecord::Kind::MakeDirectory, "/p/d", "", false, {}};
  for (bool heldTogether : {true, false}) {
    test::TempTree dir;
    const std::string where = dir.PathOf("journals");
    std::vector<Journal> journals(4);
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < journals.size(); ++i) {  // the last one records nothing
      ASSERT_FALSE(journals[i].Create(fs, where, now, "/p/"));
      paths.push_back(journals[i].Path());
      if (i + 1 < journals.size()) {
        ASSERT_FALSE(journals[i].Append(change));
      }
      if (!heldTogether) {
        ASSERT_FALSE(journals[i].Close());
      }
    }
    EXPECT_EQ(std::set<std::string>(paths.begin(), paths.end()).size(), 4u) << heldTogether;
    EXPECT_EQ(LatestJournal(fs, where), paths[2]) << heldTogether;
    EXPECT_EQ(std::filesystem::exists(paths[3]), heldTogether);
    EXPECT_TRUE(paths[1].ends_with("Z_002.jsonl")) << paths[1];
    EXPECT_EQ(journals[3].Path().empty(), !heldTogether);  // removed on its close
  }
  // A run killed before its first change leaves a journal that the next run
  // removes, whatever was written of its header.
  test::TempTree dir;
  using namespace std::string_literals;
  for (std::string left : {""s, "{\"journal\":\"tessaly\",\"version\":1}\n\0\0"s, "\0\0"s}) {
    dir.Write("journals/2000-01-01-000000Z.jsonl", left);
    EXPECT_EQ(LatestJournal(fs, dir.PathOf("journals")), "");
    ASSERT_FALSE(Journal().Create(fs, dir.PathOf("journals"), now, "/p/"));
    EXPECT_FALSE(dir.IsFile("journals/2000-01-01-000000Z.jsonl"));
  }
  EXPECT_EQ(LatestJournal(fs, dir.PathOf("none")), "");
}

// Journals are named after the start in UTC, so that they sort by time in
// any zone; the header keeps the local time with its distance from UTC.
TEST(JournalTest, TheNameIsTheStartInUtcAndTheHeaderTheLocalTime) {
  using namespace std::chrono;
  const char* zone = std::getenv("TZ");
  const std::string saved = zone ? zone : "";
  SetZone("JST-9");  // nine hours east of UTC
  const system_clock::time_point when = sys_days{year{2009} / 8 / 12} + 12h + 7min + 41s;
  EXPECT_EQ(JournalName(when), "2009-08-12-120741Z");
  NativeFileSystem fs;
  test::TempTree dir;
  Journal journal;
  ASSERT_FALSE(journal.Create(fs, dir.PathOf("j"), when, "/p/"));
  std::string header;
  std::getline(std::ifstream(test::NativePath(journal.Path())), header);
  EXPECT_NE(header.find(R"("started":"2009-08-12T21:07:41+0900")"), std::string::npos) << header;
  SetZone(zone ? saved.c_str() : nullptr);
}

}  // namespace
}  // namespace tessaly
