#include "project_paths.h"

#include "path_resolver.h"

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

std::string LocateProjectFile(const std::string& projectDir, const std::string& path,
                              const std::vector<std::string>& alsoIn) {
    const std::string resolved = platform::ResolvePath(projectDir, path);
    if (!resolved.empty()) return resolved;
    if (!platform::IsAbsolutePath(path)) return std::string();
    const std::vector<std::string> parts = platform::SplitPath(path);
    const bool folder = !path.empty() && (path.back() == '\\' || path.back() == '/');
    // A drive ("C:") is never looked for.
    const bool drive = !parts.empty() && parts[0].size() == 2 && parts[0][1] == ':';
    for (size_t first = drive ? 1 : 0; first < parts.size(); ++first) {
        std::string tail;
        for (size_t i = first; i < parts.size(); ++i)
            tail += (tail.empty() ? "" : "/") + parts[i];
        if (folder) tail += "/";
        const std::string found = platform::ResolvePath(projectDir, tail);
        if (!found.empty()) return found;
    }
    if (parts.empty()) return std::string();
    for (const std::string& dir : alsoIn) {
        if (dir.empty()) continue;
        const std::string found = platform::ResolvePath(dir, parts.back());
        if (!found.empty()) return found;
    }
    return std::string();
}
