#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace tessaly {

// A text file written line by line, each line handed to the operating system
// at once: whatever ends the process afterwards, every line written so far is
// in the file.
class TextFile {
 public:
  TextFile() = default;
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Creates the file, or empties it if it exists.
  std::error_code Create(const std::string& path);
  // Writes `line` as it stands (the caller adds the line end).
  std::error_code Write(std::string_view line);
  std::error_code Close();
  bool IsOpen() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace tessaly
