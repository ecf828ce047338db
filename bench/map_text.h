// Pieces of linker-map text for the synthetic maps the benchmarks read.
#pragma once

#include <cstdint>
#include <string>

// `value` in upper-case hexadecimal, at least `digits` digits.
std::string Hex(uint32_t value, int digits);
// A symbol row of an M51 map's symbol table: value, kind ("PUBLIC",
// "LINE#", ...) and name.
std::string M51Symbol(const std::string& value, const char* kind, const std::string& name);
