#pragma once

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
  ExifWriter& Entry(std::uint16_t tag, std::uint32_t count, std::uint32_t value);
  // An entry for `text` + NUL: placed at `fileOffset`, or, up to 4 bytes,
  // in the value field itself.
  ExifWriter& TextEntry(std::uint16_t tag, std::uint32_t fileOffset, std::string_view text);
  ExifWriter& EntryCount(std::uint16_t n);
  ExifWriter& Put(std::uint32_t fileOffset, std::string_view bytes);
  ExifWriter& PutU16(std::uint32_t fileOffset, std::uint16_t v) { return Put(fileOffset, U(v, 2)); }
  ExifWriter& PutU32(std::uint32_t fileOffset, std::uint32_t v) { return Put(fileOffset, U(v, 4)); }
  ExifWriter& Size(std::size_t bytes);
  std::vector<std::uint8_t> Bytes() const;

 private:
  // `v` as `width` bytes in the writer's byte order.
  std::string U(std::uint32_t v, int width) const;

  Order order_;
  std::string entries_;
  std::vector<std::pair<std::uint32_t, std::string>> patches_;
  int entryCount_ = -1;
  std::size_t size_ = 0;
};

// A camera picture of the common layout: Make, Model and DateTime in IFD0,
// their strings right behind it, and zero "image" bytes after that up to
// `size`, ending in `payload` (which tells pictures of one size apart).
std::vector<std::uint8_t> CameraPicture(std::string_view dateTime, std::string_view maker,
                                        std::string_view model, Order order, std::size_t size,
                                        std::string_view payload);

}  // namespace tessaly::test
