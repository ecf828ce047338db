#include "target_protocol.h"

#include "debugger_views.h"
#include "message_service.h"
#include "target_messages.h"
#include "usb_link.h"

#include <algorithm>
#include <cstdio>
#include <vector>

bool g_bReadProgress = false;
int g_nProgressScale = 0;
int g_nProgressBase = 0;

namespace {

// The length byte of a block read.
constexpr uint32_t kMaxReadPiece = 255;

// The primitives on the process-wide link; no link is a link failure.
int WriteByte(uint8_t value) {
    return g_pUsbLink ? g_pUsbLink->WriteByte(value) : -1;
}
int ReadByte(uint8_t* destination) {
    return g_pUsbLink ? g_pUsbLink->ReadByte(destination) : -1;
}
int SendCommand(const uint8_t* buffer, size_t length) {
    if (length == 0) return 0;
    return g_pUsbLink ? g_pUsbLink->SendCommand(buffer, length) : -1;
}
int ReadBytes(uint8_t* buffer, size_t length) {
    if (length == 0) return 0;
    return g_pUsbLink ? g_pUsbLink->ReadBytes(buffer, length) : -1;
}

// Sends a one-byte command and reads the two-byte program counter after it.
uint16_t ExchangePc(uint8_t command) {
    if (LinkFailedInScope()) return 0;
    uint8_t answer[2] = {0, 0};
    int result = WriteByte(command);
    if (result >= 0) result = ReadBytes(answer, 2);
    if (result < 0) {
        ShowUsbError();
        return 0;
    }
    return uint16_t(answer[0] | answer[1] << 8);
}

// Selects the space and sets the current address; -1 at the first failed
// transfer. Every operation ends at its first failure: what it would send
// after a lost byte would be taken out of place (operands as commands, a
// value written in the space selected before).
int SelectAddress(uint32_t address, int space) {
    const uint8_t addressBytes[3] = {uint8_t(address >> 16), uint8_t(address >> 8),
                                     uint8_t(address)};
    if (WriteByte(adapter::kSelectSpace) < 0 || WriteByte(uint8_t(space)) < 0 ||
        WriteByte(adapter::kSetAddress) < 0)
        return -1;
    return SendCommand(addressBytes, 3);
}

// Spaces 2 and 4 are kept; otherwise the address decides between internal
// data and SFRs, and a range that fits neither keeps the given space.
int EffectiveSpace(uint32_t address, int size, int space) {
    if (space == kSpaceExternalData || space == kSpaceCode) return space;
    if (uint64_t(address) + size < 0x80) return kSpaceInternalData;
    if (address >= 0x80 && uint64_t(address) + size < 0x100) return kSpaceSfr;
    return space;
}

// The value bytes of a write command (lowest first on the wire) as they must
// lie in target memory, from the address on, for the value to read back: the
// most significant first (a 16-bit SFR pair arrives with its bytes already
// exchanged, so it reads back low byte first).
//
// Where the adapter stores the bytes of 0x56 and 0x57 is its own; when they
// did not land that way, they are written again one by one.
int EnsureValueStored(uint32_t address, int space, const uint8_t* wire, int size) {
    uint8_t expected[4];
    for (int i = 0; i < size; ++i)
        expected[i] = wire[size - 1 - i];
    uint8_t stored[4] = {};
    const uint8_t readCommand[2] = {adapter::kReadBlock, uint8_t(size)};
    if (SelectAddress(address, space) < 0 || SendCommand(readCommand, 2) < 0) return -1;
    const int result = ReadBytes(stored, size_t(size));
    if (result < 0) return result;
    if (std::equal(expected, expected + size, stored)) return result;
    std::vector<uint8_t> bytewise;
    for (int i = 0; i < size; ++i) {
        const uint32_t at = address + uint32_t(i);
        bytewise.insert(bytewise.end(), {adapter::kSetAddress, uint8_t(at >> 16), uint8_t(at >> 8),
                                         uint8_t(at), adapter::kWrite1, expected[i]});
    }
    return SendCommand(bytewise.data(), bytewise.size());
}

bool AddressAllowed(uint32_t address, uint32_t count, int space) {
    const int64_t last = int64_t(address) + int64_t(count) - 1;
    if (space == kSpaceInternalData) return address <= 0x7F && last <= 0x7F;
    if (space == kSpaceSfr) return address >= 0x80 && address <= 0xFF && last <= 0xFF;
    return true;
}

} // namespace

uint16_t ReadPc() {
    return ExchangePc(adapter::kReadPc);
}

uint16_t StepInstruction() {
    return ExchangePc(adapter::kStep);
}

int SetPc(uint16_t pc) {
    if (LinkFailedInScope()) return 0;
    const uint8_t operand[2] = {uint8_t(pc >> 8), uint8_t(pc)};
    if (WriteByte(adapter::kSetPc) < 0 || SendCommand(operand, 2) < 0) {
        ShowUsbError();
        return 0;
    }
    return 1;
}

int ReadMemory(uint32_t address, uint8_t* destination, uint32_t count, int space) {
    if (!AddressAllowed(address, count, space)) {
        char text[96];
        std::snprintf(text, sizeof text, kAddressCheckFormat, address, space);
        platform::ShowMessage(text);
        return -1;
    }
    if (LinkFailedInScope()) return 0;
    if (SelectAddress(address, space) < 0) {
        ShowUsbError();
        return 0;
    }
    uint32_t total = 0;
    while (total < count) {
        const uint32_t piece = count - total < kMaxReadPiece ? count - total : kMaxReadPiece;
        const uint8_t command[2] = {adapter::kReadBlock, uint8_t(piece)};
        if (SendCommand(command, 2) < 0 || ReadBytes(destination + total, piece) < 0) {
            ShowUsbError();
            return 0;
        }
        total += piece;
        if (g_bReadProgress && MainFrameExists())
            ReportProgress(int(double(total) / count * g_nProgressScale + g_nProgressBase));
    }
    return int(total);
}

int WriteTargetValue(uint32_t address, uint32_t value, int size, int space) {
    if (LinkFailedInScope()) return 0;
    space = EffectiveSpace(address, size, space);
    if (space == kSpaceSfr && size == 2) value = (value & 0xFF) << 8 | (value >> 8 & 0xFF);
    int result = SelectAddress(address, space);
    uint8_t command[5] = {0, uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                          uint8_t(value >> 24)};
    switch (size) {
    case 1:
        command[0] = adapter::kWrite1;
        break;
    case 2:
        command[0] = adapter::kWrite2;
        break;
    case 4:
        command[0] = adapter::kWrite4;
        break;
    default: {
        char text[96];
        std::snprintf(text, sizeof text, kDataSizeFormat, size);
        platform::ShowMessage(text);
        return 0;
    }
    }
    if (result >= 0) result = SendCommand(command, 1 + size_t(size));
    if (result >= 0 && size > 1) result = EnsureValueStored(address, space, command + 1, size);
    if (result < 0) {
        ShowUsbError();
        return 0;
    }
    return 1;
}

uint32_t ReadTargetByte(uint32_t address, int space) {
    if (LinkFailedInScope()) return 0;
    uint8_t value = 0;
    if (SelectAddress(address, EffectiveSpace(address, 1, space)) < 0 ||
        WriteByte(adapter::kReadOne) < 0 || ReadByte(&value) < 0) {
        ShowUsbError();
        return 0;
    }
    return value;
}
