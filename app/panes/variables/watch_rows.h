// The watch (Search) list: what a watched name shows, and writing an edited
// Value back to the target.
#pragma once

#include "variable_rows.h"
#include "watch_range.h"

#include <cstdint>
#include <optional>
#include <string>

// The row a watch entry shows: its symbol at `pc` (a local of the function
// holding it, else a data symbol), or, for a name that is no symbol, the
// memory range it names, read live ("ARRAY", no address). None leaves the row
// as it is: an unknown name, a "NONE"-typed symbol, a range that cannot be read.
std::optional<VariableRowTexts> WatchRowTexts(const std::string& name, int radix,
                                              std::optional<uint16_t> pc, const MemoryReader& read);

// Writes the edited Value of a watch row. The name is resolved as for the
// row: a single value is written with the width of `type` (at most the
// symbol's size), a generic pointer as its three bytes; an "ARRAY" symbol
// takes values separated by "," one byte each, at most as many as it has
// bytes; a name in the direct-address form (X or D, ":", hexadecimal
// address, optionally ":" and a count of bytes, 1 without) takes byte values
// the same way, and C (code memory) is refused. When fewer values are given
// than there are bytes, "Warning: Number of input data = %d" tells how many
// were written. Returns the number of values written.
int WriteWatchValue(const std::string& name, const std::string& valueText, const std::string& type,
                    std::optional<uint16_t> pc);
