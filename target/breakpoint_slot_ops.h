// Setting and clearing the adapter's hardware breakpoint slots.
//
// A slot is taken in the host table before its set command is sent and given
// back when the command does not go out; a clear frees every slot of its
// range that holds the address, before its command is sent. So no slot stays
// set on the adapter that the table does not hold.
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
// Sends 0x65 for every used internal slot and frees it; 1, or 0 after the
// adapter error message (every slot is still freed).
int ClearInternalBreakPoints();
