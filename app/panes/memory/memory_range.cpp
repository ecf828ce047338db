#include "memory_range.h"

#include "memory_cells.h"

#include <cstdio>

const char* const kDataFlashEndText = "0xFF00FF";
const char* const kCodeFlashEndText = "0xFFFFFF";
const char* const kOutOfMemoryText = "Out of memory";
const char* const kReadTooBigText =
    "The size of memory to read is too big. The max size of memory to read is 64KB.";
const char* const kEndBeforeStartText = "End address is small than start address.";

namespace {

const MemoryPaneSpec kSpecs[] = {
    {MemoryKind::Internal, 40033, 1, "0x000000", "0x0000FF", "0x000000", "0x0000FF"},
    {MemoryKind::External, 40074, 2, "0x000000", "0x00FFFF", "0x000000", "0x000100"},
    {MemoryKind::Flash, 40081, 2, "0xFF0000", "0xFFFFFF", "0xFF0000", "0xFFFFFF"},
    {MemoryKind::Code, 40075, 4, "0x000000", "0x000000", "0x000000", "0x000000"},
};

bool HasHexPrefix(const std::string& text) {
    return text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

} // namespace

const MemoryPaneSpec& MemoryPaneSpecOf(MemoryKind kind) {
    return kSpecs[static_cast<int>(kind)];
}

bool MemoryKindOfPane(int controlId, MemoryKind& kind) {
    for (const MemoryPaneSpec& spec : kSpecs) {
        if (spec.controlId == controlId) {
            kind = spec.kind;
            return true;
        }
    }
    return false;
}

std::string NormalizeHexText(const std::string& text) {
    if (HasHexPrefix(text)) return text;
    if (text.empty() || text.size() > 10) return text;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return text;
        value = value * 10 + uint64_t(c - '0');
    }
    if (value > 0xFFFFFFFFu) return text;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%.4x", unsigned(value));
    return hex;
}

std::optional<uint32_t> HexToInt(const std::string& text) {
    if (!HasHexPrefix(text) || text.size() == 2 || text.size() > 10) return std::nullopt;
    uint32_t value = 0;
    for (size_t i = 2; i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value << 4 | uint32_t(digit);
    }
    return value;
}

std::optional<uint32_t> AddressOfText(const std::string& text) {
    return HexToInt(NormalizeHexText(text));
}

bool IsOutOfRange(MemoryKind kind, uint32_t address, bool dataFlash) {
    switch (kind) {
    case MemoryKind::Internal:
        return address >= 0x100;
    case MemoryKind::External:
        return address > 0xFFFFFF;
    case MemoryKind::Flash:
        return address - kFlashWindow > (dataFlash ? 0xFFu : 0xFFFFu);
    case MemoryKind::Code:
        return address > 0xFFFF;
    }
    return true;
}

ReadSizeCheck CheckReadSize(uint32_t start, uint32_t end) {
    const int64_t length = int64_t(end) - int64_t(start) + 1;
    if (length > int64_t(kLargestRead)) return ReadSizeCheck::TooBig;
    if (end < start) return ReadSizeCheck::EndBeforeStart;
    return ReadSizeCheck::Ok;
}

int MemoryRowCount(uint32_t start, uint32_t end) {
    if (end < start) return 0;
    return int((uint64_t(end) - start + kBytesPerRow) / kBytesPerRow);
}
