#include "flash_chip.h"

namespace simboard {

namespace {
constexpr uint32_t kUnlockAddress1 = 0x5555;
constexpr uint32_t kUnlockAddress2 = 0x2AAA;
constexpr uint8_t kReadArrayReset = 0xF0;
} // namespace

void FlashChip::eraseAll() {
    code_->fill(0xFF);
    data_.fill(0xFF);
    step_ = Step::Idle;
    dataShown_ = false;
    clearFaults();
}

void FlashChip::clearFaults() {
    unerased_.reset();
    corrupt_.reset();
}

uint8_t FlashChip::read(uint32_t offset) const {
    if (!dataShown_) return (*code_)[offset & 0xFFFF];
    return offset < kDataSize ? data_[offset] : 0xFF;
}

void FlashChip::write(uint32_t offset, uint8_t value) {
    switch (step_) {
    case Step::Idle:
        if (offset == kUnlockAddress1 && value == 0xAA)
            step_ = Step::Unlocked1;
        else
            abandon(value);
        return;
    case Step::Unlocked1:
        if (offset == kUnlockAddress2 && value == 0x55)
            step_ = Step::Unlocked2;
        else
            abandon(value);
        return;
    case Step::Unlocked2:
        if (offset != kUnlockAddress1) break;
        if (value == 0xA0) {
            step_ = Step::ProgramByte;
            return;
        }
        if (value == 0x80) {
            step_ = Step::EraseSetup;
            return;
        }
        if (value == 0xB0) {
            dataShown_ = true;
            step_ = Step::Idle;
            return;
        }
        break;
    case Step::ProgramByte:
        program(offset, value);
        step_ = Step::Idle;
        return;
    case Step::EraseSetup:
        if (offset == kUnlockAddress1 && value == 0xAA) {
            step_ = Step::EraseUnlock1;
            return;
        }
        break;
    case Step::EraseUnlock1:
        if (offset == kUnlockAddress2 && value == 0x55) {
            step_ = Step::EraseUnlock2;
            return;
        }
        break;
    case Step::EraseUnlock2:
        if (offset == kUnlockAddress1 && value == 0x10) {
            chipErase();
            step_ = Step::Idle;
            return;
        }
        if (value == 0x30) {
            sectorErase(offset);
            step_ = Step::Idle;
            return;
        }
        break;
    }
    abandon(value);
}

// A write that fits no sequence ends the one under way; F0 is also the
// read-array reset, wherever it is written.
void FlashChip::abandon(uint8_t value) {
    step_ = Step::Idle;
    if (value == kReadArrayReset) dataShown_ = false;
}

void FlashChip::program(uint32_t offset, uint8_t value) {
    if (dataShown_) {
        if (offset < kDataSize) data_[offset] &= value;
        return;
    }
    uint8_t& cell = (*code_)[offset & 0xFFFF];
    cell &= value;
    if (corrupt_ && *corrupt_ == offset) {
        cell = static_cast<uint8_t>(~cell);
        corrupt_.reset();
    }
}

void FlashChip::chipErase() {
    std::optional<uint8_t> stuck;
    if (unerased_) {
        uint8_t old = (*code_)[*unerased_];
        stuck = old == 0xFF ? 0x00 : old;
    }
    code_->fill(0xFF);
    if (stuck) {
        (*code_)[*unerased_] = *stuck;
        unerased_.reset();
    }
}

void FlashChip::sectorErase(uint32_t offset) {
    if (dataShown_) {
        data_.fill(0xFF);
        return;
    }
    uint32_t start = offset & ~(kSectorSize - 1);
    for (uint32_t i = 0; i < kSectorSize; ++i)
        (*code_)[start + i] = 0xFF;
}

} // namespace simboard
