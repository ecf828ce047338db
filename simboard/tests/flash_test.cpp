// Erasing and programming the flashes through the window of space 2, with
// the packets the debugger sends.
#include "board_test.h"

namespace {

const uint32_t kWindow = 0xFF0000;

class SimBoardFlash : public BoardTest {
protected:
    Bytes codeFlash(uint32_t offset, size_t count) {
        return fetch(SIMBOARD_CODE_FLASH, offset, count);
    }
    Bytes dataFlash(uint32_t offset, size_t count) {
        return fetch(SIMBOARD_DATA_FLASH, offset, count);
    }
};

} // namespace

TEST_F(SimBoardFlash, PacketsHaveTheirWireLengths) {
    EXPECT_EQ(chipErasePacket().size(), 38u);
    EXPECT_EQ(programPacket(0, Bytes(22, 0)).size(), 528u);
    EXPECT_EQ(programPacket(0, Bytes(255, 0)).size(), 6120u);
    EXPECT_EQ(dataFlashSelectPacket().size(), 20u);
    EXPECT_EQ(dataFlashSectorErasePacket().size(), 38u);
    EXPECT_EQ(readArrayResetPacket().size(), 8u);
}

TEST_F(SimBoardFlash, ImageLoadedThroughTheWindowReadsBackInCodeSpace) {
    store(SIMBOARD_CODE_FLASH, 0x0000, {0x00, 0x11, 0x22});
    send(chipErasePacket());
    EXPECT_EQ(readSpace(2, kWindow, 1024), Bytes(1024, 0xFF)); // the blank check
    send(programPacket(0x0030, {0x02, 0x12, 0x34}));
    EXPECT_EQ(readSpace(4, 0x0000, 0x33), (Bytes(0x30, 0xFF) + Bytes{0x02, 0x12, 0x34}));
    EXPECT_EQ(readSpace(2, kWindow + 0x30, 3), (Bytes{0x02, 0x12, 0x34}));
}

TEST_F(SimBoardFlash, ProgrammingOnlyClearsBits) {
    send(selectSpace(2) + programPacket(0x0100, {0xF0}));
    send(programPacket(0x0100, {0x3C}));
    EXPECT_EQ(codeFlash(0x0100, 1), Bytes{0x30});
}

TEST_F(SimBoardFlash, ChipEraseKeepsTheDataFlash) {
    store(SIMBOARD_DATA_FLASH, 0, {0x12, 0x34});
    store(SIMBOARD_CODE_FLASH, 0xFFFF, {0x00});
    send(chipErasePacket());
    EXPECT_EQ(codeFlash(0xFFFF, 1), Bytes{0xFF});
    EXPECT_EQ(dataFlash(0, 2), (Bytes{0x12, 0x34}));
}

TEST_F(SimBoardFlash, DataFlashIsErasedProgrammedAndReadThroughTheWindow) {
    store(SIMBOARD_DATA_FLASH, 0, Bytes(256, 0x00));
    store(SIMBOARD_CODE_FLASH, 0, {0xAB});
    send(dataFlashSelectPacket());
    send(dataFlashSectorErasePacket());
    EXPECT_EQ(readSpace(2, kWindow, 256), Bytes(256, 0xFF));
    EXPECT_EQ(codeFlash(0, 1), Bytes{0xAB}); // the code flash is not touched

    Bytes contents(255);
    for (size_t i = 0; i < contents.size(); ++i)
        contents[i] = static_cast<uint8_t>(i ^ 0x5A);
    send(programPacket(0x0000, contents)); // one 6120-byte transfer
    EXPECT_EQ(readSpace(2, kWindow, 255), contents);
    EXPECT_EQ(dataFlash(0, 255), contents);
    EXPECT_EQ(dataFlash(255, 1), Bytes{0xFF});
    EXPECT_EQ(readSpace(2, kWindow + 0x100, 1), Bytes{0xFF}); // beyond the data flash

    send(readArrayResetPacket());
    EXPECT_EQ(readSpace(2, kWindow, 1), Bytes{0xAB});
    EXPECT_EQ(readSpace(4, 0, 1), Bytes{0xAB}); // space 4 always shows the code flash
}

TEST_F(SimBoardFlash, PacketSplitIntoOddWritesProgramsTheSame) {
    Bytes contents(100);
    for (size_t i = 0; i < contents.size(); ++i)
        contents[i] = static_cast<uint8_t>(i * 3);
    Bytes packet = chipErasePacket() + programPacket(0x2000, contents);
    for (size_t at = 0; at < packet.size(); at += 7)
        send(Bytes(packet.begin() + at, packet.begin() + std::min(at + 7, packet.size())));
    EXPECT_EQ(codeFlash(0x2000, 100), contents);
}

TEST_F(SimBoardFlash, SectorEraseOfTheCodeFlashClearsOneFourKilobyteSector) {
    store(SIMBOARD_CODE_FLASH, 0x0FFF, {0x00, 0x00});
    store(SIMBOARD_CODE_FLASH, 0x1FFF, {0x00, 0x00});
    Bytes sectorErase = selectSpace(2) + windowWrite(0x5555, 0xAA) + windowWrite(0x2AAA, 0x55) +
                        windowWrite(0x5555, 0x80) + windowWrite(0x5555, 0xAA) +
                        windowWrite(0x2AAA, 0x55) + windowWrite(0x1234, 0x30);
    send(sectorErase);
    EXPECT_EQ(codeFlash(0x0FFF, 2), (Bytes{0x00, 0xFF}));
    EXPECT_EQ(codeFlash(0x1FFF, 2), (Bytes{0xFF, 0x00}));
}

TEST_F(SimBoardFlash, AWriteOutsideTheSequenceAbandonsIt) {
    store(SIMBOARD_CODE_FLASH, 0x0040, {0xFF, 0xFF, 0x00});
    // Program prefix with the third cycle at the wrong address.
    send(selectSpace(2) + windowWrite(0x5555, 0xAA) + windowWrite(0x2AAA, 0x55) +
         windowWrite(0x5554, 0xA0) + windowWrite(0x0040, 0x00));
    // A stray write between the two unlock cycles.
    send(windowWrite(0x5555, 0xAA) + windowWrite(0x0000, 0x00) + windowWrite(0x2AAA, 0x55) +
         windowWrite(0x5555, 0xA0) + windowWrite(0x0041, 0x00));
    // A chip erase whose last cycle has the wrong command byte.
    send(windowWrite(0x5555, 0xAA) + windowWrite(0x2AAA, 0x55) + windowWrite(0x5555, 0x80) +
         windowWrite(0x5555, 0xAA) + windowWrite(0x2AAA, 0x55) + windowWrite(0x5555, 0x11));
    EXPECT_EQ(codeFlash(0x0040, 3), (Bytes{0xFF, 0xFF, 0x00}));
    // A complete sequence right after an abandoned one still works.
    send(programPacket(0x0040, {0x12}));
    EXPECT_EQ(codeFlash(0x0040, 1), Bytes{0x12});
}

TEST_F(SimBoardFlash, ReadArrayResetAnywhereEndsDataFlashModeAndTheSequence) {
    store(SIMBOARD_DATA_FLASH, 0, {0x77});
    store(SIMBOARD_CODE_FLASH, 0, {0x66});
    send(dataFlashSelectPacket());
    EXPECT_EQ(readSpace(2, kWindow, 1), Bytes{0x77});
    // F0 in the middle of an unlock sequence, at an arbitrary offset.
    send(windowWrite(0x5555, 0xAA) + windowWrite(0x4321, 0xF0));
    EXPECT_EQ(readSpace(2, kWindow, 1), Bytes{0x66});
}
