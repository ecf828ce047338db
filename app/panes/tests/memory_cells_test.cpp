#include "column_format.h"
#include "memory_cells.h"
#include "memory_range.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<CellByte>;

} // namespace

TEST(MemoryCells, EditedDigitsBecomeBytesFromTheRight) {
    // "ABCD" in the first cell of the 2-byte grid of row 0x10.
    EXPECT_EQ(CellBytes("ABCD", kIntCells, 1, 0x10), (Bytes{{0x11, 0xCD}, {0x10, 0xAB}}));
    EXPECT_EQ(CellBytes("7", kCharCells, 1, 0x10), (Bytes{{0x10, 0x07}}));
    // "1" in column 2 of the 4-byte grid of row 0: missing digits are zeros.
    EXPECT_EQ(CellBytes("1", kLongCells, 2, 0), (Bytes{{7, 1}, {6, 0}, {5, 0}, {4, 0}}));
    // Digits beyond the width are dropped from the left; lower case counts too.
    EXPECT_EQ(CellBytes("12ab", kCharCells, 16, 0xFF00F0), (Bytes{{0xFF00FF, 0xAB}}));
    EXPECT_TRUE(CellBytes("12", kCharCells, 1, 0x1000010).empty());
    EXPECT_TRUE(IsHexText("09afAF"));
    EXPECT_TRUE(IsHexText(""));
    EXPECT_FALSE(IsHexText("1G"));
    EXPECT_FALSE(IsHexText("0x12"));
}

TEST(MemoryCells, LabelsTextsAndColumnsOfTheThreeWidths) {
    EXPECT_EQ(RowLabel(0), "0x000000 : ");
    EXPECT_EQ(RowLabel(0xFF00A0), "0xff00a0 : ");
    for (uint32_t address : {0u, 0x10u, 0xABCDE0u, 0xFFFFF0u})
        EXPECT_EQ(ParseRowAddress(RowLabel(address)), address);

    const uint8_t bytes[] = {0x01, 0xAB, 0x00, 0xFF};
    EXPECT_EQ(CellText(bytes, kCharCells), "01");
    EXPECT_EQ(CellText(bytes, kIntCells), "01AB");
    EXPECT_EQ(CellText(bytes, kLongCells), "01AB00FF");

    // The address column, then one column per cell named after its bytes.
    const std::vector<std::vector<std::string>> names = {
        {"Address", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"},
        {"Address", "01", "23", "45", "67", "89", "AB", "CD", "EF"},
        {"Address", "0123", "4567", "89AB", "CDEF"}};
    const int widths[] = {kCharCells, kIntCells, kLongCells};
    for (int i = 0; i < 3; ++i) {
        const auto columns = controls::ParseColumnSpec(MemoryColumnSpec(widths[i]));
        ASSERT_EQ(int(columns.size()), CellsPerRow(widths[i]) + 1);
        for (size_t c = 0; c < columns.size(); ++c)
            EXPECT_EQ(columns[c].name, names[i][c]);
        EXPECT_EQ(columns[0].width, 100);
        EXPECT_EQ(columns[1].width, widths[i] == kCharCells  ? 30
                                    : widths[i] == kIntCells ? 45
                                                             : 85);
    }
}

TEST(MemoryRange, AddressTextsAndEachPanesRange) {
    EXPECT_EQ(NormalizeHexText("16"), "0x0010"); // no prefix: decimal
    EXPECT_EQ(AddressOfText("16"), 0x10u);
    EXPECT_EQ(AddressOfText("0x00FFFF"), 0xFFFFu);
    EXPECT_EQ(AddressOfText("0XFF0000"), 0xFF0000u);
    for (const char* bad : {"", "ff", "0x", "0x12G4", "0x123456789", "Out of memory"})
        EXPECT_FALSE(AddressOfText(bad)) << bad;

    EXPECT_FALSE(IsOutOfRange(MemoryKind::Internal, 0xFF));
    EXPECT_TRUE(IsOutOfRange(MemoryKind::Internal, 0x100));
    EXPECT_FALSE(IsOutOfRange(MemoryKind::External, 0xFFFFFF));
    EXPECT_TRUE(IsOutOfRange(MemoryKind::External, 0x1000000));
    EXPECT_FALSE(IsOutOfRange(MemoryKind::Code, 0xFFFF));
    EXPECT_TRUE(IsOutOfRange(MemoryKind::Code, 0x10000));
    EXPECT_TRUE(IsOutOfRange(MemoryKind::Flash, 0xFF0100, true));
    EXPECT_FALSE(IsOutOfRange(MemoryKind::Flash, 0xFF00FF, true));
    EXPECT_FALSE(IsOutOfRange(MemoryKind::Flash, 0xFF0100, false));
    EXPECT_TRUE(IsOutOfRange(MemoryKind::Flash, 0xFEFFFF, false));

    EXPECT_EQ(CheckReadSize(0x10, 0x0F), ReadSizeCheck::EndBeforeStart);
    EXPECT_EQ(CheckReadSize(0x20, 0x0F), ReadSizeCheck::EndBeforeStart);
    EXPECT_EQ(CheckReadSize(0, 0x10000), ReadSizeCheck::TooBig);
    EXPECT_EQ(CheckReadSize(0, 0xFFFF), ReadSizeCheck::Ok);
    EXPECT_EQ(MemoryRowCount(0, 0xFF), 16);
    EXPECT_EQ(MemoryRowCount(0, 0x57), 6); // the last row partly
    EXPECT_EQ(MemoryRowCount(5, 4), 0);

    MemoryKind kind;
    ASSERT_TRUE(MemoryKindOfPane(40081, kind));
    EXPECT_EQ(kind, MemoryKind::Flash);
    EXPECT_FALSE(MemoryKindOfPane(40005, kind));
}
