// Reading the Intel HEX image.
#include "hex_image.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* text;
    const char* why;
};

HexReadResult Parse(const std::string& text, HexImage& image, std::string& error) {
    return ParseHexText(text, "program.hex", image, error);
}

TEST(FlashHexImageTest, DataRecordsAreStoredInFileOrder) {
    HexImage image;
    std::string error;
    ASSERT_EQ(Parse(":0300300002123485\n:0200000080FE80\r\n:00000001FF\n", image, error),
              HexReadResult::Ok);
    EXPECT_EQ(image.bytes[0x30], 0x02);
    EXPECT_EQ(image.bytes[0x31], 0x12);
    EXPECT_EQ(image.bytes[0x32], 0x34);
    EXPECT_EQ(image.bytes[0x2F], 0xFF);
    EXPECT_EQ(image.bytes[0x33], 0xFF);
    EXPECT_EQ(image.highestAddress, 0x32);
    ASSERT_EQ(image.records.size(), 2u); // the second one is at 0x0000 with 0x80, 0xFE
    EXPECT_EQ(image.records[0].address, 0x30);
    EXPECT_EQ(image.records[0].data, (std::vector<uint8_t>{0x02, 0x12, 0x34}));
    EXPECT_EQ(image.records[1].address, 0x0000);
    EXPECT_EQ(image.bytes[0x00], 0x80);
}

TEST(FlashHexImageTest, ReadingStopsAtTheEndRecord) {
    HexImage image;
    std::string error;
    ASSERT_EQ(Parse(":01001000559A\n:00000001FF\n:01002000AA00\nnot a record\n", image, error),
              HexReadResult::Ok);
    EXPECT_EQ(image.bytes[0x10], 0x55);
    EXPECT_EQ(image.bytes[0x20], 0xFF);
    EXPECT_EQ(image.records.size(), 1u);
    EXPECT_EQ(image.highestAddress, 0x10);
}

TEST(FlashHexImageTest, BaseZeroAndStartRecordsAreIgnored) {
    HexImage image;
    std::string error;
    const std::string text = ":020000020000FC\n"
                             ":020000040000FA\n"
                             ":0400000300001234B3\n"
                             ":0400000500001234B1\n"
                             "\n"
                             ":01FFFF0042BF\n"
                             ":00000001FF\n";
    ASSERT_EQ(Parse(text, image, error), HexReadResult::Ok) << error;
    EXPECT_EQ(image.bytes[0xFFFF], 0x42);
    EXPECT_EQ(image.highestAddress, 0xFFFF);
    EXPECT_EQ(image.records.size(), 1u);
}

TEST(FlashHexImageTest, AnImageWithoutDataHasNoHighestAddress) {
    HexImage image;
    std::string error;
    ASSERT_EQ(Parse(":00000001FF\n", image, error), HexReadResult::Ok);
    EXPECT_EQ(image.highestAddress, -1);
    EXPECT_TRUE(image.records.empty());
    // Without even the end record the file is no image: the same refusal as a
    // malformed record, so Image Load shows it and the check fails.
    ASSERT_EQ(Parse("\n", image, error), HexReadResult::Malformed);
    EXPECT_EQ(error, "Error!! HEX file is corrupted.\nprogram.hex: line 1: the file holds no "
                     "record, not even an end-of-file record");
}

// The reader's tests cover every kind of malformed record; here the message
// the user gets names the file and the line.
TEST(FlashHexImageTest, AMalformedRecordRefusesTheWholeImage) {
    const Case cases[] = {
        {":0100000011EE\n0100010022DD\n", "record does not start with ':'"},
        {":0100000011EE\n:0100010023DC\n", "checksum is 0xDC, the record's bytes call for 0xDB"},
        {":0100000011EE\n:0100010022DD00\n", "record length does not match its byte count 0x01"},
        {":0100000011EE\n:00000006FA\n", "unknown record type 0x06"},
        {":0100000011EE\n:0100000022DD\n:00000001FF\n",
         "address 0x0000 holds 0x11 from line 1, this record gives it 0x22"},
        {":0100000011EE\n:0100010022DC\n",
         "the file ends after this record without an end-of-file record"},
    };
    for (const Case& c : cases) {
        HexImage image;
        std::string error;
        EXPECT_EQ(Parse(c.text, image, error), HexReadResult::Malformed) << c.text;
        EXPECT_EQ(error,
                  std::string("Error!! HEX file is corrupted.\nprogram.hex: line 2: ") + c.why)
            << c.text;
    }
}

TEST(FlashHexImageTest, AMissingFileCannotBeOpened) {
    HexImage image;
    std::string error;
    EXPECT_EQ(ReadHexImage("/nonexistent/image.hex", image, error), HexReadResult::CannotOpen);
}

} // namespace
