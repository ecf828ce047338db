#include "map_code_segments.h"

#include "line_tokenizer.h"
#include "map_reader_common.h"

#include <set>
#include <string_view>

namespace {

constexpr std::string_view kBlanks = " \t\f\r";
constexpr std::string_view kGapMark = "**GAP**";
constexpr std::string_view kM51CodeType = "CODE";

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
    if (!start || !length) return false;
    const auto startValue = ReadHexField(*start);
    const auto lengthValue = ReadHexField(*length);
    if (!startValue || !lengthValue) return false;
    segment.m_dwStart = *startValue;
    segment.m_dwLength = *lengthValue;
    return true;
}

} // namespace

std::vector<CodeSegment> ReadCodeSegments(const MapLoader& map, bool* leftOut) {
    std::vector<CodeSegment> segments;
    std::set<uint32_t> refused;
    for (const RefusedLine& line : map.m_faults.m_refused)
        refused.insert(line.m_nLine);
    if (leftOut) *leftOut = false;
    bool inCodeMap = false;
    for (const TextLine& line : map.m_lines) {
        const std::string_view text = line.m_strText;
        if (ContainsText(text, kCodeMemoryHeading)) {
            inCodeMap = true;
            continue;
        }
        if (!inCodeMap) continue;
        if (EndsCodeMap(text)) break;
        if (refused.count(line.m_nLine)) {
            if (leftOut) *leftOut = true;
            continue;
        }
        CodeSegment segment;
        if (ReadSegmentLine(text, segment)) segments.push_back(segment);
    }
    return segments;
}
