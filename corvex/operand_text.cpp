#include "operand_text.h"

#include <cstdio>

namespace disasm8051 {

namespace {

std::string withLeadingZero(const char* digits) {
    std::string s = digits;
    if (s[0] >= 'A' && s[0] <= 'F') s.insert(s.begin(), '0');
    return s + "H";
}

const char* sfrName(uint8_t address) {
    switch (address) {
    case 0x80:
        return "P0";
    case 0x81:
        return "SP";
    case 0x82:
        return "DPL";
    case 0x83:
        return "DPH";
    case 0x87:
        return "PCON";
    case 0x88:
        return "TCON";
    case 0x89:
        return "TMOD";
    case 0x8A:
        return "TL0";
    case 0x8B:
        return "TL1";
    case 0x8C:
        return "TH0";
    case 0x8D:
        return "TH1";
    case 0x90:
        return "P1";
    case 0x98:
        return "SCON";
    case 0x99:
        return "SBUF";
    case 0xA0:
        return "P2";
    case 0xA8:
        return "IE";
    case 0xB0:
        return "P3";
    case 0xB8:
        return "IP";
    case 0xD0:
        return "PSW";
    case 0xE0:
        return "ACC";
    case 0xF0:
        return "B";
    default:
        return nullptr;
    }
}

} // namespace

std::string hexByte(uint8_t value) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", value);
    return withLeadingZero(buf);
}

std::string hexWord(uint16_t value) {
    char buf[6];
    std::snprintf(buf, sizeof buf, "%04X", value);
    return withLeadingZero(buf);
}

std::string directText(uint8_t address) {
    if (address >= 0x80) {
        if (const char* name = sfrName(address)) return name;
    }
    return hexByte(address);
}

std::string bitText(uint8_t bitAddress) {
    const int bit = bitAddress & 7;
    const uint8_t byte = bitAddress < 0x80 ? static_cast<uint8_t>(0x20 + (bitAddress >> 3))
                                           : static_cast<uint8_t>(bitAddress & 0xF8);
    return directText(byte) + "." + std::to_string(bit);
}

} // namespace disasm8051
