// Timers 0 and 1, the serial transmitter, the external interrupt pins and
// the two-level interrupt system.
//
// Timing model: an instruction of n machine cycles lets the timers count n
// cycles, under the control bits as they were before it (its own writes take
// effect at its end). The interrupt poll happens in the final cycle of an
// instruction and sees the request flags as they were before that cycle: a
// timer that overflows in the final cycle of an instruction (or a
// transmitter that sets TI then) is seen one instruction later. The
// instruction following RETI or a write to IE or IP always executes before an
// interrupt is taken. An interrupt is taken as a two-cycle LCALL to its
// vector, during which the timers keep counting.
#include "cpu_access.h"

namespace sim8051 {

namespace {

namespace tcon {
constexpr uint8_t kIt0 = 0x01, kIe0 = 0x02, kIt1 = 0x04, kIe1 = 0x08;
constexpr uint8_t kTr0 = 0x10, kTf0 = 0x20, kTr1 = 0x40, kTf1 = 0x80;
} // namespace tcon

namespace tmod {
constexpr uint8_t kT0Counter = 0x04, kT0Gate = 0x08;
constexpr uint8_t kT1Counter = 0x40, kT1Gate = 0x80;
} // namespace tmod

constexpr uint8_t kInt0Pin = 0x04, kInt1Pin = 0x08; // P3.2, P3.3
constexpr uint8_t kSconTi = 0x02, kSconRi = 0x01;
constexpr uint8_t kPconSmod = 0x80;

// Counts one timer (TL/TH pair) in mode 0, 1 or 2 by `cycles`; returns the
// number of overflows.
int countTimer(int mode, uint8_t& tl, uint8_t& th, int cycles) {
    switch (mode) {
    case 0: { // 13 bits: TH above a 5-bit prescaler in TL, whose upper 3 bits
              // (undefined in this mode) are cleared when the prescaler wraps
        const unsigned low = (tl & 0x1Fu) + static_cast<unsigned>(cycles);
        if (low <= 0x1F) {
            tl = static_cast<uint8_t>((tl & 0xE0) | low);
            return 0;
        }
        tl = static_cast<uint8_t>(low & 0x1F);
        const unsigned high = th + (low >> 5);
        th = static_cast<uint8_t>(high);
        return static_cast<int>(high >> 8);
    }
    case 1: { // 16 bits
        unsigned v = (static_cast<unsigned>(th) << 8 | tl) + cycles;
        th = static_cast<uint8_t>(v >> 8);
        tl = static_cast<uint8_t>(v);
        return static_cast<int>(v >> 16);
    }
    default: { // 2: TL counts, reloads from TH on overflow
        const unsigned v = tl + static_cast<unsigned>(cycles);
        if (v <= 0xFF) {
            tl = static_cast<uint8_t>(v);
            return 0;
        }
        const unsigned period = 0x100u - th;
        const unsigned past = v - 0x100u;
        tl = static_cast<uint8_t>(th + past % period);
        return static_cast<int>(1 + past / period);
    }
    }
}

// 8-bit counter of mode 3 (TL0 on timer 0's controls, TH0 on timer 1's).
int countByte(uint8_t& reg, int cycles) {
    const unsigned v = reg + static_cast<unsigned>(cycles);
    reg = static_cast<uint8_t>(v);
    return static_cast<int>(v >> 8);
}

} // namespace

void Cpu::refreshIdle() {
    const uint8_t tc = sfr_[TCON - 0x80];
    idle_ = (tc & (tcon::kTr0 | tcon::kTr1 | tcon::kIe0 | tcon::kIe1)) == 0 &&
            (sfr_[IE - 0x80] & 0x80) == 0 && txLeft_ < 0 && (sfr_[TMOD - 0x80] & 3) != 3 &&
            intPins_ == (kInt0Pin | kInt1Pin) &&
            (sfr_[P3 - 0x80] & pins_[3] & (kInt0Pin | kInt1Pin)) == (kInt0Pin | kInt1Pin);
}

// INT0/INT1 are pins P3.2/P3.3. Edge-triggered (ITx = 1): a falling edge sets
// IEx. Level-triggered: IEx follows the inverted pin.
void Cpu::sampleInterruptPins() {
    const uint8_t pinsNow = sfr_[P3 - 0x80] & pins_[3] & (kInt0Pin | kInt1Pin);
    uint8_t& tc = sfr_[TCON - 0x80];
    const uint8_t fell = intPins_ & ~pinsNow;
    if (tc & tcon::kIt0) {
        if (fell & kInt0Pin) tc |= tcon::kIe0;
    } else {
        tc = (pinsNow & kInt0Pin) ? (tc & ~tcon::kIe0) : (tc | tcon::kIe0);
    }
    if (tc & tcon::kIt1) {
        if (fell & kInt1Pin) tc |= tcon::kIe1;
    } else {
        tc = (pinsNow & kInt1Pin) ? (tc & ~tcon::kIe1) : (tc | tcon::kIe1);
    }
    intPins_ = pinsNow;
}

void Cpu::advanceClock(int cycles) {
    const uint8_t tc = sfr_[TCON - 0x80];
    if ((tc & (tcon::kTr0 | tcon::kTr1)) || (sfr_[TMOD - 0x80] & 3) == 3) advanceTimers(cycles);
    if (txLeft_ >= 0 && !txOnTimer1_) advanceTransmitter(12 * cycles);
}

// Timers count machine cycles. In counter mode (C/T = 1) a timer counts
// falling edges on its T0/T1 pin; the pins never toggle here, so a counter
// counts nothing. With GATE set a timer runs only while its INTx pin is high.
void Cpu::advanceTimers(int cycles) {
    uint8_t& tc = sfr_[TCON - 0x80];
    const uint8_t mode = sfr_[TMOD - 0x80];
    const uint8_t pins = sfr_[P3 - 0x80] & pins_[3];
    const int mode0 = mode & 3;
    const int mode1 = (mode >> 4) & 3;

    const bool run0 = (tc & tcon::kTr0) && !(mode & tmod::kT0Counter) &&
                      (!(mode & tmod::kT0Gate) || (pins & kInt0Pin));
    if (run0) {
        const int overflows = mode0 == 3
                                  ? countByte(sfr_[TL0 - 0x80], cycles)
                                  : countTimer(mode0, sfr_[TL0 - 0x80], sfr_[TH0 - 0x80], cycles);
        if (overflows) tc |= tcon::kTf0;
    }

    // Timer 0 in mode 3: TH0 is an 8-bit timer that takes TR1 and TF1 over;
    // timer 1 then runs whenever it is not in its own mode 3, without an
    // interrupt flag (typically as the baud rate generator).
    bool run1;
    if (mode0 == 3) {
        if ((tc & tcon::kTr1) && countByte(sfr_[TH0 - 0x80], cycles)) tc |= tcon::kTf1;
        run1 = mode1 != 3;
    } else {
        run1 = (tc & tcon::kTr1) && mode1 != 3; // mode 3 holds timer 1
    }
    run1 = run1 && !(mode & tmod::kT1Counter) && (!(mode & tmod::kT1Gate) || (pins & kInt1Pin));
    if (run1) {
        const int overflows = countTimer(mode1, sfr_[TL1 - 0x80], sfr_[TH1 - 0x80], cycles);
        if (overflows) {
            if (mode0 != 3) tc |= tcon::kTf1;
            if (txLeft_ >= 0 && txOnTimer1_) advanceTransmitter(overflows);
        }
    }
}

// A write to SBUF starts a frame; TI is set when the frame time has passed:
// 8 bits in mode 0, start + 8 data + stop bits in mode 1, start + 9 data +
// stop bits in modes 2 and 3. Modes 0 and 2 run from the oscillator (a bit is
// 12 clocks in mode 0; 64 clocks, or 32 with SMOD, in mode 2); modes 1 and 3
// from timer 1 overflows (a bit is 32 overflows, or 16 with SMOD).
void Cpu::startTransmit(uint8_t value) {
    serialOut_.push_back(value);
    const uint8_t sm = sfr_[SCON - 0x80] >> 6;
    const bool smod = sfr_[PCON - 0x80] & kPconSmod;
    switch (sm) {
    case 0:
        txOnTimer1_ = false;
        txLeft_ = 8 * 12;
        break;
    case 1:
        txOnTimer1_ = true;
        txLeft_ = 10 * (smod ? 16 : 32);
        break;
    case 2:
        txOnTimer1_ = false;
        txLeft_ = 11 * (smod ? 32 : 64);
        break;
    default:
        txOnTimer1_ = true;
        txLeft_ = 11 * (smod ? 16 : 32);
        break;
    }
}

void Cpu::advanceTransmitter(int units) {
    txLeft_ -= units;
    if (txLeft_ <= 0) {
        txLeft_ = -1;
        sfr_[SCON - 0x80] |= kSconTi;
    }
}

// Sources in polling order within a level: IE0, TF0, IE1, TF1, RI/TI; the
// vector of source k is 0x03 + 8k.
int Cpu::pollInterrupts(uint8_t tc, uint8_t scon) {
    uint8_t requests =
        static_cast<uint8_t>(((tc & tcon::kIe0) ? 0x01 : 0) | ((tc & tcon::kTf0) ? 0x02 : 0) |
                             ((tc & tcon::kIe1) ? 0x04 : 0) | ((tc & tcon::kTf1) ? 0x08 : 0) |
                             ((scon & (kSconTi | kSconRi)) ? 0x10 : 0));
    requests &= sfr_[IE - 0x80] & 0x1F;
    if (requests == 0) return 0;
    const uint8_t high = requests & sfr_[IP - 0x80];
    uint8_t chosen;
    int level;
    if (high) {
        if (inService_ & 2) return 0;
        chosen = high;
        level = 2;
    } else {
        if (inService_) return 0;
        chosen = requests;
        level = 1;
    }
    const int source = __builtin_ctz(chosen);
    uint8_t& live = sfr_[TCON - 0x80];
    switch (source) {
    case 0: // edge-triggered requests are cleared by the call
        if (live & tcon::kIt0) live &= ~tcon::kIe0;
        break;
    case 1:
        live &= ~tcon::kTf0;
        break;
    case 2:
        if (live & tcon::kIt1) live &= ~tcon::kIe1;
        break;
    case 3:
        live &= ~tcon::kTf1;
        break;
    default: // RI and TI stay set: the routine clears them
        break;
    }
    inService_ |= level;
    push(static_cast<uint8_t>(pc_));
    push(static_cast<uint8_t>(pc_ >> 8));
    pc_ = static_cast<uint16_t>(0x03 + 8 * source);
    cycles_ += 2;
    advanceClock(2);
    return 2;
}

// RETI ends the highest active level; the instruction after it always runs.
void Cpu::returnFromInterrupt() {
    if (inService_ & 2)
        inService_ &= ~2;
    else
        inService_ = 0;
    interruptDelay_ = true;
}

} // namespace sim8051
