#pragma once

#include <array>
#include <string_view>

namespace tessaly {

// The window's 23 controls, named after what they show or do.
enum class Control {
  DirectoryCaption,
  DirectoryValue,
  DateCaption,
  DateValue,
  TimeCaption,
  TimeValue,
  DateDirectoriesBox,
  DateDirectoriesCaption,
  FileNameCaption,
  FileNameValue,
  MakerBox,
  MakerCaption,
  NewNameCaption,
  NewNameValue,
  ModelBox,
  ModelCaption,
  SelectDirectory,
  Start,
  CountCaption,
  CountValue,
  Language,
  ViewRenameList,
  Close,
};

enum class ControlKind { Caption, Value, CheckBox, Button };

// Which part of a value too long for its place stays in sight: the start
// and the end (a path's last directory), or the end (a new name's date).
enum class KeptPart { Whole, StartAndEnd, End };

struct TwipsRect {
  int left, top, width, height;
};

// One control as both views build it: its object name (the name the
// window's users and tools know it by), kind, place in twips (1/1440 inch)
// and place in the tab order.
struct ControlPlace {
  Control control;
  std::string_view name;
  ControlKind kind;
  TwipsRect twips;
  int tabIndex;
  KeptPart kept = KeptPart::Whole;
};

// The client area in twips; the layout is fixed.
inline constexpr int kClientWidthTwips = 8370;
inline constexpr int kClientHeightTwips = 1605;

// Every control, in reading order (top to bottom, left to right) and in
// the order of Control.
const std::array<ControlPlace, 23>& WindowLayout();

// The row of `control` in WindowLayout().
const ControlPlace& PlaceOf(Control control);

}  // namespace tessaly
