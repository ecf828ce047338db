#include "flash_packets.h"

#include "usb_link.h"

namespace {

constexpr uint8_t kSelectSpace = 0x5C;
constexpr uint8_t kSetAddress = 0x5B;
constexpr uint8_t kWriteByte = 0x55;
constexpr uint8_t kExternalDataSpace = 0x02;
constexpr uint8_t kFlashWindow = 0xFF; // address bits 23-16 of the flash window
constexpr uint8_t kReadArrayReset = 0xF0;

// One bus write: set the address 0xFF0000 + offset, write the byte.
void AppendWrite(FlashPacket& packet, uint16_t offset, uint8_t value) {
    packet.insert(packet.end(), {kSetAddress, kFlashWindow, uint8_t(offset >> 8),
                                 uint8_t(offset & 0xFF), kWriteByte, value});
}

void AppendSelectSpace(FlashPacket& packet) {
    packet.push_back(kSelectSpace);
    packet.push_back(kExternalDataSpace);
}

// The unlock writes that start every command sequence.
void AppendUnlock(FlashPacket& packet) {
    AppendWrite(packet, 0x5555, 0xAA);
    AppendWrite(packet, 0x2AAA, 0x55);
}

} // namespace

FlashPacket ChipErasePacket() {
    FlashPacket packet;
    AppendSelectSpace(packet);
    AppendUnlock(packet);
    AppendWrite(packet, 0x5555, 0x80);
    AppendUnlock(packet);
    AppendWrite(packet, 0x5555, 0x10);
    return packet;
}

FlashPacket ProgramPacket(uint16_t offset, const uint8_t* data, size_t count) {
    FlashPacket packet;
    packet.reserve(count * kProgramBytesPerDataByte);
    for (size_t i = 0; i < count; ++i) {
        AppendUnlock(packet);
        AppendWrite(packet, 0x5555, 0xA0);
        AppendWrite(packet, uint16_t(offset + i), data[i]);
    }
    return packet;
}

FlashPacket DataFlashSelectPacket() {
    FlashPacket packet;
    AppendSelectSpace(packet);
    AppendUnlock(packet);
    AppendWrite(packet, 0x5555, 0xB0);
    return packet;
}

FlashPacket DataFlashSectorErasePacket() {
    FlashPacket packet;
    AppendSelectSpace(packet);
    AppendUnlock(packet);
    AppendWrite(packet, 0x5555, 0x80);
    AppendUnlock(packet);
    AppendWrite(packet, 0x0000, 0x30);
    return packet;
}

FlashPacket ReadArrayResetPacket() {
    FlashPacket packet;
    AppendSelectSpace(packet);
    AppendWrite(packet, 0x0000, kReadArrayReset);
    return packet;
}

FlashPacket SequenceResetPacket() {
    FlashPacket packet;
    AppendSelectSpace(packet);
    AppendWrite(packet, 0x0000, 0xFF);
    AppendWrite(packet, 0x0000, kReadArrayReset);
    return packet;
}

void SendFlashPacket(const FlashPacket& packet) {
    if (g_pUsbLink && !packet.empty()) g_pUsbLink->SendCommand(packet.data(), packet.size());
}
