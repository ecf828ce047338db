#include "breakpoint_slots.h"

int32_t g_BreakAddr[kBreakSlotCount] = {-1, -1, -1, -1, -1, -1, -1, -1, -1,
                                        -1, -1, -1, -1, -1, -1, -1, -1, -1};

void FreeAllBreakSlots() {
    for (int32_t& slot : g_BreakAddr)
        slot = kFreeBreakSlot;
}
