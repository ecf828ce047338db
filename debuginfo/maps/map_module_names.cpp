#include "map_module_names.h"

#include "path_resolver.h"
#include "project_paths.h"

namespace {

constexpr const char* kModulesHeading = "INPUT MODULES INCLUDED:";
constexpr size_t kMaxWordLength = 49;

// The next blank-separated word from `pos` (at most 49 characters kept).
std::string_view NextWord(std::string_view line, size_t& pos) {
    pos = line.find_first_not_of(" \t", pos);
    if (pos == std::string_view::npos) {
        pos = line.size();
        return {};
    }
    size_t end = line.find_first_of(" \t", pos);
    if (end == std::string_view::npos) end = line.size();
    std::string_view word = line.substr(pos, end - pos);
    pos = end;
    return word.substr(0, kMaxWordLength);
}

} // namespace

int ParseMapHeaderLine(std::string_view line) {
    size_t pos = 0;
    if (NextWord(line, pos) != "COMMENT") return 0;
    if (NextWord(line, pos) != "TYPE") return 0;
    return pos < line.size() && line[pos] == ' ' ? 1 : 0;
}

void ReadMapModuleNames(const Loader& map, std::list<std::string>& names) {
    bool listed = false;
    for (const TextLine& line : map.m_lines) {
        const std::string& text = line.m_strText;
        if (ParseMapHeaderLine(text)) continue;
        if (!listed) {
            listed = text.find(kModulesHeading) != std::string::npos;
            continue;
        }
        if (!platform::EqualsNoCase(GetFileExtension(text), "obj")) break;
        names.push_front(RemoveFileExtension(text));
    }
}
