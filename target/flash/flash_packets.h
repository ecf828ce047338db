// Byte strings that erase and program the flash through the adapter.
//
// The flash chip sits in the external-data space from 0xFF0000 up and takes
// the JEDEC command sequences for parallel flash; each bus write is the
// adapter's set-address command (0x5B) followed by its write-byte command
// (0x55). A packet goes to the adapter as one transfer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using FlashPacket = std::vector<uint8_t>;

// Bytes on the wire per programmed data byte.
constexpr size_t kProgramBytesPerDataByte = 24;

// Selects space 2, then the six-write chip erase sequence (38 bytes).
FlashPacket ChipErasePacket();
// Programs data[i] at flash offset offset + i, 24 bytes per data byte; no
// space byte: the space selected before stays in force.
FlashPacket ProgramPacket(uint16_t offset, const uint8_t* data, size_t count);
// Switches the window to the data flash (20 bytes).
FlashPacket DataFlashSelectPacket();
// Erases the data-flash sector (38 bytes).
FlashPacket DataFlashSectorErasePacket();
// Puts the chip back into read-array mode (8 bytes).
FlashPacket ReadArrayResetPacket();
// Ends whatever command sequence a cut-off packet left the chip in, and puts
// it back into read-array mode with the code flash shown (14 bytes): first a
// write of 0xFF, which ends an unlock or erase sequence as a write that fits
// none and, taken as the byte of a half-entered program sequence, programs
// nothing (programming only clears bits); then the read-array reset.
FlashPacket SequenceResetPacket();

// Sends a packet as one transfer. Its result is not looked at: the blank
// checks and the read-back find what went wrong.
void SendFlashPacket(const FlashPacket& packet);
