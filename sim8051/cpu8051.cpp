#include "cpu8051.h"

#include "cpu_access.h"

namespace sim8051 {

Cpu::Cpu(int iramSize) : iramSize_(iramSize > 128 ? 256 : 128) {
    reset();
}

void Cpu::reset() {
    pc_ = 0;
    sfr_.fill(0);
    sfr_[SP - 0x80] = 0x07;
    sfr_[P0 - 0x80] = sfr_[P1 - 0x80] = sfr_[P2 - 0x80] = sfr_[P3 - 0x80] = 0xFF;
    syncPsw();
    inService_ = 0;
    interruptDelay_ = false;
    intPins_ = sfr_[P3 - 0x80] & pins_[3] & 0x0C;
    txLeft_ = -1;
    txOnTimer1_ = false;
    refreshIdle();
}

uint8_t Cpu::peekDirect(uint8_t addr) const {
    return addr < 0x80 ? iram_[addr] : sfr_[addr & 0x7F];
}

void Cpu::pokeDirect(uint8_t addr, uint8_t value) {
    if (addr < 0x80)
        iram_[addr] = value;
    else
        pokeSfr(addr, value);
}

void Cpu::pokeSfr(uint8_t addr, uint8_t value) {
    sfr_[addr & 0x7F] = value;
    syncPsw();
    refreshIdle();
}

uint8_t Cpu::peekIram(uint8_t addr) const {
    return readIndirect(addr);
}

void Cpu::pokeIram(uint8_t addr, uint8_t value) {
    writeIndirect(addr, value);
}

uint8_t Cpu::reg(int n) const {
    return iram_[(psw() & 0x18) + (n & 7)];
}

} // namespace sim8051
