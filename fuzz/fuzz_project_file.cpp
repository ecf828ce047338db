// libFuzzer target: arbitrary text through both readings of a project file.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ProjectSettings settings;
    ParseProjectText(text, settings);
    if (!settings.m_strMapExt.empty() && settings.m_strMapExt != "MAP" &&
        settings.m_strMapExt != "M51")
        std::abort();
    for (const auto& [name, path] : settings.m_mapSourcePaths)
        if (name.empty() || path.empty()) std::abort();

    CFileStruct files;
    ParseProjectGroupText(text, files);
    for (const FILEINFO& file : files.m_listFileInfo)
        if (file.m_strExt.empty() || file.m_strExt.front() != '.') std::abort();
    return 0;
}
