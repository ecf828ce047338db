// Which project file a source window shows.
#pragma once

#include <string>

// The project's name ("NAME.EXT") of the file a window titled `title` shows:
// the title's last blank-separated word without its extension, looked up in
// the project's file list without regard to case. "CAN'T SEARCH" when the
// file is not in the project.
std::string ProjectFileOfWindow(const std::string& title);
