// The compiler library's switch helpers. A switch statement calls one with an
// LCALL that the case table follows; the helper takes the return address as
// the table's address, picks the case (or the default) and jumps to its code,
// so control never comes back to the instruction after the call.
#pragma once

#include <cstdint>

// The end (one past the last byte) of a helper's code when the loaded map
// names one of them (?C?CCASE, ?C?ICASE, ?C?LCASE: char, int and long
// values) at `address`: the first address above it where a code symbol, a
// function or a source line begins, or the end of code space. 0 when no helper
// begins there, and while no project is loaded.
uint32_t SwitchHelperEnd(uint32_t address);
