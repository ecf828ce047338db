// Data symbols and functions with locals for the typed-value tests, entered
// into the process-wide symbol table and database.
#pragma once

#include "symbol_lookup.h"
#include "symbol_records.h"
#include "symbol_table.h"

#include <memory>
#include <string>

inline SymbolInfo MakeVariable(const std::string& name, uint32_t address, const std::string& type,
                               uint32_t size, uint32_t space, const std::string& kind = "PUBLIC") {
    SymbolInfo symbol(name);
    symbol.m_dwAddress = address;
    symbol.m_strType = type;
    symbol.m_nSize = size;
    symbol.m_nSpace = space;
    symbol.m_strKind = kind;
    symbol.m_strClass = space == kMemSpaceXdata  ? "XDATA"
                        : space == kMemSpaceCode ? "CODE"
                                                 : "DATA";
    return symbol;
}

// A fresh, empty symbol table and database.
inline void StartSymbolTables() {
    g_pSymbolTable = std::make_unique<CSymbolTable>();
    AllocateProjectTables();
}

inline void DropSymbolTables() {
    g_pSymbolTable.reset();
    g_pSymbolDatabase.reset();
}

inline void EnterDataSymbol(const SymbolInfo& symbol) {
    g_pSymbolTable->EnterSymbolCopy(symbol, kSelectData);
}

// A function at [start, start + length) and its list of locals.
inline CSymbolStruct& AddFunction(const std::string& name, uint32_t start, uint32_t length) {
    auto function = std::make_unique<CSymbolStruct>();
    function->m_strName = name;
    function->m_dwStart = start;
    function->m_dwLength = length;
    function->m_nKind = kSegmentCode;
    g_pSymbolDatabase->m_listCode.push_back(std::move(function));
    return *g_pSymbolDatabase->m_listCode.back();
}

inline void AddLocal(CSymbolStruct& function, const SymbolInfo& symbol, uint32_t scopeLow,
                     uint32_t scopeHigh) {
    auto local = std::make_unique<CSymbolLocalVar>();
    CopySymbolInfo(local.get(), &symbol);
    local->m_dwScopeLow = scopeLow;
    local->m_dwScopeHigh = scopeHigh;
    function.m_locals.push_back(std::move(local));
}
