#include "symbol_table.h"

#include <iterator>

std::unique_ptr<CSymbolTable> g_pSymbolTable;

int CSymbolTable::AddSymbolName(const std::string& name, std::unique_ptr<SymbolInfo> record,
                                int selector) {
    if (!record) return 0;
    if (!Names(selector).emplace(name, record.get()).second) return 0;
    m_records.push_back(std::move(record));
    return 1;
}

int CSymbolTable::AddSymbolByAddress(uint32_t address, std::unique_ptr<SymbolInfo> record,
                                     int selector, int flag) {
    if (!record) return 0;
    int mapSelector = selector;
    if (flag == 1)
        mapSelector = kSelectData;
    else if (flag != 0)
        mapSelector = kSelectCode;
    if (!Addresses(mapSelector).emplace(address, record.get()).second) return 0;
    m_records.push_back(std::move(record));
    return 1;
}

bool CSymbolTable::EnterSymbolCopy(const SymbolInfo& symbol, int selector) {
    auto copy = std::make_unique<SymbolInfo>();
    CopySymbolInfo(copy.get(), &symbol);
    const bool byName = Names(selector).emplace(copy->m_strName, copy.get()).second;
    const bool byAddress = Addresses(selector).emplace(copy->m_dwAddress, copy.get()).second;
    if (!byName && !byAddress) return false;
    m_records.push_back(std::move(copy));
    return true;
}

SymbolInfo* CSymbolTable::LookupSymbol(std::string_view name, int selector) const {
    const NameMap& names = Names(selector);
    auto it = names.find(std::string(name));
    return it == names.end() ? nullptr : it->second;
}

SymbolInfo* CSymbolTable::SymbolAtAddress(uint32_t address, int selector) const {
    const AddressMap& addresses = Addresses(selector);
    auto it = addresses.find(address);
    return it == addresses.end() ? nullptr : it->second;
}

void CSymbolTable::SetLineAddress(const std::string& key, uint32_t address) {
    m_mapLineToAddress[key] = address;
    m_mapAddressToLine[address] = key;
}

void CSymbolTable::SetLineOfAddress(uint32_t address, const std::string& key) {
    m_mapAddressToLine[address] = key;
}

std::string CSymbolTable::GetLineOfAddress(uint32_t address) const {
    auto it = m_mapAddressToLine.find(address);
    return it == m_mapAddressToLine.end() ? std::string() : it->second;
}

uint32_t CSymbolTable::GetAddressOfLine(std::string_view key) const {
    auto it = m_mapLineToAddress.find(std::string(key));
    return it == m_mapLineToAddress.end() ? kNoAddress : it->second;
}

void CSymbolTable::RenameLineKey(const std::string& oldKey, const std::string& newKey) {
    auto it = m_mapLineToAddress.find(oldKey);
    if (it == m_mapLineToAddress.end() || oldKey == newKey) return;
    const uint32_t address = it->second;
    m_mapLineToAddress.erase(it);
    m_mapLineToAddress[newKey] = address;
}

uint32_t CSymbolTable::NextCodePlaceAbove(uint32_t address) const {
    uint32_t next = kNoAddress;
    for (const auto& entry : m_mapCodeAddresses)
        if (entry.first > address && entry.first < next) next = entry.first;
    for (const auto& entry : m_mapAddressToLine)
        if (entry.first > address && entry.first < next) next = entry.first;
    return next;
}

void CSymbolTable::DropLinePosition(const std::string& key, uint32_t address) {
    m_mapLineToAddress.erase(key);
    auto it = m_mapAddressToLine.find(address);
    if (it != m_mapAddressToLine.end() && it->second == key) m_mapAddressToLine.erase(it);
}

void CSymbolTable::DropPositionsFrom(uint64_t end) {
    for (auto it = m_mapAddressToLine.begin(); it != m_mapAddressToLine.end();)
        it = it->first >= end ? m_mapAddressToLine.erase(it) : std::next(it);
    for (auto it = m_mapLineToAddress.begin(); it != m_mapLineToAddress.end();)
        it = it->second >= end ? m_mapLineToAddress.erase(it) : std::next(it);
}
