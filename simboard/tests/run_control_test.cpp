// Handshake, run, break, step and the breakpoint slots.
#include "board_test.h"

#include <chrono>
#include <thread>

namespace {

// 0000: MOV A,#0   0002: INC A   0003: MOV 30h,A   0005: SJMP 0002
const Bytes kCounter = {0x74, 0x00, 0x04, 0xF5, 0x30, 0x80, 0xFB};
// 0000: INC 30h    0002: SJMP 0002
const Bytes kIncThenLoop = {0x05, 0x30, 0x80, 0xFE};

class SimBoardRunControl : public BoardTest {
protected:
    uint8_t iram(uint8_t address) { return fetch(SIMBOARD_IRAM, address, 1)[0]; }
    void setSlot(uint8_t slot, uint16_t address) {
        send({0x64, slot, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)});
    }
    bool slotUsed(uint32_t slot) {
        uint16_t address = 0;
        return lib.GetBreakpoint(slot, &address) == 1;
    }
};

} // namespace

TEST_F(SimBoardRunControl, HandshakeBytesAnswerThemselves) {
    send({0x13, 0x1C, 0x00, 0x02, 0x17, 0x66});
    EXPECT_EQ(receive(16), (Bytes{0x13, 0x1C, 0x00, 0x02, 0x17}));
}

TEST_F(SimBoardRunControl, ResetCommandResetsTheCpuButKeepsMemories) {
    store(SIMBOARD_CODE_FLASH, 0x0100, {0x12});
    store(SIMBOARD_IRAM, 0x40, {0x34});
    store(SIMBOARD_XDATA, 0x0100, {0x56});
    store(SIMBOARD_DATA_FLASH, 0x10, {0x78});
    store(SIMBOARD_SFR, 0xE0, {0x9A}); // ACC
    store(SIMBOARD_SFR, 0x81, {0x50}); // SP
    lib.SetPc(0x0123);
    send({0x17});
    EXPECT_EQ(receive(1), Bytes{0x17});
    EXPECT_EQ(lib.GetPc(), 0x0000);
    EXPECT_EQ(sfr(0xE0), 0x00);
    EXPECT_EQ(sfr(0x81), 0x07);
    EXPECT_EQ(sfr(0x90), 0xFF); // P1
    EXPECT_EQ(fetch(SIMBOARD_CODE_FLASH, 0x0100, 1), Bytes{0x12});
    EXPECT_EQ(iram(0x40), 0x34);
    EXPECT_EQ(fetch(SIMBOARD_XDATA, 0x0100, 1), Bytes{0x56});
    EXPECT_EQ(fetch(SIMBOARD_DATA_FLASH, 0x10, 1), Bytes{0x78});
}

TEST_F(SimBoardRunControl, BreakpointSlotsAreSetClearedAndClearedAll) {
    for (uint8_t slot = 0; slot < 18; ++slot)
        setSlot(slot, static_cast<uint16_t>(0x100 + slot));
    setSlot(18, 0x0200); // no such slot: ignored
    uint16_t address = 0;
    ASSERT_EQ(lib.GetBreakpoint(17, &address), 1);
    EXPECT_EQ(address, 0x0111);
    send({0x65, 3});
    EXPECT_FALSE(slotUsed(3));
    EXPECT_TRUE(slotUsed(4));
    send({0x66});
    for (uint32_t slot = 0; slot < 18; ++slot)
        EXPECT_FALSE(slotUsed(slot)) << slot;
    EXPECT_EQ(queued(), 0u); // none of these answers
}

TEST_F(SimBoardRunControl, RunStopsBeforeTheBreakpointInstructionAndAnswersOnce) {
    store(SIMBOARD_CODE_FLASH, 0, kCounter);
    setSlot(0, 0x0005);
    send({0x67});
    EXPECT_EQ(pollUntilQueued(2), 2u);
    EXPECT_EQ(receivePc(), 0x0005);
    EXPECT_EQ(iram(0x30), 1);
    EXPECT_EQ(lib.IsRunning(), 0);
    EXPECT_EQ(queued(), 0u);

    // Running again from the breakpoint executes it and stops there next time.
    send({0x67});
    EXPECT_EQ(receivePc(), 0x0005); // FT_Read runs the CPU until the answer is there
    EXPECT_EQ(iram(0x30), 2);
}

TEST_F(SimBoardRunControl, FreedSlotNoLongerStopsTheTarget) {
    store(SIMBOARD_CODE_FLASH, 0, kCounter);
    setSlot(5, 0x0003);
    setSlot(6, 0x0005);
    send({0x65, 5, 0x67});
    EXPECT_EQ(receivePc(), 0x0005);
}

TEST_F(SimBoardRunControl, BreakStopsAnEndlessLoop) {
    store(SIMBOARD_CODE_FLASH, 0, kIncThenLoop);
    send({0x67});
    EXPECT_EQ(queued(), 0u);
    EXPECT_EQ(queued(), 0u);
    EXPECT_EQ(lib.IsRunning(), 1);
    send({0x13});
    EXPECT_EQ(receivePc(), 0x0002);
    EXPECT_EQ(lib.IsRunning(), 0);
    EXPECT_EQ(iram(0x30), 1);
    EXPECT_EQ(queued(), 0u); // the break has no answer of its own
}

TEST_F(SimBoardRunControl, BreakRightAfterRunStillExecutesTheStartInstruction) {
    store(SIMBOARD_CODE_FLASH, 0, kIncThenLoop);
    send({0x67, 0x13});
    EXPECT_EQ(receive(4), (Bytes{0x02, 0x00}));
    EXPECT_EQ(iram(0x30), 1);
}

TEST_F(SimBoardRunControl, OnlyTheBreakIsHeardWhileRunning) {
    store(SIMBOARD_CODE_FLASH, 0, kIncThenLoop);
    send({0x67, 0x59, 0x5C, 0x01, 0x17, 0x5A});
    EXPECT_EQ(queued(), 0u);
    send({0x13, 0x59});
    EXPECT_EQ(receive(8), (Bytes{0x02, 0x00, 0x02, 0x00}));
}

TEST_F(SimBoardRunControl, StepExecutesOneInstructionWhateverTheBreakpoints) {
    store(SIMBOARD_CODE_FLASH, 0, kCounter);
    setSlot(0, 0x0002);
    setSlot(1, 0x0003);
    send({0x5E});
    EXPECT_EQ(receivePc(), 0x0002);
    send({0x5E, 0x5E});
    EXPECT_EQ(receive(4), (Bytes{0x03, 0x00, 0x05, 0x00}));
    EXPECT_EQ(iram(0x30), 1);
    EXPECT_EQ(lib.IsRunning(), 0);
}

TEST_F(SimBoardRunControl, BreakFromAnotherThreadEndsAWaitingRead) {
    store(SIMBOARD_CODE_FLASH, 0, kIncThenLoop);
    ASSERT_EQ(lib.FT_SetTimeouts(handle, 10000, 10000), FT_OK);
    send({0x67});
    auto start = std::chrono::steady_clock::now();
    std::thread breaker([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        uint8_t breakByte = 0x13;
        DWORD written = 0;
        lib.FT_Write(handle, &breakByte, 1, &written);
    });
    Bytes pc = receive(2);
    breaker.join();
    EXPECT_EQ(pc, (Bytes{0x02, 0x00}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(SimBoardRunControl, EachOpenMeaningHasItsOtherReading) {
    store(SIMBOARD_CODE_FLASH, 0, kCounter);
    lib.SetAlternativeMeanings(SIMBOARD_ALT_RUN_STOPS_AT_START_BREAKPOINT |
                               SIMBOARD_ALT_VALUE_WRITE_IN_WIRE_ORDER |
                               SIMBOARD_ALT_HANDSHAKE_END_KEEPS_SLOTS);
    // A run from a breakpoint stops where it started, before the instruction.
    setSlot(0, 0x0005);
    send({0x67});
    EXPECT_EQ(receivePc(), 0x0005);
    send({0x67});
    EXPECT_EQ(receivePc(), 0x0005);
    EXPECT_EQ(iram(0x30), 1);
    // Values land in wire order.
    send(selectSpace(1) + setAddress(0x40) + Bytes{0x56, 0x34, 0x12});
    EXPECT_EQ(fetch(SIMBOARD_IRAM, 0x40, 2), (Bytes{0x34, 0x12}));
    // The handshake's end keeps the slots.
    send({0x66});
    EXPECT_TRUE(slotUsed(0));
    // A board reset brings the usual readings back.
    lib.ResetBoard();
    EXPECT_FALSE(slotUsed(0));
    char description[] = "USB <-> Serial";
    ASSERT_EQ(lib.FT_OpenEx(description, FT_OPEN_BY_DESCRIPTION, &handle), FT_OK);
    send(selectSpace(1) + setAddress(0x40) + Bytes{0x56, 0x34, 0x12});
    EXPECT_EQ(fetch(SIMBOARD_IRAM, 0x40, 2), (Bytes{0x12, 0x34}));
}
