#include "memory_cells.h"

#include <cstdio>

namespace {

constexpr uint32_t kHighestRowAddress = 0x1000000;

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

bool IsCellWidth(int digits) {
    return digits == kCharCells || digits == kIntCells || digits == kLongCells;
}

int CellsPerRow(int digits) {
    return IsCellWidth(digits) ? int(kBytesPerRow) * 2 / digits : 0;
}

const char* MemoryColumnSpec(int digits) {
    switch (digits) {
    case kCharCells:
        return "Address, 100;0, 30;1, 30;2, 30;3, 30;4, 30;5,30;6, 30;7, 30;8, 30;9,30;A, 30;B, "
               "30;C, 30;D, 30;E, 30;F, 30";
    case kIntCells:
        return "Address, 100;01, 45;23,45;45, 45;67, 45;89, 45;AB,45;CD, 45;EF, 45";
    case kLongCells:
        return "Address, 100;0123, 85;4567,85;89AB, 85;CDEF, 85";
    default:
        return "";
    }
}

std::string RowLabel(uint32_t address) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%.6x : ", unsigned(address));
    return text;
}

uint32_t ParseRowAddress(const std::string& label) {
    std::string digits = label.size() >= 3 ? label.substr(0, label.size() - 3) : std::string();
    if (digits.compare(0, 2, "0x") == 0) digits.erase(0, 2);
    uint32_t address = 0;
    uint32_t weight = 1;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it, weight <<= 4)
        address += uint32_t(DigitValue(*it) < 0 ? 0 : DigitValue(*it)) * weight;
    return address;
}

std::string CellText(const uint8_t* bytes, int digits) {
    std::string text;
    char pair[4];
    for (int i = 0; i < digits / 2; ++i) {
        std::snprintf(pair, sizeof pair, "%.2X", unsigned(bytes[i]));
        text += pair;
    }
    return text;
}

bool IsHexText(const std::string& text) {
    for (char c : text)
        if (DigitValue(c) < 0) return false;
    return true;
}

std::vector<CellByte> CellBytes(const std::string& text, int digits, int column,
                                uint32_t rowAddress) {
    std::vector<CellByte> bytes;
    if (rowAddress > kHighestRowAddress || !IsCellWidth(digits) || column < 1) return bytes;
    const uint32_t cellBytes = uint32_t(digits) / 2;
    uint32_t address = rowAddress + uint32_t(column - 1) * cellBytes + cellBytes - 1;
    unsigned value = 0;
    for (int k = 0; k < digits; ++k) {
        const int position = int(text.size()) - 1 - k;
        const int digit = position >= 0 ? DigitValue(text[position]) : 0;
        value += unsigned(digit < 0 ? 0 : digit) * (k % 2 ? 16 : 1);
        if (k % 2) {
            bytes.push_back({address, uint8_t(value)});
            value = 0;
            --address;
        }
    }
    return bytes;
}
