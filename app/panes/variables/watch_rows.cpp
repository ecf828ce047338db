#include "watch_rows.h"

#include "message_service.h"
#include "target_protocol.h"
#include "typed_values.h"
#include "variable_write.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace {

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The numbers of a list "1,2, 0x03": up to the first piece that is no number.
std::vector<uint32_t> ByteValues(const std::string& text) {
    std::vector<uint32_t> values;
    size_t at = 0;
    while (at <= text.size()) {
        size_t comma = text.find(',', at);
        if (comma == std::string::npos) comma = text.size();
        uint32_t value = 0;
        if (!ValueOfEditedText(Trimmed(text.substr(at, comma - at)), value)) break;
        values.push_back(value);
        at = comma + 1;
    }
    return values;
}

using ByteTarget = std::pair<uint32_t, int>; // address, memory space

int WriteBytes(const std::vector<ByteTarget>& targets, const std::string& valueText) {
    const std::vector<uint32_t> values = ByteValues(valueText);
    int written = 0;
    for (size_t i = 0; i < values.size() && i < targets.size(); ++i) {
        const auto [address, space] = targets[i];
        if (!WriteTargetValue(address, values[i] & 0xFF, 1, space)) return written;
        PatchTypedValue(uint32_t(space), 1, address, values[i] & 0xFF);
        ++written;
    }
    if (values.size() < targets.size()) {
        char text[64];
        std::snprintf(text, sizeof text, "Warning: Number of input data = %d", written);
        platform::ShowMessage(text);
    }
    return written;
}

} // namespace

std::optional<VariableRowTexts> WatchRowTexts(const std::string& name, int radix,
                                              std::optional<uint16_t> pc,
                                              const MemoryReader& read) {
    if (name.empty()) return std::nullopt;
    if (const SymbolInfo* symbol = ResolveVariable(name, pc))
        return FormatVariableRow(*symbol, radix);
    const std::optional<MemoryRange> range = ParseMemoryRange(name);
    if (!range) return std::nullopt;
    std::optional<std::string> value = JoinValueTokens(*range, radix, read);
    if (!value) return std::nullopt;
    return VariableRowTexts{name, std::move(*value), "ARRAY", std::string()};
}

int WriteWatchValue(const std::string& name, const std::string& valueText, const std::string& type,
                    std::optional<uint16_t> pc) {
    std::vector<ByteTarget> targets;
    if (const SymbolInfo* symbol = ResolveVariable(name, pc)) {
        if (symbol->m_strType != "ARRAY") return WriteSymbolValue(*symbol, valueText, type);
        for (uint32_t i = 0; i < symbol->m_nSize && i < kMaxArrayRowBytes; ++i)
            targets.emplace_back(symbol->m_dwAddress + i, int(symbol->m_nSpace));
    } else {
        const std::optional<MemoryRange> range = ParseMemoryRange(name, true);
        if (!range || range->letter == 'C') return 0;
        for (const RangePiece& piece : RangePieces(*range))
            for (uint32_t i = 0; i < piece.count; ++i)
                targets.emplace_back(piece.address + i, piece.space);
    }
    if (targets.empty()) return 0;
    return WriteBytes(targets, valueText);
}
