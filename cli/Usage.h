#pragma once

#include <string_view>

namespace tessaly {

inline constexpr std::string_view kUsage =
    "usage: tessaly-cli probe [--maker] [--model] FILE...\n"
    "       tessaly-cli rename [--dry-run] [--no-subdir] [--maker] [--model] [--list FILE] DIR\n"
    "       tessaly-cli undo [--dry-run] [JOURNAL]\n"
    "       tessaly-cli --help | --version\n"
    "\n"
    "probe   prints, for each FILE, one JSON object per line: what the picture's\n"
    "        Exif header holds and the name it would get.\n"
    "rename  renames every picture in DIR and below after its date and time\n"
    "        (YYYY-MM-DD-HHMMSS.JPG) and moves it into a sub-directory named\n"
    "        after its date; writes one line per picture to the rename list and\n"
    "        every change to the run's journal. --dry-run shows it all first.\n"
    "undo    takes back the changes of the latest run, or of JOURNAL.\n"
    "\n"
    "'tessaly-cli COMMAND --help' tells more.\n";

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
    "usage: tessaly-cli rename [--dry-run] [--no-subdir] [--maker] [--model] [--list FILE] DIR\n"
    "\n"
    "Renames every camera picture in DIR and below after its date and time\n"
    "(YYYY-MM-DD-HHMMSS.JPG), moves it into a sub-directory named after its\n"
    "date, and writes one line per picture to the rename list. Never replaces\n"
    "a file. Every change is written to the run's journal in\n"
    "~/.local/state/tessaly/journals/, which 'tessaly-cli undo' takes back.\n"
    "\n"
    "  --dry-run    change nothing: print the lines the rename list would get\n"
    "  --maker      put the camera maker's name in front of the new name\n"
    "  --model      put the camera model's name in front of the new name\n"
    "  --no-subdir  leave the pictures in their own directories\n"
    "  --list FILE  write the rename list to FILE (default: Rename_List.TXT\n"
    "               beside the program, else in ~/.local/state/tessaly/)\n"
    "\n"
    "Exit status: 0 when nothing went wrong, 1 when some picture was passed over\n"
    "or some output was lost, 2 for a usage error or a run that could not start.\n";

inline constexpr std::string_view kUndoUsage =
    "usage: tessaly-cli undo [--dry-run] [JOURNAL]\n"
    "\n"
    "Takes back the changes of the run that JOURNAL records (default: the\n"
    "latest journal in ~/.local/state/tessaly/journals/), newest first: every\n"
    "picture goes back to its old name and place, every date directory the run\n"
    "made is removed when it is empty. Never replaces a file; a picture moved,\n"
    "edited or replaced since the run, or whose old name is taken now, is left\n"
    "as it is and reported.\n"
    "\n"
    "  --dry-run    change nothing: print the moves undo would make\n"
    "\n"
    "Exit status: 0 when everything was undone, 1 when something was left as it\n"
    "was, 2 for a usage error or a journal that cannot be read.\n";

}  // namespace tessaly
