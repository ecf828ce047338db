#include "symbol_lookup.h"

std::unordered_map<uint32_t, int> g_mapBreakAddress;

SymbolInfo* LookupSymbol(std::string_view name, int selector) {
    return g_pSymbolTable ? g_pSymbolTable->LookupSymbol(name, selector) : nullptr;
}

std::string GetLineOfAddress(uint32_t address) {
    return g_pSymbolTable ? g_pSymbolTable->GetLineOfAddress(address) : std::string();
}

uint32_t GetAddressOfLine(std::string_view key) {
    return g_pSymbolTable ? g_pSymbolTable->GetAddressOfLine(key) : kNoAddress;
}

CSymbolStruct* FindFunctionOfAddress(uint32_t address) {
    return g_pSymbolDatabase ? g_pSymbolDatabase->FindFunctionOfAddress(address) : nullptr;
}

CSymbolStruct* FindSymbolByName(std::string_view name, int selector) {
    return g_pSymbolDatabase ? g_pSymbolDatabase->FindSymbolByName(name, selector) : nullptr;
}

CSymbolLocalVar* FindSymbolInRange(const CSymbolStruct* function, std::string_view name,
                                   uint32_t address) {
    if (!function) return nullptr;
    if (!name.empty() && name.back() == '\r') name.remove_suffix(1);
    CSymbolLocalVar* found = nullptr;
    for (const auto& local : function->m_locals) {
        if (local->m_strName != name) continue;
        if (address < local->m_dwScopeLow || address > local->m_dwScopeHigh) continue;
        if (!found || (local->m_dwScopeLow >= found->m_dwScopeLow &&
                       local->m_dwScopeHigh <= found->m_dwScopeHigh))
            found = local.get();
    }
    return found;
}

int IsBreakAddress(uint32_t address) {
    return g_mapBreakAddress[address];
}
