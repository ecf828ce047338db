// libFuzzer target: arbitrary text read as a C module's compiler listing
// against a small linker map. The listing may only complete records (their
// type word and size, taken from its own text); it never adds, drops or moves
// a record, and it clears the load error exactly when it holds the table.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_sample_map.h"
#include "listing_reader.h"
#include "map_rules.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// What the map said of one record, and what a listing may change of it.
struct RecordState {
    const SymbolInfo* record;
    std::string name, type, kind, memoryClass;
    uint32_t address, size, space;
};

RecordState Snapshot(const SymbolInfo* record) {
    return {record,
            record->m_strName,
            record->m_strType,
            record->m_strKind,
            record->m_strClass,
            record->m_dwAddress,
            record->m_nSize,
            record->m_nSpace};
}

std::vector<RecordState> SnapshotRecords(const fuzz_sample::SampleMap& map) {
    std::vector<RecordState> states;
    for (const char* name : {"counter", "buf", "total", "P1"})
        if (const SymbolInfo* record = map.table.LookupSymbol(name, kSelectData))
            states.push_back(Snapshot(record));
    for (const char* name : {"main", "_Twice"})
        if (const SymbolInfo* record = map.table.LookupSymbol(name, kSelectCode))
            states.push_back(Snapshot(record));
    for (const auto& function : map.database.m_listCode)
        for (const auto& local : function->m_locals)
            states.push_back(Snapshot(local.get()));
    return states;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto map = fuzz_sample::ReadSampleMap();
    const std::vector<RecordState> before = SnapshotRecords(*map);
    Require(before.size() == 9); // every record above was found in the map
    const size_t records = map->table.RecordCount();
    const size_t linePositions = map->table.LinePositionCount();
    const size_t addressPositions = map->table.AddressPositionCount();

    const std::string text(reinterpret_cast<const char*>(data), size);
    Loader listing;
    listing.AssignText("FUZZ.LST", text);
    SplitTextLines(listing);
    bool hasTable = false;
    for (const TextLine& line : listing.m_lines)
        hasTable = hasTable || line.m_strText.find(kListingTableRule) != std::string::npos;

    g_bLoadError = 1;
    Require(ParseListingFile(listing, map->table, &map->database) == 1);
    Require(g_bLoadError == (hasTable ? 0 : 1));
    g_bLoadError = 0;

    Require(map->table.RecordCount() == records);
    Require(map->table.LinePositionCount() == linePositions);
    Require(map->table.AddressPositionCount() == addressPositions);
    const std::vector<RecordState> after = SnapshotRecords(*map);
    Require(after.size() == before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        const RecordState& was = before[i];
        const RecordState& now = after[i];
        Require(now.record == was.record && now.name == was.name && now.kind == was.kind &&
                now.memoryClass == was.memoryClass && now.address == was.address &&
                now.space == was.space);
        if (now.type == was.type && now.size == was.size) continue;
        // Only a listing with the table changes a record, and only with its own words.
        Require(hasTable);
        Require(now.type.find(' ') == std::string::npos &&
                text.find(now.type) != std::string::npos);
        Require(now.size == 0 ||
                (now.size <= 0x10000 && text.find(std::to_string(now.size)) != std::string::npos));
    }
    Require(FirstBrokenMapRule(map->loader, map->table, map->database).empty());
    return 0;
}
