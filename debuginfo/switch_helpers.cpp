#include "switch_helpers.h"

#include "symbol_lookup.h"

#include <algorithm>

namespace {

const char* const kSwitchHelperNames[] = {"?C?CCASE", "?C?ICASE", "?C?LCASE"};
constexpr uint32_t kCodeSpaceEnd = 0x10000;

bool IsSwitchHelper(uint32_t address) {
    for (const char* name : kSwitchHelperNames) {
        const SymbolInfo* symbol = g_pSymbolTable->LookupSymbol(name, kSelectCode);
        if (symbol && symbol->m_dwAddress == address) return true;
    }
    return false;
}

} // namespace

uint32_t SwitchHelperEnd(uint32_t address) {
    if (!g_pSymbolTable || !IsSwitchHelper(address)) return 0;
    uint32_t end = std::min(g_pSymbolTable->NextCodePlaceAbove(address), kCodeSpaceEnd);
    if (g_pSymbolDatabase)
        for (const auto& function : g_pSymbolDatabase->m_listCode)
            if (function->m_dwStart > address) end = std::min(end, function->m_dwStart);
    return end;
}
