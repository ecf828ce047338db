// A memory pane's host buffer seen by target address: the buffer holds the
// bytes of the addresses base to base + size - 1, and no other.
#pragma once

#include <cstddef>
#include <cstdint>

class MemoryView {
public:
    MemoryView() = default;
    MemoryView(uint8_t* data, size_t size, uint32_t base) : data_(data), size_(size), base_(base) {}

    uint32_t Base() const { return base_; }
    size_t Size() const { return size_; }
    bool Holds(uint32_t address) const {
        return data_ && address >= base_ && address - base_ < size_;
    }
    // The byte at `address`; false for an address the buffer does not hold.
    bool Load(uint32_t address, uint8_t& value) const {
        if (!Holds(address)) return false;
        value = data_[address - base_];
        return true;
    }
    // Stores the byte at `address`; false (nothing stored) for an address the
    // buffer does not hold.
    bool StoreByte(uint32_t address, uint8_t value) {
        if (!Holds(address)) return false;
        data_[address - base_] = value;
        return true;
    }

private:
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
    uint32_t base_ = 0;
};
