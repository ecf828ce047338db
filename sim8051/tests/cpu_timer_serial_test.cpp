// Timers 0 and 1 in their four modes and the serial transmitter's frame
// times. Programs of NOPs (one machine cycle each) let the clock run.
#include "cpu_test_support.h"

#include <gtest/gtest.h>

#include <ostream>

namespace sim8051::test {
namespace {

constexpr uint8_t kTf0 = 0x20, kTf1 = 0x80, kTr0 = 0x10, kTr1 = 0x40;
constexpr uint8_t kTi = 0x02;

void nops(Cpu& cpu, int n) {
    for (int i = 0; i < n; ++i)
        cpu.step();
}

TEST(Timers, Mode0CountsThirteenBits) {
    Cpu cpu;
    cpu.pokeSfr(TMOD, 0x00);
    cpu.pokeSfr(TH0, 0x01);
    cpu.pokeSfr(TL0, 0xFE); // prescaler 0x1E, upper bits set
    cpu.pokeSfr(TCON, kTr0);
    nops(cpu, 1);
    EXPECT_EQ(cpu.peekSfr(TL0), 0xFF);
    nops(cpu, 1);
    EXPECT_EQ(cpu.peekSfr(TL0), 0x00) << "the wrap of the prescaler clears TL's upper bits";
    EXPECT_EQ(cpu.peekSfr(TH0), 0x02);
    cpu.pokeSfr(TH0, 0xFF);
    cpu.pokeSfr(TL0, 0x1F);
    nops(cpu, 1);
    EXPECT_EQ(cpu.peekSfr(TH0), 0x00);
    EXPECT_TRUE(cpu.peekSfr(TCON) & kTf0);
}

TEST(Timers, Mode1CountsSixteenBits) {
    Cpu cpu;
    cpu.pokeSfr(TMOD, 0x10);
    cpu.pokeSfr(TH1, 0x12);
    cpu.pokeSfr(TL1, 0xFF);
    cpu.pokeSfr(TCON, kTr1);
    nops(cpu, 1);
    EXPECT_EQ(cpu.peekSfr(TH1), 0x13);
    EXPECT_EQ(cpu.peekSfr(TL1), 0x00);
    cpu.pokeSfr(TH1, 0xFF);
    cpu.pokeSfr(TL1, 0xFF);
    nops(cpu, 1);
    EXPECT_TRUE(cpu.peekSfr(TCON) & kTf1);
    EXPECT_EQ(cpu.peekSfr(TH1), 0x00);
}

TEST(Timers, Mode2ReloadsOnEveryOverflow) {
    Cpu cpu;
    cpu.pokeSfr(TMOD, 0x02);
    cpu.pokeSfr(TH0, 0xF0);
    cpu.pokeSfr(TL0, 0xFF);
    cpu.pokeSfr(TCON, kTr0);
    nops(cpu, 1);
    EXPECT_EQ(cpu.peekSfr(TL0), 0xF0);
    EXPECT_TRUE(cpu.peekSfr(TCON) & kTf0);
    cpu.pokeSfr(TH0, 0xFD); // period 3: MUL's four cycles overflow once more
    cpu.pokeSfr(TL0, 0xFE);
    load(cpu, {0xA4});
    cpu.step();
    EXPECT_EQ(cpu.peekSfr(TL0), 0xFF);
}

TEST(Timers, Mode3SplitsTimer0AndTimer1RunsWithoutTr1OrFlag) {
    Cpu cpu;
    cpu.pokeSfr(TMOD, 0x23); // timer 0 mode 3, timer 1 mode 2
    cpu.pokeSfr(TL0, 0xFF);
    cpu.pokeSfr(TH0, 0xFF);
    cpu.pokeSfr(TH1, 0x00);
    cpu.pokeSfr(TL1, 0xFF);
    cpu.pokeSfr(TCON, kTr0);
    nops(cpu, 1);
    EXPECT_TRUE(cpu.peekSfr(TCON) & kTf0) << "TL0 on TR0 and TF0";
    EXPECT_EQ(cpu.peekSfr(TH0), 0xFF) << "TH0 waits for TR1";
    EXPECT_EQ(cpu.peekSfr(TL1), 0x00) << "timer 1 runs without TR1";
    EXPECT_FALSE(cpu.peekSfr(TCON) & kTf1) << "and its overflow sets no flag";
    cpu.pokeSfr(TCON, kTr0 | kTr1);
    nops(cpu, 1);
    EXPECT_EQ(cpu.peekSfr(TH0), 0x00);
    EXPECT_TRUE(cpu.peekSfr(TCON) & kTf1) << "TH0 on TR1 and TF1";
}

TEST(Timers, Timer1InMode3Holds) {
    Cpu cpu;
    cpu.pokeSfr(TMOD, 0x30);
    cpu.pokeSfr(TL1, 0x12);
    cpu.pokeSfr(TCON, kTr1);
    nops(cpu, 5);
    EXPECT_EQ(cpu.peekSfr(TL1), 0x12);
}

TEST(Timers, GateStopsWhileIntPinIsLowAndCounterModeCountsNothing) {
    Cpu cpu;
    cpu.pokeSfr(TMOD, 0x59); // timer 0: gate, mode 1; timer 1: counter, mode 1
    cpu.pokeSfr(TCON, kTr0 | kTr1);
    cpu.setPortPins(3, 0xFB); // INT0 low
    nops(cpu, 3);
    EXPECT_EQ(cpu.peekSfr(TL0), 0x00);
    cpu.setPortPins(3, 0xFF);
    nops(cpu, 3);
    EXPECT_EQ(cpu.peekSfr(TL0), 0x03);
    EXPECT_EQ(cpu.peekSfr(TL1), 0x00);
}

TEST(Timers, AnInstructionsOwnWritesTakeEffectAtItsEnd) {
    Cpu cpu;
    cpu.pokeSfr(TMOD, 0x01);
    // SETB TR0; NOP; MOV TL0,#0x80 (two cycles)
    load(cpu, {0xD2, 0x8C, 0x00, 0x75, 0x8A, 0x80});
    cpu.step();
    EXPECT_EQ(cpu.peekSfr(TL0), 0x00) << "SETB TR0 does not count its own cycle";
    cpu.step();
    EXPECT_EQ(cpu.peekSfr(TL0), 0x01);
    cpu.step();
    EXPECT_EQ(cpu.peekSfr(TL0), 0x80) << "the write wins over the count";
}

struct FrameCase {
    uint8_t scon;
    bool smod;
    int cyclesToTi; // after the write, with timer 1 overflowing every cycle
};

// The case as the test lists name it (the default print would show the
// struct's padding bytes, which differ from run to run).
void PrintTo(const FrameCase& c, std::ostream* out) {
    *out << "SCON=" << int(c.scon) << (c.smod ? " SMOD" : "") << " TI after " << c.cyclesToTi;
}

class SerialFrame : public ::testing::TestWithParam<FrameCase> {};

TEST_P(SerialFrame, TiIsSetAfterTheFrameTime) {
    const FrameCase& c = GetParam();
    Cpu cpu;
    cpu.pokeSfr(TMOD, 0x20);
    cpu.pokeSfr(TH1, 0xFF);
    cpu.pokeSfr(TL1, 0xFF);
    cpu.pokeSfr(TCON, kTr1);
    cpu.pokeSfr(SCON, c.scon);
    cpu.pokeSfr(PCON, c.smod ? 0x80 : 0x00);
    load(cpu, {0x75, 0x99, 0x5A}); // MOV SBUF,#0x5A
    cpu.step();
    ASSERT_EQ(cpu.serialOut(), std::vector<uint8_t>{0x5A});
    nops(cpu, c.cyclesToTi - 1);
    EXPECT_FALSE(cpu.peekSfr(SCON) & kTi);
    nops(cpu, 1);
    EXPECT_TRUE(cpu.peekSfr(SCON) & kTi);
}

INSTANTIATE_TEST_SUITE_P(Modes, SerialFrame,
                         ::testing::Values(FrameCase{0x00, false, 8},         // 8 bits, fosc/12
                                           FrameCase{0x40, false, 10 * 32},   // timer 1 / 32
                                           FrameCase{0x40, true, 10 * 16},    // timer 1 / 16
                                           FrameCase{0x80, false, 59},        // 11 bits at fosc/64
                                           FrameCase{0x80, true, 30},         // 11 bits at fosc/32
                                           FrameCase{0xC0, false, 11 * 32})); // timer 1 / 32

TEST(Serial, TransmittedBytesAreKeptInOrder) {
    Cpu cpu;
    // MOV SBUF,#'O'; MOV A,#'K'; MOV SBUF,A
    load(cpu, {0x75, 0x99, 'O', 0x74, 'K', 0xF5, 0x99});
    cpu.run(3);
    EXPECT_EQ(cpu.serialOut(), (std::vector<uint8_t>{'O', 'K'}));
    cpu.clearSerialOut();
    EXPECT_TRUE(cpu.serialOut().empty());
}

TEST(CycleCounter, CountsMachineCyclesOfEveryInstruction) {
    Cpu cpu;
    // NOP; MOV DPTR,#0; MUL AB; LJMP 0
    load(cpu, {0x00, 0x90, 0x00, 0x00, 0xA4, 0x02, 0x00, 0x00});
    EXPECT_EQ(cpu.run(8), 8u);
    EXPECT_EQ(cpu.cycles(), 2u * (1 + 2 + 4 + 2));
}

} // namespace
} // namespace sim8051::test
