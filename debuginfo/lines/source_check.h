// Whether a module's source file is still the text its compiler listing was
// made from, and which of the map's line records lie past the file's end.
// Either means the editor would put the markers and the current line on
// lines that are not the ones the program runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "line_records.h"
#include "text_loader.h"

// One line of the module's own file as a C listing shows it: its number in
// the file and its text (a long line's continuations joined).
struct ListedSourceLine {
    uint32_t m_nLine = 0;
    std::string m_strText;
};

// The lines a C listing shows of its module's file, in listing order. The
// source column starts where the heading "line level    source" (older
// compilers: "stmt") writes "source"; before it stand the line number and
// the nesting level. Lines of included files (level "=1", "=2", ...) belong
// to other files and are left out. Empty for a listing without that heading.
std::vector<ListedSourceLine> ReadListedSourceLines(const Loader& listing);

// The code of a line, written over `code`: its text without blanks and
// comments. `inComment` says whether the line starts inside a block comment
// and is left saying whether the next one does.
void CodeOfLine(std::string_view text, bool& inComment, std::string& code);

// The first line the listing shows whose code differs from that line of
// `source` (a line past the file's end has no code); 0 when none differs.
// Blanks, tabs and comments are not compared, nor the lines the listing
// leaves out.
uint32_t FirstChangedSourceLine(const Loader& listing, const Loader& source);

// The line numbers, ascending and each once, of the source-line records of
// `module` past the end of a file of `lineCount` lines.
std::vector<uint32_t> SourceLinesPastEnd(const CLineInfoInModule* module, size_t lineCount);

// What Open says about a module's source file: the first line that differs
// from the listing (0: none) and the lines the map gives code past the file's
// end. Empty when there is nothing to say.
std::string SourceMismatchText(const std::string& sourceName, const std::string& listingName,
                               uint32_t firstChanged, const std::vector<uint32_t>& pastEnd,
                               size_t lineCount);
