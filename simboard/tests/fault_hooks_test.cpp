// The wire trace, the injected faults and the direct-access hooks.
#include "board_test.h"

#include <cstdio>
#include <string>

namespace {

const Bytes kEndlessLoop = {0x80, 0xFE}; // 0000: SJMP 0000

class SimBoardHooks : public BoardTest {
protected:
    std::vector<SimBoardWireByte> trace() {
        std::vector<SimBoardWireByte> out(lib.TraceLength());
        out.resize(lib.ReadTrace(0, out.data(), static_cast<uint32_t>(out.size())));
        return out;
    }
    // Directions and values of the trace as text, e.g. "> 59 < 34 < 12".
    std::string traceText() {
        std::string text;
        for (const SimBoardWireByte& b : trace()) {
            char item[8];
            std::snprintf(item, sizeof item, "%s%c %02X", text.empty() ? "" : " ",
                          b.direction == SIMBOARD_TO_BOARD ? '>' : '<', b.value);
            text += item;
        }
        return text;
    }
    void reopen() {
        char description[] = "USB <-> Serial";
        ASSERT_EQ(lib.FT_OpenEx(description, FT_OPEN_BY_DESCRIPTION, &handle), FT_OK);
    }
    DWORD writeCount(const Bytes& bytes) {
        DWORD written = 99;
        EXPECT_EQ(lib.FT_Write(handle, const_cast<uint8_t*>(bytes.data()),
                               static_cast<DWORD>(bytes.size()), &written),
                  FT_OK);
        return written;
    }
};

} // namespace

TEST_F(SimBoardHooks, TraceRecordsBytesInTheOrderTheHostSawThem) {
    lib.SetPc(0x1234);
    send({0x59}); // not traced: the trace is off
    receive(2);
    lib.EnableTrace(1);
    send({0x59, 0x13});
    receive(1);
    send({0x1C});
    receive(8);
    EXPECT_EQ(traceText(), "> 59 > 13 < 34 > 1C < 12 < 13 < 1C");
    SimBoardWireByte tail[8];
    EXPECT_EQ(lib.ReadTrace(5, tail, 8), 2u);
    EXPECT_EQ(tail[1].value, 0x1C);

    lib.ClearTrace();
    EXPECT_EQ(lib.TraceLength(), 0u);
    lib.EnableTrace(0);
    send({0x59});
    receive(2);
    EXPECT_EQ(lib.TraceLength(), 0u);
}

TEST_F(SimBoardHooks, FailNextOpenFailsOneOpen) {
    ASSERT_EQ(lib.FT_Close(handle), FT_OK);
    lib.FailNextOpen();
    char description[] = "USB <-> Serial";
    EXPECT_EQ(lib.FT_OpenEx(description, FT_OPEN_BY_DESCRIPTION, &handle), FT_DEVICE_NOT_OPENED);
    reopen();
}

TEST_F(SimBoardHooks, ZeroWritesMoveNothingThenWritesWorkAgain) {
    lib.SetPc(0x0042);
    lib.ZeroWrites(2);
    EXPECT_EQ(writeCount({0x59}), 0u);
    EXPECT_EQ(writeCount({0x59, 0x59}), 0u);
    EXPECT_EQ(queued(), 0u); // nothing reached the firmware
    EXPECT_EQ(writeCount({0x59}), 1u);
    EXPECT_EQ(receivePc(), 0x0042);
}

TEST_F(SimBoardHooks, ZeroReadsLeaveTheAnswerQueued) {
    send({0x1C, 0x00});
    lib.ZeroReads(2);
    EXPECT_EQ(receive(2).size(), 0u);
    EXPECT_EQ(receive(2).size(), 0u);
    EXPECT_EQ(receive(2), (Bytes{0x1C, 0x00}));
}

TEST_F(SimBoardHooks, DroppedAnswerBytesNeverArrive) {
    lib.SetPc(0x1234);
    lib.DropAnswerBytes(3);
    send({0x59, 0x1C, 0x02, 0x00});
    EXPECT_EQ(receive(8), (Bytes{0x02, 0x00}));
}

TEST_F(SimBoardHooks, ALateAnswerComesAfterTheTimeOutAndHoldsUpLaterOnes) {
    ASSERT_EQ(lib.FT_SetTimeouts(handle, 40, 40), FT_OK);
    lib.SetPc(0x1234);
    lib.DelayNextAnswer(150);
    send({0x59, 0x1C});
    EXPECT_EQ(receive(3).size(), 0u);
    ASSERT_EQ(lib.FT_Purge(handle, FT_PURGE_RX), FT_OK); // too early to reach it
    EXPECT_EQ(queued(), 0u);
    ASSERT_EQ(lib.FT_SetTimeouts(handle, 300, 300), FT_OK);
    EXPECT_EQ(receive(3), (Bytes{0x34, 0x12, 0x1C}));

    // Split: the first byte as usual, the second after the pause.
    lib.SplitNextAnswer(1, 150);
    ASSERT_EQ(lib.FT_SetTimeouts(handle, 40, 40), FT_OK);
    send({0x59});
    EXPECT_EQ(receive(2), Bytes{0x34});
    ASSERT_EQ(lib.FT_SetTimeouts(handle, 300, 300), FT_OK);
    EXPECT_EQ(receive(2), Bytes{0x12});
}

TEST_F(SimBoardHooks, AStrayByteTravelsBehindHeldAnswersAndWaitsForTheLatency) {
    lib.SetLatency(30);
    lib.SetPc(0x1234);
    lib.EnableTrace(1);
    send({0x59});
    lib.StrayByte(0xA5);
    EXPECT_EQ(queued(), 0u);
    EXPECT_EQ(receive(3), (Bytes{0x34, 0x12, 0xA5}));
    EXPECT_EQ(traceText(), "> 59 < 34 < 12 < A5");
    lib.SetLatency(0);
    lib.StrayByte(0x00);
    EXPECT_EQ(queued(), 1u);
}

TEST_F(SimBoardHooks, ACutWriteHandsTheFirmwareOnlyTheBytesBeforeTheCut) {
    store(SIMBOARD_IRAM, 0x20, {0x11, 0x22});
    lib.CutWrite(4, FT_OK);
    send(selectSpace(1));
    EXPECT_EQ(writeCount(setAddress(0x20)), 2u);
    EXPECT_EQ(writeCount({0x00, 0x20}), 0u); // the call after the cut takes nothing
    EXPECT_EQ(writeCount({0x00, 0x20, 0x51}), 3u);
    EXPECT_EQ(receive(2), Bytes{0x11});

    // A failed call reports nothing, though the bytes before the cut arrived.
    lib.CutWrite(1, FT_IO_ERROR);
    Bytes write = {0x55, 0x77};
    DWORD written = 99;
    EXPECT_EQ(lib.FT_Write(handle, write.data(), 2, &written), FT_IO_ERROR);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(writeCount({0x99}), 1u); // completes the write the firmware holds
    EXPECT_EQ(fetch(SIMBOARD_IRAM, 0x20, 2), (Bytes{0x11, 0x99}));
}

TEST_F(SimBoardHooks, UnerasedByteSurvivesOneChipErase) {
    store(SIMBOARD_CODE_FLASH, 0x0100, {0x12});
    lib.LeaveUnerased(0x0100);
    send(chipErasePacket());
    EXPECT_EQ(readSpace(2, 0xFF00FF, 3), (Bytes{0xFF, 0x12, 0xFF}));
    send(chipErasePacket());
    EXPECT_EQ(readSpace(4, 0x0100, 1), Bytes{0xFF});

    // A byte that was already blank shows up as not erased too.
    lib.LeaveUnerased(0x0200);
    send(chipErasePacket());
    EXPECT_EQ(readSpace(4, 0x0200, 1), Bytes{0x00});
}

TEST_F(SimBoardHooks, CorruptedProgramStoresAnotherValueOnce) {
    lib.CorruptNextProgram(0x0031);
    send(chipErasePacket() + programPacket(0x0030, {0x02, 0x12, 0x34}));
    EXPECT_EQ(readSpace(4, 0x0030, 3), (Bytes{0x02, 0xED, 0x34}));
    send(chipErasePacket() + programPacket(0x0030, {0x02, 0x12, 0x34}));
    EXPECT_EQ(readSpace(4, 0x0030, 3), (Bytes{0x02, 0x12, 0x34}));
}

TEST_F(SimBoardHooks, BreakRaceAnswersTheStopPcAndTheHaltedBreak) {
    store(SIMBOARD_CODE_FLASH, 0, kEndlessLoop);
    lib.ArmBreakRace();
    send({0x67});
    EXPECT_EQ(queued(), 0u);
    send({0x13});
    EXPECT_EQ(receive(8), (Bytes{0x00, 0x00, 0x13}));
    EXPECT_EQ(lib.IsRunning(), 0);
    send({0x67, 0x13}); // the race happens once
    EXPECT_EQ(receive(8), (Bytes{0x00, 0x00}));
}

TEST_F(SimBoardHooks, ClearFaultsDisarmsEveryFault) {
    store(SIMBOARD_CODE_FLASH, 0x0100, {0x12});
    lib.FailNextOpen();
    lib.ZeroWrites(1);
    lib.ZeroReads(1);
    lib.DropAnswerBytes(1);
    lib.LeaveUnerased(0x0100);
    lib.CorruptNextProgram(0x0030);
    lib.ArmBreakRace();
    lib.CutWrite(0, FT_OK);
    lib.ClearFaults();
    send(chipErasePacket() + programPacket(0x0030, {0x5A}));
    store(SIMBOARD_CODE_FLASH, 0, kEndlessLoop);
    send({0x67, 0x13});
    EXPECT_EQ(receive(8), (Bytes{0x00, 0x00}));
    EXPECT_EQ(fetch(SIMBOARD_CODE_FLASH, 0x0030, 1), Bytes{0x5A});
    EXPECT_EQ(fetch(SIMBOARD_CODE_FLASH, 0x0100, 1), Bytes{0xFF});
    ASSERT_EQ(lib.FT_Close(handle), FT_OK);
    reopen();
}

TEST_F(SimBoardHooks, DirectAccessStopsAtTheEndOfEachMemory) {
    const uint8_t four[4] = {1, 2, 3, 4};
    uint8_t out[4] = {};
    EXPECT_EQ(lib.WriteMemory(SIMBOARD_IRAM, 0x7E, four, 4), 2u);
    EXPECT_EQ(lib.WriteMemory(SIMBOARD_IRAM, 0x80, four, 4), 0u);
    EXPECT_EQ(lib.WriteMemory(SIMBOARD_SFR, 0x7F, four, 4), 0u);
    EXPECT_EQ(lib.WriteMemory(SIMBOARD_SFR, 0xFE, four, 4), 2u);
    EXPECT_EQ(lib.WriteMemory(SIMBOARD_DATA_FLASH, 0xFF, four, 4), 1u);
    EXPECT_EQ(lib.WriteMemory(SIMBOARD_XDATA, 0xFFFD, four, 4), 3u);
    EXPECT_EQ(lib.WriteMemory(SIMBOARD_CODE_FLASH, 0x10000, four, 4), 0u);
    EXPECT_EQ(lib.WriteMemory(99, 0, four, 4), 0u);
    EXPECT_EQ(lib.ReadMemory(SIMBOARD_SFR, 0xFE, out, 4), 2u);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[1], 2);
    EXPECT_EQ(readSpace(1, 0x7E, 2), (Bytes{1, 2}));
    EXPECT_EQ(readSpace(2, 0xFFFD, 3), (Bytes{1, 2, 3}));
}

TEST_F(SimBoardHooks, RunningStateCanBeSetDirectly) {
    store(SIMBOARD_CODE_FLASH, 0, {0x00, 0x00, 0x80, 0xFE}); // NOP; NOP; SJMP $
    ASSERT_EQ(lib.SetBreakpoint(2, 1, 0x0002), 0);
    EXPECT_EQ(lib.SetBreakpoint(18, 1, 0x0002), -1);
    lib.SetRunning(1);
    EXPECT_EQ(receivePc(), 0x0002);
    EXPECT_EQ(lib.SetBreakpoint(2, 0, 0), 0);
    lib.SetRunning(1);
    EXPECT_EQ(queued(), 0u);
    lib.SetRunning(0);
    EXPECT_EQ(lib.IsRunning(), 0);
    EXPECT_EQ(queued(), 0u); // a silent halt
    EXPECT_EQ(lib.GetPc(), 0x0002);
}
