// Column specification texts such as "Name, 100; Value, 100; Type, 100":
// entries separated by ";", fields by ","; field 1 is the header text,
// field 2 the width in pixels (100 when absent), field 3 the alignment
// (1 centre, 2 right, anything else left).
#pragma once

#include <string>
#include <vector>

namespace controls {

enum class ColumnAlign { Left, Centre, Right };

struct ColumnSpec {
    std::string name;
    int width = 100;
    ColumnAlign align = ColumnAlign::Left;
};

// The non-empty pieces of `text` between `separator` characters, untrimmed.
std::vector<std::string> SplitString(const std::string& text, char separator);

// Reads a number the way the C library's atoi does: leading blanks skipped,
// an optional sign, then decimal digits; a text that is no number gives 0.
// Values beyond the int range are clamped.
int ReadLeadingInt(const std::string& text);

// Every column of a specification, in order; empty entries are skipped.
std::vector<ColumnSpec> ParseColumnSpec(const std::string& spec);

} // namespace controls
