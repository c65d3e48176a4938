#include "platform/OverlayFileSystem.h"

#include <algorithm>
#include <cstring>
#include <functional>
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

// A key as its directory and its name there. A key with no directory above
// it ("/", ".", a drive's root, the empty path) is all name.
struct Split {
  std::string_view directory, name;
  bool top;
};

Split SplitKey(std::string_view key) {
  if (key.empty() || key == ".") return {{}, key, true};
  const std::size_t slash = key.rfind(kSep);
  if (slash == std::string_view::npos) return {".", key, false};
  const std::size_t length = slash == 0 || (slash == 2 && key[1] == ':') ? slash + 1 : slash;
  if (length == key.size()) return {{}, key, true};
  return {key.substr(0, length), key.substr(slash + 1), false};
}

// The directory that holds `key`: a root is its own, "." that of a bare name.
std::string ParentOf(const std::string& key) {
  const Split split = SplitKey(key);
  if (!split.top) return std::string(split.directory);
  return key.empty() ? "." : key;
}

std::size_t HashOf(std::uint32_t directory, std::string_view name) {
  return std::hash<std::string_view>{}(name) ^ (std::size_t{directory} * 0x9E3779B97F4A7C15u);
}

constexpr std::size_t kNameBlock = 16384;
constexpr std::size_t kRecycledRoom = 256;  // the room of longer names is not taken again

// The room a name takes in a name block: its length (one byte, or 255 and
// four more), then its bytes.
std::size_t RoomFor(std::size_t length) {
  return length + (length < 255 ? 1 : 5);
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
    const std::uint32_t directory = overlay_.paths_.Lookup(key_);
    if (directory == kNone) return;
    for (std::uint32_t child = overlay_.paths_[directory].firstChild; child != kNone;
         child = overlay_.paths_[child].nextSibling) {
      const Entry& entry = overlay_.paths_[child];
      if (entry.put != Put::Nothing) addedAtStart_.emplace_back(Paths::NameOf(entry));
    }
    std::sort(addedAtStart_.begin(), addedAtStart_.end());
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
      if (const Entry* node = overlay_.Find(ChildOf(key_, entry.name), gone)) {
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
      if (const Entry* node = overlay_.Find(ChildOf(key_, name), gone)) {
        entry.name = name;
        Describe(*node, entry);
        return true;
      }
    }
    return false;
  }

 private:
  static void Describe(const Entry& node, DirectoryEntry& entry) {
    entry.type = node.put == Put::Directory ? EntryType::Directory : EntryType::Regular;
    entry.typeError.clear();
  }

  OverlayFileSystem& overlay_;
  std::string key_;
  std::unique_ptr<DirectoryCursor> real_;
  std::vector<std::string> addedAtStart_;
  std::vector<std::string> listedFromReal_;
  std::size_t nextAdded_ = 0;
};

const OverlayFileSystem::Entry* OverlayFileSystem::Find(std::string_view key, bool& gone) const {
  const std::uint32_t at = paths_.Lookup(key);
  gone = false;
  if (at == kNone) return nullptr;
  const Entry& entry = paths_[at];
  if (entry.put != Put::Nothing) return &entry;
  gone = entry.hidden;
  return nullptr;
}

std::string_view OverlayFileSystem::Paths::NameOf(const Entry& entry) {
  const auto length = static_cast<unsigned char>(entry.name[0]);
  if (length < 255) return {entry.name + 1, length};
  std::uint32_t longer = 0;
  std::memcpy(&longer, entry.name + 1, sizeof longer);
  return {entry.name + 5, longer};
}

std::uint32_t OverlayFileSystem::Paths::Lookup(std::string_view key) const {
  bool whole = false;
  const std::uint32_t at = Resolve(key, whole);
  return whole ? at : kNone;
}

std::uint32_t OverlayFileSystem::Paths::Resolve(std::string_view key, bool& whole) const {
  whole = false;
  if (live_ == 0) return kNone;
  const Split split = SplitKey(key);
  std::uint32_t directory = kNone;
  if (!split.top) {
    directory = Resolve(split.directory, whole);
    if (!whole) return directory;
  }
  const std::uint32_t at = Probe(directory, split.name);
  whole = at != kNone;
  return whole ? at : directory;
}

std::uint32_t OverlayFileSystem::Paths::Probe(std::uint32_t directory,
                                              std::string_view name) const {
  if (slots_.empty()) return kNone;
  for (std::uint32_t at = slots_[HashOf(directory, name) & (slots_.size() - 1)]; at != kNone;
       at = entries_[at].nextInSlot) {
    if (entries_[at].directory == directory && NameOf(entries_[at]) == name) return at;
  }
  return kNone;
}

std::uint32_t& OverlayFileSystem::Paths::SlotOf(std::uint32_t directory, std::string_view name) {
  return slots_[HashOf(directory, name) & (slots_.size() - 1)];
}

std::uint32_t OverlayFileSystem::Paths::Intern(std::string_view key) {
  const Split split = SplitKey(key);
  const std::uint32_t directory = split.top ? kNone : Intern(split.directory);
  if (std::uint32_t at = Probe(directory, split.name); at != kNone) return at;
  if (live_ >= slots_.size()) Grow();
  std::uint32_t at = firstFree_;
  if (at == kNone) {
    at = End();
    entries_.emplace_back();
  } else {
    firstFree_ = entries_[at].nextInSlot;
  }
  Entry& entry = entries_[at];
  entry = Entry{KeepName(split.name), directory};
  if (directory != kNone) {
    entry.nextSibling = entries_[directory].firstChild;
    entries_[directory].firstChild = at;
  }
  std::uint32_t& slot = SlotOf(directory, split.name);
  entry.nextInSlot = slot;
  slot = at;
  ++live_;
  return at;
}

void OverlayFileSystem::Paths::DropIdle(std::uint32_t at) {
  while (at != kNone) {
    Entry& entry = entries_[at];
    if (entry.put != Put::Nothing || entry.hidden || entry.firstChild != kNone) return;
    std::uint32_t* link = &SlotOf(entry.directory, NameOf(entry));
    while (*link != at)
      link = &entries_[*link].nextInSlot;
    *link = entry.nextInSlot;
    const std::uint32_t directory = entry.directory;
    if (directory != kNone) {
      link = &entries_[directory].firstChild;
      while (*link != at)
        link = &entries_[*link].nextSibling;
      *link = entry.nextSibling;
    }
    FreeName(entry.name);
    entry = Entry{};
    entry.nextInSlot = firstFree_;
    firstFree_ = at;
    --live_;
    at = directory;
  }
}

void OverlayFileSystem::Paths::Grow() {
  std::vector<std::uint32_t> slots(std::max<std::size_t>(64, slots_.size() * 2), kNone);
  for (std::uint32_t at = 0; at < End(); ++at) {
    Entry& entry = entries_[at];
    if (entry.name == nullptr) continue;  // free: its link is the free list's
    std::uint32_t& slot = slots[HashOf(entry.directory, NameOf(entry)) & (slots.size() - 1)];
    entry.nextInSlot = slot;
    slot = at;
  }
  slots_ = std::move(slots);
}

char* OverlayFileSystem::Paths::KeepName(std::string_view name) {
  const std::size_t room = RoomFor(name.size());
  char* at = nullptr;
  if (room < freeNames_.size() && !freeNames_[room].empty()) {
    at = freeNames_[room].back();
    freeNames_[room].pop_back();
  } else {
    if (room > blockSize_ - blockUsed_) {
      blockSize_ = std::max(kNameBlock, room);
      nameBlocks_.push_back(std::make_unique_for_overwrite<char[]>(blockSize_));
      blockUsed_ = 0;
    }
    at = nameBlocks_.back().get() + blockUsed_;
    blockUsed_ += room;
  }
  if (name.size() < 255) {
    at[0] = static_cast<char>(name.size());
  } else {
    at[0] = static_cast<char>(255);
    const auto length = static_cast<std::uint32_t>(name.size());
    std::memcpy(at + 1, &length, sizeof length);
  }
  std::copy(name.begin(), name.end(), at + (room - name.size()));
  return at;
}

void OverlayFileSystem::Paths::FreeName(char* name) {
  const std::size_t room = RoomFor(NameOf(Entry{name}).size());
  if (room > kRecycledRoom) return;  // kept until the overlay goes
  if (freeNames_.size() <= room) freeNames_.resize(room + 1);
  freeNames_[room].push_back(name);
}

std::string OverlayFileSystem::Paths::PathOf(std::uint32_t at) const {
  const Entry& entry = entries_[at];
  std::string name(NameOf(entry));
  if (entry.directory == kNone) return name;
  const Entry& directory = entries_[entry.directory];
  if (directory.directory == kNone && NameOf(directory) == ".") return name;
  return ChildOf(PathOf(entry.directory), name);
}

void OverlayFileSystem::Hide(std::string_view key) {
  Entry& entry = paths_[paths_.Intern(key)];
  entry.put = Put::Nothing;
  entry.hidden = true;
}

FsResult<std::unique_ptr<ReadableFile>> OverlayFileSystem::OpenForReading(const std::string& path,
                                                                          FileKinds kinds) {
  bool gone = false;
  const Entry* node = Find(Key(path), gone);
  if (node && node->put == Put::Directory) return std::make_error_code(std::errc::is_a_directory);
  if (node) return real_.OpenForReading(paths_.PathOf(node->origin), kinds);
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
  const Entry* node = Find(key, gone);
  if (node && node->put != Put::Directory) return std::make_error_code(std::errc::not_a_directory);
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
  const Entry* node = Find(Key(path), gone);
  if (node && node->put == Put::Directory) return PathStatus{{}, EntryType::Directory};
  if (node) return real_.StatusOf(paths_.PathOf(node->origin), SymbolicLinks::NotFollowed);
  if (gone) return Missing();
  if (std::error_code error = AncestorsRefuse(Key(path))) return error;
  return real_.StatusOf(path, links);
}

std::error_code OverlayFileSystem::AncestorsRefuse(std::string_view key) const {
  const Split split = SplitKey(key);
  bool whole = false;
  // The nearest directory above that has an entry, then those above it; a
  // root answers for itself, "." never does.
  const std::string_view above = split.top ? key : split.directory;
  if (above.empty()) return {};
  for (std::uint32_t at = paths_.Resolve(above, whole); at != kNone; at = paths_[at].directory) {
    const Entry& entry = paths_[at];
    if (entry.directory == kNone && Paths::NameOf(entry) == ".") break;
    if (entry.put == Put::Directory) return {};
    if (entry.put == Put::File) {
#ifdef _WIN32
      return Missing();  // Windows finds no path below a file
#else
      return std::make_error_code(std::errc::not_a_directory);
#endif
    }
    if (entry.hidden) return Missing();
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
  const Entry* node = Find(fromKey, gone);
  // Only files move here; a directory's contents would not follow it.
  if (source->type == EntryType::Directory) {
    return std::make_error_code(std::errc::operation_not_supported);
  }
  // A name that only this overlay gave needs no hiding once it is gone.
  const bool hide = !node || real_.StatusOf(fromKey, SymbolicLinks::NotFollowed).ok();
  const std::uint32_t left = paths_.Intern(fromKey), arrived = paths_.Intern(toKey);
  const std::uint32_t origin = node ? paths_[left].origin : left;
  paths_[left].put = Put::Nothing;
  if (hide) paths_[left].hidden = true;
  if (origin == arrived) {  // back where it really is
    paths_[arrived].put = Put::Nothing;
    paths_[arrived].hidden = false;
  } else {
    paths_[arrived].put = Put::File;
    paths_[arrived].origin = origin;
  }
  paths_.DropIdle(left);
  paths_.DropIdle(arrived);
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
  paths_[paths_.Intern(key)].put = Put::Directory;
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
  Hide(key);
  return {};
}

std::error_code OverlayFileSystem::RemoveFile(const std::string& path) {
  const std::string key = Key(path);
  FsResult<PathStatus> status = StatusOf(key, SymbolicLinks::NotFollowed);
  if (!status.ok()) return status.error();
  if (status->type == EntryType::Directory) return std::make_error_code(std::errc::is_a_directory);
  if (std::error_code error = CheckParent(key)) return error;
  Hide(key);
  return {};
}

std::error_code OverlayFileSystem::CheckWritable(const std::string& path) {
  bool gone = false;
  const Entry* node = Find(Key(path), gone);
  if (gone) return Missing();
  if (node && node->put == Put::Directory) return {};  // made here, by this program
  return real_.CheckWritable(node ? paths_.PathOf(node->origin) : path);
}

std::unique_ptr<ReadAhead> OverlayFileSystem::StartReadAhead() {
  return real_.StartReadAhead();
}

std::map<std::string, std::string> OverlayFileSystem::MovedFiles() const {
  std::map<std::string, std::string> moved;
  for (std::uint32_t at = 0; at < paths_.End(); ++at) {
    if (paths_[at].put == Put::File) moved[paths_.PathOf(paths_[at].origin)] = paths_.PathOf(at);
  }
  return moved;
}

}  // namespace tessaly
