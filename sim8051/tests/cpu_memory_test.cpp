// Register banks, bit addressing, ports, the stack, external and code
// memory, indirect RAM, page-relative jumps and the debugger's view.
#include "cpu_test_support.h"

#include <gtest/gtest.h>

namespace sim8051::test {
namespace {

TEST(RegisterBanks, PswRsSelectsWhereR0ToR7Live) {
    Cpu cpu;
    // for each bank: MOV PSW,#bank<<3; MOV R0,#bank+1; MOV R7,#bank+0x11
    for (int bank = 0; bank < 4; ++bank) {
        load(cpu, {0x75, 0xD0, static_cast<uint8_t>(bank << 3), 0x78,
                   static_cast<uint8_t>(bank + 1), 0x7F, static_cast<uint8_t>(bank + 0x11)});
        cpu.run(3);
        EXPECT_EQ(cpu.peekIram(static_cast<uint8_t>(bank * 8)), bank + 1);
        EXPECT_EQ(cpu.peekIram(static_cast<uint8_t>(bank * 8 + 7)), bank + 0x11);
        EXPECT_EQ(cpu.reg(0), bank + 1);
    }
    cpu.pokeSfr(PSW, 0x08); // the debugger switching banks is seen by the program
    load(cpu, {0xE8});      // MOV A,R0
    cpu.step();
    EXPECT_EQ(cpu.acc(), 2);
}

TEST(BitAddressing, RamBitsAndSfrBits) {
    Cpu cpu;
    // SETB 00h; SETB 7Fh; SETB ACC.7; CPL B.0; CLR 01h
    cpu.pokeIram(0x20, 0x02);
    load(cpu, {0xD2, 0x00, 0xD2, 0x7F, 0xD2, 0xE7, 0xB2, 0xF0, 0xC2, 0x01});
    cpu.run(5);
    EXPECT_EQ(cpu.peekIram(0x20), 0x01);
    EXPECT_EQ(cpu.peekIram(0x2F), 0x80);
    EXPECT_EQ(cpu.acc(), 0x80);
    EXPECT_TRUE(parity(cpu));
    EXPECT_EQ(cpu.peekSfr(B), 0x01);
}

TEST(BitAddressing, JbcClearsTheBitOnlyWhenItJumps) {
    Cpu cpu;
    cpu.pokeIram(0x21, 0x01);      // bit 08h
    load(cpu, {0x10, 0x08, 0x03}); // JBC 08h,+3
    cpu.step();
    EXPECT_EQ(cpu.pc(), 0x0006);
    EXPECT_EQ(cpu.peekIram(0x21), 0x00);
    load(cpu, {0x10, 0x08, 0x03}, 0x10);
    cpu.step();
    EXPECT_EQ(cpu.pc(), 0x0013);
}

TEST(Ports, ReadsSeeLatchAndPinsReadModifyWriteUsesTheLatch) {
    Cpu cpu;
    cpu.setPortPins(1, 0x0F); // upper pins held low outside
    // MOV A,P1; ANL P1,#0xF3; MOV C,P1.7; CPL P1.0
    load(cpu, {0xE5, 0x90, 0x53, 0x90, 0xF3, 0xA2, 0x97, 0xB2, 0x90});
    cpu.step();
    EXPECT_EQ(cpu.acc(), 0x0F);
    cpu.step();
    EXPECT_EQ(cpu.peekSfr(P1), 0xF3) << "the latch, not the pins, was modified";
    cpu.step();
    EXPECT_FALSE(carry(cpu)) << "a bit read sees the pin";
    cpu.step();
    EXPECT_EQ(cpu.peekSfr(P1), 0xF2);
}

TEST(Stack, PushPopCallReturn) {
    Cpu cpu;
    // MOV SP,#0x40; MOV A,#0x5A; PUSH ACC; LCALL 0x0100; POP B
    load(cpu, {0x75, 0x81, 0x40, 0x74, 0x5A, 0xC0, 0xE0, 0x12, 0x01, 0x00, 0xD0, 0xF0});
    load(cpu, {0x22}, 0x0100); // RET
    cpu.setPc(0);
    cpu.run(4);
    EXPECT_EQ(cpu.pc(), 0x0100);
    EXPECT_EQ(cpu.sp(), 0x43);
    EXPECT_EQ(cpu.peekIram(0x41), 0x5A);
    EXPECT_EQ(cpu.peekIram(0x42), 0x0A) << "return address low byte first";
    EXPECT_EQ(cpu.peekIram(0x43), 0x00);
    cpu.run(2);
    EXPECT_EQ(cpu.pc(), 0x000C);
    EXPECT_EQ(cpu.peekSfr(B), 0x5A);
    EXPECT_EQ(cpu.sp(), 0x40);
}

TEST(Stack, PushSpStoresTheIncrementedValueAndPopSpKeepsThePoppedOne) {
    Cpu cpu;
    // PUSH SP; POP SP
    load(cpu, {0xC0, 0x81, 0xD0, 0x81});
    cpu.step();
    EXPECT_EQ(cpu.sp(), 0x08);
    EXPECT_EQ(cpu.peekIram(0x08), 0x08);
    cpu.step();
    EXPECT_EQ(cpu.sp(), 0x08);
}

TEST(IndirectRam, UpperHalfExistsOnlyOn8052AndDirectReachesSfrs) {
    for (const int size : {128, 256}) {
        Cpu cpu(size);
        // MOV R0,#0x90; MOV @R0,#0x77; MOV A,@R0; MOV B,0x90
        load(cpu, {0x78, 0x90, 0x76, 0x77, 0xE6, 0x85, 0x90, 0xF0});
        cpu.run(4);
        EXPECT_EQ(cpu.acc(), size == 256 ? 0x77 : 0xFF) << size;
        EXPECT_EQ(cpu.peekSfr(B), 0xFF) << "direct 0x90 is P1";
    }
}

TEST(ExternalMemory, MovxThroughDptrAndThroughRiWithP2) {
    Cpu cpu;
    cpu.xdata()[0x1234] = 0xAB;
    // MOV DPTR,#0x1234; MOVX A,@DPTR; MOV P2,#0x56; MOV R1,#0x78; MOVX @R1,A
    load(cpu, {0x90, 0x12, 0x34, 0xE0, 0x75, 0xA0, 0x56, 0x79, 0x78, 0xF3});
    cpu.run(5);
    EXPECT_EQ(cpu.acc(), 0xAB);
    EXPECT_EQ(cpu.xdata()[0x5678], 0xAB);
}

TEST(CodeMemory, MovcFromPcAndFromDptr) {
    Cpu cpu;
    // MOV A,#1; MOVC A,@A+PC; table at 3: 0x11 0x22; then MOV DPTR,#0x0200; MOVC A,@A+DPTR
    load(cpu, {0x74, 0x01, 0x83, 0x11, 0x22});
    cpu.run(2);
    EXPECT_EQ(cpu.acc(), 0x22) << "A + the address of the next instruction";
    cpu.code()[0x0222] = 0x99;
    load(cpu, {0x90, 0x02, 0x00, 0x93}, 0x10);
    cpu.run(2);
    EXPECT_EQ(cpu.acc(), 0x99);
}

TEST(PageJumps, AjmpAndAcallTakeThePageOfTheNextInstruction) {
    Cpu cpu;
    load(cpu, {0x21, 0x10}, 0x07FE); // AJMP from the last two bytes of page 0
    cpu.step();
    EXPECT_EQ(cpu.pc(), 0x0910);
    load(cpu, {0xF1, 0x23}, 0x1000); // ACALL, opcode bits 7..5 = 7
    cpu.step();
    EXPECT_EQ(cpu.pc(), 0x1723);
    EXPECT_EQ(cpu.peekIram(0x08), 0x02);
    EXPECT_EQ(cpu.peekIram(0x09), 0x10);
}

TEST(Exchange, XchdSwapsLowNibbles) {
    Cpu cpu;
    cpu.pokeIram(0x40, 0xAB);
    // MOV R0,#0x40; MOV A,#0x12; XCHD A,@R0
    load(cpu, {0x78, 0x40, 0x74, 0x12, 0xD6});
    cpu.run(3);
    EXPECT_EQ(cpu.acc(), 0x1B);
    EXPECT_EQ(cpu.peekIram(0x40), 0xA2);
}

TEST(DebuggerView, PeeksAndPokesHaveNoSideEffects) {
    Cpu cpu;
    cpu.pokeSfr(SBUF, 0x41);
    EXPECT_TRUE(cpu.serialOut().empty());
    cpu.pokeDirect(0x30, 0x12);
    cpu.pokeDirect(IE, 0x82);
    EXPECT_EQ(cpu.peekDirect(0x30), 0x12);
    EXPECT_EQ(cpu.peekDirect(IE), 0x82);
    cpu.setPortPins(1, 0x00);
    EXPECT_EQ(cpu.peekSfr(P1), 0xFF) << "the debugger sees the latch";
}

TEST(Reset, RestoresSfrsAndKeepsMemoriesAndCycles) {
    Cpu cpu;
    load(cpu, {0x75, 0x81, 0x60, 0x75, 0x30, 0x55, 0x75, 0x90, 0x00});
    cpu.run(3);
    cpu.xdata()[7] = 9;
    const uint64_t cycles = cpu.cycles();
    cpu.reset();
    EXPECT_EQ(cpu.pc(), 0);
    EXPECT_EQ(cpu.sp(), 0x07);
    EXPECT_EQ(cpu.peekSfr(P1), 0xFF);
    EXPECT_EQ(cpu.peekIram(0x30), 0x55);
    EXPECT_EQ(cpu.xdata()[7], 9);
    EXPECT_EQ(cpu.cycles(), cycles);
}

} // namespace
} // namespace sim8051::test
