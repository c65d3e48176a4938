#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "core/PictureInfo.h"
#include "core/ReadableFile.h"
#include "core/RenameOptions.h"

namespace tessaly {

// Why a file could not be read as a picture. A header that simply is not a
// JPEG/Exif header is no failure: it comes back with headerAccepted false.
enum class ReadFailure {
  None,
  CannotOpen,       // the file could not be opened
  CannotRead,       // the file could be opened but a read failed
  ReadBeyondLimit,  // the entries reach past the first 32767 bytes
  TooManyEntries,   // IFD0 claims 32768 entries or more
  ValueTooLarge,    // a date, maker or model offset points past byte 32767
  CountTooLarge,    // a maker or model length above 32767
  StringTooFar,     // a date, maker or model string starts past byte 28767
};

// A short English description of the reason, for messages and reports.
std::string_view DescribeReadFailure(ReadFailure failure);

struct ReadResult {
  ReadFailure failure = ReadFailure::None;
  std::error_code systemError;           // set for CannotOpen and CannotRead
  PictureInfo info;                      // headerAccepted is false whenever failure is set
  std::optional<PathStatus> fileStatus;  // the file's as it was opened, when known
  std::uint64_t startHash = 0;           // HashOfFileStart, for an accepted header

  bool ok() const { return failure == ReadFailure::None; }
  // The reason in words, with the system's own message where there is one.
  std::string Reason() const;
};

// Reads the start of the picture in `file` and takes from it the date and
// time, the maker and the model.
ReadResult ReadPictureInfo(ReadableFile& file);

// Keeps the maker's and the model's texts only where `asked` asks for them.
void KeepAskedTexts(PictureInfo& info, const RenameOptions& asked);

}  // namespace tessaly
