#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <system_error>

#include "core/ReadableFile.h"

namespace tessaly {

enum class ByteOrder { LittleEndian, BigEndian };

// A hash (64-bit FNV-1a) of the first ByteCursor::kFirstBlock bytes of a
// file, or of all of a shorter one, given at least those bytes: what tells a
// picture again where its file system numbers files anew at every mount.
std::uint64_t HashOfFileStart(std::span<const std::uint8_t> bytes);

// The one window through which the header reader sees a file's bytes.
//
// Logically the reader takes a file forward, byte by byte, from offset 0, and
// never more than the first kLimit bytes. The cursor counts what has been
// read so far (ReadCount) and answers every offset: with the file's byte when
// that byte has been read, and with 0 for a byte not read yet, one past the
// end of a short file, or beyond the limit. No offset is ever out of range.
//
// Physically the file is read in blocks: a first block that covers the
// header of nearly every camera picture, and at most one further block up to
// the limit.
class ByteCursor {
 public:
  static constexpr int kLimit = 32767;
  static constexpr std::size_t kFirstBlock = 8192;

  explicit ByteCursor(ReadableFile& file) : file_(file) {}
  ByteCursor(const ByteCursor&) = delete;
  ByteCursor& operator=(const ByteCursor&) = delete;

  enum class Status { Ok, BeyondLimit, ReadFailed };

  // Reads on until ReadCount is `count`; reads nothing when it already is at
  // least that. BeyondLimit when `count` passes kLimit (nothing is read then);
  // ReadFailed when the file reports an error (see Error()).
  Status ReadTo(int count);

  int ReadCount() const { return readCount_; }
  // HashOfFileStart of the bytes fetched: the first block is always fetched
  // whole, or to the end of a shorter file.
  std::uint64_t StartHash() const;
  std::error_code Error() const { return error_; }

  std::uint8_t At(std::int64_t offset) const {
    if (offset < 0 || offset >= readCount_ || offset >= static_cast<std::int64_t>(fetched_)) {
      return 0;
    }
    return bytes_[static_cast<std::size_t>(offset)];
  }

  std::uint16_t U16(std::int64_t offset, ByteOrder order) const;
  std::uint32_t U32(std::int64_t offset, ByteOrder order) const;

 private:
  Status Fetch(std::size_t upTo);

  ReadableFile& file_;
  std::array<std::uint8_t, kLimit> bytes_;  // only [0, fetched_) is meaningful
  std::size_t fetched_ = 0;
  bool endOfFile_ = false;
  int readCount_ = 0;
  std::error_code error_;
};

}  // namespace tessaly
