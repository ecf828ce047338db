#include "usb_port.h"

#include <algorithm>
#include <cstdlib>

namespace simboard {

namespace {

uint32_t latencyFromEnvironment() {
    const char* text = std::getenv("VEXA_SIM_LATENCY_MS");
    if (text == nullptr || *text == '\0') return 0;
    char* end = nullptr;
    const unsigned long ms = std::strtoul(text, &end, 10);
    return *end == '\0' && ms <= 1000 ? static_cast<uint32_t>(ms) : 0;
}

} // namespace

void UsbPort::powerOn() {
    open_ = false;
    receive_.clear();
    onTheWay_.clear();
    readTimeoutMs_ = kDefaultTimeoutMs;
    setLatency(latencyFromEnvironment());
    clearFaults();
    tracing_ = false;
    trace_.clear();
}

void UsbPort::open() {
    open_ = true;
    receive_.clear();
    onTheWay_.clear();
}

void UsbPort::pushAnswer(const uint8_t* bytes, size_t count, Clock::time_point producedAt) {
    std::vector<uint8_t> kept;
    kept.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        if (dropAnswers_ > 0) {
            --dropAnswers_;
            continue;
        }
        kept.push_back(bytes[i]);
    }
    if (kept.empty()) return;
    if (!answerDelayArmed_) {
        sendInPackets(kept.data(), kept.size(), producedAt);
        return;
    }
    answerDelayArmed_ = false;
    const size_t first = std::min<size_t>(splitFirst_, kept.size());
    sendInPackets(kept.data(), first, producedAt);
    if (first < kept.size())
        send(kept.data() + first, kept.size() - first, producedAt + answerDelay_, false);
}

void UsbPort::sendInPackets(const uint8_t* bytes, size_t count, Clock::time_point producedAt) {
    const size_t whole = count - count % kPacketPayload;
    send(bytes, whole, producedAt, true);
    send(bytes + whole, count - whole, producedAt + latency_, true);
}

void UsbPort::send(const uint8_t* bytes, size_t count, Clock::time_point readyAt, bool inChip) {
    if (count == 0) return;
    if (onTheWay_.empty() && readyAt <= Clock::now()) {
        receive_.insert(receive_.end(), bytes, bytes + count);
        return;
    }
    onTheWay_.push_back(OnTheWay{std::vector<uint8_t>(bytes, bytes + count), readyAt, inChip});
}

void UsbPort::release(Clock::time_point now) {
    // First in, first out: nothing overtakes bytes that are still held.
    while (!onTheWay_.empty() && onTheWay_.front().readyAt <= now) {
        const std::vector<uint8_t>& bytes = onTheWay_.front().bytes;
        receive_.insert(receive_.end(), bytes.begin(), bytes.end());
        onTheWay_.pop_front();
    }
}

size_t UsbPort::queued() {
    release(Clock::now());
    return receive_.size();
}

bool UsbPort::nextArrival(Clock::time_point& when) const {
    if (onTheWay_.empty()) return false;
    when = onTheWay_.front().readyAt;
    return true;
}

size_t UsbPort::take(uint8_t* out, size_t count) {
    release(Clock::now());
    size_t n = 0;
    while (n < count && !receive_.empty()) {
        out[n] = receive_.front();
        receive_.pop_front();
        record(SIMBOARD_TO_HOST, out[n]);
        ++n;
    }
    return n;
}

void UsbPort::resetChip() {
    receive_.clear();
    onTheWay_.erase(std::remove_if(onTheWay_.begin(), onTheWay_.end(),
                                   [](const OnTheWay& held) { return held.inChip; }),
                    onTheWay_.end());
}

void UsbPort::noteWritten(uint8_t value) {
    record(SIMBOARD_TO_BOARD, value);
}

bool UsbPort::consumeOpenFailure() {
    bool fail = failNextOpen_;
    failNextOpen_ = false;
    return fail;
}

bool UsbPort::consumeZeroWrite() {
    if (zeroWrites_ == 0) return false;
    --zeroWrites_;
    return true;
}

bool UsbPort::consumeZeroRead() {
    if (zeroReads_ == 0) return false;
    --zeroReads_;
    return true;
}

void UsbPort::delayNextAnswer(uint32_t ms) {
    splitNextAnswer(0, ms);
}

void UsbPort::splitNextAnswer(uint32_t firstBytes, uint32_t ms) {
    answerDelayArmed_ = true;
    splitFirst_ = firstBytes;
    answerDelay_ = std::chrono::milliseconds(ms);
}

void UsbPort::strayByte(uint8_t value) {
    sendInPackets(&value, 1, Clock::now());
}

void UsbPort::cutWrite(uint32_t afterBytes, uint32_t status) {
    cutArmed_ = true;
    cutAfter_ = afterBytes;
    cutStatus_ = status;
    refuseNextWrite_ = false;
}

size_t UsbPort::consumeCut(size_t count, uint32_t& status) {
    status = 0;
    if (refuseNextWrite_) {
        refuseNextWrite_ = false;
        return 0;
    }
    if (!cutArmed_) return count;
    if (count <= cutAfter_) {
        cutAfter_ -= static_cast<uint32_t>(count);
        return count;
    }
    cutArmed_ = false;
    status = cutStatus_;
    refuseNextWrite_ = status == 0;
    return cutAfter_;
}

void UsbPort::clearFaults() {
    failNextOpen_ = false;
    zeroWrites_ = 0;
    zeroReads_ = 0;
    dropAnswers_ = 0;
    answerDelayArmed_ = false;
    splitFirst_ = 0;
    answerDelay_ = Clock::duration(0);
    cutArmed_ = false;
    cutAfter_ = 0;
    cutStatus_ = 0;
    refuseNextWrite_ = false;
}

void UsbPort::record(uint8_t direction, uint8_t value) {
    if (tracing_) trace_.push_back(SimBoardWireByte{direction, value});
}

} // namespace simboard
