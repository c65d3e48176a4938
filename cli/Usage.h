#pragma once

#include <string_view>

namespace tessaly {

inline constexpr std::string_view kUsage =
    "usage: tessaly-cli probe [--maker] [--model] FILE...\n"
    "       tessaly-cli rename [--no-subdir] [--maker] [--model] [--list FILE] DIR\n"
    "\n"
    "probe   prints, for each FILE, one JSON object per line: what the picture's\n"
    "        Exif header holds and the name it would get.\n"
    "rename  renames every picture in DIR and below after its date and time\n"
    "        (YYYY-MM-DD-HHMMSS.JPG) and moves it into a sub-directory named\n"
    "        after its date; writes one line per picture to the rename list.\n"
    "\n"
    "  --maker      put the camera maker's name in front of the new name\n"
    "  --model      put the camera model's name in front of the new name\n"
    "  --no-subdir  leave the pictures in their own directories\n"
    "  --list FILE  write the rename list to FILE (default: Rename_List.TXT\n"
    "               beside the program, else in ~/.local/state/tessaly/)\n";

}  // namespace tessaly
