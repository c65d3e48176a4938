#pragma once

#include <charconv>
#include <concepts>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// What becomes of a byte that is not part of valid UTF-8.
enum class InvalidBytes {
  Replace,  // written as U+FFFD: the output reads as text, the byte is gone
  Escape,   // written as \udcXX (XX the byte), the surrogate escape that
            // Python's os.fsencode and os.fsdecode use: every path round-trips
};

// Appends `text` to `out` as a JSON string literal, quotes included. Control
// characters (NUL among them) are escaped as \uXXXX; the output is always
// valid UTF-8.
void AppendJsonString(std::string& out, std::string_view text,
                      InvalidBytes invalid = InvalidBytes::Replace);

// Reads the JSON string literal at the start of `text` and takes it off;
// \udcXX (XX from 80 to FF) gives back the byte XX. Empty, with `text` as it
// was, when `text` does not start with a whole literal.
std::optional<std::string> TakeJsonString(std::string_view& text);

// One JSON object on one line, written a field at a time in the order given:
// {"key":value,...}. Its texts go through AppendJsonString with `invalid`.
class JsonObjectWriter {
 public:
  explicit JsonObjectWriter(InvalidBytes invalid = InvalidBytes::Replace) : invalid_(invalid) {}

  void Text(std::string_view key, std::string_view text);
  void Flag(std::string_view key, bool flag);
  template <std::integral Number>
  void Integer(std::string_view key, Number number) {
    Key(key);
    char digits[24];  // a 64-bit number and its sign
    const char* end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    line_.append(digits, static_cast<std::size_t>(end - digits));
  }
  // The object, closed.
  std::string Finish() { return line_ + '}'; }

 private:
  void Key(std::string_view key);

  InvalidBytes invalid_;
  std::string line_ = "{";
};

}  // namespace tessaly
