// The records the linker-map and listing readers build: symbols, module
// records, functions and data segments with their local variables.
//
// Every record is owned by exactly one container; where one parsed symbol is
// kept in two places, each place holds its own copy.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Memory space codes carried by symbols; they select the host copy of target
// memory and the target space of a write.
constexpr uint32_t kMemSpaceNone = 0;
constexpr uint32_t kMemSpaceData = 1;  // internal data
constexpr uint32_t kMemSpaceXdata = 2; // external data
constexpr uint32_t kMemSpaceCode = 4;
constexpr uint32_t kMemSpaceSfr = 8; // special function registers

// The name rule: a name taken from a text line loses its last character when
// that character is neither alphanumeric nor '_' (only one is ever cut).
void ApplyNameRule(std::string& name);

// A function's name as its code segment writes it: upper case, a leading '_'
// removed (_setFreq gives SETFREQ).
std::string SegmentNameOfFunction(std::string_view name);

// One symbol of the program under debug, or (type name "MODULE") one module
// of the map, whose children are copies of the module's symbols.
struct SymbolInfo {
    SymbolInfo() = default;
    // The name passes through the name rule.
    explicit SymbolInfo(std::string_view name);

    std::string m_strName;
    uint32_t m_dwAddress = 0;
    uint32_t m_nSize = 0;   // bytes; 0 until a reader sets it
    std::string m_strType;  // "BYTE", "WORD", "DWORD", "INT", "NONE", listing words, "MODULE"
    std::string m_strKind;  // "SYMBOL", "PUBLIC", "SFRSYM" or empty
    std::string m_strClass; // "CODE", "DATA", "XDATA" (other words on module children)
    uint32_t m_nSpace = kMemSpaceNone;
    std::vector<std::unique_ptr<SymbolInfo>> m_children; // module records only
};

// Replaces the record's type name by `text` cut by the name rule; a null
// record or text changes nothing.
void SetTextBuffer(SymbolInfo* record, const char* text);

// Copies every field but the children from `source` into `destination`; either
// being null does nothing. A copy never shares its children with the source.
void CopySymbolInfo(SymbolInfo* destination, const SymbolInfo* source);

// Appends a copy of `source` to `parent`'s children and returns it.
SymbolInfo* AddChildSymbol(SymbolInfo& parent, const SymbolInfo& source);

// A local variable (or a block-scoped symbol) of one function, visible at the
// code addresses from m_dwScopeLow to m_dwScopeHigh inclusive.
struct CSymbolLocalVar : SymbolInfo {
    using SymbolInfo::SymbolInfo;
    uint32_t m_dwScopeLow = 0;
    uint32_t m_dwScopeHigh = 0;
};

constexpr int kSegmentCode = 1; // a ?PR? segment: a function
constexpr int kSegmentData = 2; // a ?DT? or ?XD? segment

// One segment of the linker map's memory maps; a code segment is a function.
struct CSymbolStruct {
    std::vector<std::unique_ptr<CSymbolLocalVar>> m_locals;
    std::string m_strName; // FUNC of ?PR?FUNC?MAIN, a leading '_' removed
    std::string m_strFile; // MAIN.C of ?PR?FUNC?MAIN
    uint32_t m_dwStart = 0;
    uint32_t m_dwLength = 0; // 0: the segment holds no address
    int m_nKind = 0;

    bool Holds(uint32_t address) const {
        return m_dwLength != 0 && address >= m_dwStart && address - m_dwStart < m_dwLength;
    }
};

// Selectors of the three segment lists; the map readers number the memory
// maps the same way.
constexpr int kListData = 0;
constexpr int kListCode = 1;
constexpr int kListXdata = 2;

using SegmentList = std::vector<std::unique_ptr<CSymbolStruct>>;

// The symbol database: the segments of the code, data and external-data
// memory maps, each list in map order.
struct CSymbolDatabase {
    SegmentList m_listCode;
    SegmentList m_listData;
    SegmentList m_listXdata;

    // The list for a selector (1 code, 0 data, 2 external data); null for any other.
    SegmentList* List(int selector);
    const SegmentList* List(int selector) const;

    // The first segment of the chosen list named exactly `name`.
    CSymbolStruct* FindSymbolByName(std::string_view name, int selector) const;
    // The first code segment whose range holds `address`.
    CSymbolStruct* FindFunctionOfAddress(uint32_t address) const;
};

// The symbol database of the loaded project; null while none is loaded.
extern std::unique_ptr<CSymbolDatabase> g_pSymbolDatabase;

// Creates the symbol database with three empty lists.
void AllocateProjectTables();
