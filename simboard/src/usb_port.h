// The USB side of the simulated adapter: the one device's open state, the
// receive queue the firmware answers into, the read/write time-outs, the
// wire trace and the faults injected on the link.
#pragma once

#include "simboard_hooks.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace simboard {

class UsbPort {
public:
    static constexpr uint32_t kDefaultTimeoutMs = 300;

    // Back to the state at process start: closed, empty, no fault, trace
    // off and empty, default time-outs.
    void powerOn();

    bool isOpen() const { return open_; }
    void open();
    void close() { open_ = false; }
    // The handle an open hands out; calls with anything else are refused.
    void* handle() { return this; }
    bool accepts(void* handle) const { return open_ && handle == this; }

    // Answer bytes from the firmware; the drop fault applies here.
    void pushAnswer(uint8_t value);
    size_t queued() const { return receive_.size(); }
    // Moves up to `count` queued bytes to `out` (traced); returns how many.
    size_t take(uint8_t* out, size_t count);
    void purgeReceive() { receive_.clear(); }

    // Bytes accepted from the host, for the trace.
    void noteWritten(uint8_t value);

    uint32_t readTimeoutMs() const { return readTimeoutMs_; }
    // The write time-out is not kept: writes never wait.
    void setReadTimeout(uint32_t ms) { readTimeoutMs_ = ms; }

    // Faults. Each consume* call reports (and uses up) one armed fault.
    void failNextOpen() { failNextOpen_ = true; }
    bool consumeOpenFailure();
    void zeroWrites(uint32_t times) { zeroWrites_ = times; }
    bool consumeZeroWrite();
    void zeroReads(uint32_t times) { zeroReads_ = times; }
    bool consumeZeroRead();
    void dropAnswers(uint32_t count) { dropAnswers_ = count; }
    void clearFaults();

    void enableTrace(bool on) { tracing_ = on; }
    const std::vector<SimBoardWireByte>& trace() const { return trace_; }
    void clearTrace() { trace_.clear(); }

private:
    void record(uint8_t direction, uint8_t value);

    bool open_ = false;
    std::deque<uint8_t> receive_;
    uint32_t readTimeoutMs_ = kDefaultTimeoutMs;
    bool failNextOpen_ = false;
    uint32_t zeroWrites_ = 0;
    uint32_t zeroReads_ = 0;
    uint32_t dropAnswers_ = 0;
    bool tracing_ = false;
    std::vector<SimBoardWireByte> trace_;
};

} // namespace simboard
