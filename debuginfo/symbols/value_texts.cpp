#include "value_texts.h"

#include "symbol_records.h"

#include <cctype>
#include <cstdio>

int ReadWidthOfType(std::string_view type) {
    if (type == "CHAR" || type == "U_CHAR" || type == "BYTE") return 1;
    if (type == "INT" || type == "U_INT" || type == "WORD" || type == "PTR") return 2;
    return 4;
}

int WriteWidthOfType(std::string_view type) {
    if (type == "UCHAR") return 1;
    return ReadWidthOfType(type);
}

namespace {

// The memory-type bytes of a generic pointer and their letters.
struct PointerMemory {
    uint8_t type;
    char letter;
};

constexpr PointerMemory kPointerMemories[] = {{0xFF, 'C'}, {0x01, 'X'}, {0xFE, 'P'}, {0x00, 'I'}};

// The value of a text of `least` to `most` hexadecimal digits and nothing else.
std::optional<uint32_t> HexDigits(std::string_view digits, size_t least, size_t most) {
    if (digits.size() < least || digits.size() > most) return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
        const uint32_t digit = HexDigitValue(c);
        if (digit == kNotHexDigit) return std::nullopt;
        value = value << 4 | digit;
    }
    return value;
}

bool StartsWithHexPrefix(std::string_view text) {
    return text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// The digits of `value` in base 2 or 8, left-padded with '0' to `minimum`.
std::string Digits(uint32_t value, unsigned base, size_t minimum) {
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + value % base));
        value /= base;
    } while (value != 0);
    if (digits.size() < minimum) digits.insert(0, minimum - digits.size(), '0');
    return digits;
}

} // namespace

bool IsGenericPointer(std::string_view type, uint32_t size) {
    return type == "PTR" && size == uint32_t(kGenericPointerBytes);
}

std::string GenericPointerText(uint32_t pointer) {
    char text[16];
    const uint8_t type = uint8_t(pointer >> 16);
    for (const PointerMemory& memory : kPointerMemories) {
        if (memory.type != type) continue;
        std::snprintf(text, sizeof text, "%c:0x%.4X", memory.letter, unsigned(pointer & 0xFFFF));
        return text;
    }
    std::snprintf(text, sizeof text, "0x%.6X", unsigned(pointer & 0xFFFFFF));
    return text;
}

std::optional<uint32_t> GenericPointerOfText(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    if (StartsWithHexPrefix(text)) return HexDigits(text.substr(2), 6, 6);
    if (text.size() < 2 || text[1] != ':' || !StartsWithHexPrefix(text.substr(2)))
        return std::nullopt;
    const char letter = char(std::toupper(static_cast<unsigned char>(text[0])));
    for (const PointerMemory& memory : kPointerMemories) {
        if (memory.letter != letter) continue;
        const std::optional<uint32_t> address = HexDigits(text.substr(4), 1, 4);
        if (!address) return std::nullopt;
        return uint32_t(memory.type) << 16 | *address;
    }
    return std::nullopt;
}

std::string FormatRadix(uint32_t value, int radix, int size) {
    char text[16];
    switch (radix) {
    case 2:
        return Digits(value, 2, 16);
    case 8:
        return "0" + Digits(value, 8, 8);
    case 10:
        std::snprintf(text, sizeof text, "%d", int32_t(value));
        return text;
    case 16:
        if (size == 1)
            std::snprintf(text, sizeof text, "0x%.2X", unsigned(value & 0xFF));
        else if (size == 2)
            std::snprintf(text, sizeof text, "0x%.4X", unsigned(value & 0xFFFF));
        else if (size == 4)
            std::snprintf(text, sizeof text, "0x%.8X", unsigned(value));
        else
            return std::string();
        return text;
    default:
        return std::string();
    }
}

std::string VariableAddressText(const SymbolInfo& symbol) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%.6X", unsigned(symbol.m_dwAddress));
    std::string letter = symbol.m_strClass.empty() ? std::string() : symbol.m_strClass.substr(0, 1);
    return letter + ":" + text;
}

std::string InfoAddressText(uint32_t address) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%x", unsigned(address));
    return std::string(digits[1] == '\0' ? "0x0" : "0x") + digits;
}

uint32_t HexDigitValue(char digit) {
    if (digit >= '0' && digit <= '9') return uint32_t(digit - '0');
    if (digit >= 'a' && digit <= 'f') return uint32_t(digit - 'a' + 10);
    if (digit >= 'A' && digit <= 'F') return uint32_t(digit - 'A' + 10);
    return kNotHexDigit;
}

std::optional<uint32_t> HexStringToInt(std::string_view text) {
    if (text.size() <= 2) return 0u;
    uint32_t value = 0;
    uint32_t weight = 1;
    for (size_t i = text.size(); i-- > 2;) {
        const uint32_t digit = HexDigitValue(text[i]);
        if (digit == kNotHexDigit) return std::nullopt;
        value += digit * weight;
        weight *= 16;
    }
    return value;
}

std::string ToHexText(const std::string& text) {
    if (text.empty()) return text;
    if (text.size() >= 2 && text[0] == '0' && text[1] == 'x') return text;
    // Read as the C library's atoi does, with the digits wrapping in 32 bits.
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    uint32_t number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        number = number * 10 + uint32_t(text[i] - '0');
    if (negative) number = 0u - number;
    char result[16];
    std::snprintf(result, sizeof result, "0x%.4x", unsigned(number));
    return result;
}
