#include "extended_map_reader.h"

#include <memory>
#include <optional>
#include <string_view>

#include "line_tokenizer.h"
#include "map_loader.h"
#include "map_reader_common.h"
#include "symbol_table.h"
#include "xdata_range.h"

namespace {

constexpr std::string_view kModuleLine = "---         MODULE";
constexpr std::string_view kBlankAndLineFeed = " \n";
constexpr std::string_view kBlanks = " \t\n";
// The address of a value token such as 01000A44H or C:000A44H begins at this index.
constexpr size_t kValueAddressIndex = 4;

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

uint32_t AddressOfValue(std::string_view value) {
    return ParseHexNumber(TextFrom(value, kValueAddressIndex));
}

// A symbol line's value column holds an address (not "---").
bool HasAddressValue(std::string_view line) {
    LineTokenizer tokens(line);
    const auto value = tokens.Next(kBlankAndLineFeed);
    return value && value->size() > kValueAddressIndex && IsHexDigit((*value)[kValueAddressIndex]);
}

void ParseModuleLine(MapModuleBuilder& builder, std::string_view line, int memoryMap) {
    LineTokenizer tokens(line);
    const auto startToken = tokens.Next(kBlankAndLineFeed);
    if (!startToken) return;
    if (!tokens.Next(kBlankAndLineFeed)) return; // the end address
    const auto lengthToken = tokens.Next(kBlankAndLineFeed);
    if (!lengthToken) return;
    const uint32_t start = ParseHexNumber(*startToken);
    const uint32_t length = ParseHexNumber(*lengthToken);
    if (memoryMap == kListXdata) UpdateCodeRange(start, length);
    for (int word = 0; word < 3; ++word) // alignment, relocation, class
        if (!tokens.Next(kBlankAndLineFeed)) return;
    builder.AddSegment(memoryMap, *startToken, start, length, tokens);
}

// The columns of a symbol line after its value: rep, class, type and name.
struct MapSymbolColumns {
    uint32_t address = 0;
    std::string_view rep;
    std::string_view memoryClass;
    std::string_view type;
    std::string_view name;
};

// Nothing for a bit symbol or a line whose columns are incomplete.
std::optional<MapSymbolColumns> ReadSymbolColumns(std::string_view line) {
    LineTokenizer tokens(line);
    MapSymbolColumns columns;
    const auto value = tokens.Next(kBlankAndLineFeed);
    const auto rep = tokens.Next(" ");
    const auto memoryClass = tokens.Next(kBlanks);
    const auto type = tokens.Next(kBlanks);
    if (!value || !rep || !memoryClass || !type || *type == "BIT") return std::nullopt;
    auto name = tokens.Next(kBlanks);
    if (name && ContainsText(*name, "LAB")) name = tokens.Next(kBlanks);
    if (!name) return std::nullopt;
    columns.address = AddressOfValue(*value);
    columns.rep = *rep;
    columns.memoryClass = *memoryClass;
    columns.type = *type;
    columns.name = *name;
    return columns;
}

void SetTypeAndSize(SymbolInfo& symbol, std::string_view type) {
    if (type == "BYTE")
        symbol.m_nSize = 1;
    else if (type == "WORD" || type == "INT")
        symbol.m_nSize = 2;
    else if (type == "DWORD")
        symbol.m_nSize = 4;
    else {
        symbol.m_strType = "NONE";
        symbol.m_nSize = 2;
        return;
    }
    symbol.m_strType.assign(type);
}

void ParseMapSymbolLine(MapModuleBuilder& builder, std::string_view line) {
    const auto columns = ReadSymbolColumns(line);
    if (!columns) return;
    SymbolInfo symbol(columns->name);
    symbol.m_dwAddress = columns->address;
    symbol.m_strKind.assign(columns->rep);
    symbol.m_strClass.assign(columns->memoryClass);
    symbol.m_nSpace = SpaceOfClass(symbol.m_strClass, symbol.m_strKind);
    SetTypeAndSize(symbol, columns->type);
    builder.AddGlobalSymbol(symbol);
}

// 1 when the line made a local of `function`; 0 for a bit symbol and for a
// line whose columns are incomplete.
int ParseSymbolTableEntry(MapModuleBuilder& builder, CSymbolStruct& function,
                          std::string_view line) {
    const auto columns = ReadSymbolColumns(line);
    if (!columns) return 0;
    auto local = std::make_unique<CSymbolLocalVar>(columns->name);
    local->m_dwAddress = columns->address;
    local->m_strClass.assign(columns->memoryClass);
    local->m_nSpace = SpaceOfClass(local->m_strClass, "");
    SetTypeAndSize(*local, columns->type);
    builder.AddLocal(function, std::move(local));
    return 1;
}

void ParseBlockStart(MapModuleBuilder& builder, std::string_view line) {
    LineTokenizer tokens(line);
    const auto value = tokens.Next(kBlankAndLineFeed);
    const uint32_t address = value ? AddressOfValue(*value) : 0;
    CSymbolStruct* startsHere = builder.FunctionStartingAt(address);
    if (startsHere)
        builder.m_pFunction = startsHere;
    else if (builder.m_pFunction && !builder.m_pFunction->Holds(address))
        builder.m_pFunction = nullptr;
    builder.AddLineRecord(0, address, kLineFunctionStart);
}

void ParseSourceLine(MapModuleBuilder& builder, std::string_view line) {
    LineTokenizer tokens(line);
    const auto value = tokens.Next(kBlankAndLineFeed);
    if (!value) return;
    if (!tokens.Next(" ")) return; // LINE
    if (!tokens.Next(kBlanks) || !tokens.Next(kBlanks)) return;
    const auto number = tokens.Next(kBlanks);
    if (!number) return;
    builder.AddSourceLine(AddressOfValue(*value), ParseDecimalNumber(TextFrom(*number, 1)));
}

void ParseModuleContentLine(MapModuleBuilder& builder, std::string_view line) {
    if (ContainsText(line, "SYMBOL") || ContainsText(line, "PUBLIC") ||
        ContainsText(line, "SFRSYM")) {
        if (builder.m_pFunction && ContainsText(line, "SYMBOL") &&
            ParseSymbolTableEntry(builder, *builder.m_pFunction, line))
            return;
        if (HasAddressValue(line)) ParseMapSymbolLine(builder, line);
        return;
    }
    if (ContainsText(line, "BLOCKEND")) {
        builder.AddLineRecord(0, 0, kLineFunctionEnd);
        return;
    }
    if (ContainsText(line, "BLOCK")) {
        ParseBlockStart(builder, line);
        return;
    }
    if (ContainsText(line, "LINE")) ParseSourceLine(builder, line);
}

} // namespace

int ParseMapFile(MapLoader& loader, CSymbolTable& table, CSymbolDatabase& database,
                 const std::string& baseDir) {
    MapModuleBuilder builder(loader, table, database, baseDir);
    const std::vector<TextLine>& lines = loader.m_lines;
    size_t index = 0;

    int memoryMap = kMemoryMapNone;
    for (; index < lines.size(); ++index) {
        std::string_view line = lines[index].m_strText;
        if (memoryMap != kMemoryMapNone && !line.empty() && line.front() == '0') {
            ParseModuleLine(builder, line, memoryMap);
            continue;
        }
        if (ContainsText(line, kSymbolTableHeading)) {
            ++index;
            break;
        }
        if (ContainsText(line, kDataMemoryHeading))
            memoryMap = kListData;
        else if (ContainsText(line, kCodeMemoryHeading))
            memoryMap = kListCode;
        else if (ContainsText(line, kXdataMemoryHeading))
            memoryMap = kListXdata;
        else if (ContainsText(line, kOverlayMapHeading))
            memoryMap = kMemoryMapNone;
    }

    for (; index < lines.size(); ++index) {
        std::string_view line = lines[index].m_strText;
        if (ContainsText(line, kModuleLine)) {
            builder.EndModule();
            LineTokenizer tokens(line);
            for (int column = 0; column < 4; ++column)
                tokens.Next(kBlanks);
            if (const auto name = tokens.Next(kBlanks)) builder.BeginModule(*name);
            continue;
        }
        if (builder.InModule()) ParseModuleContentLine(builder, line);
    }
    builder.EndModule();
    return 1;
}

int ParseMapFile(MapLoader& loader, const std::string& baseDir) {
    if (!g_pSymbolTable || !g_pSymbolDatabase) return 0;
    return ParseMapFile(loader, *g_pSymbolTable, *g_pSymbolDatabase, baseDir);
}
