#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::test {

enum class Order { Intel, Motorola };

// Builds the start of a JPEG/Exif file byte by byte, for tests:
//
//   0  FF D8 FF E1 <len:2>      start marker, APP1 marker and length
//   6  "Exif" 00 00             signature and pad
//   12 "II" 2A 00 | "MM" 00 2A  byte order and TIFF identifier
//   16 00 00 00 08              offset of IFD0
//   20 <N:2>                    entry count: the entries added, unless set
//   22 <entries, 12 bytes each> tag, type 2, count, value
//   .. 00 00 00 00              offset of the next IFD
//
// Put() writes any bytes at a file offset afterwards (over the header too:
// a wrong marker, signature or byte order); the file is zero-padded to
// reach them, and Size() cuts it short or pads it.
class ExifWriter {
 public:
  static constexpr std::uint16_t kDateTime = 0x0132, kMake = 0x010F, kModel = 0x0110;

  explicit ExifWriter(Order order = Order::Intel) : order_(order) {}
  // An entry whose value is an offset from the TIFF header (file offset 12).
  ExifWriter& Entry(std::uint16_t tag, std::uint32_t count, std::uint32_t value) {
    entries_ += U(tag, 2) + U(2, 2) + U(count, 4) + U(value, 4);
    return *this;
  }
  // An entry for `text` + NUL: placed at `fileOffset`, or, up to 4 bytes in
  // all, in the value field itself as Exif keeps short texts.
  ExifWriter& TextEntry(std::uint16_t tag, std::uint32_t fileOffset, std::string_view text) {
    std::string stored = std::string(text) + '\0';
    auto count = static_cast<std::uint32_t>(stored.size());
    if (count > 4 || tag == kDateTime)
      return Entry(tag, count, fileOffset - 12).Put(fileOffset, stored);
    entries_ += U(tag, 2) + U(2, 2) + U(count, 4) + stored + std::string(4 - count, '\0');
    return *this;
  }
  ExifWriter& EntryCount(std::uint16_t n) { return entryCount_ = n, *this; }
  ExifWriter& Put(std::uint32_t offset, std::string_view bytes) {
    patches_.emplace_back(offset, std::string(bytes));
    return *this;
  }
  ExifWriter& PutU32(std::uint32_t offset, std::uint32_t v) { return Put(offset, U(v, 4)); }
  ExifWriter& Size(std::size_t bytes) { return size_ = bytes, *this; }

  std::vector<std::uint8_t> Bytes() const {
    std::string out(
        "\xFF\xD8\xFF\xE1\x10\x00"
        "Exif\0\0",
        12);
    out += (order_ == Order::Intel ? "II" : "MM") + U(42, 2) + U(8, 4);
    out += U(entryCount_ >= 0 ? static_cast<std::uint32_t>(entryCount_)
                              : static_cast<std::uint32_t>(entries_.size() / 12),
             2);
    out += entries_ + U(0, 4);
    for (const auto& [offset, bytes] : patches_) {
      if (out.size() < offset + bytes.size()) out.resize(offset + bytes.size(), '\0');
      std::copy(bytes.begin(), bytes.end(), out.begin() + offset);
    }
    if (size_ > 0) out.resize(size_, '\0');
    return {out.begin(), out.end()};
  }

 private:
  // `v` as `width` bytes in the writer's byte order.
  std::string U(std::uint32_t v, int width) const {
    std::string s;
    for (int i = 0; i < width; ++i) {
      s += static_cast<char>((v >> (8 * (order_ == Order::Intel ? i : width - 1 - i))) & 0xFF);
    }
    return s;
  }

  Order order_;
  std::string entries_;
  std::vector<std::pair<std::uint32_t, std::string>> patches_;
  int entryCount_ = -1;
  std::size_t size_ = 0;
};

// A camera picture of the common layout: Make, Model and DateTime in IFD0,
// their strings behind it, and zero "image" bytes after that up to `size`,
// ending in `payload` (which tells pictures of one size apart).
inline std::vector<std::uint8_t> CameraPicture(std::string_view dateTime, std::string_view maker,
                                               std::string_view model, Order order,
                                               std::size_t size, std::string_view payload) {
  ExifWriter writer(order);
  auto at = static_cast<std::uint32_t>(22 + 3 * 12 + 4);
  writer.TextEntry(ExifWriter::kMake, at, maker);
  at += static_cast<std::uint32_t>(maker.size()) + 1;
  writer.TextEntry(ExifWriter::kModel, at, model);
  at += static_cast<std::uint32_t>(model.size()) + 1;
  writer.TextEntry(ExifWriter::kDateTime, at, dateTime);
  std::size_t end = std::max<std::size_t>(size, at + dateTime.size() + 1 + payload.size());
  return writer.Put(static_cast<std::uint32_t>(end - payload.size()), payload).Size(end).Bytes();
}

}  // namespace tessaly::test
