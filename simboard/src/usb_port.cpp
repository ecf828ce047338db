#include "usb_port.h"

namespace simboard {

void UsbPort::powerOn() {
    open_ = false;
    receive_.clear();
    readTimeoutMs_ = kDefaultTimeoutMs;
    clearFaults();
    tracing_ = false;
    trace_.clear();
}

void UsbPort::open() {
    open_ = true;
    receive_.clear();
}

void UsbPort::pushAnswer(uint8_t value) {
    if (dropAnswers_ > 0) {
        --dropAnswers_;
        return;
    }
    receive_.push_back(value);
}

size_t UsbPort::take(uint8_t* out, size_t count) {
    size_t n = 0;
    while (n < count && !receive_.empty()) {
        out[n] = receive_.front();
        receive_.pop_front();
        record(SIMBOARD_TO_HOST, out[n]);
        ++n;
    }
    return n;
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

void UsbPort::clearFaults() {
    failNextOpen_ = false;
    zeroWrites_ = 0;
    zeroReads_ = 0;
    dropAnswers_ = 0;
}

void UsbPort::record(uint8_t direction, uint8_t value) {
    if (tracing_) trace_.push_back(SimBoardWireByte{direction, value});
}

} // namespace simboard
