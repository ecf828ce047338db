// Setting and clearing the adapter's hardware breakpoint slots.
//
// The host table never counts a slot free that the adapter may hold. A set
// or clear command that fails may still have reached the adapter in part
// (the link completes such a command before it sends anything else), so the
// slot is then cleared on the adapter, once more when that clear fails too;
// the table frees a slot only once a clear of it went out. A slot whose
// clears all failed stays stale (breakpoint_slots.h) and is cleared before
// the next set or run.
#pragma once

#include <cstdint>

constexpr int kFirstUserSlot = 0;
constexpr int kLastUserSlot = 15;
constexpr int kFirstInternalSlot = 16;
constexpr int kLastInternalSlot = 17;

// User slots 0-15. 1 when done; 0 when no slot is free (set) or no slot holds
// the address (clear), with nothing sent and no message; 0 after the adapter
// error message on a link failure. Clearing frees every user slot holding
// the address.
int SetBreakPoint(uint32_t address);
int ClearBreakPoint(uint32_t address);

// Internal slots 16-17, used by the run workers, which show nothing: 1 when
// done, 0 when no slot is free or holds the address, -1 on a link failure.
int SetHwBreakPoint(uint32_t address);
int ClearHwBreakPoint(uint32_t address);

// Clears every used user slot in order (ClearBreakPoint); always 1.
int ClearAllBreakPoints();
// Clears every used internal slot; 1, or 0 after the adapter error message.
int ClearInternalBreakPoints();

// Clears every stale slot on the adapter; false when one stays stale.
bool ClearStaleBreakSlots();
