#include "xdata_range.h"

#include "symbol_records.h"

namespace {

constexpr uint32_t kNothingKnownLow = 0x1000000;
constexpr uint32_t kNothingKnownHigh = 0;

} // namespace

void UpdateCodeRange(uint32_t start, uint32_t length) {
    if (start < g_dwXdataLow) g_dwXdataLow = start;
    if (length == 0) return;
    const uint32_t end = start + length - 1;
    if (end > g_dwXdataHigh) g_dwXdataHigh = end;
}

void UpdateCodeRange(const CSymbolStruct* segment) {
    if (!segment) return;
    UpdateCodeRange(segment->m_dwStart, segment->m_dwLength);
}

void ResetXdataRange() {
    g_dwXdataLow = kNothingKnownLow;
    g_dwXdataHigh = kNothingKnownHigh;
}
