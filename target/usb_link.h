// The one link to the USB debug adapter.
//
// The adapter's driver library is loaded by name at start (never linked at
// build time) and ten of its entry points are bound. The name comes from the
// environment variable VEXA_D2XX_LIBRARY, else "libftd2xx.so"; pointing the
// variable at the simulated board library drives the simulated target.
//
// When the library or an entry point is missing, or the device never opened,
// the link calls nothing: every transfer fails as a link failure.
#pragma once

#include "d2xx_types.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {
class DynamicLibrary;
}

class CUsbLink {
public:
    CUsbLink(); // LoadDriver, then OpenDevice
    ~CUsbLink();
    CUsbLink(const CUsbLink&) = delete;
    CUsbLink& operator=(const CUsbLink&) = delete;

    // Results: 1 success, 0 failure; only LoadDriver and OpenDevice show messages.
    int LoadDriver();
    int OpenByDescription(const char* description);
    int OpenDevice();
    int ResetDevice();
    int PurgeRx();
    int SetTimeouts();
    int CloseDevice();

    // The transfer primitives: bytes moved, or -1. No messages.
    int WriteByte(uint8_t value);
    int ReadByte(uint8_t* destination);
    int SendCommand(const uint8_t* buffer, size_t length);
    int ReadBytes(uint8_t* buffer, size_t length);

    // FT_GetQueueStatus: the received bytes waiting, or -1.
    long GetQueueStatus();

    // All ten entry points were found.
    bool IsDriverBound() const { return m_bDriverBound; }
    // The device is open (through OpenByDescription).
    bool IsDeviceOpen() const { return m_bDeviceOpen; }

    std::unique_ptr<platform::DynamicLibrary> module;
    FT_HANDLE handle = nullptr;
    FT_OpenFn pfnOpen = nullptr; // bound, never called
    FT_OpenExFn pfnOpenEx = nullptr;
    FT_CloseFn pfnClose = nullptr;
    FT_ListDevicesFn pfnListDevices = nullptr; // bound, never called
    FT_ReadFn pfnRead = nullptr;
    FT_WriteFn pfnWrite = nullptr;
    FT_ResetDeviceFn pfnResetDevice = nullptr;
    FT_PurgeFn pfnPurge = nullptr;
    FT_SetTimeoutsFn pfnSetTimeouts = nullptr;
    FT_GetQueueStatusFn pfnGetQueueStatus = nullptr;

private:
    // An entry point taking the device handle may be called.
    bool CanTalk() const { return m_bDriverBound && m_bDeviceOpen; }

    bool m_bDriverBound = false;
    bool m_bDeviceOpen = false;
};

extern CUsbLink* g_pUsbLink;

// The description the adapter reports.
extern const char* const kAdapterDescription;
// Read and write time-out of every transfer, in milliseconds.
constexpr unsigned kTransferTimeoutMs = 300;
// Pause after opening or resetting the device, in milliseconds.
constexpr unsigned kDeviceSettleMs = 150;

// The library name: VEXA_D2XX_LIBRARY when set and not empty, else "libftd2xx.so".
const char* DriverLibraryName();

// Process start: creates the link (load, open), stores it in g_pUsbLink,
// runs InitDebugger and registers DestroyUsbLink to run at exit. A failure
// is shown and start-up goes on.
void CreateUsbLink();
// Closes the device when it was opened and destroys the link.
void DestroyUsbLink();
