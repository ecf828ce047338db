// Small helpers for the core's unit tests.
#pragma once

#include "cpu8051.h"

#include <initializer_list>

namespace sim8051::test {

// Places `bytes` in code memory at `at` and points PC there.
inline void load(Cpu& cpu, std::initializer_list<uint8_t> bytes, uint16_t at = 0) {
    uint16_t a = at;
    for (const uint8_t b : bytes)
        cpu.code()[a++] = b;
    cpu.setPc(at);
}

inline bool carry(const Cpu& cpu) {
    return cpu.psw() & 0x80;
}
inline bool auxCarry(const Cpu& cpu) {
    return cpu.psw() & 0x40;
}
inline bool overflow(const Cpu& cpu) {
    return cpu.psw() & 0x04;
}
inline bool parity(const Cpu& cpu) {
    return cpu.psw() & 0x01;
}

} // namespace sim8051::test
