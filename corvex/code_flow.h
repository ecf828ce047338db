// Code-flow discovery: the instructions a program reaches from its reset and
// interrupt vectors.
#pragma once

#include "intel_hex.h"

#include <bitset>

namespace disasm8051 {

// The start address of every instruction reached by following the code from
// each of 0000H 0003H 000BH 0013H 001BH 0023H 002BH that the image holds:
// to the code target of every jump and call, and to the next instruction
// except after RET, RETI, LJMP, AJMP, SJMP and JMP @A+DPTR. An address that
// holds the undefined opcode, or an instruction with a byte the image does
// not hold, is not an instruction, and flow goes no further there.
// An interrupt vector is not followed where the linker placed code over it:
// when it lies inside an instruction reached from another vector, or when an
// instruction reached from it and one reached from the reset vector overlap
// with different starts.
std::bitset<intelhex::kImageSize> reachedInstructions(const intelhex::Image& image);

} // namespace disasm8051
