#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/PosixFileSystem.h"

namespace tessaly::test {

// The real file system with faults put in by path: a call on a listed path
// fails with the given error, or a hook runs just before the real call (to
// remove a file between listing and reading, or to put one at a move's
// target between the check and the move). Successful moves are recorded.
class FaultyFileSystem final : public FileSystem {
 public:
  std::map<std::string, std::errc> openFails, listFails, moveFails, createFails;
  std::map<std::string, std::function<void()>> beforeOpen, beforeMove;
  // When set, answers every status question of a path for which it returns
  // true with a regular file of `fakeSize` bytes.
  std::function<bool(const std::string&)> pretendExists;
  std::uint64_t fakeSize = 1;
  std::vector<std::pair<std::string, std::string>> moves;  // successful ones, in order
  // Listings taken whole when opened and handed out by name, so that a test
  // sees one order and no renamed picture listed twice. The real file
  // system's order (and its repeats) are the property test's business.
  bool sortedListings = true;

  FsResult<std::unique_ptr<ReadableFile>> OpenForReading(const std::string& path) override {
    if (auto hook = beforeOpen.find(path); hook != beforeOpen.end()) hook->second();
    if (auto f = openFails.find(path); f != openFails.end()) return std::make_error_code(f->second);
    return real_.OpenForReading(path);
  }
  FsResult<std::unique_ptr<DirectoryCursor>> OpenDirectory(const std::string& path) override {
    if (auto f = listFails.find(path); f != listFails.end()) return std::make_error_code(f->second);
    FsResult<std::unique_ptr<DirectoryCursor>> cursor = real_.OpenDirectory(path);
    if (!cursor.ok() || !sortedListings) return cursor;
    auto snapshot = std::make_unique<SnapshotCursor>();
    DirectoryEntry entry;
    for (;;) {
      FsResult<bool> next = cursor.value()->Next(entry);
      if (!next.ok()) return next.error();
      if (!next.value()) break;
      snapshot->entries.push_back(entry);
    }
    std::sort(snapshot->entries.begin(), snapshot->entries.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    return std::unique_ptr<DirectoryCursor>(std::move(snapshot));
  }
  FsResult<PathStatus> StatusOf(const std::string& path, bool followLinks) override {
    if (pretendExists && pretendExists(path)) return PathStatus{EntryType::Regular, fakeSize, 0};
    return real_.StatusOf(path, followLinks);
  }
  std::error_code MoveNoReplace(const std::string& from, const std::string& to) override {
    return Moved(from, to, [&] { return real_.MoveNoReplace(from, to); });
  }
  std::error_code MoveReplacing(const std::string& from, const std::string& to) override {
    return Moved(from, to, [&] { return real_.MoveReplacing(from, to); });
  }
  std::error_code CreateDirectory(const std::string& path) override {
    if (auto f = createFails.find(path); f != createFails.end()) {
      return std::make_error_code(f->second);
    }
    return real_.CreateDirectory(path);
  }

 private:
  struct SnapshotCursor final : DirectoryCursor {
    std::vector<DirectoryEntry> entries;
    std::size_t next = 0;
    FsResult<bool> Next(DirectoryEntry& entry) override {
      if (next >= entries.size()) return false;
      entry = entries[next++];
      return true;
    }
  };

  template <typename Call>
  std::error_code Moved(const std::string& from, const std::string& to, Call call) {
    if (auto hook = beforeMove.find(to); hook != beforeMove.end()) hook->second();
    if (auto f = moveFails.find(from); f != moveFails.end()) return std::make_error_code(f->second);
    std::error_code error = call();
    if (!error) moves.emplace_back(from, to);
    return error;
  }

  PosixFileSystem real_;
};

}  // namespace tessaly::test
