// The memory panes without windows, on the simulated board: reads, the
// buffer each pane shows and the commit of an edited cell.
#include "host_memory.h"
#include "memory_cells.h"
#include "memory_pane.h"
#include "sim_board.h"
#include "target_flags.h"
#include "target_messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;
using Result = MemoryPane::ReadResult;

class MemoryPaneTest : public SimBoardTest {
protected:
    void SetUp() override {
        SimBoardTest::SetUp();
        g_bProjectLoaded = true;
    }
    static std::vector<uint8_t> BoardBytes(int memory, uint32_t address, uint32_t count = 1) {
        std::vector<uint8_t> bytes(count);
        Board().ReadMemory(memory, address, bytes.data(), count);
        return bytes;
    }
};

} // namespace

TEST_F(MemoryPaneTest, ExternalReadFromANonZeroStartKeepsItsOwnBlock) {
    std::vector<uint8_t> pattern(0x18);
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = uint8_t(0x30 + 7 * i);
    Board().WriteMemory(SIMBOARD_XDATA, 0x0100, pattern.data(), uint32_t(pattern.size()));
    g_ExternalDataImage[0x0001] = 0x5A; // a variable the stop refresh keeps here
    const auto shared = g_ExternalDataImage;

    MemoryPane pane(MemoryKind::External);
    ASSERT_EQ(pane.ReadFromTarget(pane.RangeOfTexts("0x000100", "0x000117")), Result::Done);
    EXPECT_EQ(g_ExternalDataImage, shared);
    // Rows from the start; cells past the end are blank, in every width.
    const auto bytes = pane.Rows(kCharCells);
    ASSERT_EQ(bytes.size(), 2u);
    EXPECT_EQ(Texts(bytes[0].begin(), bytes[0].begin() + 3), (Texts{"0x000100 : ", "30", "37"}));
    EXPECT_EQ(Texts(bytes[1].begin() + 7, bytes[1].begin() + 10), (Texts{"CA", "D1", ""}));
    EXPECT_EQ(pane.Rows(kLongCells)[1], (Texts{"0x000110 : ", "A0A7AEB5", "BCC3CAD1", "", ""}));
    // Another range without a Read still shows the block read, where it was read.
    pane.Show(0x2000, 0x20FF);
    EXPECT_EQ(pane.Rows(kCharCells), bytes);

    // An edit reaches the board and the pane's block, not the shared copy;
    // a cell past the block takes nothing.
    EXPECT_EQ(pane.CommitCell("a5", kCharCells, 3, bytes[1][0]).cellText, "A5");
    EXPECT_EQ(BoardBytes(SIMBOARD_XDATA, 0x0112)[0], 0xA5);
    EXPECT_EQ(g_ExternalDataImage, shared);
    ClearTrace();
    EXPECT_EQ(pane.CommitCell("77", kCharCells, 9, bytes[1][0]).cellText, "");
    EXPECT_TRUE(Sent().empty());

    // A 24-bit block (the flash window) is kept at its own base too.
    ASSERT_EQ(pane.ReadFromTarget(pane.RangeOfTexts("0xFF0010", "0xFF001F")), Result::Done);
    EXPECT_EQ(pane.CommitCell("12345678", kLongCells, 4, "0xff0010 : ").cellText, "12345678");
    uint8_t stored = 0;
    EXPECT_TRUE(pane.View().Load(0xFF001F, stored));
    EXPECT_EQ(stored, 0x78);
    EXPECT_FALSE(pane.View().Holds(0xFF0020));
}

TEST_F(MemoryPaneTest, ReadChecksComeInOrderAndChangeNothing) {
    MemoryPane pane(MemoryKind::External);
    ClearTrace();
    g_bTargetBusy = true;
    EXPECT_EQ(pane.ReadFromTarget(pane.RangeOfTexts("0x000000", "0x1000000")), Result::NotReady);
    g_bTargetBusy = false;
    EXPECT_EQ(pane.ReadFromTarget(pane.RangeOfTexts("0x000000", "0x1000000")), Result::OutOfMemory);
    EXPECT_EQ(pane.ReadFromTarget(pane.RangeOfTexts("0x000010", "0x00000F")),
              Result::EndBeforeStart);
    EXPECT_EQ(pane.ReadFromTarget(pane.RangeOfTexts("0x000000", "0x010000")), Result::TooBig);
    EXPECT_EQ(Messages(), (Texts{kFlashPaneNotReadyText, kEndBeforeStartText, kReadTooBigText}));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(pane.RowCount(), 0);
    ASSERT_EQ(pane.ReadFromTarget(pane.RangeOfTexts("0", "0x00FFFF")), Result::Done);
    EXPECT_EQ(pane.RowCount(), 4096);
}

TEST_F(MemoryPaneTest, CommitsWriteThroughOnlyWhileTheTargetMayBeUsed) {
    MemoryPane idata(MemoryKind::Internal);
    EXPECT_EQ(idata.CommitCell("3c", kCharCells, 1, RowLabel(0x30)).cellText, "3C");
    EXPECT_EQ(g_InternalDataImage[0x30], 0x3C);
    // "1" in column 2 of the 4-byte grid at row 0; the last SFR is an SFR.
    EXPECT_EQ(idata.CommitCell("1", kLongCells, 2, RowLabel(0)).cellText, "00000001");
    idata.CommitCell("5A", kIntCells, 8, RowLabel(0xF0));
    EXPECT_EQ(BoardBytes(SIMBOARD_IRAM, 0x30)[0], 0x3C);
    EXPECT_EQ(BoardBytes(SIMBOARD_IRAM, 4, 4), (std::vector<uint8_t>{0, 0, 0, 1}));
    EXPECT_EQ(BoardBytes(SIMBOARD_SFR, 0xFE, 2), (std::vector<uint8_t>{0x00, 0x5A}));

    // Refused (target running, no project, no hexadecimal digits): the cell
    // shows the memory again and nothing is sent.
    ClearTrace();
    g_bTargetBusy = true;
    EXPECT_FALSE(idata.CommitCell("99", kCharCells, 1, RowLabel(0x30)).accepted);
    g_bTargetBusy = false;
    g_bProjectLoaded = false;
    EXPECT_EQ(idata.CommitCell("99", kCharCells, 1, RowLabel(0x30)).cellText, "3C");
    g_bProjectLoaded = true;
    EXPECT_EQ(idata.CommitCell("9z", kCharCells, 1, RowLabel(0x30)).cellText, "3C");

    // The Flash pane stores into the flash image, or with "Data memory" into
    // the data-flash buffer, and sends nothing before its Write.
    MemoryPane flash(MemoryKind::Flash);
    flash.Show(0xFF0000, 0xFFFFFF);
    EXPECT_EQ(flash.CommitCell("42", kCharCells, 1, RowLabel(0xFF0010)).cellText, "42");
    flash.SetDataFlash(true);
    EXPECT_FALSE(flash.RangeOfTexts("0xFF0000", "0xFF0100").end);
    flash.Show(0xFF0000, 0xFF00FF);
    EXPECT_EQ(flash.CommitCell("43", kCharCells, 1, RowLabel(0xFF0010)).cellText, "43");
    EXPECT_EQ(g_CodeFlashImage[0x10], 0x42);
    EXPECT_EQ(g_DataFlashBuffer[0x10], 0x43);
    EXPECT_EQ(g_InternalDataImage[0x30], 0x3C);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(MemoryPaneTest, CodeReadShowsTheRangeAskedWithItsLastPartialRow) {
    std::vector<uint8_t> code(0x60);
    for (size_t i = 0; i < code.size(); ++i)
        code[i] = uint8_t(0xFF - i);
    Board().WriteMemory(SIMBOARD_CODE_FLASH, 0, code.data(), uint32_t(code.size()));
    MemoryPane pane(MemoryKind::Code);
    ASSERT_EQ(pane.ReadFromTarget(MemoryPane::Range()), Result::Done);
    EXPECT_FALSE(pane.RangeOfTexts("0x000000", "0x10000").IsValid());
    const MemoryPane::Range range = pane.RangeOfTexts("0x000000", "0x54");
    pane.Show(*range.start, *range.end);
    const auto rows = pane.Rows(kIntCells);
    ASSERT_EQ(rows.size(), 6u);
    // The cell of 0x54 shows 0x55 too; the cells from 0x56 on are blank.
    EXPECT_EQ(rows[5], (Texts{"0x000050 : ", "AFAE", "ADAC", "ABAA", "", "", "", "", ""}));

    // Read only through 0x13: a wider range shows the rest blank, never the
    // bytes of the read before.
    ASSERT_EQ(pane.ReadCodeThrough(0x13), Result::Done);
    pane.Show(0, 0x2F);
    EXPECT_EQ(pane.Rows(kLongCells)[1], (Texts{"0x000010 : ", "EFEEEDEC", "", "", ""}));
    EXPECT_EQ(pane.Rows(kLongCells)[2], (Texts{"0x000020 : ", "", "", "", ""}));
}
