#pragma once

#include <string_view>

namespace tessaly {

inline constexpr std::string_view kUsage =
    "usage: tessaly-cli probe [--maker] [--model] FILE...\n"
    "       tessaly-cli rename [--no-subdir] [--maker] [--model] [--list FILE] DIR\n"
    "       tessaly-cli --help | --version\n"
    "\n"
    "probe   prints, for each FILE, one JSON object per line: what the picture's\n"
    "        Exif header holds and the name it would get.\n"
    "rename  renames every picture in DIR and below after its date and time\n"
    "        (YYYY-MM-DD-HHMMSS.JPG) and moves it into a sub-directory named\n"
    "        after its date; writes one line per picture to the rename list.\n"
    "\n"
    "'tessaly-cli probe --help' and 'tessaly-cli rename --help' tell more.\n";

inline constexpr std::string_view kProbeUsage =
    "usage: tessaly-cli probe [--maker] [--model] FILE...\n"
    "\n"
    "Prints, for each FILE, one JSON object per line: what the picture's Exif\n"
    "header holds and the name it would get. Changes nothing.\n"
    "\n"
    "  --maker      put the camera maker's name in front of the new name\n"
    "  --model      put the camera model's name in front of the new name\n"
    "\n"
    "Exit status: 0 when every file could be read, 1 when some could not, 2 for\n"
    "a usage error.\n";

inline constexpr std::string_view kRenameUsage =
    "usage: tessaly-cli rename [--no-subdir] [--maker] [--model] [--list FILE] DIR\n"
    "\n"
    "Renames every camera picture in DIR and below after its date and time\n"
    "(YYYY-MM-DD-HHMMSS.JPG), moves it into a sub-directory named after its\n"
    "date, and writes one line per picture to the rename list. Never replaces\n"
    "a file.\n"
    "\n"
    "  --maker      put the camera maker's name in front of the new name\n"
    "  --model      put the camera model's name in front of the new name\n"
    "  --no-subdir  leave the pictures in their own directories\n"
    "  --list FILE  write the rename list to FILE (default: Rename_List.TXT\n"
    "               beside the program, else in ~/.local/state/tessaly/)\n"
    "\n"
    "Exit status: 0 when nothing went wrong, 1 when some picture was passed over\n"
    "or some output was lost, 2 for a usage error or a run that could not start.\n";

}  // namespace tessaly
