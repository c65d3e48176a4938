#include "platform/OverlayFileSystem.h"

#include <algorithm>
#include <vector>

#include "core/Path.h"
#include "platform/ReadAhead.h"

namespace tessaly {
namespace {

constexpr char kSep = kPathSeparator;

// Whether `key` names the root of its file system ("/"; on Windows "\" or
// a drive's, "C:\"), whose final separator stays.
bool IsRoot(const std::string& key) {
  return key.size() == 1 || (key.size() == 3 && key[1] == ':');
}

// The one spelling of a path that the overlay keys by: the program's own
// separator, none doubled, no "." name, none at the end but a root's.
std::string Key(const std::string& path) {
  std::string key;
  key.reserve(path.size());
  // Drops a "." just written as a whole name.
  auto dropDot = [&key] {
    if (key == ".") {
      key.clear();
    } else if (key.size() >= 2 && key.back() == '.' && key[key.size() - 2] == kSep) {
      key.pop_back();
    }
  };
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (!IsPathSeparator(path[i])) {
      key += path[i];
      continue;
    }
    const bool leadingDot = key == ".";
    dropDot();
    if (!leadingDot && (key.empty() || key.back() != kSep)) key += kSep;
  }
  dropDot();
  while (key.size() > 1 && key.back() == kSep && !IsRoot(key))
    key.pop_back();
  return key.empty() && !path.empty() ? "." : key;
}

std::string ParentOf(const std::string& key) {
  std::size_t slash = key.rfind(kSep);
  if (slash == std::string::npos) return ".";
  return key.substr(0, slash == 0 || (slash == 2 && key[1] == ':') ? slash + 1 : slash);
}

std::string ChildOf(const std::string& directory, const std::string& name) {
  return directory.back() == kSep ? directory + name : directory + kSep + name;
}

std::error_code Missing() {
  return std::make_error_code(std::errc::no_such_file_or_directory);
}

// A file written through the overlay: what it really held (read from it
// when asked, until the file is emptied), then what was appended here. Only
// the last append is kept, for no caller takes back more than that: every
// one before it goes to the sink as it becomes final.
class StreamingAppendFile final : public AppendFile {
 public:
  StreamingAppendFile(std::string path, std::unique_ptr<ReadableFile> real,
                      std::uint64_t realLength, const OverlayFileSystem::AppendSink& sink)
      : path_(std::move(path)), real_(std::move(real)), kept_(realLength), sink_(sink) {}
  ~StreamingAppendFile() override { Close(); }
  StreamingAppendFile(const StreamingAppendFile&) = delete;
  StreamingAppendFile& operator=(const StreamingAppendFile&) = delete;

  FsResult<std::size_t> ReadAt(std::uint64_t offset, std::span<char> into) override {
    if (!real_ || offset >= kept_) return std::size_t{0};
    into = into.first(std::min<std::uint64_t>(into.size(), kept_ - offset));
    return real_->ReadAt(offset,
                         std::span(reinterpret_cast<std::uint8_t*>(into.data()), into.size()));
  }
  std::error_code Append(std::string_view text) override {
    Flush();
    last_.assign(text);
    return {};
  }
  std::error_code Truncate(std::uint64_t length) override {
    if (length == 0) {  // what it held goes, and nothing was handed on yet
      if (handedOn_) return std::make_error_code(std::errc::operation_not_supported);
      real_.reset();
      kept_ = 0;
      last_.clear();
    } else if (length < kept_) {
      return std::make_error_code(std::errc::operation_not_supported);
    } else {
      last_.resize(std::min<std::uint64_t>(length - kept_, last_.size()));
    }
    return {};
  }
  std::uint64_t Length() const override { return kept_ + last_.size(); }
  std::error_code Close() override {
    Flush();
    return {};
  }

 private:
  void Flush() {
    if (last_.empty()) return;
    if (sink_) sink_(path_, last_);
    handedOn_ = true;
    kept_ += last_.size();
    last_.clear();
  }

  std::string path_;
  std::unique_ptr<ReadableFile> real_;  // what the file held, until emptied
  std::uint64_t kept_;                  // the length before last_
  std::string last_;                    // the last append, which may be taken back
  bool handedOn_ = false;
  const OverlayFileSystem::AppendSink& sink_;
};

}  // namespace

// Lists the real directory's entries in the real order, leaving out those
// that moved away before the cursor reached them, then what moved in before
// the listing began.
class OverlayFileSystem::Cursor final : public DirectoryCursor {
 public:
  Cursor(OverlayFileSystem& overlay, std::string key, std::unique_ptr<DirectoryCursor> real)
      : overlay_(overlay), key_(std::move(key)), real_(std::move(real)) {
    std::string prefix = key_.back() == kSep ? key_ : key_ + kSep;
    for (auto it = overlay_.added_.lower_bound(prefix);
         it != overlay_.added_.end() && it->first.starts_with(prefix); ++it) {
      if (it->first.find(kSep, prefix.size()) == std::string::npos) {
        addedAtStart_.push_back(it->first.substr(prefix.size()));
      }
    }
  }

  FsResult<bool> Next(DirectoryEntry& entry) override {
    while (real_) {
      FsResult<bool> next = real_->Next(entry);
      if (!next.ok()) return next;
      if (!next.value()) {
        real_.reset();
        break;
      }
      if (entry.name == "." || entry.name == "..") return true;
      bool gone = false;
      if (const Node* node = overlay_.Find(ChildOf(key_, entry.name), gone)) {
        Describe(*node, entry);
        listedFromReal_.push_back(entry.name);
        return true;
      }
      if (!gone) return true;
    }
    while (nextAdded_ < addedAtStart_.size()) {
      const std::string& name = addedAtStart_[nextAdded_++];
      if (std::find(listedFromReal_.begin(), listedFromReal_.end(), name) !=
          listedFromReal_.end()) {
        continue;
      }
      bool gone = false;
      if (const Node* node = overlay_.Find(ChildOf(key_, name), gone)) {
        entry.name = name;
        Describe(*node, entry);
        return true;
      }
    }
    return false;
  }

 private:
  static void Describe(const Node& node, DirectoryEntry& entry) {
    entry.type = node.directory ? EntryType::Directory : EntryType::Regular;
    entry.typeError.clear();
  }

  OverlayFileSystem& overlay_;
  std::string key_;
  std::unique_ptr<DirectoryCursor> real_;
  std::vector<std::string> addedAtStart_;
  std::vector<std::string> listedFromReal_;
  std::size_t nextAdded_ = 0;
};

const OverlayFileSystem::Node* OverlayFileSystem::Find(const std::string& key, bool& gone) const {
  if (auto it = added_.find(key); it != added_.end()) {
    gone = false;
    return &it->second;
  }
  gone = removed_.count(key) > 0;
  return nullptr;
}

FsResult<std::unique_ptr<ReadableFile>> OverlayFileSystem::OpenForReading(const std::string& path,
                                                                          FileKinds kinds) {
  bool gone = false;
  const Node* node = Find(Key(path), gone);
  if (node && node->directory) return std::make_error_code(std::errc::is_a_directory);
  if (node) return real_.OpenForReading(node->origin, kinds);
  if (gone) return Missing();
  if (std::error_code error = AncestorsRefuse(Key(path))) return error;
  return real_.OpenForReading(path, kinds);
}

FsResult<std::unique_ptr<AppendFile>> OverlayFileSystem::OpenAppendFile(const std::string& path,
                                                                        AppendMode) {
  const std::string key = Key(path);
  FsResult<PathStatus> status = StatusOf(key, SymbolicLinks::NotFollowed);
  if (status.ok() && status->type == EntryType::Directory) {
    return std::make_error_code(std::errc::is_a_directory);  // as opening it to write says
  }
  if (status.ok() && status->type != EntryType::Regular) {
    return make_error_code(status->type == EntryType::Symlink ? FsError::SymbolicLink
                                                              : FsError::NotRegularFile);
  }
  if (!status.ok() && status.error() != std::errc::no_such_file_or_directory) {
    return status.error();
  }
  if (std::error_code error = CheckParent(key)) return error;
  std::unique_ptr<ReadableFile> real;
  if (status.ok() && status->size > 0) {  // what the real file holds, for the caller to look at
    FsResult<std::unique_ptr<ReadableFile>> file = OpenForReading(key, FileKinds::RegularOnly);
    if (!file.ok()) return file.error();
    real = std::move(file.value());
  }
  return std::unique_ptr<AppendFile>(std::make_unique<StreamingAppendFile>(
      key, std::move(real), status.ok() ? status->size : 0, sink_));
}

FsResult<std::unique_ptr<DirectoryCursor>> OverlayFileSystem::OpenDirectory(
    const std::string& path) {
  const std::string key = Key(path);
  bool gone = false;
  const Node* node = Find(key, gone);
  if (node && !node->directory) return std::make_error_code(std::errc::not_a_directory);
  if (gone) return Missing();
  std::unique_ptr<DirectoryCursor> real;
  if (!node) {
    if (std::error_code error = AncestorsRefuse(key)) return error;
    FsResult<std::unique_ptr<DirectoryCursor>> opened = real_.OpenDirectory(path);
    if (!opened.ok()) return opened.error();
    real = std::move(opened.value());
  }
  return std::unique_ptr<DirectoryCursor>(std::make_unique<Cursor>(*this, key, std::move(real)));
}

FsResult<PathStatus> OverlayFileSystem::StatusOf(const std::string& path, SymbolicLinks links) {
  bool gone = false;
  const Node* node = Find(Key(path), gone);
  if (node && node->directory) return PathStatus{{}, EntryType::Directory};
  if (node) return real_.StatusOf(node->origin, SymbolicLinks::NotFollowed);
  if (gone) return Missing();
  if (std::error_code error = AncestorsRefuse(Key(path))) return error;
  return real_.StatusOf(path, links);
}

std::error_code OverlayFileSystem::AncestorsRefuse(const std::string& key) const {
  if (added_.empty() && removed_.empty()) return {};
  for (std::string at = ParentOf(key); at != "."; at = ParentOf(at)) {
    if (auto it = added_.find(at); it != added_.end()) {
      if (it->second.directory) return {};
#ifdef _WIN32
      return Missing();  // Windows finds no path below a file
#else
      return std::make_error_code(std::errc::not_a_directory);
#endif
    }
    if (removed_.count(at) > 0) return Missing();
    if (IsRoot(at)) break;
  }
  return {};
}

std::error_code OverlayFileSystem::CheckParent(const std::string& key) {
  FsResult<PathStatus> parent = StatusOf(ParentOf(key), SymbolicLinks::NotFollowed);
  if (!parent.ok()) return parent.error();
  if (parent->type == EntryType::Symlink) return make_error_code(FsError::SymbolicLink);
  if (parent->type != EntryType::Directory) return std::make_error_code(std::errc::not_a_directory);
  // The real directory must let this program make and remove names, as the
  // change itself would need.
  return CheckWritable(ParentOf(key));
}

std::error_code OverlayFileSystem::Transfer(const std::string& from, const std::string& to,
                                            bool replace) {
  const std::string fromKey = Key(from), toKey = Key(to);
  FsResult<PathStatus> source = StatusOf(fromKey, SymbolicLinks::NotFollowed);
  if (!source.ok()) return source.error();
  if (std::error_code error = CheckParent(fromKey)) return error;
  if (std::error_code error = CheckParent(toKey)) return error;
  // Onto itself: a rename that may replace does nothing; one that may not is
  // refused here, and does nothing on Windows.
  if (fromKey == toKey) {
#ifdef _WIN32
    return {};
#else
    return replace ? std::error_code() : std::make_error_code(std::errc::file_exists);
#endif
  }
  FsResult<PathStatus> target = StatusOf(toKey, SymbolicLinks::NotFollowed);
  if (target.ok() && !replace) return std::make_error_code(std::errc::file_exists);
  if (target.ok() && target->type == EntryType::Directory) {
    return std::make_error_code(std::errc::is_a_directory);
  }
  bool gone = false;
  const Node* node = Find(fromKey, gone);
  // Only files move here; a directory's contents would not follow it.
  if (source->type == EntryType::Directory) {
    return std::make_error_code(std::errc::operation_not_supported);
  }
  Node moved = node ? *node : Node{false, fromKey};
  added_.erase(fromKey);
  // A name that only this overlay gave needs no hiding once it is gone.
  if (!node || real_.StatusOf(fromKey, SymbolicLinks::NotFollowed).ok()) removed_.insert(fromKey);
  if (moved.origin == toKey) {  // back where it really is
    added_.erase(toKey);
    removed_.erase(toKey);
  } else {
    added_[toKey] = moved;
  }
  return {};
}

std::error_code OverlayFileSystem::MoveNoReplace(const std::string& from, const std::string& to) {
  return Transfer(from, to, false);
}

std::error_code OverlayFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  return Transfer(from, to, true);
}

std::error_code OverlayFileSystem::CreateDirectory(const std::string& path) {
  const std::string key = Key(path);
  FsResult<PathStatus> status = StatusOf(key, SymbolicLinks::NotFollowed);
  if (status.ok()) {
    if (status->type == EntryType::Directory) return {};
    return status->type == EntryType::Symlink ? make_error_code(FsError::SymbolicLink)
                                              : std::make_error_code(std::errc::not_a_directory);
  }
  if (status.error() != std::errc::no_such_file_or_directory) return status.error();
  if (std::error_code error = CheckParent(key)) return error;
  added_[key] = Node{true, {}};
  return {};
}

std::error_code OverlayFileSystem::RemoveDirectory(const std::string& path) {
  const std::string key = Key(path);
  FsResult<PathStatus> status = StatusOf(key, SymbolicLinks::NotFollowed);
  if (!status.ok()) return status.error();
  if (status->type != EntryType::Directory) return std::make_error_code(std::errc::not_a_directory);
  FsResult<std::unique_ptr<DirectoryCursor>> cursor = OpenDirectory(key);
  if (!cursor.ok()) return cursor.error();
  DirectoryEntry entry;
  for (;;) {
    FsResult<bool> next = cursor.value()->Next(entry);
    if (!next.ok()) return next.error();
    if (!next.value()) break;
    if (entry.name != "." && entry.name != "..") {
      return std::make_error_code(std::errc::directory_not_empty);
    }
  }
  added_.erase(key);
  removed_.insert(key);
  return {};
}

std::error_code OverlayFileSystem::RemoveFile(const std::string& path) {
  const std::string key = Key(path);
  FsResult<PathStatus> status = StatusOf(key, SymbolicLinks::NotFollowed);
  if (!status.ok()) return status.error();
  if (status->type == EntryType::Directory) return std::make_error_code(std::errc::is_a_directory);
  if (std::error_code error = CheckParent(key)) return error;
  added_.erase(key);
  removed_.insert(key);
  return {};
}

std::error_code OverlayFileSystem::CheckWritable(const std::string& path) {
  bool gone = false;
  const Node* node = Find(Key(path), gone);
  if (gone) return Missing();
  if (node && node->directory) return {};  // made here, by this program
  return real_.CheckWritable(node ? node->origin : path);
}

std::unique_ptr<ReadAhead> OverlayFileSystem::StartReadAhead() {
  return real_.StartReadAhead();
}

std::map<std::string, std::string> OverlayFileSystem::MovedFiles() const {
  std::map<std::string, std::string> moved;
  for (const auto& [key, node] : added_) {
    if (!node.directory) moved[node.origin] = key;
  }
  return moved;
}

}  // namespace tessaly
