// Continue, Stop and Run To Cursor Line on the simulated board, with the
// image check, the busy flag and the end of a run on the user-interface side.
#include "run_program.h"

#include "breakpoint_records.h"
#include "breakpoint_slots.h"
#include "breakpoint_toggle.h"
#include "fake_source_views.h"
#include "image_load.h"
#include "run_commands.h"
#include "run_until_stop.h"
#include "symbol_lookup.h"
#include "target_flags.h"
#include "target_messages.h"
#include "target_protocol.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

using Texts = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

size_t Count(const std::vector<uint8_t>& bytes, uint8_t value) {
    return size_t(std::count(bytes.begin(), bytes.end(), value));
}

// Panes that note whether the target still counted as busy while refreshed.
struct BusyNotingPanes : RecordingPanes {
    std::vector<bool> busyDuringRefresh;
    void UpdateSymbolWnd() override {
        RecordingPanes::UpdateSymbolWnd();
        busyDuringRefresh.push_back(g_bTargetBusy);
    }
};

class ContinueTest : public RunControlTest {
protected:
    void SetUp() override {
        RunControlTest::SetUp();
        SetDebuggerPanes(&notingPanes);
        LoadProgramIntoBoard();
        ASSERT_EQ(CheckTargetImage(), 1);
        ClearTrace();
    }
    void StartEndlessRun() {
        Board().SetPc(prog::kEndless);
        ASSERT_EQ(OnDebugContinue(), 1);
        WaitUntilRunning();
    }
    BusyNotingPanes notingPanes;
};

TEST_F(RunControlTest, ImageCheckRefusesAnErasedBoardUntilTheImageIsLoaded) {
    Board().SetPc(prog::kMain);
    EXPECT_EQ(OnDebugContinue(), 0);
    EXPECT_EQ(OnDebugStep(), 0);
    EXPECT_EQ(OnDebugStepi(), 0);
    EXPECT_EQ(Messages(), (Texts{kImageMismatchText, kImageMismatchText, kImageMismatchText}));
    EXPECT_FALSE(g_bTargetBusy);
    EXPECT_FALSE(g_bImageVerified);
    EXPECT_FALSE(IsWorkerRunning());
    EXPECT_EQ(Count(Sent(), adapter::kRun), 0u);
    EXPECT_EQ(Count(Sent(), adapter::kStep), 0u);

    ASSERT_EQ(ImageLoad(0), 1);
    messages->shown.clear();
    Board().SetPc(prog::kMain);
    ASSERT_EQ(ToggleBreakPointAtLine("main.c", 20, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    ASSERT_EQ(OnDebugContinue(), 1);
    const RunCompletion done = Finish();
    EXPECT_TRUE(g_bImageVerified);
    EXPECT_TRUE(done.stopped);
    EXPECT_EQ(done.pc, prog::kFunc);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ContinueTest, StopsAtABreakpointAndFreesTheTargetOnlyAfterTheRefresh) {
    FakeSourceViews views;
    SourceViewRef mainView = views.Open("MAIN.C");
    PcModelDisplay display(
        views, [this](uint16_t pc, int select) { pcDisplay.ShowPcInAssembly(pc, select); });
    SetPcDisplay(&display);
    display.CreatePcModel();

    Board().SetPc(prog::kMain);
    ASSERT_EQ(ToggleBreakPointAtLine("main.c", 20, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    ASSERT_EQ(OnDebugContinue(), 1);
    EXPECT_TRUE(g_bTargetBusy);
    EXPECT_FALSE(IsDebugCommandEnabled());
    EXPECT_TRUE(IsStopEnabled());

    const RunCompletion done = Finish();
    EXPECT_TRUE(done.stopped);
    EXPECT_TRUE(done.error.empty());
    EXPECT_EQ(done.pc, prog::kFunc);
    EXPECT_EQ(Board().GetPc(), prog::kFunc);
    // With a breakpoint set the PC is read first (the run does not start on
    // one), then the run byte, then the stop PC as the only answer.
    EXPECT_EQ(runSent, Bytes({0x64, 0x00, 0x00, 0x50, 0x59, 0x67}));
    EXPECT_EQ(runReceived, Bytes({0x30, 0x00, 0x50, 0x00}));
    // The PC model shows line 20 of the open document.
    ASSERT_NE(display.Model(), nullptr);
    EXPECT_EQ(display.Model()->Shown().view, mainView);
    EXPECT_EQ(display.Model()->Shown().line, 20);
    EXPECT_EQ(display.Model()->Shown().pc, prog::kFunc);
    EXPECT_EQ(pcDisplay.calls, Texts{"ShowPcInAssembly 0x0050 1"});
    EXPECT_EQ(notingPanes.calls,
              (Texts{"UpdateRegisterWnd", "FillVariables", "FillLocalVariables",
                     "UpdateGlobalVariableValues", "RefreshIDataWindow", "UpdateSymbolWnd"}));
    EXPECT_EQ(notingPanes.busyDuringRefresh, std::vector<bool>{true});
    EXPECT_FALSE(g_bTargetBusy);
    SetPcDisplay(nullptr);
}

TEST_F(ContinueTest, StopHaltsAnEndlessLoopAtOnce) {
    StartEndlessRun();
    // Busy: a second Continue, a Step and a breakpoint toggle do nothing.
    EXPECT_EQ(OnDebugContinue(), 0);
    EXPECT_EQ(OnDebugStep(), 0);
    EXPECT_EQ(OnDebugNexti(), 0);
    EXPECT_EQ(ToggleBreakPointAtLine("main.c", 20, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kNotAllowed);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(completions.Pending(), 0u);
    EXPECT_TRUE(g_bTargetBusy);

    const auto pressed = Clock::now();
    ASSERT_EQ(OnDebugStop(), 1);
    const RunCompletion done = Finish();
    EXPECT_LT(Clock::now() - pressed, std::chrono::milliseconds(200));
    EXPECT_TRUE(done.stopped);
    EXPECT_EQ(done.pc, prog::kEndless);
    EXPECT_FALSE(Board().IsRunning());
    EXPECT_EQ(runSent, Bytes({0x67, 0x13}));
    EXPECT_EQ(runReceived, Bytes({0x3C, 0x00}));
    EXPECT_FALSE(g_bTargetBusy);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(pcDisplay.calls, (Texts{"SetCurrentPc 0x003C", "ShowPcInAssembly 0x003C 1"}));
}

TEST_F(ContinueTest, TheBreakAnswerOfAStopRaceIsDrained) {
    Board().ArmBreakRace();
    StartEndlessRun();
    ASSERT_EQ(OnDebugStop(), 1);
    const RunCompletion done = Finish();
    EXPECT_EQ(done.pc, prog::kEndless);
    // The board answered the break byte too; that byte never reaches a later read.
    EXPECT_EQ(ReadPc(), prog::kEndless);
    uint16_t pc = 0;
    EXPECT_TRUE(StepInstructionQuietly(pc));
    EXPECT_EQ(pc, prog::kEndless);
    // Only PC answers were read (the PC is read once more when the break's
    // answer came together with the stop PC).
    ASSERT_FALSE(runReceived.empty());
    for (size_t i = 0; i < runReceived.size(); ++i)
        EXPECT_EQ(runReceived[i], i % 2 ? 0x00 : 0x3C) << i;
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ContinueTest, ADeadBoardAfterTheBreakEndsTheRunWithTheAdapterError) {
    SetStopAnswerTimeoutMs(100);
    StartEndlessRun();
    Board().DropAnswerBytes(2);
    ASSERT_EQ(OnDebugStop(), 1);
    const RunCompletion done = Finish();
    EXPECT_FALSE(done.stopped);
    EXPECT_EQ(done.error, kUsbErrorText);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    EXPECT_TRUE(pcDisplay.calls.empty());
    EXPECT_TRUE(notingPanes.calls.empty());
    EXPECT_FALSE(g_bTargetBusy);
}

TEST_F(ContinueTest, RunToCursorLineStopsThereAndFreesTheInternalSlot) {
    Board().SetPc(prog::kMain);
    ClearTrace();
    ASSERT_EQ(OnDebugRunToCursorLine("main.c", 14), 1);
    const RunCompletion done = Finish();
    EXPECT_EQ(done.pc, prog::kEndless);
    EXPECT_EQ(runSent, Bytes({0x59, 0x64, 0x10, 0x00, 0x3C, 0x67, 0x65, 0x10}));
    EXPECT_EQ(g_BreakAddr[16], kFreeBreakSlot);
    uint16_t address = 0;
    EXPECT_EQ(Board().GetBreakpoint(16, &address), 0);
    // A line without code starts nothing; a bare image has no cursor line.
    EXPECT_EQ(OnDebugRunToCursorLine("main.c", 15), 0);
    g_bHexOnly = true;
    EXPECT_FALSE(IsRunToCursorEnabled());
    EXPECT_EQ(OnDebugRunToCursorLine("main.c", 14), 0);
    EXPECT_FALSE(IsWorkerRunning());
}

TEST_F(ContinueTest, ClosingWhileRunningStopsTheTargetAndJoinsTheWorker) {
    ASSERT_EQ(ToggleBreakPointAtLine("main.c", 20, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    StartEndlessRun();
    EndRunSession();
    EXPECT_FALSE(IsWorkerRunning());
    EXPECT_FALSE(Board().IsRunning());
    EXPECT_FALSE(g_bTargetBusy);
    EXPECT_TRUE(g_BreakList.empty());
    EXPECT_TRUE(g_mapBreakAddress.empty());
    // What the worker posted before it was joined is dropped.
    RunCompletion late;
    ASSERT_TRUE(completions.Wait(late, 0));
    FinishRun(late);
    EXPECT_TRUE(pcDisplay.calls.empty());
    EXPECT_TRUE(notingPanes.calls.empty());
}

TEST_F(RunControlTest, CommandsNeedALoadedProject) {
    LoadProgramIntoBoard();
    g_bProjectLoaded = false;
    ClearTrace();
    EXPECT_EQ(OnDebugContinue(), 0);
    EXPECT_EQ(OnDebugStop(), 0);
    EXPECT_EQ(OnDebugStepi(), 0);
    EXPECT_FALSE(g_bStopRequest);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(Messages().empty());
}

} // namespace
