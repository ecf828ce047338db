#include "hex_image.h"

#include <fstream>

namespace sim8051::test {

namespace {

int hexByte(const std::string& line, size_t at) {
    if (at + 2 > line.size()) return -1;
    int v = 0;
    for (size_t i = at; i < at + 2; ++i) {
        const char c = line[i];
        v <<= 4;
        if (c >= '0' && c <= '9')
            v |= c - '0';
        else if (c >= 'A' && c <= 'F')
            v |= c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            v |= c - 'a' + 10;
        else
            return -1;
    }
    return v;
}

} // namespace

bool loadIntelHex(const std::string& path, std::array<uint8_t, 0x10000>& image) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line[0] != ':') return false;
        const int count = hexByte(line, 1), hi = hexByte(line, 3), lo = hexByte(line, 5),
                  type = hexByte(line, 7);
        if (count < 0 || hi < 0 || lo < 0 || type < 0) return false;
        int sum = count + hi + lo + type;
        if (type == 1) return true;
        for (int i = 0; i < count; ++i) {
            const int b = hexByte(line, 9 + 2 * i);
            if (b < 0) return false;
            sum += b;
            if (type == 0) image[static_cast<uint16_t>((hi << 8 | lo) + i)] = static_cast<uint8_t>(b);
        }
        const int check = hexByte(line, 9 + 2 * count);
        if (check < 0 || ((sum + check) & 0xFF) != 0) return false;
    }
    return true;
}

} // namespace sim8051::test
