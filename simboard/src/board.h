// The simulated target board: the 8051 core with 128 bytes of internal data,
// its SFRs, 64 KB of external data, the code flash it runs from, the data
// flash, and the adapter's 18 hardware breakpoint slots. It knows nothing of
// the wire protocol.
#pragma once

#include "flash_chip.h"

#include "cpu8051.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>

namespace simboard {

// Memory space codes of the adapter's protocol.
enum Space : uint8_t {
    kSpaceIdata = 1,
    kSpaceXdata = 2,
    kSpaceCode = 4,
    kSpaceSfr = 8,
};

constexpr uint32_t kFlashWindowBase = 0xFF0000;
constexpr int kBreakpointSlots = 18;

class Board {
public:
    Board();

    // The state at power-on: fresh CPU (reset), memories zero, both flashes
    // erased, then the HEX preload named by VEXA_SIM_HEX; all slots free.
    void powerOn();

    sim8051::Cpu& cpu() { return *cpu_; }
    FlashChip& flash() { return flash_; }

    // One byte of a memory space at a 24-bit address; outside a space's
    // range reads give 0xFF and writes are ignored.
    uint8_t read(uint8_t space, uint32_t address) const;
    void write(uint8_t space, uint32_t address, uint8_t value);

    // Breakpoint slots; out-of-range slot numbers are ignored.
    void setSlot(int slot, uint16_t address);
    void clearSlot(int slot);
    void clearAllSlots();
    // True and the address when the slot is in use.
    bool slot(int slot, uint16_t& address) const;
    bool isBreakpoint(uint16_t address) const { return breakAt_[address]; }

private:
    void rebuildBreakMap();
    void preloadFromEnvironment();

    std::unique_ptr<sim8051::Cpu> cpu_;
    FlashChip flash_;
    std::array<int32_t, kBreakpointSlots> slots_{};
    std::bitset<0x10000> breakAt_;
};

} // namespace simboard
