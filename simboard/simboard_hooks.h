// Test hooks of the simulated adapter board library (libsimboard.so).
//
// The debugger never calls these; tests look them up with dlsym in the same
// library the debugger loads and use them to inspect and disturb the board.
// Every hook takes the library's one lock, so a hook called while another
// thread is inside an FT_ entry point waits for it.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifdef SIMBOARD_BUILDING
#define SIMBOARD_EXPORT __attribute__((visibility("default")))
#else
#define SIMBOARD_EXPORT
#endif

// --- The board as a whole ---------------------------------------------------

// Puts everything back as at process start: the device is closed (an open
// handle becomes invalid), queues and the command parser are empty, the CPU is
// reset and halted, internal RAM and external data are zero, both flashes are
// erased (0xFF) and then preloaded again from VEXA_SIM_HEX when it is set,
// every breakpoint slot is free, the read/write time-outs are back to their
// defaults, the latency is what VEXA_SIM_LATENCY_MS names (0 when unset),
// every command has its usual meaning, every fault is disarmed and the wire
// trace is off and empty.
SIMBOARD_EXPORT void SimBoard_ResetBoard(void);

// --- Timing ---------------------------------------------------------------------

// The adapter's latency timer: an answer, or the last part of one, shorter
// than a USB packet (62 answer bytes) becomes readable this many
// milliseconds after the firmware gave it. Whole packets leave at once.
SIMBOARD_EXPORT void SimBoard_SetLatency(uint32_t milliseconds);

// --- Wire trace ---------------------------------------------------------------

// Direction of one traced byte.
enum {
    SIMBOARD_TO_BOARD = 0, // accepted by FT_Write
    SIMBOARD_TO_HOST = 1,  // handed to the host by FT_Read
};

typedef struct SimBoardWireByte {
    uint8_t direction; // SIMBOARD_TO_BOARD or SIMBOARD_TO_HOST
    uint8_t value;
} SimBoardWireByte;

// While enabled, every byte FT_Write accepts and every byte FT_Read returns is
// appended to the trace, in the order the host saw them. Bytes dropped by a
// fault, purged or thrown away by FT_ResetDevice never reach the host and are
// not traced.
SIMBOARD_EXPORT void SimBoard_EnableTrace(int enable);
SIMBOARD_EXPORT uint32_t SimBoard_TraceLength(void);
// Copies up to `count` entries starting at entry `first`; returns how many.
SIMBOARD_EXPORT uint32_t SimBoard_ReadTrace(uint32_t first, SimBoardWireByte* out, uint32_t count);
SIMBOARD_EXPORT void SimBoard_ClearTrace(void);

// --- Fault injection ------------------------------------------------------------

// The next FT_Open or FT_OpenEx fails with FT_DEVICE_NOT_OPENED.
SIMBOARD_EXPORT void SimBoard_FailNextOpen(void);
// The next `times` calls of FT_Write return FT_OK with 0 bytes written and
// pass nothing to the board.
SIMBOARD_EXPORT void SimBoard_ZeroWrites(uint32_t times);
// The next `times` calls of FT_Read return FT_OK with 0 bytes read at once,
// take nothing from the queue and do not run the CPU.
SIMBOARD_EXPORT void SimBoard_ZeroReads(uint32_t times);
// The next `count` answer bytes the board produces are lost on the way to
// the receive queue.
SIMBOARD_EXPORT void SimBoard_DropAnswerBytes(uint32_t count);
// On the next chip erase the code-flash byte at `offset` (0..0xFFFF) is not
// erased: it keeps its content, or reads 0x00 when it already held 0xFF, so
// that a blank check always finds it.
SIMBOARD_EXPORT void SimBoard_LeaveUnerased(uint32_t offset);
// The next program operation on the code-flash byte at `offset` stores the
// complement of the value it should have stored.
SIMBOARD_EXPORT void SimBoard_CorruptNextProgram(uint32_t offset);
// The next 0x13 that arrives while the CPU runs meets a target that has just
// stopped on its own: the stop PC is answered first, then the 0x13 is taken
// as a break while halted and answers its one byte, so the host receives
// three bytes.
SIMBOARD_EXPORT void SimBoard_ArmBreakRace(void);
// The firmware gives its next answer late: it becomes readable
// `milliseconds` after the command that asked for it. Everything answered
// after it waits behind it.
SIMBOARD_EXPORT void SimBoard_DelayNextAnswer(uint32_t milliseconds);
// The next answer comes in two parts: its first `firstBytes` bytes as usual,
// the rest `milliseconds` after the command.
SIMBOARD_EXPORT void SimBoard_SplitNextAnswer(uint32_t firstBytes, uint32_t milliseconds);
// One byte that no command asked for (noise on the line taken for data)
// reaches the adapter's chip now. It travels to the host as answer bytes do:
// behind what the chip already holds, readable when the latency timer runs out.
SIMBOARD_EXPORT void SimBoard_StrayByte(uint8_t value);
// The adapter stops taking bytes `afterBytes` bytes from now: the FT_Write
// call that would carry bytes past that point hands the firmware only those
// before it. With `status` FT_OK (0) that call reports them written and the
// one FT_Write call after it takes nothing, as when the adapter stops reading
// until the write time-out. With any other status that call returns it and
// reports nothing written, whatever reached the firmware.
SIMBOARD_EXPORT void SimBoard_CutWrite(uint32_t afterBytes, uint32_t status);
// Disarms every fault above.
SIMBOARD_EXPORT void SimBoard_ClearFaults(void);

// --- Command meanings ---------------------------------------------------------------

// Where the command table leaves a meaning open, the board follows one
// reading (d2xx_types.h lists them); these flags switch it to the other, so
// that tests can show that the debugger works with either.
enum {
    // 0x67 from a PC held by a breakpoint slot stops at once, before the
    // instruction there, and answers that PC.
    SIMBOARD_ALT_RUN_STOPS_AT_START_BREAKPOINT = 1,
    // 0x56/0x57 store their bytes in wire order: b0 at the current address.
    SIMBOARD_ALT_VALUE_WRITE_IN_WIRE_ORDER = 2,
    // 0x66 leaves the breakpoint slots as they are.
    SIMBOARD_ALT_HANDSHAKE_END_KEEPS_SLOTS = 4,
};
SIMBOARD_EXPORT void SimBoard_SetAlternativeMeanings(uint32_t flags);

// --- Direct access ----------------------------------------------------------------

// Memories reachable through SimBoard_ReadMemory / SimBoard_WriteMemory, with
// their address ranges.
enum {
    SIMBOARD_CODE_FLASH = 0, // 0x0000-0xFFFF, the memory the CPU runs from
    SIMBOARD_DATA_FLASH = 1, // 0x00-0xFF
    SIMBOARD_IRAM = 2,       // 0x00-0x7F
    SIMBOARD_SFR = 3,        // 0x80-0xFF, no side effects
    SIMBOARD_XDATA = 4,      // 0x0000-0xFFFF
};

// Copy bytes out of / into a memory; the copy stops at the end of the
// memory's range. Returns the number of bytes copied (0 for an unknown
// memory or a start outside the range). Writes store plainly (flash writes
// are not programming operations).
SIMBOARD_EXPORT uint32_t SimBoard_ReadMemory(int memory, uint32_t address, uint8_t* out,
                                             uint32_t count);
SIMBOARD_EXPORT uint32_t SimBoard_WriteMemory(int memory, uint32_t address, const uint8_t* data,
                                              uint32_t count);

SIMBOARD_EXPORT uint16_t SimBoard_GetPc(void);
SIMBOARD_EXPORT void SimBoard_SetPc(uint16_t pc);

// 1 while the CPU runs (after 0x67 until it stops), else 0.
SIMBOARD_EXPORT int SimBoard_IsRunning(void);
// 1 starts the CPU as 0x67 does (the stop PC is answered when it stops);
// 0 halts it at once without answering anything.
SIMBOARD_EXPORT void SimBoard_SetRunning(int running);

// Breakpoint slots 0..17. Get returns 1 and the address when the slot is in
// use, 0 when it is free, -1 for a slot number out of range. Set with
// enabled 0 frees the slot; returns 0, or -1 for a bad slot number.
SIMBOARD_EXPORT int SimBoard_GetBreakpoint(uint32_t slot, uint16_t* address);
SIMBOARD_EXPORT int SimBoard_SetBreakpoint(uint32_t slot, int enabled, uint16_t address);

#ifdef __cplusplus
}
#endif
