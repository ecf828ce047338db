// Memory access as the running program sees it. Included by the core's own
// source files only.
#pragma once

#include "cpu8051.h"

namespace sim8051 {

namespace psw {
constexpr uint8_t kCarry = 0x80;
constexpr uint8_t kAuxCarry = 0x40;
constexpr uint8_t kBank = 0x18;
constexpr uint8_t kOverflow = 0x04;
constexpr uint8_t kParity = 0x01;
} // namespace psw

inline uint8_t parityOf(uint8_t value) {
    return static_cast<uint8_t>(__builtin_parity(value));
}

// The four ports sit at 0x80, 0x90, 0xA0 and 0xB0.
inline bool isPort(uint8_t addr) {
    return (addr & 0x8F) == 0x80;
}

inline uint8_t Cpu::readDirect(uint8_t addr) const {
    if (addr < 0x80) return iram_[addr];
    if (isPort(addr)) return sfr_[addr & 0x7F] & pins_[(addr >> 4) & 3];
    return sfr_[addr & 0x7F];
}

inline uint8_t Cpu::readDirectLatch(uint8_t addr) const {
    return addr < 0x80 ? iram_[addr] : sfr_[addr & 0x7F];
}

inline void Cpu::writeDirect(uint8_t addr, uint8_t value) {
    if (addr < 0x80)
        iram_[addr] = value;
    else
        writeSfr(addr, value);
}

inline void Cpu::writeSfr(uint8_t addr, uint8_t value) {
    sfr_[addr & 0x7F] = value;
    switch (addr) {
    case ACC:
    case PSW:
        syncPsw();
        break;
    case SBUF:
        startTransmit(value);
        refreshIdle();
        break;
    case IE:
    case IP:
        interruptDelay_ = true;
        refreshIdle();
        break;
    case TCON:
    case TMOD:
    case P3:
        refreshIdle();
        break;
    default:
        break;
    }
}

inline uint8_t Cpu::readIndirect(uint8_t addr) const {
    return addr < iramSize_ ? iram_[addr] : 0xFF;
}

inline void Cpu::writeIndirect(uint8_t addr, uint8_t value) {
    if (addr < iramSize_) iram_[addr] = value;
}

// Bits 0x00-0x7F live in RAM bytes 0x20-0x2F; bits 0x80-0xFF in the SFRs
// whose address is a multiple of 8.
inline uint8_t bitByte(uint8_t bit) {
    return bit < 0x80 ? static_cast<uint8_t>(0x20 + (bit >> 3)) : static_cast<uint8_t>(bit & 0xF8);
}

inline bool Cpu::readBit(uint8_t bit) const {
    return (readDirect(bitByte(bit)) >> (bit & 7)) & 1;
}

inline bool Cpu::readBitLatch(uint8_t bit) const {
    return (readDirectLatch(bitByte(bit)) >> (bit & 7)) & 1;
}

inline void Cpu::writeBit(uint8_t bit, bool value) {
    const uint8_t addr = bitByte(bit);
    const uint8_t mask = static_cast<uint8_t>(1u << (bit & 7));
    const uint8_t old = readDirectLatch(addr);
    writeDirect(addr, value ? (old | mask) : (old & ~mask));
}

inline void Cpu::syncPsw() {
    uint8_t& p = sfr_[PSW - 0x80];
    p = static_cast<uint8_t>((p & ~psw::kParity) | parityOf(sfr_[ACC - 0x80]));
    regBase_ = p & psw::kBank;
}

inline void Cpu::setAcc(uint8_t value) {
    sfr_[ACC - 0x80] = value;
    uint8_t& p = sfr_[PSW - 0x80];
    p = static_cast<uint8_t>((p & ~psw::kParity) | parityOf(value));
}

inline void Cpu::setCarry(bool c) {
    uint8_t& p = sfr_[PSW - 0x80];
    p = static_cast<uint8_t>((p & ~psw::kCarry) | (c ? psw::kCarry : 0));
}

inline void Cpu::push(uint8_t value) {
    uint8_t& sp = sfr_[SP - 0x80];
    ++sp;
    writeIndirect(sp, value);
}

inline uint8_t Cpu::pop() {
    uint8_t& sp = sfr_[SP - 0x80];
    const uint8_t value = readIndirect(sp);
    --sp;
    return value;
}

} // namespace sim8051
