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

// The first free slot of the range takes the address: 1, 0 (none free), -1.
// A slot whose command did not go out stays free.
int SetInRange(int first, int last, uint32_t address) {
    for (int slot = first; slot <= last; ++slot) {
        if (g_BreakAddr[slot] != kFreeBreakSlot) continue;
        g_BreakAddr[slot] = int32_t(address & 0xFFFF);
        const int sent = SendSetSlot(slot, uint16_t(address));
        if (sent < 0) g_BreakAddr[slot] = kFreeBreakSlot;
        return sent;
    }
    return 0;
}

// Every slot of the range holding the address is freed: 1, 0 (none), -1
// when a clear command did not go out.
int ClearInRange(int first, int last, uint32_t address) {
    int result = 0;
    for (int slot = first; slot <= last; ++slot) {
        if (g_BreakAddr[slot] != int32_t(address & 0xFFFF)) continue;
        g_BreakAddr[slot] = kFreeBreakSlot;
        const int sent = SendClearSlot(slot);
        result = result < 0 || sent < 0 ? -1 : 1;
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
    for (int slot = kFirstUserSlot; slot <= kLastUserSlot; ++slot) {
        if (g_BreakAddr[slot] == kFreeBreakSlot) continue;
        ClearBreakPoint(uint32_t(g_BreakAddr[slot]));
        g_BreakAddr[slot] = kFreeBreakSlot;
    }
    return 1;
}

int ClearInternalBreakPoints() {
    int result = 1;
    for (int slot = kFirstInternalSlot; slot <= kLastInternalSlot; ++slot) {
        if (g_BreakAddr[slot] == kFreeBreakSlot) continue;
        g_BreakAddr[slot] = kFreeBreakSlot;
        if (SendClearSlot(slot) < 0) result = -1;
    }
    return Reported(result);
}
