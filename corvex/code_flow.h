// Code-flow discovery: the instructions a program reaches from its reset and
// interrupt vectors and from the places its linker map says code begins.
#pragma once

#include "flow_hints.h"
#include "intel_hex.h"

#include <bitset>
#include <vector>

namespace disasm8051 {

// The case table a switch helper reads after a call of it: entries of the
// case's code address (high byte first) and its value, up to an entry whose
// address is 0000H, whose two bytes are followed by the default's address.
struct CaseTable {
    uint16_t start;                // the byte after the call
    uint32_t end;                  // one past the default's address
    uint8_t valueBytes;            // of each entry's case value
    std::vector<uint16_t> targets; // each case's code address, the default's last
};

struct CodeFlow {
    std::bitset<intelhex::kImageSize> starts; // every instruction reached
    std::vector<CaseTable> tables;            // after the switch calls reached
    // The bytes after a switch call whose table does not read as one (it
    // runs out of the image, or names a place that holds no instruction).
    std::vector<uint16_t> unreadTables;
};

// Follows the code from the reset vector 0000H and every code start of
// `hints`, and from each of the interrupt vectors 0003H 000BH 0013H 001BH
// 0023H 002BH that the image holds: to the code target of every jump and
// call, and to the next instruction except after RET, RETI, LJMP, AJMP, SJMP
// and JMP @A+DPTR, and except after a call of a switch helper of `hints`,
// which goes on at each case and the default its table names instead. An
// address that holds the undefined opcode, or an instruction with a byte the
// image does not hold, is not an instruction, and flow goes no further there.
// An interrupt vector is not followed where the linker placed code over it:
// when it lies inside an instruction reached from another vector or from the
// reset vector and the code starts, or when an instruction reached from it
// overlaps one or a case table reached from those with different starts.
CodeFlow followCode(const intelhex::Image& image, const FlowHints& hints = {});

} // namespace disasm8051
