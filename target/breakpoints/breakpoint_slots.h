// The adapter's hardware breakpoint slots as the host believes them to be.
#pragma once

#include <cstdint>

constexpr int kBreakSlotCount = 18;    // slots 0-15 for the user, 16-17 internal
constexpr int32_t kFreeBreakSlot = -1; // otherwise a slot holds a 16-bit code address

extern int32_t g_BreakAddr[kBreakSlotCount];

// A stale slot keeps its address only because its clear never reached the
// adapter, which may still hold it: no breakpoint wants it, and it counts as
// used until a clear goes out.
extern bool g_StaleBreakSlot[kBreakSlotCount];

// Marks every slot free (and none stale) without telling the adapter.
void FreeAllBreakSlots();

// Some slot (user or internal) holds the address.
bool IsBreakSlotAddress(uint16_t address);
// Some slot is in use.
bool AnyBreakSlotUsed();
