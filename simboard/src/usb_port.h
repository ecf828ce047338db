// The USB side of the simulated adapter: the one device's open state, the
// way answers travel from the firmware to the host (the adapter chip's
// transmit buffer with its latency timer, then the receive queue FT_Read
// takes from), the read/write time-outs, the wire trace and the faults
// injected on the link.
#pragma once

#include "simboard_hooks.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace simboard {

class UsbPort {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr uint32_t kDefaultTimeoutMs = 300;
    // Answer bytes one USB packet carries to the host (64 less 2 status bytes).
    static constexpr size_t kPacketPayload = 62;

    // Back to the state at process start: closed, empty, no fault, trace
    // off and empty, default time-outs, the latency VEXA_SIM_LATENCY_MS
    // names (0 when unset).
    void powerOn();

    bool isOpen() const { return open_; }
    void open();
    void close() { open_ = false; }
    // The handle an open hands out; calls with anything else are refused.
    void* handle() { return this; }
    bool accepts(void* handle) const { return open_ && handle == this; }

    // One command's answer, produced by the firmware at `producedAt`: whole
    // packets leave at once, the rest waits for the latency timer. The drop,
    // late and split faults apply here.
    void pushAnswer(const uint8_t* bytes, size_t count, Clock::time_point producedAt);
    void pushAnswer(const uint8_t* bytes, size_t count) { pushAnswer(bytes, count, Clock::now()); }

    // Bytes readable now (those whose time has come are moved to the queue).
    size_t queued();
    // When the next byte still on its way becomes readable; false when none is.
    bool nextArrival(Clock::time_point& when) const;
    // Moves up to `count` queued bytes to `out` (traced); returns how many.
    size_t take(uint8_t* out, size_t count);
    // FT_Purge: the queue the host reads; bytes still on their way come later.
    void purgeReceive() { receive_.clear(); }
    // FT_ResetDevice: the queue and what the adapter chip holds; an answer the
    // firmware has not given yet (a late fault) still comes.
    void resetChip();

    // Bytes accepted from the host, for the trace.
    void noteWritten(uint8_t value);

    uint32_t readTimeoutMs() const { return readTimeoutMs_; }
    // The write time-out is not kept: writes never wait.
    void setReadTimeout(uint32_t ms) { readTimeoutMs_ = ms; }

    Clock::duration latency() const { return latency_; }
    void setLatency(uint32_t ms) { latency_ = std::chrono::milliseconds(ms); }

    // Faults. Each consume* call reports (and uses up) one armed fault.
    void failNextOpen() { failNextOpen_ = true; }
    bool consumeOpenFailure();
    void zeroWrites(uint32_t times) { zeroWrites_ = times; }
    bool consumeZeroWrite();
    void zeroReads(uint32_t times) { zeroReads_ = times; }
    bool consumeZeroRead();
    void dropAnswers(uint32_t count) { dropAnswers_ = count; }
    void delayNextAnswer(uint32_t ms);
    void splitNextAnswer(uint32_t firstBytes, uint32_t ms);
    // A byte no command asked for, on its way to the host as of now.
    void strayByte(uint8_t value);
    void cutWrite(uint32_t afterBytes, uint32_t status);
    // How many of the `count` bytes of one FT_Write the adapter takes, and the
    // status the call returns (SimBoard_CutWrite).
    size_t consumeCut(size_t count, uint32_t& status);
    void clearFaults();

    void enableTrace(bool on) { tracing_ = on; }
    const std::vector<SimBoardWireByte>& trace() const { return trace_; }
    void clearTrace() { trace_.clear(); }

private:
    // Answer bytes not yet readable, in the order they were produced.
    struct OnTheWay {
        std::vector<uint8_t> bytes;
        Clock::time_point readyAt;
        bool inChip; // held by the adapter chip (a device reset drops it)
    };

    void send(const uint8_t* bytes, size_t count, Clock::time_point readyAt, bool inChip);
    void sendInPackets(const uint8_t* bytes, size_t count, Clock::time_point producedAt);
    void release(Clock::time_point now);
    void record(uint8_t direction, uint8_t value);

    bool open_ = false;
    std::deque<uint8_t> receive_;
    std::deque<OnTheWay> onTheWay_;
    uint32_t readTimeoutMs_ = kDefaultTimeoutMs;
    Clock::duration latency_{0};
    bool failNextOpen_ = false;
    uint32_t zeroWrites_ = 0;
    uint32_t zeroReads_ = 0;
    uint32_t dropAnswers_ = 0;
    // The next answer: its first `splitFirst_` bytes as usual, the rest (all
    // of it when splitFirst_ is 0) `answerDelay_` after it was produced.
    bool answerDelayArmed_ = false;
    uint32_t splitFirst_ = 0;
    Clock::duration answerDelay_{0};
    // The write cut: bytes still taken before it, the status of the cut call,
    // and whether the call after a cut takes nothing.
    bool cutArmed_ = false;
    uint32_t cutAfter_ = 0;
    uint32_t cutStatus_ = 0;
    bool refuseNextWrite_ = false;
    bool tracing_ = false;
    std::vector<SimBoardWireByte> trace_;
};

} // namespace simboard
