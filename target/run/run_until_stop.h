// The adapter exchanges of the run workers. None of them shows a message:
// each tells its caller whether the link held, and the caller reports once.
#pragma once

#include <cstdint>

// How long the stop PC may take to arrive after the break byte was sent
// before the board counts as dead.
constexpr unsigned kStopAnswerTimeoutMs = 3000;
// The longest pause between two looks at the receive queue while the target runs.
constexpr unsigned kRunPollPauseUs = 500;

// Runs the target (0x67) until it stops and stores the stop PC. A stop
// request (g_bStopRequest, cleared by the command that started the worker)
// sends the break byte 0x13 once; the stop PC must then arrive within the
// stop-answer time-out. When a break was sent, one byte the adapter answers
// within the latency after the stop PC is thrown away (the target may have
// stopped on its own just as the break arrived and then answer the break as
// well). When the run cannot be ended that way (the break cannot be sent,
// its answer does not come, a transfer fails), the target is halted and the
// link brought back in step before this returns false.
//
// The stop PC is taken from an answer only when it is whole (its two bytes
// came together, with nothing before and nothing more after them) and
// expected (a break was sent, or it names a breakpoint slot's address).
// Any other answer is checked against the PC read again once the target is
// halted and the link in step: when they differ, or the answer was not
// expected, the run fails and PcReadAfterRefusedStop gives the PC read.
// (Two bytes no command asked for that come together and spell the address
// of a set breakpoint cannot be told from its stop answer.)
//
// Stale breakpoint slots are cleared first; false when one stays.
bool RunUntilStop(uint16_t& pc);

// The PC read again after the last run failed on a stop answer it refused
// (once; false when there is none): the target's true PC, to show with the
// failure.
bool PcReadAfterRefusedStop(uint16_t& pc);

// As RunUntilStop, from `pc`, the target's current PC. When a breakpoint slot
// holds that PC, its instruction is first executed on its own (0x5E): an
// adapter may end a run at once on the breakpoint it starts from. When that
// step lands on a breakpoint, the run ends there.
bool RunFrom(uint16_t& pc);

// 0x59 / 0x5E and the two-byte PC answer; false on a link failure.
bool ReadPcQuietly(uint16_t& pc);
bool StepInstructionQuietly(uint16_t& pc);
// The stack pointer (SFR 0x81), read in one write and its one-byte answer.
bool ReadSpQuietly(uint8_t& sp);

// The stop-answer time-out in force (tests shorten it); 0 restores the default.
void SetStopAnswerTimeoutMs(unsigned milliseconds);
