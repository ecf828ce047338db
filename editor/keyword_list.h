// The words the C lexer colours as keywords (keyword set 0).
#pragma once

namespace editor {

// Words separated by single blanks.
extern const char* const kCKeywords;

} // namespace editor
