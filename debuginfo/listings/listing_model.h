// The two assembly listings of the loaded project, without any display: the
// mixed list (each block of instructions preceded by the source lines that
// produced it) and the assembly-only list, the maps between code addresses
// and their rows, and for every source file an index from line number to the
// rows of that line's code.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "disasm_loader.h"
#include "symbol_table.h"
#include "text_loader.h"

// Row kinds of the mixed list.
constexpr int32_t kRowSource = 0;           // a source row or a symbol row
constexpr int32_t kRowFirstInstruction = 1; // the first instruction after source rows
constexpr int32_t kRowInstruction = 2;      // any other instruction row

// One line's entry in a source file's index; -1 where the line has no code.
struct IndexEntry {
    int32_t m_nSrcRow = -1;  // row in the mixed list of the line's first instruction
    int32_t m_nAsmRow = -1;  // row in the assembly-only list of that instruction
    int32_t m_nAddress = -1; // code address of the line
    int32_t m_nReserved = 0; // always 0
};

// The index of one source file: entry k - 1 belongs to line k.
class CIndexTable {
public:
    explicit CIndexTable(std::string fileName) : m_strFileName(std::move(fileName)) {}

    // Drops the previous entries and makes `lineCount` new ones.
    void Resize(size_t lineCount) { m_entries.assign(lineCount, IndexEntry()); }
    size_t Count() const { return m_entries.size(); }
    // The entry of `line` (from 1); null outside the file.
    IndexEntry* Entry(uint32_t line);
    const IndexEntry* Entry(uint32_t line) const;

    std::string m_strFileName; // upper case with extension, as in the project file list
    std::vector<IndexEntry> m_entries;
};

// One index per source file, in the order the modules were loaded.
extern std::list<CIndexTable> g_IndexTableList;

// The rows of both listings and the maps between addresses and rows. Only
// instruction rows enter the maps.
struct CListingModel {
    std::vector<std::string> m_srcRows; // the mixed list
    std::vector<int32_t> m_srcRowKinds; // one kind per row of the mixed list
    std::vector<std::string> m_asmRows; // the assembly-only list
    std::unordered_map<uint32_t, int32_t> m_mapAddressToSrcRow;
    std::unordered_map<uint32_t, int32_t> m_mapAddressToAsmRow;
    std::unordered_map<int32_t, uint32_t> m_mapSrcRowToAddress;
    std::unordered_map<int32_t, uint32_t> m_mapAsmRowToAddress;

    // Empties the rows, the kinds and the four maps.
    void Clear();
};

// The listings of the loaded project.
extern CListingModel g_ListingModel;

// Told the progress percent of the walk (40 + 90 x address / highest, which
// passes 100 in the last third); called only when the value changes.
using ListingProgress = std::function<void(int percent)>;

// Builds both listings into `model` (which is emptied first) in one walk over
// the code addresses from 0 to the disassembly's highest address. The source
// loaders are taken from the front and the indexes from the back together,
// each index sized to its loader's line count. `table` may be null (an image
// without debug information): then every row is an instruction row.
void BuildAssemblyListings(const std::list<std::shared_ptr<Loader>>& sourceLoaders,
                           std::list<CIndexTable>& indexTables, const CSymbolTable* table,
                           const DisasmLoader& disassembly, CListingModel& model,
                           const ListingProgress& progress = ListingProgress());
