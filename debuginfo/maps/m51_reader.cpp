#include "m51_reader.h"

#include <memory>
#include <optional>
#include <string_view>

#include "line_tokenizer.h"
#include "map_loader.h"
#include "map_reader_common.h"
#include "symbol_table.h"

namespace {

constexpr std::string_view kModuleStart = "-------         MODULE";
constexpr std::string_view kModuleEnd = "-------         ENDMOD";
constexpr std::string_view kBlankAndLineFeed = " \n";
constexpr std::string_view kBlanks = " \t\n";

bool HasMemoryPrefix(std::string_view text) {
    return ContainsText(text, "C:") || ContainsText(text, "D:") || ContainsText(text, "X:");
}

void ParseM51SegmentLine(MapModuleBuilder& builder, std::string_view line, int memoryMap) {
    if (!ContainsText(line, "DATA") && !ContainsText(line, "IDATA") &&
        !ContainsText(line, "XDATA") && !ContainsText(line, "CODE"))
        return;
    LineTokenizer tokens(line);
    if (!tokens.Next(kBlankAndLineFeed)) return; // the segment type
    const auto startToken = tokens.Next(kBlankAndLineFeed);
    if (!startToken) return;
    const auto lengthToken = tokens.Next(kBlankAndLineFeed);
    if (!lengthToken) return;
    if (memoryMap == kListXdata && !builder.WidenXdataRange(*startToken, *lengthToken)) return;
    if (!tokens.Next(kBlankAndLineFeed)) return; // the relocation word
    builder.AddSegment(memoryMap, *startToken, *lengthToken, tokens);
}

// The address of a value token such as "C:0A44H"; the line is refused when
// the token has no memory prefix or no usable address.
std::optional<uint32_t> ReadValueAddress(MapModuleBuilder& builder, std::string_view value) {
    if (HasMemoryPrefix(value)) return builder.ReadAddress(value, TextFrom(value, 2));
    builder.Refuse("the address", value, "has no memory prefix (C:, D: or X:)");
    return std::nullopt;
}

// A PUBLIC line, or a SYMBOL line outside a function: 1 when it made a symbol.
int ParseM51SymbolValue(MapModuleBuilder& builder, std::string_view line) {
    LineTokenizer tokens(line);
    const auto value = tokens.Next(" ");
    const auto kind = tokens.Next(" ");
    const auto name = tokens.Next(" ");
    if (!value) return 0;
    std::string_view memoryClass;
    if (ContainsText(*value, "C:"))
        memoryClass = "CODE";
    else if (ContainsText(*value, "D:"))
        memoryClass = "DATA";
    else if (ContainsText(*value, "X:"))
        memoryClass = "XDATA";
    else
        return 0;
    if (!kind || !name) return 0;
    const auto address = ReadValueAddress(builder, *value);
    if (!address) return 1;
    SymbolInfo symbol(*name);
    symbol.m_dwAddress = *address;
    symbol.m_strClass.assign(memoryClass);
    const bool sfr =
        memoryClass == "DATA" && symbol.m_dwAddress >= 0x80 && symbol.m_dwAddress <= 0xFF;
    symbol.m_strKind.assign(sfr ? std::string_view("SFRSYM") : *kind);
    symbol.m_nSpace = SpaceOfClass(symbol.m_strClass, symbol.m_strKind);
    builder.AddGlobalSymbol(symbol);
    return 1;
}

// A SYMBOL line inside a function: 1 when it made a local of the function or
// was refused.
int ParseM51SymbolLine(MapModuleBuilder& builder, CSymbolStruct& function, std::string_view line) {
    LineTokenizer tokens(line);
    const auto value = tokens.Next(kBlanks);
    if (!value || value->empty()) return 0;
    std::string_view memoryClass;
    switch (value->front()) {
    case 'D':
        memoryClass = "DATA";
        break;
    case 'X':
        memoryClass = "XDATA";
        break;
    case 'C':
        memoryClass = "CODE";
        break;
    default:
        return 0;
    }
    if (!tokens.Next(kBlanks)) return 0; // SYMBOL
    const auto name = tokens.Next(kBlanks);
    if (!name) return 0;
    const auto address = builder.ReadAddress(*value, TextFrom(*value, 2));
    if (!address) return 1;
    auto local = std::make_unique<CSymbolLocalVar>(*name);
    local->m_dwAddress = *address;
    local->m_strType = "NONE";
    local->m_nSize = 2;
    local->m_strClass.assign(memoryClass);
    local->m_nSpace = SpaceOfClass(memoryClass, "");
    builder.AddLocal(function, std::move(local));
    return 1;
}

void ParseM51FunctionStart(MapModuleBuilder& builder, std::string_view line) {
    LineTokenizer tokens(line);
    tokens.Next(kBlankAndLineFeed);
    tokens.Next(kBlankAndLineFeed);
    const auto token = tokens.Next(kBlankAndLineFeed);
    CSymbolStruct* function = nullptr;
    if (token) {
        std::string_view name = *token;
        if (!name.empty() && name.front() == '_') name.remove_prefix(1);
        function = builder.FunctionNamed(name);
    }
    if (function) {
        builder.m_pFunction = function;
        builder.AddLineRecord(0, function->m_dwStart, kLineFunctionStart);
        return;
    }
    if (token && builder.IsRefusedFunction(*token)) {
        builder.BeginRefusedFunction(*token);
        return;
    }
    builder.AddLineRecord(0, 0, kLineFunctionStart);
    if (!builder.m_pFunction || builder.m_pFunction->m_dwStart != 0) builder.m_pFunction = nullptr;
}

void ParseM51SourceLine(MapModuleBuilder& builder, std::string_view line) {
    LineTokenizer tokens(line);
    const auto value = tokens.Next(kBlankAndLineFeed);
    if (!value) return;
    if (!tokens.Next(" ")) return; // LINE#
    const auto number = tokens.Next(kBlanks);
    if (!number) return;
    const auto address = ReadValueAddress(builder, *value);
    const auto lineNumber = address ? builder.ReadLineNumber(*number, *number) : std::nullopt;
    if (!lineNumber) {
        builder.CutLastSourceLine();
        return;
    }
    builder.AddSourceLine(*address, *lineNumber);
}

void ParseM51ModuleLine(MapModuleBuilder& builder, std::string_view line) {
    if (ContainsText(line, kModuleEnd)) {
        builder.EndModule();
        return;
    }
    if (ContainsText(line, "SYMBOL")) {
        if (builder.InRefusedScope()) return; // a local of a function without a segment
        if (builder.m_pFunction && ParseM51SymbolLine(builder, *builder.m_pFunction, line)) return;
        if (HasMemoryPrefix(line)) ParseM51SymbolValue(builder, line);
        return;
    }
    if (ContainsText(line, "PUBLIC")) {
        if (HasMemoryPrefix(line)) ParseM51SymbolValue(builder, line);
        return;
    }
    if (ContainsText(line, "ENDPROC")) {
        builder.AddLineRecord(0, 0, kLineFunctionEnd);
        builder.LeaveScope();
        return;
    }
    if (ContainsText(line, "PROC")) {
        ParseM51FunctionStart(builder, line);
        return;
    }
    if (ContainsText(line, "LINE#")) ParseM51SourceLine(builder, line);
}

} // namespace

int ParseM51File(MapLoader& loader, CSymbolTable& table, CSymbolDatabase& database,
                 const std::string& baseDir) {
    MapModuleBuilder builder(loader, table, database, baseDir);
    const std::vector<TextLine>& lines = loader.m_lines;
    size_t index = ReadMemoryMaps(builder, lines, [&](std::string_view line, int memoryMap) {
        ParseM51SegmentLine(builder, line, memoryMap);
    });

    for (; index < lines.size(); ++index) {
        std::string_view line = lines[index].m_strText;
        builder.SetMapLine(lines[index].m_nLine);
        if (builder.InModule()) {
            ParseM51ModuleLine(builder, line);
            continue;
        }
        if (!ContainsText(line, kModuleStart)) continue;
        LineTokenizer tokens(line);
        tokens.Next(kBlanks);
        tokens.Next(kBlanks);
        if (const auto name = tokens.Next(kBlanks)) builder.BeginModule(*name);
    }
    // A module still open at the end of the text, like a map without the
    // linker's last line, was cut short; the open module's last source line
    // lost the record that ended its code.
    if (builder.InModule() || !HasClosingLine(lines)) loader.m_faults.SetIncomplete();
    builder.CutLastSourceLine();
    builder.EndModule();
    return 1;
}

int ParseM51File(MapLoader& loader, const std::string& baseDir) {
    if (!g_pSymbolTable || !g_pSymbolDatabase) return 0;
    return ParseM51File(loader, *g_pSymbolTable, *g_pSymbolDatabase, baseDir);
}
