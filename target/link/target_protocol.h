// Target access through the adapter's byte commands.
//
// Each operation shows "USB ERROR!! ..." once when the link fails and then
// returns 0 (a PC of 0 for the PC reads). The adapter answers with fixed
// lengths and no framing: a missing answer shows up only as a short read.
#pragma once

#include <cstdint>

// Memory space codes, one byte on the wire.
enum MemorySpace : int {
    kSpaceInternalData = 1, // 0x00-0x7F
    kSpaceExternalData = 2, // 0x0000-0xFFFF, and the flash window from 0xFF0000
    kSpaceCode = 4,
    kSpaceSfr = 8, // 0x80-0xFF
};

// Address of flash offset 0 in the external-data space.
constexpr uint32_t kFlashWindowBase = 0xFF0000;

// Adapter command bytes.
namespace adapter {
constexpr uint8_t kReadPc = 0x59;
constexpr uint8_t kStep = 0x5E;
constexpr uint8_t kRun = 0x67;
constexpr uint8_t kBreak = 0x13;
constexpr uint8_t kSetBreakpoint = 0x64;
constexpr uint8_t kClearBreakpoint = 0x65;
constexpr uint8_t kSetPc = 0x5A;
constexpr uint8_t kSelectSpace = 0x5C;
constexpr uint8_t kSetAddress = 0x5B;
constexpr uint8_t kReadBlock = 0x54;
constexpr uint8_t kReadOne = 0x51;
constexpr uint8_t kWrite1 = 0x55;
constexpr uint8_t kWrite2 = 0x56;
constexpr uint8_t kWrite4 = 0x57;
} // namespace adapter

// Progress of long reads: while g_bReadProgress is set, every piece of
// ReadMemory reports (bytes read / count) * g_nProgressScale + g_nProgressBase
// to the main frame. Set by the caller before the read, cleared after it.
extern bool g_bReadProgress;
extern int g_nProgressScale;
extern int g_nProgressBase;

// The program counter (first answer byte low).
uint16_t ReadPc();
// Executes one instruction; returns the new program counter.
uint16_t StepInstruction();
// Sets the program counter; 1 or 0.
int SetPc(uint16_t pc);

// Reads `count` bytes from `address` of `space` in pieces of at most 255.
// Returns count, 0 after a link failure, -1 when the address check refuses
// the range (internal data must stay within 0x00-0x7F, SFRs within 0x80-0xFF).
int ReadMemory(uint32_t address, uint8_t* destination, uint32_t count, int space);

// Writes a value of 1, 2 or 4 bytes; 1 or 0. Outside spaces 2 and 4 the
// space follows from the address (internal data below 0x80, else SFR). A
// 2-byte SFR value goes with its bytes exchanged (DPL:DPH order). A value of
// 2 or 4 bytes is read back and, when the adapter did not store it most
// significant byte first (the order every value is read in), written again
// byte by byte.
int WriteTargetValue(uint32_t address, uint32_t value, int size, int space);

// Reads one byte (zero-extended), 0 after a link failure.
uint32_t ReadTargetByte(uint32_t address, int space);
