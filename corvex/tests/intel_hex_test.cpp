#include "intel_hex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using intelhex::Image;
using intelhex::Range;

namespace {

struct Parsed {
    bool ok;
    std::string error;
    Image image;
};

Parsed parse(const std::string& text) {
    Parsed p;
    p.ok = intelhex::parseText(text, p.image, p.error);
    return p;
}

TEST(IntelHexReader, StoresDataAndMergesAdjacentRecordsIntoRuns) {
    Parsed p = parse(":0300300002337A1E\n" // 0030: 02 33 7A
                     ":02003300E4F5F2\n"   // 0033: E4 F5 (adjacent)
                     ":01004000229D\n"     // 0040: 22 (after a gap)
                     ":00000001FF\n");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.image.bytes[0x30], 0x02);
    EXPECT_EQ(p.image.bytes[0x34], 0xF5);
    EXPECT_EQ(p.image.bytes[0x40], 0x22);
    EXPECT_EQ(p.image.bytes[0x35], 0xFF) << "absent bytes read as erased flash";
    EXPECT_FALSE(p.image.present[0x35]);
    EXPECT_EQ(p.image.ranges(), (std::vector<Range>{{0x30, 0x35}, {0x40, 0x41}}));
}

TEST(IntelHexReader, AcceptsLowerCaseCrLfAndEmptyLines) {
    Parsed p = parse("\r\n:02000000e4f525\r\n\n:020000040000FA\r\n:020000020000FC\r\n"
                     ":0400000300000000F9\r\n:0400000500000000F7\r\n:00000001ff\r\n\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.image.ranges(), (std::vector<Range>{{0, 2}}));
    EXPECT_EQ(p.image.bytes[1], 0xF5);
}

// Images written with CR-only line ends read as their CR LF and LF forms,
// with the same line numbers in a refusal.
TEST(IntelHexReader, CrOnlyLineEndsAreLineEnds) {
    const std::string lines[] = {":0300300002123485", "", ":0200000080FE80", ":00000001FF"};
    const Parsed lf = parse(lines[0] + "\n" + lines[1] + "\n" + lines[2] + "\n" + lines[3] + "\n");
    const Parsed cr = parse(lines[0] + "\r" + lines[1] + "\r" + lines[2] + "\r" + lines[3] + "\r");
    ASSERT_TRUE(lf.ok) << lf.error;
    ASSERT_TRUE(cr.ok) << cr.error;
    EXPECT_EQ(cr.image.ranges(), lf.image.ranges());
    EXPECT_EQ(cr.image.bytes, lf.image.bytes);
    EXPECT_EQ(parse(lines[2] + "\r\r" + ":0100000023DD\r").error,
              parse(lines[2] + "\r\n\r\n" + ":0100000023DD\r\n").error);
    EXPECT_EQ(parse(lines[2] + "\r\r" + ":0100000023DD\r").error,
              "line 3: checksum is 0xDD, the record's bytes call for 0xDC");
}

TEST(IntelHexReader, TakesRecordsByPositionWithTrailingBlanksInFileOrder) {
    Parsed p = parse(":0300300002123485 \t\r\n:0200000080FE80\n:00000001FF\n");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.image.ranges(), (std::vector<Range>{{0, 2}, {0x30, 0x33}}));
    EXPECT_EQ(p.image.bytes[0x31], 0x12);
    EXPECT_EQ(p.image.highestAddress, 0x32);
    ASSERT_EQ(p.image.records.size(), 2u); // in file order
    EXPECT_EQ(p.image.records[0].address, 0x30);
    EXPECT_EQ(p.image.records[0].data, (std::vector<uint8_t>{0x02, 0x12, 0x34}));
    EXPECT_EQ(p.image.records[1].address, 0x00);
}

// A segment base (value x 16) or a linear base (value x 65536) places the
// data records after it; bytes that still land in 64 KB are the image's.
TEST(IntelHexReader, ExtendedAddressesPlaceTheDataThatFollows) {
    Parsed p = parse(":020000020100FB\n:0100000022DD\n" // segment 0x0100: 0x1000
                     ":020000020FFFEE\n:01000F0042AE\n" // segment 0x0FFF: 0xFFFF
                     ":020000040000FA\n:01001000559A\n" // linear 0: back to 0x0010
                     ":020000040001F9\n:00000001FF\n"); // no data follows it
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.image.ranges(),
              (std::vector<Range>{{0x10, 0x11}, {0x1000, 0x1001}, {0xFFFF, 0x10000}}));
    EXPECT_EQ(p.image.bytes[0x1000], 0x22);
    EXPECT_EQ(p.image.bytes[0xFFFF], 0x42);
    ASSERT_EQ(p.image.records.size(), 3u);
    EXPECT_EQ(p.image.records[0].address, 0x1000);
    EXPECT_EQ(p.image.highestAddress, 0xFFFF);
}

TEST(IntelHexReader, StopsReadingAtTheEndRecord) {
    Parsed p = parse(":01000000A55A\n:00000001FF\nthis is not a record\n:0100100022CD\n");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.image.ranges(), (std::vector<Range>{{0, 1}}));
}

// Which of two values a byte given twice holds is unknown: the image is
// refused, naming both lines. The same value given again is the same program.
TEST(IntelHexReader, RecordsGivingAByteTwoValuesRefuseTheImage) {
    Parsed again = parse(":020000001111DC\n:0100100022CD\n:0100010011ED\n:00000001FF\n");
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_EQ(again.image.ranges(), (std::vector<Range>{{0, 2}, {0x10, 0x11}}));
    EXPECT_EQ(again.image.records.size(), 3u);

    Parsed clash = parse(":020000001111DC\n:0100100022CD\n\n:0100010022DC\n:00000001FF\n");
    EXPECT_FALSE(clash.ok);
    EXPECT_EQ(clash.error,
              "line 4: address 0x0001 holds 0x11 from line 1, this record gives it 0x22");
    // Through an extended address too, and after a same-valued repeat.
    clash = parse(":0100100022CD\n:0100100022CD\n:020000020001FB\n:0100000023DC\n:00000001FF\n");
    EXPECT_EQ(clash.error,
              "line 4: address 0x0010 holds 0x22 from line 2, this record gives it 0x23");
}

TEST(IntelHexReader, LastAddressFitsButNoByteBeyondIt) {
    Parsed fits = parse(":01FFFF0022DF\n:00000001FF\n");
    ASSERT_TRUE(fits.ok) << fits.error;
    EXPECT_EQ(fits.image.ranges(), (std::vector<Range>{{0xFFFF, 0x10000}}));

    Parsed beyond = parse(":02FFFF002222BC\n");
    EXPECT_FALSE(beyond.ok);
    EXPECT_EQ(beyond.error, "line 1: data record runs past address 0xFFFF");
}

// An empty file, and a file cut short between two records, would read as
// part of a program: without its end record a text is no image. An image
// of no data byte is an end record alone.
TEST(IntelHexReader, TheEndRecordIsRequired) {
    EXPECT_EQ(parse("").error, "line 1: the file holds no record, not even an end-of-file record");
    EXPECT_EQ(parse(" \r\n\n").error, parse("").error);
    const std::string lines[] = {":0300300002123485", ":0200000080FE80", ":00000001FF"};
    ASSERT_TRUE(parse(lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2]).ok);
    const std::string cut = ": the file ends after this record without an end-of-file record";
    EXPECT_EQ(parse(lines[0] + "\r\n").error, "line 1" + cut);
    EXPECT_EQ(parse(lines[0] + "\r\n" + lines[1] + "\r\n\r\n").error, "line 2" + cut);
    Parsed empty = parse(":00000001FF");
    ASSERT_TRUE(empty.ok) << empty.error;
    EXPECT_TRUE(empty.image.empty());
}

TEST(IntelHexReader, RejectsMalformedRecordsNamingTheLine) {
    const std::string good = ":0100000022DD\n";
    struct Case {
        std::string record;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"0100000022DD", "line 2: record does not start with ':'"},
        {" :0100000022DD", "line 2: record does not start with ':'"},
        {":01000000G2DD", "line 2: character 10 is not a hexadecimal digit"},
        {":0200000022DD", "line 2: record length does not match its byte count 0x02"},
        {":0100000022DD00", "line 2: record length does not match its byte count 0x01"},
        {":0100000022D", "line 2: record too short or odd number of digits"},
        {":00000001", "line 2: record too short or odd number of digits"},
        {":0100000022D ", "line 2: record too short or odd number of digits"},
        // One changed digit anywhere: the data, the address, the type, the checksum.
        {":0100000023DD", "line 2: checksum is 0xDD, the record's bytes call for 0xDC"},
        {":0100010022DD", "line 2: checksum is 0xDD, the record's bytes call for 0xDC"},
        {":0100000122DD", "line 2: checksum is 0xDD, the record's bytes call for 0xDC"},
        {":0100000022dE", "line 2: checksum is 0xDE, the record's bytes call for 0xDD"},
        {":0100000400FB", "line 2: extended address record must hold 2 bytes"},
        {":0100000100FE", "line 2: end-of-file record must hold no bytes"},
        {":020000030000FB", "line 2: start address record must hold 4 bytes"},
        {":00000006FA", "line 2: unknown record type 0x06"},
        {":02FFFF002222BC", "line 2: data record runs past address 0xFFFF"},
        {":020000040001F9\n:0100000022DD", "line 3: data record runs past address 0xFFFF"},
        {":020000021000EC\n:0000000000", "line 3: data record runs past address 0xFFFF"},
        {":020000020FFFEE\n:0100100022CD", "line 3: data record runs past address 0xFFFF"},
    };
    for (const Case& c : cases) {
        Parsed p = parse(good + c.record + "\n:00000001FF\n");
        EXPECT_FALSE(p.ok) << c.record;
        EXPECT_EQ(p.error, c.error) << c.record;
    }
}

TEST(IntelHexReader, FileErrorsBeginWithThePath) {
    Image image;
    std::string error;
    EXPECT_FALSE(intelhex::readFile("/nonexistent/dir/x.hex", image, error));
    EXPECT_EQ(error, "/nonexistent/dir/x.hex: cannot open: No such file or directory");
    EXPECT_FALSE(intelhex::readFile("/", image, error));
    EXPECT_EQ(error, "/: cannot read: a folder, not a regular file");
}

} // namespace
