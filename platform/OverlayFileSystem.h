#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

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
  // What stands at a path that changed: a directory made here, or the real
  // file at `origin`.
  struct Node {
    bool directory = false;
    std::string origin;
  };
  class Cursor;

  // The node at `key` when something was put there; null otherwise, with
  // `gone` telling whether the real entry there is hidden.
  const Node* Find(const std::string& key, bool& gone) const;
  // Why nothing can stand at `key` for what changed above it: a file put in
  // place of one of its directories (errc::not_a_directory; on Windows, no
  // such file), or one of them gone; empty where the real file system is to
  // answer.
  std::error_code AncestorsRefuse(const std::string& key) const;
  std::error_code CheckParent(const std::string& key);
  std::error_code Transfer(const std::string& from, const std::string& to, bool replace);

  FileSystem& real_;
  std::map<std::string, Node> added_;  // by path without a final "/"
  std::set<std::string> removed_;      // real paths that hold nothing here
  AppendSink sink_;
};

}  // namespace tessaly
