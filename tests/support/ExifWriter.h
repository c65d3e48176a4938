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
//   16 <IFD0 offset:4>          8 unless changed
//   20 <N:2>                    entry count (the number of entries added,
//                               unless set)
//   22 <entries, 12 bytes each> tag, type, count, value
//   .. 00 00 00 00              offset of the next IFD
//
// Strings and any other bytes are put at chosen file offsets; the file is
// zero-padded to reach them, and may be cut short or padded to any size.
class ExifWriter {
 public:
  explicit ExifWriter(Order order = Order::Intel) : order_(order) {}

  static constexpr std::uint16_t kDateTime = 0x0132;
  static constexpr std::uint16_t kMake = 0x010F;
  static constexpr std::uint16_t kModel = 0x0110;
  static constexpr std::uint16_t kDateTimeOriginal = 0x9003;

  // An entry whose value is an offset from the TIFF header (file offset 12).
  ExifWriter& Entry(std::uint16_t tag, std::uint32_t count, std::uint32_t value,
                    std::uint16_t type = 2);
  // An entry pointing at `text` + NUL, placed at `fileOffset`.
  ExifWriter& TextEntry(std::uint16_t tag, std::uint32_t fileOffset, std::string_view text);
  ExifWriter& EntryCount(std::uint16_t n);
  ExifWriter& Ifd0Offset(std::uint32_t offset);
  ExifWriter& Signature(std::string_view four);
  ExifWriter& ByteOrderMark(std::string_view two);
  ExifWriter& StartMarker(std::uint8_t first, std::uint8_t second);
  // Raw bytes at a file offset, written after the header and entries.
  ExifWriter& Put(std::uint32_t fileOffset, std::string_view bytes);
  ExifWriter& PutU16(std::uint32_t fileOffset, std::uint16_t v);
  ExifWriter& PutU32(std::uint32_t fileOffset, std::uint32_t v);
  // The file ends here: pads with zeros, or cuts it short.
  ExifWriter& Size(std::size_t bytes);

  std::vector<std::uint8_t> Bytes() const;
  std::string String() const;

 private:
  struct RawEntry {
    std::uint16_t tag, type;
    std::uint32_t count, value;
  };
  struct Patch {
    std::uint32_t offset;
    std::string bytes;
  };
  std::string U16(std::uint16_t v) const;
  std::string U32(std::uint32_t v) const;

  Order order_;
  std::vector<RawEntry> entries_;
  std::vector<Patch> patches_;
  int entryCount_ = -1;
  std::uint32_t ifd0Offset_ = 8;
  std::string signature_ = "Exif";
  std::string byteOrder_;
  std::uint8_t marker_[2] = {0xFF, 0xD8};
  std::size_t size_ = 0;
  bool sized_ = false;
};

// A camera picture of the common layout: Make, Model and DateTime in IFD0,
// their strings right behind it, and zero "image" bytes after that up to
// `size`, ending in `payload` (which tells pictures of one size apart).
std::vector<std::uint8_t> CameraPicture(std::string_view dateTime, std::string_view maker = "",
                                        std::string_view model = "", Order order = Order::Intel,
                                        std::size_t size = 6000, std::string_view payload = "");

}  // namespace tessaly::test
