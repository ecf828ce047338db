// The Intel HEX reader of the project, for 8051 code images of at most
// 64 KB. The disassembler, the debugger's Image Load and image check, and the
// simulated board's preload all read images through it, so that an image one
// of them accepts is the same image for all of them.
//
// Accepted records:
//   00 data                      bytes stored at the base plus the record's address
//   01 end of file               reading stops; later text is not looked at
//   02 extended segment address  base = the value times 16, for the data records
//   04 extended linear address   base = the value times 65536, for the data records
//   03, 05 start addresses       ignored
// An extended address only moves the data records that follow it; a data
// byte that lands past 0xFFFF rejects the image (the code flash holds 64 KB),
// an extended record that no data follows changes nothing.
//
// Every record is ":" count(2) address(4) type(2) data(2*count) checksum(2),
// hex digits of either case, read by position. The checksum makes all the
// record's bytes add up to 0 (modulo 256). A line ends at CR LF, LF or a
// lone CR; empty lines and trailing blanks and tabs are tolerated. A wrong
// checksum, a wrong record length (for its count, or for its type: end 0,
// extended address 2, start address 4 bytes), an unknown type, a byte past
// 0xFFFF or a non-hex digit rejects the whole image with a message that names
// the line (numbered from 1).
//
// A text without an end record is rejected as well: an empty file, and a file
// cut short between two records, would otherwise read as part of a program.
// A byte that two records give different values rejects the image (which of
// them the program holds is unknown); the same value given again is taken.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace intelhex {

constexpr uint32_t kImageSize = 0x10000;

// One run of consecutive present bytes: [start, end).
struct Range {
    uint32_t start;
    uint32_t end;
    bool operator==(const Range& o) const { return start == o.start && end == o.end; }
};

// One data record, in file order (Image Load programs one flash packet per record).
struct Record {
    uint16_t address;
    std::vector<uint8_t> data;
    int line = 0; // of the file, from 1
};

struct Image {
    // Bytes absent from the file read 0xFF (erased flash).
    std::array<uint8_t, kImageSize> bytes;
    // Which addresses the file gave a value.
    std::bitset<kImageSize> present;
    // The data records in file order.
    std::vector<Record> records;
    // The highest address given a value, -1 when none was.
    long highestAddress = -1;

    Image() { bytes.fill(0xFF); }

    // The present addresses as maximal runs, in ascending order.
    std::vector<Range> ranges() const;
    bool empty() const { return present.none(); }
};

// Why a text is not an image: the line (from 1) and what is wrong with it.
struct ParseError {
    int line = 0;
    std::string reason;
};

// Parses the text of a HEX file into `image` (which starts empty).
// On failure returns false and fills `error`; `image` is then unspecified.
bool parseText(std::string_view text, Image& image, ParseError& error);
// The same, with the failure as a one-line message such as
// "line 3: record does not start with ':'".
bool parseText(std::string_view text, Image& image, std::string& error);

// Reads and parses the file at `path`, which must be a regular file. On
// failure returns false with a one-line message that begins with the path
// ("x.hex: line 3: ...", "x.hex: cannot open: No such file or directory",
// "x.hex: cannot read: a FIFO, not a regular file").
bool readFile(const std::string& path, Image& image, std::string& error);

} // namespace intelhex
