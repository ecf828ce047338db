// The debugging road, walked end to end without a window.
//
// Each test opens a whole project through the project loader, exactly as the
// Open command does: the project file, the map, the disassembler's output,
// the listings and sources. The loader's session is the real target side
// (handshake, host copies, PC display), so everything after the open talks to
// the simulated board over the adapter link, and run control asks the real
// lookups: source positions from the loaded symbol table, instruction texts
// from the disassembly.
//
// The road: Open -> the image check refuses the erased board -> Image Load ->
// Continue; breakpoints by source line (the 17th refused, Clear All);
// Step, Next, Stepi, Nexti; a code byte patched from the Flash pane and
// stepped over; Continue into an endless loop and Stop; Run To
// Cursor Line; typed values read and written after the stops; closing the
// project while the target runs, and opening it again; and a bare image,
// where Step and Next move one instruction. Every scenario checks the
// bytes on the wire (the board's trace) and what the user would see (the
// completion, the PC model's line, the values).
//
// Projects: the example project in both map forms, and the real projects
// mcp-prot and exitrip-blinky (skipped when the folder is absent). None of
// them calls through ACALL (their compilers emit LCALL), so Nexti over ACALL
// is left to the hand-assembled program of the run-control tests.
#include "road_fixture.h"
#include "source_facts.h"

#include "breakpoint_records.h"
#include "breakpoint_slots.h"
#include "breakpoint_toggle.h"
#include "flash_pane_operations.h"
#include "host_memory.h"
#include "image_load.h"
#include "run_commands.h"
#include "run_lookups.h"
#include "symbol_lookup.h"
#include "target_flags.h"
#include "target_messages.h"
#include "target_protocol.h"
#include "typed_values.h"
#include "value_texts.h"
#include "variable_write.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

namespace road {

void PrintTo(const RoadProject& project, std::ostream* out) {
    *out << project.label;
}

namespace {

using Texts = std::vector<std::string>;

const RoadProject kExampleM51{"ExampleM51", true, "", "BLINKY.UV2"};
const RoadProject kExampleMap{"ExampleMap", true, "", "Blinky_LX.Uv2"};
const RoadProject kProt{"McpProt", false, "mcp-prot", "prot.Uv2"};
const RoadProject kBlinky{"ExitripBlinky", false, "exitrip-blinky", "Blinky.Uv2"};

size_t Count(const std::vector<uint8_t>& bytes, uint8_t value) {
    return size_t(std::count(bytes.begin(), bytes.end(), value));
}

// The internal breakpoint a Next or Nexti over a call sets.
const uint8_t kInternalSet[] = {0x64, 0x10};

// The four radix texts of a value.
Texts RadixTexts(uint32_t value, int size) {
    return {FormatRadix(value, 2, size), FormatRadix(value, 8, size), FormatRadix(value, 10, size),
            FormatRadix(value, 16, size)};
}

// Addresses that differ between two pictures of a memory, with the new bytes.
std::map<uint32_t, uint8_t> Changed(const std::vector<uint8_t>& before,
                                    const std::vector<uint8_t>& after) {
    std::map<uint32_t, uint8_t> changed;
    for (uint32_t a = 0; a < before.size(); ++a)
        if (after[a] != before[a]) changed[a] = after[a];
    return changed;
}

// --- The example project, in both map forms ---------------------------------

// main.c: main's first line, the call of delay, the line after it, the
// passes counter, the test of `failed` and the endless loop it guards.
constexpr uint16_t kMainFirst = 0x0089;   // main.c:34, TMOD = 0x01
constexpr uint16_t kMainSecond = 0x008C;  // main.c:35
constexpr uint16_t kMainThird = 0x008E;   // main.c:36
constexpr uint16_t kDelayLine = 0x00AB;   // main.c:41, total += delay(10, step)
constexpr uint16_t kAfterDelay = 0x00BA;  // main.c:42
constexpr uint16_t kPassesLine = 0x00C3;  // main.c:43, passes++
constexpr uint16_t kFailedTest = 0x00C5;  // main.c:44
constexpr uint16_t kEndlessLoop = 0x00C9; // main.c:46, up to main's return at 0x00CE
constexpr uint16_t kLoopEnd = 0x00CE;
constexpr uint16_t kDelayEntry = 0x00CF;  // delay.c:4
constexpr uint16_t kDelayInner = 0x00D8;  // delay.c:11, turns += stride
constexpr uint16_t kDelayReturn = 0x00E3; // delay.c:14, return turns
constexpr uint32_t kFailedAddress = 0x0C; // D:000CH

class ExampleRoadTest : public RoadTest, public ::testing::WithParamInterface<RoadProject> {
protected:
    void SetUp() override {
        RoadTest::SetUp();
        ASSERT_TRUE(Open(GetParam()));
        ASSERT_TRUE(messages->shown.empty()) << Messages().front();
    }
    // Image Load, then the start-up code run to main's first line.
    void LoadAndRunToMain() {
        LoadImage();
        messages->shown.clear();
        ASSERT_EQ(OnDebugRunToCursorLine("MAIN.C", 34), 1);
        ASSERT_EQ(Finish().pc, kMainFirst);
    }
    RunCompletion RunToLine(const char* file, int line) {
        ClearTrace();
        EXPECT_EQ(OnDebugRunToCursorLine(file, line), 1);
        return Finish();
    }
};

TEST_P(ExampleRoadTest, OpenFindsTheErasedBoardThenImageLoadLetsContinueRun) {
    // The loader's handshake, then the host copies: nothing ran.
    EXPECT_EQ(Count(Sent(), adapter::kRun), 0u);
    EXPECT_TRUE(g_bProjectLoaded);
    EXPECT_FALSE(g_bHexOnly);
    ClearTrace();
    EXPECT_EQ(OnDebugContinue(), 0);
    EXPECT_EQ(Messages(), Texts{kImageMismatchText});
    // The code memory was read for the comparison; nothing was started.
    EXPECT_GT(Count(Sent(), adapter::kReadBlock), 0u);
    EXPECT_EQ(Count(Sent(), adapter::kRun), 0u);
    EXPECT_FALSE(g_bTargetBusy);
    EXPECT_FALSE(g_bImageVerified);
    EXPECT_FALSE(IsWorkerRunning());

    messages->shown.clear();
    ASSERT_EQ(ImageLoad(0), 1);
    EXPECT_EQ(Messages(), Texts{kFlashWriteOkText});
    messages->shown.clear();
    Board().SetPc(0);
    ClearTrace();
    ASSERT_EQ(OnDebugContinue(), 1);
    WaitUntilRunning();
    EXPECT_TRUE(g_bTargetBusy);
    ASSERT_EQ(OnDebugStop(), 1);
    const RunCompletion done = Finish();
    EXPECT_TRUE(done.stopped);
    EXPECT_TRUE(done.error.empty());
    EXPECT_TRUE(g_bImageVerified);
    // The image matched this time: the run byte, then the break.
    EXPECT_EQ(Count(runSent, adapter::kRun), 1u);
    EXPECT_EQ(runSent.back(), adapter::kBreak);
    // The image check's read of the code memory, then the stop PC.
    ASSERT_GE(runReceived.size(), 2u);
    EXPECT_EQ(std::vector<uint8_t>(runReceived.end() - 2, runReceived.end()),
              Bytes({done.pc & 0xFF, done.pc >> 8}));
    EXPECT_TRUE(Messages().empty());
}

TEST_P(ExampleRoadTest, BreakpointsByLineStopContinueAndAreLimitedToSixteen) {
    LoadAndRunToMain();
    // A line of delay, which the main loop calls.
    ClearTrace();
    ASSERT_EQ(ToggleBreakPointAtLine("DELAY.C", 11, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    EXPECT_EQ(Sent(), Bytes({0x64, 0x00, kDelayInner >> 8, kDelayInner & 0xFF}));
    const RunCompletion done = Run(OnDebugContinue);
    EXPECT_TRUE(done.stopped);
    EXPECT_EQ(done.pc, kDelayInner);
    // With a breakpoint set the run starts by reading the PC.
    EXPECT_EQ(runSent, Bytes({0x59, 0x67}));
    EXPECT_EQ(runReceived,
              Bytes({kMainFirst & 0xFF, kMainFirst >> 8, kDelayInner & 0xFF, kDelayInner >> 8}));
    EXPECT_EQ(ShownDocument(), "delay.c");
    EXPECT_EQ(ShownLine(), 11);
    EXPECT_EQ(display.Model()->Shown().pc, kDelayInner);
    EXPECT_EQ(pcDisplay.calls, Texts{"ShowPcInAssembly 0x00D8 1"});
    // The loop comes back to it.
    EXPECT_EQ(Run(OnDebugContinue).pc, kDelayInner);

    FillSlotsRefuseTheSeventeenthAndClearAll({kDelayInner}, "MAIN.C", "DELAY.C");
}

TEST_P(ExampleRoadTest, StepNextStepiAndNextiFollowTheSource) {
    LoadAndRunToMain();
    EXPECT_EQ(ShownDocument(), "main.c");
    EXPECT_EQ(ShownLine(), 34);
    // Step from main's first line: its one instruction, then line 35.
    RunCompletion done = Run(OnDebugStep);
    EXPECT_EQ(done.pc, kMainSecond);
    EXPECT_EQ(runSent, Bytes({0x59, 0x5E}));
    EXPECT_EQ(ShownLine(), 35);
    // Stepi: one step byte answered by the new PC, then the refresh.
    ClearTrace();
    ASSERT_EQ(OnDebugStepi(), 1);
    EXPECT_EQ(Board().GetPc(), kMainThird);
    const std::vector<uint8_t> sent = Sent();
    const std::vector<uint8_t> received = Received();
    ASSERT_GE(sent.size(), 1u);
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(sent[0], adapter::kStep);
    EXPECT_EQ(Count(sent, adapter::kStep), 1u);
    EXPECT_EQ(std::vector<uint8_t>(received.begin(), received.begin() + 2),
              Bytes({kMainThird & 0xFF, kMainThird >> 8}));
    EXPECT_EQ(ShownLine(), 36);

    // Step into delay from the line that calls it.
    ASSERT_EQ(RunToLine("MAIN.C", 41).pc, kDelayLine);
    done = Run(OnDebugStep);
    EXPECT_EQ(done.pc, kDelayEntry);
    EXPECT_EQ(Count(runSent, adapter::kRun), 0u);
    EXPECT_GT(Count(runSent, adapter::kStep), 1u);
    EXPECT_EQ(ShownDocument(), "delay.c");
    EXPECT_EQ(ShownLine(), 4);

    // Next over it on the next pass: the call runs on an internal breakpoint
    // at its return address, freed again.
    ASSERT_EQ(RunToLine("MAIN.C", 41).pc, kDelayLine);
    done = Run(OnDebugNext);
    EXPECT_EQ(done.pc, kAfterDelay);
    EXPECT_EQ(ShownLine(), 42);
    EXPECT_EQ(Count(runSent, adapter::kRun), 1u);
    // The return address is inside line 41: single steps take it to line 42.
    const auto set = std::search(runSent.begin(), runSent.end(), std::begin(kInternalSet),
                                 std::end(kInternalSet));
    ASSERT_NE(set, runSent.end());
    ASSERT_GE(runSent.end() - set, 7);
    EXPECT_EQ(std::vector<uint8_t>(set + 4, set + 7), Bytes({0x67, 0x65, 0x10}));
    EXPECT_EQ(Count(runSent, adapter::kSetBreakpoint), 1u);
    EXPECT_EQ(g_BreakAddr[16], kFreeBreakSlot);

    // Stepi by instruction up to the call, then Nexti over it.
    ASSERT_EQ(RunToLine("MAIN.C", 41).pc, kDelayLine);
    ClearTrace();
    const uint16_t call = StepiToCall();
    ASSERT_NE(call, 0);
    EXPECT_EQ(Count(Sent(), adapter::kRun), 0u);
    done = Run(OnDebugNexti);
    EXPECT_EQ(done.pc, call + 3);
    const uint16_t back = uint16_t(call + 3);
    EXPECT_EQ(runSent, Bytes({0x59, 0x64, 0x10, back >> 8, back & 0xFF, 0x67, 0x65, 0x10}));
    EXPECT_EQ(runReceived.size(), 4u); // the PC before, the stop PC

    // Nexti over the call stops at a user breakpoint inside delay.
    ASSERT_EQ(RunToLine("MAIN.C", 41).pc, kDelayLine);
    ASSERT_EQ(StepiToCall(), call);
    ASSERT_EQ(ToggleBreakPointAtLine("DELAY.C", 11, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    done = Run(OnDebugNexti);
    EXPECT_EQ(done.pc, kDelayInner);
    EXPECT_EQ(ShownLine(), 11);
    EXPECT_EQ(g_BreakAddr[16], kFreeBreakSlot);
    uint16_t address = 0;
    EXPECT_EQ(Board().GetBreakpoint(16, &address), 0);
    EXPECT_FALSE(g_bTargetBusy);
    EXPECT_TRUE(Messages().empty());
}

TEST_P(ExampleRoadTest, ACodeByteWrittenFromTheFlashPaneIsWhatTheNextStepRuns) {
    // The erased board patched from the pane holds no image of the project:
    // the run commands still refuse it.
    ASSERT_EQ(FlashPaneRead(false), 1);
    g_CodeFlashImage[0] = 0x00;
    ASSERT_EQ(FlashPaneWrite(false), 1);
    messages->shown.clear();
    EXPECT_EQ(OnDebugStep(), 0);
    EXPECT_EQ(Messages(), Texts{kImageMismatchText});

    // main.c:34, "TMOD = 0x01", is MOV TMOD,#data: its data byte is patched,
    // first before any run command checked the image, then after one did.
    LoadImage();
    for (uint8_t tmod : {0x21, 0x12}) {
        ASSERT_EQ(FlashPaneRead(false), 1);
        ASSERT_EQ(g_CodeFlashImage[kMainFirst], 0x75);
        g_CodeFlashImage[kMainFirst + 2] = tmod;
        messages->shown.clear();
        ASSERT_EQ(FlashPaneWrite(false), 1);
        ASSERT_EQ(RunToLine("MAIN.C", 34).pc, kMainFirst);
        EXPECT_EQ(Run(OnDebugStep).pc, kMainSecond);
        EXPECT_EQ(BoardInternalBytes()[0x89], tmod);
        EXPECT_EQ(Messages(), Texts{kFlashWriteOkText});
    }
}

TEST_P(ExampleRoadTest, TheFailedFlagSendsContinueIntoTheEndlessLoopAndStopHaltsIt) {
    LoadAndRunToMain();
    ASSERT_EQ(RunToLine("MAIN.C", 44).pc, kFailedTest);
    ClearTrace();
    ASSERT_EQ(WriteEditedVariable("failed", "1", "U_CHAR"), 1);
    EXPECT_EQ(Count(Sent(), adapter::kWrite1), 1u);
    EXPECT_EQ(BoardInternalBytes()[kFailedAddress], 1);
    // The timer's interrupt routine has lines of its own: with interrupts
    // off (IE = 0) Stop and Step find the PC in the loop, never in the routine.
    ASSERT_EQ(WriteEditedVariable("IE", "0", "U_CHAR"), 1);
    EXPECT_EQ(BoardInternalBytes()[0xA8], 0x00);

    ClearTrace();
    ASSERT_EQ(OnDebugContinue(), 1);
    WaitUntilRunning();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(g_bTargetBusy);
    EXPECT_EQ(completions.Pending(), 0u);
    ASSERT_EQ(OnDebugStop(), 1);
    const RunCompletion done = Finish();
    EXPECT_TRUE(done.stopped);
    EXPECT_GE(done.pc, kEndlessLoop);
    EXPECT_LT(done.pc, kLoopEnd);
    EXPECT_FALSE(Board().IsRunning());
    EXPECT_FALSE(g_bTargetBusy);
    EXPECT_EQ(runSent, Bytes({0x67, 0x13}));
    EXPECT_EQ(runReceived, Bytes({done.pc & 0xFF, done.pc >> 8}));
    EXPECT_EQ(BoardInternalBytes()[0x90], 0x00); // P1 = 0x00

    // Step on the one-line loop never reaches another line: Stop ends it.
    ClearTrace();
    ASSERT_EQ(OnDebugStep(), 1);
    // A few instructions, however long each exchange takes on the link.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Count(Sent(), adapter::kStep) < 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(g_bTargetBusy);
    EXPECT_EQ(completions.Pending(), 0u);
    ASSERT_EQ(OnDebugStop(), 1);
    const RunCompletion stepped = Finish();
    EXPECT_TRUE(stepped.stopped);
    EXPECT_GE(stepped.pc, kEndlessLoop);
    EXPECT_LT(stepped.pc, kLoopEnd);
    EXPECT_GT(Count(runSent, adapter::kStep), 2u);
    EXPECT_EQ(Count(runSent, adapter::kRun), 0u);
    EXPECT_FALSE(g_bTargetBusy);
    EXPECT_TRUE(Messages().empty());
}

TEST_P(ExampleRoadTest, ClosingWhileRunningHaltsTheTargetAndTheProjectOpensAgain) {
    LoadAndRunToMain();
    // A breakpoint the endless loop never reaches: the main loop's jump back.
    ASSERT_EQ(ToggleBreakPointAtLine("MAIN.C", 49, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    ASSERT_EQ(WriteEditedVariable("failed", "1", "U_CHAR"), 1);
    ASSERT_EQ(OnDebugContinue(), 1);
    WaitUntilRunning();

    // The close as the application orders it: the worker first, then the project.
    ClearTrace();
    EndRunSession();
    loader->OnProjectClose();
    EXPECT_FALSE(IsWorkerRunning());
    EXPECT_FALSE(Board().IsRunning());
    EXPECT_FALSE(g_bTargetBusy);
    EXPECT_FALSE(g_bProjectLoaded);
    EXPECT_EQ(display.Model(), nullptr);
    EXPECT_TRUE(g_BreakList.empty());
    EXPECT_TRUE(g_mapBreakAddress.empty());
    EXPECT_EQ(Sent(), Bytes({0x13}));
    // What the worker posted on its way out belongs to the closed session:
    // finishing it shows nothing.
    RunCompletion late;
    ASSERT_TRUE(completions.Wait(late));
    EXPECT_NE(late.session, CurrentRunSession());
    pcDisplay.calls.clear();
    panes.calls.clear();
    FinishRun(late);
    EXPECT_TRUE(pcDisplay.calls.empty());
    EXPECT_TRUE(panes.calls.empty());

    // Open again: the handshake frees the board's slots; the image is still
    // there, so Run To Cursor Line runs at once.
    ClearTrace();
    loaderView.dialogAnswers.push_back(copy.Path(GetParam().projectFile));
    loader->OnFileOpen();
    ASSERT_TRUE(g_bProjectLoaded);
    ASSERT_NE(display.Model(), nullptr);
    for (uint32_t slot = 0; slot < 18; ++slot) {
        uint16_t address = 0;
        EXPECT_EQ(Board().GetBreakpoint(slot, &address), 0) << slot;
    }
    ASSERT_EQ(OnDebugRunToCursorLine("MAIN.C", 43), 1);
    const RunCompletion done = Finish();
    EXPECT_EQ(done.pc, kPassesLine);
    EXPECT_EQ(ShownLine(), 43);
    EXPECT_TRUE(Messages().empty());
}

TEST_P(ExampleRoadTest, RunToCursorThenTypedValuesMatchTheCoreAndWritesTouchOnlyTheirBytes) {
    LoadAndRunToMain();
    // Three passes of the main loop, each stopped at passes++.
    for (int pass = 0; pass < 3; ++pass) {
        const RunCompletion done = RunToLine("MAIN.C", 43);
        ASSERT_EQ(done.pc, kPassesLine);
        // From the cursor line itself its instruction goes first on its own.
        if (pass == 0)
            EXPECT_EQ(runSent,
                      Bytes({0x59, 0x64, 0x10, 0x00, kPassesLine & 0xFF, 0x67, 0x65, 0x10}));
        else
            EXPECT_EQ(runSent,
                      Bytes({0x59, 0x64, 0x10, 0x00, kPassesLine & 0xFF, 0x5E, 0x67, 0x65, 0x10}));
        EXPECT_EQ(ShownLine(), 43);
    }
    const std::vector<uint8_t> core = BoardInternalBytes();
    const std::vector<uint8_t> external = BoardExternalBytes();
    ClearVariableInfo();
    for (const char* name : {"step", "passes", "total", "history"})
        FormatSymbolValue(name);
    ASSERT_EQ(g_nVariableInfoCount, 4);

    // Every variable of the example is one byte, so each shows its true value:
    // passes = 2, total = 3 x 200 (mod 256) = 88, history[0..3] = 01 02 04 00,
    // the patterns of the three passes.
    struct Expected {
        const char* type;
        uint32_t value;
        int size;
        Texts texts;
    };
    const Expected expected[] = {
        {"CHAR", 1, 1, {"0000000000000001", "000000001", "1", "0x01"}},
        {"U_CHAR", 2, 1, {"0000000000000010", "000000002", "2", "0x02"}},
        {"U_CHAR", 88, 1, {"0000000001011000", "000000130", "88", "0x58"}},
        {"ARRAY",
         0x01020400,
         4,
         {"1000000100000010000000000", "0100402000", "16909312", "0x01020400"}},
    };
    for (int i = 0; i < 4; ++i) {
        const CInfo& info = *g_VariableInfoList[size_t(i)];
        SCOPED_TRACE(info.m_strName);
        const SymbolInfo* symbol = LookupSymbol(info.m_strName, kSelectData);
        ASSERT_NE(symbol, nullptr);
        EXPECT_EQ(info.m_strType, expected[i].type);
        const bool inExternal = symbol->m_nSpace == kMemSpaceXdata;
        const uint32_t fromCore =
            CoreValue(inExternal ? external : core, symbol->m_dwAddress, expected[i].size);
        EXPECT_EQ(fromCore, expected[i].value);
        EXPECT_EQ(info.m_strValue, std::to_string(int32_t(fromCore)));
        const uint32_t read =
            ReadTypedValue(symbol->m_nSpace, expected[i].size, symbol->m_dwAddress);
        EXPECT_EQ(RadixTexts(read, expected[i].size), expected[i].texts);
    }

    // A local of delay, at its return: turns counted 10 x 20 x step.
    ASSERT_EQ(RunToLine("DELAY.C", 14).pc, kDelayReturn);
    EXPECT_EQ(ShownDocument(), "delay.c");
    const std::vector<uint8_t> inDelay = BoardInternalBytes();
    EXPECT_EQ(inDelay[6], 200);
    ClearVariableInfo();
    FormatSymbolValue("turns");
    ASSERT_EQ(g_nVariableInfoCount, 1);
    EXPECT_EQ(g_VariableInfoList[0]->m_strType, "U_CHAR");
    EXPECT_EQ(g_VariableInfoList[0]->m_strAddress, "0x06");
    EXPECT_EQ(g_VariableInfoList[0]->m_strValue, "200");
    EXPECT_EQ(RadixTexts(ReadTypedValue(kMemSpaceData, 1, 6), 1),
              (Texts{"0000000011001000", "000000310", "200", "0xC8"}));

    // Writing the variables changes exactly their bytes, and the host copies
    // show them at once.
    ClearTrace();
    const std::vector<uint8_t> before = BoardInternalBytes();
    ASSERT_EQ(WriteEditedVariable("step", "5", "CHAR"), 1);
    ASSERT_EQ(WriteEditedVariable("passes", "0x12", "U_CHAR"), 1);
    ASSERT_EQ(WriteEditedVariable("total", "200", "U_CHAR"), 1);
    EXPECT_EQ(Count(Sent(), adapter::kWrite1), 3u);
    std::map<uint32_t, uint8_t> wanted{{0x08, 0x05}, {0x0A, 0x12}, {0x0B, 200}};
    for (auto it = wanted.begin(); it != wanted.end();)
        it = before[it->first] == it->second ? wanted.erase(it) : std::next(it);
    EXPECT_EQ(Changed(before, BoardInternalBytes()), wanted);
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 1, 0x08), 5u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 1, 0x0A), 0x12u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 1, 0x0B), 200u);
    EXPECT_TRUE(Messages().empty());
}

// --- The real projects ---------------------------------------------------------

// A statement of a real program, by the function holding it and its text;
// its line and address are read from the project.
struct Statement {
    const char* function;
    const char* text;
};

// What each real project's road stops at, by name: a statement of a function
// the program calls on its way, one further down main, the one where values
// are read with the variables read there (the first a local, the second an
// int), and, where Stop's place is checked, the endless main loop (from its
// first statement up to the one after it) with the routine it spends its time
// in. Main's first line, the next line with code (which holds a call), the
// function that call enters and the line after it are read from the project.
struct RealRoad {
    RoadProject project;
    Statement breakAt;
    Statement cursorAt;
    Statement valueAt;
    std::vector<const char*> values;
    Statement loopFrom;
    Statement loopEnd;
    const char* loopRoutine; // null: Stop's place is not checked
};

void PrintTo(const RealRoad& road, std::ostream* out) {
    *out << road.project.label;
}

const RealRoad kRealRoads[] = {
    // main: dc1 = 0, then print_wc(); msdelay of lcd.c; if (eflag == 1) in the main loop.
    {kProt,
     {"msdelay", "for(j=0;j<1275;j++);"},
     {"main", "if(eflag==1)"},
     {"print_wc", "l++;"},
     {"l", "cl", "eflag", "wc", "P1"},
     {"main", "while(1)"},
     {"main", "if(strcheck(pass,ip)==0)"},
     "msdelay"},
    // main: i = 0, then setup(); the end of delay (its closing brace); TR1 = 1 after
    // the two delays.
    {kBlinky,
     {"delay", "}"},
     {"main", "TR1 = 1;"},
     {"main", "TR1 = 1;"},
     {"i", "station", "sysEx"},
     {},
     {},
     nullptr},
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// A statement's line and the address of its first instruction.
struct Place {
    SourcePosition position;
    uint16_t address = 0;
    const std::string& file() const { return position.file; }
    int line() const { return position.line; }
    std::string document() const { return Lower(position.file); }
};

class RealRoadTest : public RoadTest, public ::testing::WithParamInterface<RealRoad> {
protected:
    void SetUp() override {
        RoadTest::SetUp();
        if (!std::filesystem::exists(Folder()))
            GTEST_SKIP() << "the real projects are not beside the repository ("
                         << VEXA_KEIL_FIXTURES << ")";
        std::string why;
        if (!BoardRunsProgram(Folder() + "/" + GetParam().project.projectFile, why))
            GTEST_SKIP() << why;
        ASSERT_TRUE(Open(GetParam().project));
        ASSERT_TRUE(messages->shown.empty()) << Messages().front();
        ReadTheRoad();
        ASSERT_FALSE(HasFailure()) << "the road's places are not all in the project";
    }
    std::string Folder() const {
        return std::string(VEXA_KEIL_FIXTURES) + "/" + GetParam().project.folder;
    }
    Place PlaceOf(const SourcePosition& position) {
        const uint32_t address = AddressOfPosition(position);
        EXPECT_NE(address, kNoAddress) << position.file << ":" << position.line;
        return {position, uint16_t(address)};
    }
    Place PlaceOf(const Statement& statement) {
        const SourcePosition position =
            StatementInFunction(Folder(), statement.function, statement.text);
        EXPECT_NE(position.line, 0) << statement.function << ": " << statement.text;
        return PlaceOf(position);
    }
    // The places of the road, from the opened project.
    void ReadTheRoad() {
        const RealRoad& road = GetParam();
        const uint32_t mainEntry = FunctionEntry("main");
        ASSERT_NE(mainEntry, kNoAddress);
        mainFirst = PlaceOf(PositionOfAddress(mainEntry));
        ASSERT_EQ(mainFirst.address, mainEntry);
        next = PlaceOf({mainFirst.file(), NextLineWithCode(mainFirst.file(), mainFirst.line())});
        firstCallee = CallTarget(DisassemblyText(next.address));
        afterCall = PlaceOf({next.file(), NextLineWithCode(next.file(), next.line())});
        breakAt = PlaceOf(road.breakAt);
        cursor = PlaceOf(road.cursorAt);
        value = PlaceOf(road.valueAt);
        if (road.loopRoutine) {
            loopLow = PlaceOf(road.loopFrom).address;
            loopHigh = PlaceOf(road.loopEnd).address;
            const CSymbolStruct* routine = FindFunctionOfAddress(FunctionEntry(road.loopRoutine));
            ASSERT_NE(routine, nullptr) << road.loopRoutine;
            routineLow = routine->m_dwStart;
            routineHigh = routine->m_dwStart + routine->m_dwLength;
        }
    }
    void LoadAndRunToMain() {
        LoadImage();
        messages->shown.clear();
        ASSERT_EQ(OnDebugRunToCursorLine(mainFirst.file(), mainFirst.line()), 1);
        ASSERT_EQ(Finish().pc, mainFirst.address);
    }
    std::string Document() const { return Lower(ShownDocument()); }

    // main's first line and the next line with code, which calls
    // `firstCallee`; the line after it, where Next over the call stops.
    Place mainFirst, next, afterCall;
    uint16_t firstCallee = 0;
    Place breakAt, cursor, value;
    // Where Stop may find the endless main loop: the loop and the routine it
    // spends its time in (empty ranges when not checked).
    uint32_t loopLow = 0, loopHigh = 0, routineLow = 0, routineHigh = 0;
};

TEST_P(RealRoadTest, ImageCheckImageLoadAndBreakpointsByLine) {
    EXPECT_EQ(AddressOf(breakAt.file(), breakAt.line()), breakAt.address);
    EXPECT_EQ(PositionOfAddress(breakAt.address).line, breakAt.line());
    // The erased board is refused.
    ClearTrace();
    EXPECT_EQ(OnDebugContinue(), 0);
    EXPECT_EQ(Messages(), Texts{kImageMismatchText});
    EXPECT_EQ(Count(Sent(), adapter::kRun), 0u);
    EXPECT_FALSE(g_bTargetBusy);
    messages->shown.clear();
    LoadImage();
    EXPECT_EQ(Messages(), Texts{kFlashWriteOkText});
    messages->shown.clear();

    // Continue from reset stops on the line of the called function.
    ClearTrace();
    ASSERT_EQ(ToggleBreakPointAtLine(breakAt.file(), breakAt.line(), ToggleRoad::kSetBreak,
                                     kBreakLimitText),
              ToggleResult::kSet);
    EXPECT_EQ(Sent(), Bytes({0x64, 0x00, breakAt.address >> 8, breakAt.address & 0xFF}));
    const RunCompletion done = Run(OnDebugContinue);
    EXPECT_TRUE(done.stopped);
    EXPECT_EQ(done.pc, breakAt.address);
    EXPECT_EQ(std::vector<uint8_t>(runReceived.end() - 2, runReceived.end()),
              Bytes({breakAt.address & 0xFF, breakAt.address >> 8}));
    EXPECT_EQ(runSent.back(), adapter::kRun);
    EXPECT_EQ(Document(), breakAt.document());
    EXPECT_EQ(ShownLine(), breakAt.line());
    EXPECT_TRUE(g_bImageVerified);
    EXPECT_FALSE(g_bTargetBusy);

    FillSlotsRefuseTheSeventeenthAndClearAll({breakAt.address}, mainFirst.file(), breakAt.file());
}

TEST_P(RealRoadTest, StepNextStepiNextiAndRunToCursor) {
    LoadAndRunToMain();
    EXPECT_EQ(Document(), mainFirst.document());
    // Step from main's first line over the lines without code.
    RunCompletion done = Run(OnDebugStep);
    EXPECT_EQ(done.pc, next.address);
    EXPECT_EQ(runSent[0], adapter::kReadPc);
    EXPECT_EQ(Count(runSent, adapter::kRun), 0u);
    EXPECT_EQ(ShownLine(), next.line());

    // Step into the call, then back to the call and Next over it.
    ASSERT_NE(DisassemblyText(next.address).find("LCALL"), std::string::npos);
    done = Run(OnDebugStep);
    EXPECT_EQ(done.pc, firstCallee);
    EXPECT_EQ(runSent, Bytes({0x59, 0x5E}));
    EXPECT_EQ(Document(), mainFirst.document());
    EXPECT_FALSE(LineOfAddress(firstCallee).empty());

    LoadAndRunToMain();
    ASSERT_EQ(Run(OnDebugStep).pc, next.address);
    done = Run(OnDebugNext);
    EXPECT_EQ(done.pc, afterCall.address);
    EXPECT_EQ(ShownLine(), afterCall.line());
    EXPECT_EQ(runSent, Bytes({0x59, 0x64, 0x10, afterCall.address >> 8, afterCall.address & 0xFF,
                              0x67, 0x65, 0x10}));

    // Stepi to the next call, Nexti over it to its return address.
    ASSERT_NE(RunOverTheNextCall(OnDebugNexti), 0);

    // Nexti over the next call stops at a user breakpoint where the callee starts.
    const uint16_t nextCall = StepiToCall();
    ASSERT_NE(nextCall, 0);
    const uint16_t callee = CallTarget(DisassemblyText(nextCall));
    ASSERT_EQ(ToggleBreakPointAtAddress(callee, ToggleRoad::kAssembly, kBreakLimitText),
              ToggleResult::kSet);
    done = Run(OnDebugNexti);
    EXPECT_EQ(done.pc, callee);
    EXPECT_EQ(g_BreakAddr[16], kFreeBreakSlot);
    ASSERT_EQ(ToggleBreakPointAtAddress(callee, ToggleRoad::kAssembly, kBreakLimitText),
              ToggleResult::kCleared);

    // Run To Cursor Line further down main.
    done = Run([this] { return OnDebugRunToCursorLine(cursor.file(), cursor.line()); });
    EXPECT_EQ(done.pc, cursor.address);
    EXPECT_EQ(runSent, Bytes({0x59, 0x64, 0x10, cursor.address >> 8, cursor.address & 0xFF, 0x67,
                              0x65, 0x10}));
    EXPECT_EQ(Document(), cursor.document());
    EXPECT_EQ(ShownLine(), cursor.line());
    EXPECT_FALSE(g_bTargetBusy);
    EXPECT_TRUE(Messages().empty());
}

TEST_P(RealRoadTest, ValuesAfterAStopMatchTheCoreThenStopHaltsTheMainLoop) {
    const RealRoad& road = GetParam();
    LoadAndRunToMain();
    ClearTrace();
    ASSERT_EQ(OnDebugRunToCursorLine(value.file(), value.line()), 1);
    const RunCompletion done = Finish();
    ASSERT_EQ(done.pc, value.address);
    EXPECT_EQ(ShownLine(), value.line());

    const std::vector<uint8_t> core = BoardInternalBytes();
    const std::vector<uint8_t> external = BoardExternalBytes();
    ClearVariableInfo();
    for (const char* name : road.values)
        FormatSymbolValue(name);
    ASSERT_EQ(size_t(g_nVariableInfoCount), road.values.size());
    for (const auto& info : g_VariableInfoList) {
        SCOPED_TRACE(info->m_strName);
        // The local is found through the function holding the PC.
        const bool local = info.get() == g_VariableInfoList.front().get();
        const SymbolInfo* symbol = local ? nullptr : LookupSymbol(info->m_strName, kSelectData);
        ASSERT_TRUE(local || symbol);
        const uint32_t address = uint32_t(std::stoul(info->m_strAddress, nullptr, 16));
        const bool inExternal = symbol && symbol->m_nSpace == kMemSpaceXdata;
        const int width = ReadWidthOfType(info->m_strType);
        const uint32_t fromCore = CoreValue(inExternal ? external : core, address, width);
        EXPECT_EQ(info->m_strValue, std::to_string(int32_t(fromCore)));
        const uint32_t read =
            ReadTypedValue(inExternal ? kMemSpaceXdata : kMemSpaceData, width, address);
        EXPECT_EQ(RadixTexts(read, width), RadixTexts(fromCore, width));
    }

    // Writing the int (the second variable) changes exactly its two bytes,
    // high byte first as the compiler stores it.
    const CInfo& integer = *g_VariableInfoList[1];
    ASSERT_EQ(ReadWidthOfType(integer.m_strType), 2);
    const uint32_t at = uint32_t(std::stoul(integer.m_strAddress, nullptr, 16));
    ClearTrace();
    ASSERT_EQ(WriteEditedVariable(integer.m_strName, "0x1234", integer.m_strType), 1);
    EXPECT_EQ(Count(Sent(), adapter::kWrite2), 1u);
    std::map<uint32_t, uint8_t> wanted{{at, 0x12}, {at + 1, 0x34}};
    for (auto it = wanted.begin(); it != wanted.end();)
        it = core[it->first] == it->second ? wanted.erase(it) : std::next(it);
    EXPECT_EQ(Changed(core, BoardInternalBytes()), wanted);
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 2, at), 0x1234u);

    // Continue into the main loop, then Stop.
    ClearTrace();
    ASSERT_EQ(OnDebugContinue(), 1);
    WaitUntilRunning();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(g_bTargetBusy);
    ASSERT_EQ(OnDebugStop(), 1);
    const RunCompletion stopped = Finish();
    EXPECT_TRUE(stopped.stopped);
    EXPECT_FALSE(Board().IsRunning());
    EXPECT_FALSE(g_bTargetBusy);
    EXPECT_EQ(stopped.pc, Board().GetPc());
    EXPECT_EQ(runSent, Bytes({0x67, 0x13}));
    EXPECT_EQ(runReceived, Bytes({stopped.pc & 0xFF, stopped.pc >> 8}));
    if (loopHigh) {
        const bool inLoop = stopped.pc >= loopLow && stopped.pc < loopHigh;
        const bool inRoutine = stopped.pc >= routineLow && stopped.pc < routineHigh;
        EXPECT_TRUE(inLoop || inRoutine) << std::hex << stopped.pc;
    }
    EXPECT_TRUE(Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RealRoadTest, ::testing::ValuesIn(kRealRoads),
                         [](const ::testing::TestParamInfo<RealRoad>& info) {
                             return std::string(info.param.project.label);
                         });

// The image alone: no source lines, so Step and Next move one instruction.
struct ImageOnly {
    RoadProject project;
    // In the example's copy, or below the real projects: the image, and the
    // map that gives main's first instruction.
    const char* hex;
    const char* map;
};

void PrintTo(const ImageOnly& image, std::ostream* out) {
    *out << image.project.label;
}

const ImageOnly kImagesOnly[] = {
    {kExampleM51, "obj/blinky.hex", "lst/blinky.m51"},
    {kProt, "mcp-prot/prot.hex", "mcp-prot/prot.M51"},
};

class ImageOnlyRoadTest : public RoadTest, public ::testing::WithParamInterface<ImageOnly> {};

TEST_P(ImageOnlyRoadTest, StepAndNextMoveOneInstruction) {
    const ImageOnly& image = GetParam();
    std::string hex = image.hex;
    std::string map = image.map;
    if (!image.project.example) {
        hex = std::string(VEXA_KEIL_FIXTURES) + "/" + hex;
        map = std::string(VEXA_KEIL_FIXTURES) + "/" + map;
        if (!std::filesystem::exists(hex))
            GTEST_SKIP() << "the real projects are not beside the repository ("
                         << VEXA_KEIL_FIXTURES << ")";
        std::string why;
        if (!BoardRunsProgram(map, why)) GTEST_SKIP() << why;
    }
    ASSERT_TRUE(OpenImageOnly(image.project, hex));
    EXPECT_TRUE(g_bHexOnly);
    // main's first instruction, from the map beside the image.
    if (image.project.example) map = copy.Path(map);
    const auto parsed = debuginfo_test::ParseMapText(debuginfo_test::ReadWholeFile(map),
                                                     debuginfo_test::MapForm::M51);
    const SymbolInfo* mainSymbol = parsed->table.LookupSymbol("main", kSelectCode);
    ASSERT_NE(mainSymbol, nullptr) << map;
    const uint16_t mainEntry = uint16_t(mainSymbol->m_dwAddress);
    EXPECT_TRUE(LineOfAddress(mainEntry).empty());
    EXPECT_FALSE(IsRunToCursorEnabled());
    LoadImage();
    messages->shown.clear();

    // The reset vector's jump: one Step, one instruction.
    const std::string jump = DisassemblyText(0);
    ASSERT_NE(jump.find("LJMP"), std::string::npos) << jump;
    RunCompletion done = Run(OnDebugStep);
    EXPECT_TRUE(done.stopped);
    EXPECT_EQ(Count(runSent, adapter::kStep), 1u);
    EXPECT_EQ(Count(runSent, adapter::kRun), 0u);
    EXPECT_EQ(done.pc, Board().GetPc());
    EXPECT_NE(jump.find(RecordingPcDisplay::Hex(done.pc).substr(2)), std::string::npos) << jump;
    // Next on an instruction that calls nothing: one instruction too.
    const uint16_t before = done.pc;
    ASSERT_EQ(DisassemblyText(before).find("CALL"), std::string::npos);
    done = Run(OnDebugNext);
    EXPECT_EQ(Count(runSent, adapter::kStep), 1u);
    EXPECT_EQ(Count(runSent, adapter::kRun), 0u);
    EXPECT_NE(done.pc, before);

    // To main on a breakpoint by address, then Stepi to its first call.
    ASSERT_EQ(ToggleBreakPointAtAddress(mainEntry, ToggleRoad::kAssembly, kBreakLimitText),
              ToggleResult::kSet);
    ASSERT_EQ(Run(OnDebugContinue).pc, mainEntry);
    ASSERT_EQ(ToggleBreakPointAtAddress(mainEntry, ToggleRoad::kAssembly, kBreakLimitText),
              ToggleResult::kCleared);
    // Next runs over the call to its return address, as Nexti does.
    ASSERT_NE(RunOverTheNextCall(OnDebugNext), 0);
    // Step at the next call enters it, one instruction.
    const uint16_t second = StepiToCall();
    ASSERT_NE(second, 0);
    done = Run(OnDebugStep);
    EXPECT_EQ(runSent, Bytes({0x5E}));
    EXPECT_NE(done.pc, second + 3);
    EXPECT_NE(DisassemblyText(second).find(RecordingPcDisplay::Hex(done.pc).substr(2)),
              std::string::npos);
    EXPECT_TRUE(Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(ExampleAndProt, ImageOnlyRoadTest, ::testing::ValuesIn(kImagesOnly),
                         [](const ::testing::TestParamInfo<ImageOnly>& info) {
                             return std::string(info.param.project.label);
                         });

INSTANTIATE_TEST_SUITE_P(BothMaps, ExampleRoadTest, ::testing::Values(kExampleM51, kExampleMap),
                         [](const ::testing::TestParamInfo<RoadProject>& info) {
                             return std::string(info.param.label);
                         });

} // namespace
} // namespace road
