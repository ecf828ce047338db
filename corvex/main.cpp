// corvex IMAGE.hex OUTPUT
//
// Disassembles an 8051 Intel HEX image into OUTPUT (format: disassembler.h).
// OUTPUT is replaced only when it is a new name or a writable regular file of
// one name that is not the image (see output_file.h). Exit status 0 on
// success, 1 when the image cannot be read or the output may not or cannot be
// written (one line on standard error, OUTPUT untouched), 2 on a wrong
// command line.
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
    std::string error;
    if (!corvex::mayReplaceOutput(argv[1], argv[2], error)) {
        std::fprintf(stderr, "corvex: %s\n", error.c_str());
        return 1;
    }
    auto image = std::make_unique<intelhex::Image>();
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
