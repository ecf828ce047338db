// The D2XX driver interface as this project uses it: the types, status codes
// and flags of the ten entry points, and pointer types to bind them with
// dlsym. The debugger's target layer includes this header to load either the
// real driver library or the project's simulated adapter board
// (libsimboard.so), which exports the same ten entry points with C linkage.
//
// What the simulated board does behind the entry points
// ------------------------------------------------------
// Opening
// - FT_OpenEx succeeds only with the description "USB <-> Serial" and the
//   flag FT_OPEN_BY_DESCRIPTION (2); anything else is FT_DEVICE_NOT_FOUND.
//   FT_Open succeeds for device number 0 only. There is one device: opening
//   it while it is open gives FT_DEVICE_NOT_OPENED. Opening starts with empty
//   queues and an empty command parser; the board itself keeps its state.
// - The environment variable VEXA_SIM_NOT_ATTACHED, set to any non-empty
//   value other than "0", makes the board "not attached": every open gives
//   FT_DEVICE_NOT_FOUND and FT_ListDevices counts no device. It is read at
//   every open.
// - Every call while the device is closed, or with a handle other than the
//   one the open gave, answers FT_INVALID_HANDLE.
//
// Transfers
// - FT_Write hands every byte to the adapter firmware at once; each command
//   is executed as soon as its last byte arrives. Commands may be split
//   across writes or several may come in one write (flash packets are up to
//   6120 bytes). Answers go to the receive queue.
// - FT_Read waits, up to the read time-out (wall clock), until n answer
//   bytes are readable, and returns them; after the time-out it returns what
//   there is (a short read, maybe none). While the CPU runs the read keeps
//   running it, in slices. The time-outs are those given to FT_SetTimeouts,
//   300 ms each until it is called; a read time-out of 0 takes one look (and
//   runs one slice) and returns. FT_Write never waits.
// - FT_GetQueueStatus never blocks: while the CPU runs it runs one slice of
//   at most 10 000 instructions, then reports how many bytes are readable.
// - FT_ResetDevice resets the USB side only: the receive queue and the
//   answer bytes the adapter chip holds. As on the adapter's FTDI chip, the
//   reset does not reach the firmware: a half-received command stays half
//   received, its next bytes complete it. The target is untouched, and a
//   running CPU keeps running.
// - FT_Purge with FT_PURGE_RX empties the receive queue the host reads.
//   Answer bytes still held by the adapter (the latency timer, a late
//   answer) are not reached and arrive afterwards, as bytes in flight can on
//   a real link. FT_PURGE_TX has nothing to drop, since every written byte
//   has reached the firmware.
// - No thread: the CPU only advances inside FT_Read, FT_GetQueueStatus and
//   the commands that execute instructions. One mutex serialises every entry
//   point; FT_Read releases it while it waits, so another thread can send
//   0x13 while one waits for the stop PC.
//
// Timing (as on the adapter's FTDI chip)
// - Answer bytes travel in USB packets of 62 bytes. A whole packet leaves at
//   once; an answer shorter than a packet, or the last part of a longer one,
//   becomes readable only when the latency timer runs out: the latency after
//   the firmware gave it (16 ms is the chip's default). Answers keep their
//   order: nothing overtakes bytes that are still held.
// - The latency is 0 (answers are readable at once) unless the environment
//   variable VEXA_SIM_LATENCY_MS names another number of milliseconds when
//   the board powers on, or a test sets it (SimBoard_SetLatency).
//
// Commands (bytes on the wire; answers in brackets)
// - 0x59 [PC low, PC high]; 0x5E executes one instruction whatever the
//   breakpoints [new PC low, high]; 0x5A hi lo sets the PC.
// - 0x67 runs: the instruction at the start PC always executes (meaning 3
//   below), then the CPU halts before any instruction whose address is held
//   by a used breakpoint slot and answers the stop PC [low, high] once.
// - 0x13 while running halts after the current instruction (the one at the
//   start PC counts as current until it has executed) and the stop PC
//   follows as the answer of 0x67. 0x13 while halted answers 1 byte.
// - While the CPU runs the firmware listens only for 0x13; every other byte
//   received meanwhile is dropped.
// - Handshake: 0x13, 0x1C, 0x00, 0x02, 0x17 each answer one byte, the
//   command byte itself. 0x17 also resets the CPU (PC 0, SFRs to their reset
//   values); internal RAM, external data and both flashes are kept.
// - 0x64 slot hi lo puts an address in a slot, 0x65 slot frees it; slot
//   numbers above 17 are ignored. 0x66 frees all 18 (meaning 1 below).
// - 0x5C space selects the memory space, 0x5B a23..16 a15..8 a7..0 sets the
//   current address. 0x54 n [n bytes] and 0x51 [1 byte] read, 0x55 b, 0x56
//   b0 b1 and 0x57 b0 b1 b2 b3 write (byte order: meaning 2 below); each
//   advances the current address by the bytes read or written (24 bits,
//   wrapping).
// - Any other command byte is ignored and answers nothing.
// - The parser has no framing and no time-out: a command's first byte fixes
//   its length, and a half-received command waits, however long, for the
//   bytes it lacks. Only more bytes end it (FT_ResetDevice and FT_Purge do
//   not reach it), and whatever they are they complete it.
//
// Meanings the command table leaves open, and the reading the board follows
// (SimBoard_SetAlternativeMeanings switches each to the other reading; the
// debugger must work with either):
// 1. 0x66, "none | last handshake byte": frees all 18 breakpoint slots. The
//    table says only that the handshake ends with it; the host frees its
//    record of every slot there "without telling the adapter". Other
//    reading: the slots stay as they were.
// 2. 0x56 b0 b1, "write two bytes, lower byte first", and 0x57 b0..b3,
//    "write four bytes, lowest byte first": the value is stored most
//    significant byte first, b1 (b3) at the current address and b0 last, so
//    that it reads back "high byte first" as every value is read; a 16-bit
//    SFR pair, whose bytes the host exchanges before sending ("written high
//    byte at the lower address"), then reads back "low byte first". Other
//    reading: the bytes are stored in wire order, b0 at the current address.
// 3. 0x67 "run" from a PC that a used breakpoint slot holds: the instruction
//    at the start PC always executes, then the CPU halts before any
//    instruction whose address a used slot holds, so Continue from a
//    breakpoint goes on. The table says only "2 bytes when the target stops".
//    Other reading: the run stops at once, before that instruction, and
//    answers the start PC.
//
// Memory spaces (a byte outside a space's range reads 0xFF, a write there is
// ignored; reads never have side effects)
// - 1: internal RAM, 0x00-0x7F (128 bytes).
// - 2: external data at 0x000000-0x00FFFF; the flash window at
//   0xFF0000-0xFFFFFF (window offset = address - 0xFF0000).
// - 4: the 64 KB code flash, 0x0000-0xFFFF; writes are ignored.
// - 8: the SFRs, 0x80-0xFF.
// - The current space starts as 1 and the current address as 0.
//
// Flash (the window of space 2)
// - Space 4 and the window show the same 64 KB code flash, the memory the
//   CPU runs from; after the data-flash select the window shows the 256-byte
//   data flash at offsets 0x00-0xFF (0xFF above) until the read-array reset.
// - Writes to the window are decoded as JEDEC command sequences on the
//   window offsets; a write that fits no sequence abandons the one under way
//   and changes no memory:
//   program      5555=AA 2AAA=55 5555=A0, then the byte at its offset
//                (programming only clears bits: flash &= byte);
//   chip erase   5555=AA 2AAA=55 5555=80 5555=AA 2AAA=55 5555=10
//                (code flash := 0xFF, data flash kept);
//   select data flash  5555=AA 2AAA=55 5555=B0;
//   sector erase 5555=AA 2AAA=55 5555=80 5555=AA 2AAA=55 SA=30
//                (with the data flash selected the whole 256-byte data
//                flash := 0xFF; otherwise the 4 KB code-flash sector
//                holding SA := 0xFF);
//   read-array reset  F0 at any offset (except as the byte of a program
//                operation): back to showing the code flash.
//
// Initial state
// - At load: CPU reset and halted, internal RAM and external data zero, both
//   flashes erased (0xFF), every breakpoint slot free. The environment
//   variable VEXA_SIM_HEX may name an Intel HEX file whose data is then
//   preloaded into the code flash (read by the project's Intel HEX reader). A
//   file that cannot be read or is rejected leaves the flash erased and the
//   reader's message on standard error.
//
// Test hooks: the library also exports the SimBoard_ functions of
// simboard_hooks.h (the debugger never calls them): a wire trace of every
// byte in and out, the latency, fault injection (fail the open; return 0
// bytes k times from FT_Write/FT_Read; drop the next n answer bytes; give the
// next answer late, or split it in two parts with a pause between; a stray
// received byte; a write cut off after a given byte; leave a byte un-erased;
// corrupt a programmed byte; the race where the target stops just as the
// host sends 0x13), the other reading of each open meaning, and
// direct access to the board's memories, PC, run state and breakpoint
// slots. Nothing else is exported.
//
// FT_ListDevices answers FT_LIST_NUMBER_ONLY (1 device, 0 when not attached)
// and FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION (index 0: "USB <-> Serial");
// any other request is FT_INVALID_PARAMETER.
#pragma once

#include <stdint.h>

typedef void* FT_HANDLE;
typedef uint32_t FT_STATUS;
typedef uint32_t DWORD;
typedef uint32_t ULONG;
typedef DWORD* LPDWORD;
typedef void* PVOID;
typedef void* LPVOID;

enum {
    FT_OK = 0,
    FT_INVALID_HANDLE = 1,
    FT_DEVICE_NOT_FOUND = 2,
    FT_DEVICE_NOT_OPENED = 3,
    FT_IO_ERROR = 4,
    FT_INVALID_PARAMETER = 6,
};

// FT_OpenEx and FT_ListDevices flags.
#define FT_OPEN_BY_DESCRIPTION 2u
#define FT_LIST_NUMBER_ONLY 0x80000000u
#define FT_LIST_BY_INDEX 0x40000000u
#define FT_LIST_ALL 0x20000000u

// FT_Purge masks.
#define FT_PURGE_RX 1u
#define FT_PURGE_TX 2u

// The ten entry points, as pointer types for dlsym.
typedef FT_STATUS (*FT_OpenFn)(int deviceNumber, FT_HANDLE* handle);
typedef FT_STATUS (*FT_OpenExFn)(PVOID arg, DWORD flags, FT_HANDLE* handle);
typedef FT_STATUS (*FT_CloseFn)(FT_HANDLE handle);
typedef FT_STATUS (*FT_ListDevicesFn)(PVOID arg1, PVOID arg2, DWORD flags);
typedef FT_STATUS (*FT_ReadFn)(FT_HANDLE handle, LPVOID buffer, DWORD toRead, LPDWORD read);
typedef FT_STATUS (*FT_WriteFn)(FT_HANDLE handle, LPVOID buffer, DWORD toWrite, LPDWORD written);
typedef FT_STATUS (*FT_ResetDeviceFn)(FT_HANDLE handle);
typedef FT_STATUS (*FT_PurgeFn)(FT_HANDLE handle, ULONG mask);
typedef FT_STATUS (*FT_SetTimeoutsFn)(FT_HANDLE handle, ULONG readTimeout, ULONG writeTimeout);
typedef FT_STATUS (*FT_GetQueueStatusFn)(FT_HANDLE handle, LPDWORD rxBytes);
