#include "symbol_rows.h"

#include "typed_values.h"

#include <cstdio>

std::string SymbolAddressText(const SymbolInfo& symbol) {
    const std::string& memoryClass = symbol.m_strClass;
    const char* prefix = "";
    if (memoryClass == "CODE")
        prefix = "C:";
    else if (memoryClass == "DATA" || (memoryClass == "---" && symbol.m_strKind == "SFRSYM"))
        prefix = "D:";
    else if (memoryClass == "XDATA")
        prefix = "X:";
    else if (memoryClass == "NUMBER")
        prefix = "N:";
    char text[24];
    std::snprintf(text, sizeof text, "%s0x%.6X", prefix, unsigned(symbol.m_dwAddress));
    return text;
}

std::vector<SymbolModuleRows>
BuildSymbolRows(const std::vector<std::unique_ptr<SymbolInfo>>& modules) {
    std::vector<SymbolModuleRows> rows;
    rows.reserve(modules.size());
    for (const auto& module : modules) {
        FormatSymbolValue(module->m_strName.c_str());
        SymbolModuleRows& moduleRows = rows.emplace_back();
        moduleRows.name = module->m_strName;
        moduleRows.symbols.reserve(module->m_children.size());
        for (const auto& symbol : module->m_children) {
            FormatSymbolValue(symbol->m_strName.c_str());
            moduleRows.symbols.push_back(
                {symbol->m_strName, symbol->m_strKind, SymbolAddressText(*symbol)});
        }
    }
    return rows;
}
