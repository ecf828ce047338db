// The link after every fault the board can inject, with the adapter's
// latency timer at its usual 16 ms: late and split answers, failed writes,
// failed breaks and breakpoint sets, an early Stop. After each fault one
// message at most is shown, nothing hangs, and the link is in step again:
// the next PC read gives the board's PC, the next memory read the board's
// memory, and a Step stops on the right line.
#include "run_program.h"

#include "breakpoint_records.h"
#include "breakpoint_slot_ops.h"
#include "breakpoint_slots.h"
#include "breakpoint_toggle.h"
#include "debugger_init.h"
#include "flash_packets.h"
#include "host_memory.h"
#include "image_load.h"
#include "run_commands.h"
#include "run_until_stop.h"
#include "target_flags.h"
#include "target_messages.h"
#include "target_protocol.h"
#include "usb_link.h"

#include <algorithm>
#include <chrono>

namespace {

using Texts = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

// Longer than the two read time-outs a multi-byte read waits before it gives up.
constexpr unsigned kAfterTheReadGaveUpMs = 700;

class LinkRecoveryTest : public RunControlTest {
protected:
    void SetUp() override {
        RunControlTest::SetUp();
        Board().SetLatency(16);
        LoadProgramIntoBoard();
        ASSERT_EQ(CheckTargetImage(), 1);
        std::vector<uint8_t> pattern(0x80);
        for (size_t i = 0; i < pattern.size(); ++i)
            pattern[i] = uint8_t(0xA0 ^ i * 5);
        Board().WriteMemory(SIMBOARD_IRAM, 0, pattern.data(), 0x80);
        Board().SetPc(prog::kMainSecond);
        messages->shown.clear();
    }

    // The three proofs that host and adapter are in step, each on its own
    // command, with nothing to report.
    void ExpectLinkInStep() {
        messages->shown.clear();
        EXPECT_EQ(ReadPc(), Board().GetPc());
        std::vector<uint8_t> host(0x80), board(0x80);
        EXPECT_EQ(ReadMemory(0, host.data(), 0x80, kSpaceInternalData), 0x80);
        Board().ReadMemory(SIMBOARD_IRAM, 0, board.data(), 0x80);
        EXPECT_EQ(host, board);
        Board().SetPc(prog::kMain);
        ASSERT_EQ(OnDebugStep(), 1);
        const RunCompletion done = Finish();
        EXPECT_TRUE(done.stopped);
        EXPECT_EQ(done.pc, prog::kLcall); // main.c:11
        EXPECT_TRUE(Messages().empty());
        EXPECT_FALSE(g_pUsbLink->IsOutOfStep());
    }

    void StartEndlessRun() {
        Board().SetPc(prog::kEndless);
        ASSERT_EQ(OnDebugContinue(), 1);
        WaitUntilRunning();
    }
};

TEST_F(LinkRecoveryTest, ALateAnswerNeverBecomesTheAnswerToTheNextCommand) {
    // A PC exchange whose answer comes after the read gave up.
    Board().DelayNextAnswer(kAfterTheReadGaveUpMs);
    EXPECT_EQ(ReadPc(), 0);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    ExpectLinkInStep();

    // A memory read whose last bytes come late.
    Board().SplitNextAnswer(100, kAfterTheReadGaveUpMs);
    std::vector<uint8_t> buffer(0x80);
    EXPECT_EQ(ReadMemory(0, buffer.data(), 0x80, kSpaceInternalData), 0);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    ExpectLinkInStep();

    // A value write whose read-back comes late: the value is on the board all
    // the same.
    Board().DelayNextAnswer(kAfterTheReadGaveUpMs);
    EXPECT_EQ(WriteTargetValue(0x30, 0x1234, 2, kSpaceInternalData), 0);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    uint8_t value[2] = {};
    Board().ReadMemory(SIMBOARD_IRAM, 0x30, value, 2);
    EXPECT_EQ(value[0] << 8 | value[1], 0x1234);
    ExpectLinkInStep();
}

TEST_F(LinkRecoveryTest, ImageLoadWithALateHandshakeAnswerStillProgramsAndChecks) {
    // The first handshake answer comes after its byte read gave up (three
    // calls of one read time-out each): the rest of the handshake must not
    // take it, or the blank check would read a handshake byte.
    Board().DelayNextAnswer(1000);
    EXPECT_EQ(ImageLoad(0), 1);
    EXPECT_EQ(Messages(), Texts{kFlashWriteOkText});
    ExpectLinkInStep();

    // A flash packet that does not go out: the read-back finds it.
    Board().ZeroWrites(2);
    SendFlashPacket(ChipErasePacket());
    EXPECT_TRUE(g_pUsbLink->IsOutOfStep());
    ExpectLinkInStep();
}

TEST_F(LinkRecoveryTest, BoardResetAndInitDebuggerLetNoEarlierAnswerIntoTheirHandshake) {
    // An answer the host never read, still held by the latency timer.
    ASSERT_EQ(g_pUsbLink->WriteByte(adapter::kReadPc), 1);
    EXPECT_EQ(BoardReset(), 1);
    EXPECT_EQ(Messages(), Texts{kBoardResetOkText});
    ExpectLinkInStep();

    ASSERT_EQ(g_pUsbLink->WriteByte(adapter::kReadPc), 1);
    EXPECT_EQ(InitDebuggerAndBoardReset(), 1);
    EXPECT_EQ(Messages(), Texts{kInitDebuggerOkText});
    ExpectLinkInStep();

    // A late answer after a failed exchange, then Board Reset.
    Board().DelayNextAnswer(kAfterTheReadGaveUpMs);
    EXPECT_EQ(ReadPc(), 0);
    messages->shown.clear();
    EXPECT_EQ(BoardReset(), 1);
    EXPECT_EQ(Messages(), Texts{kBoardResetOkText});
    ExpectLinkInStep();
}

TEST_F(LinkRecoveryTest, AFailedBreakHaltsTheTargetBeforeTheTargetIsFreed) {
    StartEndlessRun();
    Board().ZeroWrites(3); // every try of the break byte
    ASSERT_EQ(OnDebugStop(), 1);
    RunCompletion done;
    ASSERT_TRUE(completions.Wait(done));
    // Halted before the user interface gets the target back.
    EXPECT_FALSE(Board().IsRunning());
    EXPECT_TRUE(g_bTargetBusy);
    JoinFinishedWorker();
    FinishRun(done);
    EXPECT_FALSE(done.stopped);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    EXPECT_FALSE(g_bTargetBusy);
    ExpectLinkInStep();
}

TEST_F(LinkRecoveryTest, AStopAnswerThatComesLateHaltsAndResynchronises) {
    SetStopAnswerTimeoutMs(100);
    StartEndlessRun();
    Board().DelayNextAnswer(400);
    ASSERT_EQ(OnDebugStop(), 1);
    const RunCompletion done = Finish();
    EXPECT_FALSE(done.stopped);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    EXPECT_FALSE(Board().IsRunning());
    EXPECT_FALSE(g_bTargetBusy);
    ExpectLinkInStep();
}

TEST_F(LinkRecoveryTest, TheBreakAnswerOfAStopRaceArrivesAfterTheStopPcAndIsDrained) {
    Board().ArmBreakRace();
    StartEndlessRun();
    ASSERT_EQ(OnDebugStop(), 1);
    const RunCompletion done = Finish();
    EXPECT_TRUE(done.stopped);
    EXPECT_EQ(done.pc, prog::kEndless);
    EXPECT_TRUE(Messages().empty());
    ExpectLinkInStep();
}

TEST_F(LinkRecoveryTest, ABreakpointWhoseSetFailedHoldsNoSlot) {
    Board().ZeroWrites(2);
    EXPECT_EQ(ToggleBreakPointAtLine("main.c", 20, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kRefused);
    EXPECT_EQ(Messages(), (Texts{kUsbErrorText, kBreakLimitText}));
    EXPECT_EQ(g_BreakAddr[0], kFreeBreakSlot);
    EXPECT_TRUE(g_BreakList.empty());
    ExpectLinkInStep();

    // The slot is there for the next breakpoint, which stops the target.
    ASSERT_EQ(ToggleBreakPointAtLine("main.c", 20, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    EXPECT_EQ(g_BreakAddr[0], prog::kFunc);
    Board().SetPc(prog::kMain);
    ASSERT_EQ(OnDebugContinue(), 1);
    EXPECT_EQ(Finish().pc, prog::kFunc);

    // An address held by two slots: clearing it frees both, here and on the adapter.
    ASSERT_EQ(SetBreakPoint(prog::kFunc), 1);
    ASSERT_EQ(SetHwBreakPoint(prog::kRet), 1);
    ASSERT_EQ(SetHwBreakPoint(prog::kRet), 1);
    EXPECT_EQ(ClearBreakPoint(prog::kFunc), 1);
    EXPECT_EQ(ClearHwBreakPoint(prog::kRet), 1);
    uint16_t address = 0;
    for (int slot : {0, 1, 16, 17}) {
        EXPECT_EQ(g_BreakAddr[slot], kFreeBreakSlot) << slot;
        EXPECT_EQ(Board().GetBreakpoint(uint32_t(slot), &address), 0) << slot;
    }
}

TEST_F(LinkRecoveryTest, StopPressedRightAfterTheCommandIsNotLost) {
    Board().SetPc(prog::kEndless);
    ASSERT_EQ(OnDebugContinue(), 1);
    ASSERT_EQ(OnDebugStop(), 1); // before the worker has done anything
    RunCompletion done = Finish();
    EXPECT_TRUE(done.stopped);
    EXPECT_EQ(done.pc, prog::kEndless);

    // Step on the endless loop's line: one instruction, then the stop.
    Board().SetPc(prog::kEndless);
    ASSERT_EQ(OnDebugStep(), 1);
    ASSERT_EQ(OnDebugStop(), 1);
    done = Finish();
    EXPECT_TRUE(done.stopped);
    EXPECT_EQ(done.pc, prog::kEndless);
    EXPECT_TRUE(Messages().empty());
    ExpectLinkInStep();
}

TEST_F(LinkRecoveryTest, RunToAnAddressWithoutAFreeInternalSlotDoesNotRun) {
    g_BreakAddr[16] = prog::kFunc;
    g_BreakAddr[17] = prog::kRet;
    Board().SetPc(prog::kMain);
    ClearTrace();
    ASSERT_EQ(OnDebugRunToCursorLine("main.c", 14), 1);
    const RunCompletion done = Finish();
    EXPECT_FALSE(done.stopped);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    EXPECT_EQ(std::count(runSent.begin(), runSent.end(), adapter::kRun), 0);
    EXPECT_EQ(Board().GetPc(), prog::kMain);
    EXPECT_FALSE(Board().IsRunning());
}

TEST_F(LinkRecoveryTest, AFailedRefreshShowsOneMessageAndWaitsForNoMoreReads) {
    // The register pane reads the PC during the refresh, as the real one does.
    struct PcReadingPanes : RecordingPanes {
        void UpdateRegisterWnd() override {
            RecordingPanes::UpdateRegisterWnd();
            ReadPc();
        }
    } readingPanes;
    SetDebuggerPanes(&readingPanes);
    g_dwXdataLow = 0x0100;
    g_dwXdataHigh = 0x01FF;

    Board().DelayNextAnswer(kAfterTheReadGaveUpMs);
    const auto start = Clock::now();
    UpdateDebugWindows();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    EXPECT_EQ(readingPanes.calls.size(), 6u); // every pane is still rewritten
    SetDebuggerPanes(&panes);
    ExpectLinkInStep();
}

// --- Meanings the command table leaves open -----------------------------------

class OpenMeaningTest : public LinkRecoveryTest, public ::testing::WithParamInterface<uint32_t> {
protected:
    void SetUp() override {
        LinkRecoveryTest::SetUp();
        Board().SetAlternativeMeanings(GetParam());
    }
};

TEST_P(OpenMeaningTest, ContinueAndNextLeaveABreakpointTheyStartOn) {
    // INC A / DJNZ R0 loop at main.c:13, five passes (R0 = 5).
    ASSERT_EQ(ToggleBreakPointAtLine("main.c", 13, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    Board().SetPc(prog::kMain);
    ASSERT_EQ(OnDebugContinue(), 1);
    EXPECT_EQ(Finish().pc, prog::kLoop);
    for (int pass = 1; pass < 5; ++pass) {
        ASSERT_EQ(OnDebugContinue(), 1);
        EXPECT_EQ(Finish().pc, prog::kLoop);
    }
    // Each stop after the first one passed the loop once more.
    uint8_t accumulator = 0, r0 = 0;
    Board().ReadMemory(SIMBOARD_SFR, 0xE0, &accumulator, 1);
    Board().ReadMemory(SIMBOARD_IRAM, 0x00, &r0, 1);
    EXPECT_EQ(accumulator, 4);
    EXPECT_EQ(r0, 1);
    EXPECT_TRUE(Messages().empty());
}

TEST_P(OpenMeaningTest, NextOverACallThatHoldsABreakpointRunsOverIt) {
    ASSERT_EQ(ToggleBreakPointAtLine("main.c", 11, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    Board().SetPc(prog::kLcall);
    ASSERT_EQ(OnDebugNext(), 1);
    const RunCompletion done = Finish();
    EXPECT_EQ(done.pc, prog::kAcall);
    EXPECT_EQ(g_BreakAddr[16], kFreeBreakSlot);
    uint8_t counter = 0;
    Board().ReadMemory(SIMBOARD_IRAM, 0x30, &counter, 1);
    EXPECT_EQ(counter, uint8_t(0xA0 ^ 0x30 * 5) + 1); // the routine ran once
    EXPECT_TRUE(Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(BothReadings, OpenMeaningTest,
                         ::testing::Values(0u,
                                           uint32_t(SIMBOARD_ALT_RUN_STOPS_AT_START_BREAKPOINT)));

} // namespace
