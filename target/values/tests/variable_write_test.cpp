// Variable writes from an edited Value cell on the simulated board: the wire,
// the board's memory, the host copy and the rows afterwards.
#include "sim_board.h"
#include "variable_symbols.h"

#include "fake_source_views.h"
#include "host_memory.h"
#include "pc_model.h"
#include "target_flags.h"
#include "target_messages.h"
#include "target_protocol.h"
#include "variable_write.h"

#include <map>

namespace {

using Texts = std::vector<std::string>;

struct EditedList : EditedVariableList {
    std::string GetItemText(int row, int column) const override {
        auto it = cells.find({row, column});
        return it == cells.end() ? std::string() : it->second;
    }
    void SetItemText(int row, int column, const std::string& text) override {
        cells[{row, column}] = text;
    }
    int EditedRow() const override { return row; }
    int EditedColumn() const override { return column; }
    int GetSelectionMark() const override { return mark; }
    void SetRowSelected(int r, bool selected) override {
        selections.push_back((selected ? "select " : "deselect ") + std::to_string(r));
    }
    // A row as the global-variable pane shows it.
    void AddRow(int r, const std::string& name, const std::string& value, const std::string& type) {
        cells[{r, 0}] = name;
        cells[{r, 1}] = value;
        cells[{r, 2}] = type;
    }
    // The edit of a Value cell just committed.
    void Edit(int r, const std::string& text) {
        cells[{r, 1}] = text;
        row = r;
        column = 1;
        mark = r;
    }

    std::map<std::pair<int, int>, std::string> cells;
    int row = 0;
    int column = 1;
    int mark = 0;
    Texts selections;
};

std::vector<uint8_t> BoardMemory(int memory, uint32_t address, uint32_t count) {
    std::vector<uint8_t> bytes(count);
    bytes.resize(Board().ReadMemory(memory, address, bytes.data(), count));
    return bytes;
}

class VariableWriteTest : public SimBoardTest {
protected:
    void SetUp() override {
        SimBoardTest::SetUp();
        StartSymbolTables();
        ClearVariableInfo();
        g_bProjectLoaded = true;
        UpdateCodeRange(0x0100, 0x20);
        // A recognisable pattern everywhere, so a byte written too many shows.
        std::vector<uint8_t> pattern(0x100);
        for (size_t i = 0; i < pattern.size(); ++i)
            pattern[i] = uint8_t(0xA0 ^ i);
        Board().WriteMemory(SIMBOARD_IRAM, 0, pattern.data(), 0x80);
        Board().WriteMemory(SIMBOARD_SFR, 0x80, pattern.data() + 0x80, 0x80);
        Board().WriteMemory(SIMBOARD_XDATA, 0x0100, pattern.data(), 0x20);

        Add(0, MakeVariable("flag", 0x21, "CHAR", 1, kMemSpaceData), "CHAR");
        Add(1, MakeVariable("count", 0x22, "INT", 2, kMemSpaceData), "INT");
        Add(2, MakeVariable("total", 0x30, "LONG", 4, kMemSpaceData), "LONG");
        Add(3, MakeVariable("DPTR", 0x82, "U_INT", 2, kMemSpaceSfr, "SFRSYM"), "U_INT");
        Add(4, MakeVariable("samples", 0x0104, "U_LONG", 4, kMemSpaceXdata), "U_LONG");
        Add(5, MakeVariable("port", 0x90, "U_CHAR", 1, kMemSpaceSfr, "SFRSYM"), "UCHAR");

        SetPcDisplay(&m_display);
        m_display.CreatePcModel();
        m_display.SetCurrentPc(0);
        for (int r = 0; r < 6; ++r)
            FormatSymbolValue(list.GetItemText(r, 0).c_str());
        ReadMemoryImages();
        ClearTrace();
        m_iramBefore = BoardMemory(SIMBOARD_IRAM, 0, 0x80);
        m_sfrBefore = BoardMemory(SIMBOARD_SFR, 0x80, 0x80);
        m_xdataBefore = BoardMemory(SIMBOARD_XDATA, 0x0100, 0x20);
    }
    void TearDown() override {
        SetPcDisplay(nullptr);
        ClearVariableInfo();
        DropSymbolTables();
        ResetXdataRange();
        SimBoardTest::TearDown();
    }
    void Add(int r, const SymbolInfo& symbol, const std::string& type) {
        EnterDataSymbol(symbol);
        list.AddRow(r, symbol.m_strName, "", type);
    }
    // The board's bytes that differ from before, by address.
    std::map<uint32_t, uint8_t> ChangedBytes() const {
        std::map<uint32_t, uint8_t> changed;
        auto compare = [&changed](const std::vector<uint8_t>& before,
                                  const std::vector<uint8_t>& now, uint32_t base) {
            for (size_t i = 0; i < now.size(); ++i)
                if (now[i] != before[i]) changed[base + uint32_t(i)] = now[i];
        };
        compare(m_iramBefore, BoardMemory(SIMBOARD_IRAM, 0, 0x80), 0);
        compare(m_sfrBefore, BoardMemory(SIMBOARD_SFR, 0x80, 0x80), 0x80);
        compare(m_xdataBefore, BoardMemory(SIMBOARD_XDATA, 0x0100, 0x20), 0x10100);
        return changed;
    }
    // The wire bytes of one value write.
    // A multi-byte value is read back after its command.
    static std::vector<uint8_t> WriteBytes(int space, uint32_t address,
                                           std::initializer_list<int> command) {
        std::vector<uint8_t> bytes = SelectBytes(space, address);
        Append(bytes, Bytes(command));
        if (command.size() > 2) {
            Append(bytes, SelectBytes(space, address));
            Append(bytes, Bytes({0x54, int(command.size()) - 1}));
        }
        return bytes;
    }
    // The host copies as a fresh read from the board gives them.
    void ExpectHostCopiesMatchTheBoard() {
        const auto iram = g_InternalDataImage;
        const auto xdata = g_ExternalDataImage;
        ReadMemoryImages();
        EXPECT_TRUE(iram == g_InternalDataImage);
        EXPECT_TRUE(xdata == g_ExternalDataImage);
    }

    EditedList list;
    FakeSourceViews m_views;
    PcModelDisplay m_display{m_views, [](uint16_t, int) {}};
    std::vector<uint8_t> m_iramBefore;
    std::vector<uint8_t> m_sfrBefore;
    std::vector<uint8_t> m_xdataBefore;
};

TEST_F(VariableWriteTest, CharIntAndLongChangeExactlyTheirBytes) {
    list.Edit(0, "0x7F");
    WriteVariableValue(list);
    EXPECT_EQ(Sent(), WriteBytes(1, 0x21, {0x55, 0x7F}));
    EXPECT_EQ(ChangedBytes(), (std::map<uint32_t, uint8_t>{{0x21, 0x7F}}));
    EXPECT_EQ(list.GetItemText(0, 1), "127");

    ClearTrace();
    list.Edit(1, "300");
    WriteVariableValue(list);
    EXPECT_EQ(Sent(), WriteBytes(1, 0x22, {0x56, 0x2C, 0x01}));
    EXPECT_EQ(ChangedBytes(),
              (std::map<uint32_t, uint8_t>{{0x21, 0x7F}, {0x22, 0x01}, {0x23, 0x2C}}));
    EXPECT_EQ(list.GetItemText(1, 1), "300");

    ClearTrace();
    list.Edit(2, "70000");
    WriteVariableValue(list);
    EXPECT_EQ(Sent(), WriteBytes(1, 0x30, {0x57, 0x70, 0x11, 0x01, 0x00}));
    EXPECT_EQ(ChangedBytes(), (std::map<uint32_t, uint8_t>{{0x21, 0x7F},
                                                           {0x22, 0x01},
                                                           {0x23, 0x2C},
                                                           {0x30, 0x00},
                                                           {0x31, 0x01},
                                                           {0x32, 0x11},
                                                           {0x33, 0x70}}));
    // Every row shows the value its symbol now holds, and the host copies
    // hold what a fresh read from the board gives.
    EXPECT_EQ(list.GetItemText(0, 1), "127");
    EXPECT_EQ(list.GetItemText(2, 1), "70000");
    EXPECT_EQ(list.GetItemText(2, 2), "LONG");
    EXPECT_EQ(list.GetItemText(2, 3), "0x30");
    ExpectHostCopiesMatchTheBoard();
    EXPECT_TRUE(Messages().empty());
}

TEST_F(VariableWriteTest, SfrAndExternalDataWrites) {
    list.Edit(3, "0x1234");
    WriteVariableValueAndRefresh(list);
    EXPECT_EQ(Sent(), WriteBytes(8, 0x82, {0x56, 0x12, 0x34}));
    EXPECT_EQ(ChangedBytes(), (std::map<uint32_t, uint8_t>{{0x82, 0x34}, {0x83, 0x12}}));
    EXPECT_EQ(list.GetItemText(3, 1), "4660");

    ClearTrace();
    list.Edit(4, "0xDEADBEEF");
    WriteVariableValueAndRefresh(list);
    EXPECT_EQ(Sent(), WriteBytes(2, 0x0104, {0x57, 0xEF, 0xBE, 0xAD, 0xDE}));
    const auto changed = ChangedBytes();
    EXPECT_EQ(changed.size(), 6u);
    EXPECT_EQ(BoardMemory(SIMBOARD_XDATA, 0x0104, 4), Bytes({0xDE, 0xAD, 0xBE, 0xEF}));
    EXPECT_EQ(list.GetItemText(4, 1), "3735928559");

    // "UCHAR" is one byte.
    ClearTrace();
    list.Edit(5, "255");
    WriteVariableValueAndRefresh(list);
    EXPECT_EQ(Sent(), WriteBytes(8, 0x90, {0x55, 0xFF}));
    EXPECT_EQ(ChangedBytes().size(), 7u);
    ExpectHostCopiesMatchTheBoard();
}

TEST_F(VariableWriteTest, NeverMoreBytesThanTheSymbolHolds) {
    // A row whose type cell claims more than the listing's size.
    EnterDataSymbol(MakeVariable("narrow", 0x40, "NONE", 1, kMemSpaceData));
    EnterDataSymbol(MakeVariable("pair", 0x44, "NONE", 3, kMemSpaceData));
    EnterDataSymbol(MakeVariable("unsized", 0x48, "NONE", 0, kMemSpaceData));
    list.AddRow(6, "narrow", "", "LONG");
    list.AddRow(7, "pair", "", "DWORD");
    list.AddRow(8, "unsized", "", "NONE");

    list.Edit(6, "0x1234");
    WriteVariableValue(list);
    EXPECT_EQ(Sent(), WriteBytes(1, 0x40, {0x55, 0x34}));
    ClearTrace();
    list.Edit(7, "0x123456");
    WriteVariableValue(list);
    EXPECT_EQ(Sent(), WriteBytes(1, 0x44, {0x56, 0x56, 0x34}));
    ClearTrace();
    // An unknown size leaves the width of the type name.
    list.Edit(8, "1");
    WriteVariableValue(list);
    EXPECT_EQ(Sent(), WriteBytes(1, 0x48, {0x57, 0x01, 0x00, 0x00, 0x00}));
    EXPECT_EQ(ChangedBytes(), (std::map<uint32_t, uint8_t>{{0x40, 0x34},
                                                           {0x44, 0x34},
                                                           {0x45, 0x56},
                                                           {0x48, 0x00},
                                                           {0x49, 0x00},
                                                           {0x4A, 0x00},
                                                           {0x4B, 0x01}}));
    ExpectHostCopiesMatchTheBoard();
}

TEST_F(VariableWriteTest, KeyboardCommitMovesTheSelectionOnly) {
    InstallWindows();
    list.Edit(1, "7");
    list.mark = 1;
    WriteVariableValue(list);
    EXPECT_EQ(list.selections, (Texts{"deselect 1", "select 2"}));
    EXPECT_TRUE(panes.calls.empty());
}

TEST_F(VariableWriteTest, MouseCommitRefreshesThePanesInOrder) {
    InstallWindows();
    list.Edit(1, "7");
    WriteVariableValueAndRefresh(list);
    EXPECT_EQ(panes.calls, (Texts{"UpdateGlobalVariableValues", "FillVariables",
                                  "FillLocalVariables", "RefreshIDataWindow"}));
    EXPECT_TRUE(list.selections.empty());
    // Editing another column writes nothing but refreshes all the same.
    panes.calls.clear();
    ClearTrace();
    list.column = 2;
    WriteVariableValueAndRefresh(list);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(panes.calls.size(), 4u);
}

TEST_F(VariableWriteTest, WhatWritesNothing) {
    InstallWindows();
    // Rows show the stale text until they are rewritten.
    list.cells[{0, 1}] = "stale";

    // No project, or a worker owns the target: nothing at all.
    g_bProjectLoaded = false;
    list.Edit(2, "5");
    WriteVariableValueAndRefresh(list);
    g_bProjectLoaded = true;
    g_bTargetBusy = true;
    WriteVariableValue(list);
    g_bTargetBusy = false;
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(panes.calls.empty());
    EXPECT_TRUE(list.selections.empty());
    EXPECT_EQ(list.GetItemText(0, 1), "stale");

    // A name that is no data symbol: no write, no refresh, the typed text stays.
    list.AddRow(9, "local_only", "", "INT");
    list.Edit(9, "5");
    WriteVariableValueAndRefresh(list);
    WriteVariableValue(list);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(panes.calls.empty());
    EXPECT_TRUE(list.selections.empty());
    EXPECT_EQ(list.GetItemText(9, 1), "5");

    // Texts that are no number write nothing; the rows show the values held.
    for (const char* text : {"0x1G", "0x 12", "", "abc", "0x"}) {
        list.Edit(2, text);
        WriteVariableValue(list);
        EXPECT_TRUE(Sent().empty()) << text;
        EXPECT_EQ(list.GetItemText(2, 1), "2425459347") << text; // 0x90919293 as it was
    }
    EXPECT_EQ(list.GetItemText(0, 1), "129");
    EXPECT_TRUE(ChangedBytes().empty());
    EXPECT_TRUE(Messages().empty());
}

TEST(EditedValueText, HexInEitherCaseOrAWholeDecimalNumber) {
    uint32_t value = 0;
    EXPECT_TRUE(ValueOfEditedText("0X1F", value));
    EXPECT_EQ(value, 31u);
    EXPECT_TRUE(ValueOfEditedText(" 15 ", value));
    EXPECT_EQ(value, 15u);
    EXPECT_TRUE(ValueOfEditedText("-1", value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
    value = 7;
    for (const char* text : {"abc", "0X", "12abc", "+", "1 2", "0xZZ", "  ", "1.5"})
        EXPECT_FALSE(ValueOfEditedText(text, value)) << text;
    EXPECT_EQ(value, 7u);
}

TEST_F(VariableWriteTest, LinkFailureLeavesTheHostCopyAndStillRewritesRows) {
    const auto before = g_InternalDataImage;
    Board().ZeroWrites(3); // the space byte never leaves the host
    list.Edit(1, "0x0102");
    WriteVariableValue(list);
    EXPECT_EQ(Messages(), (Texts{kUsbErrorText}));
    EXPECT_TRUE(before == g_InternalDataImage);
    EXPECT_EQ(list.GetItemText(1, 1), std::to_string((0xA0 ^ 0x22) << 8 | (0xA0 ^ 0x23)));
    EXPECT_EQ(list.selections, (Texts{"deselect 1", "select 2"}));
}

} // namespace
