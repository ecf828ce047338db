// What the Local Variable pane lists for a program counter: the locals of
// the function that holds it, then the static data of that function's module.
#pragma once

#include "symbol_records.h"

#include <cstdint>
#include <memory>
#include <vector>

struct LocalVariableList {
    // The function that holds the program counter; null when none does.
    const CSymbolStruct* function = nullptr;
    // The symbols in row order, at most `maxRows` of them.
    std::vector<const SymbolInfo*> symbols;
};

// The function's locals in list order, then each symbol of kind "SYMBOL" and
// memory class "DATA" or "XDATA" of the module the program counter's source
// position names (its file name in upper case up to the first "."; the
// position's module "C?STARTUP" is the record "START"). A static takes the
// type and size the symbol table holds for it. Nothing without a function.
LocalVariableList LocalVariablesAt(uint16_t pc,
                                   const std::vector<std::unique_ptr<SymbolInfo>>* modules,
                                   size_t maxRows);
