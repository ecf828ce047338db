#include "variable_rows.h"

#include "debugger_views.h"
#include "symbol_lookup.h"
#include "typed_values.h"
#include "value_texts.h"

#include <algorithm>

std::optional<uint16_t> ShownProgramCounter() {
    const PcDisplay* display = GetPcDisplay();
    uint16_t pc = 0;
    if (!display || !display->GetCurrentPc(pc)) return std::nullopt;
    return pc;
}

const SymbolInfo* ResolveVariable(std::string_view name, std::optional<uint16_t> pc) {
    if (name.empty()) return nullptr;
    if (pc && g_pSymbolDatabase) {
        if (const CSymbolStruct* function = FindFunctionOfAddress(*pc))
            if (const SymbolInfo* local = FindSymbolInRange(function, name, *pc)) return local;
    }
    return LookupSymbol(name, kSelectData);
}

std::optional<std::string> VariableValueText(const SymbolInfo& symbol, int radix) {
    const std::string& type = symbol.m_strType;
    if (type == "NONE") return std::nullopt;
    if (type == "ARRAY") {
        std::string text;
        const uint32_t count = std::min(symbol.m_nSize, kMaxArrayRowBytes);
        for (uint32_t i = 0; i < count; ++i) {
            if (i != 0) text += ',';
            text +=
                FormatRadix(ReadTypedValue(symbol.m_nSpace, 1, symbol.m_dwAddress + i), radix, 1);
        }
        return text;
    }
    if (std::optional<std::string> pointer = GenericPointerValueText(symbol)) return pointer;
    const int width = ReadWidthOfType(type);
    return FormatRadix(ReadTypedValue(symbol.m_nSpace, width, symbol.m_dwAddress), radix, width);
}

std::optional<VariableRowTexts> FormatVariableRow(const SymbolInfo& symbol, int radix) {
    std::optional<std::string> value = VariableValueText(symbol, radix);
    if (!value) return std::nullopt;
    return VariableRowTexts{symbol.m_strName, std::move(*value), symbol.m_strType,
                            VariableAddressText(symbol)};
}
