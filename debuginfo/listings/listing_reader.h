// The reader of a C module's compiler listing: the symbol table at its end
// (NAME, CLASS, MSPACE, TYPE, OFFSET, SIZE) gives the map's symbols their C
// type word and their size in bytes.
#pragma once

#include "file_faults.h"
#include "symbol_records.h"
#include "symbol_table.h"
#include "text_loader.h"

// The rule line under the symbol table's heading.
constexpr const char* kListingTableRule =
    "====                                    =====   ======  ====    ======  ====";
// The line after the symbol table.
constexpr const char* kListingTableEnd = "MODULE INFORMATION:";

// Completes the records of `table` (data and code symbols) and the locals of
// the functions of `database` from the listing's symbol table:
// - a DATA or XDATA line: the local of that name of the current function
//   when the line is indented and the function has one, else the data symbol
//   of that name; an indented line without a current function changes nothing;
// - a CODE line: the code symbol of that name; a PROC line (of any class)
//   makes the code segment of that name, upper case without a leading '_',
//   the current function; a line that is not indented and not a PROC ends
//   the current function's members.
// Clears g_bLoadError when the listing has the table. A line whose size is
// neither decimal bytes up to 64 KB nor dashes changes no record, and a table
// that the text ends in was cut short: both go to `faults` when given.
// Returns 1.
int ParseListingFile(const Loader& listing, CSymbolTable& table, const CSymbolDatabase* database,
                     FileFaults* faults = nullptr);
