#include "run_workers.h"

#include "breakpoint_slot_ops.h"
#include "breakpoint_slots.h"
#include "code_exits.h"
#include "run_lookups.h"
#include "run_until_stop.h"
#include "target_flags.h"
#include "target_messages.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

RunCompletion StoppedAt(uint16_t pc) {
    RunCompletion completion;
    completion.pc = pc;
    completion.stopped = true;
    return completion;
}

RunCompletion Abandoned(const char* text) {
    RunCompletion completion;
    if (text) completion.error = text;
    return completion;
}

// A failed run whose stop answer was refused still shows where the target is.
RunCompletion LinkFailure() {
    RunCompletion completion = Abandoned(UsbErrorText());
    completion.stopped = PcReadAfterRefusedStop(completion.pc);
    return completion;
}

// Runs from `pc`, the target's PC, until it stops, with an internal
// breakpoint at `address` while it runs. False on a link failure, and when
// no internal slot is free: a run without its breakpoint would not stop there.
bool RunToAddress(uint16_t address, uint16_t& pc) {
    if (SetHwBreakPoint(address) != 1) return false;
    const bool ran = RunFrom(pc);
    const bool cleared = ClearHwBreakPoint(address) >= 0;
    return ran && cleared;
}

// Steps until the PC has a source position or Stop is pressed.
bool StepToKnownLine(uint16_t& pc, std::string& current) {
    while (current.empty() && !g_bStepStop) {
        if (!StepInstructionQuietly(pc)) return false;
        current = LineOfAddress(pc);
    }
    return true;
}

// Executes the call at pc of the switch helper `helper`, then the helper one
// instruction at a time until it has handed control to the case it picked
// (the PC has left its code), or Stop is pressed. A breakpoint after the call
// would never be reached: the helper goes on past the case table.
bool WalkThroughSwitchHelper(const CodeRange& helper, uint16_t& pc) {
    do {
        if (!StepInstructionQuietly(pc)) return false;
    } while (helper.Holds(pc) && !g_bStepStop);
    return true;
}

// How the call of a switch helper ended.
enum class HelperRoad {
    kHandedOn,   // the PC is where the helper handed control (or Stop ended the walk)
    kHalted,     // the run ended on a breakpoint elsewhere, or by Stop
    kLinkFailed, // nothing more can be sent
};

bool Holds(const std::vector<uint16_t>& exits, uint16_t pc) {
    return std::find(exits.begin(), exits.end(), pc) != exits.end();
}

// How far above the stack pointer at the call the stack reaches at an exit of
// that call: the call's own return address (a helper that jumps to its case
// has taken it off already). An interrupt handler that runs a switch of its
// own meets the same exits with more on top: the handler's return address,
// the accumulator it saves before its switch changes it, and its own call.
// The PC alone cannot tell the two apart.
constexpr int kExitStackAboveCall = 2;

// Runs the target from pc, on the call or inside the helper and not on one of
// its `exits`, with the internal breakpoints on those exits, until it stops at
// one of them reached by this call (`atExit`), or elsewhere. An interrupt
// taken during the run returns to where it came from, so it does not divert
// the run; a handler whose own switch reaches an exit is run on past it.
bool RunToExitOfCall(const std::vector<uint16_t>& exits, uint8_t callSp, uint16_t& pc,
                     bool& atExit) {
    atExit = false;
    bool ok = true;
    size_t set = 0;
    while (ok && set < exits.size())
        ok = SetHwBreakPoint(exits[set++]) == 1;
    while (ok) {
        ok = RunFrom(pc);
        if (!ok || !Holds(exits, pc) || g_bStepStop) break;
        uint8_t sp = 0;
        ok = ReadSpQuietly(sp);
        if (ok && int8_t(sp - callSp) <= kExitStackAboveCall) atExit = true;
        if (atExit) break;
    }
    for (size_t i = 0; i < set; ++i)
        ok = ClearHwBreakPoint(exits[i]) >= 0 && ok;
    return ok;
}

// Executes the call at pc of the switch helper `helper`, whose code hands
// control on only through `exits` (one or two: the internal slots), by
// running it to an exit and stepping that exit (a PC on a breakpoint is
// stepped, never run). A conditional exit that stays inside is run on from.
HelperRoad RunThroughSwitchHelper(const CodeRange& helper, const std::vector<uint16_t>& exits,
                                  uint16_t& pc) {
    uint8_t callSp = 0;
    if (!ReadSpQuietly(callSp)) return HelperRoad::kLinkFailed;
    for (;;) {
        // After a step inside the helper, an exit reached is this call's own.
        bool atExit = helper.Holds(pc) && Holds(exits, pc);
        if (!atExit && !RunToExitOfCall(exits, callSp, pc, atExit)) return HelperRoad::kLinkFailed;
        if (!atExit) return HelperRoad::kHalted;
        if (!StepInstructionQuietly(pc)) return HelperRoad::kLinkFailed;
        if (!helper.Holds(pc)) return HelperRoad::kHandedOn;
        if (g_bStepStop) return HelperRoad::kHalted;
    }
}

// Through the call at pc of the switch helper `helper`: run to its exits when
// its disassembly shows at most two, else walked one instruction at a time.
HelperRoad ThroughSwitchHelper(const CodeRange& helper, uint16_t& pc) {
    std::vector<uint16_t> exits;
    if (ExitsOfCode(helper, exits) && !exits.empty() &&
        exits.size() <= size_t(kLastInternalSlot - kFirstInternalSlot + 1))
        return RunThroughSwitchHelper(helper, exits, pc);
    return WalkThroughSwitchHelper(helper, pc) ? HelperRoad::kHandedOn : HelperRoad::kLinkFailed;
}

// One instruction at pc: a call of a switch helper followed to where it hands
// control on, any other call run to its return address.
bool NextInstruction(uint16_t& pc) {
    CodeRange helper;
    if (SwitchHelperOfCall(pc, helper))
        return ThroughSwitchHelper(helper, pc) != HelperRoad::kLinkFailed;
    uint16_t returnAddress = 0;
    if (ReturnAddressOfCall(pc, returnAddress)) return RunToAddress(returnAddress, pc);
    return StepInstructionQuietly(pc);
}

} // namespace

RunCompletion ContinueWorker(uint16_t address) {
    if (!g_bProjectLoaded) return Abandoned(nullptr);
    uint16_t pc = 0;
    bool ok = false;
    if (address == 0 && !AnyBreakSlotUsed())
        ok = RunUntilStop(pc); // no breakpoint can hold the start PC
    else
        ok = ReadPcQuietly(pc) && (address == 0 ? RunFrom(pc) : RunToAddress(address, pc));
    return ok ? StoppedAt(pc) : LinkFailure();
}

RunCompletion StepiWorker() {
    uint16_t pc = 0;
    return StepInstructionQuietly(pc) ? StoppedAt(pc) : LinkFailure();
}

RunCompletion NextiWorker() {
    uint16_t pc = 0;
    if (!ReadPcQuietly(pc) || !NextInstruction(pc)) return LinkFailure();
    return StoppedAt(pc);
}

RunCompletion StepWorker() {
    if (!g_bImageVerified) return Abandoned(kImageMismatchText);
    if (g_bHexOnly) return StepiWorker();

    uint16_t pc = 0;
    if (!ReadPcQuietly(pc)) return LinkFailure();
    const std::string start = LineOfAddress(pc);
    std::string current = start;
    while (current.empty() || current == start) {
        if (!StepInstructionQuietly(pc)) return LinkFailure();
        current = LineOfAddress(pc);
        if (g_bStepStop) break;
    }
    return StoppedAt(pc);
}

RunCompletion NextWorker() {
    if (!g_bImageVerified) return Abandoned(kImageMismatchText);
    if (g_bHexOnly) return NextiWorker();

    uint16_t pc = 0;
    if (!ReadPcQuietly(pc)) return LinkFailure();
    std::string current = LineOfAddress(pc);
    if (current.empty()) {
        // Started outside any source line: on to the first one.
        return StepToKnownLine(pc, current) ? StoppedAt(pc) : LinkFailure();
    }
    const std::string start = current;
    while (current == start && !g_bStepStop) {
        CodeRange helper;
        uint16_t returnAddress = 0;
        if (SwitchHelperOfCall(pc, helper)) {
            const HelperRoad road = ThroughSwitchHelper(helper, pc);
            if (road == HelperRoad::kLinkFailed) return LinkFailure();
            if (road == HelperRoad::kHalted) {
                // As on a breakpoint inside a called routine, the line ends there.
                current = LineOfAddress(pc);
                continue;
            }
        } else if (ReturnAddressOfCall(pc, returnAddress)) {
            // Where the call comes back (or a breakpoint inside it) ends the line.
            if (!RunToAddress(returnAddress, pc)) return LinkFailure();
            current = LineOfAddress(pc);
            continue;
        } else if (!StepInstructionQuietly(pc)) {
            return LinkFailure();
        }
        current = LineOfAddress(pc);
        if (!StepToKnownLine(pc, current)) return LinkFailure();
    }
    return StoppedAt(pc);
}
