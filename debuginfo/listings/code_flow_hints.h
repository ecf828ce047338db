// What the loaded linker map knows about the program's code, handed to the
// disassembler so that it decodes the code as the board runs it: where code
// begins, and the switch helpers whose calls a case table follows.
#pragma once

#include "flow_hints.h"
#include "map_loader.h"
#include "symbol_records.h"
#include "symbol_table.h"

// The start of every function of the code memory map and the address of
// every function-start and source-line record, in ascending order and each
// once; the switch helpers the symbol table names (switch_helpers.h). The
// constants the map places in code memory are not code starts.
disasm8051::FlowHints CodeFlowHints(const MapLoader& map, const CSymbolTable& table,
                                    const CSymbolDatabase* database);
