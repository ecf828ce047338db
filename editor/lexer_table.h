// Choosing the component's lexer (its colouring rules) from a file extension.
#pragma once

#include <string>

namespace editor {

// Number of entries of the lexer table; entry i selects lexer i + 2.
constexpr int kLexerTableSize = 40;

// Entry i of the lexer table: its extensions, separated by "|".
const char* LexerTableEntry(int index);

// The lexer for an extension (without the dot), compared without regard to
// case; the first entry holding it wins. An extension no entry holds gets
// the null lexer (no colouring).
int GetLexerForFile(const std::string& extension);

} // namespace editor
