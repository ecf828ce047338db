#include "map_code_segments.h"

#include "line_tokenizer.h"
#include "map_reader_common.h"

#include <string_view>

namespace {

constexpr std::string_view kBlanks = " \t\f\r";
constexpr std::string_view kGapMark = "**GAP**";
constexpr std::string_view kM51CodeType = "CODE";

// "0800H" or "000800H": hexadecimal digits closed by 'H', at most 32 bits.
bool ReadAddressToken(std::string_view token, uint32_t& value) {
    if (token.size() < 2 || token.size() > 9 || token.back() != 'H') return false;
    value = 0;
    for (char c : token.substr(0, token.size() - 1)) {
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                           : -1;
        if (digit < 0) return false;
        value = value << 4 | uint32_t(digit);
    }
    return true;
}

bool EndsCodeMap(std::string_view line) {
    return ContainsText(line, kDataMemoryHeading) || ContainsText(line, kXdataMemoryHeading) ||
           ContainsText(line, kOverlayMapHeading) || ContainsText(line, kSymbolTableHeading);
}

// A segment line of either form; false for gaps, page headings and the rest.
bool ReadSegmentLine(std::string_view line, CodeSegment& segment) {
    LineTokenizer tokens(line);
    const auto first = tokens.Next(kBlanks);
    if (!first) return false;
    std::optional<std::string_view> start = first;
    std::optional<std::string_view> length;
    if (*first == kM51CodeType) {
        // .M51: CODE START LENGTH RELOCATION NAME
        start = tokens.Next(kBlanks);
        length = tokens.Next(kBlanks);
    } else {
        // .MAP: START STOP LENGTH ALIGN RELOCATION CLASS NAME
        tokens.Next(kBlanks);
        length = tokens.Next(kBlanks);
        for (auto rest = tokens.Next(kBlanks); rest; rest = tokens.Next(kBlanks))
            if (*rest == kGapMark) return false;
    }
    return start && length && ReadAddressToken(*start, segment.m_dwStart) &&
           ReadAddressToken(*length, segment.m_dwLength);
}

} // namespace

std::vector<CodeSegment> ReadCodeSegments(const MapLoader& map) {
    std::vector<CodeSegment> segments;
    bool inCodeMap = false;
    for (const TextLine& line : map.m_lines) {
        const std::string_view text = line.m_strText;
        if (ContainsText(text, kCodeMemoryHeading)) {
            inCodeMap = true;
            continue;
        }
        if (!inCodeMap) continue;
        if (EndsCodeMap(text)) break;
        CodeSegment segment;
        if (ReadSegmentLine(text, segment)) segments.push_back(segment);
    }
    return segments;
}
