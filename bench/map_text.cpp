#include "map_text.h"

#include <cstdio>

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

std::string M51Symbol(const std::string& value, const char* kind, const std::string& name) {
    char line[128];
    std::snprintf(line, sizeof line, "  %-16s%-14s%s\n", value.c_str(), kind, name.c_str());
    return line;
}
