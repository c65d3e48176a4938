#include "engine/Journal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>

#include "core/ByteCursor.h"
#include "core/Path.h"
#include "engine/MakeDirectories.h"
#include "text/Json.h"

namespace tessaly {
namespace {

constexpr int kVersion = 1;

const char* KindName(JournalRecord::Kind kind) {
  switch (kind) {
    case JournalRecord::Kind::Rename:
      return "rename";
    case JournalRecord::Kind::Move:
      return "move";
    case JournalRecord::Kind::MakeDirectory:
      return "mkdir";
  }
  return "";
}

// One line as its keys and values: strings decoded, numbers and true/false
// as they are written. Our own lines are flat objects; anything else is not
// read.
std::optional<std::map<std::string, std::string>> ParseFlatObject(std::string_view text) {
  std::map<std::string, std::string> fields;
  if (text.size() < 2 || text.front() != '{' || text.back() != '}') return std::nullopt;
  text = text.substr(1, text.size() - 2);
  while (!text.empty()) {
    std::optional<std::string> key = TakeJsonString(text);
    if (!key || text.empty() || text[0] != ':') return std::nullopt;
    text.remove_prefix(1);
    std::optional<std::string> value;
    if (!text.empty() && text[0] == '"') {
      value = TakeJsonString(text);
    } else {
      std::size_t end = std::min(text.find(','), text.size());
      value = std::string(text.substr(0, end));
      text.remove_prefix(end);
    }
    if (!value || !fields.emplace(std::move(*key), std::move(*value)).second) return std::nullopt;
    if (!text.empty() && text[0] != ',') return std::nullopt;
    if (!text.empty()) text.remove_prefix(1);
  }
  return fields;
}

template <typename Number>
bool ReadNumber(const std::map<std::string, std::string>& fields, const char* key, Number& out) {
  auto it = fields.find(key);
  if (it == fields.end()) return false;
  const std::string& text = it->second;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

std::optional<JournalRecord> ParseRecord(std::string_view line) {
  auto fields = ParseFlatObject(line);
  if (!fields) return std::nullopt;
  JournalRecord record;
  const std::string& kind = (*fields)["change"];
  if (kind == "mkdir") {
    record.kind = JournalRecord::Kind::MakeDirectory;
    auto path = fields->find("path");
    if (path == fields->end() || path->second.empty()) return std::nullopt;
    record.from = path->second;
    return record;
  }
  if (kind != "rename" && kind != "move") return std::nullopt;
  record.kind = kind == "rename" ? JournalRecord::Kind::Rename : JournalRecord::Kind::Move;
  record.from = (*fields)["from"];
  record.to = (*fields)["to"];
  record.replaced = (*fields)["replaced"] == "true";
  RecordedIdentity& id = record.identity;
  if (record.from.empty() || record.to.empty() || !ReadNumber(*fields, "device", id.device) ||
      !ReadNumber(*fields, "inode", id.inode) || !ReadNumber(*fields, "size", id.size) ||
      !ReadNumber(*fields, "mtime_ns", id.modifiedNanoseconds) ||
      (fields->count("start_hash") > 0 && !ReadNumber(*fields, "start_hash", id.startHash))) {
    return std::nullopt;
  }
  return record;
}

// The local time of `when`, to the second, then its distance from UTC as
// "+hhmm" (strftime's own %z gives a zone's name on Windows).
std::string LocalTimeText(std::chrono::system_clock::time_point when) {
  std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  if (const std::tm* t = std::localtime(&seconds)) local = *t;
  char text[40];
  std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  std::string result(text, n);
  std::tm utc{};
  if (const std::tm* t = std::gmtime(&seconds)) utc = *t;
  utc.tm_isdst = local.tm_isdst;  // read back as a local time: `seconds` less the offset
  long minutes = std::lround(std::difftime(seconds, std::mktime(&utc)) / 60);
  std::snprintf(text, sizeof text, "%c%02ld%02ld", minutes < 0 ? '-' : '+', std::labs(minutes) / 60,
                std::labs(minutes) % 60);
  return result + text;
}

// The names of the journals in `directory`, newest first.
std::vector<std::string> JournalNamesNewestFirst(FileSystem& fileSystem,
                                                 const std::string& directory) {
  std::vector<std::string> names;
  FsResult<std::unique_ptr<DirectoryCursor>> cursor = fileSystem.OpenDirectory(directory);
  if (!cursor.ok()) return names;
  for (DirectoryEntry entry;;) {
    FsResult<bool> next = cursor.value()->Next(entry);
    if (!next.ok() || !next.value()) break;
    if (entry.type == EntryType::Regular && entry.name.ends_with(".jsonl")) {
      names.push_back(entry.name);
    }
  }
  std::sort(names.begin(), names.end(), std::greater<>());
  return names;
}

// Whether the journal at `path` holds anything after its first line: a run
// killed as it started leaves a file that is empty, or a header followed by
// nothing but the NUL bytes of its reserved room.
bool RecordsAChange(FileSystem& fileSystem, const std::string& path) {
  FsResult<std::unique_ptr<ReadableFile>> file =
      fileSystem.OpenForReading(path, FileKinds::RegularOnly);
  if (!file.ok()) return true;  // not ours to pass over: undo says why it cannot be read
  std::uint8_t block[4096];
  bool headerEnded = false;
  for (;;) {
    FsResult<std::size_t> n = file.value()->Read(block);
    if (!n.ok()) return true;
    if (n.value() == 0) return false;
    for (std::uint8_t b : std::span(block, n.value())) {
      if (headerEnded && b != 0) return true;
      headerEnded = headerEnded || b == '\n';
      if (!headerEnded && b == 0) return false;  // no header: only reserved room
    }
  }
}

// Removes the journals that record no change, newest first, up to the first
// that does: what runs killed as they started leave behind. A journal that a
// run still holds is left to it.
void RemoveAbandonedJournals(FileSystem& fileSystem, const std::string& directory) {
  for (const std::string& name : JournalNamesNewestFirst(fileSystem, directory)) {
    std::string path = JoinPath(directory, name);
    if (RecordsAChange(fileSystem, path)) return;
    FsResult<std::unique_ptr<AppendFile>> held =
        fileSystem.OpenAppendFile(path, AppendMode::Written);
    if (!held.ok()) continue;
    const bool records = RecordsAChange(fileSystem, path);  // again, now that none can write it
    held.value()->Close();
    if (records) return;
    fileSystem.RemoveFile(path);
  }
}

}  // namespace

std::string FormatJournalHeader(std::string_view walkedDirectory, std::string_view started) {
  JsonObjectWriter header(InvalidBytes::Escape);
  header.Text("journal", "tessaly");
  header.Integer("version", kVersion);
  header.Text("started", started);
  header.Text("directory", walkedDirectory);
  return header.Finish();
}

std::string FormatJournalRecord(const JournalRecord& record) {
  JsonObjectWriter line(InvalidBytes::Escape);
  line.Text("change", KindName(record.kind));
  if (record.kind == JournalRecord::Kind::MakeDirectory) {
    line.Text("path", record.from);
    return line.Finish();
  }
  line.Text("from", record.from);
  line.Text("to", record.to);
  if (record.replaced) line.Flag("replaced", true);
  line.Integer("device", record.identity.device);
  line.Integer("inode", record.identity.inode);
  line.Integer("size", record.identity.size);
  line.Integer("mtime_ns", record.identity.modifiedNanoseconds);
  if (record.identity.startHash != 0) line.Integer("start_hash", record.identity.startHash);
  return line.Finish();
}

std::string JournalLine(const JournalRecord& record) {
  return FormatJournalRecord(record) + '\n';
}

std::string JournalName(std::chrono::system_clock::time_point started) {
  std::time_t seconds = std::chrono::system_clock::to_time_t(started);
  std::tm utc{};
  if (const std::tm* t = std::gmtime(&seconds)) utc = *t;
  char text[32];
  return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d-%H%M%SZ", &utc));
}

std::error_code Journal::Create(FileSystem& fileSystem, const std::string& directory,
                                std::chrono::system_clock::time_point started,
                                std::string_view walkedDirectory) {
  fileSystem_ = &fileSystem;
  if (std::error_code error = MakeDirectories(fileSystem, directory)) return error;
  RemoveAbandonedJournals(fileSystem, directory);
  const std::string stem = JoinPath(directory, JournalName(started));
  for (int k = 1; k < 1000; ++k) {
    char suffix[8] = "";
    if (k > 1) std::snprintf(suffix, sizeof suffix, "_%03d", k);
    path_ = stem + suffix + ".jsonl";
    FsResult<std::unique_ptr<AppendFile>> file =
        fileSystem.OpenAppendFile(path_, AppendMode::Mapped);
    if (!file.ok() && file.error() == FsError::InUse) continue;  // a run of the same second
    if (!file.ok()) return file.error();
    if (file.value()->Length() > 0) {
      file.value()->Close();
      continue;
    }
    file_ = std::move(file.value());
    std::error_code error =
        file_->Append(FormatJournalHeader(walkedDirectory, LocalTimeText(started)) + "\n");
    headerLength_ = file_->Length();
    return error;
  }
  return std::make_error_code(std::errc::file_exists);
}

std::error_code Journal::Close() {
  if (!file_) return {};
  const bool kept = file_->Length() > headerLength_;
  std::error_code error = file_->Close();
  file_.reset();
  if (!kept && !error) {
    error = fileSystem_->RemoveFile(path_);
    if (!error) path_.clear();
  }
  return error;
}

JournalReadFailure JournalReader::Fail(JournalReadFailure failure, std::string reason) {
  reason_ = std::move(reason);
  return failure;
}

JournalReadFailure JournalReader::CheckLine(std::string_view line, std::uint64_t number) {
  if (number > 1) {
    if (ParseRecord(line)) return JournalReadFailure::None;
    return Fail(JournalReadFailure::DamagedRecord,
                "line " + std::to_string(number) + " is no journal record");
  }
  auto header = ParseFlatObject(line);
  int version = 0;
  if (!header || (*header)["journal"] != "tessaly" || !ReadNumber(*header, "version", version) ||
      version < 1) {
    return Fail(JournalReadFailure::NotAJournal, "not a Tessaly journal");
  }
  if (version > kVersion) {
    return Fail(JournalReadFailure::NewerVersion,
                "written by a later Tessaly (journal version " + std::to_string(version) + ")");
  }
  walkedDirectory_ = (*header)["directory"];
  return JournalReadFailure::None;
}

JournalReadFailure JournalReader::Open(FileSystem& fileSystem, const std::string& path) {
  FsResult<std::unique_ptr<ReadableFile>> file =
      fileSystem.OpenForReading(path, FileKinds::RegularOnly);
  if (!file.ok()) return Fail(JournalReadFailure::CannotRead, file.error().message());
  file_ = std::move(file.value());
  std::string line;
  std::uint64_t number = 0, offset = 0;
  bool reserved = false;  // in the NUL bytes that a kill leaves after the last line
  std::uint8_t block[65536];
  for (;;) {
    FsResult<std::size_t> n = file_->Read(block);
    if (!n.ok()) return Fail(JournalReadFailure::CannotRead, n.error().message());
    if (n.value() == 0) break;
    for (std::uint8_t b : std::span(block, n.value())) {
      ++offset;
      if (reserved || b == 0) {  // a line of ours holds no NUL byte: a kill cut it there
        if (b != 0) return Fail(JournalReadFailure::DamagedRecord, "lines after NUL bytes");
        reserved = true;
      } else if (b != '\n') {
        if (line.size() == kLongestRecord) {
          return Fail(JournalReadFailure::DamagedRecord,
                      "line " + std::to_string(number + 1) + " is longer than any record");
        }
        line += static_cast<char>(b);
      } else {
        if (JournalReadFailure f = CheckLine(line, ++number); f != JournalReadFailure::None) {
          return f;
        }
        if (number == 1) recordsStart_ = offset;
        windowStart_ = offset;  // the end of the last whole line, for now
        line.clear();
      }
    }
  }
  // A line cut short by a kill while it was written, maybe followed by the
  // NUL bytes of the room reserved for it, is not used.
  line.erase(line.find_last_not_of('\0') + 1);
  endsMidRecord_ = !line.empty();
  if (number == 0) return Fail(JournalReadFailure::NotAJournal, "not a Tessaly journal");
  recordCount_ = number - 1;
  return JournalReadFailure::None;
}

bool JournalReader::Previous(JournalRecord& record) {
  // window_ holds the bytes from windowStart_ to the end of the line wanted,
  // that line's break included.
  for (;;) {
    std::size_t end = window_.size();
    std::size_t start = end < 2 ? std::string::npos : window_.rfind('\n', end - 2);
    if (start != std::string::npos || windowStart_ == recordsStart_) {
      start = start == std::string::npos ? 0 : start + 1;
      if (start == end) return false;
      std::optional<JournalRecord> parsed =
          ParseRecord(std::string_view(window_).substr(start, end - start - 1));
      window_.resize(start);
      if (!parsed) return false;  // changed since it was checked
      record = std::move(*parsed);
      return true;
    }
    // Another block from before the window.
    const std::uint64_t from =
        std::max(recordsStart_, windowStart_ - std::min<std::uint64_t>(windowStart_, 65536));
    std::string before(windowStart_ - from, '\0');
    FsResult<std::size_t> n = file_->ReadAt(
        from, std::span(reinterpret_cast<std::uint8_t*>(before.data()), before.size()));
    if (!n.ok() || n.value() != before.size()) {
      readFailed_ = true;
      return false;
    }
    window_.insert(0, before);
    windowStart_ = from;
  }
}

JournalContents ReadJournal(FileSystem& fileSystem, const std::string& path) {
  JournalContents contents;
  JournalReader reader;
  contents.failure = reader.Open(fileSystem, path);
  contents.reason = reader.Reason();
  if (contents.failure != JournalReadFailure::None) return contents;
  contents.walkedDirectory = reader.WalkedDirectory();
  contents.endsMidRecord = reader.EndsMidRecord();
  for (JournalRecord record; reader.Previous(record);)
    contents.records.push_back(std::move(record));
  std::reverse(contents.records.begin(), contents.records.end());
  return contents;
}

std::string LatestJournal(FileSystem& fileSystem, const std::string& directory) {
  for (const std::string& name : JournalNamesNewestFirst(fileSystem, directory)) {
    std::string path = JoinPath(directory, name);
    if (RecordsAChange(fileSystem, path)) return path;
  }
  return {};
}

std::optional<JournalContents> LastRecordOfAKilledRun(FileSystem& fileSystem,
                                                      const std::string& path) {
  FsResult<std::unique_ptr<AppendFile>> file = HoldJournal(fileSystem, path);
  if (!file.ok() || !file.value()) return std::nullopt;
  AppendFile& journal = *file.value();
  // Back through the NUL bytes of the reserved room to where the lines end.
  std::string block(65536, '\0');
  std::uint64_t end = journal.Length();
  for (std::uint64_t start = end; start > 0; end = start) {
    start = end - std::min<std::uint64_t>(end, block.size());
    FsResult<std::size_t> n = journal.ReadAt(start, std::span(block).first(end - start));
    if (!n.ok()) return std::nullopt;
    std::size_t last = std::string_view(block.data(), n.value()).find_last_not_of('\0');
    if (last != std::string::npos) {
      end = start + last + 1;
      break;
    }
  }
  if (end == journal.Length()) return std::nullopt;  // closed, not killed
  const std::uint64_t start = end - std::min<std::uint64_t>(end, block.size());
  FsResult<std::size_t> tailRead = journal.ReadAt(start, std::span(block).first(end - start));
  std::string head(4096, '\0');
  FsResult<std::size_t> headRead = journal.ReadAt(0, head);
  if (!tailRead.ok() || !headRead.ok()) return std::nullopt;
  // A line cut short by the kill is passed over.
  std::string_view tail(block.data(), tailRead.value());
  tail = tail.substr(0, tail.rfind('\n') + 1);
  const std::size_t lastStart = tail.rfind('\n', tail.size() < 2 ? 0 : tail.size() - 2);
  const std::size_t headerEnd = head.find('\n');
  if (tail.size() < 2 || lastStart == std::string::npos || headerEnd == std::string::npos) {
    return std::nullopt;
  }
  auto header = ParseFlatObject(std::string_view(head).substr(0, headerEnd));
  std::optional<JournalRecord> record =
      ParseRecord(tail.substr(lastStart + 1, tail.size() - lastStart - 2));
  if (!header || (*header)["journal"] != "tessaly" || !record) return std::nullopt;
  JournalContents contents;
  contents.walkedDirectory = (*header)["directory"];
  contents.records.push_back(std::move(*record));
  return contents;
}

FsResult<std::unique_ptr<AppendFile>> HoldJournal(FileSystem& fileSystem, const std::string& path) {
  FsResult<PathStatus> status = fileSystem.StatusOf(path, SymbolicLinks::NotFollowed);
  if (!status.ok()) return status.error();
  if (status->type != EntryType::Regular) return make_error_code(FsError::NotRegularFile);
  FsResult<std::unique_ptr<AppendFile>> held = fileSystem.OpenAppendFile(path, AppendMode::Written);
  if (!held.ok() && held.error() != FsError::InUse) return std::unique_ptr<AppendFile>();
  return held;
}

std::uint64_t HashOfFileStart(FileSystem& fileSystem, const std::string& path) {
  FsResult<std::unique_ptr<ReadableFile>> file =
      fileSystem.OpenForReading(path, FileKinds::RegularOnly);
  if (!file.ok()) return 0;
  std::vector<std::uint8_t> start(ByteCursor::kFirstBlock);
  std::size_t filled = 0;
  while (filled < start.size()) {
    FsResult<std::size_t> n = file.value()->Read(std::span(start).subspan(filled));
    if (!n.ok()) return 0;
    if (n.value() == 0) break;
    filled += n.value();
  }
  return HashOfFileStart(std::span(start).first(filled));
}

}  // namespace tessaly
