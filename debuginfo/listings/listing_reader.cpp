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

// The size column: decimal bytes, dashes for none, or missing (0). Nothing
// for any other text and for more bytes than 64 KB.
std::optional<uint32_t> ReadSize(std::string_view size) {
    if (size.find_first_not_of('-') == std::string_view::npos) return 0;
    const auto bytes = ReadDecimalField(size);
    if (!bytes || *bytes > kAddressSpaceSize) return std::nullopt;
    return bytes;
}

void SetTypeAndSize(SymbolInfo& symbol, const TableLine& line, uint32_t size) {
    symbol.m_strType.assign(line.type);
    symbol.m_nSize = size;
}

} // namespace

int ParseListingFile(const Loader& listing, CSymbolTable& table, const CSymbolDatabase* database,
                     FileFaults* faults) {
    size_t index = 0;
    for (; index < listing.m_lines.size(); ++index)
        if (ContainsText(listing.m_lines[index].m_strText, kListingTableRule)) break;
    if (index == listing.m_lines.size()) return 1;
    g_bLoadError = 0;

    const CSymbolStruct* function = nullptr;
    bool ended = false;
    for (++index; index < listing.m_lines.size(); ++index) {
        const std::string& text = listing.m_lines[index].m_strText;
        if (ContainsText(text, kListingTableEnd)) {
            ended = true;
            break;
        }
        if (text.empty() || ContainsText(text, kVariableNote) || ContainsText(text, kPageHeading))
            continue;
        TableLine line;
        if (!ReadTableLine(text, line)) continue;

        const bool isProc = line.space == "CODE" && line.type == "PROC";
        if (!line.indented && !isProc) function = nullptr;

        SymbolInfo* record = nullptr;
        if (line.space == "DATA" || line.space == "XDATA") {
            // A member of a function the map does not know (its segment
            // refused) belongs to nothing here.
            if (line.indented && !function) continue;
            record = line.indented ? FindSymbolInRange(function, line.name, function->m_dwStart)
                                   : nullptr;
            if (!record) record = table.LookupSymbol(line.name, kSelectData);
        } else if (line.space == "CODE") {
            if (isProc)
                function = database ? database->FindSymbolByName(SegmentNameOfFunction(line.name),
                                                                 kListCode)
                                    : nullptr;
            record = table.LookupSymbol(line.name, kSelectCode);
        }
        if (!record) continue;
        // A damaged size leaves the record as the map made it.
        if (const auto size = ReadSize(line.size))
            SetTypeAndSize(*record, line, *size);
        else if (faults)
            faults->Refuse(listing.m_lines[index].m_nLine, "the size", line.size,
                           "is not a number of bytes up to 65536");
    }
    if (!ended && faults) faults->SetIncomplete();
    return 1;
}
