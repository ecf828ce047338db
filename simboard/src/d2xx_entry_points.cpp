// The ten D2XX entry points of the simulated adapter. Their behaviour is
// described in d2xx_types.h.
#include "d2xx_types.h"
#include "simulator.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#define D2XX_EXPORT extern "C" __attribute__((visibility("default")))

using simboard::simulator;
using Lock = std::unique_lock<std::mutex>;

namespace {

constexpr const char* kDescription = "USB <-> Serial";

bool attached() {
    const char* v = std::getenv("VEXA_SIM_NOT_ATTACHED");
    return v == nullptr || *v == '\0' || std::strcmp(v, "0") == 0;
}

FT_STATUS openDevice(FT_HANDLE* handle) {
    simboard::UsbPort& usb = simulator().usb;
    if (handle == nullptr) return FT_INVALID_PARAMETER;
    if (!attached()) return FT_DEVICE_NOT_FOUND;
    if (usb.consumeOpenFailure() || usb.isOpen()) return FT_DEVICE_NOT_OPENED;
    simulator().firmware.resetParser();
    usb.open();
    *handle = usb.handle();
    return FT_OK;
}

} // namespace

D2XX_EXPORT FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* handle) {
    Lock lock(simulator().mutex);
    if (deviceNumber != 0) return FT_DEVICE_NOT_FOUND;
    return openDevice(handle);
}

D2XX_EXPORT FT_STATUS FT_OpenEx(PVOID arg, DWORD flags, FT_HANDLE* handle) {
    Lock lock(simulator().mutex);
    if (flags != FT_OPEN_BY_DESCRIPTION || arg == nullptr ||
        std::strcmp(static_cast<const char*>(arg), kDescription) != 0)
        return FT_DEVICE_NOT_FOUND;
    return openDevice(handle);
}

D2XX_EXPORT FT_STATUS FT_Close(FT_HANDLE handle) {
    Lock lock(simulator().mutex);
    if (!simulator().usb.accepts(handle)) return FT_INVALID_HANDLE;
    simulator().usb.close();
    return FT_OK;
}

D2XX_EXPORT FT_STATUS FT_ListDevices(PVOID arg1, PVOID arg2, DWORD flags) {
    Lock lock(simulator().mutex);
    const DWORD devices = attached() ? 1 : 0;
    if (flags == FT_LIST_NUMBER_ONLY) {
        if (arg1 == nullptr) return FT_INVALID_PARAMETER;
        *static_cast<DWORD*>(arg1) = devices;
        return FT_OK;
    }
    if (flags == (FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION)) {
        if (arg2 == nullptr) return FT_INVALID_PARAMETER;
        if (reinterpret_cast<uintptr_t>(arg1) >= devices) return FT_DEVICE_NOT_FOUND;
        std::strcpy(static_cast<char*>(arg2), kDescription);
        return FT_OK;
    }
    return FT_INVALID_PARAMETER;
}

D2XX_EXPORT FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD toWrite, LPDWORD written) {
    Lock lock(simulator().mutex);
    simboard::UsbPort& usb = simulator().usb;
    if (!usb.accepts(handle)) return FT_INVALID_HANDLE;
    if (written == nullptr || (buffer == nullptr && toWrite > 0)) return FT_INVALID_PARAMETER;
    *written = 0;
    if (usb.consumeZeroWrite()) return FT_OK;
    uint32_t status = FT_OK;
    const size_t taken = usb.consumeCut(toWrite, status);
    const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
    for (size_t i = 0; i < taken; ++i) {
        usb.noteWritten(bytes[i]);
        simulator().firmware.receive(bytes[i]);
    }
    if (status == FT_OK) *written = static_cast<DWORD>(taken);
    simulator().written.notify_all();
    return status;
}

// The read waits, up to the read time-out, until the bytes asked for are
// readable. While the CPU runs it runs it in slices meanwhile; while it is
// halted it sleeps until the next held answer bytes arrive, the time-out
// passes or the host writes. The lock is let go while it waits, so that
// another thread can send the break byte.
D2XX_EXPORT FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD toRead, LPDWORD read) {
    using Clock = simboard::UsbPort::Clock;
    Lock lock(simulator().mutex);
    simboard::UsbPort& usb = simulator().usb;
    simboard::Firmware& firmware = simulator().firmware;
    if (!usb.accepts(handle)) return FT_INVALID_HANDLE;
    if (read == nullptr || (buffer == nullptr && toRead > 0)) return FT_INVALID_PARAMETER;
    *read = 0;
    if (usb.consumeZeroRead()) return FT_OK;

    const auto deadline = Clock::now() + std::chrono::milliseconds(usb.readTimeoutMs());
    while (usb.queued() < toRead) {
        if (firmware.running()) {
            firmware.runSlice(simboard::Firmware::kSliceInstructions);
            if (usb.queued() >= toRead) break;
        }
        if (Clock::now() >= deadline) break;
        if (firmware.running()) {
            lock.unlock();
            std::this_thread::yield();
            lock.lock();
        } else {
            Clock::time_point wake = deadline;
            Clock::time_point arrival;
            if (usb.nextArrival(arrival) && arrival < wake) wake = arrival;
            simulator().written.wait_until(lock, wake);
        }
        if (!usb.accepts(handle)) return FT_INVALID_HANDLE;
    }
    *read = static_cast<DWORD>(usb.take(static_cast<uint8_t*>(buffer), toRead));
    return FT_OK;
}

D2XX_EXPORT FT_STATUS FT_ResetDevice(FT_HANDLE handle) {
    Lock lock(simulator().mutex);
    if (!simulator().usb.accepts(handle)) return FT_INVALID_HANDLE;
    simulator().usb.resetChip(); // the firmware, and its command parser, are not reached
    return FT_OK;
}

D2XX_EXPORT FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) {
    Lock lock(simulator().mutex);
    if (!simulator().usb.accepts(handle)) return FT_INVALID_HANDLE;
    if (mask & FT_PURGE_RX) simulator().usb.purgeReceive();
    return FT_OK;
}

D2XX_EXPORT FT_STATUS FT_SetTimeouts(FT_HANDLE handle, ULONG readTimeout, ULONG writeTimeout) {
    (void)writeTimeout; // writes never wait
    Lock lock(simulator().mutex);
    if (!simulator().usb.accepts(handle)) return FT_INVALID_HANDLE;
    simulator().usb.setReadTimeout(readTimeout);
    return FT_OK;
}

D2XX_EXPORT FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, LPDWORD rxBytes) {
    Lock lock(simulator().mutex);
    simboard::UsbPort& usb = simulator().usb;
    if (!usb.accepts(handle)) return FT_INVALID_HANDLE;
    if (rxBytes == nullptr) return FT_INVALID_PARAMETER;
    if (simulator().firmware.running())
        simulator().firmware.runSlice(simboard::Firmware::kSliceInstructions);
    *rxBytes = static_cast<DWORD>(usb.queued());
    return FT_OK;
}
