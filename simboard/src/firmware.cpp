#include "firmware.h"

#include "simboard_hooks.h"

#include <vector>

namespace simboard {

namespace {

enum Command : uint8_t {
    kHandshake00 = 0x00,
    kHandshake02 = 0x02,
    kBreak = 0x13,
    kResetCpu = 0x17,
    kHandshake1C = 0x1C,
    kReadByte = 0x51,
    kReadBlock = 0x54,
    kWrite1 = 0x55,
    kWrite2 = 0x56,
    kWrite4 = 0x57,
    kReadPc = 0x59,
    kSetPc = 0x5A,
    kSetAddress = 0x5B,
    kSelectSpace = 0x5C,
    kStep = 0x5E,
    kSetBreakpoint = 0x64,
    kClearBreakpoint = 0x65,
    kClearAllBreakpoints = 0x66,
    kRun = 0x67,
};

// Total bytes of a command, its first byte included.
size_t commandLength(uint8_t command) {
    switch (command) {
    case kSetBreakpoint:
    case kSetAddress:
        return 4;
    case kSetPc:
    case kWrite2:
        return 3;
    case kClearBreakpoint:
    case kSelectSpace:
    case kReadBlock:
    case kWrite1:
        return 2;
    case kWrite4:
        return 5;
    default:
        return 1;
    }
}

constexpr uint32_t kAddressMask = 0xFFFFFF;

} // namespace

void Firmware::powerOn() {
    pendingLength_ = 0;
    space_ = kSpaceIdata;
    address_ = 0;
    running_ = false;
    startInstructionDone_ = false;
    breakRaceArmed_ = false;
    alternatives_ = 0;
}

void Firmware::receive(uint8_t byte) {
    if (running_) {
        if (byte == kBreak) breakWhileRunning();
        return; // nothing else is listened to while the target runs
    }
    pending_[pendingLength_++] = byte;
    if (pendingLength_ < commandLength(pending_[0])) return;
    execute();
    pendingLength_ = 0;
}

void Firmware::execute() {
    const uint8_t* p = pending_.data();
    sim8051::Cpu& cpu = board_.cpu();
    switch (p[0]) {
    case kBreak:
    case kHandshake1C:
    case kHandshake00:
    case kHandshake02:
        answerByte(p[0]);
        break;
    case kResetCpu:
        cpu.reset();
        answerByte(p[0]);
        break;
    case kClearAllBreakpoints:
        if (!alternative(SIMBOARD_ALT_HANDSHAKE_END_KEEPS_SLOTS)) board_.clearAllSlots();
        break;
    case kSetBreakpoint:
        board_.setSlot(p[1], static_cast<uint16_t>(p[2] << 8 | p[3]));
        break;
    case kClearBreakpoint:
        board_.clearSlot(p[1]);
        break;
    case kReadPc:
        answerPc();
        break;
    case kSetPc:
        cpu.setPc(static_cast<uint16_t>(p[1] << 8 | p[2]));
        break;
    case kStep:
        cpu.step();
        answerPc();
        break;
    case kRun:
        startRun();
        break;
    case kSelectSpace:
        space_ = p[1];
        break;
    case kSetAddress:
        address_ = static_cast<uint32_t>(p[1] << 16 | p[2] << 8 | p[3]);
        break;
    case kReadBlock:
        readBytes(p[1]);
        break;
    case kReadByte:
        readBytes(1);
        break;
    case kWrite1:
    case kWrite2:
    case kWrite4:
        writeValue(p + 1, commandLength(p[0]) - 1);
        break;
    default: // not a command of this adapter
        break;
    }
}

void Firmware::startRun() {
    running_ = true;
    startInstructionDone_ = false;
    if (alternative(SIMBOARD_ALT_RUN_STOPS_AT_START_BREAKPOINT) &&
        board_.isBreakpoint(board_.cpu().pc()))
        stopAndAnswerPc();
}

void Firmware::runSlice(uint64_t maxInstructions) {
    sim8051::Cpu& cpu = board_.cpu();
    for (uint64_t i = 0; i < maxInstructions && running_; ++i) {
        cpu.step();
        startInstructionDone_ = true;
        if (board_.isBreakpoint(cpu.pc())) stopAndAnswerPc();
    }
}

// The break byte stops the target after the instruction in progress; the
// one at the start PC is in progress until it has executed.
void Firmware::breakWhileRunning() {
    if (!startInstructionDone_) {
        board_.cpu().step();
        startInstructionDone_ = true;
    }
    if (!breakRaceArmed_) {
        stopAndAnswerPc();
        return;
    }
    // The target had stopped on its own one latency period before the break
    // arrived: its stop PC is already on the way, and the firmware takes the
    // break as one sent to a halted target, whose answer follows later.
    breakRaceArmed_ = false;
    stopAndAnswerPc(true);
    answerByte(kBreak);
}

void Firmware::stopAndAnswerPc(bool stoppedEarlier) {
    running_ = false;
    answerPc(stoppedEarlier);
}

void Firmware::answerPc(bool stoppedEarlier) {
    const uint16_t pc = board_.cpu().pc();
    const uint8_t answer[2] = {static_cast<uint8_t>(pc & 0xFF), static_cast<uint8_t>(pc >> 8)};
    UsbPort::Clock::time_point producedAt = UsbPort::Clock::now();
    if (stoppedEarlier) producedAt -= usb_.latency();
    usb_.pushAnswer(answer, 2, producedAt);
}

void Firmware::answerByte(uint8_t value) {
    usb_.pushAnswer(&value, 1);
}

void Firmware::readBytes(size_t count) {
    std::vector<uint8_t> answer(count);
    for (size_t i = 0; i < count; ++i) {
        answer[i] = board_.read(space_, address_);
        address_ = (address_ + 1) & kAddressMask;
    }
    usb_.pushAnswer(answer.data(), count);
}

// The value is stored most significant byte first (the last one on the wire
// at the current address), so that it reads back high byte first; the
// alternative stores the bytes in wire order.
void Firmware::writeValue(const uint8_t* wire, size_t count) {
    const bool wireOrder = alternative(SIMBOARD_ALT_VALUE_WRITE_IN_WIRE_ORDER);
    for (size_t i = 0; i < count; ++i) {
        board_.write(space_, address_, wireOrder ? wire[i] : wire[count - 1 - i]);
        address_ = (address_ + 1) & kAddressMask;
    }
}

} // namespace simboard
