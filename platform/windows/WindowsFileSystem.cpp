#include <windows.h>
// The interface's own names, not the macros of the same names.
#undef CreateDirectory
#undef RemoveDirectory

#include <algorithm>
#include <cstring>

#include "platform/windows/WideText.h"
#include "platform/windows/WindowsError.h"
#include "platform/windows/WindowsFileSystem.h"

namespace tessaly {
namespace {

// Nanoseconds since 1970 from a FILETIME (100-nanosecond steps since 1601).
std::int64_t UnixNanoseconds(const FILETIME& time) {
  constexpr std::int64_t kFrom1601To1970 = 116444736000000000;
  std::int64_t ticks = static_cast<std::int64_t>(
      static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime);
  return (ticks - kFrom1601To1970) * 100;
}

// What the open `handle` is: type, size and identity (the volume's serial
// number and the file's index on it).
FsResult<PathStatus> StatusOfHandle(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle, &info)) return LastWindowsError();
  DWORD tag = 0;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    FILE_ATTRIBUTE_TAG_INFO tagInfo;
    if (GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tagInfo, sizeof tagInfo)) {
      tag = tagInfo.ReparseTag;
    } else {
      tag = 0x20000000;  // unknown: taken for a link, which is never followed
    }
  }
  PathStatus status;
  status.type = WindowsEntryType(info.dwFileAttributes, tag);
  status.size = static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
  status.device = info.dwVolumeSerialNumber;
  status.inode = static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
  status.modifiedNanoseconds = UnixNanoseconds(info.ftLastWriteTime);
  return status;
}

// A handle closed when it goes.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (ok()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

 private:
  HANDLE handle_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class WindowsFile final : public ReadableFile {
 public:
  WindowsFile(HANDLE handle, const PathStatus& status) : handle_(handle), status_(status) {}

  FsResult<std::size_t> Read(std::span<std::uint8_t> into) override {
    DWORD got = 0;
    DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(into.size(), 1u << 30));
    if (!ReadFile(handle_.get(), into.data(), wanted, &got, nullptr)) {
      if (GetLastError() == ERROR_BROKEN_PIPE) return std::size_t{0};  // a pipe's writer is gone
      return LastWindowsError();
    }
    return static_cast<std::size_t>(got);
  }
  std::optional<PathStatus> StatusAtOpen() const override { return status_; }
  FsResult<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override;

 private:
  Handle handle_;
  PathStatus status_;
};

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

FsResult<std::size_t> WindowsFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) {
  OVERLAPPED at = At(offset);
  DWORD got = 0;
  DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(into.size(), 1u << 30));
  if (!ReadFile(handle_.get(), into.data(), wanted, &got, &at)) {
    if (GetLastError() == ERROR_HANDLE_EOF) return std::size_t{0};
    return LastWindowsError();
  }
  return static_cast<std::size_t>(got);
}

class WindowsAppendFile final : public AppendFile {
 public:
  WindowsAppendFile(HANDLE handle, std::uint64_t length) : handle_(handle), length_(length) {}
  ~WindowsAppendFile() override { Close(); }
  WindowsAppendFile(const WindowsAppendFile&) = delete;
  WindowsAppendFile& operator=(const WindowsAppendFile&) = delete;

  FsResult<std::size_t> ReadAt(std::uint64_t offset, std::span<char> into) override {
    if (offset >= length_) return std::size_t{0};
    DWORD wanted =
        static_cast<DWORD>(std::min<std::uint64_t>({into.size(), length_ - offset, 1u << 30}));
    OVERLAPPED at = At(offset);
    DWORD got = 0;
    if (!ReadFile(handle_, into.data(), wanted, &got, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) return std::size_t{0};
      return LastWindowsError();
    }
    return static_cast<std::size_t>(got);
  }
  std::error_code Append(std::string_view text) override {
    while (!text.empty()) {
      OVERLAPPED at = At(length_);
      DWORD wrote = 0;
      DWORD size = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1u << 30));
      if (!WriteFile(handle_, text.data(), size, &wrote, &at)) return LastWindowsError();
      text.remove_prefix(wrote);
      length_ += wrote;
    }
    return {};
  }
  std::error_code Truncate(std::uint64_t length) override {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(length);
    if (!SetFileInformationByHandle(handle_, FileEndOfFileInfo, &end, sizeof end)) {
      return LastWindowsError();
    }
    length_ = length;
    return {};
  }
  std::uint64_t Length() const override { return length_; }
  std::error_code Close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return {};
    bool closed = CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
    return closed ? std::error_code() : LastWindowsError();
  }

 private:
  HANDLE handle_;
  std::uint64_t length_;
};

class WindowsDirectory final : public DirectoryCursor {
 public:
  // `first` is what FindFirstFileExW found; `handle` continues from it, or
  // is INVALID_HANDLE_VALUE for a directory without entries.
  WindowsDirectory(HANDLE handle, const WIN32_FIND_DATAW& first)
      : handle_(handle), found_(first), pending_(handle != INVALID_HANDLE_VALUE) {}
  ~WindowsDirectory() override {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  WindowsDirectory(const WindowsDirectory&) = delete;
  WindowsDirectory& operator=(const WindowsDirectory&) = delete;

  FsResult<bool> Next(DirectoryEntry& entry) override {
    if (!pending_) {
      if (handle_ == INVALID_HANDLE_VALUE) return false;
      if (!FindNextFileW(handle_, &found_)) {
        if (GetLastError() == ERROR_NO_MORE_FILES) return false;
        return LastWindowsError();
      }
    }
    pending_ = false;
    entry.name = Utf8FromWide(found_.cFileName);
    // dwReserved0 holds the reparse tag of a reparse point.
    entry.type = WindowsEntryType(found_.dwFileAttributes, found_.dwReserved0);
    entry.typeError.clear();
    entry.hidden = (found_.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    return true;
  }

 private:
  HANDLE handle_;
  WIN32_FIND_DATAW found_;
  bool pending_;
};

// The attributes of `path` itself (a link not followed), or the reason.
FsResult<DWORD> AttributesOf(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastWindowsError();
  return attributes;
}

// The directory that holds `path` (a wide path as WidePath gives it).
std::wstring ParentOf(const std::wstring& path) {
  std::size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? path : path.substr(0, slash);
}

// Fails with FsError::SymbolicLink when the directory that holds `path` is
// a link or a junction: a move never goes through one.
std::error_code CheckParentIsReal(const std::wstring& path) {
  FsResult<DWORD> attributes = AttributesOf(ParentOf(path));
  if (attributes.ok() && (attributes.value() & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return make_error_code(FsError::SymbolicLink);
  }
  return {};
}

std::error_code Move(const std::string& from, const std::string& to, DWORD flags) {
  FsResult<std::wstring> wideFrom = WidePath(from), wideTo = WidePath(to);
  if (!wideFrom.ok()) return wideFrom.error();
  if (!wideTo.ok()) return wideTo.error();
  if (std::error_code error = CheckParentIsReal(wideFrom.value())) return error;
  if (std::error_code error = CheckParentIsReal(wideTo.value())) return error;
  // Without MOVEFILE_REPLACE_EXISTING the file system itself refuses a
  // taken name (ERROR_ALREADY_EXISTS), in the same step as the rename.
  if (!MoveFileExW(wideFrom->c_str(), wideTo->c_str(), flags)) return LastWindowsError();
  return {};
}

}  // namespace

EntryType WindowsEntryType(unsigned long attributes, unsigned long reparseTag) {
  // Bit 29 of a reparse tag marks a name surrogate.
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && (reparseTag & 0x20000000) != 0) {
    return EntryType::Symlink;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryType::Directory;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return EntryType::Other;
  return EntryType::Regular;
}

FsResult<std::unique_ptr<ReadableFile>> WindowsFileSystem::OpenForReading(const std::string& path,
                                                                          FileKinds kinds) {
  FsResult<std::wstring> wide = WidePath(path);
  if (!wide.ok()) return wide.error();
  // Backup semantics let a directory open too, so that it is told apart
  // from a file that cannot be read.
  Handle handle(CreateFileW(wide->c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.ok()) return LastWindowsError();
  FsResult<PathStatus> status = StatusOfHandle(handle.get());
  if (!status.ok()) return status.error();
  if (status->type == EntryType::Directory ||
      (kinds == FileKinds::RegularOnly &&
       (status->type != EntryType::Regular || GetFileType(handle.get()) != FILE_TYPE_DISK))) {
    return make_error_code(FsError::NotRegularFile);
  }
  return std::unique_ptr<ReadableFile>(
      std::make_unique<WindowsFile>(handle.release(), status.value()));
}

FsResult<std::unique_ptr<AppendFile>> WindowsFileSystem::OpenAppendFile(const std::string& path,
                                                                        AppendMode) {
  FsResult<std::wstring> wide = WidePath(path);
  if (!wide.ok()) return wide.error();
  Handle handle(CreateFileW(wide->c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_ALWAYS, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle.ok()) {
    DWORD why = GetLastError();
    if (why == ERROR_SHARING_VIOLATION) return make_error_code(FsError::InUse);
    FsResult<DWORD> attributes = AttributesOf(wide.value());
    if (attributes.ok() && (attributes.value() & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      return make_error_code(FsError::NotRegularFile);
    }
    return WindowsError(why);
  }
  FsResult<PathStatus> status = StatusOfHandle(handle.get());
  if (!status.ok()) return status.error();
  if (status->type == EntryType::Symlink) return make_error_code(FsError::SymbolicLink);
  if (status->type != EntryType::Regular || GetFileType(handle.get()) != FILE_TYPE_DISK) {
    return make_error_code(FsError::NotRegularFile);
  }
  return std::unique_ptr<AppendFile>(
      std::make_unique<WindowsAppendFile>(handle.release(), status->size));
}

FsResult<std::unique_ptr<DirectoryCursor>> WindowsFileSystem::OpenDirectory(
    const std::string& path) {
  FsResult<std::wstring> wide = WidePath(path);
  if (!wide.ok()) return wide.error();
  std::wstring pattern = wide.value();
  if (pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW first;
  HANDLE handle = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &first, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_NOT_FOUND) {
    return LastWindowsError();
  }
  return std::unique_ptr<DirectoryCursor>(std::make_unique<WindowsDirectory>(handle, first));
}

FsResult<PathStatus> WindowsFileSystem::StatusOf(const std::string& path, SymbolicLinks links) {
  FsResult<std::wstring> wide = WidePath(path);
  if (!wide.ok()) return wide.error();
  // Asking for the attributes alone opens even a file that another program
  // holds without sharing.
  DWORD flags = FILE_FLAG_BACKUP_SEMANTICS |
                (links == SymbolicLinks::Follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  Handle handle(CreateFileW(wide->c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                            flags, nullptr));
  if (!handle.ok()) return LastWindowsError();
  return StatusOfHandle(handle.get());
}

std::error_code WindowsFileSystem::MoveNoReplace(const std::string& from, const std::string& to) {
  return Move(from, to, 0);
}

std::error_code WindowsFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  return Move(from, to, MOVEFILE_REPLACE_EXISTING);
}

std::error_code WindowsFileSystem::CreateDirectory(const std::string& path) {
  FsResult<std::wstring> wide = WidePath(path);
  if (!wide.ok()) return wide.error();
  if (CreateDirectoryW(wide->c_str(), nullptr)) return {};
  DWORD why = GetLastError();
  std::error_code error = WindowsError(why);
  if (why != ERROR_ALREADY_EXISTS) return error;
  FsResult<DWORD> attributes = AttributesOf(wide.value());
  if (!attributes.ok()) return error;
  if ((attributes.value() & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return make_error_code(FsError::SymbolicLink);
  }
  if ((attributes.value() & FILE_ATTRIBUTE_DIRECTORY) != 0) return {};
  return std::make_error_code(std::errc::not_a_directory);
}

std::error_code WindowsFileSystem::RemoveDirectory(const std::string& path) {
  FsResult<std::wstring> wide = WidePath(path);
  if (!wide.ok()) return wide.error();
  // RemoveDirectoryW would remove a junction itself, not refuse it.
  FsResult<DWORD> attributes = AttributesOf(wide.value());
  if (!attributes.ok()) return attributes.error();
  if ((attributes.value() & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return make_error_code(FsError::SymbolicLink);
  }
  return RemoveDirectoryW(wide->c_str()) ? std::error_code() : LastWindowsError();
}

std::error_code WindowsFileSystem::RemoveFile(const std::string& path) {
  FsResult<std::wstring> wide = WidePath(path);
  if (!wide.ok()) return wide.error();
  return DeleteFileW(wide->c_str()) ? std::error_code() : LastWindowsError();
}

std::error_code WindowsFileSystem::CheckWritable(const std::string& path) {
  FsResult<std::wstring> wide = WidePath(path);
  if (!wide.ok()) return wide.error();
  FsResult<DWORD> attributes = AttributesOf(wide.value());
  if (!attributes.ok()) return attributes.error();
  // Windows keeps a file's own refusal in its read-only attribute; what a
  // directory's access list allows shows only when a name is made.
  bool readOnlyFile = (attributes.value() & FILE_ATTRIBUTE_READONLY) != 0 &&
                      (attributes.value() & FILE_ATTRIBUTE_DIRECTORY) == 0;
  return readOnlyFile ? std::make_error_code(std::errc::permission_denied) : std::error_code();
}

}  // namespace tessaly
