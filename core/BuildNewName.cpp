#include "core/BuildNewName.h"

#include "text/Windows1252.h"

namespace tessaly {
namespace {

// Character n (from 1) of a text, NUL past its end.
char CharAt(const std::string& text, std::size_t n) {
  return n >= 1 && n <= text.size() ? text[n - 1] : '\0';
}

}  // namespace

NewNameParts BuildNewName(const PictureInfo& info) {
  NewNameParts parts;
  if (!info.dateFound) return parts;

  // DateName, 21 characters: date 1-4, "-", 6-7, "-", 9-10, "-", time 1-2,
  // 4-5, 7-8, ".JPG". Positions 5 and 8 of the date and 3 and 6 of the time
  // are the separators.
  const std::string& d = info.dateText;
  const std::string& t = info.timeText;
  const std::string dateName{CharAt(d, 1), CharAt(d, 2), CharAt(d, 3), CharAt(d, 4), '-',
                             CharAt(d, 6), CharAt(d, 7), '-',          CharAt(d, 9), CharAt(d, 10),
                             '-',          CharAt(t, 1), CharAt(t, 2), CharAt(t, 4), CharAt(t, 5),
                             CharAt(t, 7), CharAt(t, 8), '.',          'J',          'P',
                             'G'};

  parts.datePart = Windows1252ToUtf8(std::string_view(dateName).substr(0, 10));
  if (!info.makerText.empty()) {
    AppendWindows1252AsUtf8(parts.newName, info.makerText);
    parts.newName += '-';
  }
  if (!info.modelText.empty()) {
    AppendWindows1252AsUtf8(parts.newName, info.modelText);
    parts.newName += '-';
  }
  AppendWindows1252AsUtf8(parts.newName, dateName);
  return parts;
}

NameProblem CheckNewName(const PictureInfo& info, std::string_view newName) {
  if (!info.dateFound) return NameProblem::NoDate;
  if (Utf8Length(newName) <= 10) return NameProblem::TooShort;
  if (newName.front() == '0') return NameProblem::LeadingZero;
  if (info.dateText.find('\0') != std::string::npos) return NameProblem::NulInDate;
  if (info.timeText.find('\0') != std::string::npos) return NameProblem::NulInDate;
  if (newName.find_first_of("/\\") != std::string_view::npos) return NameProblem::PathSeparator;
  for (char c : newName) {
    if ((c > 0 && c < 0x20) || c == 0x7F) return NameProblem::ControlCharacter;
  }
#ifdef _WIN32
  if (newName.find_first_of("<>:\"|?*") != std::string_view::npos) {
    return NameProblem::ForbiddenCharacter;
  }
#endif
  return NameProblem::None;
}

}  // namespace tessaly
