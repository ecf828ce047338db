// libFuzzer target: arbitrary text through the Intel HEX reader and, when it
// is accepted, through the disassembler. Aborts when a listing breaks the
// rules its readers rely on, or when the reader takes a text with one digit
// of a record changed (the checksum covers every byte of a record).
#include "disassembler.h"
#include "intel_hex.h"

#include <bitset>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
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

    // Flow may reach into the middle of an instruction it reached before (a
    // jump back into an operand), so instruction lines may overlap; every
    // present byte must still be shown, and no line may show an absent one.
    static std::bitset<intelhex::kImageSize> covered;
    covered.reset();
    int previous = -1;
    for (const disasm8051::ListingLine& line : disasm8051::disassemble(image)) {
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
        require(word >= 2 && word <= 6 && word % 2 == 0);
        for (size_t i = 0; i < word / 2; ++i) {
            const size_t address = static_cast<size_t>(line.address) + i;
            require(address < intelhex::kImageSize && image.present[address]);
            covered.set(address);
        }
    }
    require(covered == image.present);
    return 0;
}
