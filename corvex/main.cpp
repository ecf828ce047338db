// corvex IMAGE.hex OUTPUT
//
// Disassembles an 8051 Intel HEX image into OUTPUT (format: disassembler.h).
// Exit status 0 on success, 1 when the image cannot be read or the output
// cannot be written (one line on standard error, OUTPUT untouched), 2 on a
// wrong command line.
#include "disassembler.h"
#include "intel_hex.h"
#include "output_file.h"

#include <cstdio>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: corvex IMAGE.hex OUTPUT\n");
        return 2;
    }
    auto image = std::make_unique<intelhex::Image>();
    std::string error;
    if (!intelhex::readFile(argv[1], *image, error)) {
        std::fprintf(stderr, "corvex: %s\n", error.c_str());
        return 1;
    }
    const std::string listing = disasm8051::renderListing(disasm8051::disassemble(*image));
    if (!corvex::writeFileAtomically(argv[2], listing, error)) {
        std::fprintf(stderr, "corvex: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
