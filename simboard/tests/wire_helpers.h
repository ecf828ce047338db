// Byte strings of the adapter's commands, built the way the debugger builds
// them, for tests that talk raw bytes to the simulated board.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b);

Bytes selectSpace(uint8_t space);   // 0x5C space
Bytes setAddress(uint32_t address); // 0x5B, address high byte first
Bytes readBlock(uint8_t count);     // 0x54 count

// A(hhll)=d of the flash window: set address 0xFFhhll, write d.
Bytes windowWrite(uint16_t offset, uint8_t value);

// The flash packets, byte for byte.
Bytes chipErasePacket();                                 // 38 bytes
Bytes programPacket(uint16_t offset, const Bytes& data); // 24 per byte
Bytes dataFlashSelectPacket();                           // 20 bytes
Bytes dataFlashSectorErasePacket();                      // 38 bytes
Bytes readArrayResetPacket();                            // 8 bytes

// The 3-byte program-byte prefix followed by the byte at `offset`.
Bytes programByteCycles(uint16_t offset, uint8_t value);
