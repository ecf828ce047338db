// The Intel HEX image of the program under debug, as the flash commands read
// it: the project's one reader (intel_hex.h, shared with the disassembler)
// applied to the file at a path the platform layer resolves, with its
// failure turned into the message the user sees.
#pragma once

#include "intel_hex.h"

#include <cstdint>
#include <string>

constexpr uint32_t kCodeImageSize = intelhex::kImageSize;

// Bytes the file does not give read 0xFF (erased flash); `records` holds the
// data records in file order (one flash packet each); `highestAddress` is -1
// when the image holds no data byte.
using HexImage = intelhex::Image;
using HexDataRecord = intelhex::Record;

enum class HexReadResult { Ok, CannotOpen, Malformed };

// Reads the text of the HEX file `name` into `image`, emptied first. On
// Malformed, `error` holds the message for the user, which names the file and
// the line ("Error!! HEX file is corrupted.\nx.hex: line 3: ..."); `image` is
// then unspecified.
HexReadResult ParseHexText(const std::string& text, const std::string& name, HexImage& image,
                           std::string& error);

// Reads the file at `path`; CannotOpen when it cannot be read.
HexReadResult ReadHexImage(const std::string& path, HexImage& image, std::string& error);
