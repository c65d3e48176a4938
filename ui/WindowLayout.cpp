#include "ui/WindowLayout.h"

namespace tessaly {

const std::array<ControlPlace, 23>& WindowLayout() {
  using enum Control;
  using enum ControlKind;
  static const std::array<ControlPlace, 23> layout = {{
      {DirectoryCaption, "Label1", Caption, {60, 60, 795, 195}, 0},
      {DirectoryValue, "Label2", Value, {900, 60, 7395, 195}, 1, KeptPart::StartAndEnd},
      {DateCaption, "Label5", Caption, {540, 360, 975, 195}, 7},
      {DateValue, "Label3", Value, {1560, 360, 1335, 195}, 5},
      {TimeCaption, "Label7", Caption, {3360, 360, 1035, 195}, 9},
      {TimeValue, "Label4", Value, {4440, 360, 1335, 195}, 6},
      {DateDirectoriesBox, "Check1", CheckBox, {5940, 360, 195, 195}, 16},
      {DateDirectoriesCaption, "Label13", Caption, {6180, 360, 2175, 195}, 17},
      {FileNameCaption, "Label8", Caption, {60, 660, 1455, 195}, 10},
      {FileNameValue, "Label9", Value, {1560, 660, 4335, 195}, 11, KeptPart::StartAndEnd},
      {MakerBox, "Check2", CheckBox, {5940, 600, 195, 180}, 18},
      {MakerCaption, "Label14", Caption, {6180, 600, 2175, 195}, 19},
      {NewNameCaption, "Label10", Caption, {300, 960, 1215, 195}, 12},
      {NewNameValue, "Label6", Value, {1560, 960, 4275, 195}, 8, KeptPart::End},
      {ModelBox, "Check3", CheckBox, {5940, 840, 195, 195}, 20},
      {ModelCaption, "Label15", Caption, {6180, 840, 2175, 195}, 21},
      {SelectDirectory, "Command1", Button, {60, 1260, 1575, 315}, 2},
      {Start, "Command2", Button, {1740, 1260, 675, 315}, 3},
      {CountCaption, "Label11", Caption, {2520, 1320, 1275, 195}, 13},
      {CountValue, "Label12", Value, {3840, 1320, 1095, 195}, 14},
      {Language, "Command5", Button, {4980, 1260, 735, 315}, 22},
      {ViewRenameList, "Command4", Button, {5820, 1260, 1575, 315}, 15},
      {Close, "Command3", Button, {7500, 1260, 855, 315}, 4},
  }};
  return layout;
}

const ControlPlace& PlaceOf(Control control) {
  // The table lists the controls in the order of the enumeration.
  return WindowLayout()[static_cast<std::size_t>(control)];
}

}  // namespace tessaly
