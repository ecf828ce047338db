// Fixture of the simulated board's tests: a freshly reset board, opened the
// way the debugger opens it, and helpers to talk raw bytes to it.
#pragma once

#include "simboard_library.h"
#include "wire_helpers.h"

#include <gtest/gtest.h>

class BoardTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes all bytes in one FT_Write; fails the test unless all are taken.
    void send(const Bytes& bytes);
    // One FT_Read of up to `count` bytes; returns what it gave.
    Bytes receive(size_t count);
    // Receives two bytes and returns them as a PC, first byte low.
    uint16_t receivePc();
    DWORD queued();
    // Polls FT_GetQueueStatus until `count` bytes wait (or a generous limit).
    DWORD pollUntilQueued(DWORD count);

    // Reads `count` bytes of a space: the address is sent once, then 0x54
    // pieces of at most 255 bytes, as the debugger reads memory.
    Bytes readSpace(uint8_t space, uint32_t address, size_t count);

    // Direct access through the hooks.
    void store(int memory, uint32_t address, const Bytes& bytes);
    Bytes fetch(int memory, uint32_t address, size_t count);
    uint8_t sfr(uint8_t address) { return fetch(SIMBOARD_SFR, address, 1)[0]; }

    const SimBoardLibrary& lib = SimBoardLibrary::get();
    FT_HANDLE handle = nullptr;
};
