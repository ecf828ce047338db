// The link after every fault the board can inject, with the adapter's
// latency timer at its usual 16 ms: late and split answers, failed and cut
// writes, stray received bytes, failed breaks and breakpoint sets, an early
// Stop. After each fault one
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
#include "flash_pane_operations.h"
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
#include <functional>
#include <thread>

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
        ExpectSlotsAsOnTheBoard();
    }

    // The host's breakpoint slot table holds what the board's slots hold.
    static void ExpectSlotsAsOnTheBoard() {
        for (int slot = 0; slot < kBreakSlotCount; ++slot) {
            uint16_t address = 0;
            const bool used = Board().GetBreakpoint(uint32_t(slot), &address) == 1;
            EXPECT_EQ(g_BreakAddr[slot], used ? int32_t(address) : kFreeBreakSlot) << slot;
        }
    }

    // Continue from main.c:10 with no breakpoint on the way runs through
    // main.c:20 into the endless loop, where Stop ends it.
    void ExpectContinuePassesTheRoutine() {
        Board().SetPc(prog::kMain);
        ASSERT_EQ(OnDebugContinue(), 1);
        const auto deadline = Clock::now() + std::chrono::seconds(2);
        while (Board().GetPc() != prog::kEndless && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_EQ(OnDebugStop(), 1);
        EXPECT_EQ(Finish().pc, prog::kEndless);
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

// --- Bytes no command asked for, commands the adapter got in part -------------

TEST_F(LinkRecoveryTest, AStrayByteFailsOneCommandOnceAndTheNextOnesAreInStep) {
    // Waiting before the command would go out: it does not go out.
    Board().StrayByte(0x34);
    std::this_thread::sleep_for(std::chrono::milliseconds(40)); // past the latency timer
    EXPECT_EQ(StepInstruction(), 0);
    EXPECT_EQ(Board().GetPc(), prog::kMainSecond);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    ExpectLinkInStep();

    // Still held by the latency timer when the command goes out: the answer
    // behind it is shifted, and its last byte is left waiting.
    Board().StrayByte(0x34);
    std::vector<uint8_t> buffer(0x80);
    EXPECT_EQ(ReadMemory(0, buffer.data(), 0x80, kSpaceInternalData), 0);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    ExpectLinkInStep();
}

TEST_F(LinkRecoveryTest, AStrayByteEndsAStepOrARunWithOneMessage) {
    // Between two instructions of a Step.
    Board().SetPc(prog::kMain);
    onLineLookup = [](uint32_t address) {
        if (address == prog::kMainSecond) Board().StrayByte(0x00);
    };
    ASSERT_EQ(OnDebugStep(), 1);
    EXPECT_FALSE(Finish().stopped);
    onLineLookup = nullptr;
    // Before the stop PC of a run that stops on its own.
    StartEndlessRun();
    Board().StrayByte(0x00);
    Board().SetBreakpoint(0, 1, prog::kEndless);
    const RunCompletion refused = Finish();
    EXPECT_TRUE(refused.stopped); // at the PC read again
    EXPECT_EQ(refused.pc, prog::kEndless);
    EXPECT_EQ(Messages(), (Texts{kUsbErrorText, kUsbErrorText}));
    EXPECT_FALSE(Board().IsRunning());

    // Stop pressed while the first half of such a stop PC waits: that byte
    // was asked for, and the break goes out all the same.
    Board().SetBreakpoint(0, 0, 0);
    StartEndlessRun();
    Board().SplitNextAnswer(1, 300);
    Board().SetBreakpoint(0, 1, prog::kEndless);
    while (Board().IsRunning())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(60)); // the first byte is in
    ASSERT_EQ(OnDebugStop(), 1);
    EXPECT_EQ(Finish().pc, prog::kEndless);
    Board().SetBreakpoint(0, 0, 0);
    ExpectLinkInStep();
}

// The bytes of WriteTargetValue(0x40, 0x11223344, 4, internal data):
// 5C 01 5B, then 00 00 40, then 57 44 33 22 11. A cut in a one-byte write is
// outlasted by its retries; one in the address or the value is not.
constexpr uint32_t kValueCommandAt = 6;

TEST_F(LinkRecoveryTest, AWriteCutOffAnywhereLeavesNoTailToBeRunAsCommands) {
    for (uint32_t cut = 3; cut < 11; ++cut) {
        std::vector<uint8_t> buffer(0x100);
        ASSERT_EQ(ReadMemory(0, buffer.data(), 0x100, kSpaceExternalData), 0x100);
        const std::vector<uint8_t> internal = BoardInternalBytes();
        const std::vector<uint8_t> external = BoardExternalBytes();
        Board().CutWrite(cut, FT_OK);
        EXPECT_EQ(WriteTargetValue(0x40, 0x11223344, 4, kSpaceInternalData), 0) << cut;
        EXPECT_EQ(ReadPc(), Board().GetPc()) << cut;
        // A value command the adapter had begun got the rest of its own bytes.
        std::vector<uint8_t> expected = internal;
        for (uint32_t i = 0; i < 4 && cut > kValueCommandAt; ++i)
            expected[0x40 + i] = uint8_t(0x11223344 >> (24 - 8 * i));
        EXPECT_EQ(BoardInternalBytes(), expected) << cut;
        EXPECT_EQ(BoardExternalBytes(), external) << cut;
        EXPECT_EQ(Messages(), Texts{kUsbErrorText}) << cut;
        messages->shown.clear();
    }
    ExpectLinkInStep();
}

// FT_Write stand-ins: a stray byte comes in after the set-PC byte; the
// set-address byte never goes out.
FT_WriteFn g_boardWrite = nullptr;
FT_STATUS StrayAfterSetPc(FT_HANDLE handle, LPVOID buffer, DWORD count, LPDWORD written) {
    const FT_STATUS status = g_boardWrite(handle, buffer, count, written);
    if (count == 1 && *static_cast<uint8_t*>(buffer) == adapter::kSetPc) Board().StrayByte(0);
    return status;
}
FT_STATUS AllButSetAddress(FT_HANDLE handle, LPVOID buffer, DWORD count, LPDWORD written) {
    *written = 0;
    if (count == 1 && *static_cast<uint8_t*>(buffer) == adapter::kSetAddress) return FT_OK;
    return g_boardWrite(handle, buffer, count, written);
}
struct WriteStandIn {
    explicit WriteStandIn(FT_WriteFn standIn) : board(g_pUsbLink->pfnWrite) {
        g_boardWrite = board;
        g_pUsbLink->pfnWrite = standIn;
    }
    ~WriteStandIn() { g_pUsbLink->pfnWrite = board; }
    FT_WriteFn board;
};

TEST_F(LinkRecoveryTest, AnOperationEndsAtItsFirstFailedTransfer) {
    // The set-PC byte is lost: its operands would be taken as commands (0x67 runs).
    Board().ZeroWrites(3);
    EXPECT_EQ(SetPc(0x6712), 0);
    EXPECT_FALSE(Board().IsRunning());
    EXPECT_EQ(Board().GetPc(), prog::kMainSecond);
    // The set-address byte is lost: the address bytes would be commands (0x5E steps).
    std::vector<uint8_t> buffer(0x100);
    {
        WriteStandIn lost(AllButSetAddress);
        EXPECT_EQ(ReadMemory(0x5E00, buffer.data(), 0x100, kSpaceExternalData), 0);
    }
    EXPECT_EQ(Board().GetPc(), prog::kMainSecond);
    // The space byte is lost: the value would go to the space selected before.
    ASSERT_EQ(ReadMemory(0, buffer.data(), 0x100, kSpaceExternalData), 0x100);
    const std::vector<uint8_t> external = BoardExternalBytes();
    Board().ZeroWrites(3);
    EXPECT_EQ(WriteTargetValue(0x40, 0x1234, 2, kSpaceInternalData), 0);
    EXPECT_EQ(BoardExternalBytes(), external);
    // Operands refused for a stray byte: the next command first completes theirs.
    Board().SetLatency(0);
    {
        WriteStandIn stray(StrayAfterSetPc);
        EXPECT_EQ(SetPc(0x0123), 0);
    }
    EXPECT_EQ(ReadPc(), 0x0123);
    // The stack pointer's command is lost: its answer is not waited for.
    Board().ZeroWrites(2);
    StartTransferLog();
    uint8_t sp = 0;
    EXPECT_FALSE(ReadSpQuietly(sp));
    EXPECT_EQ(Transfers().readCalls, 0u);
    EXPECT_EQ(Messages(), Texts(4, kUsbErrorText));
    ExpectLinkInStep();
}

TEST_F(LinkRecoveryTest, AWriteFailedWithAnErrorStatusRefusesEveryCommandUntilInitDebugger) {
    // Somewhere in the value write, and the host cannot know where; then a
    // lone command byte, which the adapter may have taken and acted on.
    const std::function<void()> failedWrites[] = {
        [] { EXPECT_EQ(WriteTargetValue(0x40, 0x11223344, 4, kSpaceInternalData), 0); },
        [] { EXPECT_EQ(StepInstruction(), 0); },
    };
    const uint32_t cutAt[] = {kValueCommandAt + 2, 0};
    for (int i = 0; i < 2; ++i) {
        Board().CutWrite(cutAt[i], FT_IO_ERROR);
        failedWrites[i]();
        ClearTrace();
        EXPECT_EQ(ReadPc(), 0);
        EXPECT_EQ(BoardReset(), 0);
        ASSERT_EQ(OnDebugStep(), 1);
        EXPECT_FALSE(Finish().stopped);
        EXPECT_TRUE(Sent().empty());
        EXPECT_EQ(Messages(), Texts{kCommandCutText});

        EXPECT_EQ(InitDebuggerAndBoardReset(), 1);
        EXPECT_EQ(Messages(), (Texts{kCommandCutText, kInitDebuggerOkText}));
        ExpectLinkInStep();
    }
}

TEST_F(LinkRecoveryTest, AStopAnswerWithAStrayByteIsRefusedAndThePcReadAgain) {
    // Stray bytes while the target runs, then Stop: they come before the stop
    // PC, or together with it, and cannot be told from its bytes; the run
    // ends with one message at the board's PC.
    for (uint32_t latency : {0u, 16u}) {
        Board().SetLatency(latency);
        for (int strays : {1, 1, 2, 2}) {
            StartEndlessRun();
            for (int i = 0; i < strays; ++i)
                Board().StrayByte(0x5A);
            ASSERT_EQ(OnDebugStop(), 1);
            const RunCompletion done = Finish();
            EXPECT_TRUE(done.stopped) << latency;
            EXPECT_EQ(done.pc, prog::kEndless) << latency;
            EXPECT_EQ(Messages(), Texts{kUsbErrorText}) << latency;
            messages->shown.clear();
        }
    }
    // Two stray bytes while the target runs, with no breakpoint to stop it:
    // no stop answer; the target is halted where it is.
    StartEndlessRun();
    Board().StrayByte(0x40);
    Board().StrayByte(0x00);
    const RunCompletion done = Finish();
    EXPECT_FALSE(Board().IsRunning());
    EXPECT_TRUE(done.stopped);
    EXPECT_EQ(done.pc, prog::kEndless);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    ExpectLinkInStep();
}

TEST_F(LinkRecoveryTest, AFailedSlotCommandLeavesNoSlotOnTheAdapterThatTheHostDoesNotHold) {
    // A user breakpoint whose set is cut off after its slot byte: the link
    // completes the command on the adapter, and the slot is cleared there.
    Board().CutWrite(2, FT_OK);
    EXPECT_EQ(ToggleBreakPointAtLine("main.c", 20, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kRefused);
    EXPECT_EQ(Messages(), (Texts{kUsbErrorText, kBreakLimitText}));
    ExpectSlotsAsOnTheBoard();
    ExpectContinuePassesTheRoutine();

    // Next's internal breakpoint, cut off the same way after the PC read.
    Board().SetPc(prog::kLcall);
    Board().CutWrite(1 + 2, FT_OK);
    ASSERT_EQ(OnDebugNext(), 1);
    EXPECT_FALSE(Finish().stopped);
    ExpectSlotsAsOnTheBoard();

    // A clear that does not go out is sent again; when that fails too, the
    // slot stays held until the next run clears it first.
    for (uint32_t lostWrites : {2u, 4u}) {
        messages->shown.clear();
        ASSERT_EQ(ToggleBreakPointAtLine("main.c", 20, ToggleRoad::kSetBreak, kBreakLimitText),
                  ToggleResult::kSet);
        Board().ZeroWrites(lostWrites);
        EXPECT_EQ(ToggleBreakPointAtLine("main.c", 20, ToggleRoad::kSetBreak, kBreakLimitText),
                  ToggleResult::kCleared);
        EXPECT_TRUE(g_BreakList.empty());
        EXPECT_EQ(Messages().size(), lostWrites == 2 ? 0u : 1u);
        ExpectSlotsAsOnTheBoard();
        ExpectContinuePassesTheRoutine();
    }
    ExpectLinkInStep();
}

// The image's last byte, whose program packet ends with its bus write.
uint8_t g_lastImageWrite[6];
// Cuts off the write of the image's last program packet after its first three
// bus writes: the flash chip is left waiting for the byte to program.
FT_STATUS CutInLastProgramPacket(FT_HANDLE handle, LPVOID buffer, DWORD count, LPDWORD written) {
    const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
    if (count >= 24 && std::equal(g_lastImageWrite, g_lastImageWrite + 6, bytes + count - 6))
        Board().CutWrite(18, FT_OK);
    return g_boardWrite(handle, buffer, count, written);
}

TEST_F(LinkRecoveryTest, AFlashPacketCutOffLeavesTheChipReadyForTheNextSequence) {
    const auto& last = *ProgramCode().rbegin();
    const uint16_t lastAddress = uint16_t(last.first + last.second.size() - 1);
    const uint8_t lastWrite[] = {
        0x5B, 0xFF, uint8_t(lastAddress >> 8), uint8_t(lastAddress), 0x55, last.second.back()};
    std::copy(lastWrite, lastWrite + 6, g_lastImageWrite);
    const auto cutImageLoad = [this] {
        WriteStandIn cut(CutInLastProgramPacket);
        EXPECT_EQ(ImageLoad(0), 0);
        EXPECT_EQ(Messages(), Texts{kFlashWriteFailText});
        messages->shown.clear();
    };

    // The data flash is selected, erased and written; the code flash is not touched.
    cutImageLoad();
    std::vector<uint8_t> code(0x10000);
    Board().ReadMemory(SIMBOARD_CODE_FLASH, 0, code.data(), 0x10000);
    for (size_t i = 0; i < g_DataFlashBuffer.size(); ++i)
        g_DataFlashBuffer[i] = uint8_t(i * 7 + 1);
    EXPECT_EQ(WriteDataFlash(), 1);
    EXPECT_EQ(Messages(), Texts{kDataFlashWriteOkText});
    std::vector<uint8_t> after(0x10000), data(255);
    Board().ReadMemory(SIMBOARD_CODE_FLASH, 0, after.data(), 0x10000);
    Board().ReadMemory(SIMBOARD_DATA_FLASH, 0, data.data(), 255);
    EXPECT_EQ(after, code);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), g_DataFlashBuffer.begin()));

    // The next Image Load erases and programs.
    messages->shown.clear();
    cutImageLoad();
    EXPECT_EQ(ImageLoad(0), 1);
    EXPECT_EQ(Messages(), Texts{kFlashWriteOkText});
    EXPECT_EQ(VerifyImage(), 1);
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
