// User breakpoints: the slots on the adapter, the records, the address map,
// the markers and the break pane, toggled by source line and by address.
#include "run_program.h"

#include "breakpoint_records.h"
#include "breakpoint_slot_ops.h"
#include "breakpoint_slots.h"
#include "breakpoint_toggle.h"
#include "run_lookups.h"
#include "symbol_lookup.h"
#include "symbol_records.h"
#include "target_flags.h"
#include "target_messages.h"

namespace {

using Texts = std::vector<std::string>;

struct RecordingBreakViews : BreakpointViews {
    Texts calls;
    std::vector<size_t> filledSizes;
    void AddBreakPointMarker(const std::string& file, int line) override {
        calls.push_back("+marker " + file + ":" + std::to_string(line));
    }
    void RemoveBreakPointMarker(const std::string& file, int line) override {
        calls.push_back("-marker " + file + ":" + std::to_string(line));
    }
    int AsmRowOfAddress(uint32_t address) override { return int(address); }
    int SourceRowOfAddress(uint32_t address) override { return int(address) + 1000; }
    void SetCodeListMarkers(int asmRow, int sourceRow, int value) override {
        calls.push_back("rows " + std::to_string(asmRow) + " " + std::to_string(sourceRow) + " = " +
                        std::to_string(value));
    }
    void BlankBreakPane() override { calls.push_back("blank"); }
    void FillBreakWnd(const std::list<CInfo_Break>& records) override {
        calls.push_back("fill " + std::to_string(records.size()));
    }
};

class BreakpointTest : public RunControlTest {
protected:
    void SetUp() override {
        RunControlTest::SetUp();
        SetBreakpointViews(&views);
        // The code symbol of the function lines.
        func.m_strName = "func";
        func.m_dwAddress = prog::kFunc;
        RunControlLookups lookups;
        lookups.lineOfAddress = [](uint32_t address) {
            auto it = ProgramLines().find(address);
            return it == ProgramLines().end() ? std::string() : it->second;
        };
        lookups.addressOfLine = [](const std::string& key) {
            for (const auto& entry : ProgramLines())
                if (entry.second == key) return entry.first;
            return uint32_t(0xFFFFFFFF);
        };
        lookups.codeSymbolOfLine = [this](const std::string& file, int line) {
            return file == "main.c" && line >= 20 ? &func : nullptr;
        };
        SetRunControlLookups(lookups);
        ClearTrace();
    }
    SymbolInfo func;
    RecordingBreakViews views;
};

TEST_F(BreakpointTest, ToggleByLineSetsThenClearsRecordSlotMapAndMarkers) {
    EXPECT_EQ(ToggleBreakPointAtLine("main.c", 21, ToggleRoad::kMargin, kMarginBreakLimitText),
              ToggleResult::kSet);
    ASSERT_EQ(g_BreakList.size(), 1u);
    const CInfo_Break& record = g_BreakList.front();
    EXPECT_EQ(record.m_strFile, "main.c");
    EXPECT_EQ(record.m_nLine, 21);
    EXPECT_EQ(record.m_dwAddress, prog::kRet);
    EXPECT_EQ(record.m_strLabel, "func");
    EXPECT_EQ(record.m_nOffset, 3);
    EXPECT_EQ(record.m_nAsmRow, 0x53);
    EXPECT_EQ(IsBreakAddress(prog::kRet), 1);
    EXPECT_EQ(IsBreakpointAt("main.c", 21), 1);
    EXPECT_EQ(g_BreakAddr[0], prog::kRet);
    uint16_t address = 0;
    EXPECT_EQ(Board().GetBreakpoint(0, &address), 1);
    EXPECT_EQ(address, prog::kRet);
    EXPECT_EQ(views.calls, (Texts{"+marker main.c:21", "rows 83 1083 = 1", "fill 1"}));

    views.calls.clear();
    EXPECT_EQ(ToggleBreakPointAtLine("main.c", 21, ToggleRoad::kMargin, kMarginBreakLimitText),
              ToggleResult::kCleared);
    EXPECT_TRUE(g_BreakList.empty());
    EXPECT_EQ(IsBreakAddress(prog::kRet), 0);
    EXPECT_EQ(g_BreakAddr[0], kFreeBreakSlot);
    EXPECT_EQ(Board().GetBreakpoint(0, &address), 0);
    EXPECT_EQ(views.calls, (Texts{"rows 83 1083 = 0", "-marker main.c:21", "blank", "fill 0"}));
    EXPECT_EQ(Sent(), Bytes({0x64, 0x00, 0x00, 0x53, 0x65, 0x00}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(BreakpointTest, SetBreakTakesTheMarkerOffFirstAndAddressesWithoutLinesAreAsmOnly) {
    ASSERT_EQ(ToggleBreakPointAtLine("main.c", 10, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    EXPECT_EQ(g_BreakList.back().m_strLabel, "-1"); // no symbol holds line 10
    EXPECT_EQ(g_BreakList.back().m_nOffset, prog::kMain);
    views.calls.clear();
    ASSERT_EQ(ToggleBreakPointAtLine("main.c", 10, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kCleared);
    EXPECT_EQ(views.calls.front(), "-marker main.c:10");

    ASSERT_EQ(ToggleBreakPointAtAddress(prog::kNoLine, ToggleRoad::kAssembly, kBreakLimitText),
              ToggleResult::kSet);
    const CInfo_Break& asmOnly = g_BreakList.back();
    EXPECT_EQ(asmOnly.m_strFile, "ONLY_ASM_CODE");
    EXPECT_EQ(asmOnly.m_strLabel, "_BASE_ADDR_");
    EXPECT_EQ(asmOnly.m_nOffset, prog::kNoLine);
    EXPECT_EQ(asmOnly.m_nLine, 0);
    EXPECT_EQ(IsBreakpointAt("ONLY_ASM_CODE", 0), 0);

    // No code on the line: the assembly view takes over; busy or unloaded: nothing.
    EXPECT_EQ(ToggleBreakPointAtLine("main.c", 15, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kNoCode);
    g_bTargetBusy = true;
    EXPECT_EQ(ToggleBreakPointAtAddress(prog::kMain, ToggleRoad::kAssembly, kBreakLimitText),
              ToggleResult::kNotAllowed);
    g_bTargetBusy = false;
    g_bProjectLoaded = false;
    EXPECT_EQ(ToggleBreakPointAtAddress(prog::kMain, ToggleRoad::kAssembly, kBreakLimitText),
              ToggleResult::kNotAllowed);
    EXPECT_EQ(g_BreakList.size(), 1u);
}

TEST_F(BreakpointTest, TheSeventeenthIsRefusedAndFullyUndone) {
    for (uint32_t i = 0; i < 16; ++i)
        ASSERT_EQ(ToggleBreakPointAtAddress(0x100 + i, ToggleRoad::kAssembly, kBreakLimitText),
                  ToggleResult::kSet);
    const std::vector<uint8_t> sentBefore = Sent();
    views.calls.clear();

    EXPECT_EQ(ToggleBreakPointAtLine("main.c", 20, ToggleRoad::kMargin, kMarginBreakLimitText),
              ToggleResult::kRefused);
    EXPECT_EQ(Messages(), Texts{kMarginBreakLimitText});
    EXPECT_EQ(g_BreakList.size(), 16u);
    EXPECT_EQ(IsBreakAddress(prog::kFunc), 0);
    EXPECT_EQ(IsBreakpointAt("main.c", 20), 0);
    EXPECT_EQ(Sent(), sentBefore);
    EXPECT_EQ(views.calls, (Texts{"+marker main.c:20", "rows 80 1080 = 1", "fill 17",
                                  "-marker main.c:20", "rows 80 1080 = 0", "blank", "fill 16"}));
    for (int slot = 16; slot < 18; ++slot)
        EXPECT_EQ(g_BreakAddr[slot], kFreeBreakSlot);
}

TEST_F(BreakpointTest, ClearAllClearsEveryUsedSlotOnTheAdapter) {
    ASSERT_EQ(ToggleBreakPointAtLine("main.c", 20, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    ASSERT_EQ(ToggleBreakPointAtLine("main.c", 14, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    ASSERT_EQ(ToggleBreakPointAtLine("main.c", 20, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kCleared); // slot 0 free again, slot 1 used
    ASSERT_EQ(SetHwBreakPoint(0x0200), 1);
    ClearTrace();
    SetDebuggerPanes(nullptr);
    views.calls.clear();

    EXPECT_EQ(OnDebugClearAllBreaks(), 1);
    EXPECT_EQ(Sent(), Bytes({0x65, 0x01, 0x65, 0x10}));
    for (int32_t slot : g_BreakAddr)
        EXPECT_EQ(slot, kFreeBreakSlot);
    EXPECT_TRUE(g_BreakList.empty());
    EXPECT_TRUE(g_mapBreakAddress.empty());
    EXPECT_EQ(views.calls, (Texts{"-marker main.c:14", "rows 60 1060 = 0", "blank"}));

    // With the panes installed the break pane's remove-all does the records.
    SetDebuggerPanes(&panes);
    EXPECT_EQ(OnDebugClearAllBreaks(), 1);
    EXPECT_EQ(panes.calls, Texts{"RemoveAllBreakPoints"});
}

TEST_F(BreakpointTest, SlotsAreTakenInOrderAndClearingAnUnheldAddressSendsNothing) {
    EXPECT_EQ(ClearBreakPoint(0x1234), 0);
    EXPECT_EQ(ClearHwBreakPoint(0x1234), 0);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(SetHwBreakPoint(0x10), 1);
    EXPECT_EQ(SetHwBreakPoint(0x20), 1);
    EXPECT_EQ(SetHwBreakPoint(0x30), 0); // both internal slots taken
    EXPECT_EQ(Sent(), Bytes({0x64, 0x10, 0x00, 0x10, 0x64, 0x11, 0x00, 0x20}));
    EXPECT_EQ(ClearInternalBreakPoints(), 1);
    EXPECT_EQ(g_BreakAddr[16], kFreeBreakSlot);
    EXPECT_EQ(g_BreakAddr[17], kFreeBreakSlot);
}

TEST_F(BreakpointTest, ClosingTheProjectEmptiesTheListAndTheAddressMap) {
    ASSERT_EQ(ToggleBreakPointAtLine("main.c", 20, ToggleRoad::kSetBreak, kBreakLimitText),
              ToggleResult::kSet);
    ClearBreakPointList();
    EXPECT_TRUE(g_BreakList.empty());
    EXPECT_TRUE(g_mapBreakAddress.empty());
    EXPECT_EQ(views.calls.back(), "blank");
}

} // namespace
