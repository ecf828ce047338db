#include "wire_counter.h"

#include "message_service.h"
#include "process.h"
#include "usb_link.h"

#include <cstdio>
#include <cstdlib>
#include <string>

WireCounts g_wireCounts;

bool StartSimulatedLink(const platform::RecordingMessageService& messages) {
    const std::string library = platform::ExecutableDirectory() + "/libsimboard.so";
    setenv("VEXA_D2XX_LIBRARY", library.c_str(), 0);
    CreateUsbLink();
    if (messages.shown.empty()) return true;
    std::fprintf(stderr, "the link did not start: %s\n", messages.shown.front().text.c_str());
    return false;
}

namespace {

FT_WriteFn g_write = nullptr;
FT_ReadFn g_read = nullptr;
FT_GetQueueStatusFn g_queueStatus = nullptr;

FT_STATUS CountWrite(FT_HANDLE handle, LPVOID buffer, DWORD count, LPDWORD written) {
    FT_STATUS status = g_write(handle, buffer, count, written);
    ++g_wireCounts.writeCalls;
    g_wireCounts.bytesSent += *written;
    return status;
}

FT_STATUS CountRead(FT_HANDLE handle, LPVOID buffer, DWORD count, LPDWORD read) {
    FT_STATUS status = g_read(handle, buffer, count, read);
    ++g_wireCounts.readCalls;
    g_wireCounts.bytesReceived += *read;
    return status;
}

FT_STATUS CountQueueStatus(FT_HANDLE handle, LPDWORD waiting) {
    ++g_wireCounts.queueStatusCalls;
    return g_queueStatus(handle, waiting);
}

} // namespace

void CountWireTraffic() {
    g_write = g_pUsbLink->pfnWrite;
    g_read = g_pUsbLink->pfnRead;
    g_queueStatus = g_pUsbLink->pfnGetQueueStatus;
    g_pUsbLink->pfnWrite = CountWrite;
    g_pUsbLink->pfnRead = CountRead;
    g_pUsbLink->pfnGetQueueStatus = CountQueueStatus;
}
