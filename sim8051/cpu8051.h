// A deterministic 8051 core: the CPU, its memories, timers 0 and 1, the
// serial port's transmit side and the two-level interrupt system.
//
// No window, thread or clock: the owner calls step() and decides when to stop.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace sim8051 {

// SFR addresses used by the core and by whoever inspects it.
enum Sfr : uint8_t {
    P0 = 0x80,
    SP = 0x81,
    DPL = 0x82,
    DPH = 0x83,
    PCON = 0x87,
    TCON = 0x88,
    TMOD = 0x89,
    TL0 = 0x8A,
    TL1 = 0x8B,
    TH0 = 0x8C,
    TH1 = 0x8D,
    P1 = 0x90,
    SCON = 0x98,
    SBUF = 0x99,
    P2 = 0xA0,
    IE = 0xA8,
    P3 = 0xB0,
    IP = 0xB8,
    PSW = 0xD0,
    ACC = 0xE0,
    B = 0xF0,
};

class Cpu {
public:
    static constexpr int kCodeSize = 0x10000;
    static constexpr int kXdataSize = 0x10000;

    // iramSize is 128 (8051) or 256 (8052: @Ri reaches 0x80-0xFF).
    explicit Cpu(int iramSize = 128);

    // Power-on/reset state of the CPU: PC 0, SFRs to their reset values
    // (SP 7, ports 0xFF, everything else 0), interrupts idle, cycle count kept.
    // Internal RAM, external RAM and code memory are kept.
    void reset();

    // Executes one instruction, then samples the interrupt sources; a pending
    // interrupt is taken as an LCALL to its vector before the next instruction.
    // Returns the machine cycles used (including an interrupt call taken).
    int step();

    // Runs up to `count` instructions; returns the number executed.
    uint64_t run(uint64_t count);

    // Registers and memories -------------------------------------------------
    uint16_t pc() const { return pc_; }
    void setPc(uint16_t pc) { pc_ = pc; }
    uint64_t cycles() const { return cycles_; }

    // Direct addressing: 0x00-0x7F internal RAM, 0x80-0xFF SFRs.
    // Reads and writes through these have no side effects beyond storing
    // (reading SBUF does not clear RI, writing SBUF does not transmit):
    // they are the debugger's view, not the program's. PSW.P is not storage:
    // it always shows the parity of ACC, whoever writes either of them.
    uint8_t peekDirect(uint8_t addr) const;
    void pokeDirect(uint8_t addr, uint8_t value);
    uint8_t peekSfr(uint8_t addr) const { return sfr_[addr & 0x7F]; }
    void pokeSfr(uint8_t addr, uint8_t value);

    // Internal RAM by indirect address (0..iramSize-1; others read 0xFF).
    uint8_t peekIram(uint8_t addr) const;
    void pokeIram(uint8_t addr, uint8_t value);
    int iramSize() const { return iramSize_; }

    std::array<uint8_t, kCodeSize>& code() { return code_; }
    const std::array<uint8_t, kCodeSize>& code() const { return code_; }
    std::array<uint8_t, kXdataSize>& xdata() { return xdata_; }
    const std::array<uint8_t, kXdataSize>& xdata() const { return xdata_; }

    // Convenience views of the common registers.
    uint8_t acc() const { return sfr_[ACC - 0x80]; }
    uint8_t psw() const { return sfr_[PSW - 0x80]; }
    uint8_t sp() const { return sfr_[SP - 0x80]; }
    uint16_t dptr() const {
        return static_cast<uint16_t>(sfr_[DPH - 0x80] << 8 | sfr_[DPL - 0x80]);
    }
    uint8_t reg(int n) const; // R0..R7 of the bank selected by PSW.RS

    // Bytes the program wrote to SBUF, in order (the transmit line).
    const std::vector<uint8_t>& serialOut() const { return serialOut_; }
    void clearSerialOut() { serialOut_.clear(); }

    // Port pins read by the program: a port reads (latch & pins); pins default
    // to all ones. Read-modify-write instructions use the latch.
    void setPortPins(int port, uint8_t pins) {
        pins_[port & 3] = pins;
        refreshIdle();
    }

private:
    // Instruction execution (execute.cpp): runs the instruction at pc_.
    void execute();
    // One instruction of `cycles` machine cycles with the timers, the serial
    // transmitter, the external interrupt pins and the interrupt poll around
    // it. Returns the machine cycles of an interrupt call taken (0 or 2).
    int stepWithPeripherals(int cycles);
    // Recomputes idle_: true when nothing but the instructions themselves can
    // change state (timers stopped, no transmission, EA clear, INT pins high
    // and no external request). Called wherever those conditions change.
    void refreshIdle();

    // Peripherals (peripherals.cpp).
    void sampleInterruptPins();
    void advanceClock(int cycles); // timers and serial transmitter
    void advanceTimers(int cycles);
    void advanceTransmitter(int units);
    void startTransmit(uint8_t value);
    int pollInterrupts(uint8_t tcon, uint8_t scon);
    void returnFromInterrupt();

    // Memory as the program sees it (cpu_access.h).
    uint8_t readDirect(uint8_t addr) const;      // ports read latch & pins
    uint8_t readDirectLatch(uint8_t addr) const; // read-modify-write reads
    void writeDirect(uint8_t addr, uint8_t value);
    void writeSfr(uint8_t addr, uint8_t value);
    uint8_t readIndirect(uint8_t addr) const;
    void writeIndirect(uint8_t addr, uint8_t value);
    bool readBit(uint8_t bit) const;
    bool readBitLatch(uint8_t bit) const;
    void writeBit(uint8_t bit, bool value);
    uint8_t& r(int n) { return iram_[regBase_ + n]; }
    void setAcc(uint8_t value);
    void setCarry(bool carry);
    bool carry() const { return sfr_[PSW - 0x80] & 0x80; }
    void push(uint8_t value);
    uint8_t pop();
    void syncPsw(); // parity from ACC, register bank from RS

    // Arithmetic with flags (execute.cpp).
    void add(uint8_t value, int carryIn);
    void subb(uint8_t value);
    void decimalAdjust();
    void compareJump(uint8_t a, uint8_t b, uint8_t rel, uint16_t next);

    uint16_t pc_ = 0;
    uint64_t cycles_ = 0;
    bool idle_ = true;
    int iramSize_;
    int regBase_ = 0; // address of R0 in the bank selected by PSW.RS
    std::array<uint8_t, 256> iram_{};
    std::array<uint8_t, 128> sfr_{};
    std::array<uint8_t, kCodeSize> code_{};
    std::array<uint8_t, kXdataSize> xdata_{};
    std::array<uint8_t, 4> pins_{{0xFF, 0xFF, 0xFF, 0xFF}};
    std::vector<uint8_t> serialOut_;

    // Interrupt bookkeeping.
    int inService_ = 0;           // bit 0: low-priority level active, bit 1: high
    bool interruptDelay_ = false; // last instruction was RETI or wrote IE/IP
    uint8_t intPins_ = 0x0C;      // INT0 (bit 2) and INT1 (bit 3) at the last sample

    // Serial transmitter: what is left of the frame before TI is set, counted
    // in oscillator clocks (modes 0 and 2) or timer 1 overflows (modes 1 and 3).
    int64_t txLeft_ = -1; // -1 when idle
    bool txOnTimer1_ = false;
};

} // namespace sim8051
