// The interrupt system: vectors, the two priority levels, polling order,
// the one-instruction rules after RETI and IE/IP writes, the polling latency,
// and the external interrupt pins.
#include "cpu_test_support.h"

#include <gtest/gtest.h>

namespace sim8051::test {
namespace {

constexpr uint8_t kNop = 0x00;
constexpr uint8_t kReti = 0x32;

// Code memory of NOPs with RETI at every vector; PC at 0x0100.
void nopProgram(Cpu& cpu) {
    for (int v = 0x03; v <= 0x23; v += 8)
        cpu.code()[static_cast<uint16_t>(v)] = kReti;
    cpu.setPc(0x0100);
}

// Returns the vector the next step enters, or 0 when it enters none.
uint16_t stepAndSeeVector(Cpu& cpu) {
    const uint16_t sp = cpu.sp();
    cpu.step();
    return cpu.sp() == sp + 2 && cpu.pc() % 8 == 3 && cpu.pc() <= 0x23 ? cpu.pc() : 0;
}

TEST(Interrupts, TimerOverflowVectorsClearsTheFlagAndCostsTwoCycles) {
    Cpu cpu;
    nopProgram(cpu);
    cpu.pokeSfr(TMOD, 0x01);
    cpu.pokeSfr(TH0, 0xFF);
    cpu.pokeSfr(TL0, 0xFD);
    cpu.pokeSfr(IE, 0x82);
    cpu.pokeSfr(TCON, 0x10);
    EXPECT_EQ(cpu.step(), 1);
    EXPECT_EQ(cpu.step(), 1);
    // The overflow in the final cycle of the third NOP is polled after the fourth.
    EXPECT_EQ(cpu.step(), 1);
    EXPECT_TRUE(cpu.peekSfr(TCON) & 0x20);
    EXPECT_EQ(cpu.step(), 3);
    EXPECT_EQ(cpu.pc(), 0x000B);
    EXPECT_FALSE(cpu.peekSfr(TCON) & 0x20);
    EXPECT_EQ(cpu.peekIram(0x08), 0x04);
    EXPECT_EQ(cpu.peekIram(0x09), 0x01);
    EXPECT_EQ(cpu.cycles(), 6u);
    cpu.step(); // RETI
    EXPECT_EQ(cpu.pc(), 0x0104);
}

TEST(Interrupts, OverflowBeforeTheFinalCycleIsTakenAfterThatInstruction) {
    Cpu cpu;
    nopProgram(cpu);
    cpu.code()[0x0100] = 0x80; // SJMP +0: two cycles
    cpu.pokeSfr(TMOD, 0x01);
    cpu.pokeSfr(TH0, 0xFF);
    cpu.pokeSfr(TL0, 0xFF);
    cpu.pokeSfr(IE, 0x82);
    cpu.pokeSfr(TCON, 0x10);
    EXPECT_EQ(stepAndSeeVector(cpu), 0x000B);
}

TEST(Interrupts, HighPriorityFirstAndNestsIntoLow) {
    Cpu cpu;
    nopProgram(cpu);
    cpu.pokeSfr(IE, 0x8F);
    cpu.pokeSfr(IP, 0x08);                    // timer 1 high
    cpu.pokeSfr(TCON, 0x20 | 0x80 | 0x05);    // TF0, TF1, edge-triggered INTs
    EXPECT_EQ(stepAndSeeVector(cpu), 0x001B); // high before low
    EXPECT_EQ(stepAndSeeVector(cpu), 0);      // RETI
    EXPECT_EQ(stepAndSeeVector(cpu), 0x000B); // one instruction after RETI, then low
    cpu.code()[0x000B] = kNop;
    cpu.pokeSfr(TCON, 0x80 | 0x05);
    EXPECT_EQ(stepAndSeeVector(cpu), 0x001B) << "high nests into low";
    cpu.code()[0x001B] = kNop;
    cpu.pokeSfr(TCON, 0x80 | 0x05);
    EXPECT_EQ(stepAndSeeVector(cpu), 0) << "high does not nest into high";
}

TEST(Interrupts, SameLevelWaitsForRetiThenPollingOrder) {
    Cpu cpu;
    nopProgram(cpu);
    for (int v = 0x03; v <= 0x23; v += 8)
        cpu.code()[static_cast<uint16_t>(v)] = kNop;
    cpu.code()[0x04] = kReti;
    cpu.code()[0x0C] = kReti;
    cpu.code()[0x14] = kReti;
    cpu.code()[0x1C] = kReti;
    cpu.code()[0x24] = kReti;
    cpu.pokeSfr(IE, 0x9F);
    cpu.pokeSfr(SCON, 0x02);                      // TI
    cpu.pokeSfr(TCON, 0x80 | 0x20 | 0x08 | 0x05); // TF1, TF0, IE1, edge mode
    EXPECT_EQ(stepAndSeeVector(cpu), 0x000B);
    EXPECT_EQ(stepAndSeeVector(cpu), 0) << "IE1 waits: timer 0 is in service";
    EXPECT_EQ(stepAndSeeVector(cpu), 0); // RETI
    EXPECT_EQ(stepAndSeeVector(cpu), 0x0013);
    cpu.run(2);
    EXPECT_EQ(stepAndSeeVector(cpu), 0x001B);
    cpu.run(2);
    EXPECT_EQ(stepAndSeeVector(cpu), 0x0023);
    EXPECT_TRUE(cpu.peekSfr(SCON) & 0x02) << "TI stays set for the routine";
}

TEST(Interrupts, InstructionAfterAWriteToIeRunsFirst) {
    Cpu cpu;
    nopProgram(cpu);
    cpu.pokeSfr(IE, 0x02);
    cpu.pokeSfr(TCON, 0x20);
    cpu.code()[0x0100] = 0xD2; // SETB EA
    cpu.code()[0x0101] = 0xAF;
    EXPECT_EQ(stepAndSeeVector(cpu), 0);
    EXPECT_EQ(stepAndSeeVector(cpu), 0x000B);
    EXPECT_EQ(cpu.peekIram(0x08), 0x03) << "returns after the NOP that followed";
}

TEST(Interrupts, NothingWhileEaIsClear) {
    Cpu cpu;
    nopProgram(cpu);
    cpu.pokeSfr(IE, 0x1F);
    cpu.pokeSfr(TCON, 0xAA);
    cpu.pokeSfr(SCON, 0x03);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(stepAndSeeVector(cpu), 0);
}

TEST(ExternalInterrupts, EdgeModeLatchesAFallingEdgeAndTheCallClearsIt) {
    Cpu cpu;
    nopProgram(cpu);
    cpu.pokeSfr(TCON, 0x01); // IT0
    cpu.pokeSfr(IE, 0x81);
    cpu.step();
    cpu.setPortPins(3, 0xFB); // INT0 (P3.2) low
    EXPECT_EQ(stepAndSeeVector(cpu), 0) << "sampled in the final cycle: seen one instruction later";
    EXPECT_TRUE(cpu.peekSfr(TCON) & 0x02);
    EXPECT_EQ(stepAndSeeVector(cpu), 0x0003);
    EXPECT_FALSE(cpu.peekSfr(TCON) & 0x02);
    cpu.step(); // RETI; the pin is still low but there was no new edge
    EXPECT_EQ(stepAndSeeVector(cpu), 0);
    EXPECT_EQ(stepAndSeeVector(cpu), 0);
}

TEST(ExternalInterrupts, LevelModeRequestsWhileThePinIsLow) {
    Cpu cpu;
    nopProgram(cpu);
    cpu.pokeSfr(IE, 0x84);    // EX1
    cpu.setPortPins(3, 0xF7); // INT1 (P3.3) low
    EXPECT_EQ(stepAndSeeVector(cpu), 0);
    EXPECT_TRUE(cpu.peekSfr(TCON) & 0x08);
    EXPECT_EQ(stepAndSeeVector(cpu), 0x0013);
    EXPECT_TRUE(cpu.peekSfr(TCON) & 0x08) << "not cleared by the call";
    cpu.step(); // RETI
    EXPECT_EQ(stepAndSeeVector(cpu), 0x0013);
    cpu.setPortPins(3, 0xFF);
    cpu.step();
    EXPECT_FALSE(cpu.peekSfr(TCON) & 0x08);
}

TEST(ExternalInterrupts, ALowLatchBitDrivesThePinToo) {
    Cpu cpu;
    nopProgram(cpu);
    cpu.code()[0x0100] = 0xC2; // CLR P3.2
    cpu.code()[0x0101] = 0xB2;
    cpu.pokeSfr(TCON, 0x01);
    cpu.pokeSfr(IE, 0x81);
    cpu.step();
    EXPECT_EQ(stepAndSeeVector(cpu), 0);
    EXPECT_EQ(stepAndSeeVector(cpu), 0x0003);
}

} // namespace
} // namespace sim8051::test
