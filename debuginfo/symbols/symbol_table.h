// The symbol and line table of the loaded project: code and data symbols by
// name and by address, and the two maps between a source position
// ("file:line") and a code address.
//
// Names and keys compare exactly. The first record entered for a name or an
// address keeps it. The table owns every record its maps refer to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "symbol_records.h"

constexpr int kSelectCode = 1; // name and address maps of code symbols
constexpr int kSelectData = 2; // any other selector: data symbols

// The address-to-position lookup's answer for an address without a position.
constexpr uint32_t kNoAddress = 0xFFFFFFFF;

class CSymbolTable {
public:
    // The map loader's module records; set once the map has been read, not owned.
    const std::vector<std::unique_ptr<SymbolInfo>>* m_pModuleRecords = nullptr;

    // Enters `record` under `name` in the code (selector 1) or data name map.
    // 1 when the name was new (the table keeps the record); 0 when the record
    // is null or the name is taken (the record is dropped).
    int AddSymbolName(const std::string& name, std::unique_ptr<SymbolInfo> record, int selector);

    // Enters `record` under `address` in an address map: the data map when
    // `flag` is 1, the code map for any other non-zero flag, and with flag 0
    // the code map for selector 1 and the data map otherwise. 1 when the
    // address was new (the table keeps the record); 0 otherwise (dropped).
    int AddSymbolByAddress(uint32_t address, std::unique_ptr<SymbolInfo> record, int selector,
                           int flag = 0);

    // Enters one copy of `symbol` under its name and its address in the maps
    // chosen by the selector; the copy is kept when either was new. Returns
    // whether it was kept.
    bool EnterSymbolCopy(const SymbolInfo& symbol, int selector);

    SymbolInfo* LookupSymbol(std::string_view name, int selector) const;
    SymbolInfo* SymbolAtAddress(uint32_t address, int selector) const;

    // Source positions. Both maps replace an earlier entry for a key.
    void SetLineAddress(const std::string& key, uint32_t address); // both directions
    void SetLineOfAddress(uint32_t address, const std::string& key);
    std::string GetLineOfAddress(uint32_t address) const;
    uint32_t GetAddressOfLine(std::string_view key) const;
    // Moves the address of `oldKey` in the line-to-address map to `newKey`
    // (replacing its entry) and removes `oldKey`; nothing when `oldKey` is absent.
    void RenameLineKey(const std::string& oldKey, const std::string& newKey);
    // Removes the position `key` from the line-to-address map, and from
    // `address` when that is its position.
    void DropLinePosition(const std::string& key, uint32_t address);
    // Removes every source position at an address at or past `end`.
    void DropPositionsFrom(uint64_t end);

    // The lowest address above `address` at which a code symbol or a source
    // line begins; kNoAddress when none does.
    uint32_t NextCodePlaceAbove(uint32_t address) const;

    size_t RecordCount() const { return m_records.size(); }
    size_t LinePositionCount() const { return m_mapLineToAddress.size(); }
    size_t AddressPositionCount() const { return m_mapAddressToLine.size(); }

private:
    using NameMap = std::unordered_map<std::string, SymbolInfo*>;
    using AddressMap = std::unordered_map<uint32_t, SymbolInfo*>;

    NameMap& Names(int selector) {
        return selector == kSelectCode ? m_mapCodeNames : m_mapDataNames;
    }
    const NameMap& Names(int selector) const {
        return selector == kSelectCode ? m_mapCodeNames : m_mapDataNames;
    }
    AddressMap& Addresses(int selector) {
        return selector == kSelectCode ? m_mapCodeAddresses : m_mapDataAddresses;
    }
    const AddressMap& Addresses(int selector) const {
        return selector == kSelectCode ? m_mapCodeAddresses : m_mapDataAddresses;
    }

    std::vector<std::unique_ptr<SymbolInfo>> m_records; // every record the maps refer to
    NameMap m_mapCodeNames;
    AddressMap m_mapCodeAddresses;
    NameMap m_mapDataNames;
    AddressMap m_mapDataAddresses;
    std::unordered_map<uint32_t, std::string> m_mapAddressToLine;
    std::unordered_map<std::string, uint32_t> m_mapLineToAddress;
};

// The table of the loaded project; null while none is loaded.
extern std::unique_ptr<CSymbolTable> g_pSymbolTable;
