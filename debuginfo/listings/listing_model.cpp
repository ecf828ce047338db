#include "listing_model.h"

#include <cstdio>

#include "line_tables.h"
#include "path_resolver.h"
#include "row_format.h"

std::list<CIndexTable> g_IndexTableList;
CListingModel g_ListingModel;

IndexEntry* CIndexTable::Entry(uint32_t line) {
    return line >= 1 && line <= m_entries.size() ? &m_entries[line - 1] : nullptr;
}

const IndexEntry* CIndexTable::Entry(uint32_t line) const {
    return line >= 1 && line <= m_entries.size() ? &m_entries[line - 1] : nullptr;
}

void CListingModel::Clear() {
    m_srcRows.clear();
    m_srcRowKinds.clear();
    m_asmRows.clear();
    m_mapAddressToSrcRow.clear();
    m_mapAddressToAsmRow.clear();
    m_mapSrcRowToAddress.clear();
    m_mapAsmRowToAddress.clear();
}

namespace {

// A "FILE:LINE" position split into the upper-case file and the line number
// (the digits after the colon, up to a blank, carriage return or tab).
struct SourcePosition {
    std::string file;
    uint32_t line = 0;
};

SourcePosition SplitPosition(const std::string& text) {
    SourcePosition position;
    const size_t colon = text.find(':');
    position.file = platform::ToUpperKey(text.substr(0, colon));
    if (colon == std::string::npos) return position;
    for (size_t i = colon + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\r' || c == '\t' || c < '0' || c > '9') break;
        position.line = position.line * 10 + static_cast<uint32_t>(c - '0');
    }
    return position;
}

uint32_t AddressOfLine(const CSymbolTable& table, const std::string& file, uint32_t line) {
    char key[16];
    std::snprintf(key, sizeof key, ":%u", static_cast<unsigned>(line));
    return table.GetAddressOfLine(file + key);
}

// One walk over the code addresses; the state the steps share.
class ListingWalk {
public:
    ListingWalk(const std::list<std::shared_ptr<Loader>>& sourceLoaders,
                std::list<CIndexTable>& indexTables, const CSymbolTable* table,
                const DisasmLoader& disassembly, CListingModel& model)
        : m_table(table), m_disassembly(disassembly), m_model(model) {
        auto index = indexTables.rbegin();
        for (auto loader = sourceLoaders.begin();
             loader != sourceLoaders.end() && index != indexTables.rend(); ++loader, ++index) {
            if (!*loader) continue;
            m_loaders[platform::ToUpperKey((*loader)->m_strName)] = loader->get();
            index->Resize((*loader)->m_lines.size());
            m_indexes[platform::ToUpperKey(index->m_strFileName)] = &*index;
        }
    }

    void Visit(uint32_t address) {
        const std::string position = m_table ? m_table->GetLineOfAddress(address) : std::string();
        if (position.empty()) {
            AddSymbolRow(address);
        } else {
            AddSourceRows(address, SplitPosition(position));
        }
        AddInstructionRow(address);
    }

private:
    void AddSymbolRow(uint32_t address) {
        if (!m_table) return;
        const SymbolInfo* symbol = m_table->SymbolAtAddress(address, kSelectCode);
        if (!symbol) return;
        AppendSourceRow(
            FormatSourceLine(AlignDisassemblyColumns(CutAtCarriageReturn(symbol->m_strName)), 0));
        m_bSourceShown = true;
    }

    void AddSourceRows(uint32_t address, const SourcePosition& position) {
        // Consecutive addresses of one line of one file show its rows once.
        if (m_bHavePrevious && position.line == m_previous.line && position.file == m_previous.file)
            return;
        auto loader = m_loaders.find(position.file);
        if (loader == m_loaders.end()) return;
        const Loader& source = *loader->second;

        // A line the file does not have (the map and the source disagree)
        // shows no rows and points no index entry at the code.
        if (position.line >= 1 && position.line <= source.m_lines.size()) {
            std::vector<bool>& shown = m_shown[position.file];
            shown.resize(source.m_lines.size());
            const uint32_t start = ShownBlockStart(address, position, shown);
            for (uint32_t k = start; k <= position.line; ++k) {
                AppendSourceRow(FormatSourceLine(
                    AlignDisassemblyColumns(CutAtCarriageReturn(source.m_lines[k - 1].m_strText)),
                    static_cast<int32_t>(k)));
                shown[k - 1] = true;
            }
            FillIndex(address, position, start);
        }
        m_bSourceShown = true;
        m_previous = position;
        m_bHavePrevious = true;
    }

    // The block starts at the first of the lines directly above that have
    // the same address or no code at all, and that no block has shown yet
    // (code placed out of line order, such as a loop's test, comes back
    // to a line whose neighbours are shown already).
    uint32_t ShownBlockStart(uint32_t address, const SourcePosition& position,
                             const std::vector<bool>& shown) const {
        uint32_t start = position.line;
        for (uint32_t k = position.line; k > 1; --k) {
            if (shown[k - 2]) break;
            const uint32_t above = AddressOfLine(*m_table, position.file, k - 1);
            if (above != address && above != kNoAddress) break;
            start = k - 1;
        }
        return start;
    }

    // The line's entry, and the entries of the lines from `start` shown
    // above it where they have no rows yet, point at the next instruction row.
    void FillIndex(uint32_t address, const SourcePosition& position, uint32_t start) {
        auto found = m_indexes.find(position.file);
        if (found == m_indexes.end()) return;
        CIndexTable& index = *found->second;
        const int32_t srcRow = static_cast<int32_t>(m_model.m_srcRows.size());
        const int32_t asmRow = static_cast<int32_t>(m_model.m_asmRows.size());
        if (IndexEntry* entry = index.Entry(position.line))
            *entry = IndexEntry{srcRow, asmRow, static_cast<int32_t>(address), 0};
        for (uint32_t k = start; k < position.line; ++k) {
            IndexEntry* entry = index.Entry(k);
            if (!entry) continue;
            if (entry->m_nSrcRow == -1) entry->m_nSrcRow = srcRow;
            if (entry->m_nAsmRow == -1) entry->m_nAsmRow = asmRow;
        }
    }

    void AddInstructionRow(uint32_t address) {
        auto instruction = m_disassembly.m_mapInstructions.find(address);
        if (instruction == m_disassembly.m_mapInstructions.end()) return;
        auto label = m_disassembly.m_mapLabels.find(address);
        const std::string text =
            label == m_disassembly.m_mapLabels.end()
                ? CutAtCarriageReturn(instruction->second)
                : CutAtCarriageReturn(LabelNameOf(label->second) + ": " + instruction->second);

        std::string row = FormatDisassemblyLine(AlignDisassemblyColumns(text), address);
        const int32_t srcRow = static_cast<int32_t>(m_model.m_srcRows.size());
        const int32_t asmRow = static_cast<int32_t>(m_model.m_asmRows.size());
        m_model.m_asmRows.push_back(row);
        m_model.m_srcRows.push_back(std::move(row));
        m_model.m_mapAddressToSrcRow[address] = srcRow;
        m_model.m_mapAddressToAsmRow[address] = asmRow;
        m_model.m_mapSrcRowToAddress[srcRow] = address;
        m_model.m_mapAsmRowToAddress[asmRow] = address;
        m_model.m_srcRowKinds.push_back(m_bSourceShown ? kRowFirstInstruction : kRowInstruction);
        m_bSourceShown = false;
    }

    void AppendSourceRow(std::string row) {
        m_model.m_srcRows.push_back(std::move(row));
        m_model.m_srcRowKinds.push_back(kRowSource);
    }

    const CSymbolTable* m_table;
    const DisasmLoader& m_disassembly;
    CListingModel& m_model;
    std::unordered_map<std::string, const Loader*> m_loaders;
    std::unordered_map<std::string, CIndexTable*> m_indexes;
    std::unordered_map<std::string, std::vector<bool>> m_shown; // lines shown, by file
    bool m_bSourceShown = false;
    bool m_bHavePrevious = false;
    SourcePosition m_previous;
};

} // namespace

void BuildAssemblyListings(const std::list<std::shared_ptr<Loader>>& sourceLoaders,
                           std::list<CIndexTable>& indexTables, const CSymbolTable* table,
                           const DisasmLoader& disassembly, CListingModel& model,
                           const ListingProgress& progress) {
    model.Clear();
    ListingWalk walk(sourceLoaders, indexTables, table, disassembly, model);
    const uint32_t highest = disassembly.m_dwHighestAddress;
    if (highest == 0) return;
    // Every instruction gets a row in both lists; the source rows come on top.
    const size_t instructions = disassembly.m_mapInstructions.size();
    model.m_asmRows.reserve(instructions);
    model.m_srcRows.reserve(instructions);
    model.m_srcRowKinds.reserve(instructions);
    model.m_mapAddressToSrcRow.reserve(instructions);
    model.m_mapAddressToAsmRow.reserve(instructions);
    model.m_mapSrcRowToAddress.reserve(instructions);
    model.m_mapAsmRowToAddress.reserve(instructions);
    int reported = -1;
    for (uint32_t address = 0; address <= highest; ++address) {
        const int percent = 40 + static_cast<int>(uint64_t{90} * address / highest);
        if (percent != reported && progress) progress(percent);
        reported = percent;
        walk.Visit(address);
    }
}
