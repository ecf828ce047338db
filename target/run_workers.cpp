#include "run_workers.h"

#include "breakpoint_slot_ops.h"
#include "breakpoint_slots.h"
#include "run_lookups.h"
#include "run_until_stop.h"
#include "target_flags.h"
#include "target_messages.h"

#include <string>

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

RunCompletion LinkFailure() {
    return Abandoned(UsbErrorText());
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

// One instruction at pc: a call of a switch helper walked through, any other
// call run to its return address.
bool NextInstruction(uint16_t& pc) {
    CodeRange helper;
    if (SwitchHelperOfCall(pc, helper)) return WalkThroughSwitchHelper(helper, pc);
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
            if (!WalkThroughSwitchHelper(helper, pc)) return LinkFailure();
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
