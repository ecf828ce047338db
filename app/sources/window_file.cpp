#include "window_file.h"

#include "project_paths.h"

#include <algorithm>
#include <cctype>

std::string ProjectFileOfWindow(const std::string& title) {
    size_t blank = title.find_last_of(' ');
    std::string word = blank == std::string::npos ? title : title.substr(blank + 1);
    std::string name = RemoveFileExtension(word);
    // The project's list holds its names in upper case.
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return FindProjectFile(name);
}
