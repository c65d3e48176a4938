#include "platform/OverlayFileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/NativeFileSystem.h"
#include "tests/support/TempTree.h"

namespace tessaly {
namespace {

using Operation = std::function<std::error_code(FileSystem&, const std::string& root)>;

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

std::string Listing(FileSystem& fs, const std::string& directory) {
  auto cursor = fs.OpenDirectory(directory);
  if (!cursor.ok()) return cursor.error().message();
  std::vector<std::string> names;
  for (DirectoryEntry entry; cursor.value()->Next(entry).value();) {
    if (entry.name != "." && entry.name != "..")
      names.push_back(entry.name + (entry.type == EntryType::Directory ? "/" : ""));
  }
  std::sort(names.begin(), names.end());
  std::string text;
  for (const std::string& name : names)
    text += name + " ";
  return text;
}

// The preview answers every call as the real file system does, in order,
// and lists every directory as it would be after them.
TEST(OverlayFileSystemTest, ItAnswersAsTheRealFileSystemWould) {
  auto move = [](const char* from, const char* to) {
    return [=](FileSystem& fs, const std::string& r) { return fs.MoveNoReplace(r + from, r + to); };
  };
  auto mkdir = [](const char* path) {
    return [=](FileSystem& fs, const std::string& r) { return fs.CreateDirectory(r + path); };
  };
  auto rmdir = [](const char* path) {
    return [=](FileSystem& fs, const std::string& r) { return fs.RemoveDirectory(r + path); };
  };
  auto append = [](const char* path) {
    return [=](FileSystem& fs, const std::string& r) {
      return fs.OpenAppendFile(r + path, AppendMode::Written).error();
    };
  };
  // clang-format off
  const std::pair<const char*, Operation> operations[] = {
      {"onto a file", move("a.JPG", "b.JPG")},
      {"into a directory", move("a.JPG", "d/a.JPG")},
#ifndef _WIN32
      {"through a link", move("b.JPG", "l/b.JPG")},
#endif
      {"a directory where a file is", mkdir("b.JPG")},
#ifndef _WIN32
      {"a directory where a link is", mkdir("l")},
#endif
      {"a new directory", mkdir("n")},
      {"inside the new one", mkdir("n/m")},
      {"into the new one", move("b.JPG", "n/m/b.JPG")},
      {"replacing", [](FileSystem& fs, const std::string& r) { return fs.MoveReplacing(r + "n/m/b.JPG", r + "d/c.JPG"); }},
      {"a directory with files", rmdir("d")},
      {"an empty directory", rmdir("e")},
      {"an emptied directory", rmdir("n/m")},
#ifndef _WIN32
      {"a link", rmdir("l")},
      {"a file kept on a link", append("l")},
#endif
      {"a file kept in a removed directory", append("e/list")},
      {"back where it was", move("d/a.JPG", "a.JPG")},
      {"the moved file read", [](FileSystem& fs, const std::string& r) {
         auto status = fs.StatusOf(r + "d/c.JPG", false);
         return status.ok() && status->size == 3 ? std::error_code() : std::make_error_code(std::errc::io_error); }},
  };
  // clang-format on
  test::TempTree real, previewed;
  MakeTree(real);
  MakeTree(previewed);
  NativeFileSystem posix;
  OverlayFileSystem overlay(posix);
  for (const auto& [why, operation] : operations) {
    EXPECT_EQ(operation(overlay, previewed.Root()).message(),
              operation(posix, real.Root()).message())
        << why;
  }
  for (const char* directory : {"", "d", "e", "n", "n/m"}) {
    EXPECT_EQ(Listing(overlay, previewed.PathOf(directory)), Listing(posix, real.PathOf(directory)))
        << directory;
  }
  // A name that arrives in a directory while it is listed is not listed.
  auto cursor = overlay.OpenDirectory(previewed.PathOf("d"));
  std::string names;
  for (DirectoryEntry entry; cursor.value()->Next(entry).value(); names += entry.name + " ") {
    if (names.empty()) {
      ASSERT_FALSE(overlay.MoveNoReplace(previewed.PathOf("a.JPG"), previewed.PathOf("d/new.JPG")));
    }
  }
  EXPECT_EQ(names.find("new.JPG"), std::string::npos) << names;
  test::TempTree untouched;
  MakeTree(untouched);
  EXPECT_EQ(previewed.Files(), untouched.Files()) << "the preview changed the real tree";
  EXPECT_EQ(Listing(posix, previewed.Root()), Listing(posix, untouched.Root()));
}

}  // namespace
}  // namespace tessaly
