// The launcher's first check: its settings file and the game beside it
// must be there, else it shows strings 110 and 111 and ends.
#pragma once

#include <string>
#include <string_view>

// String 110 followed directly by string 111: two paragraphs, the second
// ending with a space, then the line that ends the message.
inline constexpr std::string_view kStartupMessage =
    "The files for the AutoRun have not been burned to the CD/DVD correctly.\n\n"
    "You need to burn everything in the CD Image Directory to the CD/DVD exactly as it appears in the "
    "directory on your hard disk. This includes all sub-directories and their contents. There should be "
    "files called \"Autorun.exe\" and \"Autorun.inf\" at the root of your CD/DVD and a directory called "
    "\"Autorun\" with a file called \"Settings.ini\" in it. "
    "\n\nAutoRun cannot continue and will abort execution.";

// True when LauncherDir holds Launch\Settings.ini and the game: Game.exe,
// or the native program Game beside it (names matched ignoring case).
bool Startup_Files_Present(const std::string& launcher_dir);
