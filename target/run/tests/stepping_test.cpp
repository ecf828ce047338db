// Step, Next, Stepi and Nexti on the simulated board: the instructions
// executed, the internal breakpoints over calls and link failures.
#include "run_program.h"

#include "breakpoint_slots.h"
#include "breakpoint_toggle.h"
#include "run_commands.h"
#include "target_flags.h"
#include "target_messages.h"

#include <algorithm>

namespace {

using Texts = std::vector<std::string>;

class SteppingTest : public RunControlTest {
protected:
    void SetUp() override {
        RunControlTest::SetUp();
        LoadProgramIntoBoard();
        ASSERT_EQ(CheckTargetImage(), 1);
    }
    // Runs one worker command from `pc` and finishes it.
    RunCompletion RunFrom(uint16_t pc, int (*command)()) {
        Board().SetPc(pc);
        ClearTrace();
        pcDisplay.calls.clear();
        EXPECT_EQ(command(), 1);
        return Finish();
    }
    void ExpectInternalSlotsFree() {
        uint16_t address = 0;
        for (int slot = 16; slot < 18; ++slot) {
            EXPECT_EQ(g_BreakAddr[slot], kFreeBreakSlot) << slot;
            EXPECT_EQ(Board().GetBreakpoint(uint32_t(slot), &address), 0) << slot;
        }
    }
};

TEST_F(SteppingTest, StepRunsToTheNextLineWithCodeAndIntoCalls) {
    // Line 10 has two instructions.
    RunCompletion done = RunFrom(prog::kMain, OnDebugStep);
    EXPECT_EQ(done.pc, prog::kLcall);
    EXPECT_EQ(runSent, Bytes({0x59, 0x5E, 0x5E}));
    EXPECT_EQ(pcDisplay.calls, (Texts{"SetCurrentPc 0x0034", "ShowPcInAssembly 0x0034 1"}));
    // Into the called function.
    EXPECT_EQ(RunFrom(prog::kLcall, OnDebugStep).pc, prog::kFunc);
    // Through the address without a line to the next one that has one.
    done = RunFrom(prog::kFunc, OnDebugStep);
    EXPECT_EQ(done.pc, prog::kRet);
    EXPECT_EQ(runSent, Bytes({0x59, 0x5E, 0x5E}));
    // From outside any line, to the first line reached.
    EXPECT_EQ(RunFrom(0x0000, OnDebugStep).pc, prog::kMain);
    EXPECT_FALSE(g_bTargetBusy);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SteppingTest, NextRunsOverCallsOnAnInternalBreakpoint) {
    RunCompletion done = RunFrom(prog::kLcall, OnDebugNext);
    EXPECT_EQ(done.pc, prog::kAcall);
    EXPECT_EQ(runSent, Bytes({0x59, 0x64, 0x10, 0x00, 0x37, 0x67, 0x65, 0x10}));
    ExpectInternalSlotsFree();

    done = RunFrom(prog::kAcall, OnDebugNext);
    EXPECT_EQ(done.pc, prog::kLoop);
    EXPECT_EQ(runSent, Bytes({0x59, 0x64, 0x10, 0x00, 0x39, 0x67, 0x65, 0x10}));
    ExpectInternalSlotsFree();

    // The routine ran: its counter went up twice.
    uint8_t counter = 0;
    Board().ReadMemory(SIMBOARD_IRAM, 0x30, &counter, 1);
    EXPECT_EQ(counter, 2);

    // Inside a line without calls Next steps like Step, through addresses without a line.
    EXPECT_EQ(RunFrom(prog::kMain, OnDebugNext).pc, prog::kLcall);
    EXPECT_EQ(RunFrom(prog::kFunc, OnDebugNext).pc, prog::kRet);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SteppingTest, NextStopsAtAUserBreakpointInsideTheCallee) {
    ASSERT_EQ(ToggleBreakPointAtLine("main.c", 21, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    const RunCompletion done = RunFrom(prog::kLcall, OnDebugNext);
    EXPECT_EQ(done.pc, prog::kRet);
    ExpectInternalSlotsFree();
    EXPECT_EQ(g_BreakAddr[0], prog::kRet);
}

TEST_F(SteppingTest, StepiAndNextiGoByInstruction) {
    // Stepi acts on the calling thread and never sets busy.
    Board().SetPc(prog::kLcall);
    ClearTrace();
    ASSERT_EQ(OnDebugStepi(), 1);
    EXPECT_FALSE(IsWorkerRunning());
    EXPECT_EQ(Sent().front(), 0x5E);
    EXPECT_EQ(Board().GetPc(), prog::kFunc);
    EXPECT_EQ(pcDisplay.calls, (Texts{"SetCurrentPc 0x0050", "ShowPcInAssembly 0x0050 1"}));
    EXPECT_EQ(panes.calls.back(), "UpdateSymbolWnd");

    RunCompletion done = RunFrom(prog::kMain, OnDebugNexti);
    EXPECT_EQ(done.pc, prog::kMainSecond);
    EXPECT_EQ(runSent, Bytes({0x59, 0x5E}));
    done = RunFrom(prog::kLcall, OnDebugNexti);
    EXPECT_EQ(done.pc, prog::kAcall);
    EXPECT_EQ(runSent, Bytes({0x59, 0x64, 0x10, 0x00, 0x37, 0x67, 0x65, 0x10}));
    done = RunFrom(prog::kAcall, OnDebugNexti);
    EXPECT_EQ(done.pc, prog::kLoop);
    ExpectInternalSlotsFree();
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SteppingTest, StopReachesACalledRoutineThatNeverReturns) {
    Board().SetPc(prog::kCallForever);
    ASSERT_EQ(OnDebugNexti(), 1);
    WaitUntilRunning();
    EXPECT_TRUE(g_bTargetBusy);
    ASSERT_EQ(OnDebugStop(), 1);
    const RunCompletion done = Finish();
    EXPECT_EQ(done.pc, prog::kForever);
    ExpectInternalSlotsFree();
    EXPECT_FALSE(g_bTargetBusy);

    // The same for Next.
    Board().SetPc(prog::kCallForever);
    ASSERT_EQ(OnDebugNext(), 1);
    WaitUntilRunning();
    ASSERT_EQ(OnDebugStop(), 1);
    EXPECT_EQ(Finish().pc, prog::kForever);
    ExpectInternalSlotsFree();
}

TEST_F(SteppingTest, CallsOfASwitchHelperRunToItsExitsAndStepThem) {
    // The routine at kFunc taken for a switch helper: its one exit is the RET.
    switchHelpers = {{prog::kFunc, prog::kRet + 1},
                     {prog::kForever, prog::kForever + 3},
                     {prog::kJz, prog::kJz + 3}};
    const std::vector<uint8_t> readSp = Bytes({0x5C, 0x08, 0x5B, 0x00, 0x00, 0x81, 0x51});
    std::vector<uint8_t> road = Bytes({0x59});
    for (const auto& part :
         {readSp, Bytes({0x64, 0x10, 0x00, 0x53, 0x67}), readSp, Bytes({0x65, 0x10, 0x5E})})
        Append(road, part);
    RunCompletion done = RunFrom(prog::kLcall, OnDebugNexti);
    EXPECT_EQ(done.pc, prog::kAcall);
    EXPECT_EQ(runSent, road);
    // Next over its ACALL goes on to the line the helper leads to.
    done = RunFrom(prog::kAcall, OnDebugNext);
    EXPECT_EQ(done.pc, prog::kLoop);
    EXPECT_EQ(runSent, road);
    ExpectInternalSlotsFree();

    // Two exits, one on each internal slot: a JZ that stays inside when A is
    // not zero, and the RET right after it, stepped at once.
    for (const uint8_t a : {1, 0}) {
        Board().WriteMemory(SIMBOARD_SFR, 0xE0, &a, 1);
        done = RunFrom(prog::kCallJz, OnDebugNexti);
        EXPECT_EQ(done.pc, a ? prog::kCallJz + 3 : prog::kLoop);
        EXPECT_EQ(std::count(runSent.begin(), runSent.end(), 0x67), 1);
        ExpectInternalSlotsFree();
    }

    // Without the helper's whole disassembly it is stepped through.
    textsMissing = {prog::kNoLine};
    done = RunFrom(prog::kLcall, OnDebugNexti);
    EXPECT_EQ(done.pc, prog::kAcall);
    EXPECT_EQ(runSent, Bytes({0x59, 0x5E, 0x5E, 0x5E, 0x5E}));
    textsMissing.clear();

    // Timer 0 overflows during the call's LCALL: its handler calls the helper
    // too and meets the exit first, higher up the stack. The run goes on past
    // it, through the handler's return, to the call's own exit.
    const uint8_t timer[][2] = {
        {0x89, 0x01}, {0x8A, 0xFE}, {0x8C, 0xFF}, {0x88, 0x10}, {0xA8, 0x82}};
    for (const auto& sfr : timer)
        Board().WriteMemory(SIMBOARD_SFR, sfr[0], &sfr[1], 1);
    uint8_t counter = 0;
    Board().WriteMemory(SIMBOARD_IRAM, 0x30, &counter, 1);
    EXPECT_EQ(RunFrom(prog::kLcall, OnDebugNexti).pc, prog::kAcall);
    Board().ReadMemory(SIMBOARD_IRAM, 0x30, &counter, 1);
    EXPECT_EQ(counter, 2);
    EXPECT_EQ(std::count(runSent.begin(), runSent.end(), 0x67), 2);
    ExpectInternalSlotsFree();

    // Stop ends the run to the exit of a helper that never reaches it.
    Board().SetPc(prog::kCallForever);
    ClearTrace();
    ASSERT_EQ(OnDebugNext(), 1);
    WaitUntilRunning();
    ASSERT_EQ(OnDebugStop(), 1);
    done = Finish();
    EXPECT_EQ(done.pc, prog::kForever);
    EXPECT_EQ(std::count(runSent.begin(), runSent.end(), 0x13), 1);
    ExpectInternalSlotsFree();
    EXPECT_FALSE(Board().IsRunning());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SteppingTest, OnABareImageStepAndNextActAsOneInstruction) {
    g_bHexOnly = true;
    RunCompletion done = RunFrom(prog::kMain, OnDebugStep);
    EXPECT_EQ(done.pc, prog::kMainSecond);
    EXPECT_EQ(runSent, Bytes({0x5E}));
    done = RunFrom(prog::kLcall, OnDebugNext);
    EXPECT_EQ(done.pc, prog::kAcall);
    EXPECT_EQ(runSent, Bytes({0x59, 0x64, 0x10, 0x00, 0x37, 0x67, 0x65, 0x10}));
    done = RunFrom(prog::kMain, OnDebugNext);
    EXPECT_EQ(done.pc, prog::kMainSecond);
}

TEST_F(SteppingTest, ALinkFailureAbandonsStepAndNextAfterOneMessage) {
    // A board that answers nothing from the start.
    Board().SetPc(prog::kMain);
    Board().ZeroReads(1000000);
    ASSERT_EQ(OnDebugStep(), 1);
    RunCompletion done = Finish();
    EXPECT_FALSE(done.stopped);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    EXPECT_TRUE(pcDisplay.calls.empty());
    EXPECT_TRUE(panes.calls.empty());
    EXPECT_FALSE(g_bTargetBusy);
}

TEST_F(SteppingTest, ALinkFailureInTheMiddleOfANextEndsIt) {
    // The link goes once the second instruction of line 10 is reached.
    onLineLookup = [](uint32_t address) {
        if (address == prog::kMainSecond) Board().ZeroReads(1000000);
    };
    Board().SetPc(prog::kMain);
    ASSERT_EQ(OnDebugNext(), 1);
    const RunCompletion done = Finish();
    EXPECT_FALSE(done.stopped);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    EXPECT_EQ(Board().GetPc(), prog::kLcall); // the failed exchange still executed
    EXPECT_FALSE(g_bTargetBusy);
}

} // namespace
