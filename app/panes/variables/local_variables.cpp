#include "local_variables.h"

#include "symbol_lookup.h"

#include <cctype>
#include <string>

namespace {

// The module a source position ("main.c:42") lies in: "MAIN".
std::string ModuleOfPosition(const std::string& position) {
    std::string module = position.substr(0, position.find('.'));
    for (char& c : module)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return module == "C?STARTUP" ? "START" : module;
}

// The module's copy of a symbol carries no type; the table's record of the
// same variable does.
const SymbolInfo* TypedRecord(const SymbolInfo& child) {
    const SymbolInfo* typed = LookupSymbol(child.m_strName, kSelectData);
    if (typed && typed->m_dwAddress == child.m_dwAddress && typed->m_nSpace == child.m_nSpace)
        return typed;
    return &child;
}

} // namespace

LocalVariableList LocalVariablesAt(uint16_t pc,
                                   const std::vector<std::unique_ptr<SymbolInfo>>* modules,
                                   size_t maxRows) {
    LocalVariableList list;
    if (!g_pSymbolDatabase) return list;
    list.function = FindFunctionOfAddress(pc);
    if (!list.function) return list;
    for (const auto& local : list.function->m_locals) {
        if (list.symbols.size() == maxRows) return list;
        list.symbols.push_back(local.get());
    }
    if (!modules) return list;
    const std::string module = ModuleOfPosition(GetLineOfAddress(pc));
    for (const auto& record : *modules) {
        if (record->m_strName != module) continue;
        for (const auto& symbol : record->m_children) {
            if (symbol->m_strKind != "SYMBOL") continue;
            if (symbol->m_strClass != "DATA" && symbol->m_strClass != "XDATA") continue;
            if (list.symbols.size() == maxRows) return list;
            list.symbols.push_back(TypedRecord(*symbol));
        }
        break;
    }
    return list;
}
