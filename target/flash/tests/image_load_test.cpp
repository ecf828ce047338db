// Image Load and the image check against the simulated board.
#include "sim_board.h"

#include "image_load.h"
#include "target_flags.h"
#include "target_messages.h"

#include <algorithm>

namespace {

using Texts = std::vector<std::string>;

std::vector<uint8_t> Pattern(size_t count, uint8_t seed) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = uint8_t(seed + i * 13);
    return bytes;
}

std::vector<uint8_t> BoardFlash() {
    std::vector<uint8_t> flash(0x10000);
    Board().ReadMemory(SIMBOARD_CODE_FLASH, 0, flash.data(), 0x10000);
    return flash;
}

class ImageLoadTest : public SimBoardTest {
protected:
    void SetUp() override {
        SimBoardTest::SetUp();
        // Three records with a gap; 0xFF bytes among the data.
        records = {{0x0000, Pattern(16, 0x02)},
                   {0x0010, Pattern(16, 0x80)},
                   {0x0100, {0xFF, 0x12, 0xFF, 0x34, 0x56}}};
        std::string text = HexRecord(0, {0, 0}, 4);
        for (const auto& r : records)
            text += HexRecord(r.first, r.second);
        text += ":00000001FF\n";
        g_strHexPath = WriteTempFile("program.hex", text);
        messages->shown.clear();
        sleeps.clear();
        ClearTrace();
    }

    // The bytes the image gives, 0xFF elsewhere.
    std::vector<uint8_t> ExpectedFlash() const {
        std::vector<uint8_t> flash(0x10000, 0xFF);
        for (const auto& r : records)
            std::copy(r.second.begin(), r.second.end(), &flash[r.first]);
        return flash;
    }

    // FT_Write calls that carried flash packets (erase and program).
    std::vector<uint32_t> PacketWrites() const {
        std::vector<uint32_t> sizes;
        for (uint32_t size : Transfers().writeSizes)
            if (size >= 24) sizes.push_back(size);
        return sizes;
    }

    std::vector<std::pair<uint16_t, std::vector<uint8_t>>> records;
    static constexpr uint32_t kEstimate = 0x104 + 16; // highest code address + 16
};

TEST_F(ImageLoadTest, ProgramsEveryRecordReadsBackAndVerifies) {
    InstallWindows();
    StartTransferLog();
    g_bImageVerified = true;
    EXPECT_EQ(ImageLoad(kEstimate), 1);

    EXPECT_EQ(Messages(), Texts{kFlashWriteOkText});
    EXPECT_EQ(BoardFlash(), ExpectedFlash());
    EXPECT_FALSE(g_bImageVerified); // the next run command checks again
    EXPECT_EQ(VerifyImage(), 1);

    // Settle after the device reset, after the erase, after programming.
    EXPECT_EQ(sleeps, (std::vector<unsigned>{150, 100, 40}));
    // The erase packet, then one transfer per record.
    EXPECT_EQ(PacketWrites(), (std::vector<uint32_t>{38, 16 * 24, 16 * 24, 5 * 24}));
    // The handshake reset the CPU; its PC is shown, then every pane refreshed.
    EXPECT_EQ(pcDisplay.calls,
              (std::vector<std::string>{"SetCurrentPc 0x0000", "ShowPcInAssembly 0x0000 1"}));
    EXPECT_EQ(panes.calls.size(), 6u);

    // 70 % for the programming by records, 30 % for the comparison by bytes.
    const std::vector<int>& p = frame.progress;
    ASSERT_EQ(p.size(), 3u + 0x105);
    EXPECT_EQ(std::vector<int>(p.begin(), p.begin() + 3), (std::vector<int>{4, 8, 9}));
    EXPECT_EQ(p[3], 70);
    EXPECT_EQ(p.back(), 70 + 0x105 * 30 / int(kEstimate));
    EXPECT_TRUE(std::is_sorted(p.begin(), p.end()));
}

TEST_F(ImageLoadTest, HandshakeAndEraseComeFirstOnTheWire) {
    EXPECT_EQ(ImageLoad(0), 1);
    // Then whatever sequence the chip was left in is ended: 0xFF programs
    // nothing, 0xF0 is the read-array reset.
    std::vector<uint8_t> expected = Bytes({0x13, 0x1C, 0x00, 0x02, 0x17, 0x5C, 0x02});
    Append(expected,
           Bytes({0x5B, 0xFF, 0x00, 0x00, 0x55, 0xFF, 0x5B, 0xFF, 0x00, 0x00, 0x55, 0xF0}));
    Append(expected, Bytes({0x5C, 0x02}));
    const int erase[][2] = {{0x5555, 0xAA}, {0x2AAA, 0x55}, {0x5555, 0x80},
                            {0x5555, 0xAA}, {0x2AAA, 0x55}, {0x5555, 0x10}};
    for (const auto& e : erase)
        Append(expected, Bytes({0x5B, 0xFF, e[0] >> 8, e[0] & 0xFF, 0x55, e[1]}));
    Append(expected, Bytes({0x5C, 0x02, 0x5B, 0xFF, 0x00, 0x00}));
    const std::vector<uint8_t> sent = Sent();
    ASSERT_GE(sent.size(), expected.size());
    EXPECT_EQ(std::vector<uint8_t>(sent.begin(), sent.begin() + expected.size()), expected);
    // The first programmed byte of the first record.
    const std::vector<uint8_t> program =
        Bytes({0x5B, 0xFF, 0x55, 0x55, 0x55, 0xAA, 0x5B, 0xFF, 0x2A, 0xAA, 0x55, 0x55,
               0x5B, 0xFF, 0x55, 0x55, 0x55, 0xA0, 0x5B, 0xFF, 0x00, 0x00, 0x55, 0x02});
    EXPECT_NE(std::search(sent.begin(), sent.end(), program.begin(), program.end()), sent.end());
    EXPECT_TRUE(frame.progress.empty()); // no estimate, no progress
}

TEST_F(ImageLoadTest, AFlashThatDoesNotEraseIsNotProgrammed) {
    StartTransferLog();
    Board().LeaveUnerased(0x0200);
    EXPECT_EQ(ImageLoad(kEstimate), 0);
    EXPECT_EQ(Messages(), Texts{kFlashEraseFailText});
    EXPECT_EQ(PacketWrites(), std::vector<uint32_t>{38});
    const std::vector<uint8_t> flash = BoardFlash();
    EXPECT_EQ(std::count(flash.begin(), flash.end(), 0xFF), 0xFFFF);
}

TEST_F(ImageLoadTest, ADifferenceInTheReadBackFailsTheLoad) {
    InstallWindows();
    Board().CorruptNextProgram(0x0013);
    EXPECT_EQ(ImageLoad(kEstimate), 0);
    EXPECT_EQ(Messages(), Texts{kFlashWriteFailText});
    EXPECT_TRUE(pcDisplay.calls.empty());
    EXPECT_TRUE(panes.calls.empty());
    EXPECT_EQ(VerifyImage(), 0);

    // Loading again programs a good image, and the check verifies again.
    messages->shown.clear();
    EXPECT_EQ(ImageLoad(kEstimate), 1);
    EXPECT_EQ(Messages(), Texts{kFlashWriteOkText});
    EXPECT_EQ(VerifyImage(), 1);
}

TEST_F(ImageLoadTest, ACorruptedFileIsRefusedBeforeAnythingIsSent) {
    const std::vector<uint8_t> before = BoardFlash();
    // A record of the wrong length; then one data byte flipped in a good image.
    std::string flipped = HexRecord(0, Pattern(8, 1)) + HexRecord(8, Pattern(8, 9));
    flipped[flipped.size() - 6] = '6'; // 0x57 becomes 0x56
    const std::vector<std::pair<std::string, std::string>> cases = {
        {HexRecord(0, Pattern(8, 1)) + ":0800080001020304050607\n",
         "line 2: record length does not match its byte count 0x08"},
        {flipped, "line 2: checksum is 0x3C, the record's bytes call for 0x3D"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.second);
        messages->shown.clear();
        ClearTrace();
        g_strHexPath = WriteTempFile("corrupt.hex", c.first + ":00000001FF\n");
        EXPECT_EQ(ImageLoad(kEstimate), 0);
        EXPECT_EQ(Messages(),
                  Texts{"Error!! HEX file is corrupted.\n" + g_strHexPath + ": " + c.second});
        EXPECT_TRUE(Trace().empty()); // no handshake, no erase, no program packet
        EXPECT_TRUE(sleeps.empty());
        EXPECT_EQ(BoardFlash(), before);
        EXPECT_EQ(VerifyImage(), 0);
    }
}

TEST_F(ImageLoadTest, AMissingFileDoesNothing) {
    g_strHexPath = "/nonexistent/program.hex";
    EXPECT_EQ(ImageLoad(kEstimate), 0);
    EXPECT_EQ(VerifyImage(), 0);
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(Trace().empty());
}

TEST_F(ImageLoadTest, ALostAnswerShowsOneErrorAndTheNextLoadWorks) {
    // The five handshake answers (not tested), then one byte of the blank check.
    Board().DropAnswerBytes(6);
    StartTransferLog();
    EXPECT_EQ(ImageLoad(kEstimate), 0);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    EXPECT_EQ(PacketWrites(), std::vector<uint32_t>{38});

    messages->shown.clear();
    EXPECT_EQ(ImageLoad(kEstimate), 1);
    EXPECT_EQ(Messages(), Texts{kFlashWriteOkText});
    EXPECT_EQ(BoardFlash(), ExpectedFlash());
}

// --- The image check ---------------------------------------------------------

class VerifyImageTest : public ImageLoadTest {};

TEST_F(VerifyImageTest, ReadsCodeMemoryThroughTheHighestAddress) {
    g_strHexPath = WriteTempFile("small.hex", ":0300300002123485\n:00000001FF\n:0100400011AE\n");
    const uint8_t code[] = {0x02, 0x12, 0x34};
    Board().WriteMemory(SIMBOARD_CODE_FLASH, 0x30, code, 3);
    EXPECT_EQ(VerifyImage(), 1);
    std::vector<uint8_t> expected = SelectBytes(4, 0);
    Append(expected, Bytes({0x54, 0x33}));
    EXPECT_EQ(Sent(), expected);

    const uint8_t other = 0x35;
    Board().WriteMemory(SIMBOARD_CODE_FLASH, 0x32, &other, 1);
    EXPECT_EQ(VerifyImage(), 0);
    const uint8_t low = 0x00;
    Board().WriteMemory(SIMBOARD_CODE_FLASH, 0x32, code + 2, 1);
    Board().WriteMemory(SIMBOARD_CODE_FLASH, 0x00, &low, 1); // outside the image's data
    EXPECT_EQ(VerifyImage(), 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(VerifyImageTest, AnImageWithoutDataVerifiesWithoutReading) {
    g_strHexPath = WriteTempFile("empty.hex", ":00000001FF\n");
    EXPECT_EQ(VerifyImage(), 1);
    EXPECT_TRUE(Trace().empty());
}

TEST_F(VerifyImageTest, AFailedReadIsNoMatch) {
    // An erased flash against an image of 0xFF bytes: equal when the read
    // works, unequal when it does not.
    g_strHexPath =
        WriteTempFile("blank.hex", HexRecord(0, std::vector<uint8_t>(4, 0xFF)) + ":00000001FF\n");
    EXPECT_EQ(VerifyImage(), 1);
    Board().DropAnswerBytes(1);
    EXPECT_EQ(VerifyImage(), 0);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
}

} // namespace
