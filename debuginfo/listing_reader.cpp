#include "listing_reader.h"

#include <cctype>
#include <string>

#include "line_tokenizer.h"
#include "symbol_lookup.h"

namespace {

constexpr std::string_view kVariableNote = ";---- Variable";
constexpr std::string_view kPageHeading = "C51 COMPILER";

bool IsNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

// One line of the table, split into its columns.
struct TableLine {
    bool indented = false;
    std::string name;
    std::string_view memoryClass;
    std::string_view space;
    std::string_view type;
    std::string_view size;
};

// The next token split at blanks that is not a single ".".
std::string_view NextColumn(LineTokenizer& tokens) {
    while (auto token = tokens.Next(" ")) {
        if (*token != ".") return *token;
    }
    return {};
}

bool ReadTableLine(std::string_view text, TableLine& line) {
    line.indented = text.size() >= 2 && text[0] == ' ' && text[1] == ' ';
    LineTokenizer tokens(text);
    const auto name = tokens.Next(" .");
    if (!name || !IsNameStart(name->front())) return false;
    line.name.assign(*name);
    ApplyNameRule(line.name);

    line.memoryClass = NextColumn(tokens);
    if (!line.memoryClass.empty() && line.memoryClass.front() == '*') {
        line.memoryClass = tokens.Next(" ").value_or(std::string_view());
        tokens.Next(" ");
    }
    line.space = tokens.Next(" ").value_or(std::string_view());
    if (!line.space.empty() && line.space.front() == '*')
        line.space = tokens.Next(" ").value_or(std::string_view());
    line.type = tokens.Next(" ").value_or(std::string_view());
    tokens.Next(" "); // the offset
    line.size = tokens.Next(" ").value_or(std::string_view());
    return true;
}

void SetTypeAndSize(SymbolInfo& symbol, const TableLine& line) {
    symbol.m_strType.assign(line.type);
    const int32_t size = ParseDecimalNumber(line.size);
    symbol.m_nSize = size > 0 ? static_cast<uint32_t>(size) : 0;
}

std::string FunctionSegmentName(const std::string& name) {
    std::string upper = name;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!upper.empty() && upper.front() == '_') upper.erase(0, 1);
    return upper;
}

} // namespace

int ParseListingFile(const Loader& listing, CSymbolTable& table, const CSymbolDatabase* database) {
    size_t index = 0;
    for (; index < listing.m_lines.size(); ++index)
        if (ContainsText(listing.m_lines[index].m_strText, kListingTableRule)) break;
    if (index == listing.m_lines.size()) return 1;
    g_bLoadError = 0;

    const CSymbolStruct* function = nullptr;
    for (++index; index < listing.m_lines.size(); ++index) {
        const std::string& text = listing.m_lines[index].m_strText;
        if (ContainsText(text, kListingTableEnd)) break;
        if (text.empty() || ContainsText(text, kVariableNote) || ContainsText(text, kPageHeading))
            continue;
        TableLine line;
        if (!ReadTableLine(text, line)) continue;

        const bool isProc = line.space == "CODE" && line.type == "PROC";
        if (!line.indented && !isProc) function = nullptr;

        if (line.space == "DATA" || line.space == "XDATA") {
            CSymbolLocalVar* local =
                line.indented && function
                    ? FindSymbolInRange(function, line.name, function->m_dwStart)
                    : nullptr;
            if (local) {
                SetTypeAndSize(*local, line);
            } else if (SymbolInfo* global = table.LookupSymbol(line.name, kSelectData)) {
                SetTypeAndSize(*global, line);
            }
        } else if (line.space == "CODE") {
            if (isProc)
                function =
                    database ? database->FindSymbolByName(FunctionSegmentName(line.name), kListCode)
                             : nullptr;
            if (SymbolInfo* code = table.LookupSymbol(line.name, kSelectCode))
                SetTypeAndSize(*code, line);
        }
    }
    return 1;
}
