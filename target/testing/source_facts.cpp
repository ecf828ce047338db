#include "source_facts.h"

#include "path_resolver.h"
#include "project_file.h"
#include "project_paths.h"
#include "run_lookups.h"
#include "symbol_lookup.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

// Source files are a few thousand lines at most.
constexpr int kLastLine = 50000;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string Key(const std::string& file, int line) {
    return file + ":" + std::to_string(line);
}

// The base of the ?STACK segment in the memory map of a map's text, in either
// form ("IDATA   0054H     0001H     UNIT         ?STACK", or
// "000044H   000044H   000001H   BYTE   UNIT     IDATA          ?STACK");
// -1 when there is none.
long StackStartIn(const std::string& mapText) {
    std::istringstream lines(mapText);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string word; in >> word;)
            words.push_back(word);
        if (words.size() < 4 || words.back() != "?STACK") continue;
        const std::string& start = words[0] == "IDATA" ? words[1] : words[0];
        if (start.size() < 2 || start.back() != 'H' ||
            start.find_first_not_of("0123456789ABCDEFabcdef") != start.size() - 1)
            continue;
        return std::strtol(start.c_str(), nullptr, 16);
    }
    return -1;
}

} // namespace

SourcePosition PositionOfAddress(uint32_t address) {
    const std::string key = LineOfAddress(address);
    const size_t colon = key.rfind(':');
    if (colon == std::string::npos) return {};
    return {key.substr(0, colon), std::atoi(key.c_str() + colon + 1)};
}

uint32_t AddressOfPosition(const SourcePosition& position) {
    return position.line ? AddressOfLine(Key(position.file, position.line)) : kNoAddress;
}

uint32_t FunctionEntry(const std::string& name) {
    for (const std::string& symbol : {name, "_" + name})
        if (const SymbolInfo* found = LookupSymbol(symbol, kSelectCode)) return found->m_dwAddress;
    return kNoAddress;
}

SourcePosition FirstLineOf(const std::string& name) {
    const uint32_t entry = FunctionEntry(name);
    return entry == kNoAddress ? SourcePosition{} : PositionOfAddress(entry);
}

int NextLineWithCode(const std::string& file, int line) {
    for (int next = line + 1; next <= kLastLine; ++next)
        if (AddressOfLine(Key(file, next)) != kNoAddress) return next;
    return 0;
}

std::string SourceText(const std::string& folder, const std::string& file) {
    namespace fs = std::filesystem;
    const std::string wanted = Lower(file);
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file() || Lower(it->path().filename().string()) != wanted) continue;
        std::ifstream in(it->path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    return {};
}

SourcePosition StatementInFunction(const std::string& folder, const std::string& function,
                                   const std::string& statement) {
    const SourcePosition start = FirstLineOf(function);
    if (!start.line) return {};
    std::istringstream text(SourceText(folder, start.file));
    std::string row;
    for (int line = 1; std::getline(text, row); ++line)
        if (line >= start.line && row.find(statement) != std::string::npos &&
            AddressOfPosition({start.file, line}) != kNoAddress)
            return {start.file, line};
    return {};
}

bool BoardRunsProgram(const std::string& projectOrMap, std::string& why) {
    std::string map = projectOrMap;
    ProjectSettings settings;
    if (platform::EqualsNoCase(platform::ExtensionOf(projectOrMap), ".uv2") &&
        ReadProjectFile(projectOrMap, settings)) {
        const std::string& dir = settings.m_strProjectDir;
        map = LocateProjectFile(
            dir, settings.m_strLstDir + settings.m_strOutName + "." + settings.m_strMapExt,
            {LocateProjectFile(dir, settings.m_strLstDir)});
    }
    std::ifstream file(map, std::ios::binary);
    const long stack = StackStartIn(std::string(std::istreambuf_iterator<char>(file), {}));
    if (stack < 0x80) return true;
    std::ostringstream text;
    text << projectOrMap << ": its stack starts at 0x" << std::hex << std::uppercase << stack
         << ", above the simulated board's 128 bytes of internal RAM";
    why = text.str();
    return false;
}
