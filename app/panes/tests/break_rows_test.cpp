// The break pane's row texts, its selected record and its remove commands on
// the records and the simulated board's slots.
#include "sim_board.h"

#include "break_rows.h"
#include "breakpoint_slot_ops.h"
#include "breakpoint_slots.h"
#include "symbol_lookup.h"

namespace {

CInfo_Break Record(const std::string& file, const std::string& label, int offset, int line,
                   uint32_t address) {
    CInfo_Break record;
    record.m_strFile = file;
    record.m_strLabel = label;
    record.m_nOffset = offset;
    record.m_nLine = line;
    record.m_dwAddress = address;
    record.m_nAsmRow = 17;
    record.m_nSourceRow = 30;
    return record;
}

struct PaneRows : BreakpointViews {
    std::vector<std::string> names;
    std::vector<std::string> marks;
    void AddBreakPointMarker(const std::string&, int) override {}
    void RemoveBreakPointMarker(const std::string&, int) override {}
    int AsmRowOfAddress(uint32_t) override { return -1; }
    int SourceRowOfAddress(uint32_t) override { return -1; }
    void SetCodeListMarkers(int asmRow, int, int value) override {
        marks.push_back(std::to_string(asmRow) + "=" + std::to_string(value));
    }
    void BlankBreakPane() override { names.clear(); }
    void FillBreakWnd(const std::list<CInfo_Break>& records) override {
        for (const CInfo_Break& record : records)
            names.push_back(BreakRowName(record, false));
    }
};

bool SlotHolds(uint32_t slot, uint16_t address) {
    uint16_t held = 0;
    return Board().GetBreakpoint(slot, &held) == 1 && held == address;
}

} // namespace

TEST(BreakRows, TextsOfSourceAndAssemblyOnlyBreakpoints) {
    const CInfo_Break source = Record("main.c", "main", 6, 42, 0x0123);
    EXPECT_EQ(BreakRowName(source, false), "main.c , Line : 42");
    EXPECT_EQ(BreakRowName(source, true), "main.c , Line : 42");
    EXPECT_EQ(BreakRowLabel(source), "main + 6");
    const CInfo_Break asmOnly = Record(kAsmOnlyFile, kBaseAddressLabel, 0x0456, 0, 0x0456);
    EXPECT_EQ(BreakRowName(asmOnly, true), "ONLY_ASM_CODE , Line : 17");
    EXPECT_EQ(BreakRowName(asmOnly, false), "ONLY_ASM_CODE , Line : 30");
    EXPECT_EQ(BreakRowLabel(asmOnly), "_BASE_ADDR_ + 1110");
    EXPECT_EQ(BreakRowLabel(Record("util.c", kNoLabel, 0x20, 3, 0x20)), "-1 + 32");
}

class BreakPaneCommands : public SimBoardTest {
protected:
    void SetUp() override {
        SimBoardTest::SetUp();
        g_BreakList.clear();
        g_mapBreakAddress.clear();
        SetBreakpointViews(&rows);
        for (const CInfo_Break& record :
             {Record("main.c", "main", 0, 10, 0x0100), Record("main.c", "main", 4, 11, 0x0104),
              Record(kAsmOnlyFile, kBaseAddressLabel, 0x0200, 0, 0x0200)}) {
            g_BreakList.push_back(record);
            g_mapBreakAddress[record.m_dwAddress] = 1;
            ASSERT_EQ(SetBreakPoint(record.m_dwAddress), 1);
        }
    }
    void TearDown() override {
        SetBreakpointViews(nullptr);
        g_BreakList.clear();
        g_mapBreakAddress.clear();
        SimBoardTest::TearDown();
    }
    PaneRows rows;
};

TEST_F(BreakPaneCommands, RemoveTakesTheSelectedRecordAndItsSlot) {
    EXPECT_EQ(SelectedBreakRecord(-1), nullptr);
    // A blank row below the last record designates nothing.
    EXPECT_EQ(SelectedBreakRecord(3), nullptr);
    EXPECT_EQ(SelectedBreakRecord(49), nullptr);
    ASSERT_NE(SelectedBreakRecord(1), nullptr);
    EXPECT_EQ(SelectedBreakRecord(1)->m_dwAddress, 0x0104u);

    RemoveBreakRecord(*SelectedBreakRecord(1));
    ASSERT_EQ(g_BreakList.size(), 2u);
    EXPECT_EQ(rows.names,
              (std::vector<std::string>{"main.c , Line : 10", "ONLY_ASM_CODE , Line : 30"}));
    EXPECT_EQ(rows.marks, std::vector<std::string>{"17=0"});
    EXPECT_EQ(IsBreakAddress(0x0104), 0);
    EXPECT_FALSE(SlotHolds(1, 0x0104)) << "the slot is free on the board";
    EXPECT_TRUE(SlotHolds(0, 0x0100));
    EXPECT_TRUE(SlotHolds(2, 0x0200));
    EXPECT_EQ(g_BreakAddr[1], kFreeBreakSlot);
}

TEST_F(BreakPaneCommands, RemoveAllFreesEverySlotTheInternalOnesToo) {
    ASSERT_EQ(SetHwBreakPoint(0x0300), 1);
    while (const CInfo_Break* last = SelectedBreakRecord(int(g_BreakList.size()) - 1))
        RemoveBreakRecord(*last);
    FinishRemoveAllBreakPoints();
    EXPECT_TRUE(rows.names.empty());
    EXPECT_TRUE(g_mapBreakAddress.empty());
    for (uint32_t slot = 0; slot < 18; ++slot) {
        uint16_t held = 0;
        EXPECT_EQ(Board().GetBreakpoint(slot, &held), 0) << slot;
        EXPECT_EQ(g_BreakAddr[slot], kFreeBreakSlot) << slot;
    }
    EXPECT_TRUE(Messages().empty());
}
