// The memory panes without windows, on the simulated board: reads, the
// buffer each pane shows and the commit of an edited cell.
#include "host_memory.h"
#include "memory_cells.h"
#include "memory_pane.h"
#include "sim_board.h"
#include "target_flags.h"
#include "target_messages.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

class MemoryPaneTest : public SimBoardTest {
protected:
    void SetUp() override {
        SimBoardTest::SetUp();
        g_bProjectLoaded = true;
    }
    static uint8_t BoardByte(int memory, uint32_t address) {
        uint8_t value = 0;
        Board().ReadMemory(memory, address, &value, 1);
        return value;
    }
};

} // namespace

TEST_F(MemoryPaneTest, ExternalReadFromANonZeroStartKeepsItsOwnBlock) {
    std::vector<uint8_t> pattern(0x18);
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = uint8_t(0x30 + 7 * i);
    Board().WriteMemory(SIMBOARD_XDATA, 0x0100, pattern.data(), uint32_t(pattern.size()));
    // The shared copy holds a variable that the refresh after a stop keeps.
    g_ExternalDataImage[0x0001] = 0x5A;
    const auto shared = g_ExternalDataImage;

    MemoryPane pane(MemoryKind::External);
    EXPECT_EQ(pane.RowCount(), 0) << "nothing read yet";
    const MemoryPane::Range range = pane.RangeOfTexts("0x000100", "0x000117");
    ASSERT_EQ(pane.ReadFromTarget(range), MemoryPane::ReadResult::Done);
    EXPECT_EQ(g_ExternalDataImage, shared);
    EXPECT_EQ(pane.View().Base(), 0x0100u);

    // Two rows from the start; the last row's cells past the end are blank.
    const Rows bytes = pane.Rows(kCharCells);
    ASSERT_EQ(bytes.size(), 2u);
    EXPECT_EQ(bytes[0][0], "0x000100 : ");
    EXPECT_EQ(bytes[0][1], "30");
    EXPECT_EQ(bytes[0][16], "99");
    EXPECT_EQ(bytes[1][0], "0x000110 : ");
    EXPECT_EQ(bytes[1][8], "D1");
    EXPECT_EQ(bytes[1][9], "");
    const Rows longs = pane.Rows(kLongCells);
    EXPECT_EQ(longs[1], (std::vector<std::string>{"0x000110 : ", "A0A7AEB5", "BCC3CAD1", "", ""}));
    // Showing another range without a Read still shows the block read.
    pane.Show(0x2000, 0x20FF);
    EXPECT_EQ(pane.Rows(kCharCells), bytes);

    // An edit reaches the board and the pane's block, not the shared copy.
    MemoryPane::Commit commit = pane.CommitCell("a5", kCharCells, 3, bytes[1][0]);
    EXPECT_TRUE(commit.accepted);
    EXPECT_EQ(commit.cellText, "A5");
    EXPECT_EQ(BoardByte(SIMBOARD_XDATA, 0x0112), 0xA5);
    EXPECT_EQ(g_ExternalDataImage, shared);
    // A cell past the block stores nothing and sends nothing.
    ClearTrace();
    commit = pane.CommitCell("77", kCharCells, 9, bytes[1][0]);
    EXPECT_EQ(commit.cellText, "");
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(BoardByte(SIMBOARD_XDATA, 0x0118), 0x00);

    // A block in the flash window at 0xFF0000 is kept at its own base too.
    ASSERT_EQ(pane.ReadFromTarget(pane.RangeOfTexts("0xFF0010", "0xFF001F")),
              MemoryPane::ReadResult::Done);
    commit = pane.CommitCell("12345678", kLongCells, 4, "0xff0010 : ");
    EXPECT_EQ(commit.cellText, "12345678");
    uint8_t stored = 0;
    ASSERT_TRUE(pane.View().Load(0xFF001F, stored));
    EXPECT_EQ(stored, 0x78);
    EXPECT_FALSE(pane.View().Holds(0xFF0020));
}

TEST_F(MemoryPaneTest, ReadChecksGoInOrderAndChangeNothing) {
    MemoryPane pane(MemoryKind::External);
    ClearTrace();
    g_bProjectLoaded = false;
    EXPECT_EQ(pane.ReadFromTarget(pane.RangeOfTexts("0x000000", "0x0000FF")),
              MemoryPane::ReadResult::NotReady);
    g_bProjectLoaded = true;
    g_bTargetBusy = true;
    EXPECT_EQ(pane.ReadFromTarget(pane.RangeOfTexts("0x000000", "0x0000FF")),
              MemoryPane::ReadResult::NotReady);
    g_bTargetBusy = false;
    EXPECT_EQ(pane.ReadFromTarget(pane.RangeOfTexts("0x000010", "0x00000F")),
              MemoryPane::ReadResult::EndBeforeStart);
    EXPECT_EQ(pane.ReadFromTarget(pane.RangeOfTexts("0x000000", "0x010000")),
              MemoryPane::ReadResult::TooBig);
    const MemoryPane::Range wide = pane.RangeOfTexts("0x000000", "0x1000000");
    EXPECT_TRUE(wide.start);
    EXPECT_FALSE(wide.end);
    EXPECT_EQ(pane.ReadFromTarget(wide), MemoryPane::ReadResult::OutOfMemory);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kFlashPaneNotReadyText, kFlashPaneNotReadyText,
                                                    kEndBeforeStartText, kReadTooBigText}));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(pane.RowCount(), 0);

    // Decimal 16 is 0x10; the full 64 KB is read in one go.
    EXPECT_EQ(*pane.RangeOfTexts("16", "0x0000FF").start, 0x10u);
    ASSERT_EQ(pane.ReadFromTarget(pane.RangeOfTexts("0x000000", "0x00FFFF")),
              MemoryPane::ReadResult::Done);
    EXPECT_EQ(pane.RowCount(), 4096);

    // The Flash pane with "Data memory" checked takes 0xFF0000 to 0xFF00FF.
    MemoryPane flash(MemoryKind::Flash);
    flash.SetDataFlash(true);
    EXPECT_FALSE(flash.RangeOfTexts("0xFF0000", "0xFF0100").end);
    EXPECT_TRUE(flash.RangeOfTexts("0xFF0000", "0xFF00FF").IsValid());
}

TEST_F(MemoryPaneTest, CommitsWriteThroughOnlyWhileTheTargetMayBeUsed) {
    MemoryPane idata(MemoryKind::Internal);
    g_InternalDataImage[0x30] = 0x11;
    MemoryPane::Commit commit = idata.CommitCell("3c", kCharCells, 1, RowLabel(0x30));
    EXPECT_EQ(commit.cellText, "3C");
    EXPECT_EQ(g_InternalDataImage[0x30], 0x3C);
    EXPECT_EQ(BoardByte(SIMBOARD_IRAM, 0x30), 0x3C);
    // "1" in column 2 of the 4-byte grid at row 0.
    commit = idata.CommitCell("1", kLongCells, 2, RowLabel(0));
    EXPECT_EQ(commit.cellText, "00000001");
    std::array<uint8_t, 4> board{};
    Board().ReadMemory(SIMBOARD_IRAM, 4, board.data(), 4);
    EXPECT_EQ(board, (std::array<uint8_t, 4>{0, 0, 0, 1}));
    // The last SFR byte goes to the SFR space like the others.
    idata.CommitCell("5A", kIntCells, 8, RowLabel(0xF0));
    EXPECT_EQ(BoardByte(SIMBOARD_SFR, 0xFF), 0x5A);
    EXPECT_EQ(BoardByte(SIMBOARD_SFR, 0xFE), 0x00);

    // Refused: target running, no project, no hexadecimal digits. The cell
    // shows the memory again and nothing is sent.
    ClearTrace();
    g_bTargetBusy = true;
    commit = idata.CommitCell("99", kCharCells, 1, RowLabel(0x30));
    EXPECT_FALSE(commit.accepted);
    EXPECT_EQ(commit.cellText, "3C");
    g_bTargetBusy = false;
    g_bProjectLoaded = false;
    EXPECT_EQ(idata.CommitCell("99", kCharCells, 1, RowLabel(0x30)).cellText, "3C");
    g_bProjectLoaded = true;
    EXPECT_EQ(idata.CommitCell("9z", kCharCells, 1, RowLabel(0x30)).cellText, "3C");
    EXPECT_EQ(g_InternalDataImage[0x30], 0x3C);
    EXPECT_TRUE(Sent().empty());

    // The Flash pane stores into the flash image, or with "Data memory" into
    // the data-flash buffer, and sends nothing before its Write.
    MemoryPane flash(MemoryKind::Flash);
    flash.Show(0xFF0000, 0xFFFFFF);
    EXPECT_EQ(flash.CommitCell("42", kCharCells, 1, RowLabel(0xFF0010)).cellText, "42");
    EXPECT_EQ(g_CodeFlashImage[0x10], 0x42);
    flash.SetDataFlash(true);
    flash.Show(0xFF0000, 0xFF00FF);
    EXPECT_EQ(flash.CommitCell("43", kCharCells, 1, RowLabel(0xFF0010)).cellText, "43");
    EXPECT_EQ(g_DataFlashBuffer[0x10], 0x43);
    EXPECT_EQ(g_CodeFlashImage[0x10], 0x42);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(MemoryPaneTest, CodeReadShowsTheRangeAskedWithItsLastPartialRow) {
    std::vector<uint8_t> code(0x60);
    for (size_t i = 0; i < code.size(); ++i)
        code[i] = uint8_t(0xFF - i);
    Board().WriteMemory(SIMBOARD_CODE_FLASH, 0, code.data(), uint32_t(code.size()));
    MemoryPane pane(MemoryKind::Code);
    ASSERT_EQ(pane.ReadFromTarget(MemoryPane::Range()), MemoryPane::ReadResult::Done);
    const MemoryPane::Range range = pane.RangeOfTexts("0x000000", "0x54");
    ASSERT_TRUE(range.IsValid());
    pane.Show(*range.start, *range.end);
    const Rows rows = pane.Rows(kIntCells);
    ASSERT_EQ(rows.size(), 6u);
    // The cell of 0x54 shows 0x55 too; the cells from 0x56 on are blank.
    EXPECT_EQ(rows[5], (std::vector<std::string>{"0x000050 : ", "AFAE", "ADAC", "ABAA", "", "", "",
                                                 "", ""}));
    EXPECT_TRUE(pane.RangeOfTexts("0x000000", "0x10000").start);
    EXPECT_FALSE(pane.RangeOfTexts("0x000000", "0x10000").end);
}
