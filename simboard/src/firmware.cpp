#include "firmware.h"

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
        usb_.pushAnswer(p[0]);
        break;
    case kResetCpu:
        cpu.reset();
        usb_.pushAnswer(p[0]);
        break;
    case kClearAllBreakpoints:
        board_.clearAllSlots();
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
        writeMostSignificantFirst(p + 1, commandLength(p[0]) - 1);
        break;
    default: // not a command of this adapter
        break;
    }
}

void Firmware::startRun() {
    running_ = true;
    startInstructionDone_ = false;
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
    stopAndAnswerPc();
    if (breakRaceArmed_) {
        // The target had stopped on its own just before the break arrived,
        // so the firmware takes the break as one sent to a halted target.
        breakRaceArmed_ = false;
        usb_.pushAnswer(kBreak);
    }
}

void Firmware::stopAndAnswerPc() {
    running_ = false;
    answerPc();
}

void Firmware::answerPc() {
    uint16_t pc = board_.cpu().pc();
    usb_.pushAnswer(static_cast<uint8_t>(pc & 0xFF));
    usb_.pushAnswer(static_cast<uint8_t>(pc >> 8));
}

void Firmware::readBytes(size_t count) {
    for (size_t i = 0; i < count; ++i) {
        usb_.pushAnswer(board_.read(space_, address_));
        address_ = (address_ + 1) & kAddressMask;
    }
}

void Firmware::writeMostSignificantFirst(const uint8_t* wire, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        board_.write(space_, address_, wire[count - 1 - i]);
        address_ = (address_ + 1) & kAddressMask;
    }
}

} // namespace simboard
