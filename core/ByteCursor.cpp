#include "core/ByteCursor.h"

#include <algorithm>
#include <span>

namespace tessaly {

std::uint64_t HashOfFileStart(std::span<const std::uint8_t> bytes) {
  std::uint64_t hash = 0xCBF29CE484222325;
  for (std::uint8_t b : bytes.first(std::min(bytes.size(), ByteCursor::kFirstBlock))) {
    hash = (hash ^ b) * 0x100000001B3;
  }
  return hash;
}

std::uint64_t ByteCursor::StartHash() const {
  return HashOfFileStart(std::span(bytes_.data(), fetched_));
}

ByteCursor::Status ByteCursor::ReadTo(int count) {
  if (count > kLimit) return Status::BeyondLimit;
  if (count <= readCount_) return Status::Ok;
  readCount_ = count;
  auto wanted = static_cast<std::size_t>(count);
  if (wanted <= fetched_ || endOfFile_) return Status::Ok;
  // The first block is generous; any block after it takes the rest of the
  // limit at once, so no file costs more than two reads of data.
  std::size_t target = fetched_ == 0 ? std::max(wanted, kFirstBlock) : std::size_t{kLimit};
  return Fetch(std::min(target, std::size_t{kLimit}));
}

ByteCursor::Status ByteCursor::Fetch(std::size_t upTo) {
  while (fetched_ < upTo) {
    FsResult<std::size_t> n = file_.Read(std::span(bytes_.data() + fetched_, upTo - fetched_));
    if (!n.ok()) {
      error_ = n.error();
      return Status::ReadFailed;
    }
    if (n.value() == 0) {
      endOfFile_ = true;
      break;
    }
    fetched_ += n.value();
  }
  return Status::Ok;
}

std::uint16_t ByteCursor::U16(std::int64_t offset, ByteOrder order) const {
  unsigned a = At(offset);
  unsigned b = At(offset + 1);
  return static_cast<std::uint16_t>(order == ByteOrder::LittleEndian ? (b << 8) | a : (a << 8) | b);
}

std::uint32_t ByteCursor::U32(std::int64_t offset, ByteOrder order) const {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) {
    int k = order == ByteOrder::LittleEndian ? 3 - i : i;
    v = (v << 8) | At(offset + k);
  }
  return v;
}

}  // namespace tessaly
