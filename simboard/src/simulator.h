// The one simulated adapter with its board, shared by the D2XX entry points
// and the test hooks, and the lock that serialises them.
#pragma once

#include "board.h"
#include "firmware.h"
#include "usb_port.h"

#include <condition_variable>
#include <mutex>

namespace simboard {

struct Simulator {
    // Members start in their power-on state.
    Simulator() : firmware(board, usb) {}

    void powerOn() {
        board.powerOn();
        usb.powerOn();
        firmware.powerOn();
    }

    std::mutex mutex;
    // Signalled when the host has written: a reader waiting for answer bytes
    // looks again.
    std::condition_variable written;
    Board board;
    UsbPort usb;
    Firmware firmware;
};

// Created on first use.
Simulator& simulator();

} // namespace simboard
