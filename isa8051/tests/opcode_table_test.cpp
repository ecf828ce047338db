#include "opcode_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace isa8051;

// Every entry's length must equal the opcode byte plus its operands' bytes;
// the CPU and the disassembler both advance the PC by this length.
TEST(OpcodeTable, LengthsAgreeWithOperands) {
    for (int op = 0; op < 256; ++op) {
        const OpcodeInfo& info = opcodeInfo(static_cast<uint8_t>(op));
        int bytes = 1;
        for (Operand o : info.operands) bytes += operandBytes(o);
        EXPECT_EQ(info.length, bytes) << "opcode " << op;
        EXPECT_GE(info.length, 1);
        EXPECT_LE(info.length, 3);
        EXPECT_TRUE(info.cycles == 1 || info.cycles == 2 || info.cycles == 4) << "opcode " << op;
    }
}

TEST(OpcodeTable, KnownCorners) {
    EXPECT_EQ(opcodeInfo(kUndefinedOpcode).length, 1);
    EXPECT_STREQ(opcodeInfo(0x12).mnemonic, "LCALL");
    EXPECT_EQ(opcodeInfo(0x12).length, 3);
    EXPECT_STREQ(opcodeInfo(0xF1).mnemonic, "ACALL");
    EXPECT_STREQ(opcodeInfo(0xE1).mnemonic, "AJMP");
    EXPECT_EQ(opcodeInfo(0x84).cycles, 4); // DIV
    EXPECT_EQ(opcodeInfo(0xA4).cycles, 4); // MUL
    EXPECT_EQ(opcodeInfo(0x85).operands[1], Operand::DirectSrc);
    EXPECT_EQ(opcodeInfo(0xD8).length, 2); // DJNZ Rn,rel
    EXPECT_EQ(opcodeInfo(0xD5).length, 3); // DJNZ direct,rel
    EXPECT_EQ(opcodeInfo(0x90).operands[1], Operand::Imm16);
}

// Instruction counts by mnemonic, as in the 8051 data sheets.
TEST(OpcodeTable, MnemonicCounts) {
    std::multiset<std::string> names;
    for (int op = 0; op < 256; ++op) names.insert(opcodeInfo(static_cast<uint8_t>(op)).mnemonic);
    EXPECT_EQ(names.count("MOV"), 58u);
    EXPECT_EQ(names.count("AJMP"), 8u);
    EXPECT_EQ(names.count("ACALL"), 8u);
    EXPECT_EQ(names.count("CJNE"), 12u);
    EXPECT_EQ(names.count("???"), 1u);
}

TEST(OpcodeTable, JumpTargets) {
    EXPECT_EQ(relativeTarget(0x0100, 2, 0xFE), 0x0100); // SJMP $
    EXPECT_EQ(relativeTarget(0x0100, 3, 0x10), 0x0113);
    EXPECT_EQ(relativeTarget(0x0000, 2, 0x80), 0xFF82); // wraps below zero
    // AJMP at 0x07FE: the next instruction is on page 0x0800.
    EXPECT_EQ(absoluteTarget(0x07FE, 0xE1, 0x23), 0x0F23);
    EXPECT_EQ(absoluteTarget(0x1000, 0x31, 0x45), 0x1145);
}
