#include "tests/support/ExifWriter.h"

#include <algorithm>

namespace tessaly::test {

std::string ExifWriter::U16(std::uint16_t v) const {
  std::string s(2, '\0');
  if (order_ == Order::Intel) {
    s[0] = static_cast<char>(v & 0xFF);
    s[1] = static_cast<char>(v >> 8);
  } else {
    s[0] = static_cast<char>(v >> 8);
    s[1] = static_cast<char>(v & 0xFF);
  }
  return s;
}

std::string ExifWriter::U32(std::uint32_t v) const {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) {
    int shift = order_ == Order::Intel ? 8 * i : 8 * (3 - i);
    s[static_cast<std::size_t>(i)] = static_cast<char>((v >> shift) & 0xFF);
  }
  return s;
}

ExifWriter& ExifWriter::Entry(std::uint16_t tag, std::uint32_t count, std::uint32_t value,
                              std::uint16_t type) {
  entries_.push_back({tag, type, count, value});
  return *this;
}

ExifWriter& ExifWriter::TextEntry(std::uint16_t tag, std::uint32_t fileOffset,
                                  std::string_view text) {
  std::string stored(text);
  stored.push_back('\0');
  Entry(tag, static_cast<std::uint32_t>(stored.size()), fileOffset - 12);
  return Put(fileOffset, stored);
}

ExifWriter& ExifWriter::EntryCount(std::uint16_t n) {
  entryCount_ = n;
  return *this;
}
ExifWriter& ExifWriter::Ifd0Offset(std::uint32_t offset) {
  ifd0Offset_ = offset;
  return *this;
}
ExifWriter& ExifWriter::Signature(std::string_view four) {
  signature_ = four;
  return *this;
}
ExifWriter& ExifWriter::ByteOrderMark(std::string_view two) {
  byteOrder_ = two;
  return *this;
}
ExifWriter& ExifWriter::StartMarker(std::uint8_t first, std::uint8_t second) {
  marker_[0] = first;
  marker_[1] = second;
  return *this;
}
ExifWriter& ExifWriter::Put(std::uint32_t fileOffset, std::string_view bytes) {
  patches_.push_back({fileOffset, std::string(bytes)});
  return *this;
}
ExifWriter& ExifWriter::PutU16(std::uint32_t fileOffset, std::uint16_t v) {
  return Put(fileOffset, U16(v));
}
ExifWriter& ExifWriter::PutU32(std::uint32_t fileOffset, std::uint32_t v) {
  return Put(fileOffset, U32(v));
}
ExifWriter& ExifWriter::Size(std::size_t bytes) {
  size_ = bytes;
  sized_ = true;
  return *this;
}

std::string ExifWriter::String() const {
  std::string out;
  out.push_back(static_cast<char>(marker_[0]));
  out.push_back(static_cast<char>(marker_[1]));
  out += "\xFF\xE1";
  out += std::string_view("\x10\x00", 2);  // segment length, not looked at by the reader
  out += signature_;
  out += std::string(2, '\0');
  if (!byteOrder_.empty()) {
    out += byteOrder_;
    out += U16(42);
  } else {
    out += order_ == Order::Intel ? "II" : "MM";
    out += U16(42);
  }
  out += U32(ifd0Offset_);
  std::uint16_t n = entryCount_ >= 0 ? static_cast<std::uint16_t>(entryCount_)
                                     : static_cast<std::uint16_t>(entries_.size());
  out += U16(n);
  for (const RawEntry& e : entries_) {
    out += U16(e.tag);
    out += U16(e.type);
    out += U32(e.count);
    out += U32(e.value);
  }
  out += U32(0);
  for (const Patch& p : patches_) {
    if (out.size() < p.offset + p.bytes.size()) out.resize(p.offset + p.bytes.size(), '\0');
    std::copy(p.bytes.begin(), p.bytes.end(), out.begin() + p.offset);
  }
  if (sized_) out.resize(size_, '\0');
  return out;
}

std::vector<std::uint8_t> ExifWriter::Bytes() const {
  std::string s = String();
  return {s.begin(), s.end()};
}

std::vector<std::uint8_t> CameraPicture(std::string_view dateTime, std::string_view maker,
                                        std::string_view model, Order order, std::size_t size,
                                        std::string_view payload) {
  ExifWriter writer(order);
  std::uint32_t at = 22 + 3 * 12 + 4;
  writer.TextEntry(ExifWriter::kMake, at, maker);
  at += static_cast<std::uint32_t>(maker.size()) + 1;
  writer.TextEntry(ExifWriter::kModel, at, model);
  at += static_cast<std::uint32_t>(model.size()) + 1;
  writer.TextEntry(ExifWriter::kDateTime, at, dateTime);
  std::size_t end = std::max<std::size_t>(size, at + dateTime.size() + 1 + payload.size());
  writer.Put(static_cast<std::uint32_t>(end - payload.size()), payload);
  writer.Size(end);
  return writer.Bytes();
}

}  // namespace tessaly::test
