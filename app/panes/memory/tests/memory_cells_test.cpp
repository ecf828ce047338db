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
    EXPECT_TRUE(IsHexText("09afAF") && IsHexText(""));
    EXPECT_FALSE(IsHexText("1G") || IsHexText("0x12"));
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
    int index = 0;
    for (int digits : {kCharCells, kIntCells, kLongCells}) {
        std::string joined;
        const auto columns = controls::ParseColumnSpec(MemoryColumnSpec(digits));
        ASSERT_EQ(int(columns.size()), CellsPerRow(digits) + 1);
        for (const controls::ColumnSpec& column : columns)
            joined += column.name;
        EXPECT_EQ(joined, "Address0123456789ABCDEF") << index++;
        EXPECT_EQ(columns[1].width, digits == kCharCells ? 30 : digits == kIntCells ? 45 : 85);
    }
}

TEST(MemoryRange, AddressTextsAndEachPanesRange) {
    EXPECT_EQ(NormalizeHexText("16"), "0x0010"); // no prefix: decimal
    EXPECT_EQ(AddressOfText("16"), 0x10u);
    EXPECT_EQ(AddressOfText("0x00FFFF"), 0xFFFFu);
    EXPECT_EQ(AddressOfText("0XFF0000"), 0xFF0000u);
    for (const char* bad : {"", "ff", "0x", "0x12G4", "0x123456789", "Out of memory"})
        EXPECT_FALSE(AddressOfText(bad)) << bad;

    // The last address each pane takes, then the first it refuses.
    EXPECT_FALSE(IsOutOfRange(MemoryKind::Internal, 0xFF) ||
                 IsOutOfRange(MemoryKind::Code, 0xFFFF) ||
                 IsOutOfRange(MemoryKind::External, 0xFFFFFF) ||
                 IsOutOfRange(MemoryKind::Flash, 0xFF00FF, true) ||
                 IsOutOfRange(MemoryKind::Flash, 0xFF0100, false));
    EXPECT_TRUE(IsOutOfRange(MemoryKind::Internal, 0x100) &&
                IsOutOfRange(MemoryKind::Code, 0x10000) &&
                IsOutOfRange(MemoryKind::External, 0x1000000) &&
                IsOutOfRange(MemoryKind::Flash, 0xFF0100, true) &&
                IsOutOfRange(MemoryKind::Flash, 0xFEFFFF, false));

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
