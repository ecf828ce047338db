#include "breakpoint_slot_ops.h"

#include "breakpoint_slots.h"
#include "target_messages.h"
#include "target_protocol.h"
#include "usb_link.h"

namespace {

int SendSetSlot(int slot, uint16_t address) {
    if (!g_pUsbLink) return -1;
    const uint8_t command[4] = {adapter::kSetBreakpoint, uint8_t(slot), uint8_t(address >> 8),
                                uint8_t(address)};
    return g_pUsbLink->SendCommand(command, sizeof command) < 0 ? -1 : 1;
}

int SendClearSlot(int slot) {
    if (!g_pUsbLink) return -1;
    const uint8_t command[2] = {adapter::kClearBreakpoint, uint8_t(slot)};
    return g_pUsbLink->SendCommand(command, sizeof command) < 0 ? -1 : 1;
}

// Clears `slot` on the adapter, and once more when that fails: the link
// brings itself back in step before the second try. 1 when a clear went out
// (the slot is free), else -1 (the slot stays stale).
int ClearOnAdapter(int slot) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (SendClearSlot(slot) < 0) continue;
        g_BreakAddr[slot] = kFreeBreakSlot;
        g_StaleBreakSlot[slot] = false;
        return 1;
    }
    g_StaleBreakSlot[slot] = true;
    return -1;
}

// The first free slot of the range takes the address: 1, 0 (none free), -1.
// What a failed set left on the adapter is cleared again.
int SetInRange(int first, int last, uint32_t address) {
    ClearStaleBreakSlots();
    for (int slot = first; slot <= last; ++slot) {
        if (g_BreakAddr[slot] != kFreeBreakSlot) continue;
        g_BreakAddr[slot] = int32_t(address & 0xFFFF);
        if (SendSetSlot(slot, uint16_t(address)) >= 0) return 1;
        ClearOnAdapter(slot);
        return -1;
    }
    return 0;
}

// Every slot of the range holding the address is cleared: 1, 0 (none), -1
// when one of them stays stale.
int ClearInRange(int first, int last, uint32_t address) {
    int result = 0;
    for (int slot = first; slot <= last; ++slot) {
        if (g_BreakAddr[slot] != int32_t(address & 0xFFFF)) continue;
        result = result < 0 || ClearOnAdapter(slot) < 0 ? -1 : 1;
    }
    return result;
}

int Reported(int result) {
    if (result >= 0) return result;
    ShowUsbError();
    return 0;
}

} // namespace

int SetBreakPoint(uint32_t address) {
    return Reported(SetInRange(kFirstUserSlot, kLastUserSlot, address));
}

int ClearBreakPoint(uint32_t address) {
    return Reported(ClearInRange(kFirstUserSlot, kLastUserSlot, address));
}

int SetHwBreakPoint(uint32_t address) {
    return SetInRange(kFirstInternalSlot, kLastInternalSlot, address);
}

int ClearHwBreakPoint(uint32_t address) {
    return ClearInRange(kFirstInternalSlot, kLastInternalSlot, address);
}

int ClearAllBreakPoints() {
    for (int slot = kFirstUserSlot; slot <= kLastUserSlot; ++slot)
        if (g_BreakAddr[slot] != kFreeBreakSlot) ClearBreakPoint(uint32_t(g_BreakAddr[slot]));
    return 1;
}

int ClearInternalBreakPoints() {
    int result = 1;
    for (int slot = kFirstInternalSlot; slot <= kLastInternalSlot; ++slot)
        if (g_BreakAddr[slot] != kFreeBreakSlot && ClearOnAdapter(slot) < 0) result = -1;
    return Reported(result);
}

bool ClearStaleBreakSlots() {
    bool cleared = true;
    for (int slot = 0; slot < kBreakSlotCount; ++slot)
        if (g_StaleBreakSlot[slot] && ClearOnAdapter(slot) < 0) cleared = false;
    return cleared;
}
