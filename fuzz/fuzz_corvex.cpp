// libFuzzer target: arbitrary text through the Intel HEX reader and, when it
// is accepted, through the disassembler. Aborts when a listing breaks the
// rules its readers rely on.
#include "disassembler.h"
#include "intel_hex.h"

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

    size_t covered = 0;
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
        covered += word / 2;
    }
    // Every present byte belongs to exactly one instruction or data line.
    require(covered == image.present.count());
    return 0;
}
