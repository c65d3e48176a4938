#include "platform/OverlayFileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>

#include "platform/NativeFileSystem.h"
#include "tests/support/TempTree.h"

namespace tessaly {
namespace {

// The names the operations pick from: files, directories, spellings with
// doubled and trailing separators and "." inside, a byte that is not UTF-8, a link
// (never gone through) and a FIFO, a name that is a file in one step and a
// directory in another.
const char* const kNames[] = {"a.JPG",
                              "b.JPG",
                              "d",
                              "d/c.JPG",
                              "d/./c.JPG",
                              "d//x.JPG",
                              "d/",
                              "n",
                              "n/m",
                              "n/m/a.JPG",
                              "e"
#ifndef _WIN32  // no Windows name holds a byte that is not UTF-8, a link or a FIFO
                              ,
                              "\xFF.JPG",
                              "l",
                              "f"
#endif
};
constexpr std::size_t kNameCount = std::size(kNames);

void MakeTree(test::TempTree& tree) {
  tree.Write("a.JPG", "aa");
  tree.Write("b.JPG", "bbb");
  tree.Write("d/c.JPG", "c");
  tree.MakeDirectory("e");
#ifndef _WIN32
  ASSERT_EQ(symlink("d", tree.PathOf("l").c_str()), 0);
  ASSERT_EQ(mkfifo(tree.PathOf("f").c_str(), 0644), 0);
#endif
}

// What a file system shows of every name: its status or why not, and the
// listing of every directory.
std::string Seen(FileSystem& fs, const std::string& root) {
  std::string seen;
  for (const char* name : kNames) {
    FsResult<PathStatus> status = fs.StatusOf(root + name, SymbolicLinks::NotFollowed);
    seen += std::string(name) + ": " +
            (status.ok() ? std::to_string(static_cast<int>(status->type)) + " " +
                               std::to_string(status->type == EntryType::Regular ? status->size : 0)
                         : status.error().message()) +
            "\n";
    // The engine never walks through a link, nor does this.
    auto cursor = fs.OpenDirectory(root + name);
    if (!status.ok() || status->type != EntryType::Directory || !cursor.ok()) continue;
    std::vector<std::string> names;
    for (DirectoryEntry entry; cursor.value()->Next(entry).value();) {
      if (entry.name != "." && entry.name != "..") names.push_back(entry.name);  // listed or not
    }
    std::sort(names.begin(), names.end());
    for (const std::string& entry : names)
      seen += " " + entry;
    seen += "\n";
  }
  return seen;
}

// One step: an operation of the engine's on one or two names.
struct Step {
  int operation;
  std::size_t first, second;
};

std::error_code Apply(FileSystem& fs, const std::string& root, const Step& step) {
  const std::string a = root + kNames[step.first], b = root + kNames[step.second];
  switch (step.operation) {
    case 0:
      return fs.MoveNoReplace(a, b);
    case 1:
      return fs.MoveReplacing(a, b);
    case 2:
      return fs.CreateDirectory(a);
    case 3:
      return fs.RemoveDirectory(a);
    case 4:
      return fs.RemoveFile(a);
    case 5:
      return fs.OpenForReading(a, FileKinds::RegularOnly).error();
    default: {  // a file kept: what it holds now, read back
      FsResult<std::unique_ptr<AppendFile>> file = fs.OpenAppendFile(a, AppendMode::Written);
      if (!file.ok()) return file.error();
      std::array<char, 16> bytes{};
      FsResult<std::size_t> n = file.value()->ReadAt(0, bytes);
      return n.ok() && n.value() == file.value()->Length()
                 ? std::error_code()
                 : std::make_error_code(std::errc::io_error);
    }
  }
}

// Where the overlay over one tree and the real file system on a copy first
// differ, in an answer or in what they show afterwards; empty when nowhere.
std::string FirstDifference(const std::vector<Step>& steps) {
  test::TempTree real, previewed;
  MakeTree(real);
  MakeTree(previewed);
  NativeFileSystem native;
  OverlayFileSystem overlay(native);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    // The engine moves regular files only, never onto a directory, and
    // keeps its own files outside the tree.
    auto typeOf = [&](std::size_t name) {
      FsResult<PathStatus> status =
          native.StatusOf(real.PathOf(kNames[name]), SymbolicLinks::NotFollowed);
      return status.ok() ? status->type : EntryType::Unknown;
    };
    const int operation = steps[i].operation;
    if ((operation <= 1 && (typeOf(steps[i].first) != EntryType::Regular ||
                            typeOf(steps[i].second) == EntryType::Directory)) ||
        (operation == 6 && typeOf(steps[i].first) == EntryType::Unknown)) {
      continue;
    }
    std::error_code there = Apply(overlay, previewed.Root(), steps[i]);
    std::error_code here = Apply(native, real.Root(), steps[i]);
    std::string expected = Seen(native, real.Root()), seen = Seen(overlay, previewed.Root());
    // The engine tells a taken name from other failures, and which other
    // failure comes first when several apply is the system's own affair.
    auto kind = [](std::error_code e) { return !e ? 0 : e == std::errc::file_exists ? 1 : 2; };
    if (kind(there) != kind(here) || seen != expected) {
      return "step " + std::to_string(i) + " (" + std::to_string(steps[i].operation) + " " +
             kNames[steps[i].first] + " " + kNames[steps[i].second] + "): " + there.message() +
             " / really " + here.message() + "\n" + seen + "--- really\n" + expected;
    }
  }
  test::TempTree untouched;
  MakeTree(untouched);
  return Seen(native, previewed.Root()) == Seen(native, untouched.Root()) ? "" : "the tree changed";
}

// Random runs of the calls the engine makes, through the preview and for
// real side by side: every answer (its kind) and everything shown afterwards
// agree. A failing run is cut down to the fewest steps that still fail.
TEST(OverlayFileSystemTest, ItAnswersAsTheRealFileSystemWould) {
  std::mt19937 random(1440);
  for (int run = 0; run < 60; ++run) {
    std::vector<Step> steps(4 + random() % 8);
    for (Step& step : steps)
      step = {int(random() % 7), random() % kNameCount, random() % kNameCount};
    std::string difference = FirstDifference(steps);
    for (std::size_t i = 0; !difference.empty() && i < steps.size();) {
      std::vector<Step> fewer;
      for (std::size_t k = 0; k < steps.size(); ++k) {
        if (k != i) fewer.push_back(steps[k]);
      }
      if (std::string d = FirstDifference(fewer); !d.empty()) {
        steps = fewer, difference = d;
      } else {
        ++i;
      }
    }
    ASSERT_EQ(difference, "") << "run " << run;
  }
}

// A name that arrives in a directory while it is listed is not listed.
TEST(OverlayFileSystemTest, ANameArrivingDuringAListingIsNotListed) {
  test::TempTree tree;
  MakeTree(tree);
  NativeFileSystem native;
  OverlayFileSystem overlay(native);
  auto cursor = overlay.OpenDirectory(tree.PathOf("d"));
  std::string names;
  for (DirectoryEntry entry; cursor.value()->Next(entry).value(); names += entry.name + " ") {
    if (names.empty()) {
      ASSERT_FALSE(overlay.MoveNoReplace(tree.PathOf("a.JPG"), tree.PathOf("d/new.JPG")));
    }
  }
  EXPECT_EQ(names.find("new.JPG"), std::string::npos) << names;
}

}  // namespace
}  // namespace tessaly
