// corvex IMAGE.hex OUTPUT [--hints HINTS]
//
// Disassembles an 8051 Intel HEX image into OUTPUT (format: disassembler.h),
// following the code also from what the HINTS file (flow_hints.h) says of it.
// OUTPUT is replaced only when it is a new name or a writable regular file of
// one name that is not the image (see output_file.h). Exit status 0 on
// success, 1 when the image or the hints cannot be read or the output may not
// or cannot be written (one line on standard error, OUTPUT untouched), 2 on a
// wrong command line.
#include "disassembler.h"
#include "flow_hints.h"
#include "intel_hex.h"
#include "output_file.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    const bool withHints = argc == 5 && std::strcmp(argv[3], "--hints") == 0;
    if (argc != 3 && !withHints) {
        std::fprintf(stderr, "usage: corvex IMAGE.hex OUTPUT [--hints HINTS]\n");
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
    disasm8051::FlowHints hints;
    if (withHints && !disasm8051::readHintsFile(argv[4], hints, error)) {
        std::fprintf(stderr, "corvex: %s\n", error.c_str());
        return 1;
    }
    const std::string listing = disasm8051::renderListing(disasm8051::disassemble(*image, hints));
    if (!corvex::writeFileAtomically(argv[2], listing, error)) {
        std::fprintf(stderr, "corvex: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
