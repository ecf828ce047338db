// The adapter link of a benchmark, and what crosses it: the driver entry
// points held by the link are wrapped, so every FT_Write, FT_Read and
// FT_GetQueueStatus call and every byte moved is counted.
#pragma once

#include <cstdint>

namespace platform {
class RecordingMessageService;
}

// Creates the link on the board library VEXA_D2XX_LIBRARY names, else on
// libsimboard.so beside this program. False, with the message that came
// instead printed on stderr, when the link did not start.
bool StartSimulatedLink(const platform::RecordingMessageService& messages);

struct WireCounts {
    uint64_t bytesSent = 0;
    uint64_t bytesReceived = 0;
    uint64_t writeCalls = 0;
    uint64_t readCalls = 0;
    uint64_t queueStatusCalls = 0;
};

extern WireCounts g_wireCounts;

// Puts the counting wrappers between the open link (g_pUsbLink) and the driver.
void CountWireTraffic();
