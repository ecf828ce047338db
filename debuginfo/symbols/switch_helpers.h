// The compiler library's switch helpers. A switch statement calls one with an
// LCALL that the case table follows; the helper takes the return address as
// the table's address, picks the case (or the default) and jumps to its code,
// so control never comes back to the instruction after the call. The table
// holds entries of the case's code address (high byte first) and its value,
// up to an entry whose address is 0000H, whose two bytes are followed by the
// default's code address.
#pragma once

#include <cstdint>
#include <vector>

#include "flow_hints.h"

class CSymbolTable;

// The end (one past the last byte) of a helper's code when the loaded map
// names one of them (?C?CCASE, ?C?ICASE, ?C?LCASE: char, int and long
// values) at `address`: the first address above it where a code symbol, a
// function or a source line begins, or the end of code space. 0 when no helper
// begins there, and while no project is loaded.
uint32_t SwitchHelperEnd(uint32_t address);

// The helpers `table` names, each with its address and the length of the
// case values of its tables: ?C?CCASE 1 (char), ?C?ICASE 2 (int), ?C?LCASE
// 4 (long).
std::vector<disasm8051::SwitchHelper> SwitchHelpersOf(const CSymbolTable& table);
