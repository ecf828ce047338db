#include "watch_range.h"

#include "target_protocol.h"
#include "value_texts.h"

#include <cctype>
#include <string_view>

namespace {

// The pieces as the C library's strtok cuts them: first and second at ":",
// the third at blank, carriage return or tab.
std::vector<std::string> Pieces(const std::string& text) {
    std::vector<std::string> pieces;
    size_t at = 0;
    auto next = [&](std::string_view separators) {
        at = text.find_first_not_of(separators, at);
        if (at == std::string::npos) return false;
        size_t end = text.find_first_of(separators, at);
        if (end == std::string::npos) end = text.size();
        pieces.push_back(text.substr(at, end - at));
        at = end == text.size() ? end : end + 1;
        return true;
    };
    next(":") && next(":") && next(" \r\t");
    return pieces;
}

std::optional<uint32_t> HexNumber(std::string text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.erase(0, 2);
    if (text.empty() || text.size() > 8) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        const uint32_t digit = HexDigitValue(c);
        if (digit == kNotHexDigit) return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

std::optional<uint32_t> DecimalCount(const std::string& text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        value = value * 10 + uint32_t(c - '0');
    }
    if (value == 0) return std::nullopt;
    return value;
}

// The memory space of one address of the range; 0 for none.
int SpaceOf(char letter, uint32_t address) {
    switch (letter) {
    case 'C':
        return address <= 0xFFFF ? kSpaceCode : 0;
    case 'D':
        if (address < 0x80) return kSpaceInternalData;
        return address <= 0xFF ? kSpaceSfr : 0;
    case 'X':
        return address <= 0xFFFF ? kSpaceExternalData : 0;
    default:
        return 0;
    }
}

} // namespace

std::optional<MemoryRange> ParseMemoryRange(const std::string& text, bool countOptional) {
    const std::vector<std::string> pieces = Pieces(text);
    if (pieces.size() < (countOptional ? 2u : 3u)) return std::nullopt;
    if (pieces[0].size() != 1) return std::nullopt;
    const std::optional<uint32_t> start = HexNumber(pieces[1]);
    if (!start) return std::nullopt;
    std::optional<uint32_t> count = 1u;
    if (pieces.size() == 3) count = DecimalCount(pieces[2]);
    if (!count) return std::nullopt;
    MemoryRange range;
    range.letter = pieces[0][0];
    range.start = *start;
    range.count = *count < kMaxRangeBytes ? *count : kMaxRangeBytes;
    return range;
}

std::vector<RangePiece> RangePieces(const MemoryRange& range) {
    std::vector<RangePiece> pieces;
    for (uint32_t i = 0; i < range.count; ++i) {
        const uint32_t address = range.start + i;
        if (address < range.start) break; // past the top of the address space
        const int space = SpaceOf(range.letter, address);
        if (space == 0) continue;
        if (!pieces.empty() && pieces.back().space == space &&
            pieces.back().address + pieces.back().count == address) {
            ++pieces.back().count;
            continue;
        }
        pieces.push_back({address, space, 1});
    }
    return pieces;
}

std::optional<std::string> JoinValueTokens(const MemoryRange& range, int radix,
                                           const MemoryReader& read) {
    const std::vector<RangePiece> pieces = RangePieces(range);
    if (pieces.empty()) return std::nullopt;
    std::string text;
    for (const RangePiece& piece : pieces) {
        std::vector<uint8_t> bytes(piece.count);
        if (!read(piece.address, piece.space, bytes.data(), piece.count)) return std::nullopt;
        for (uint8_t byte : bytes) {
            if (!text.empty()) text += ", ";
            text += FormatRadix(byte, radix, 1);
        }
    }
    return text;
}

MemoryReader TargetMemoryReader() {
    return [](uint32_t address, int space, uint8_t* bytes, uint32_t count) {
        return ReadMemory(address, bytes, count, space) == int(count);
    };
}
