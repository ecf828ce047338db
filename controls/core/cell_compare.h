// The order of two cell texts when a report list sorts by a column. The first
// rule that both texts satisfy decides:
//   1. both wholly hexadecimal numbers: compared as unsigned 32-bit values
//      (so decimal digit strings are compared by their value read in base 16);
//   2. both wholly decimal numbers, optionally followed by one "%": as doubles;
//   3. both dates or times: by the moment they name;
//   4. otherwise byte-wise.
// This is not a strict weak ordering ("10" < "1F" < "9.5" < "10"), so it must
// only be used by the bounded quicksort in row_sort.h, never by std::sort.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace controls {

// The value of a text that strtoul(text, &end, 16) on a 32-bit platform would
// consume whole: leading white space, an optional sign and "0x" prefix, hex
// digits; values beyond 32 bits clamp to 0xFFFFFFFF, a minus sign negates
// modulo 2^32. Empty when any character would be left over.
std::optional<std::uint32_t> ParseHexCell(const std::string& text);

// The value of a decimal floating-point text (leading white space, sign,
// digits with an optional point, optional exponent), which may end in one
// "%". Empty when it is no such number. Independent of the C locale.
std::optional<double> ParseDecimalCell(const std::string& text);

// A date and/or time as days since 30 December 1899 plus the fraction of the
// day. Accepted: "YYYY-MM-DD", "YYYY/MM/DD", "M/D/YYYY", "M/D/YY", "M-D-YYYY",
// each optionally followed by a time, or a time alone: "H:MM", "H:MM:SS",
// optionally followed by "AM" or "PM". Empty when the text is no date.
std::optional<double> ParseDateCell(const std::string& text);

// A cell text with its readings worked out once, for sorting many rows.
struct CellKey {
    std::string text;
    std::optional<std::uint32_t> hex;
    std::optional<double> decimal;
    std::optional<double> date;
};

CellKey MakeCellKey(const std::string& text);

// -1, 0 or 1.
int CompareCellKeys(const CellKey& a, const CellKey& b);
int CompareCellTexts(const std::string& a, const std::string& b);

} // namespace controls
