// The 8051 instruction set as one table of all 256 opcodes.
//
// The simulated CPU and the disassembler both read their instruction
// lengths from here, so they can never disagree on where an instruction ends.
#pragma once

#include <cstdint>

namespace isa8051 {

// How one operand is written in assembly and where its bytes come from.
// Operands are listed in assembly order. The only instruction whose
// encoding order differs is MOV direct,direct (0x85): its bytes are
// source then destination; the destination is `Direct`, the source `DirectSrc`.
enum class Operand : uint8_t {
    None,
    A,         // accumulator
    AB,        // A and B together (MUL, DIV)
    C,         // carry flag
    DPTR,      // data pointer
    AtDPTR,    // @DPTR (MOVX)
    AtA_DPTR,  // @A+DPTR (MOVC, JMP)
    AtA_PC,    // @A+PC (MOVC)
    Rn,        // R0..R7, number in opcode bits 2..0
    AtRi,      // @R0 or @R1, number in opcode bit 0
    Direct,    // direct address byte (RAM 0x00-0x7F or SFR 0x80-0xFF)
    DirectSrc, // source direct address of MOV direct,direct (first operand byte)
    Imm8,      // #data
    Imm16,     // #data16 (high byte first)
    Bit,       // bit address
    NotBit,    // /bit address
    Rel,       // signed 8-bit displacement from the next instruction
    Addr11,    // 11-bit page address (AJMP, ACALL)
    Addr16,    // 16-bit address (LJMP, LCALL, high byte first)
};

struct OpcodeInfo {
    uint8_t length;       // bytes, opcode included
    uint8_t cycles;       // machine cycles (12 oscillator clocks each)
    const char* mnemonic; // upper case; "???" for the undefined opcode 0xA5
    Operand operands[3];  // in assembly order, unused ones are None
};

constexpr uint8_t kUndefinedOpcode = 0xA5;

// The table entry of an opcode.
const OpcodeInfo& opcodeInfo(uint8_t opcode);

// Number of bytes an operand occupies in the encoding.
int operandBytes(Operand op);

// Target of a relative jump whose displacement byte is `rel`,
// for an instruction at `pc` with length `length`.
inline uint16_t relativeTarget(uint16_t pc, int length, uint8_t rel) {
    return static_cast<uint16_t>(pc + length + static_cast<int8_t>(rel));
}

// Target of AJMP/ACALL: the page of the next instruction with the 11 bits
// taken from opcode bits 7..5 and the operand byte.
inline uint16_t absoluteTarget(uint16_t pc, uint8_t opcode, uint8_t low) {
    uint16_t next = static_cast<uint16_t>(pc + 2);
    return static_cast<uint16_t>((next & 0xF800) | ((opcode & 0xE0) << 3) | low);
}

} // namespace isa8051
