// Readers for modules that do not come straight from the C compiler: the
// assembler source (".SRC") a C module is compiled through, whose line
// numbers the map gives and which its "; SOURCE LINE #" comments translate
// back to C lines; and the listing of an assembler module such as the
// start-up code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "line_records.h"
#include "map_loader.h"
#include "symbol_table.h"
#include "text_loader.h"

// The line no C line is known for (code before the first comment).
constexpr int32_t kNoSourceLine = -1;

// For each line of the .SRC text (index 0 for line 1) the C line of the last
// "; SOURCE LINE #" comment at or above it. Code the compiler places at the
// head of a segment before that segment's first comment (the shared entry
// blocks "L?0123:" in front of a function) belongs to the next comment's
// line; -1 where no comment follows or precedes.
std::vector<int32_t> SourceLineTable(const Loader& src);

// Whether a C listing says its module was compiled through an assembler
// source: its "COMPILER INVOKED BY" line, with the lines that continue it
// (each starting with "-"), names the SRC directive. `srcPath` gets the file
// the directive names, or is emptied when it names none. A .SRC file beside a
// listing without it is left over from another build.
bool CompiledThroughSrc(const Loader& listing, std::string& srcPath);

// Turns the module's source-line records and their positions in `table`
// from .SRC lines into C lines: "MAIN.C:57" under a comment for line 12
// becomes "MAIN.C:12" in both maps and the record's line becomes 12. Records
// beyond the end of the .SRC text are left as they are. A null module does
// nothing.
void ParseSrcFile(const Loader& src, CLineInfoInModule* module, CSymbolTable& table);

// The address of the first module record whose name begins with `prefix`; 0
// when there is none.
uint32_t FindStartupModuleAddress(const MapLoader& map, std::string_view prefix);

// The record named `name` among the map's module records, their children
// and their children's children (each module first, then its children in
// order, each before its own children); null when there is none.
SymbolInfo* FindSymbolRecord(const MapLoader& map, std::string_view name);

// Reads an assembler listing: its symbol table gives the map's records their
// kind word (SEG, NUMB, ADDR, ...) as type name. The code part's heading
// ("LOC") ends the reading and sets `startupAddress` to the start-up
// module's address. Returns 1.
int ParseStartupListing(const Loader& listing, const MapLoader& map, uint32_t& startupAddress);
