#include "global_variables.h"

#include "symbol_lookup.h"
#include "value_texts.h"

#include <set>
#include <utility>

namespace {

bool IsListedType(const std::string& type) {
    for (const char* listed :
         {"CHAR", "U_CHAR", "BYTE", "INT", "U_INT", "WORD", "PTR", "LONG", "U_LONG", "DWORD"})
        if (type == listed) return true;
    return false;
}

} // namespace

std::vector<VariableRowTexts> GlobalVariableRows(const std::vector<std::unique_ptr<CInfo>>& records,
                                                 int radix) {
    std::vector<VariableRowTexts> rows;
    std::set<std::pair<std::string, std::string>> made; // name, address text
    for (const auto& record : records) {
        const std::string type = record->m_strType.empty() ? "NONE" : record->m_strType;
        if (record->m_strKind == "SFRSYM") continue;
        if (record->m_strName.find('?') != std::string::npos) continue;
        const SymbolInfo* symbol = LookupSymbol(record->m_strName, kSelectData);
        if (!symbol || !IsListedType(type)) continue;
        const std::string address = VariableAddressText(*symbol);
        if (!made.insert({record->m_strName, address}).second) continue;
        // The record's own type names the width, as the pane first showed it.
        SymbolInfo shown;
        CopySymbolInfo(&shown, symbol);
        shown.m_strType = type;
        std::optional<std::string> value = VariableValueText(shown, radix);
        rows.push_back({record->m_strName, value ? *value : std::string(), type, address});
    }
    return rows;
}

std::optional<VariableRowTexts> GlobalVariableRow(const std::string& name, int radix) {
    const SymbolInfo* symbol = LookupSymbol(name, kSelectData);
    if (!symbol) return std::nullopt;
    return FormatVariableRow(*symbol, radix);
}
