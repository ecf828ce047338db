#include "run_until_stop.h"

#include "breakpoint_slots.h"
#include "target_flags.h"
#include "target_protocol.h"
#include "usb_link.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

std::atomic<unsigned> g_stopAnswerTimeoutMs{kStopAnswerTimeoutMs};

bool ExchangePc(uint8_t command, uint16_t& pc) {
    if (!g_pUsbLink) return false;
    uint8_t answer[2] = {0, 0};
    if (g_pUsbLink->WriteByte(command) < 0 || g_pUsbLink->ReadBytes(answer, 2) < 0) return false;
    pc = uint16_t(answer[0] | answer[1] << 8);
    return true;
}

} // namespace

void SetStopAnswerTimeoutMs(unsigned milliseconds) {
    g_stopAnswerTimeoutMs = milliseconds ? milliseconds : kStopAnswerTimeoutMs;
}

bool ReadPcQuietly(uint16_t& pc) {
    return ExchangePc(adapter::kReadPc, pc);
}

bool StepInstructionQuietly(uint16_t& pc) {
    return ExchangePc(adapter::kStep, pc);
}

bool ReadSpQuietly(uint8_t& sp) {
    constexpr uint8_t kSpAddress = 0x81;
    const uint8_t command[] = {
        adapter::kSelectSpace, kSpaceSfr, adapter::kSetAddress, 0, 0, kSpAddress,
        adapter::kReadOne};
    if (!g_pUsbLink) return false;
    int result = g_pUsbLink->SendCommand(command, sizeof command);
    result |= g_pUsbLink->ReadBytes(&sp, 1);
    return result >= 0;
}

namespace {

// The run did not end normally: the target may still be running.
bool HaltAndResynchronise() {
    g_pUsbLink->MarkTargetMayRun(g_stopAnswerTimeoutMs.load());
    g_pUsbLink->Resynchronise();
    return false;
}

} // namespace

bool RunUntilStop(uint16_t& pc) {
    using Clock = std::chrono::steady_clock;
    if (!g_pUsbLink) return false;
    if (g_pUsbLink->WriteByte(adapter::kRun) < 0) return HaltAndResynchronise();

    bool breakSent = false;
    Clock::time_point deadline;
    for (;;) {
        const long waiting = g_pUsbLink->GetQueueStatus();
        if (waiting < 0 || waiting >= 2) break; // a failed status ends the wait too
        if (breakSent) {
            if (Clock::now() >= deadline) return HaltAndResynchronise(); // no stop PC came
        } else if (g_bStopRequest) {
            if (g_pUsbLink->WriteByte(adapter::kBreak, QueueRule::kTargetRuns) < 0)
                return HaltAndResynchronise();
            breakSent = true;
            deadline = Clock::now() + std::chrono::milliseconds(g_stopAnswerTimeoutMs.load());
            continue; // look at the queue again at once
        }
        std::this_thread::sleep_for(std::chrono::microseconds(kRunPollPauseUs));
    }

    // Without a break, nothing may follow the stop PC; after one, its answer may.
    uint8_t answer[2] = {0, 0};
    if (g_pUsbLink->ReadBytes(answer, 2,
                              breakSent ? QueueRule::kTargetRuns : QueueRule::kNothingUnasked) < 0)
        return HaltAndResynchronise();
    pc = uint16_t(answer[0] | answer[1] << 8);
    if (breakSent) g_pUsbLink->DrainReceive(kLatencyDrainMs);
    return true;
}

bool RunFrom(uint16_t& pc) {
    if (IsBreakSlotAddress(pc)) {
        if (!StepInstructionQuietly(pc)) return false;
        if (IsBreakSlotAddress(pc)) return true;
    }
    return RunUntilStop(pc);
}
