// The texts of the assembly listing's rows, written in the row markup of the
// HTML-row list (b, font color=#rrggbb; "&lt;", "&gt;" and "&amp;" stand for
// the characters the markup reserves).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The colour of every source row.
constexpr const char* kSourceRowColour = "A31515";

// `text` with "&", "<" and ">" written as markup entities, so that it shows
// exactly as written.
std::string EscapeRowMarkup(std::string_view text);

// `text` up to, not including, its first carriage return.
std::string CutAtCarriageReturn(std::string_view text);

// `text` with its tabs expanded to blanks at stops every 4 columns; a run of
// tabs counts as one, and a leading tab starts the text at column 4.
std::string AlignDisassemblyColumns(std::string_view text);

// One instruction row: the address in bold, then the instruction's bytes
// padded to 11 characters, the label field (6 blanks when the text has no
// "LABEL:" prefix) and the rest of the instruction. `text` is escaped here.
std::string FormatDisassemblyLine(std::string_view text, uint32_t address);

// One source row: "        <line> :        <text>" in the given colour; `text`
// is escaped here.
std::string FormatSourceLine(std::string_view text, int32_t line,
                             std::string_view colour = kSourceRowColour);
