#include "switch_helpers.h"

#include "symbol_lookup.h"

#include <algorithm>

namespace {

struct SwitchHelperName {
    const char* name;
    uint8_t valueBytes;
};
constexpr SwitchHelperName kSwitchHelpers[] = {{"?C?CCASE", 1}, {"?C?ICASE", 2}, {"?C?LCASE", 4}};
constexpr uint32_t kCodeSpaceEnd = 0x10000;

bool IsSwitchHelper(uint32_t address) {
    for (const disasm8051::SwitchHelper& helper : SwitchHelpersOf(*g_pSymbolTable))
        if (helper.address == address) return true;
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

std::vector<disasm8051::SwitchHelper> SwitchHelpersOf(const CSymbolTable& table) {
    std::vector<disasm8051::SwitchHelper> helpers;
    for (const SwitchHelperName& helper : kSwitchHelpers) {
        const SymbolInfo* symbol = table.LookupSymbol(helper.name, kSelectCode);
        if (symbol && symbol->m_dwAddress < kCodeSpaceEnd)
            helpers.push_back({static_cast<uint16_t>(symbol->m_dwAddress), helper.valueBytes});
    }
    return helpers;
}
