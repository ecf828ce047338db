// The reader of the ".MAP" linker map written by the extended linker: the
// same records as the ".M51" reader, from the six-digit segment lines and the
// BLOCK, BLOCKEND and LINE records of its symbol table.
#pragma once

#include <string>

class MapLoader;
class CSymbolTable;
struct CSymbolDatabase;

// Reads every line of the loaded map into `table` and `database` and widens
// the external-data range. `baseDir` is where the assembler source of a
// start-up module is looked for. Returns 1.
int ParseMapFile(MapLoader& loader, CSymbolTable& table, CSymbolDatabase& database,
                 const std::string& baseDir = ".");

// The same into the loaded project's table and database; 0 while they do
// not exist.
int ParseMapFile(MapLoader& loader, const std::string& baseDir = ".");
