// What a program's linker map knows about its code, handed to the
// disassembler in a hints file, one fact a line:
//
//     code AAAA        code begins at AAAA (a function or a source line)
//     switch AAAA N    AAAA is a switch helper: a call of it is followed by
//                      its case table, whose case values are N bytes long
//                      (1, 2 or 4)
//
// AAAA is 4 hexadecimal digits (written upper-case); one blank between the
// fields; lines end at LF (a CR before it is allowed).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace disasm8051 {

struct SwitchHelper {
    uint16_t address;
    uint8_t valueBytes;
};

struct FlowHints {
    std::vector<uint16_t> codeStarts;
    std::vector<SwitchHelper> switchHelpers;
    bool empty() const { return codeStarts.empty() && switchHelpers.empty(); }
};

// The hints file's text.
std::string renderHints(const FlowHints& hints);

// Reads a hints file's text into `hints` (which starts empty). False, with
// the line (from 1) and what is wrong with it in `error`, when a line is not
// one of the two forms.
bool parseHints(std::string_view text, FlowHints& hints, std::string& error);

// Reads and parses the file at `path`; the message of a failure begins with
// the path ("h.txt: line 2: ...", "h.txt: cannot open: No such file or directory").
bool readHintsFile(const std::string& path, FlowHints& hints, std::string& error);

} // namespace disasm8051
