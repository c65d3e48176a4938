#include "text/AsciiCase.h"

#include <algorithm>

namespace tessaly {
namespace {

bool SameIgnoringCase(char a, char b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return lower(a) == lower(b);
}

}  // namespace

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  return std::search(text.begin(), text.end(), part.begin(), part.end(), SameIgnoringCase) !=
         text.end();
}

bool IsPictureName(std::string_view name) {
  constexpr std::string_view kEnd = "jpg";
  return name.size() >= kEnd.size() &&
         std::equal(kEnd.begin(), kEnd.end(), name.end() - kEnd.size(), SameIgnoringCase);
}

}  // namespace tessaly
