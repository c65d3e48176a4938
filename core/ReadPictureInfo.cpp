#include "core/ReadPictureInfo.h"

#include <algorithm>
#include <cstdint>

#include "core/ByteCursor.h"

namespace tessaly {
namespace {

constexpr std::uint16_t kTagDateTime = 0x0132;
constexpr std::uint16_t kTagMake = 0x010F;
constexpr std::uint16_t kTagModel = 0x0110;
constexpr std::uint16_t kTagDateTimeOriginal = 0x9003;

// Exif offsets count from the TIFF header, which starts at file offset 12.
constexpr std::int64_t kTiffStart = 12;
// The largest value whose position, 12 + value, stays within the limit.
constexpr std::uint32_t kLargestValue = ByteCursor::kLimit - kTiffStart;
constexpr std::uint32_t kLargestCount = ByteCursor::kLimit;
// How far the reader goes past the furthest string, and how far the scan for
// DateTimeOriginal looks.
constexpr std::int64_t kReadOn = 4000;
constexpr std::int64_t kScanEnd = 4000;

ReadResult Failed(ReadFailure failure, std::error_code error = {}) {
  ReadResult result;
  result.failure = failure;
  result.systemError = error;
  return result;
}

ReadResult Rejected() {
  return ReadResult{};
}

// The counted string at `position`, without its terminating byte, ending
// early at the first NUL.
std::string CountedText(const ByteCursor& cursor, std::int64_t position, std::uint32_t count) {
  std::string text;
  for (std::int64_t k = 0; k + 1 < static_cast<std::int64_t>(count); ++k) {
    std::uint8_t b = cursor.At(position + k);
    if (b == 0) break;
    text.push_back(static_cast<char>(b));
  }
  return text;
}

std::string Bytes(const ByteCursor& cursor, std::int64_t position, int length) {
  std::string text(static_cast<std::size_t>(length), '\0');
  for (int k = 0; k < length; ++k) {
    text[static_cast<std::size_t>(k)] = static_cast<char>(cursor.At(position + k));
  }
  return text;
}

ReadFailure ReadTo(ByteCursor& cursor, std::int64_t count) {
  if (count > ByteCursor::kLimit) return ReadFailure::ReadBeyondLimit;
  switch (cursor.ReadTo(static_cast<int>(count))) {
    case ByteCursor::Status::Ok:
      return ReadFailure::None;
    case ByteCursor::Status::BeyondLimit:
      return ReadFailure::ReadBeyondLimit;
    case ByteCursor::Status::ReadFailed:
      return ReadFailure::CannotRead;
  }
  return ReadFailure::CannotRead;
}

}  // namespace

std::string_view DescribeReadFailure(ReadFailure failure) {
  switch (failure) {
    case ReadFailure::None:
      return "read";
    case ReadFailure::CannotOpen:
      return "cannot be opened";
    case ReadFailure::CannotRead:
      return "cannot be read";
    case ReadFailure::ReadBeyondLimit:
      return "header entries reach past byte 32767";
    case ReadFailure::TooManyEntries:
      return "header claims 32768 entries or more";
    case ReadFailure::ValueTooLarge:
      return "header points past byte 32767";
    case ReadFailure::CountTooLarge:
      return "maker or model text longer than 32767 bytes";
    case ReadFailure::StringTooFar:
      return "header text starts past byte 28767";
  }
  return "cannot be read";
}

std::string ReadResult::Reason() const {
  std::string reason(DescribeReadFailure(failure));
  if (systemError) {
    reason += ": ";
    reason += systemError.message();
  }
  return reason;
}

ReadResult ReadPictureInfo(ReadableFile& file) {
  ByteCursor cursor(file);
  auto failedRead = [&](ReadFailure failure) {
    return Failed(failure, failure == ReadFailure::CannotRead ? cursor.Error() : std::error_code{});
  };

  // Offset 0-1: the start-of-image marker FF D8. A short file reads as 0.
  if (auto f = ReadTo(cursor, 1); f != ReadFailure::None) return failedRead(f);
  if (cursor.At(0) != 0xFF) return Rejected();
  if (auto f = ReadTo(cursor, 2); f != ReadFailure::None) return failedRead(f);
  if (cursor.At(1) != 0xD8) return Rejected();

  // Offset 2-5: marker and length of the first segment, not examined.
  // Offset 6-9: "Exif", exactly, in that letter case.
  if (auto f = ReadTo(cursor, 10); f != ReadFailure::None) return failedRead(f);
  if (cursor.At(6) != 'E' || cursor.At(7) != 'x' || cursor.At(8) != 'i' || cursor.At(9) != 'f') {
    return Rejected();
  }

  // Offset 10-11: pad. Offset 12-13: byte order, "II" or "MM".
  if (auto f = ReadTo(cursor, 14); f != ReadFailure::None) return failedRead(f);
  ByteOrder order;
  if (cursor.At(12) == 'I' && cursor.At(13) == 'I') {
    order = ByteOrder::LittleEndian;
  } else if (cursor.At(12) == 'M' && cursor.At(13) == 'M') {
    order = ByteOrder::BigEndian;
  } else {
    return Rejected();
  }

  // Offset 14-19: TIFF identifier and the offset of IFD0, not examined: IFD0
  // is taken to start at offset 20 whatever they say.
  // Offset 20-21: N, the number of IFD0 entries.
  if (auto f = ReadTo(cursor, 22); f != ReadFailure::None) return failedRead(f);
  std::uint16_t entryCount = cursor.U16(20, order);
  if (entryCount >= 0x8000) return Failed(ReadFailure::TooManyEntries);

  bool dateFound = false;
  std::int64_t datePosition = 0;
  std::int64_t makerPosition = 0;
  std::int64_t modelPosition = 0;
  std::uint32_t makerLength = 0;
  std::uint32_t modelLength = 0;
  bool makerInEntry = false;
  bool modelInEntry = false;

  // Offset 22 + 12 (i - 1), 12 bytes each: entry i.
  //   bytes 0-1 tag, 2-3 type (not examined), 4-7 count, 8-11 value.
  // The value is an offset from the TIFF header, except for a Make or Model
  // text of at most 4 bytes, which stands in the value field itself (as
  // short strings do in Exif). All N entries are read; a later entry with
  // the same tag wins.
  for (std::int64_t i = 0; i < entryCount; ++i) {
    std::int64_t entry = 22 + 12 * i;
    if (auto f = ReadTo(cursor, entry + 12); f != ReadFailure::None) return failedRead(f);
    std::uint16_t tag = cursor.U16(entry, order);
    if (tag != kTagDateTime && tag != kTagMake && tag != kTagModel) continue;
    std::uint32_t count = cursor.U32(entry + 4, order);
    bool inEntry = tag != kTagDateTime && count <= 4;
    std::uint32_t value = cursor.U32(entry + 8, order);
    if (!inEntry && value > kLargestValue) return Failed(ReadFailure::ValueTooLarge);
    std::int64_t position = inEntry ? entry + 8 : kTiffStart + value;
    if (tag == kTagDateTime) {
      datePosition = position;
      dateFound = true;
      continue;
    }
    if (count > kLargestCount) return Failed(ReadFailure::CountTooLarge);
    if (tag == kTagMake) {
      makerPosition = position;
      makerLength = count;
      makerInEntry = inEntry;
    } else {
      modelPosition = position;
      modelLength = count;
      modelInEntry = inEntry;
    }
  }

  // Read on to 4000 bytes past the furthest string found, whatever the
  // options say; a text in its entry has been read already.
  std::int64_t furthest =
      std::max({datePosition, makerInEntry ? 0 : makerPosition, modelInEntry ? 0 : modelPosition});
  if (furthest + kReadOn > ByteCursor::kLimit) return Failed(ReadFailure::StringTooFar);
  if (auto f = ReadTo(cursor, furthest + kReadOn); f != ReadFailure::None) return failedRead(f);

  ReadResult result;
  PictureInfo& info = result.info;
  if (modelPosition > 0) info.modelText = CountedText(cursor, modelPosition, modelLength);
  if (makerPosition > 0) info.makerText = CountedText(cursor, makerPosition, makerLength);

  // Without a DateTime entry, the first DateTimeOriginal tag among offsets 0
  // to 4000 is taken, wherever it stands and whatever its type and count say;
  // its value sits 8 bytes after the tag.
  if (!dateFound) {
    std::uint8_t first = order == ByteOrder::LittleEndian ? 0x03 : 0x90;
    std::uint8_t second = order == ByteOrder::LittleEndian ? 0x90 : 0x03;
    static_assert(kTagDateTimeOriginal == 0x9003);
    for (std::int64_t j = 0; j <= kScanEnd; ++j) {
      if (cursor.At(j) != first || cursor.At(j + 1) != second) continue;
      std::uint32_t value = cursor.U32(j + 8, order);
      if (value > kLargestValue) return Failed(ReadFailure::ValueTooLarge);
      datePosition = kTiffStart + value;
      dateFound = true;
      break;
    }
  }

  // The date string: YYYY:MM:DD at the position, a blank (not used), then
  // HH:MM:SS.
  if (dateFound) {
    info.dateText = Bytes(cursor, datePosition, 10);
    info.timeText = Bytes(cursor, datePosition + 11, 8);
  }
  info.headerAccepted = true;
  info.dateFound = dateFound;
  result.startHash = cursor.StartHash();
  return result;
}

void KeepAskedTexts(PictureInfo& info, const RenameOptions& asked) {
  if (!asked.modelPrefix) info.modelText.clear();
  if (!asked.makerPrefix) info.makerText.clear();
}

}  // namespace tessaly
