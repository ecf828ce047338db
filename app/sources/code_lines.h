// Which lines of a source file carry code: a line is marked when its code
// address maps back to the same line (a line sharing the code of an earlier
// line is not).
#pragma once

#include <string>
#include <vector>

// The lines (from 1, ascending) among 1..lineCount of `file` (the project's
// name with extension) that get the code-line marker.
std::vector<int> CodeLinesOf(const std::string& file, int lineCount);

// The line number of a "file:line" position: the text after the first ':',
// read as a decimal after leading blanks, tabs and carriage returns; -1 when
// there is none.
int LineOfPosition(const std::string& position);
