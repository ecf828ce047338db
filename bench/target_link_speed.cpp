// What the target link costs on the wire: Image Load and the image check of a
// full 64 KB image and of a typical 8 KB image, and one refresh of the host
// copies and panes, against the simulated adapter board.
//
// For each: bytes sent and received, the number of FT_Write, FT_Read and
// FT_GetQueueStatus calls (a real USB link pays about one 1 ms frame for each
// transfer), the host time, and the pauses the sequence asks for (counted,
// not slept). The board library is VEXA_D2XX_LIBRARY when set, else
// libsimboard.so beside this program.
#include "host_memory.h"
#include "image_load.h"
#include "message_service.h"
#include "sleep.h"
#include "target_flags.h"
#include "usb_link.h"

#include "bench_clock.h"
#include "wire_counter.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Pauses the sequences would take, counted instead of slept.
uint64_t g_pauseMs = 0;

std::string HexText(uint32_t size) {
    std::string text;
    char line[64];
    for (uint32_t address = 0; address < size; address += 16) {
        unsigned sum = 16 + (address >> 8) + (address & 0xFF);
        int n = std::snprintf(line, sizeof line, ":10%04X00", address);
        for (int i = 0; i < 16; ++i) {
            const unsigned b = (address + i) * 7 % 251;
            n += std::snprintf(line + n, sizeof line - n, "%02X", b);
            sum += b;
        }
        std::snprintf(line + n, sizeof line - n, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
        text += line;
    }
    return text + ":00000001FF\n";
}

std::string WriteImage(uint32_t size) {
    char path[] = "/tmp/target-link-speed-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return std::string();
    close(fd);
    std::ofstream(path, std::ios::binary) << HexText(size);
    return path;
}

template <typename Fn> void Measure(const char* what, Fn&& fn) {
    g_wireCounts = WireCounts();
    g_pauseMs = 0;
    const Clock::time_point start = Clock::now();
    const bool ok = fn();
    const double ms = MillisecondsSince(start);
    std::printf(
        "%-28s %-4s %9llu %9llu %8llu %8llu %8llu %10.2f %8llu\n", what, ok ? "ok" : "FAIL",
        (unsigned long long)g_wireCounts.bytesSent, (unsigned long long)g_wireCounts.bytesReceived,
        (unsigned long long)g_wireCounts.writeCalls, (unsigned long long)g_wireCounts.readCalls,
        (unsigned long long)g_wireCounts.queueStatusCalls, ms, (unsigned long long)g_pauseMs);
}

} // namespace

int main() {
    platform::SetSleepFunction([](unsigned ms) { g_pauseMs += ms; });
    platform::RecordingMessageService messages;
    if (!StartSimulatedLink(messages)) return 1;
    CountWireTraffic();

    std::printf("%-28s %-4s %9s %9s %8s %8s %8s %10s %8s\n", "operation", "", "sent", "received",
                "FT_Write", "FT_Read", "FT_Queue", "host ms", "pause ms");
    for (uint32_t size : {0x10000u, 0x2000u}) {
        g_strHexPath = WriteImage(size);
        if (g_strHexPath.empty()) {
            std::fprintf(stderr, "cannot write a temporary image\n");
            return 1;
        }
        char label[64];
        std::snprintf(label, sizeof label, "Image Load %u KB", size / 1024);
        Measure(label, [&] {
            messages.shown.clear();
            return ImageLoad(size - 1 + 16) == 1 && messages.shown.size() == 1;
        });
        std::snprintf(label, sizeof label, "VerifyImage %u KB", size / 1024);
        Measure(label, [] { return VerifyImage() == 1; });
        std::remove(g_strHexPath.c_str());
    }

    ResetXdataRange();
    Measure("UpdateDebugWindows", [&] {
        messages.shown.clear();
        UpdateDebugWindows();
        return messages.shown.empty();
    });
    g_dwXdataLow = 0x0000;
    g_dwXdataHigh = 0x03FF;
    Measure("UpdateDebugWindows +1KB X", [&] {
        UpdateDebugWindows();
        return messages.shown.empty();
    });

    DestroyUsbLink();
    return 0;
}
