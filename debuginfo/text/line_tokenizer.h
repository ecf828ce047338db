// Reading the columns of one text line of a linker map or a project file.
//
// The map formats are read token by token, each read naming its own
// delimiters: leading delimiters are skipped, the token ends at the next
// delimiter, and that one delimiter is consumed with it. A read past the end
// yields nothing, so every caller tests each token before using it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

class LineTokenizer {
public:
    explicit LineTokenizer(std::string_view text) : m_text(text) {}

    // The next token, or nothing when only delimiters remain.
    std::optional<std::string_view> Next(std::string_view delimiters);

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

// Hexadecimal number at the start of `text` (leading blanks skipped, an
// optional "0x"); reading stops at the first other character, so "0800H" is
// 0x800. No digits give 0; values beyond 32 bits give 0xFFFFFFFF.
uint32_t ParseHexNumber(std::string_view text);

// Decimal number at the start of `text` (leading blanks skipped, an optional
// sign); reading stops at the first non-digit. No digits give 0; the value is
// clamped to the 32-bit range.
int32_t ParseDecimalNumber(std::string_view text);

// A hexadecimal field as the maps write it: one to eight hexadecimal digits
// closed by an 'H' and nothing else ("0A44H", "000800H"). Nothing for any
// other text.
std::optional<uint32_t> ReadHexField(std::string_view token);

// A decimal field: one or more digits and nothing else, at most 2147483647.
// Nothing for any other text.
std::optional<uint32_t> ReadDecimalField(std::string_view token);

inline bool ContainsText(std::string_view text, std::string_view what) {
    return text.find(what) != std::string_view::npos;
}

// `text` from its character `index` on (empty when it is shorter).
inline std::string_view TextFrom(std::string_view text, size_t index) {
    return index < text.size() ? text.substr(index) : std::string_view();
}
