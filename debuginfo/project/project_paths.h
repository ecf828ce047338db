// Path texts of a project and the project's list of source files.
//
// Paths here are texts as the project file and the maps write them
// (backslashes, upper case); a '/' counts as a separator as well.
#pragma once

#include <string>
#include <vector>

// The answer of FindProjectFile for a name that is not in the project.
constexpr const char* kCantSearch = "CAN'T SEARCH";

// The text after the last "." up to the first blank; empty without a ".".
std::string GetFileExtension(const std::string& path);
// The path without leading blanks and without the extension of its last part.
std::string RemoveFileExtension(const std::string& path);
// The text after the last separator (the whole path without one).
std::string GetFileNamePart(const std::string& path);

// The project's source files (upper case, with extension) and its directory.
struct CProjectFileList {
    std::vector<std::string> m_listFiles;
    std::string m_strProjectDir;
};

// The list of the loaded project; null while there is none. Not owned.
extern CProjectFileList* g_pProjectFileList;

// Stores the path up to its last separator as the project directory.
void SetProjectDirectory(const std::string& path);

// The real file or folder that a path of the project file names. The path is
// resolved against the project folder as usual first. When nothing is there
// and the path is absolute (a project moved from the machine that built it),
// its trailing parts are looked for under the project folder, longest first
// ("C:\Work\P\Obj\p.hex" finds "Obj/p.hex", else "p.hex"), and then its last
// part in each folder of `alsoIn`. A drive-letter path is never joined onto the
// project folder whole. Empty when none exists.
std::string LocateProjectFile(const std::string& projectDir, const std::string& path,
                              const std::vector<std::string>& alsoIn = {});

// "NAME.EXT" for the first project file whose name without extension is
// `name` (exactly); "CAN'T SEARCH" when there is none.
std::string FindProjectFile(const std::string& name);
