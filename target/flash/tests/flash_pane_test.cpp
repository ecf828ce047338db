// The flash pane's read and write commands for the code flash and the data flash.
#include "sim_board.h"

#include "flash_pane_operations.h"
#include "host_memory.h"
#include "target_flags.h"
#include "target_messages.h"
#include "target_protocol.h"

#include <algorithm>

namespace {

using Texts = std::vector<std::string>;

class FlashPaneTest : public SimBoardTest {
protected:
    void SetUp() override {
        SimBoardTest::SetUp();
        g_bProjectLoaded = true;
        InstallWindows();
        messages->shown.clear();
        sleeps.clear();
        ClearTrace();
    }

    static std::vector<uint8_t> BoardMemory(int memory, uint32_t size) {
        std::vector<uint8_t> bytes(size);
        Board().ReadMemory(memory, 0, bytes.data(), size);
        return bytes;
    }

    static size_t Count(const std::vector<uint32_t>& sizes, uint32_t size) {
        return size_t(std::count(sizes.begin(), sizes.end(), size));
    }
};

TEST_F(FlashPaneTest, NothingHappensWithoutAProjectOrWhileBusy) {
    for (bool loaded : {false, true}) {
        g_bProjectLoaded = loaded;
        g_bTargetBusy = loaded;
        messages->shown.clear();
        EXPECT_EQ(FlashPaneRead(false), 0);
        EXPECT_EQ(FlashPaneWrite(false), 0);
        EXPECT_EQ(FlashPaneWrite(true), 0);
        EXPECT_EQ(Messages(), Texts(3, kFlashPaneNotReadyText));
    }
    EXPECT_TRUE(Trace().empty());
    EXPECT_TRUE(panes.calls.empty());
}

TEST_F(FlashPaneTest, ReadingTheCodeFlashFillsItsCopyWithProgress) {
    std::vector<uint8_t> code(0x10000);
    for (size_t i = 0; i < code.size(); ++i)
        code[i] = uint8_t(i ^ i >> 8);
    Board().WriteMemory(SIMBOARD_CODE_FLASH, 0, code.data(), 0x10000);

    EXPECT_EQ(FlashPaneRead(false), 1);
    EXPECT_TRUE(std::equal(code.begin(), code.end(), g_CodeFlashImage.begin()));
    EXPECT_FALSE(g_bReadProgress);
    EXPECT_EQ(panes.calls, std::vector<std::string>{"RedrawFlashPane"});
    // The break byte is answered while halted; then 258 pieces (257 of 255, one of 1).
    const std::vector<uint8_t> sent = Sent();
    std::vector<uint8_t> start = Bytes({0x13});
    Append(start, SelectBytes(2, 0xFF0000));
    EXPECT_EQ(std::vector<uint8_t>(sent.begin(), sent.begin() + 7), start);
    EXPECT_EQ(sent.size(), 7u + 2 * 258);
    ASSERT_EQ(frame.progress.size(), 258u);
    EXPECT_EQ(frame.progress.front(), 0);
    EXPECT_EQ(frame.progress.back(), 100);
}

TEST_F(FlashPaneTest, WritingTheCodeFlashProgramsAllBytesAndComparesTheReadBack) {
    for (size_t i = 0; i < g_CodeFlashImage.size(); ++i)
        g_CodeFlashImage[i] = i % 5 == 0 ? 0xFF : uint8_t(i * 3);
    const std::vector<uint8_t> written(g_CodeFlashImage.begin(), g_CodeFlashImage.end());
    g_bImageVerified = true;
    StartTransferLog();

    EXPECT_EQ(FlashPaneWrite(false), 1);
    EXPECT_EQ(Messages(), Texts{kFlashWriteOkText});
    EXPECT_EQ(BoardMemory(SIMBOARD_CODE_FLASH, 0x10000), written);
    EXPECT_TRUE(g_bImageVerified); // the run commands run the written bytes

    // 2978 packets of 22 bytes and one of 20; every byte programmed, 0xFF too.
    const std::vector<uint32_t>& sizes = Transfers().writeSizes;
    EXPECT_EQ(Count(sizes, 22 * 24), 2978u);
    EXPECT_EQ(Count(sizes, 20 * 24), 1u);
    EXPECT_EQ(Count(sizes, 38), 1u);
    EXPECT_EQ(sleeps, (std::vector<unsigned>{150, 100, 20}));

    // 0-70 while programming, then 70-100 while reading back.
    const std::vector<int>& p = frame.progress;
    ASSERT_EQ(p.size(), 2979u + 258u);
    EXPECT_EQ(p[2978], 70);
    EXPECT_EQ(p[2979], 70);
    EXPECT_EQ(p.back(), 100);
    EXPECT_TRUE(std::is_sorted(p.begin(), p.end()));
    EXPECT_EQ(pcDisplay.calls.size(), 2u);
    EXPECT_EQ(std::count(panes.calls.begin(), panes.calls.end(), "RedrawFlashPane"), 1);
    EXPECT_EQ(panes.calls.back(), "UpdateSymbolWnd");
}

TEST_F(FlashPaneTest, AReadBackDifferenceIsAWriteFailure) {
    g_CodeFlashImage.fill(0x3C);
    Board().CorruptNextProgram(0x8000);
    g_bImageVerified = true;
    EXPECT_EQ(FlashPaneWrite(false), 0);
    EXPECT_EQ(Messages(), Texts{kFlashWriteFailText});
    EXPECT_FALSE(g_bImageVerified);
    EXPECT_EQ(g_CodeFlashImage[0x8000], 0xC3); // the copy shows what the flash holds
    EXPECT_TRUE(pcDisplay.calls.empty());
}

TEST_F(FlashPaneTest, AnUnerasedChipIsNotProgrammed) {
    g_CodeFlashImage.fill(0x00);
    Board().LeaveUnerased(0x0010);
    StartTransferLog();
    EXPECT_EQ(FlashPaneWrite(false), 0);
    EXPECT_EQ(Messages(), Texts{kFlashEraseFailText});
    EXPECT_EQ(Count(Transfers().writeSizes, 22 * 24), 0u);
}

TEST_F(FlashPaneTest, DataFlashRoundTripOf255Bytes) {
    for (size_t i = 0; i < g_DataFlashBuffer.size(); ++i)
        g_DataFlashBuffer[i] = uint8_t(i ^ 0xA5);
    const std::vector<uint8_t> written(g_DataFlashBuffer.begin(), g_DataFlashBuffer.begin() + 255);
    std::vector<uint8_t> code(0x10000, 0x5A);
    Board().WriteMemory(SIMBOARD_CODE_FLASH, 0, code.data(), 0x10000);
    StartTransferLog();

    EXPECT_EQ(FlashPaneWrite(true), 1);
    EXPECT_EQ(Messages(), Texts{kDataFlashWriteOkText});
    const std::vector<uint8_t> dataFlash = BoardMemory(SIMBOARD_DATA_FLASH, 0x100);
    EXPECT_TRUE(std::equal(written.begin(), written.end(), dataFlash.begin()));
    EXPECT_EQ(dataFlash[255], 0xFF); // the last byte is never written
    EXPECT_EQ(Count(Transfers().writeSizes, 255 * 24), 1u);
    EXPECT_EQ(BoardMemory(SIMBOARD_CODE_FLASH, 0x10000), code); // the code flash is kept

    // The write ends with a read of the data flash into the buffer.
    EXPECT_TRUE(std::equal(written.begin(), written.end(), g_DataFlashBuffer.begin()));
    EXPECT_EQ(g_DataFlashBuffer[255], 0);
    EXPECT_EQ(panes.calls.back(), "RedrawFlashPane");

    g_DataFlashBuffer.fill(0x11);
    EXPECT_EQ(FlashPaneRead(true), 1);
    EXPECT_TRUE(std::equal(written.begin(), written.end(), g_DataFlashBuffer.begin()));
    EXPECT_EQ(g_DataFlashBuffer[255], 0);

    // Back in read-array mode: the window shows the code flash again.
    EXPECT_EQ(FlashPaneRead(false), 1);
    EXPECT_TRUE(std::equal(code.begin(), code.end(), g_CodeFlashImage.begin()));
}

TEST_F(FlashPaneTest, DataFlashReadOnTheWire) {
    EXPECT_EQ(ReadDataFlash(), 1);
    std::vector<uint8_t> expected = Bytes({0x13, 0x1C, 0x00, 0x02, 0x17, 0x5C, 0x02});
    Append(expected,
           Bytes({0x5B, 0xFF, 0x00, 0x00, 0x55, 0xFF, 0x5B, 0xFF, 0x00, 0x00, 0x55, 0xF0}));
    Append(expected, Bytes({0x5C, 0x02}));
    const int select[][2] = {{0x5555, 0xAA}, {0x2AAA, 0x55}, {0x5555, 0xB0}};
    for (const auto& s : select)
        Append(expected, Bytes({0x5B, 0xFF, s[0] >> 8, s[0] & 0xFF, 0x55, s[1]}));
    Append(expected, SelectBytes(2, 0xFF0000));
    Append(expected, Bytes({0x54, 255}));
    Append(expected, Bytes({0x5C, 0x02, 0x5B, 0xFF, 0x00, 0x00, 0x55, 0xF0}));
    expected.push_back(0x59); // the PC, then the refresh
    const std::vector<uint8_t> sent = Sent();
    ASSERT_GE(sent.size(), expected.size());
    EXPECT_EQ(std::vector<uint8_t>(sent.begin(), sent.begin() + expected.size()), expected);
    EXPECT_EQ(sleeps, (std::vector<unsigned>{150, 40}));
}

TEST_F(FlashPaneTest, ALostAnswerInTheDataFlashEraseCheckLeavesTheCodeFlashReadable) {
    std::vector<uint8_t> code(0x10000, 0x77);
    Board().WriteMemory(SIMBOARD_CODE_FLASH, 0, code.data(), 0x10000);
    Board().DropAnswerBytes(5 + 1); // the handshake answers, then a byte of the check
    EXPECT_EQ(WriteDataFlash(), 0);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});

    messages->shown.clear();
    EXPECT_EQ(FlashPaneRead(false), 1);
    EXPECT_TRUE(std::equal(code.begin(), code.end(), g_CodeFlashImage.begin()));
    EXPECT_TRUE(Messages().empty());
}

} // namespace
