#include "hex_image.h"

#include "path_resolver.h"

#include <cstdio>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The byte written by two hex digits at `pos`, -1 when they are not hex digits.
int HexByte(const std::string& line, size_t pos) {
    int high = HexDigit(line[pos]);
    int low = HexDigit(line[pos + 1]);
    if (high < 0 || low < 0) return -1;
    return high * 16 + low;
}

std::string LineError(int lineNumber, const char* what) {
    char text[160];
    std::snprintf(text, sizeof text, "Error!! HEX file is corrupted. line = %d (%s)", lineNumber,
                  what);
    return text;
}

enum class RecordResult { Continue, End, Malformed };

RecordResult ReadRecord(const std::string& line, int lineNumber, HexImage& image,
                        std::string& error) {
    if (line[0] != ':') {
        error = LineError(lineNumber, "no ':' at the start");
        return RecordResult::Malformed;
    }
    // ':' and the count, address and type fields.
    if (line.size() < 11) {
        error = LineError(lineNumber, "record too short");
        return RecordResult::Malformed;
    }
    for (size_t i = 1; i < line.size(); ++i) {
        if (HexDigit(line[i]) < 0) {
            error = LineError(lineNumber, "not a hex digit");
            return RecordResult::Malformed;
        }
    }
    const int count = HexByte(line, 1);
    const unsigned address = unsigned(HexByte(line, 3)) << 8 | unsigned(HexByte(line, 5));
    const int type = HexByte(line, 7);
    if (line.size() != 11 + 2 * size_t(count)) {
        error = LineError(lineNumber, "record length does not match its count");
        return RecordResult::Malformed;
    }
    switch (type) {
    case 0: {
        if (address + count > kCodeImageSize) {
            error = LineError(lineNumber, "data past address 0xFFFF");
            return RecordResult::Malformed;
        }
        HexDataRecord record{uint16_t(address), {}};
        record.data.reserve(count);
        for (int i = 0; i < count; ++i) {
            const uint8_t value = uint8_t(HexByte(line, 9 + 2 * i));
            record.data.push_back(value);
            image.bytes[address + i] = value;
        }
        if (count > 0 && long(address + count - 1) > image.highestAddress)
            image.highestAddress = long(address + count - 1);
        image.records.push_back(std::move(record));
        return RecordResult::Continue;
    }
    case 1:
        return RecordResult::End;
    case 2:
    case 4:
        if (count != 2) {
            error = LineError(lineNumber, "extended address record without a 2-byte base");
            return RecordResult::Malformed;
        }
        if (HexByte(line, 9) != 0 || HexByte(line, 11) != 0) {
            error = LineError(lineNumber, "extended address beyond 64KB");
            return RecordResult::Malformed;
        }
        return RecordResult::Continue;
    case 3:
    case 5:
        return RecordResult::Continue;
    default:
        error = LineError(lineNumber, "unknown record type");
        return RecordResult::Malformed;
    }
}

} // namespace

HexReadResult ParseHexText(const std::string& text, HexImage& image, std::string& error) {
    image.bytes.fill(0xFF);
    image.records.clear();
    image.highestAddress = -1;
    size_t start = 0;
    int lineNumber = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        if (line.empty()) continue;
        switch (ReadRecord(line, lineNumber, image, error)) {
        case RecordResult::Continue:
            break;
        case RecordResult::End:
            return HexReadResult::Ok;
        case RecordResult::Malformed:
            return HexReadResult::Malformed;
        }
    }
    return HexReadResult::Ok;
}

HexReadResult ReadHexImage(const std::string& path, HexImage& image, std::string& error) {
    std::string text;
    if (!platform::ReadFileBytes(path, text)) return HexReadResult::CannotOpen;
    return ParseHexText(text, image, error);
}
