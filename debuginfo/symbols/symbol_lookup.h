// The questions the debugger asks of the loaded debug information. Each one
// answers a fixed "nothing" value when there is no answer, also while no
// project is loaded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "symbol_records.h"
#include "symbol_table.h"

// The symbol of that name among the code symbols (selector 1) or the data
// symbols (any other selector); null when there is none.
SymbolInfo* LookupSymbol(std::string_view name, int selector);

// The "file:line" position of a code address; empty when it has none.
std::string GetLineOfAddress(uint32_t address);

// The code address of a "file:line" position; 0xFFFFFFFF when it has none.
uint32_t GetAddressOfLine(std::string_view key);

// The first function (code segment, in map order) whose range holds `address`.
CSymbolStruct* FindFunctionOfAddress(uint32_t address);

// The first segment named exactly `name` in the code (1), data (0) or
// external-data (2) list.
CSymbolStruct* FindSymbolByName(std::string_view name, int selector);

// The innermost local of `function` named `name` (one trailing carriage
// return ignored) whose scope holds `address`; of two with the same scope the
// later one. Null when there is none.
CSymbolLocalVar* FindSymbolInRange(const CSymbolStruct* function, std::string_view name,
                                   uint32_t address);

// Code address -> 1 where a breakpoint is set, 0 where none is.
extern std::unordered_map<uint32_t, int> g_mapBreakAddress;

// The value stored for the address; an address not yet known is entered with 0.
int IsBreakAddress(uint32_t address);
