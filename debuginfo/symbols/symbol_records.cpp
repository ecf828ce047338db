#include "symbol_records.h"

#include <cctype>

std::unique_ptr<CSymbolDatabase> g_pSymbolDatabase;

void ApplyNameRule(std::string& name) {
    if (name.empty()) return;
    const unsigned char last = static_cast<unsigned char>(name.back());
    if (!std::isalnum(last) && last != '_') name.pop_back();
}

std::string SegmentNameOfFunction(std::string_view name) {
    if (!name.empty() && name.front() == '_') name.remove_prefix(1);
    std::string upper(name);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

SymbolInfo::SymbolInfo(std::string_view name) : m_strName(name) {
    ApplyNameRule(m_strName);
}

void SetTextBuffer(SymbolInfo* record, const char* text) {
    if (!record || !text) return;
    record->m_strType = text;
    ApplyNameRule(record->m_strType);
}

void CopySymbolInfo(SymbolInfo* destination, const SymbolInfo* source) {
    if (!destination || !source) return;
    destination->m_strName = source->m_strName;
    destination->m_dwAddress = source->m_dwAddress;
    destination->m_nSize = source->m_nSize;
    destination->m_strType = source->m_strType;
    destination->m_strKind = source->m_strKind;
    destination->m_strClass = source->m_strClass;
    destination->m_nSpace = source->m_nSpace;
}

SymbolInfo* AddChildSymbol(SymbolInfo& parent, const SymbolInfo& source) {
    auto child = std::make_unique<SymbolInfo>();
    CopySymbolInfo(child.get(), &source);
    parent.m_children.push_back(std::move(child));
    return parent.m_children.back().get();
}

SegmentList* CSymbolDatabase::List(int selector) {
    switch (selector) {
    case kListCode:
        return &m_listCode;
    case kListData:
        return &m_listData;
    case kListXdata:
        return &m_listXdata;
    default:
        return nullptr;
    }
}

const SegmentList* CSymbolDatabase::List(int selector) const {
    return const_cast<CSymbolDatabase*>(this)->List(selector);
}

CSymbolStruct* CSymbolDatabase::FindSymbolByName(std::string_view name, int selector) const {
    const SegmentList* list = List(selector);
    if (!list) return nullptr;
    for (const auto& segment : *list)
        if (segment->m_strName == name) return segment.get();
    return nullptr;
}

CSymbolStruct* CSymbolDatabase::FindFunctionOfAddress(uint32_t address) const {
    for (const auto& segment : m_listCode)
        if (segment->Holds(address)) return segment.get();
    return nullptr;
}

void AllocateProjectTables() {
    g_pSymbolDatabase = std::make_unique<CSymbolDatabase>();
}
