// Each fault as a user meets it through the command line: nothing in the
// tree or beside it lost or overwritten (the contents of every file before
// and after), the promised problems reported, and the exit status.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <sstream>

#include "cli/RenameCommand.h"
#include "engine/Journal.h"
#include "tests/support/EngineHarness.h"
#include "tests/support/WindowsCalls.h"

namespace tessaly {
namespace {

using test::Lines;
using test::Pic;
using namespace std::string_literals;

struct Scene {
  test::TempTree tree, outside;  // the pictures; the list's place and the world beyond
  test::FaultyFileSystem fs;
  std::unique_ptr<AppendFile> held;  // a list that another run holds
  std::shared_ptr<void> kept;        // what another program holds open
  std::string In(const char* name) const { return tree.PathOf(name); }
};

// Every file's content, in the tree and beside it, but for the list and journals.
std::multiset<std::string> Contents(const Scene& s) {
  std::multiset<std::string> contents = s.tree.Contents();
  for (const auto& [path, content] : s.outside.Files()) {
    if (path != "Rename_List.TXT" && !path.starts_with("journals/")) contents.insert(content);
  }
  return contents;
}

TEST(FaultTest, NothingIsLostAndEveryProblemIsReported) {
  const test::Bytes first = Pic("2001:01:01 01:01:01");
  const std::string one = "IMG_0001.JPG", named = "2001-01-01-010101.JPG",
                    named1 = "2001-01-01-010101-1.JPG";
  const Lines plain = {"--no-subdir", "--list", "LIST", "ROOT"}, dated = {"--list", "LIST", "ROOT"};
  // clang-format off
  const struct {
    const char* why; std::function<void(Scene&)> arrange; Lines arguments; int status;
    std::string err;  // a part of the first line on stderr
    int problems;     // lines on stderr
    Lines names = {};  // when given, every file of the tree afterwards
    std::string arrives = "", leaves = "";  // contents that another program adds or takes away
  } cases[] = {
      {"a directory that cannot be listed, reported once", [](Scene& s) { s.tree.Write("locked/3.JPG", Pic("2003:03:03 03:03:03"));
         s.fs.fails["list " + s.In("locked/")] = std::errc::permission_denied; }, plain, 1, "locked/: cannot list the directory", 1},
      {"a listing that fails part way: what came before is renamed, the failure reported once", [](Scene& s) {
         s.fs.fails["next " + s.tree.Root()] = std::errc::io_error; }, plain, 1, "listing the directory failed", 1,
       {named, "IMG_0002.JPG"}},
      {"a rename that fails: its line is taken back", [&](Scene& s) { s.fs.fails["move " + s.In("IMG_0001.JPG")] =
         std::errc::read_only_file_system; }, plain, 1, "IMG_0001.JPG: cannot rename to", 1, {one, "2002-02-02-020202.JPG"}},
#ifndef _WIN32  // no FIFOs, and Wine makes no links
      {"a FIFO named like a picture, never opened", [](Scene& s) { ASSERT_EQ(mkfifo(s.In("x.jpg").c_str(), 0644), 0); },
       plain, 1, "x.jpg: not a regular file", 1},
      {"a link loop", [](Scene& s) { ASSERT_EQ(symlink("..", s.In("up").c_str()), 0); }, plain, 1, "up: a symbolic link", 1},
#endif
      {"a picture removed between listing and reading", [&](Scene& s) { s.fs.before["open " + s.In("IMG_0001.JPG")] =
         [path = s.In("IMG_0001.JPG")] { std::remove(path.c_str()); }; }, plain, 1, "No such file", 1, {}, "",
       std::string(first.begin(), first.end())},
      {"a file comes to the new name just before the rename: the next free name is taken", [&](Scene& s) {
         s.fs.before["move " + s.In(named.c_str())] = [&s, named] { s.tree.Write(named, "new"); }; }, plain, 0, "", 0,
       {named1, "2002-02-02-020202.JPG", named}, "new"},
      {"a file comes to the free name found just before the rename", [&](Scene& s) { s.tree.Write(named, "taken");
         s.fs.before["move " + s.In(named1.c_str())] = [&s, named1] { s.tree.Write(named1, "new"); }; }, plain, 1,
       "not renamed: kept the existing", 1, {"2002-02-02-020202.JPG", named, named1, one}, "new"},
      {"a file of the picture's length under its name is never replaced", [&](Scene& s) { s.tree.Write(named, test::Blob(first.size())); },
       plain, 1, "IMG_0001.JPG: not renamed: kept the existing", 1},
      {"a list that cannot be written stops the run before a rename", [](Scene& s) { s.fs.fails["append " +
         s.outside.PathOf("Rename_List.TXT")] = std::errc::no_space_on_device; }, plain, 1, "the run stops before renaming", 1,
       {"IMG_0001.JPG", "IMG_0002.JPG"}},
      {"a journal that cannot be written stops the run before a change", [](Scene& s) { s.fs.appendsAllowed = 1;
         s.fs.fails["append " + s.outside.PathOf("journals/")] = std::errc::no_space_on_device; }, plain, 1,
       "cannot write the journal: No space left on device; the run stops before moving", 2, {"IMG_0001.JPG", "IMG_0002.JPG"}},
      {"a list naming a picture is refused and kept", [&](Scene& s) { s.outside.Write("photo.jpg", first); },
       {"--list", "OUTphoto.jpg", "ROOT"}, 2, "holds something else", 1, {"IMG_0001.JPG", "IMG_0002.JPG"}},
      {"a list cut off by a kill, NUL bytes after its lines, is a list", [](Scene& s) {
         s.outside.Write("Rename_List.TXT", "a--->b\r\n" + std::string(3000, '\0')); }, plain, 0, "", 0},
      {"a list of lines without CR LF is refused and kept", [](Scene& s) { s.outside.Write("l", "a--->b\n"); },
       {"--list", "OUTl", "ROOT"}, 2, "holds something else", 1, {"IMG_0001.JPG", "IMG_0002.JPG"}},
#ifndef _WIN32
      {"a picture swapped for a FIFO after the listing is not waited on", [&](Scene& s) { s.fs.before["open " +
         s.In("IMG_0001.JPG")] = [path = s.In("IMG_0001.JPG")] { std::remove(path.c_str()); mkfifo(path.c_str(), 0644); };
       }, plain, 1, "IMG_0001.JPG: cannot be opened: not a regular file", 1, {}, "", std::string(first.begin(), first.end())},
      {"a picture whose path holds a LF alone is renamed", [&](Scene& s) {
         s.tree.Write("IMG\n3.JPG", Pic("2003:03:03 03:03:03")); }, plain, 0, "", 0,
       {named, "2002-02-02-020202.JPG", "2003-03-03-030303.JPG"}},
      {"a LF and NUL bytes after it are no list", [](Scene& s) { s.outside.Write("l", "a--->b\n\0\0"s); },
       {"--list", "OUTl", "ROOT"}, 2, "holds something else", 1},
      {"a line without an arrow after one with it is no list", [](Scene& s) {
         s.outside.Write("l", "a--->b\r\nhello\r\n"); }, {"--list", "OUTl", "ROOT"}, 2, "holds something else", 1},
      {"a picture whose path holds CR LF is passed over: no line of the list splits", [&](Scene& s) {
         s.tree.Write("IMG\r\n3.JPG", first); }, plain, 1, "3.JPG: the path holds a line break", 1,
       {"2002-02-02-020202.JPG", "IMG\r\n3.JPG", named}},
      {"a link of the picture at its new name is the picture: nothing asked, nothing moved", [&](Scene& s) {
         ASSERT_EQ(link(s.In("IMG_0001.JPG").c_str(), s.In(named.c_str()).c_str()), 0); }, plain, 0, "", 0,
       {"2002-02-02-020202.JPG", named, one}},
      {"a list that is a link is not followed", [](Scene& s) { s.outside.Write("precious.txt", "a--->b\r\n");
         ASSERT_EQ(symlink("precious.txt", s.outside.PathOf("Rename_List.TXT").c_str()), 0); }, plain, 2, "a symbolic link", 1},
      {"a list another run is using", [](Scene& s) { s.held = std::move(NativeFileSystem().OpenAppendFile(
         s.outside.PathOf("Rename_List.TXT"), AppendMode::Written).value()); }, plain, 2, "another run is using it", 1},
      {"a date directory that is a link to elsewhere", [](Scene& s) { s.outside.Write("elsewhere/x", "");
         ASSERT_EQ(symlink(s.outside.PathOf("elsewhere").c_str(), s.In("2001-01-01").c_str()), 0); }, dated, 1,
       "2001-01-01 is a symbolic link, which is not followed; the picture stays in its own directory", 2,
       {named, "2002-02-02/2002-02-02-020202.JPG"}},
#endif
      {"a new name taken by a directory goes on to a suffix", [&](Scene& s) { s.tree.MakeDirectory(named); }, plain, 0, "",
       0, {"2001-01-01-010101-1.JPG", "2002-02-02-020202.JPG"}},
#ifdef _WIN32
      {"a picture another program holds open without sharing: reported, and the run goes on", [&](Scene& s) {
         s.kept = test::HoldWithoutSharing(s.In("IMG_0001.JPG")); }, plain, 1,
       "IMG_0001.JPG: cannot be opened: another program has it open and shares it with no one", 1,
       {"2002-02-02-020202.JPG", one}},
      {"a read-only picture is renamed", [&](Scene& s) {
         test::AddAttributes(s.In("IMG_0001.JPG"), FILE_ATTRIBUTE_READONLY); }, plain, 0, "", 0,
       {named, "2002-02-02-020202.JPG"}},
      {"a read-only file in the way is never replaced", [&](Scene& s) { s.tree.Write(named, first);
         test::AddAttributes(s.In(named.c_str()), FILE_ATTRIBUTE_READONLY); }, plain, 1, "not renamed: kept the existing", 1,
       {"2002-02-02-020202.JPG", named, one}},
      {"hidden and system directories are not walked; a hidden picture is renamed", [&](Scene& s) {
         s.tree.Write("h/IMG_3.JPG", first); s.tree.Write("s/IMG_4.JPG", first);
         test::AddAttributes(s.In("h"), FILE_ATTRIBUTE_HIDDEN); test::AddAttributes(s.In("s"), FILE_ATTRIBUTE_SYSTEM);
         test::AddAttributes(s.In("IMG_0001.JPG"), FILE_ATTRIBUTE_HIDDEN); }, plain, 0, "", 0,
       {named, "2002-02-02-020202.JPG", "h/IMG_3.JPG", "s/IMG_4.JPG"}},
      {"a maker with a character Windows forbids", [](Scene& s) { s.tree.Write("IMG_0001.JPG", test::CameraPicture(
         "2001:01:01 01:01:01", "AC:ME", "", test::Order::Intel, 6000, "")); }, {"--maker", "--list", "LIST", "ROOT"},
       1, "IMG_0001.JPG: the new name would hold one of < > : \" | ? *", 1, {"2002-02-02/ACME-2002-02-02-020202.JPG", one}},
#endif
      {"identical copies in a date directory are no problem", [&](Scene& s) { s.tree.Write("2001-01-01/" + named, first); },
       dated, 0, "", 0, {"2001-01-01/2001-01-01-010101-1.JPG", "2001-01-01/" + named, "2002-02-02/2002-02-02-020202.JPG"}},
#ifndef _WIN32  // no Windows name holds a control character or "\\"
      {"an escape sequence in a name is shown escaped", [](Scene& s) { s.tree.Write("\x1b]0;x\a\\.jpg", "");
         s.fs.fails["open " + s.In("\x1b]0;x\a\\.jpg")] = std::errc::permission_denied; }, plain, 1, "/\\x1b]0;x\\x07\\\\.jpg: cannot", 1},
#endif
  };
  // clang-format on
  for (const auto& c : cases) {
    Scene s;
    s.tree.Write(one, first);
    s.tree.Write("IMG_0002.JPG", Pic("2002:02:02 02:02:02"));
    c.arrange(s);
    if (testing::Test::HasFatalFailure()) return;
    std::multiset<std::string> contents = Contents(s);
    Lines arguments;
    for (std::string a : c.arguments) {
      if (a == "LIST") a = s.outside.PathOf("Rename_List.TXT");
      if (a == "ROOT") a = s.tree.Root();
      if (a.starts_with("OUT")) a = s.outside.PathOf(a.substr(3));
      arguments.push_back(a);
    }
    std::ostringstream out, err;
    const RenameListPlace place{"", "", "", s.outside.PathOf("journals")};
    EXPECT_EQ(RunRenameCommand(arguments, s.fs, place, false, out, err), c.status) << c.why;
    const std::string problems = err.str();
    EXPECT_NE(problems.substr(0, problems.find('\n')).find(NativePathText(c.err)),
              std::string::npos)
        << c.why << ": " << problems;
    EXPECT_EQ(std::count(problems.begin(), problems.end(), '\n'), c.problems)
        << c.why << ": " << problems;
    if (!c.arrives.empty()) contents.insert(c.arrives);
    if (!c.leaves.empty()) contents.erase(contents.find(c.leaves));
    EXPECT_EQ(Contents(s), contents) << c.why;
    const Lines names = s.tree.Names();
    EXPECT_TRUE(c.names.empty() || names == test::Sorted(c.names))
        << c.why << ": " << testing::PrintToString(names);
    // Every record of the journal names a change that happened: its picture
    // stands at the new path, or a later record takes it on from there.
    if (c.status == 2) continue;
    const std::string journal = LatestJournal(s.fs, s.outside.PathOf("journals"));
    const std::vector<JournalRecord> records = ReadJournal(s.fs, journal).records;
    for (std::size_t i = 0; i < records.size(); ++i) {
      if (records[i].kind == JournalRecord::Kind::MakeDirectory) continue;
      bool movedOn =
          std::any_of(records.begin() + static_cast<std::ptrdiff_t>(i) + 1, records.end(),
                      [&](const JournalRecord& r) { return r.from == records[i].to; });
      FsResult<PathStatus> there = s.fs.StatusOf(records[i].to, SymbolicLinks::NotFollowed);
      EXPECT_TRUE(movedOn ||
                  (there.ok() && RecordedIdentity{there.value(), records[i].identity.startHash} ==
                                     records[i].identity))
          << c.why << ": " << FormatJournalRecord(records[i]);
    }
    // Every line of the list names a rename that happened: its target is there.
    if (c.arguments[0] != "--no-subdir") continue;
    for (const std::string& line :
         test::ListLines(s.outside.Read("Rename_List.TXT"), s.tree.Root())) {
      EXPECT_TRUE(s.tree.IsFile(line.substr(line.find("--->") + 4))) << c.why << ": " << line;
    }
  }
}

}  // namespace
}  // namespace tessaly
