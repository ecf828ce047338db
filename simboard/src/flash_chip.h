// The board's flash as the adapter's flash window sees it: the 64 KB code
// flash (which the CPU runs from) and the 256-byte data flash, with the JEDEC
// command-sequence decoder that erases and programs them.
//
// As a parallel NOR flash's datasheet has it: a half-entered command
// sequence waits for its next cycle however long it takes; a write that fits
// no sequence ends it and leaves the chip reading; the cycle after 5555=A0 is
// the byte to program, whatever its value (programming only clears bits);
// 0xF0 written anywhere outside that cycle is the read-array reset, which
// also leaves the data flash. Erasing and programming take no time.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace simboard {

class FlashChip {
public:
    static constexpr uint32_t kCodeSize = 0x10000;
    static constexpr uint32_t kDataSize = 0x100;
    static constexpr uint32_t kSectorSize = 0x1000;

    // The code flash is storage owned elsewhere (the CPU's code memory).
    void attachCode(std::array<uint8_t, kCodeSize>* code) { code_ = code; }

    // Both flashes erased, code flash shown, no sequence under way, no fault.
    void eraseAll();

    // A read of the window at `offset` (0..0xFFFF).
    uint8_t read(uint32_t offset) const;
    // A write to the window at `offset`: one cycle of a command sequence.
    void write(uint32_t offset, uint8_t value);

    bool dataFlashShown() const { return dataShown_; }
    std::array<uint8_t, kDataSize>& dataFlash() { return data_; }

    // Faults: see SimBoard_LeaveUnerased and SimBoard_CorruptNextProgram.
    void leaveUnerasedOnChipErase(uint16_t offset) { unerased_ = offset; }
    void corruptNextProgram(uint16_t offset) { corrupt_ = offset; }
    void clearFaults();

private:
    enum class Step {
        Idle,
        Unlocked1,   // 5555=AA seen
        Unlocked2,   // 2AAA=55 seen
        ProgramByte, // 5555=A0 seen: the next write is the byte
        EraseSetup,  // 5555=80 seen
        EraseUnlock1,
        EraseUnlock2,
    };

    void abandon(uint8_t value);
    void program(uint32_t offset, uint8_t value);
    void chipErase();
    void sectorErase(uint32_t offset);

    std::array<uint8_t, kCodeSize>* code_ = nullptr;
    std::array<uint8_t, kDataSize> data_{};
    Step step_ = Step::Idle;
    bool dataShown_ = false;
    std::optional<uint16_t> unerased_;
    std::optional<uint16_t> corrupt_;
};

} // namespace simboard
