// The SimBoard_ test hooks declared in simboard_hooks.h.
#include "simboard_hooks.h"
#include "simulator.h"

#include <algorithm>

using simboard::simulator;
using Lock = std::lock_guard<std::mutex>;

namespace {

struct MemoryRange {
    uint32_t first;
    uint32_t end; // one past the last address
};

bool rangeOf(int memory, MemoryRange& range) {
    switch (memory) {
    case SIMBOARD_CODE_FLASH:
    case SIMBOARD_XDATA:
        range = {0, 0x10000};
        return true;
    case SIMBOARD_DATA_FLASH:
        range = {0, simboard::FlashChip::kDataSize};
        return true;
    case SIMBOARD_IRAM:
        range = {0, 0x80};
        return true;
    case SIMBOARD_SFR:
        range = {0x80, 0x100};
        return true;
    default:
        return false;
    }
}

// The byte of `memory` at `address` (inside its range).
uint8_t& cell(int memory, uint32_t address) {
    simboard::Board& board = simulator().board;
    switch (memory) {
    case SIMBOARD_CODE_FLASH:
        return board.cpu().code()[address];
    case SIMBOARD_DATA_FLASH:
        return board.flash().dataFlash()[address];
    default:
        return board.cpu().xdata()[address];
    }
}

uint8_t peek(int memory, uint32_t address) {
    sim8051::Cpu& cpu = simulator().board.cpu();
    if (memory == SIMBOARD_IRAM) return cpu.peekIram(static_cast<uint8_t>(address));
    if (memory == SIMBOARD_SFR) return cpu.peekSfr(static_cast<uint8_t>(address));
    return cell(memory, address);
}

void poke(int memory, uint32_t address, uint8_t value) {
    sim8051::Cpu& cpu = simulator().board.cpu();
    if (memory == SIMBOARD_IRAM)
        cpu.pokeIram(static_cast<uint8_t>(address), value);
    else if (memory == SIMBOARD_SFR)
        cpu.pokeSfr(static_cast<uint8_t>(address), value);
    else
        cell(memory, address) = value;
}

// How many of `count` bytes from `address` lie inside the memory's range.
uint32_t clip(int memory, uint32_t address, uint32_t count) {
    MemoryRange range;
    if (!rangeOf(memory, range) || address < range.first || address >= range.end) return 0;
    return std::min(count, range.end - address);
}

} // namespace

extern "C" {

void SimBoard_ResetBoard(void) {
    Lock lock(simulator().mutex);
    simulator().powerOn();
}

void SimBoard_EnableTrace(int enable) {
    Lock lock(simulator().mutex);
    simulator().usb.enableTrace(enable != 0);
}

uint32_t SimBoard_TraceLength(void) {
    Lock lock(simulator().mutex);
    return static_cast<uint32_t>(simulator().usb.trace().size());
}

uint32_t SimBoard_ReadTrace(uint32_t first, SimBoardWireByte* out, uint32_t count) {
    Lock lock(simulator().mutex);
    const auto& trace = simulator().usb.trace();
    if (out == nullptr || first >= trace.size()) return 0;
    uint32_t n = std::min<uint32_t>(count, static_cast<uint32_t>(trace.size() - first));
    std::copy_n(trace.begin() + first, n, out);
    return n;
}

void SimBoard_ClearTrace(void) {
    Lock lock(simulator().mutex);
    simulator().usb.clearTrace();
}

void SimBoard_FailNextOpen(void) {
    Lock lock(simulator().mutex);
    simulator().usb.failNextOpen();
}

void SimBoard_ZeroWrites(uint32_t times) {
    Lock lock(simulator().mutex);
    simulator().usb.zeroWrites(times);
}

void SimBoard_ZeroReads(uint32_t times) {
    Lock lock(simulator().mutex);
    simulator().usb.zeroReads(times);
}

void SimBoard_DropAnswerBytes(uint32_t count) {
    Lock lock(simulator().mutex);
    simulator().usb.dropAnswers(count);
}

void SimBoard_LeaveUnerased(uint32_t offset) {
    Lock lock(simulator().mutex);
    simulator().board.flash().leaveUnerasedOnChipErase(static_cast<uint16_t>(offset));
}

void SimBoard_CorruptNextProgram(uint32_t offset) {
    Lock lock(simulator().mutex);
    simulator().board.flash().corruptNextProgram(static_cast<uint16_t>(offset));
}

void SimBoard_ArmBreakRace(void) {
    Lock lock(simulator().mutex);
    simulator().firmware.armBreakRace();
}

void SimBoard_SetLatency(uint32_t milliseconds) {
    Lock lock(simulator().mutex);
    simulator().usb.setLatency(milliseconds);
}

void SimBoard_DelayNextAnswer(uint32_t milliseconds) {
    Lock lock(simulator().mutex);
    simulator().usb.delayNextAnswer(milliseconds);
}

void SimBoard_SplitNextAnswer(uint32_t firstBytes, uint32_t milliseconds) {
    Lock lock(simulator().mutex);
    simulator().usb.splitNextAnswer(firstBytes, milliseconds);
}

void SimBoard_StrayByte(uint8_t value) {
    Lock lock(simulator().mutex);
    simulator().usb.strayByte(value);
    simulator().written.notify_all();
}

void SimBoard_CutWrite(uint32_t afterBytes, uint32_t status) {
    Lock lock(simulator().mutex);
    simulator().usb.cutWrite(afterBytes, status);
}

void SimBoard_SetAlternativeMeanings(uint32_t flags) {
    Lock lock(simulator().mutex);
    simulator().firmware.setAlternativeMeanings(flags);
}

void SimBoard_ClearFaults(void) {
    Lock lock(simulator().mutex);
    simulator().usb.clearFaults();
    simulator().board.flash().clearFaults();
    simulator().firmware.clearFaults();
}

uint32_t SimBoard_ReadMemory(int memory, uint32_t address, uint8_t* out, uint32_t count) {
    Lock lock(simulator().mutex);
    if (out == nullptr) return 0;
    uint32_t n = clip(memory, address, count);
    for (uint32_t i = 0; i < n; ++i)
        out[i] = peek(memory, address + i);
    return n;
}

uint32_t SimBoard_WriteMemory(int memory, uint32_t address, const uint8_t* data, uint32_t count) {
    Lock lock(simulator().mutex);
    if (data == nullptr) return 0;
    uint32_t n = clip(memory, address, count);
    for (uint32_t i = 0; i < n; ++i)
        poke(memory, address + i, data[i]);
    return n;
}

uint16_t SimBoard_GetPc(void) {
    Lock lock(simulator().mutex);
    return simulator().board.cpu().pc();
}

void SimBoard_SetPc(uint16_t pc) {
    Lock lock(simulator().mutex);
    simulator().board.cpu().setPc(pc);
}

int SimBoard_IsRunning(void) {
    Lock lock(simulator().mutex);
    return simulator().firmware.running() ? 1 : 0;
}

void SimBoard_SetRunning(int running) {
    Lock lock(simulator().mutex);
    if (running)
        simulator().firmware.startRun();
    else
        simulator().firmware.haltSilently();
    simulator().written.notify_all();
}

int SimBoard_GetBreakpoint(uint32_t slot, uint16_t* address) {
    Lock lock(simulator().mutex);
    if (slot >= simboard::kBreakpointSlots) return -1;
    uint16_t a = 0;
    if (!simulator().board.slot(static_cast<int>(slot), a)) return 0;
    if (address != nullptr) *address = a;
    return 1;
}

int SimBoard_SetBreakpoint(uint32_t slot, int enabled, uint16_t address) {
    Lock lock(simulator().mutex);
    if (slot >= simboard::kBreakpointSlots) return -1;
    if (enabled)
        simulator().board.setSlot(static_cast<int>(slot), address);
    else
        simulator().board.clearSlot(static_cast<int>(slot));
    return 0;
}

} // extern "C"
