#include "engine/WriteAheadFile.h"

namespace tessaly {

std::error_code WriteAheadFile::WriteAhead(std::string_view line) {
  lengthBeforeLine_ = file_->Length();
  return file_->Append(line);
}

std::error_code WriteAheadFile::TakeBack() {
  return file_->Truncate(lengthBeforeLine_);
}

}  // namespace tessaly
