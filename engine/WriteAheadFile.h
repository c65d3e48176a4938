#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "engine/FrontEnd.h"
#include "platform/FileSystem.h"

namespace tessaly {

// A file of lines, each written ahead of the change on disk that it names
// and taken back when that change does not happen, so that after a kill at
// most the last line names a change that was not made. The rename list and
// the journal are such files; what each is called in its messages, and the
// problem its failures are, come with it.
class WriteAheadFile {
 public:
  struct Words {
    std::string_view name;     // "rename list"
    std::string_view line;     // one of its lines: "line"
    std::string_view notDone;  // of a change that did not happen: "was not renamed"
    ProblemKind failure;       // what a line that cannot be written or taken back is
  };

  explicit WriteAheadFile(Words words) : words_(words) {}

  // Writes `line` (its line break included) at the end.
  std::error_code WriteAhead(std::string_view line) {
    lengthBeforeLine_ = file_->Length();
    return file_->Append(line);
  }
  // Takes back the line written last, whose change did not happen.
  std::error_code TakeBack() { return file_->Truncate(lengthBeforeLine_); }
  const std::string& Path() const { return path_; }
  const Words& Named() const { return words_; }

 protected:
  std::unique_ptr<AppendFile> file_;
  std::string path_;

 private:
  Words words_;
  std::uint64_t lengthBeforeLine_ = 0;
};

}  // namespace tessaly
