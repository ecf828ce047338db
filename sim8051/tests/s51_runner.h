// Drives s51 (the simulator of Debian's sdcc-ucsim package) through a whole
// program in one batch: it steps the program and dumps the registers,
// internal RAM and the timer and serial SFRs after every instruction.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sim8051::test {

struct S51State {
    uint16_t pc = 0;
    int cycles = -1; // machine cycles of the step, -1 when s51 did not say
    uint8_t acc = 0, b = 0, psw = 0, sp = 0;
    uint16_t dptr = 0;
    std::array<uint8_t, 8> r{};
    std::vector<uint8_t> iram;
    // TCON, TMOD, TL0, TL1, TH0, TH1 (0x88-0x8D) and SCON (0x98).
    std::array<uint8_t, 6> timers{};
    uint8_t scon = 0;
};

struct S51Run {
    std::string s51;     // path of the s51 program
    std::string hexFile; // program to load
    std::string cpuType = "51";
    int iramSize = 128; // 128 for an 8051, 256 for an 8052
    int steps = 20000;
};

// Runs s51 and fills `states` with the state after each step (the first entry
// is the state after the first instruction). Returns an error text, empty on
// success.
std::string runS51(const S51Run& run, std::vector<S51State>& states);

} // namespace sim8051::test
