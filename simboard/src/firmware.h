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

private:
    void execute();
    void breakWhileRunning();
    void stopAndAnswerPc();
    void answerPc();
    void readBytes(size_t count);
    // Stores `count` bytes, the most significant (last on the wire) first.
    void writeMostSignificantFirst(const uint8_t* wire, size_t count);

    Board& board_;
    UsbPort& usb_;

    std::array<uint8_t, 5> pending_{};
    size_t pendingLength_ = 0;
    uint8_t space_ = kSpaceIdata;
    uint32_t address_ = 0;

    bool running_ = false;
    bool startInstructionDone_ = false;
    bool breakRaceArmed_ = false;
};

} // namespace simboard
