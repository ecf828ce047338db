// The rows of the variable panes (Search, Local Variable, Global Variable):
// which symbol a name means at the program counter and the four texts of its
// row, read from the host copies of target memory.
#pragma once

#include "symbol_records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The watch and local-variable lists always hold this many rows.
constexpr int kVariableRows = 50;

// An array shows at most this many of its bytes.
constexpr uint32_t kMaxArrayRowBytes = 1024;

// Name, Value, Type and Address of one row.
struct VariableRowTexts {
    std::string name;
    std::string value;
    std::string type;
    std::string address;
};

// The program counter shown in the source views; none while no
// program-counter model exists.
std::optional<uint16_t> ShownProgramCounter();

// The symbol `name` means at `pc`: a local of the function that holds it,
// else a data symbol; null when neither exists (or no project is loaded).
const SymbolInfo* ResolveVariable(std::string_view name, std::optional<uint16_t> pc);

// The value text of a symbol in `radix` (2, 8, 10 or 16), by its type name:
// one value of 1, 2 or 4 bytes, or for "ARRAY" its bytes joined by ",". A
// generic pointer shows where it points ("C:0x1336") in every radix. None
// for "NONE", whose rows show no value.
std::optional<std::string> VariableValueText(const SymbolInfo& symbol, int radix);

// The row of a symbol; none for a "NONE"-typed one, whose row is left as it is.
std::optional<VariableRowTexts> FormatVariableRow(const SymbolInfo& symbol, int radix);
