#include "extended_map_reader.h"

#include <memory>
#include <optional>
#include <string_view>

#include "line_tokenizer.h"
#include "map_loader.h"
#include "map_reader_common.h"
#include "symbol_table.h"

namespace {

constexpr std::string_view kModuleLine = "---         MODULE";
constexpr std::string_view kBlankAndLineFeed = " \n";
constexpr std::string_view kBlanks = " \t\n";
// A value token is a memory space (two hexadecimal digits, or a class letter
// and a colon) and the address: 01000A44H, C:000A44H.
constexpr size_t kValueAddressIndex = 2;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// A symbol line's value column holds a value (not "---", nor the word of a
// warning such as "SYMBOL:").
bool HasValue(std::string_view line) {
    LineTokenizer tokens(line);
    const auto value = tokens.Next(kBlankAndLineFeed);
    return value && value->size() > kValueAddressIndex &&
           (IsDigit(value->front()) || (*value)[1] == ':');
}

// The address of a value token; the line is refused when it is not one.
std::optional<uint32_t> ReadValueAddress(MapModuleBuilder& builder, std::string_view value) {
    const bool hasSpace = value.size() > kValueAddressIndex &&
                          (value[1] == ':' || (IsHexDigit(value[0]) && IsHexDigit(value[1])));
    if (hasSpace) return builder.ReadAddress(value, TextFrom(value, kValueAddressIndex));
    builder.Refuse("the address", value, "is not a hexadecimal number");
    return std::nullopt;
}

// A line of a memory map that gives a segment: it starts with the start
// address ("000003H ..."), or names a segment the reader keeps, whose start
// may be damaged.
bool IsSegmentLine(std::string_view line) {
    return (!line.empty() && line.front() == '0') || ContainsText(line, "?PR?") ||
           ContainsText(line, "?DT?") || ContainsText(line, "?XD?");
}

void ParseModuleLine(MapModuleBuilder& builder, std::string_view line, int memoryMap) {
    LineTokenizer tokens(line);
    const auto startToken = tokens.Next(kBlankAndLineFeed);
    if (!startToken) return;
    if (!tokens.Next(kBlankAndLineFeed)) return; // the end address
    const auto lengthToken = tokens.Next(kBlankAndLineFeed);
    if (!lengthToken) return;
    if (memoryMap == kListXdata && !builder.WidenXdataRange(*startToken, *lengthToken)) return;
    for (int word = 0; word < 3; ++word) // alignment, relocation, class
        if (!tokens.Next(kBlankAndLineFeed)) return;
    builder.AddSegment(memoryMap, *startToken, *lengthToken, tokens);
}

// The columns of a symbol line after its value: rep, class, type and name.
struct MapSymbolColumns {
    uint32_t address = 0;
    std::string_view rep;
    std::string_view memoryClass;
    std::string_view type;
    std::string_view name;
};

enum class SymbolColumns { Read, Skipped, Refused };

// Skipped for a bit symbol or a line whose columns are incomplete; Refused
// when its value is no address.
SymbolColumns ReadSymbolColumns(MapModuleBuilder& builder, std::string_view line,
                                MapSymbolColumns& columns) {
    LineTokenizer tokens(line);
    const auto value = tokens.Next(kBlankAndLineFeed);
    const auto rep = tokens.Next(" ");
    const auto memoryClass = tokens.Next(kBlanks);
    const auto type = tokens.Next(kBlanks);
    if (!value || !rep || !memoryClass || !type || *type == "BIT") return SymbolColumns::Skipped;
    auto name = tokens.Next(kBlanks);
    if (name && ContainsText(*name, "LAB")) name = tokens.Next(kBlanks);
    if (!name) return SymbolColumns::Skipped;
    const auto address = ReadValueAddress(builder, *value);
    if (!address) return SymbolColumns::Refused;
    columns.address = *address;
    columns.rep = *rep;
    columns.memoryClass = *memoryClass;
    columns.type = *type;
    columns.name = *name;
    return SymbolColumns::Read;
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
    MapSymbolColumns columns;
    if (ReadSymbolColumns(builder, line, columns) != SymbolColumns::Read) return;
    SymbolInfo symbol(columns.name);
    symbol.m_dwAddress = columns.address;
    symbol.m_strKind.assign(columns.rep);
    symbol.m_strClass.assign(columns.memoryClass);
    symbol.m_nSpace = SpaceOfClass(symbol.m_strClass, symbol.m_strKind);
    SetTypeAndSize(symbol, columns.type);
    builder.AddGlobalSymbol(symbol);
}

// 1 when the line made a local of `function` or was refused; 0 for a bit
// symbol and for a line whose columns are incomplete.
int ParseSymbolTableEntry(MapModuleBuilder& builder, CSymbolStruct& function,
                          std::string_view line) {
    MapSymbolColumns columns;
    const SymbolColumns read = ReadSymbolColumns(builder, line, columns);
    if (read != SymbolColumns::Read) return read == SymbolColumns::Refused ? 1 : 0;
    auto local = std::make_unique<CSymbolLocalVar>(columns.name);
    local->m_dwAddress = columns.address;
    local->m_strClass.assign(columns.memoryClass);
    local->m_nSpace = SpaceOfClass(local->m_strClass, "");
    SetTypeAndSize(*local, columns.type);
    builder.AddLocal(function, std::move(local));
    return 1;
}

void ParseBlockStart(MapModuleBuilder& builder, std::string_view line) {
    LineTokenizer tokens(line);
    const auto value = tokens.Next(kBlankAndLineFeed);
    const auto read = value ? ReadValueAddress(builder, *value) : std::optional<uint32_t>(0);
    // A block whose address or whose function's segment is not known has
    // no scope for its symbols.
    if (!read) {
        builder.AddLineRecord(0, kNoCodeAddress, kLineFunctionStart);
        builder.EnterRefusedScope();
        return;
    }
    const uint32_t address = *read;
    CSymbolStruct* startsHere = builder.FunctionStartingAt(address);
    if (builder.InRefusedScope() || (!startsHere && builder.IsRefusedFunctionAt(address))) {
        builder.AddLineRecord(0, address, kLineFunctionStart);
        builder.EnterRefusedScope();
        return;
    }
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
    const auto address = ReadValueAddress(builder, *value);
    const auto lineNumber =
        address ? builder.ReadLineNumber(*number, TextFrom(*number, 1)) : std::nullopt;
    if (!lineNumber) {
        builder.CutLastSourceLine();
        return;
    }
    builder.AddSourceLine(*address, *lineNumber);
}

void ParseModuleContentLine(MapModuleBuilder& builder, std::string_view line) {
    if (ContainsText(line, "SYMBOL") || ContainsText(line, "PUBLIC") ||
        ContainsText(line, "SFRSYM")) {
        if (builder.InRefusedScope()) return; // a symbol of a block without a known range
        if (builder.m_pFunction && ContainsText(line, "SYMBOL") &&
            ParseSymbolTableEntry(builder, *builder.m_pFunction, line))
            return;
        if (HasValue(line)) ParseMapSymbolLine(builder, line);
        return;
    }
    if (ContainsText(line, "BLOCKEND")) {
        builder.AddLineRecord(0, 0, kLineFunctionEnd);
        builder.LeaveScope();
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
    size_t index = ReadMemoryMaps(builder, lines, [&](std::string_view line, int memoryMap) {
        if (IsSegmentLine(line)) ParseModuleLine(builder, line, memoryMap);
    });

    for (; index < lines.size(); ++index) {
        std::string_view line = lines[index].m_strText;
        builder.SetMapLine(lines[index].m_nLine);
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
    // The last module ends only with the linker's last line: without it the
    // module was cut short, and its last source line lost the record that
    // ended its code.
    if (!HasClosingLine(lines)) {
        loader.m_faults.SetIncomplete();
        builder.CutLastSourceLine();
    }
    builder.EndModule();
    return 1;
}

int ParseMapFile(MapLoader& loader, const std::string& baseDir) {
    if (!g_pSymbolTable || !g_pSymbolDatabase) return 0;
    return ParseMapFile(loader, *g_pSymbolTable, *g_pSymbolDatabase, baseDir);
}
