#include "line_tokenizer.h"

#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<std::string_view> LineTokenizer::Next(std::string_view delimiters) {
    while (m_pos < m_text.size() && delimiters.find(m_text[m_pos]) != std::string_view::npos)
        ++m_pos;
    if (m_pos >= m_text.size()) return std::nullopt;
    const size_t start = m_pos;
    while (m_pos < m_text.size() && delimiters.find(m_text[m_pos]) == std::string_view::npos)
        ++m_pos;
    std::string_view token = m_text.substr(start, m_pos - start);
    if (m_pos < m_text.size()) ++m_pos; // the delimiter that ended the token
    return token;
}

uint32_t ParseHexNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        HexDigitValue(text[i + 2]) >= 0)
        i += 2;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        int digit = HexDigitValue(text[i]);
        if (digit < 0) break;
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > std::numeric_limits<uint32_t>::max())
            return std::numeric_limits<uint32_t>::max();
    }
    return static_cast<uint32_t>(value);
}

int32_t ParseDecimalNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1) break;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

std::optional<uint32_t> ReadHexField(std::string_view token) {
    constexpr size_t kMaxDigits = 8;
    if (token.size() < 2 || token.size() > kMaxDigits + 1 || token.back() != 'H')
        return std::nullopt;
    uint32_t value = 0;
    for (char c : token.substr(0, token.size() - 1)) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return value;
}

std::optional<uint32_t> ReadDecimalField(std::string_view token) {
    if (token.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : token) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > uint64_t(std::numeric_limits<int32_t>::max())) return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}
