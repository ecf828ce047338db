#include "project_paths.h"

CProjectFileList* g_pProjectFileList = nullptr;

namespace {

constexpr const char* kSeparators = "\\/";

} // namespace

std::string GetFileExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos) return std::string();
    const std::string extension = path.substr(dot + 1);
    return extension.substr(0, extension.find(' '));
}

std::string RemoveFileExtension(const std::string& path) {
    const size_t first = path.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    std::string trimmed = path.substr(first);
    const size_t separator = trimmed.find_last_of(kSeparators);
    const size_t dot = trimmed.rfind('.');
    if (dot != std::string::npos && (separator == std::string::npos || dot > separator))
        trimmed.erase(dot);
    return trimmed;
}

std::string GetFileNamePart(const std::string& path) {
    const size_t separator = path.find_last_of(kSeparators);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

void SetProjectDirectory(const std::string& path) {
    if (!g_pProjectFileList) return;
    const size_t separator = path.find_last_of(kSeparators);
    g_pProjectFileList->m_strProjectDir =
        separator == std::string::npos ? path : path.substr(0, separator);
}

std::string FindProjectFile(const std::string& name) {
    if (!g_pProjectFileList) return kCantSearch;
    for (const std::string& file : g_pProjectFileList->m_listFiles)
        if (RemoveFileExtension(file) == name) return name + "." + GetFileExtension(file);
    return kCantSearch;
}
