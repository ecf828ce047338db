// libFuzzer target: arbitrary text through the ".M51" linker-map reader.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "m51_reader.h"
#include "map_rules.h"
#include "xdata_range.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MapLoader loader;
    loader.AssignText("FUZZ.M51", std::string(reinterpret_cast<const char*>(data), size));
    SplitTextLines(loader);
    CSymbolTable table;
    CSymbolDatabase database;
    ResetXdataRange();
    ParseM51File(loader, table, database, "/nonexistent-fuzz-folder");
    if (!FirstBrokenMapRule(loader, table, database).empty()) std::abort();
    return 0;
}
