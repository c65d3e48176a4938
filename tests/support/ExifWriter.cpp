#include "tests/support/ExifWriter.h"

#include <algorithm>

namespace tessaly::test {

std::string ExifWriter::U(std::uint32_t v, int width) const {
  std::string s(static_cast<std::size_t>(width), '\0');
  for (int i = 0; i < width; ++i) {
    int shift = 8 * (order_ == Order::Intel ? i : width - 1 - i);
    s[static_cast<std::size_t>(i)] = static_cast<char>((v >> shift) & 0xFF);
  }
  return s;
}

ExifWriter& ExifWriter::Entry(std::uint16_t tag, std::uint32_t count, std::uint32_t value) {
  entries_ += U(tag, 2) + U(2, 2) + U(count, 4) + U(value, 4);
  return *this;
}

ExifWriter& ExifWriter::TextEntry(std::uint16_t tag, std::uint32_t fileOffset,
                                  std::string_view text) {
  std::string stored(text);
  stored.push_back('\0');
  auto count = static_cast<std::uint32_t>(stored.size());
  if (count <= 4 && tag != kDateTime) {  // a short text stands in the value field itself
    entries_ += U(tag, 2) + U(2, 2) + U(count, 4) + stored + std::string(4 - count, '\0');
    return *this;
  }
  Entry(tag, count, fileOffset - 12);
  return Put(fileOffset, stored);
}

ExifWriter& ExifWriter::EntryCount(std::uint16_t n) {
  entryCount_ = n;
  return *this;
}

ExifWriter& ExifWriter::Put(std::uint32_t fileOffset, std::string_view bytes) {
  patches_.emplace_back(fileOffset, std::string(bytes));
  return *this;
}

ExifWriter& ExifWriter::Size(std::size_t bytes) {
  size_ = bytes;
  return *this;
}

std::vector<std::uint8_t> ExifWriter::Bytes() const {
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

std::vector<std::uint8_t> CameraPicture(std::string_view dateTime, std::string_view maker,
                                        std::string_view model, Order order, std::size_t size,
                                        std::string_view payload) {
  ExifWriter writer(order);
  auto at = static_cast<std::uint32_t>(22 + 3 * 12 + 4);
  writer.TextEntry(ExifWriter::kMake, at, maker);
  at += static_cast<std::uint32_t>(maker.size()) + 1;
  writer.TextEntry(ExifWriter::kModel, at, model);
  at += static_cast<std::uint32_t>(model.size()) + 1;
  writer.TextEntry(ExifWriter::kDateTime, at, dateTime);
  std::size_t end = std::max<std::size_t>(size, at + dateTime.size() + 1 + payload.size());
  writer.Put(static_cast<std::uint32_t>(end - payload.size()), payload);
  return writer.Size(end).Bytes();
}

}  // namespace tessaly::test
