#include "platform/TextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tessaly {

TextFile::~TextFile() {
  Close();
}

std::error_code TextFile::Create(const std::string& path) {
  Close();
  fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd_ < 0) return {errno, std::generic_category()};
  return {};
}

std::error_code TextFile::Write(std::string_view line) {
  if (fd_ < 0) return std::make_error_code(std::errc::bad_file_descriptor);
  while (!line.empty()) {
    ssize_t n = write(fd_, line.data(), line.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return {errno, std::generic_category()};
    }
    line.remove_prefix(static_cast<std::size_t>(n));
  }
  return {};
}

std::error_code TextFile::Close() {
  if (fd_ < 0) return {};
  int rc = close(fd_);
  fd_ = -1;
  if (rc != 0 && errno != EINTR) return {errno, std::generic_category()};
  return {};
}

}  // namespace tessaly
