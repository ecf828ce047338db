// The adapter firmware: takes the host's command bytes one at a time,
// executes each command when its last byte arrives, answers into the USB
// port's receive queue, and runs and stops the target's CPU.
#pragma once

#include "board.h"
#include "usb_port.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace simboard {

class Firmware {
public:
    // Instructions one slice of a running CPU executes at most.
    static constexpr uint64_t kSliceInstructions = 10000;

    Firmware(Board& board, UsbPort& usb) : board_(board), usb_(usb) {}

    // Halted, empty parser, space 1, address 0, no fault armed.
    void powerOn();

    void receive(uint8_t byte);
    // Forgets a half-received command.
    void resetParser() { pendingLength_ = 0; }

    bool running() const { return running_; }
    // Starts the CPU as the run command does.
    void startRun();
    // Halts without answering anything.
    void haltSilently() { running_ = false; }
    // Runs up to `maxInstructions`; stops (and answers the stop PC) at a
    // breakpoint.
    void runSlice(uint64_t maxInstructions);

    void armBreakRace() { breakRaceArmed_ = true; }
    void clearFaults() { breakRaceArmed_ = false; }

    // The other reading of the commands named by SIMBOARD_ALT_* (0: the usual one).
    void setAlternativeMeanings(uint32_t flags) { alternatives_ = flags; }

private:
    void execute();
    void breakWhileRunning();
    // `stoppedEarlier`: the target stopped one latency period before now, so
    // its stop PC has already left the adapter chip.
    void stopAndAnswerPc(bool stoppedEarlier = false);
    void answerPc(bool stoppedEarlier = false);
    void answerByte(uint8_t value);
    void readBytes(size_t count);
    // Stores the `count` value bytes of a 0x56/0x57 command (lowest on the
    // wire first) at the current address and on.
    void writeValue(const uint8_t* wire, size_t count);
    bool alternative(uint32_t flag) const { return (alternatives_ & flag) != 0; }

    Board& board_;
    UsbPort& usb_;

    std::array<uint8_t, 5> pending_{};
    size_t pendingLength_ = 0;
    uint8_t space_ = kSpaceIdata;
    uint32_t address_ = 0;

    bool running_ = false;
    bool startInstructionDone_ = false;
    bool breakRaceArmed_ = false;
    uint32_t alternatives_ = 0;
};

} // namespace simboard
