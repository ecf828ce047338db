#include "hex_image.h"

#include "path_resolver.h"
#include "regular_file.h"

namespace {

constexpr const char* kHexCorruptedText = "Error!! HEX file is corrupted.\n";

} // namespace

HexReadResult ParseHexText(const std::string& text, const std::string& name, HexImage& image,
                           std::string& error) {
    image.bytes.fill(0xFF);
    image.present.reset();
    image.records.clear();
    image.highestAddress = -1;
    std::string why;
    if (intelhex::parseText(text, image, why)) return HexReadResult::Ok;
    error = kHexCorruptedText + name + ": " + why;
    return HexReadResult::Malformed;
}

HexReadResult ReadHexImage(const std::string& path, HexImage& image, std::string& error) {
    std::string text;
    if (!platform::ReadFileBytes(path, text)) return HexReadResult::CannotOpen;
    return ParseHexText(text, path, image, error);
}
