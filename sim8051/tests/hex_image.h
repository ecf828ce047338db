// Reads an Intel HEX file (data and end records) into a 64 KB image.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace sim8051::test {

// Returns false when the file is missing or a record is malformed.
bool loadIntelHex(const std::string& path, std::array<uint8_t, 0x10000>& image);

} // namespace sim8051::test
