// The Intel HEX image of the program under debug, as the flash commands read it.
//
// Records: type 0 is data at its 16-bit address, type 1 ends the reading
// (later lines are not looked at), types 2 and 4 (extended base) are ignored
// with base 0 and refuse the image otherwise (it would not fit in 64 KB),
// types 3 and 5 (start address) are ignored. Each record is
// ":" count(2) address(4) type(2) data(2*count) checksum(2); the checksum
// field must be two hex digits but its value is not checked. Blank lines and
// trailing white space are skipped. Any other malformed record makes the
// whole image unusable.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t kCodeImageSize = 0x10000;

struct HexDataRecord {
    uint16_t address;
    std::vector<uint8_t> data;
};

struct HexImage {
    // Bytes the file does not give stay 0xFF (erased flash).
    std::array<uint8_t, kCodeImageSize> bytes;
    // The data records in file order (one flash packet each).
    std::vector<HexDataRecord> records;
    // The highest address written, -1 when the image holds no data byte.
    long highestAddress = -1;

    HexImage() { bytes.fill(0xFF); }
};

enum class HexReadResult { Ok, CannotOpen, Malformed };

// Reads the text of a HEX file into `image`. On Malformed, `error` holds the
// message for the user; `image` is then unspecified.
HexReadResult ParseHexText(const std::string& text, HexImage& image, std::string& error);

// Reads the file at `path`; CannotOpen when it cannot be read.
HexReadResult ReadHexImage(const std::string& path, HexImage& image, std::string& error);
