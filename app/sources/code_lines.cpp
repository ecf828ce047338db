#include "code_lines.h"

#include "run_lookups.h"

#include <cstdlib>

namespace {
constexpr uint32_t kNoAddress = 0xFFFFFFFF;
}

int LineOfPosition(const std::string& position) {
    size_t colon = position.find(':');
    if (colon == std::string::npos) return -1;
    size_t start = position.find_first_not_of(" \t\r", colon + 1);
    if (start == std::string::npos) return -1;
    size_t end = position.find_first_of(" \t\r", start);
    std::string digits = position.substr(start, end == std::string::npos ? end : end - start);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::atoi(digits.c_str());
}

std::vector<int> CodeLinesOf(const std::string& file, int lineCount) {
    std::vector<int> lines;
    for (int line = 1; line <= lineCount; ++line) {
        uint32_t address = AddressOfLine(file + ":" + std::to_string(line));
        if (address == kNoAddress) continue;
        std::string position = LineOfAddress(address);
        if (!position.empty() && LineOfPosition(position) == line) lines.push_back(line);
    }
    return lines;
}
