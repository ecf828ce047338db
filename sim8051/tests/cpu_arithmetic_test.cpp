// Flags of the arithmetic instructions at their corners.
#include "cpu_test_support.h"

#include <gtest/gtest.h>

namespace sim8051::test {
namespace {

struct AluCase {
    uint8_t opcode; // 0x24 ADD, 0x34 ADDC, 0x94 SUBB (A,#imm)
    uint8_t a, operand;
    bool carryIn;
    uint8_t result;
    bool cy, ac, ov;
};

class AluFlags : public ::testing::TestWithParam<AluCase> {};

TEST_P(AluFlags, ResultAndFlags) {
    const AluCase& c = GetParam();
    Cpu cpu;
    load(cpu, {0x74, c.a, static_cast<uint8_t>(c.carryIn ? 0xD3 : 0xC3), c.opcode, c.operand});
    cpu.step(); // MOV A,#a
    cpu.step(); // SETB C / CLR C
    cpu.step();
    EXPECT_EQ(cpu.acc(), c.result);
    EXPECT_EQ(carry(cpu), c.cy);
    EXPECT_EQ(auxCarry(cpu), c.ac);
    EXPECT_EQ(overflow(cpu), c.ov);
    EXPECT_EQ(parity(cpu), __builtin_parity(c.result) == 1);
}

INSTANTIATE_TEST_SUITE_P(Corners, AluFlags,
                         ::testing::Values(
                             // ADD ignores the carry in
                             AluCase{0x24, 0x7F, 0x01, true, 0x80, false, true, true},
                             AluCase{0x24, 0xFF, 0x01, false, 0x00, true, true, false},
                             AluCase{0x24, 0x80, 0x80, false, 0x00, true, false, true},
                             AluCase{0x24, 0x0F, 0x01, false, 0x10, false, true, false},
                             AluCase{0x24, 0xC0, 0xC0, false, 0x80, true, false, false},
                             // ADDC adds the carry into every stage
                             AluCase{0x34, 0x7F, 0x00, true, 0x80, false, true, true},
                             AluCase{0x34, 0xFF, 0xFF, true, 0xFF, true, true, false},
                             AluCase{0x34, 0x0E, 0x01, true, 0x10, false, true, false},
                             AluCase{0x34, 0x00, 0xFF, true, 0x00, true, true, false},
                             // SUBB: CY and AC are borrows, OV the signed overflow
                             AluCase{0x94, 0x00, 0x01, false, 0xFF, true, true, false},
                             AluCase{0x94, 0x80, 0x01, false, 0x7F, false, true, true},
                             AluCase{0x94, 0x7F, 0xFF, false, 0x80, true, false, true},
                             AluCase{0x94, 0x10, 0x01, false, 0x0F, false, true, false},
                             AluCase{0x94, 0x00, 0x00, true, 0xFF, true, true, false},
                             AluCase{0x94, 0x50, 0x20, true, 0x2F, false, true, false}));

struct DaCase {
    uint8_t a, b; // ADD A,#b with A = a, then DA A
    uint8_t result;
    bool cy;
};

class DecimalAdjust : public ::testing::TestWithParam<DaCase> {};

TEST_P(DecimalAdjust, AfterAdd) {
    const DaCase& c = GetParam();
    Cpu cpu;
    load(cpu, {0x74, c.a, 0x24, c.b, 0xD4});
    cpu.run(3);
    EXPECT_EQ(cpu.acc(), c.result);
    EXPECT_EQ(carry(cpu), c.cy);
}

INSTANTIATE_TEST_SUITE_P(Bcd, DecimalAdjust,
                         ::testing::Values(DaCase{0x15, 0x27, 0x42, false}, // low nibble > 9
                                           DaCase{0x08, 0x08, 0x16, false}, // AC set
                                           DaCase{0x99, 0x01, 0x00, true},  // both nibbles
                                           DaCase{0x90, 0x90, 0x80, true},  // CY from the add
                                           DaCase{0x56, 0x67, 0x23, true},
                                           DaCase{0x50, 0x50, 0x00, true}, // high nibble > 9
                                           DaCase{0x12, 0x34, 0x46, false}));

TEST(MultiplyDivide, MulSetsOverflowAboveByteAndClearsCarry) {
    Cpu cpu;
    load(cpu, {0xD3, 0x74, 0x50, 0x75, 0xF0, 0xA0, 0xA4, 0x74, 0x0F, 0x75, 0xF0, 0x11, 0xA4});
    cpu.run(4); // SETB C; A = 0x50; B = 0xA0; MUL AB
    EXPECT_EQ(cpu.acc(), 0x00);
    EXPECT_EQ(cpu.peekSfr(B), 0x32);
    EXPECT_TRUE(overflow(cpu));
    EXPECT_FALSE(carry(cpu));
    cpu.run(3); // 0x0F * 0x11 = 0xFF
    EXPECT_EQ(cpu.acc(), 0xFF);
    EXPECT_EQ(cpu.peekSfr(B), 0x00);
    EXPECT_FALSE(overflow(cpu));
}

TEST(MultiplyDivide, DivGivesQuotientAndRemainderAndFlagsDivisionByZero) {
    Cpu cpu;
    load(cpu, {0xD3, 0x74, 0xFB, 0x75, 0xF0, 0x12, 0x84, 0xD3, 0x74, 0x33, 0x75, 0xF0, 0x00, 0x84});
    cpu.run(4);
    EXPECT_EQ(cpu.acc(), 13);
    EXPECT_EQ(cpu.peekSfr(B), 17);
    EXPECT_FALSE(overflow(cpu));
    EXPECT_FALSE(carry(cpu));
    cpu.run(4); // 0x33 / 0
    EXPECT_TRUE(overflow(cpu));
    EXPECT_FALSE(carry(cpu));
    EXPECT_EQ(cpu.acc(), 0x33);
}

TEST(CompareAndJump, CarryMeansFirstBelowSecondAndJumpOnlyWhenDifferent) {
    Cpu cpu;
    // MOV A,#0x40; CJNE A,#0x41,+0; CJNE A,#0x40,+5; CJNE A,#0x3F,-2...
    load(cpu, {0x74, 0x40, 0xB4, 0x41, 0x00, 0xB4, 0x40, 0x05, 0xB4, 0x3F, 0x10});
    cpu.run(2);
    EXPECT_TRUE(carry(cpu));
    EXPECT_EQ(cpu.pc(), 0x0005);
    cpu.step(); // equal: no jump, carry clear
    EXPECT_FALSE(carry(cpu));
    EXPECT_EQ(cpu.pc(), 0x0008);
    cpu.step(); // greater: jump, carry clear
    EXPECT_FALSE(carry(cpu));
    EXPECT_EQ(cpu.pc(), 0x000B + 0x10);
}

TEST(CompareAndJump, RegisterAndIndirectForms) {
    Cpu cpu;
    cpu.pokeIram(0x30, 0x80);
    // MOV R0,#0x30; CJNE @R0,#0x81,+0; MOV R7,#0xFF; CJNE R7,#0x00,+0
    load(cpu, {0x78, 0x30, 0xB6, 0x81, 0x00, 0x7F, 0xFF, 0xBF, 0x00, 0x00});
    cpu.run(2);
    EXPECT_TRUE(carry(cpu));
    cpu.run(2);
    EXPECT_FALSE(carry(cpu));
}

TEST(Rotates, ThroughCarry) {
    Cpu cpu;
    // MOV A,#0x80; CLR C; RLC A; RLC A; MOV A,#0x01; SETB C; RRC A; RRC A
    load(cpu, {0x74, 0x80, 0xC3, 0x33, 0x33, 0x74, 0x01, 0xD3, 0x13, 0x13});
    cpu.run(3);
    EXPECT_EQ(cpu.acc(), 0x00);
    EXPECT_TRUE(carry(cpu));
    cpu.step();
    EXPECT_EQ(cpu.acc(), 0x01);
    EXPECT_FALSE(carry(cpu));
    cpu.run(3);
    EXPECT_EQ(cpu.acc(), 0x80);
    EXPECT_TRUE(carry(cpu));
    cpu.step();
    EXPECT_EQ(cpu.acc(), 0xC0);
    EXPECT_FALSE(carry(cpu));
}

TEST(Parity, FollowsAccumulatorWhateverWritesPsw) {
    Cpu cpu;
    // MOV A,#0x01; MOV PSW,#0x00; SETB PSW.0 on A = 0; POP PSW with P clear
    load(cpu, {0x74, 0x01, 0x75, 0xD0, 0x00, 0xE4, 0xD2, 0xD0, 0x74, 0x07, 0xC0, 0xD0, 0xD0, 0xD0});
    cpu.step();
    EXPECT_TRUE(parity(cpu));
    cpu.step();
    EXPECT_TRUE(parity(cpu)) << "a write to PSW does not change P";
    cpu.run(2);
    EXPECT_FALSE(parity(cpu)) << "SETB PSW.0 with an even ACC";
    cpu.run(3); // A = 7 (odd); PUSH PSW; POP PSW
    EXPECT_TRUE(parity(cpu));
    cpu.pokeSfr(ACC, 0x03);
    EXPECT_FALSE(parity(cpu)) << "the debugger's write to ACC updates P too";
    cpu.pokeSfr(PSW, 0x01);
    EXPECT_FALSE(parity(cpu));
}

} // namespace
} // namespace sim8051::test
