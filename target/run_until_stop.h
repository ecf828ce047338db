// The adapter exchanges of the run workers. None of them shows a message:
// each tells its caller whether the link held, and the caller reports once.
#pragma once

#include <cstdint>

// How long the stop PC may take to arrive after the break byte was sent
// before the board counts as dead.
constexpr unsigned kStopAnswerTimeoutMs = 3000;
// The longest pause between two looks at the receive queue while the target runs.
constexpr unsigned kRunPollPauseUs = 500;
// Time given to a late answer of the break byte before it is purged.
constexpr unsigned kBreakDrainMs = 2;

// Runs the target (0x67) until it stops and stores the stop PC. A stop
// request (g_bStopRequest, cleared at the start) sends the break byte 0x13
// once; the stop PC must then arrive within the stop-answer time-out. When a
// break was sent, anything the adapter answers after the stop PC is purged
// (the target may have stopped on its own just as the break arrived and then
// answer the break as well). False on a link failure or a dead board.
bool RunUntilStop(uint16_t& pc);

// 0x59 / 0x5E and the two-byte PC answer; false on a link failure.
bool ReadPcQuietly(uint16_t& pc);
bool StepInstructionQuietly(uint16_t& pc);

// The stop-answer time-out in force (tests shorten it); 0 restores the default.
void SetStopAnswerTimeoutMs(unsigned milliseconds);
