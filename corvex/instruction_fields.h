// Where the operands of an 8051 instruction sit in its bytes, and the code
// address a jump or call instruction names.
#pragma once

#include "opcode_table.h"

#include <cstdint>
#include <optional>

namespace disasm8051 {

// Byte offset inside the instruction of each of its three operands, in
// assembly order. Operands are encoded in assembly order, except MOV
// direct,direct whose source byte comes first.
void operandOffsets(const isa8051::OpcodeInfo& info, int offsets[3]);

// The code target of the instruction whose bytes start at `code` and which
// sits at `address`: the destination of a relative, 11-bit or 16-bit jump or
// call; none for every other instruction.
std::optional<uint16_t> codeTarget(const uint8_t* code, uint16_t address,
                                   const isa8051::OpcodeInfo& info);

} // namespace disasm8051
