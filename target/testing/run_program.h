// A small hand-assembled program on the simulated board, with its line table
// and disassembly, and a fixture that runs the debug commands against it the
// way the user interface does.
#pragma once

#include "sim_board.h"

#include "run_completion.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// Addresses of the program (see run_program.cpp for the listing).
namespace prog {
constexpr uint16_t kMain = 0x30;        // main.c:10
constexpr uint16_t kMainSecond = 0x32;  // main.c:10
constexpr uint16_t kLcall = 0x34;       // main.c:11, LCALL kFunc
constexpr uint16_t kAcall = 0x37;       // main.c:12, ACALL kFunc
constexpr uint16_t kLoop = 0x39;        // main.c:13, INC A / DJNZ R0 back
constexpr uint16_t kEndless = 0x3C;     // main.c:14, SJMP $
constexpr uint16_t kCallForever = 0x40; // main.c:16, LCALL kForever
constexpr uint16_t kCallJz = 0x45;      // main.c:18, LCALL kJz
constexpr uint16_t kFunc = 0x50;        // main.c:20, INC 30H
constexpr uint16_t kNoLine = 0x52;      // NOP, no source line
constexpr uint16_t kRet = 0x53;         // main.c:21
constexpr uint16_t kForever = 0x60;     // main.c:25, SJMP $, then a RET never reached
constexpr uint16_t kJz = 0x70;          // JZ kLoop, RET
} // namespace prog

// The code bytes by address.
const std::map<uint16_t, std::vector<uint8_t>>& ProgramCode();
// "file:line" by address for addresses that have one.
const std::map<uint32_t, std::string>& ProgramLines();
// The Intel HEX text of the program.
std::string ProgramHex();

// Hands completions from the worker to the test thread.
class QueuedCompletions : public RunCompletionSink {
public:
    void PostRunCompletion(const RunCompletion& completion) override;
    // Waits for the next completion; false after `timeoutMs` without one.
    bool Wait(RunCompletion& completion, unsigned timeoutMs = 5000);
    size_t Pending();

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<RunCompletion> m_queue;
};

class RunControlTest : public SimBoardTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The program in the board's code flash and in the HEX file.
    void LoadProgramIntoBoard();
    // Waits for the worker's completion and finishes it as the user
    // interface does; a worker that posts none within completionTimeoutMs
    // fails the test and is stopped. The wire bytes up to the completion
    // (before the refresh) are kept in runSent / runReceived.
    RunCompletion Finish();
    // Waits until the board's CPU runs.
    void WaitUntilRunning();

    QueuedCompletions completions;
    unsigned completionTimeoutMs = 5000;
    std::vector<uint8_t> runSent;
    std::vector<uint8_t> runReceived;
    // Addresses the line lookup was asked about, and a hook called with each.
    std::function<void(uint32_t)> onLineLookup;
    // Routines of the program taken for switch helpers: start -> end of code.
    std::map<uint32_t, uint32_t> switchHelpers;
    // Addresses whose disassembled text the lookup leaves out.
    std::set<uint32_t> textsMissing;
};
