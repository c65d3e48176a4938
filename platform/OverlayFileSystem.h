#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace tessaly {

// A file system that reads a real one and keeps every change in memory: the
// preview of a run. Moves and directories made and removed are seen by later
// calls exactly as the real file system would show them (a directory lists
// what it had, minus what moved away, plus what moved in before the listing
// began), and never reach the real one. A file opened with OpenAppendFile
// shows what it really holds until it is emptied; what is appended to it
// goes on to a sink and is not kept. A file moved here keeps its identity, as
// a rename does.
class OverlayFileSystem final : public FileSystem {
 public:
  // Hears what is appended to a file through the overlay, once it is final
  // (when the next append is made or the file is closed: only the last one
  // can be taken back), in the order written; the text is not kept.
  using AppendSink = std::function<void(const std::string& path, std::string_view text)>;

  explicit OverlayFileSystem(FileSystem& real, AppendSink sink = {})
      : real_(real), sink_(std::move(sink)) {}

  FsResult<std::unique_ptr<ReadableFile>> OpenForReading(const std::string& path,
                                                         FileKinds kinds) override;
  FsResult<std::unique_ptr<AppendFile>> OpenAppendFile(const std::string& path,
                                                       AppendMode mode) override;
  FsResult<std::unique_ptr<DirectoryCursor>> OpenDirectory(const std::string& path) override;
  FsResult<PathStatus> StatusOf(const std::string& path, SymbolicLinks links) override;
  std::error_code MoveNoReplace(const std::string& from, const std::string& to) override;
  std::error_code MoveReplacing(const std::string& from, const std::string& to) override;
  std::error_code CreateDirectory(const std::string& path) override;
  std::error_code RemoveDirectory(const std::string& path) override;
  std::error_code RemoveFile(const std::string& path) override;
  std::error_code CheckWritable(const std::string& path) override;
  std::unique_ptr<ReadAhead> StartReadAhead() override;

  // Where every file that moved stands now: its real path to its path here.
  std::map<std::string, std::string> MovedFiles() const;

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  enum class Put : std::uint8_t { Nothing, Directory, File };
  struct Entry {
    char* name = nullptr;  // in the name blocks, after its length; null when free
    std::uint32_t directory = kNone;
    std::uint32_t origin = kNone;  // for a File: the entry of the real path it came from
    std::uint32_t firstChild = kNone, nextSibling = kNone;
    std::uint32_t nextInSlot = kNone;  // in its hash slot; when free, the next free entry
    Put put = Put::Nothing;            // a directory made here, or the real file at `origin`
    bool hidden = false;               // the real entry at this path is gone
  };
  // Every path that changed, or that holds one that changed, kept once: a
  // name in the entry of its directory (none for "/", "." and the like). A
  // path costs its name and one Entry; one that came to say nothing and
  // holds nothing is dropped, its room taken again.
  class Paths {
   public:
    // The entry of `key`, or kNone.
    std::uint32_t Lookup(std::string_view key) const;
    // As far as `key` has entries: its own (`whole`), or else that of the
    // nearest directory above it that has one, or kNone.
    std::uint32_t Resolve(std::string_view key, bool& whole) const;
    // The entry of `key`, made (with those of the directories above it)
    // when missing.
    std::uint32_t Intern(std::string_view key);
    // Drops `at`, then the directories above it, while they neither say
    // nor hold anything.
    void DropIdle(std::uint32_t at);
    std::string PathOf(std::uint32_t at) const;
    static std::string_view NameOf(const Entry& entry);
    Entry& operator[](std::uint32_t at) { return entries_[at]; }
    const Entry& operator[](std::uint32_t at) const { return entries_[at]; }
    std::uint32_t End() const { return static_cast<std::uint32_t>(entries_.size()); }

   private:
    std::uint32_t& SlotOf(std::uint32_t directory, std::string_view name);
    std::uint32_t Probe(std::uint32_t directory, std::string_view name) const;
    void Grow();
    char* KeepName(std::string_view name);
    void FreeName(char* name);

    std::deque<Entry> entries_;         // never moved as it grows
    std::vector<std::uint32_t> slots_;  // hashed by directory and name: the first entry
    std::uint32_t live_ = 0, firstFree_ = kNone;
    std::vector<std::unique_ptr<char[]>> nameBlocks_;
    std::size_t blockUsed_ = 0, blockSize_ = 0;
    std::vector<std::vector<char*>> freeNames_;  // by the room they take
  };
  class Cursor;

  // The entry at `key` when something was put there; null otherwise, with
  // `gone` telling whether the real entry there is hidden.
  const Entry* Find(std::string_view key, bool& gone) const;
  // Why nothing can stand at `key` for what changed above it: a file put in
  // place of one of its directories (errc::not_a_directory; on Windows, no
  // such file), or one of them gone; empty where the real file system is to
  // answer.
  std::error_code AncestorsRefuse(std::string_view key) const;
  std::error_code CheckParent(const std::string& key);
  std::error_code Transfer(const std::string& from, const std::string& to, bool replace);
  // Marks the real entry at `key` gone, and whatever was put there with it.
  void Hide(std::string_view key);

  FileSystem& real_;
  Paths paths_;
  AppendSink sink_;
};

}  // namespace tessaly
