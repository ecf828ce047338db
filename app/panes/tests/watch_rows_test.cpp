// The watch list on the simulated board: the memory-range form and its live
// reads, and values written from an edited row, byte for byte in the board.
#include "sim_board.h"
#include "variable_symbols.h"

#include "host_memory.h"
#include "watch_rows.h"

#include <algorithm>

namespace {

std::vector<uint8_t> BoardBytes(int memory, uint32_t address, uint32_t count) {
    std::vector<uint8_t> bytes(count);
    bytes.resize(Board().ReadMemory(memory, address, bytes.data(), count));
    return bytes;
}

void PutBoard(int memory, uint32_t address, std::vector<uint8_t> bytes) {
    Board().WriteMemory(memory, address, bytes.data(), uint32_t(bytes.size()));
}

class WatchRowsTest : public SimBoardTest {
protected:
    void SetUp() override {
        SimBoardTest::SetUp();
        StartSymbolTables();
    }
    void TearDown() override {
        DropSymbolTables();
        SimBoardTest::TearDown();
    }
    std::optional<VariableRowTexts> Row(const std::string& name, int radix = 10) {
        return WatchRowTexts(name, radix, uint16_t(0x815), TargetMemoryReader());
    }
};

} // namespace

TEST_F(WatchRowsTest, RangeFormIsParsedCutAndSplitBySpace) {
    std::optional<MemoryRange> range = ParseMemoryRange("D:0x30:4");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->letter, 'D');
    EXPECT_EQ(range->start, 0x30u);
    EXPECT_EQ(range->count, 4u);
    range = ParseMemoryRange("X:1f00:3 \r\n");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->start, 0x1F00u);
    EXPECT_EQ(range->count, 3u);
    EXPECT_EQ(ParseMemoryRange("X:0:4000000")->count, kMaxRangeBytes);
    for (const char* refused :
         {"D:0x30", "D::4", "D:0x3G:4", "D:0x30:0", "D:0x30:-1", "DX:0:1", ""})
        EXPECT_FALSE(ParseMemoryRange(refused)) << refused;
    EXPECT_EQ(ParseMemoryRange("X:0x200", true)->count, 1u);

    // D splits at 0x80 and stops at 0xFF; a lower-case letter has no space.
    std::vector<RangePiece> pieces = RangePieces(*ParseMemoryRange("D:0x7E:4"));
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].address, 0x7Eu);
    EXPECT_EQ(pieces[0].space, 1);
    EXPECT_EQ(pieces[0].count, 2u);
    EXPECT_EQ(pieces[1].address, 0x80u);
    EXPECT_EQ(pieces[1].space, 8);
    pieces = RangePieces(*ParseMemoryRange("D:0xFE:10"));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].count, 2u);
    EXPECT_TRUE(RangePieces(*ParseMemoryRange("x:1000:3")).empty());
    EXPECT_TRUE(RangePieces(*ParseMemoryRange("Q:10:3")).empty());
}

TEST_F(WatchRowsTest, RangeRowReadsTheBoardLiveInFewTrips) {
    PutBoard(SIMBOARD_IRAM, 0x30, {1, 2, 0x7F, 0xFE});
    PutBoard(SIMBOARD_XDATA, 0x1000, {0xAA, 0xBB, 0xCC});
    std::optional<VariableRowTexts> row = Row("D:0x30:4");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->name, "D:0x30:4");
    EXPECT_EQ(row->value, "1, 2, 127, 254");
    EXPECT_EQ(row->type, "ARRAY");
    EXPECT_EQ(row->address, "");
    EXPECT_EQ(Row("X:1000:3", 16)->value, "0xAA, 0xBB, 0xCC");
    EXPECT_FALSE(Row("x:1000:3")) << "a lower-case letter reads nothing";
    EXPECT_FALSE(Row("nothing"));

    // The largest range reads all its bytes in two pieces, not byte by byte.
    StartTransferLog();
    row = Row("X:0:999999");
    ASSERT_TRUE(row);
    EXPECT_EQ(std::count(row->value.begin(), row->value.end(), ','), long(kMaxRangeBytes - 1));
    EXPECT_LE(Transfers().readCalls, 4u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(WatchRowsTest, NamesResolveBeforeRangesAndNoneKeepsTheRow) {
    EnterDataSymbol(MakeVariable("i", 0x30, "U_CHAR", 1, kMemSpaceData));
    EnterDataSymbol(MakeVariable("opaque", 0x31, "NONE", 1, kMemSpaceData));
    CSymbolStruct& function = AddFunction("WORK", 0x800, 0x40);
    AddLocal(function, MakeVariable("i", 0x08, "U_CHAR", 1, kMemSpaceData), 0x800, 0x83F);
    g_InternalDataImage[0x30] = 7;
    g_InternalDataImage[0x08] = 3;
    EXPECT_EQ(Row("i")->value, "3");
    EXPECT_EQ(Row("i")->address, "D:0x000008");
    EXPECT_EQ(WatchRowTexts("i", 10, uint16_t(0x900), TargetMemoryReader())->value, "7");
    EXPECT_FALSE(Row("opaque"));
}

TEST_F(WatchRowsTest, EditedValuesReachTheBoardInTheirWidths) {
    EnterDataSymbol(MakeVariable("flag", 0x30, "U_CHAR", 1, kMemSpaceData));
    EnterDataSymbol(MakeVariable("count", 0x32, "INT", 2, kMemSpaceData));
    EnterDataSymbol(MakeVariable("total", 0x34, "LONG", 4, kMemSpaceData));
    EnterDataSymbol(MakeVariable("dptr", 0x82, "U_INT", 2, kMemSpaceSfr, "SFRSYM"));
    EnterDataSymbol(MakeVariable("table", 0x200, "ARRAY", 3, kMemSpaceXdata));
    CSymbolStruct& function = AddFunction("WORK", 0x800, 0x40);
    AddLocal(function, MakeVariable("flag", 0x08, "U_CHAR", 1, kMemSpaceData), 0x800, 0x83F);
    PutBoard(SIMBOARD_IRAM, 0x30, std::vector<uint8_t>(12, 0xEE));
    const std::optional<uint16_t> outside = uint16_t(0x900);

    EXPECT_EQ(WriteWatchValue("flag", "0x1FF", "U_CHAR", outside), 1);
    EXPECT_EQ(WriteWatchValue("count", "300", "INT", outside), 1);
    EXPECT_EQ(WriteWatchValue("total", "70000", "LONG", outside), 1);
    EXPECT_EQ(BoardBytes(SIMBOARD_IRAM, 0x30, 8),
              (std::vector<uint8_t>{0xFF, 0xEE, 0x01, 0x2C, 0x00, 0x01, 0x11, 0x70}));
    EXPECT_EQ(g_InternalDataImage[0x33], 0x2C) << "the host copy follows";
    EXPECT_EQ(WriteWatchValue("dptr", "0x1234", "U_INT", outside), 1);
    EXPECT_EQ(BoardBytes(SIMBOARD_SFR, 0x82, 2), (std::vector<uint8_t>{0x34, 0x12}));
    // Inside WORK the name means the local.
    EXPECT_EQ(WriteWatchValue("flag", "5", "U_CHAR", uint16_t(0x810)), 1);
    EXPECT_EQ(BoardBytes(SIMBOARD_IRAM, 0x08, 1)[0], 5);
    EXPECT_EQ(BoardBytes(SIMBOARD_IRAM, 0x30, 1)[0], 0xFF);
    EXPECT_EQ(WriteWatchValue("flag", "0xZZ", "U_CHAR", outside), 0);
    EXPECT_TRUE(Messages().empty());

    // An array takes one byte per value; fewer values than bytes are reported.
    EXPECT_EQ(WriteWatchValue("table", "1,2, 0x03", "ARRAY", outside), 3);
    EXPECT_EQ(BoardBytes(SIMBOARD_XDATA, 0x200, 3), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(WriteWatchValue("table", "9, 8", "ARRAY", outside), 2);
    EXPECT_EQ(BoardBytes(SIMBOARD_XDATA, 0x200, 3), (std::vector<uint8_t>{9, 8, 3}));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "Warning: Number of input data = 2");

    // The direct-address form; code memory is refused.
    EXPECT_EQ(WriteWatchValue("X:0x300:2", "0x11, 0x22", "ARRAY", outside), 2);
    EXPECT_EQ(BoardBytes(SIMBOARD_XDATA, 0x300, 2), (std::vector<uint8_t>{0x11, 0x22}));
    EXPECT_EQ(WriteWatchValue("D:0x90", "0x5A", "", outside), 1);
    EXPECT_EQ(BoardBytes(SIMBOARD_SFR, 0x90, 1)[0], 0x5A);
    const std::vector<uint8_t> code = BoardBytes(SIMBOARD_CODE_FLASH, 0x10, 1);
    EXPECT_EQ(WriteWatchValue("C:0x10", "0x12", "", outside), 0);
    EXPECT_EQ(BoardBytes(SIMBOARD_CODE_FLASH, 0x10, 1), code);
}
