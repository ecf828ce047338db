#include "board.h"

#include "intel_hex.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace simboard {

namespace {
constexpr int kInternalRamSize = 128;
constexpr int32_t kFreeSlot = -1;
} // namespace

Board::Board() {
    powerOn();
}

void Board::powerOn() {
    cpu_ = std::make_unique<sim8051::Cpu>(kInternalRamSize);
    cpu_->reset();
    for (int a = 0; a < kInternalRamSize; ++a)
        cpu_->pokeIram(static_cast<uint8_t>(a), 0);
    cpu_->xdata().fill(0);
    flash_.attachCode(&cpu_->code());
    flash_.eraseAll();
    clearAllSlots();
    preloadFromEnvironment();
}

void Board::preloadFromEnvironment() {
    const char* path = std::getenv("VEXA_SIM_HEX");
    if (path == nullptr || *path == '\0') return;
    intelhex::Image image;
    std::string error;
    if (!intelhex::readFile(path, image, error)) {
        std::fprintf(stderr, "simboard: VEXA_SIM_HEX not loaded: %s\n", error.c_str());
        return;
    }
    auto& code = cpu_->code();
    for (uint32_t a = 0; a < intelhex::kImageSize; ++a)
        if (image.present[a]) code[a] = image.bytes[a];
}

uint8_t Board::read(uint8_t space, uint32_t address) const {
    switch (space) {
    case kSpaceIdata:
        return address < kInternalRamSize ? cpu_->peekIram(static_cast<uint8_t>(address)) : 0xFF;
    case kSpaceXdata:
        if (address <= 0xFFFF) return cpu_->xdata()[address];
        if (address >= kFlashWindowBase) return flash_.read(address - kFlashWindowBase);
        return 0xFF;
    case kSpaceCode:
        return address <= 0xFFFF ? cpu_->code()[address] : 0xFF;
    case kSpaceSfr:
        return address >= 0x80 && address <= 0xFF ? cpu_->peekSfr(static_cast<uint8_t>(address))
                                                  : 0xFF;
    default:
        return 0xFF;
    }
}

void Board::write(uint8_t space, uint32_t address, uint8_t value) {
    switch (space) {
    case kSpaceIdata:
        if (address < kInternalRamSize) cpu_->pokeIram(static_cast<uint8_t>(address), value);
        return;
    case kSpaceXdata:
        if (address <= 0xFFFF)
            cpu_->xdata()[address] = value;
        else if (address >= kFlashWindowBase)
            flash_.write(address - kFlashWindowBase, value);
        return;
    case kSpaceSfr:
        if (address >= 0x80 && address <= 0xFF) cpu_->pokeSfr(static_cast<uint8_t>(address), value);
        return;
    default: // code memory is written only through the flash window
        return;
    }
}

void Board::setSlot(int slot, uint16_t address) {
    if (slot < 0 || slot >= kBreakpointSlots) return;
    slots_[slot] = address;
    rebuildBreakMap();
}

void Board::clearSlot(int slot) {
    if (slot < 0 || slot >= kBreakpointSlots) return;
    slots_[slot] = kFreeSlot;
    rebuildBreakMap();
}

void Board::clearAllSlots() {
    slots_.fill(kFreeSlot);
    rebuildBreakMap();
}

bool Board::slot(int slot, uint16_t& address) const {
    if (slot < 0 || slot >= kBreakpointSlots || slots_[slot] == kFreeSlot) return false;
    address = static_cast<uint16_t>(slots_[slot]);
    return true;
}

void Board::rebuildBreakMap() {
    breakAt_.reset();
    for (int32_t s : slots_)
        if (s != kFreeSlot) breakAt_.set(static_cast<size_t>(s));
}

} // namespace simboard
