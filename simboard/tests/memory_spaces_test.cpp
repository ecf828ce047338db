// Reading and writing the four memory spaces with raw commands.
#include "board_test.h"

using SimBoardMemorySpaces = BoardTest;

TEST_F(SimBoardMemorySpaces, InternalDataReadsAndWritesAdvanceTheAddress) {
    store(SIMBOARD_IRAM, 0x13, {0x44, 0x45});
    send(selectSpace(1) + setAddress(0x10) + Bytes{0x55, 0x11, 0x55, 0x22, 0x55, 0x33, 0x51, 0x51});
    EXPECT_EQ(receive(2), (Bytes{0x44, 0x45})); // read at 0x13, then 0x14
    EXPECT_EQ(fetch(SIMBOARD_IRAM, 0x10, 3), (Bytes{0x11, 0x22, 0x33}));
    EXPECT_EQ(readSpace(1, 0x10, 4), (Bytes{0x11, 0x22, 0x33, 0x44}));
}

TEST_F(SimBoardMemorySpaces, SfrSpaceHoldsTheRegisters) {
    // A 16-bit SFR pair as the debugger writes it: the value's bytes already
    // exchanged, so DPH:DPL reads back as 0x1234.
    send(selectSpace(8) + setAddress(0x82) + Bytes{0x56, 0x12, 0x34});
    EXPECT_EQ(sfr(0x82), 0x34);
    EXPECT_EQ(sfr(0x83), 0x12);
    store(SIMBOARD_SFR, 0xE0, {0xA5});
    EXPECT_EQ(readSpace(8, 0xE0, 1), Bytes{0xA5});
    EXPECT_EQ(readSpace(8, 0x80, 1), Bytes{0xFF}); // P0 after reset
}

TEST_F(SimBoardMemorySpaces, MultiByteWritesStoreMostSignificantByteFirst) {
    send(selectSpace(2) + setAddress(0x0100) + Bytes{0x57, 0x78, 0x56, 0x34, 0x12});
    EXPECT_EQ(fetch(SIMBOARD_XDATA, 0x0100, 4), (Bytes{0x12, 0x34, 0x56, 0x78}));
    // An int written as the debugger sends it (0x56, low byte, high byte),
    // then one more byte that lands right after it.
    send(setAddress(0x0200) + Bytes{0x56, 0x34, 0x12, 0x55, 0x99});
    EXPECT_EQ(fetch(SIMBOARD_XDATA, 0x0200, 3), (Bytes{0x12, 0x34, 0x99}));
}

TEST_F(SimBoardMemorySpaces, LongReadsComeInPiecesFromOneAddress) {
    Bytes pattern(600);
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<uint8_t>(i * 7 + 1);
    store(SIMBOARD_XDATA, 0x1F00, pattern);
    EXPECT_EQ(readSpace(2, 0x1F00, 600), pattern); // pieces of 255, 255 and 90
}

TEST_F(SimBoardMemorySpaces, CodeSpaceReadsTheFlashAndIgnoresWrites) {
    store(SIMBOARD_CODE_FLASH, 0x1234, {0xDE, 0xAD});
    EXPECT_EQ(readSpace(4, 0x1234, 2), (Bytes{0xDE, 0xAD}));
    send(selectSpace(4) + setAddress(0x1234) + Bytes{0x55, 0x00, 0x56, 0x00, 0x00});
    EXPECT_EQ(fetch(SIMBOARD_CODE_FLASH, 0x1234, 3), (Bytes{0xDE, 0xAD, 0xFF}));
}

TEST_F(SimBoardMemorySpaces, AddressesOutsideASpaceReadFFAndIgnoreWrites) {
    store(SIMBOARD_IRAM, 0x7F, {0x01});
    store(SIMBOARD_SFR, 0x80, {0x02});
    // Space 1 ends at 0x7F: the byte after it is not SFR P0.
    send(selectSpace(1) + setAddress(0x7F) + Bytes{0x56, 0xAA, 0xBB});
    EXPECT_EQ(fetch(SIMBOARD_IRAM, 0x7F, 1), Bytes{0xBB});
    EXPECT_EQ(sfr(0x80), 0x02);
    EXPECT_EQ(readSpace(1, 0x7F, 2), (Bytes{0xBB, 0xFF}));
    // Space 8 starts at 0x80: 0x7F is not internal data.
    send(selectSpace(8) + setAddress(0x7F) + Bytes{0x55, 0xCC});
    EXPECT_EQ(fetch(SIMBOARD_IRAM, 0x7F, 1), Bytes{0xBB});
    EXPECT_EQ(readSpace(8, 0x7F, 2), (Bytes{0xFF, 0x02}));
    // Space 2 between the external data and the flash window.
    EXPECT_EQ(readSpace(2, 0x010000, 1), Bytes{0xFF});
    // An unknown space code.
    EXPECT_EQ(readSpace(3, 0x0000, 1), Bytes{0xFF});
}

TEST_F(SimBoardMemorySpaces, ProgramCounterIsReadAndSetLowByteFirstOnTheWayBack) {
    send({0x5A, 0x12, 0x34, 0x59});
    EXPECT_EQ(receive(2), (Bytes{0x34, 0x12}));
    EXPECT_EQ(lib.GetPc(), 0x1234);
}

TEST_F(SimBoardMemorySpaces, CommandsSurviveAnySplitAcrossWrites) {
    Bytes commands = selectSpace(2) + setAddress(0x0040) + Bytes{0x57, 1, 2, 3, 4} +
                     setAddress(0x0040) + readBlock(4) + Bytes{0x59};
    for (uint8_t b : commands)
        send({b});
    EXPECT_EQ(receive(6), (Bytes{4, 3, 2, 1, 0x00, 0x00}));
}
