#include "source_facts.h"

#include "run_lookups.h"
#include "symbol_lookup.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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
