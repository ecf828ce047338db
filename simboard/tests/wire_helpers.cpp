#include "wire_helpers.h"

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes selectSpace(uint8_t space) {
    return {0x5C, space};
}

Bytes setAddress(uint32_t address) {
    return {0x5B, static_cast<uint8_t>(address >> 16), static_cast<uint8_t>(address >> 8),
            static_cast<uint8_t>(address)};
}

Bytes readBlock(uint8_t count) {
    return {0x54, count};
}

Bytes windowWrite(uint16_t offset, uint8_t value) {
    return {0x5B, 0xFF, static_cast<uint8_t>(offset >> 8), static_cast<uint8_t>(offset),
            0x55, value};
}

namespace {
Bytes unlock() {
    return windowWrite(0x5555, 0xAA) + windowWrite(0x2AAA, 0x55);
}
} // namespace

Bytes chipErasePacket() {
    return selectSpace(2) + unlock() + windowWrite(0x5555, 0x80) + unlock() +
           windowWrite(0x5555, 0x10);
}

Bytes programByteCycles(uint16_t offset, uint8_t value) {
    return unlock() + windowWrite(0x5555, 0xA0) + windowWrite(offset, value);
}

Bytes programPacket(uint16_t offset, const Bytes& data) {
    Bytes packet;
    for (size_t i = 0; i < data.size(); ++i)
        packet = packet + programByteCycles(static_cast<uint16_t>(offset + i), data[i]);
    return packet;
}

Bytes dataFlashSelectPacket() {
    return selectSpace(2) + unlock() + windowWrite(0x5555, 0xB0);
}

Bytes dataFlashSectorErasePacket() {
    return selectSpace(2) + unlock() + windowWrite(0x5555, 0x80) + unlock() +
           windowWrite(0x0000, 0x30);
}

Bytes readArrayResetPacket() {
    return selectSpace(2) + windowWrite(0x0000, 0xF0);
}
