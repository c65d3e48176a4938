#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/Path.h"
#include "platform/NativeFileSystem.h"
#include "platform/ReadAhead.h"

namespace tessaly::test {

// The real file system with faults put in by call and path ("open P",
// "list P", "next P" for the next listing of P, which fails before its last entry, "move P" for a
// move from P, "mkdir P", "unlink P", "create P" for OpenAppendFile, "write P" for the question
// whether P may be written, "append P" for every append to P, or to any file in directory D with
// "append D/", after the first `appendsAllowed`): such a call fails with the given error, or a hook
// runs just before it ("open P", "move P" for a move to P). Listings come sorted by name unless the
// file system's own order is asked for; successful moves are recorded.
class FaultyFileSystem final : public FileSystem {
 public:
  std::map<std::string, std::errc> fails;
  std::map<std::string, std::function<void()>> before;
  // When set, every status question of a path for which it returns true
  // finds a regular file of 1 byte, and a move there finds it taken.
  std::function<bool(const std::string&)> pretendExists;
  bool ownOrder = false;
  int appendsAllowed = 0;
  bool readAhead = true;  // the real one's, which never calls the hooks
  std::vector<std::pair<std::string, std::string>> moves;

  FsResult<std::unique_ptr<ReadableFile>> OpenForReading(const std::string& path,
                                                         FileKinds kinds) override {
    if (auto e = Fault("open " + path)) return *e;
    return real_.OpenForReading(path, kinds);
  }
  FsResult<std::unique_ptr<AppendFile>> OpenAppendFile(const std::string& path,
                                                       AppendMode mode) override {
    if (auto e = Fault("create " + path)) return *e;
    FsResult<std::unique_ptr<AppendFile>> file = real_.OpenAppendFile(path, mode);
    auto fault = fails.find("append " + path);
    if (fault == fails.end())
      fault = fails.find("append " + path.substr(0, path.find_last_of(kPathSeparators) + 1));
    if (!file.ok() || fault == fails.end()) return file;
    return std::unique_ptr<AppendFile>(
        std::make_unique<Full>(std::move(file.value()), fault->second, appendsAllowed));
  }
  FsResult<std::unique_ptr<DirectoryCursor>> OpenDirectory(const std::string& path) override {
    if (auto e = Fault("list " + path)) return *e;
    FsResult<std::unique_ptr<DirectoryCursor>> cursor = real_.OpenDirectory(path);
    if (!cursor.ok() || ownOrder) return cursor;
    auto sorted = std::make_unique<Sorted>();
    if (auto f = fails.find("next " + path); f != fails.end()) {
      sorted->failure = f->second;
      fails.erase(f);
    }
    for (DirectoryEntry entry; cursor.value()->Next(entry).value();)
      sorted->entries.push_back(entry);
    std::sort(sorted->entries.begin(), sorted->entries.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    return std::unique_ptr<DirectoryCursor>(std::move(sorted));
  }
  FsResult<PathStatus> StatusOf(const std::string& path, SymbolicLinks links) override {
    if (pretendExists && pretendExists(path)) return PathStatus{{.size = 1}, EntryType::Regular};
    return real_.StatusOf(path, links);
  }
  std::error_code MoveNoReplace(const std::string& from, const std::string& to) override {
    if (pretendExists && pretendExists(to)) return std::make_error_code(std::errc::file_exists);
    return Move(from, to, [&] { return real_.MoveNoReplace(from, to); });
  }
  std::error_code MoveReplacing(const std::string& from, const std::string& to) override {
    return Move(from, to, [&] { return real_.MoveReplacing(from, to); });
  }
  std::error_code CreateDirectory(const std::string& path) override {
    if (auto e = Fault("mkdir " + path)) return *e;
    return real_.CreateDirectory(path);
  }
  std::error_code RemoveDirectory(const std::string& path) override {
    return real_.RemoveDirectory(path);
  }
  std::error_code RemoveFile(const std::string& path) override {
    if (auto e = Fault("unlink " + path)) return *e;
    return real_.RemoveFile(path);
  }
  std::error_code CheckWritable(const std::string& path) override {
    if (auto e = Fault("write " + path)) return *e;
    return real_.CheckWritable(path);
  }
  std::unique_ptr<ReadAhead> StartReadAhead() override {
    return readAhead ? real_.StartReadAhead() : nullptr;
  }

 private:
  struct Sorted final : DirectoryCursor {
    std::vector<DirectoryEntry> entries;
    std::size_t next = 0;
    std::optional<std::errc> failure;
    FsResult<bool> Next(DirectoryEntry& entry) override {
      if (failure && next + 1 == entries.size()) return std::make_error_code(*failure);
      if (next < entries.size()) entry = entries[next];
      return next++ < entries.size();
    }
  };
  // A file whose appends fail, as on a full disk.
  struct Full final : AppendFile {
    std::unique_ptr<AppendFile> file;
    std::errc error;
    int allowed;
    Full(std::unique_ptr<AppendFile> f, std::errc e, int a)
        : file(std::move(f)), error(e), allowed(a) {}
    FsResult<std::size_t> ReadAt(std::uint64_t at, std::span<char> into) override {
      return file->ReadAt(at, into);
    }
    std::error_code Append(std::string_view text) override {
      return allowed-- > 0 ? file->Append(text) : std::make_error_code(error);
    }
    std::error_code Truncate(std::uint64_t length) override { return file->Truncate(length); }
    std::uint64_t Length() const override { return file->Length(); }
    std::error_code Close() override { return file->Close(); }
  };
  std::optional<std::error_code> Fault(const std::string& call) {
    if (auto hook = before.find(call); hook != before.end()) hook->second();
    if (auto f = fails.find(call); f != fails.end()) return std::make_error_code(f->second);
    return std::nullopt;
  }
  template <typename Call>
  std::error_code Move(const std::string& from, const std::string& to, Call call) {
    if (auto hook = before.find("move " + to); hook != before.end()) hook->second();
    if (auto f = fails.find("move " + from); f != fails.end())
      return std::make_error_code(f->second);
    std::error_code error = call();
    if (!error) moves.emplace_back(from, to);
    return error;
  }

  NativeFileSystem real_;
};

}  // namespace tessaly::test
