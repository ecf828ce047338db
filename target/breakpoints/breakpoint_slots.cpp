#include "breakpoint_slots.h"

int32_t g_BreakAddr[kBreakSlotCount] = {-1, -1, -1, -1, -1, -1, -1, -1, -1,
                                        -1, -1, -1, -1, -1, -1, -1, -1, -1};

bool g_StaleBreakSlot[kBreakSlotCount] = {};

void FreeAllBreakSlots() {
    for (int slot = 0; slot < kBreakSlotCount; ++slot) {
        g_BreakAddr[slot] = kFreeBreakSlot;
        g_StaleBreakSlot[slot] = false;
    }
}

bool IsBreakSlotAddress(uint16_t address) {
    for (int32_t slot : g_BreakAddr)
        if (slot == int32_t(address)) return true;
    return false;
}

bool AnyBreakSlotUsed() {
    for (int32_t slot : g_BreakAddr)
        if (slot != kFreeBreakSlot) return true;
    return false;
}
