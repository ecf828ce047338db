// The project's external-data range: the lowest start and the highest end of
// the external-data segments of the linker map. While nothing is known the
// low end is 0x1000000 and the high end 0, so the high end lies below the low.
#pragma once

#include <cstdint>

struct CSymbolStruct;

extern uint32_t g_dwXdataLow;
extern uint32_t g_dwXdataHigh;

// Widens the range by one external-data segment: its start may lower the low
// end; unless its length is 0, start + length - 1 may raise the high end.
// A null segment changes nothing.
void UpdateCodeRange(const CSymbolStruct* segment);
void UpdateCodeRange(uint32_t start, uint32_t length);

// Back to "nothing known".
void ResetXdataRange();
