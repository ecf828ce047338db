// Small checks on the raw bytes of a text.
#pragma once

#include <string_view>

namespace editor {

// True when `bytes` is well-formed UTF-8 (plain ASCII is).
bool IsValidUtf8(std::string_view bytes);

// The decimal number at the start of `text` (leading blanks skipped, an
// optional sign); 0 when it does not start with a number. Clamped to the
// range of int.
int LeadingDecimalNumber(std::string_view text);

} // namespace editor
