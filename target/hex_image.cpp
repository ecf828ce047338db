#include "hex_image.h"

#include "path_resolver.h"

#include <cstdio>

HexReadResult ParseHexText(const std::string& text, HexImage& image, std::string& error) {
    image.bytes.fill(0xFF);
    image.present.reset();
    image.records.clear();
    image.highestAddress = -1;
    intelhex::ParseError failure;
    if (intelhex::parseText(text, image, failure)) return HexReadResult::Ok;
    char message[200];
    std::snprintf(message, sizeof message, "Error!! HEX file is corrupted. line = %d (%s)",
                  failure.line, failure.reason.c_str());
    error = message;
    return HexReadResult::Malformed;
}

HexReadResult ReadHexImage(const std::string& path, HexImage& image, std::string& error) {
    std::string text;
    if (!platform::ReadFileBytes(path, text)) return HexReadResult::CannotOpen;
    return ParseHexText(text, image, error);
}
