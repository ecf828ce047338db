#include "intel_hex.h"

#include <algorithm>
#include <cstdio>

#include "regular_file.h"

namespace intelhex {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string hex2(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", v & 0xFFu);
    return buf;
}

std::string hex4(uint32_t v) {
    char buf[12];
    std::snprintf(buf, sizeof buf, "0x%04X", unsigned(v));
    return buf;
}

// The line of the latest record that gave the byte at `address`.
int lineGiving(const Image& image, uint32_t address) {
    for (auto r = image.records.rbegin(); r != image.records.rend(); ++r)
        if (address >= r->address && address < r->address + r->data.size()) return r->line;
    return 0;
}

enum class RecordOutcome { Continue, End, Error };

// The number of bytes a record of a type other than data must hold (types 1
// to 5), and the message when it holds another number.
struct CountRule {
    unsigned count;
    const char* broken;
};

CountRule countRule(unsigned type) {
    switch (type) {
    case 1:
        return {0, "end-of-file record must hold no bytes"};
    case 2:
    case 4:
        return {2, "extended address record must hold 2 bytes"};
    default:
        return {4, "start address record must hold 4 bytes"};
    }
}

// Parses one non-empty line (without its line break), line `lineNo` of the
// file, into the image. `base` is the extended address the data records are
// placed from.
RecordOutcome parseRecord(std::string_view line, int lineNo, Image& image, uint32_t& base,
                          std::string& why) {
    if (line[0] != ':') {
        why = "record does not start with ':'";
        return RecordOutcome::Error;
    }
    std::string_view digits = line.substr(1);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (hexDigit(digits[i]) < 0) {
            why = "character " + std::to_string(i + 2) + " is not a hexadecimal digit";
            return RecordOutcome::Error;
        }
    }
    if (digits.size() < 10 || digits.size() % 2 != 0) {
        why = "record too short or odd number of digits";
        return RecordOutcome::Error;
    }
    std::vector<uint8_t> rec(digits.size() / 2);
    for (size_t i = 0; i < rec.size(); ++i)
        rec[i] = static_cast<uint8_t>(hexDigit(digits[2 * i]) << 4 | hexDigit(digits[2 * i + 1]));

    const unsigned count = rec[0];
    if (rec.size() != count + 5u) {
        why = "record length does not match its byte count " + hex2(count);
        return RecordOutcome::Error;
    }
    unsigned sum = 0;
    for (size_t i = 0; i + 1 < rec.size(); ++i)
        sum += rec[i];
    const unsigned wanted = (0x100u - (sum & 0xFFu)) & 0xFFu;
    if (rec.back() != wanted) {
        why = "checksum is " + hex2(rec.back()) + ", the record's bytes call for " + hex2(wanted);
        return RecordOutcome::Error;
    }

    const uint32_t offset = static_cast<uint32_t>(rec[1]) << 8 | rec[2];
    const unsigned type = rec[3];
    const uint8_t* data = rec.data() + 4;
    if (type > 5) {
        why = "unknown record type " + hex2(type);
        return RecordOutcome::Error;
    }
    if (type != 0 && count != countRule(type).count) {
        why = countRule(type).broken;
        return RecordOutcome::Error;
    }
    switch (type) {
    case 0: {
        // The base may place the bytes far past 64 KB: the sum is not cut.
        const uint64_t address = uint64_t(base) + offset;
        if (address >= kImageSize || address + count > kImageSize) {
            why = "data record runs past address 0xFFFF";
            return RecordOutcome::Error;
        }
        for (unsigned i = 0; i < count; ++i) {
            const uint32_t at = uint32_t(address) + i;
            if (image.present[at] && image.bytes[at] != data[i]) {
                why = "address " + hex4(at) + " holds " + hex2(image.bytes[at]) + " from line " +
                      std::to_string(lineGiving(image, at)) + ", this record gives it " +
                      hex2(data[i]);
                return RecordOutcome::Error;
            }
        }
        for (unsigned i = 0; i < count; ++i) {
            image.bytes[address + i] = data[i];
            image.present.set(address + i);
        }
        image.records.push_back(
            Record{static_cast<uint16_t>(address), {data, data + count}, lineNo});
        if (count > 0)
            image.highestAddress = std::max(image.highestAddress, long(address + count - 1));
        return RecordOutcome::Continue;
    }
    case 1:
        return RecordOutcome::End;
    case 2:
        base = (static_cast<uint32_t>(data[0]) << 8 | data[1]) << 4;
        return RecordOutcome::Continue;
    case 4:
        base = (static_cast<uint32_t>(data[0]) << 8 | data[1]) << 16;
        return RecordOutcome::Continue;
    default:
        return RecordOutcome::Continue;
    }
}

} // namespace

std::vector<Range> Image::ranges() const {
    std::vector<Range> out;
    uint32_t a = 0;
    while (a < kImageSize) {
        if (!present[a]) {
            ++a;
            continue;
        }
        uint32_t start = a;
        while (a < kImageSize && present[a])
            ++a;
        out.push_back({start, a});
    }
    return out;
}

bool parseText(std::string_view text, Image& image, ParseError& error) {
    size_t pos = 0;
    int lineNo = 0;
    int lastRecordLine = 0;
    uint32_t base = 0;
    while (pos < text.size()) {
        // A line ends at CR LF, a lone LF or a lone CR, as in every other
        // text the debugger reads.
        size_t eol = text.find_first_of("\r\n", pos);
        if (eol == std::string_view::npos) eol = text.size();
        std::string_view line = text.substr(pos, eol - pos);
        pos = eol + 1;
        if (eol < text.size() && text[eol] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
        ++lineNo;
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (line.empty()) continue;

        lastRecordLine = lineNo;
        std::string why;
        switch (parseRecord(line, lineNo, image, base, why)) {
        case RecordOutcome::Continue:
            break;
        case RecordOutcome::End:
            return true;
        case RecordOutcome::Error:
            error = ParseError{lineNo, why};
            return false;
        }
    }
    if (lastRecordLine == 0)
        error = ParseError{1, "the file holds no record, not even an end-of-file record"};
    else
        error = ParseError{lastRecordLine, "the file ends after this record without an "
                                           "end-of-file record"};
    return false;
}

bool parseText(std::string_view text, Image& image, std::string& error) {
    ParseError failure;
    if (parseText(text, image, failure)) return true;
    error = "line " + std::to_string(failure.line) + ": " + failure.reason;
    return false;
}

bool readFile(const std::string& path, Image& image, std::string& error) {
    std::string text;
    std::string why;
    switch (platform::ReadRegularFile(path, text, &why)) {
    case platform::FileReadStatus::Read:
        break;
    case platform::FileReadStatus::Missing:
        error = path + ": cannot open: " + why;
        return false;
    default:
        error = path + ": cannot read: " + why;
        return false;
    }
    if (!parseText(text, image, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace intelhex
