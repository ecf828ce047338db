// libFuzzer target: arbitrary text through the Intel HEX reader and, when it
// is accepted, through the disassembler, without hints and with hints that
// make it read case tables out of the input. Aborts when a listing breaks the
// rules its readers rely on, or when the reader takes a text with one digit
// of a record changed (the checksum covers every byte of a record).
#include "disassembler.h"
#include "intel_hex.h"

#include <bitset>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr uint8_t kValueBytes[] = {1, 2, 4};

void require(bool condition) {
    if (!condition) std::abort();
}

// Flow may reach into the middle of an instruction it reached before (a jump
// back into an operand), so instruction lines may overlap; every present
// byte must still be shown, and no line may show an absent one.
void checkListing(const intelhex::Image& image, const std::vector<disasm8051::ListingLine>& lines) {
    static std::bitset<intelhex::kImageSize> covered;
    covered.reset();
    int previous = -1;
    for (const disasm8051::ListingLine& line : lines) {
        require(line.address >= previous);
        previous = line.address;
        require(image.present[line.address]);
        require(!line.text.empty() && line.text.back() != ' ');
        require(line.text.find('\t') == std::string::npos);
        if (line.kind == disasm8051::ListingLine::Kind::Label) {
            require(line.text.size() == 13 && line.text.rfind("; LABEL L", 0) == 0);
            continue;
        }
        require(line.text.find(':') == std::string::npos);
        require(line.text.find("LABEL") == std::string::npos);
        const size_t word = line.text.find(' ');
        const bool data = line.kind == disasm8051::ListingLine::Kind::Data;
        require(word >= 2 && word <= (data ? 8u : 6u) && word % 2 == 0);
        for (size_t i = 0; i < word / 2; ++i) {
            const size_t address = static_cast<size_t>(line.address) + i;
            require(address < intelhex::kImageSize && image.present[address]);
            covered.set(address);
        }
    }
    require(covered == image.present);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static intelhex::Image image;
    image = intelhex::Image();
    std::string error;
    if (!intelhex::parseText(std::string_view(reinterpret_cast<const char*>(data), size), image,
                             error)) {
        require(error.rfind("line ", 0) == 0 && error.find('\n') == std::string::npos);
        return 0;
    }

    // Only blanks come before the first record of a text the reader took.
    static std::string changed;
    changed.assign(reinterpret_cast<const char*>(data), size);
    const size_t colon = changed.find(':');
    if (colon != std::string::npos) {
        size_t end = changed.find_first_of(" \t\r\n", colon);
        if (end == std::string::npos) end = changed.size();
        const size_t at = colon + 1 + size % (end - colon - 1);
        changed[at] = changed[at] == '0' ? '1' : '0';
        static intelhex::Image other;
        other = intelhex::Image();
        require(!intelhex::parseText(changed, other, error));
    }

    // The listing of the bare image, and one with hints as a map gives them:
    // the first LCALL's target as a switch helper (its value length picked
    // by the input's size), whose case tables are then read from the input,
    // and a code start.
    checkListing(image, disasm8051::disassemble(image));
    disasm8051::FlowHints hints;
    for (uint32_t a = 0; a + 2 < intelhex::kImageSize && hints.switchHelpers.empty(); ++a)
        if (image.present[a] && image.bytes[a] == 0x12)
            hints.switchHelpers.push_back(
                {uint16_t(image.bytes[a + 1] << 8 | image.bytes[a + 2]), kValueBytes[size % 3]});
    hints.codeStarts.push_back(uint16_t(size * 257));
    checkListing(image, disasm8051::disassemble(image, hints));
    return 0;
}
