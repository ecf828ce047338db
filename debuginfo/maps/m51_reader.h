// The reader of the ".M51" linker map: the segments of its memory maps, and
// per module of its symbol table the module record, the symbols, the locals
// of each function and the source-line records.
#pragma once

#include <string>

class MapLoader;
class CSymbolTable;
struct CSymbolDatabase;

// Reads every line of the loaded map into `table` and `database` and widens
// the external-data range. `baseDir` is where the assembler source of a
// start-up module is looked for. Returns 1.
int ParseM51File(MapLoader& loader, CSymbolTable& table, CSymbolDatabase& database,
                 const std::string& baseDir = ".");

// The same into the loaded project's table and database; 0 while they do
// not exist.
int ParseM51File(MapLoader& loader, const std::string& baseDir = ".");
