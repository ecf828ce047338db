// Board Reset, Init Debugger and the start of a debug session.
#include "sim_board.h"

#include "breakpoint_slots.h"
#include "debugger_init.h"
#include "host_memory.h"
#include "target_flags.h"
#include "target_messages.h"

namespace {

using Texts = std::vector<std::string>;
using Calls = std::vector<std::string>;

const Calls kRefresh = {"UpdateRegisterWnd",          "FillVariables",      "FillLocalVariables",
                        "UpdateGlobalVariableValues", "RefreshIDataWindow", "UpdateSymbolWnd"};

class DebuggerInitTest : public SimBoardTest {
protected:
    void SetUp() override {
        SimBoardTest::SetUp();
        InstallWindows();
        messages->shown.clear();
        sleeps.clear();
        ClearTrace();
    }

    // The first `count` wire entries as (direction, value).
    std::vector<std::pair<int, int>> Head(size_t count) const {
        std::vector<std::pair<int, int>> head;
        for (const SimBoardWireByte& b : Trace()) {
            if (head.size() == count) break;
            head.emplace_back(b.direction, b.value);
        }
        return head;
    }

    static std::vector<std::pair<int, int>> Pairs(std::initializer_list<int> commands) {
        std::vector<std::pair<int, int>> pairs;
        for (int c : commands) {
            pairs.emplace_back(SIMBOARD_TO_BOARD, c);
            pairs.emplace_back(SIMBOARD_TO_HOST, c);
        }
        return pairs;
    }
};

TEST_F(DebuggerInitTest, BoardResetSendsTheShortHandshakeAndKeepsTheBreakpoints) {
    g_BreakAddr[2] = 0x0123;
    Board().SetPc(0x0456);
    EXPECT_EQ(BoardReset(), 1);

    auto expected = Pairs({0x13, 0x1C, 0x00, 0x02, 0x17});
    expected.emplace_back(SIMBOARD_TO_BOARD, 0x59); // no 0x66
    EXPECT_EQ(Head(11), expected);
    EXPECT_TRUE(sleeps.empty()); // no device reset, no pause
    // 0x17 reset the CPU.
    EXPECT_EQ(pcDisplay.calls, (Calls{"SetCurrentPc 0x0000", "ShowPcInAssembly 0x0000 1"}));
    EXPECT_EQ(panes.calls, kRefresh);
    EXPECT_EQ(Messages(), Texts{kBoardResetOkText});
    EXPECT_EQ(g_BreakAddr[2], 0x0123);
}

TEST_F(DebuggerInitTest, BoardResetWithALostAnswerReportsTheLinkOnly) {
    Board().DropAnswerBytes(1);
    EXPECT_EQ(BoardReset(), 0);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    EXPECT_TRUE(pcDisplay.calls.empty());
    EXPECT_TRUE(panes.calls.empty());

    messages->shown.clear();
    EXPECT_EQ(BoardReset(), 1);
    EXPECT_EQ(Messages(), Texts{kBoardResetOkText});
}

TEST_F(DebuggerInitTest, InitDebuggerFreesEverySlotAndClearsTheBreakpoints) {
    g_BreakAddr[0] = 0x0100;
    g_BreakAddr[16] = 0x0200;
    g_bStopRequest = true;
    Board().SetBreakpoint(0, 1, 0x0100);
    Board().SetBreakpoint(16, 1, 0x0200);
    // Even an adapter whose 0x66 leaves its slots alone ends with none set.
    Board().SetAlternativeMeanings(SIMBOARD_ALT_HANDSHAKE_END_KEEPS_SLOTS);
    EXPECT_EQ(InitDebuggerAndBoardReset(), 1);

    auto expected = Pairs({0x13, 0x1C, 0x00, 0x02, 0x17});
    expected.emplace_back(SIMBOARD_TO_BOARD, 0x66);
    for (int slot = 0; slot < 18; ++slot) {
        expected.emplace_back(SIMBOARD_TO_BOARD, 0x65);
        expected.emplace_back(SIMBOARD_TO_BOARD, slot);
    }
    expected.emplace_back(SIMBOARD_TO_BOARD, 0x59);
    EXPECT_EQ(Head(expected.size()), expected);
    EXPECT_EQ(sleeps, std::vector<unsigned>{150});
    for (int32_t slot : g_BreakAddr)
        EXPECT_EQ(slot, kFreeBreakSlot);
    uint16_t address = 0;
    for (uint32_t slot = 0; slot < 18; ++slot)
        EXPECT_EQ(Board().GetBreakpoint(slot, &address), 0) << slot;
    EXPECT_FALSE(g_bStopRequest);

    Calls expectedPanes = {"RemoveAllBreakPoints"};
    expectedPanes.insert(expectedPanes.end(), kRefresh.begin(), kRefresh.end());
    EXPECT_EQ(panes.calls, expectedPanes);
    EXPECT_EQ(pcDisplay.calls, (Calls{"SetCurrentPc 0x0000", "ShowPcInAssembly 0x0000 1"}));
    EXPECT_EQ(Messages(), Texts{kInitDebuggerOkText});
}

TEST_F(DebuggerInitTest, AFailedInitDebuggerChangesNothing) {
    g_BreakAddr[5] = 0x0777;
    g_bStopRequest = true;
    Board().DropAnswerBytes(3);
    EXPECT_EQ(InitDebuggerAndBoardReset(), 0);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    EXPECT_EQ(g_BreakAddr[5], 0x0777);
    EXPECT_TRUE(g_bStopRequest);
    EXPECT_TRUE(panes.calls.empty());

    messages->shown.clear();
    EXPECT_EQ(InitDebugger(), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(g_BreakAddr[5], kFreeBreakSlot);
}

TEST_F(DebuggerInitTest, StartDebugSessionFillsThePanesAndMarksTheProjectLoaded) {
    struct CheckingPanes : RecordingPanes {
        void RebindOpenDocuments() override {
            loadedAtRebind = g_bProjectLoaded;
            RecordingPanes::RebindOpenDocuments();
        }
        bool loadedAtRebind = false;
    } checking;
    SetDebuggerPanes(&checking);
    const uint8_t value = 0x42;
    Board().WriteMemory(SIMBOARD_IRAM, 0x08, &value, 1);

    StartDebugSession();
    EXPECT_EQ(g_InternalDataImage[0x08], 0x42);
    EXPECT_EQ(pcDisplay.calls, Calls{"CreatePcModel"});
    EXPECT_EQ(checking.calls,
              (Calls{"UpdateRegisterWnd", "InitMemoryWindows", "FillSymbolWnd", "ClearEmulatorRows",
                     "AddSourceFilesToTree", "FillGlobalVariableWnd", "AllowRegisterEdit(1)",
                     "RebindOpenDocuments"}));
    EXPECT_TRUE(g_bProjectLoaded);
    EXPECT_TRUE(checking.loadedAtRebind);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DebuggerInitTest, WithoutWindowsTheOperationsRunHeadless) {
    SetDebuggerPanes(nullptr);
    SetPcDisplay(nullptr);
    SetMainFrameLink(nullptr);
    EXPECT_EQ(BoardReset(), 1);
    EXPECT_EQ(InitDebuggerAndBoardReset(), 1);
    StartDebugSession();
    EXPECT_TRUE(g_bProjectLoaded);
    EXPECT_EQ(Messages(), (Texts{kBoardResetOkText, kInitDebuggerOkText}));
}

} // namespace
