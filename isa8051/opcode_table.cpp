#include "opcode_table.h"

namespace isa8051 {

namespace {

const OpcodeInfo kTable[256] = {
    {1, 1, "NOP", {Operand::None, Operand::None, Operand::None}}, // 0x00
    {2, 2, "AJMP", {Operand::Addr11, Operand::None, Operand::None}}, // 0x01
    {3, 2, "LJMP", {Operand::Addr16, Operand::None, Operand::None}}, // 0x02
    {1, 1, "RR", {Operand::A, Operand::None, Operand::None}}, // 0x03
    {1, 1, "INC", {Operand::A, Operand::None, Operand::None}}, // 0x04
    {2, 1, "INC", {Operand::Direct, Operand::None, Operand::None}}, // 0x05
    {1, 1, "INC", {Operand::AtRi, Operand::None, Operand::None}}, // 0x06
    {1, 1, "INC", {Operand::AtRi, Operand::None, Operand::None}}, // 0x07
    {1, 1, "INC", {Operand::Rn, Operand::None, Operand::None}}, // 0x08
    {1, 1, "INC", {Operand::Rn, Operand::None, Operand::None}}, // 0x09
    {1, 1, "INC", {Operand::Rn, Operand::None, Operand::None}}, // 0x0A
    {1, 1, "INC", {Operand::Rn, Operand::None, Operand::None}}, // 0x0B
    {1, 1, "INC", {Operand::Rn, Operand::None, Operand::None}}, // 0x0C
    {1, 1, "INC", {Operand::Rn, Operand::None, Operand::None}}, // 0x0D
    {1, 1, "INC", {Operand::Rn, Operand::None, Operand::None}}, // 0x0E
    {1, 1, "INC", {Operand::Rn, Operand::None, Operand::None}}, // 0x0F
    {3, 2, "JBC", {Operand::Bit, Operand::Rel, Operand::None}}, // 0x10
    {2, 2, "ACALL", {Operand::Addr11, Operand::None, Operand::None}}, // 0x11
    {3, 2, "LCALL", {Operand::Addr16, Operand::None, Operand::None}}, // 0x12
    {1, 1, "RRC", {Operand::A, Operand::None, Operand::None}}, // 0x13
    {1, 1, "DEC", {Operand::A, Operand::None, Operand::None}}, // 0x14
    {2, 1, "DEC", {Operand::Direct, Operand::None, Operand::None}}, // 0x15
    {1, 1, "DEC", {Operand::AtRi, Operand::None, Operand::None}}, // 0x16
    {1, 1, "DEC", {Operand::AtRi, Operand::None, Operand::None}}, // 0x17
    {1, 1, "DEC", {Operand::Rn, Operand::None, Operand::None}}, // 0x18
    {1, 1, "DEC", {Operand::Rn, Operand::None, Operand::None}}, // 0x19
    {1, 1, "DEC", {Operand::Rn, Operand::None, Operand::None}}, // 0x1A
    {1, 1, "DEC", {Operand::Rn, Operand::None, Operand::None}}, // 0x1B
    {1, 1, "DEC", {Operand::Rn, Operand::None, Operand::None}}, // 0x1C
    {1, 1, "DEC", {Operand::Rn, Operand::None, Operand::None}}, // 0x1D
    {1, 1, "DEC", {Operand::Rn, Operand::None, Operand::None}}, // 0x1E
    {1, 1, "DEC", {Operand::Rn, Operand::None, Operand::None}}, // 0x1F
    {3, 2, "JB", {Operand::Bit, Operand::Rel, Operand::None}}, // 0x20
    {2, 2, "AJMP", {Operand::Addr11, Operand::None, Operand::None}}, // 0x21
    {1, 2, "RET", {Operand::None, Operand::None, Operand::None}}, // 0x22
    {1, 1, "RL", {Operand::A, Operand::None, Operand::None}}, // 0x23
    {2, 1, "ADD", {Operand::A, Operand::Imm8, Operand::None}}, // 0x24
    {2, 1, "ADD", {Operand::A, Operand::Direct, Operand::None}}, // 0x25
    {1, 1, "ADD", {Operand::A, Operand::AtRi, Operand::None}}, // 0x26
    {1, 1, "ADD", {Operand::A, Operand::AtRi, Operand::None}}, // 0x27
    {1, 1, "ADD", {Operand::A, Operand::Rn, Operand::None}}, // 0x28
    {1, 1, "ADD", {Operand::A, Operand::Rn, Operand::None}}, // 0x29
    {1, 1, "ADD", {Operand::A, Operand::Rn, Operand::None}}, // 0x2A
    {1, 1, "ADD", {Operand::A, Operand::Rn, Operand::None}}, // 0x2B
    {1, 1, "ADD", {Operand::A, Operand::Rn, Operand::None}}, // 0x2C
    {1, 1, "ADD", {Operand::A, Operand::Rn, Operand::None}}, // 0x2D
    {1, 1, "ADD", {Operand::A, Operand::Rn, Operand::None}}, // 0x2E
    {1, 1, "ADD", {Operand::A, Operand::Rn, Operand::None}}, // 0x2F
    {3, 2, "JNB", {Operand::Bit, Operand::Rel, Operand::None}}, // 0x30
    {2, 2, "ACALL", {Operand::Addr11, Operand::None, Operand::None}}, // 0x31
    {1, 2, "RETI", {Operand::None, Operand::None, Operand::None}}, // 0x32
    {1, 1, "RLC", {Operand::A, Operand::None, Operand::None}}, // 0x33
    {2, 1, "ADDC", {Operand::A, Operand::Imm8, Operand::None}}, // 0x34
    {2, 1, "ADDC", {Operand::A, Operand::Direct, Operand::None}}, // 0x35
    {1, 1, "ADDC", {Operand::A, Operand::AtRi, Operand::None}}, // 0x36
    {1, 1, "ADDC", {Operand::A, Operand::AtRi, Operand::None}}, // 0x37
    {1, 1, "ADDC", {Operand::A, Operand::Rn, Operand::None}}, // 0x38
    {1, 1, "ADDC", {Operand::A, Operand::Rn, Operand::None}}, // 0x39
    {1, 1, "ADDC", {Operand::A, Operand::Rn, Operand::None}}, // 0x3A
    {1, 1, "ADDC", {Operand::A, Operand::Rn, Operand::None}}, // 0x3B
    {1, 1, "ADDC", {Operand::A, Operand::Rn, Operand::None}}, // 0x3C
    {1, 1, "ADDC", {Operand::A, Operand::Rn, Operand::None}}, // 0x3D
    {1, 1, "ADDC", {Operand::A, Operand::Rn, Operand::None}}, // 0x3E
    {1, 1, "ADDC", {Operand::A, Operand::Rn, Operand::None}}, // 0x3F
    {2, 2, "JC", {Operand::Rel, Operand::None, Operand::None}}, // 0x40
    {2, 2, "AJMP", {Operand::Addr11, Operand::None, Operand::None}}, // 0x41
    {2, 1, "ORL", {Operand::Direct, Operand::A, Operand::None}}, // 0x42
    {3, 2, "ORL", {Operand::Direct, Operand::Imm8, Operand::None}}, // 0x43
    {2, 1, "ORL", {Operand::A, Operand::Imm8, Operand::None}}, // 0x44
    {2, 1, "ORL", {Operand::A, Operand::Direct, Operand::None}}, // 0x45
    {1, 1, "ORL", {Operand::A, Operand::AtRi, Operand::None}}, // 0x46
    {1, 1, "ORL", {Operand::A, Operand::AtRi, Operand::None}}, // 0x47
    {1, 1, "ORL", {Operand::A, Operand::Rn, Operand::None}}, // 0x48
    {1, 1, "ORL", {Operand::A, Operand::Rn, Operand::None}}, // 0x49
    {1, 1, "ORL", {Operand::A, Operand::Rn, Operand::None}}, // 0x4A
    {1, 1, "ORL", {Operand::A, Operand::Rn, Operand::None}}, // 0x4B
    {1, 1, "ORL", {Operand::A, Operand::Rn, Operand::None}}, // 0x4C
    {1, 1, "ORL", {Operand::A, Operand::Rn, Operand::None}}, // 0x4D
    {1, 1, "ORL", {Operand::A, Operand::Rn, Operand::None}}, // 0x4E
    {1, 1, "ORL", {Operand::A, Operand::Rn, Operand::None}}, // 0x4F
    {2, 2, "JNC", {Operand::Rel, Operand::None, Operand::None}}, // 0x50
    {2, 2, "ACALL", {Operand::Addr11, Operand::None, Operand::None}}, // 0x51
    {2, 1, "ANL", {Operand::Direct, Operand::A, Operand::None}}, // 0x52
    {3, 2, "ANL", {Operand::Direct, Operand::Imm8, Operand::None}}, // 0x53
    {2, 1, "ANL", {Operand::A, Operand::Imm8, Operand::None}}, // 0x54
    {2, 1, "ANL", {Operand::A, Operand::Direct, Operand::None}}, // 0x55
    {1, 1, "ANL", {Operand::A, Operand::AtRi, Operand::None}}, // 0x56
    {1, 1, "ANL", {Operand::A, Operand::AtRi, Operand::None}}, // 0x57
    {1, 1, "ANL", {Operand::A, Operand::Rn, Operand::None}}, // 0x58
    {1, 1, "ANL", {Operand::A, Operand::Rn, Operand::None}}, // 0x59
    {1, 1, "ANL", {Operand::A, Operand::Rn, Operand::None}}, // 0x5A
    {1, 1, "ANL", {Operand::A, Operand::Rn, Operand::None}}, // 0x5B
    {1, 1, "ANL", {Operand::A, Operand::Rn, Operand::None}}, // 0x5C
    {1, 1, "ANL", {Operand::A, Operand::Rn, Operand::None}}, // 0x5D
    {1, 1, "ANL", {Operand::A, Operand::Rn, Operand::None}}, // 0x5E
    {1, 1, "ANL", {Operand::A, Operand::Rn, Operand::None}}, // 0x5F
    {2, 2, "JZ", {Operand::Rel, Operand::None, Operand::None}}, // 0x60
    {2, 2, "AJMP", {Operand::Addr11, Operand::None, Operand::None}}, // 0x61
    {2, 1, "XRL", {Operand::Direct, Operand::A, Operand::None}}, // 0x62
    {3, 2, "XRL", {Operand::Direct, Operand::Imm8, Operand::None}}, // 0x63
    {2, 1, "XRL", {Operand::A, Operand::Imm8, Operand::None}}, // 0x64
    {2, 1, "XRL", {Operand::A, Operand::Direct, Operand::None}}, // 0x65
    {1, 1, "XRL", {Operand::A, Operand::AtRi, Operand::None}}, // 0x66
    {1, 1, "XRL", {Operand::A, Operand::AtRi, Operand::None}}, // 0x67
    {1, 1, "XRL", {Operand::A, Operand::Rn, Operand::None}}, // 0x68
    {1, 1, "XRL", {Operand::A, Operand::Rn, Operand::None}}, // 0x69
    {1, 1, "XRL", {Operand::A, Operand::Rn, Operand::None}}, // 0x6A
    {1, 1, "XRL", {Operand::A, Operand::Rn, Operand::None}}, // 0x6B
    {1, 1, "XRL", {Operand::A, Operand::Rn, Operand::None}}, // 0x6C
    {1, 1, "XRL", {Operand::A, Operand::Rn, Operand::None}}, // 0x6D
    {1, 1, "XRL", {Operand::A, Operand::Rn, Operand::None}}, // 0x6E
    {1, 1, "XRL", {Operand::A, Operand::Rn, Operand::None}}, // 0x6F
    {2, 2, "JNZ", {Operand::Rel, Operand::None, Operand::None}}, // 0x70
    {2, 2, "ACALL", {Operand::Addr11, Operand::None, Operand::None}}, // 0x71
    {2, 2, "ORL", {Operand::C, Operand::Bit, Operand::None}}, // 0x72
    {1, 2, "JMP", {Operand::AtA_DPTR, Operand::None, Operand::None}}, // 0x73
    {2, 1, "MOV", {Operand::A, Operand::Imm8, Operand::None}}, // 0x74
    {3, 2, "MOV", {Operand::Direct, Operand::Imm8, Operand::None}}, // 0x75
    {2, 1, "MOV", {Operand::AtRi, Operand::Imm8, Operand::None}}, // 0x76
    {2, 1, "MOV", {Operand::AtRi, Operand::Imm8, Operand::None}}, // 0x77
    {2, 1, "MOV", {Operand::Rn, Operand::Imm8, Operand::None}}, // 0x78
    {2, 1, "MOV", {Operand::Rn, Operand::Imm8, Operand::None}}, // 0x79
    {2, 1, "MOV", {Operand::Rn, Operand::Imm8, Operand::None}}, // 0x7A
    {2, 1, "MOV", {Operand::Rn, Operand::Imm8, Operand::None}}, // 0x7B
    {2, 1, "MOV", {Operand::Rn, Operand::Imm8, Operand::None}}, // 0x7C
    {2, 1, "MOV", {Operand::Rn, Operand::Imm8, Operand::None}}, // 0x7D
    {2, 1, "MOV", {Operand::Rn, Operand::Imm8, Operand::None}}, // 0x7E
    {2, 1, "MOV", {Operand::Rn, Operand::Imm8, Operand::None}}, // 0x7F
    {2, 2, "SJMP", {Operand::Rel, Operand::None, Operand::None}}, // 0x80
    {2, 2, "AJMP", {Operand::Addr11, Operand::None, Operand::None}}, // 0x81
    {2, 2, "ANL", {Operand::C, Operand::Bit, Operand::None}}, // 0x82
    {1, 2, "MOVC", {Operand::A, Operand::AtA_PC, Operand::None}}, // 0x83
    {1, 4, "DIV", {Operand::AB, Operand::None, Operand::None}}, // 0x84
    {3, 2, "MOV", {Operand::Direct, Operand::DirectSrc, Operand::None}}, // 0x85
    {2, 2, "MOV", {Operand::Direct, Operand::AtRi, Operand::None}}, // 0x86
    {2, 2, "MOV", {Operand::Direct, Operand::AtRi, Operand::None}}, // 0x87
    {2, 2, "MOV", {Operand::Direct, Operand::Rn, Operand::None}}, // 0x88
    {2, 2, "MOV", {Operand::Direct, Operand::Rn, Operand::None}}, // 0x89
    {2, 2, "MOV", {Operand::Direct, Operand::Rn, Operand::None}}, // 0x8A
    {2, 2, "MOV", {Operand::Direct, Operand::Rn, Operand::None}}, // 0x8B
    {2, 2, "MOV", {Operand::Direct, Operand::Rn, Operand::None}}, // 0x8C
    {2, 2, "MOV", {Operand::Direct, Operand::Rn, Operand::None}}, // 0x8D
    {2, 2, "MOV", {Operand::Direct, Operand::Rn, Operand::None}}, // 0x8E
    {2, 2, "MOV", {Operand::Direct, Operand::Rn, Operand::None}}, // 0x8F
    {3, 2, "MOV", {Operand::DPTR, Operand::Imm16, Operand::None}}, // 0x90
    {2, 2, "ACALL", {Operand::Addr11, Operand::None, Operand::None}}, // 0x91
    {2, 2, "MOV", {Operand::Bit, Operand::C, Operand::None}}, // 0x92
    {1, 2, "MOVC", {Operand::A, Operand::AtA_DPTR, Operand::None}}, // 0x93
    {2, 1, "SUBB", {Operand::A, Operand::Imm8, Operand::None}}, // 0x94
    {2, 1, "SUBB", {Operand::A, Operand::Direct, Operand::None}}, // 0x95
    {1, 1, "SUBB", {Operand::A, Operand::AtRi, Operand::None}}, // 0x96
    {1, 1, "SUBB", {Operand::A, Operand::AtRi, Operand::None}}, // 0x97
    {1, 1, "SUBB", {Operand::A, Operand::Rn, Operand::None}}, // 0x98
    {1, 1, "SUBB", {Operand::A, Operand::Rn, Operand::None}}, // 0x99
    {1, 1, "SUBB", {Operand::A, Operand::Rn, Operand::None}}, // 0x9A
    {1, 1, "SUBB", {Operand::A, Operand::Rn, Operand::None}}, // 0x9B
    {1, 1, "SUBB", {Operand::A, Operand::Rn, Operand::None}}, // 0x9C
    {1, 1, "SUBB", {Operand::A, Operand::Rn, Operand::None}}, // 0x9D
    {1, 1, "SUBB", {Operand::A, Operand::Rn, Operand::None}}, // 0x9E
    {1, 1, "SUBB", {Operand::A, Operand::Rn, Operand::None}}, // 0x9F
    {2, 2, "ORL", {Operand::C, Operand::NotBit, Operand::None}}, // 0xA0
    {2, 2, "AJMP", {Operand::Addr11, Operand::None, Operand::None}}, // 0xA1
    {2, 1, "MOV", {Operand::C, Operand::Bit, Operand::None}}, // 0xA2
    {1, 2, "INC", {Operand::DPTR, Operand::None, Operand::None}}, // 0xA3
    {1, 4, "MUL", {Operand::AB, Operand::None, Operand::None}}, // 0xA4
    {1, 1, "???", {Operand::None, Operand::None, Operand::None}}, // 0xA5
    {2, 2, "MOV", {Operand::AtRi, Operand::Direct, Operand::None}}, // 0xA6
    {2, 2, "MOV", {Operand::AtRi, Operand::Direct, Operand::None}}, // 0xA7
    {2, 2, "MOV", {Operand::Rn, Operand::Direct, Operand::None}}, // 0xA8
    {2, 2, "MOV", {Operand::Rn, Operand::Direct, Operand::None}}, // 0xA9
    {2, 2, "MOV", {Operand::Rn, Operand::Direct, Operand::None}}, // 0xAA
    {2, 2, "MOV", {Operand::Rn, Operand::Direct, Operand::None}}, // 0xAB
    {2, 2, "MOV", {Operand::Rn, Operand::Direct, Operand::None}}, // 0xAC
    {2, 2, "MOV", {Operand::Rn, Operand::Direct, Operand::None}}, // 0xAD
    {2, 2, "MOV", {Operand::Rn, Operand::Direct, Operand::None}}, // 0xAE
    {2, 2, "MOV", {Operand::Rn, Operand::Direct, Operand::None}}, // 0xAF
    {2, 2, "ANL", {Operand::C, Operand::NotBit, Operand::None}}, // 0xB0
    {2, 2, "ACALL", {Operand::Addr11, Operand::None, Operand::None}}, // 0xB1
    {2, 1, "CPL", {Operand::Bit, Operand::None, Operand::None}}, // 0xB2
    {1, 1, "CPL", {Operand::C, Operand::None, Operand::None}}, // 0xB3
    {3, 2, "CJNE", {Operand::A, Operand::Imm8, Operand::Rel}}, // 0xB4
    {3, 2, "CJNE", {Operand::A, Operand::Direct, Operand::Rel}}, // 0xB5
    {3, 2, "CJNE", {Operand::AtRi, Operand::Imm8, Operand::Rel}}, // 0xB6
    {3, 2, "CJNE", {Operand::AtRi, Operand::Imm8, Operand::Rel}}, // 0xB7
    {3, 2, "CJNE", {Operand::Rn, Operand::Imm8, Operand::Rel}}, // 0xB8
    {3, 2, "CJNE", {Operand::Rn, Operand::Imm8, Operand::Rel}}, // 0xB9
    {3, 2, "CJNE", {Operand::Rn, Operand::Imm8, Operand::Rel}}, // 0xBA
    {3, 2, "CJNE", {Operand::Rn, Operand::Imm8, Operand::Rel}}, // 0xBB
    {3, 2, "CJNE", {Operand::Rn, Operand::Imm8, Operand::Rel}}, // 0xBC
    {3, 2, "CJNE", {Operand::Rn, Operand::Imm8, Operand::Rel}}, // 0xBD
    {3, 2, "CJNE", {Operand::Rn, Operand::Imm8, Operand::Rel}}, // 0xBE
    {3, 2, "CJNE", {Operand::Rn, Operand::Imm8, Operand::Rel}}, // 0xBF
    {2, 2, "PUSH", {Operand::Direct, Operand::None, Operand::None}}, // 0xC0
    {2, 2, "AJMP", {Operand::Addr11, Operand::None, Operand::None}}, // 0xC1
    {2, 1, "CLR", {Operand::Bit, Operand::None, Operand::None}}, // 0xC2
    {1, 1, "CLR", {Operand::C, Operand::None, Operand::None}}, // 0xC3
    {1, 1, "SWAP", {Operand::A, Operand::None, Operand::None}}, // 0xC4
    {2, 1, "XCH", {Operand::A, Operand::Direct, Operand::None}}, // 0xC5
    {1, 1, "XCH", {Operand::A, Operand::AtRi, Operand::None}}, // 0xC6
    {1, 1, "XCH", {Operand::A, Operand::AtRi, Operand::None}}, // 0xC7
    {1, 1, "XCH", {Operand::A, Operand::Rn, Operand::None}}, // 0xC8
    {1, 1, "XCH", {Operand::A, Operand::Rn, Operand::None}}, // 0xC9
    {1, 1, "XCH", {Operand::A, Operand::Rn, Operand::None}}, // 0xCA
    {1, 1, "XCH", {Operand::A, Operand::Rn, Operand::None}}, // 0xCB
    {1, 1, "XCH", {Operand::A, Operand::Rn, Operand::None}}, // 0xCC
    {1, 1, "XCH", {Operand::A, Operand::Rn, Operand::None}}, // 0xCD
    {1, 1, "XCH", {Operand::A, Operand::Rn, Operand::None}}, // 0xCE
    {1, 1, "XCH", {Operand::A, Operand::Rn, Operand::None}}, // 0xCF
    {2, 2, "POP", {Operand::Direct, Operand::None, Operand::None}}, // 0xD0
    {2, 2, "ACALL", {Operand::Addr11, Operand::None, Operand::None}}, // 0xD1
    {2, 1, "SETB", {Operand::Bit, Operand::None, Operand::None}}, // 0xD2
    {1, 1, "SETB", {Operand::C, Operand::None, Operand::None}}, // 0xD3
    {1, 1, "DA", {Operand::A, Operand::None, Operand::None}}, // 0xD4
    {3, 2, "DJNZ", {Operand::Direct, Operand::Rel, Operand::None}}, // 0xD5
    {1, 1, "XCHD", {Operand::A, Operand::AtRi, Operand::None}}, // 0xD6
    {1, 1, "XCHD", {Operand::A, Operand::AtRi, Operand::None}}, // 0xD7
    {2, 2, "DJNZ", {Operand::Rn, Operand::Rel, Operand::None}}, // 0xD8
    {2, 2, "DJNZ", {Operand::Rn, Operand::Rel, Operand::None}}, // 0xD9
    {2, 2, "DJNZ", {Operand::Rn, Operand::Rel, Operand::None}}, // 0xDA
    {2, 2, "DJNZ", {Operand::Rn, Operand::Rel, Operand::None}}, // 0xDB
    {2, 2, "DJNZ", {Operand::Rn, Operand::Rel, Operand::None}}, // 0xDC
    {2, 2, "DJNZ", {Operand::Rn, Operand::Rel, Operand::None}}, // 0xDD
    {2, 2, "DJNZ", {Operand::Rn, Operand::Rel, Operand::None}}, // 0xDE
    {2, 2, "DJNZ", {Operand::Rn, Operand::Rel, Operand::None}}, // 0xDF
    {1, 2, "MOVX", {Operand::A, Operand::AtDPTR, Operand::None}}, // 0xE0
    {2, 2, "AJMP", {Operand::Addr11, Operand::None, Operand::None}}, // 0xE1
    {1, 2, "MOVX", {Operand::A, Operand::AtRi, Operand::None}}, // 0xE2
    {1, 2, "MOVX", {Operand::A, Operand::AtRi, Operand::None}}, // 0xE3
    {1, 1, "CLR", {Operand::A, Operand::None, Operand::None}}, // 0xE4
    {2, 1, "MOV", {Operand::A, Operand::Direct, Operand::None}}, // 0xE5
    {1, 1, "MOV", {Operand::A, Operand::AtRi, Operand::None}}, // 0xE6
    {1, 1, "MOV", {Operand::A, Operand::AtRi, Operand::None}}, // 0xE7
    {1, 1, "MOV", {Operand::A, Operand::Rn, Operand::None}}, // 0xE8
    {1, 1, "MOV", {Operand::A, Operand::Rn, Operand::None}}, // 0xE9
    {1, 1, "MOV", {Operand::A, Operand::Rn, Operand::None}}, // 0xEA
    {1, 1, "MOV", {Operand::A, Operand::Rn, Operand::None}}, // 0xEB
    {1, 1, "MOV", {Operand::A, Operand::Rn, Operand::None}}, // 0xEC
    {1, 1, "MOV", {Operand::A, Operand::Rn, Operand::None}}, // 0xED
    {1, 1, "MOV", {Operand::A, Operand::Rn, Operand::None}}, // 0xEE
    {1, 1, "MOV", {Operand::A, Operand::Rn, Operand::None}}, // 0xEF
    {1, 2, "MOVX", {Operand::AtDPTR, Operand::A, Operand::None}}, // 0xF0
    {2, 2, "ACALL", {Operand::Addr11, Operand::None, Operand::None}}, // 0xF1
    {1, 2, "MOVX", {Operand::AtRi, Operand::A, Operand::None}}, // 0xF2
    {1, 2, "MOVX", {Operand::AtRi, Operand::A, Operand::None}}, // 0xF3
    {1, 1, "CPL", {Operand::A, Operand::None, Operand::None}}, // 0xF4
    {2, 1, "MOV", {Operand::Direct, Operand::A, Operand::None}}, // 0xF5
    {1, 1, "MOV", {Operand::AtRi, Operand::A, Operand::None}}, // 0xF6
    {1, 1, "MOV", {Operand::AtRi, Operand::A, Operand::None}}, // 0xF7
    {1, 1, "MOV", {Operand::Rn, Operand::A, Operand::None}}, // 0xF8
    {1, 1, "MOV", {Operand::Rn, Operand::A, Operand::None}}, // 0xF9
    {1, 1, "MOV", {Operand::Rn, Operand::A, Operand::None}}, // 0xFA
    {1, 1, "MOV", {Operand::Rn, Operand::A, Operand::None}}, // 0xFB
    {1, 1, "MOV", {Operand::Rn, Operand::A, Operand::None}}, // 0xFC
    {1, 1, "MOV", {Operand::Rn, Operand::A, Operand::None}}, // 0xFD
    {1, 1, "MOV", {Operand::Rn, Operand::A, Operand::None}}, // 0xFE
    {1, 1, "MOV", {Operand::Rn, Operand::A, Operand::None}}, // 0xFF
};

} // namespace

const OpcodeInfo& opcodeInfo(uint8_t opcode) { return kTable[opcode]; }

int operandBytes(Operand op) {
    switch (op) {
    case Operand::Direct:
    case Operand::DirectSrc:
    case Operand::Imm8:
    case Operand::Bit:
    case Operand::NotBit:
    case Operand::Rel:
    case Operand::Addr11:
        return 1;
    case Operand::Imm16:
    case Operand::Addr16:
        return 2;
    default:
        return 0;
    }
}

} // namespace isa8051
