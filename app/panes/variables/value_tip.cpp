#include "value_tip.h"

#include "typed_values.h"
#include "value_texts.h"
#include "variable_rows.h"

#include <algorithm>
#include <cstdio>

namespace {

bool IsIdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

} // namespace

std::string IdentifierAt(const std::string& line, int column) {
    const size_t end = std::min(line.find('\n'), line.size());
    if (column < 1 || size_t(column) > end) return "-1";
    const size_t at = size_t(column) - 1;
    if (!IsIdentifierChar(line[at])) return "-1";
    size_t first = at;
    while (first > 0 && IsIdentifierChar(line[first - 1]))
        --first;
    size_t last = at;
    while (last + 1 < end && IsIdentifierChar(line[last + 1]))
        ++last;
    return line.substr(first, last - first + 1);
}

std::optional<std::string> ValueTipText(const std::string& identifier, std::optional<uint16_t> pc) {
    const SymbolInfo* symbol = ResolveVariable(identifier, pc);
    if (!symbol) return std::nullopt;
    std::string text = identifier + " : ";
    if (symbol->m_strType == "ARRAY") {
        const uint32_t count = std::min(symbol->m_nSize, kMaxArrayTipBytes);
        for (uint32_t i = 0; i < count; ++i) {
            char byte[4];
            std::snprintf(byte, sizeof byte, "%.2x",
                          unsigned(ReadTypedValue(symbol->m_nSpace, 1, symbol->m_dwAddress + i)));
            if (i != 0) text += ',';
            text += byte;
        }
        if (symbol->m_nSize > count) text += ",...";
        return text;
    }
    if (std::optional<std::string> pointer = GenericPointerValueText(*symbol))
        return text + *pointer;
    const int width = ReadWidthOfType(symbol->m_strType);
    const uint32_t value = ReadTypedValue(symbol->m_nSpace, width, symbol->m_dwAddress);
    return text + std::to_string(int32_t(value));
}
