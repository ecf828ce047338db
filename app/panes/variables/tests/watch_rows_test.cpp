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

std::string Pieces(const char* text) {
    std::string pieces;
    for (const RangePiece& piece : RangePieces(*ParseMemoryRange(text)))
        pieces += std::to_string(piece.address) + "/" + std::to_string(piece.space) + "/" +
                  std::to_string(piece.count) + " ";
    return pieces;
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
    const std::optional<MemoryRange> range = ParseMemoryRange("X:1f00:3 \r\n");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->letter, 'X');
    EXPECT_EQ(range->start, 0x1F00u);
    EXPECT_EQ(range->count, 3u);
    EXPECT_EQ(ParseMemoryRange("D:0x0:4000000")->count, kMaxRangeBytes);
    for (const char* refused : {"D:0x30", "D::4", "D:0x3G:4", "D:0x30:0", "D:0x30:-1", "DX:0:1"})
        EXPECT_FALSE(ParseMemoryRange(refused)) << refused;
    EXPECT_EQ(ParseMemoryRange("X:0x200", true)->count, 1u);
    // D splits at 0x80 and ends at 0xFF; a lower-case or unknown letter reads nothing.
    EXPECT_EQ(Pieces("D:0x7E:4"), "126/1/2 128/8/2 ");
    EXPECT_EQ(Pieces("D:0xFE:10"), "254/8/2 ");
    EXPECT_EQ(Pieces("x:1000:3") + Pieces("Q:10:3"), "");
}

TEST_F(WatchRowsTest, RowsShowSymbolsFirstThenRangesReadLiveInFewTrips) {
    const std::vector<uint8_t> internal = {1, 2, 0x7F, 0xFE}, external = {0xAA, 0xBB, 0xCC};
    Board().WriteMemory(SIMBOARD_IRAM, 0x30, internal.data(), 4);
    Board().WriteMemory(SIMBOARD_XDATA, 0x1000, external.data(), 3);
    EnterDataSymbol(MakeVariable("i", 0x30, "U_CHAR", 1, kMemSpaceData));
    EnterDataSymbol(MakeVariable("opaque", 0x31, "NONE", 1, kMemSpaceData));
    AddLocal(AddFunction("WORK", 0x800, 0x40), MakeVariable("i", 0x08, "U_CHAR", 1, kMemSpaceData),
             0x800, 0x83F);
    g_InternalDataImage[0x30] = 7;
    g_InternalDataImage[0x08] = 3;

    const std::optional<VariableRowTexts> row = Row("D:0x30:4");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->name + "|" + row->value + "|" + row->type + "|" + row->address,
              "D:0x30:4|1, 2, 127, 254|ARRAY|");
    EXPECT_EQ(Row("X:1000:3", 16)->value, "0xAA, 0xBB, 0xCC");
    EXPECT_EQ(Row("i")->address, "D:0x000008"); // the local at the PC
    EXPECT_EQ(WatchRowTexts("i", 10, uint16_t(0x900), TargetMemoryReader())->value, "7");
    for (const char* unchanged : {"x:1000:3", "nothing", "opaque"})
        EXPECT_FALSE(Row(unchanged)) << unchanged;

    // The largest range reads all its bytes in two pieces, not byte by byte.
    StartTransferLog();
    const std::string value = Row("X:0:999999")->value;
    EXPECT_EQ(std::count(value.begin(), value.end(), ','), long(kMaxRangeBytes - 1));
    EXPECT_LE(Transfers().readCalls, 4u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(WatchRowsTest, EditedValuesReachTheBoardInTheirWidths) {
    EnterDataSymbol(MakeVariable("flag", 0x30, "U_CHAR", 1, kMemSpaceData));
    EnterDataSymbol(MakeVariable("count", 0x32, "INT", 2, kMemSpaceData));
    EnterDataSymbol(MakeVariable("total", 0x34, "LONG", 4, kMemSpaceData));
    EnterDataSymbol(MakeVariable("dptr", 0x82, "U_INT", 2, kMemSpaceSfr, "SFRSYM"));
    EnterDataSymbol(MakeVariable("table", 0x200, "ARRAY", 3, kMemSpaceXdata));
    AddLocal(AddFunction("WORK", 0x800, 0x40),
             MakeVariable("flag", 0x08, "U_CHAR", 1, kMemSpaceData), 0x800, 0x83F);
    const std::vector<uint8_t> filler(12, 0xEE);
    Board().WriteMemory(SIMBOARD_IRAM, 0x30, filler.data(), 12);
    const std::optional<uint16_t> outside = uint16_t(0x900);

    EXPECT_EQ(WriteWatchValue("flag", "0x1FF", "U_CHAR", outside), 1);
    EXPECT_EQ(WriteWatchValue("count", "300", "INT", outside), 1);
    EXPECT_EQ(WriteWatchValue("total", "70000", "LONG", outside), 1);
    EXPECT_EQ(BoardBytes(SIMBOARD_IRAM, 0x30, 8),
              (std::vector<uint8_t>{0xFF, 0xEE, 0x01, 0x2C, 0x00, 0x01, 0x11, 0x70}));
    EXPECT_EQ(g_InternalDataImage[0x33], 0x2C) << "the host copy follows";
    EXPECT_EQ(WriteWatchValue("dptr", "0x1234", "U_INT", outside), 1);
    EXPECT_EQ(BoardBytes(SIMBOARD_SFR, 0x82, 2), (std::vector<uint8_t>{0x34, 0x12}));
    EXPECT_EQ(WriteWatchValue("flag", "5", "U_CHAR", uint16_t(0x810)), 1); // the local
    EXPECT_EQ(BoardBytes(SIMBOARD_IRAM, 0x08, 1)[0], 5);
    EXPECT_EQ(WriteWatchValue("flag", "0xZZ", "U_CHAR", outside), 0);
    EXPECT_TRUE(Messages().empty());

    // An array takes one byte per value; fewer values than bytes are reported.
    EXPECT_EQ(WriteWatchValue("table", "1,2, 0x03", "ARRAY", outside), 3);
    EXPECT_EQ(WriteWatchValue("table", "9, 8", "ARRAY", outside), 2);
    EXPECT_EQ(BoardBytes(SIMBOARD_XDATA, 0x200, 3), (std::vector<uint8_t>{9, 8, 3}));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Warning: Number of input data = 2"});
    // The direct-address form; code memory is refused.
    EXPECT_EQ(WriteWatchValue("X:0x300:2", "0x11, 0x22", "ARRAY", outside), 2);
    EXPECT_EQ(BoardBytes(SIMBOARD_XDATA, 0x300, 2), (std::vector<uint8_t>{0x11, 0x22}));
    EXPECT_EQ(WriteWatchValue("D:0x90", "0x5A", "", outside), 1);
    EXPECT_EQ(BoardBytes(SIMBOARD_SFR, 0x90, 1)[0], 0x5A);
    const std::vector<uint8_t> code = BoardBytes(SIMBOARD_CODE_FLASH, 0x10, 1);
    EXPECT_EQ(WriteWatchValue("C:0x10", "0x12", "", outside), 0);
    EXPECT_EQ(BoardBytes(SIMBOARD_CODE_FLASH, 0x10, 1), code);
}
