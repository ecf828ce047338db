#include "run_until_stop.h"

#include "breakpoint_slot_ops.h"
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
    // No read after a failed send: it would wait for an answer never asked for.
    return g_pUsbLink && g_pUsbLink->SendCommand(command, sizeof command) >= 0 &&
           g_pUsbLink->ReadBytes(&sp, 1) >= 0;
}

namespace {

// The PC read again after the last refused stop answer, for the report.
bool g_hasPcReadAgain = false;
uint16_t g_pcReadAgain = 0;

// The run did not end normally: the target may still be running.
bool HaltAndResynchronise() {
    g_pUsbLink->MarkTargetMayRun(g_stopAnswerTimeoutMs.load());
    g_pUsbLink->Resynchronise();
    return false;
}

// A stop answer that came in pieces, with more bytes than it has, or that
// no break or breakpoint explains may hold bytes no command asked for (a
// byte that comes early cannot be told from the answer's first one by its
// value). The target is halted, the link brought back in step and the PC
// read again: an expected answer that it bears out stands; otherwise the
// run fails, and the PC read again is kept for the failure's report.
bool SettleStopAnswer(bool expected, uint16_t answered, uint16_t& pc) {
    HaltAndResynchronise();
    uint16_t again = 0;
    if (!ReadPcQuietly(again)) return false;
    if (expected && again == answered) {
        pc = again;
        return true;
    }
    g_hasPcReadAgain = true;
    g_pcReadAgain = again;
    return false;
}

} // namespace

bool PcReadAfterRefusedStop(uint16_t& pc) {
    if (!g_hasPcReadAgain) return false;
    g_hasPcReadAgain = false;
    pc = g_pcReadAgain;
    return true;
}

bool RunUntilStop(uint16_t& pc) {
    using Clock = std::chrono::steady_clock;
    g_hasPcReadAgain = false;
    if (!g_pUsbLink) return false;
    // A slot the adapter may hold that no breakpoint wants would end the run there.
    if (!ClearStaleBreakSlots()) return false;
    if (g_pUsbLink->WriteByte(adapter::kRun) < 0) return HaltAndResynchronise();

    bool breakSent = false;
    bool piecemeal = false; // one byte waited alone before the answer was there
    Clock::time_point deadline;
    long waiting = 0;
    for (;;) {
        waiting = g_pUsbLink->GetQueueStatus();
        if (waiting < 0) return HaltAndResynchronise();
        if (waiting >= 2) break;
        piecemeal = piecemeal || waiting == 1;
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

    uint8_t answer[2] = {0, 0};
    if (g_pUsbLink->ReadBytes(answer, 2, QueueRule::kTargetRuns) < 0) return HaltAndResynchronise();
    const uint16_t answered = uint16_t(answer[0] | answer[1] << 8);
    // After a break the break's own answer may follow the stop PC (the target
    // stopped on its own just as the break came): one byte, thrown away.
    // Without a break nothing may follow, and only a breakpoint stops the target.
    const long after =
        breakSent ? long(g_pUsbLink->DrainReceive(kLatencyDrainMs)) : g_pUsbLink->GetQueueStatus();
    const bool expected = breakSent || IsBreakSlotAddress(answered);
    const bool whole = waiting == 2 && !piecemeal && (after == 0 || (breakSent && after == 1));
    if (expected && whole) {
        pc = answered;
        return true;
    }
    return SettleStopAnswer(expected, answered, pc);
}

bool RunFrom(uint16_t& pc) {
    if (IsBreakSlotAddress(pc)) {
        if (!StepInstructionQuietly(pc)) return false;
        if (IsBreakSlotAddress(pc)) return true;
    }
    return RunUntilStop(pc);
}
