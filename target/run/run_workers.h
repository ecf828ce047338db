// The bodies of the run commands. Each talks to the adapter and asks the
// debug information, then returns what the user interface must show; none
// touches a window or shows a message. A link failure abandons the command
// with the adapter error text.
#pragma once

#include "run_completion.h"

#include <cstdint>

// Continue (address 0) and Run To Cursor Line (run with an internal
// breakpoint at the address, freed again after the stop).
RunCompletion ContinueWorker(uint16_t address);

// Step by source line, into calls: executes instructions until the PC reaches
// a known source position other than the one it started on, or Stop. One
// instruction when the project is a bare image.
RunCompletion StepWorker();

// Next by source line, over calls: a call is run to its return address on an
// internal breakpoint; otherwise as StepWorker. A call of a switch helper,
// which does not come back there, is run to the helper's exits on the two
// internal breakpoints and the exit it stops on is stepped, so the PC is
// where the helper handed control; a helper with more exits, or without its
// whole disassembly, is stepped through instead. One Nexti for a bare image.
RunCompletion NextWorker();

// One instruction, a call run to its return address on an internal
// breakpoint; a call of a switch helper followed as by NextWorker to where
// the helper hands control on.
RunCompletion NextiWorker();

// One instruction.
RunCompletion StepiWorker();
