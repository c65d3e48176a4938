#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/FileSystem.h"

namespace tessaly {

// A ReadableFile over bytes held in memory, handing out at most `chunk` bytes
// per read so that callers' handling of short reads is exercised.
class MemoryFile final : public ReadableFile {
 public:
  explicit MemoryFile(std::span<const std::uint8_t> bytes, std::size_t chunk = SIZE_MAX)
      : bytes_(bytes), chunk_(chunk == 0 ? 1 : chunk) {}

  FsResult<std::size_t> Read(std::span<std::uint8_t> into) override {
    std::size_t n = std::min({into.size(), bytes_.size() - position_, chunk_});
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(position_), n, into.begin());
    position_ += n;
    ++reads_;
    return n;
  }

  std::size_t Reads() const { return reads_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t chunk_;
  std::size_t position_ = 0;
  std::size_t reads_ = 0;
};

}  // namespace tessaly
