#include "column_format.h"

#include <cctype>
#include <climits>

namespace controls {

std::vector<std::string> SplitString(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::string::size_type start = 0;
    while (start <= text.size()) {
        std::string::size_type end = text.find(separator, start);
        if (end == std::string::npos) end = text.size();
        if (end > start) pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

int ReadLeadingInt(const std::string& text) {
    std::string::size_type i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        if (value <= INT_MAX) value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::vector<ColumnSpec> ParseColumnSpec(const std::string& spec) {
    std::vector<ColumnSpec> columns;
    for (const std::string& entry : SplitString(spec, ';')) {
        std::vector<std::string> fields = SplitString(entry, ',');
        if (fields.empty()) continue;
        ColumnSpec column;
        column.name = fields[0];
        if (fields.size() > 1) column.width = ReadLeadingInt(fields[1]);
        if (fields.size() > 2) {
            int align = ReadLeadingInt(fields[2]);
            if (align == 1) column.align = ColumnAlign::Centre;
            if (align == 2) column.align = ColumnAlign::Right;
        }
        columns.push_back(column);
    }
    return columns;
}

} // namespace controls
