#include "usb_link.h"

#include "debugger_init.h"
#include "dynamic_library.h"
#include "message_service.h"
#include "sleep.h"
#include "target_messages.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

CUsbLink* g_pUsbLink = nullptr;

const char* const kAdapterDescription = "USB <-> Serial";

namespace {

// Calls made by the one-byte primitives before they give up on empty transfers.
constexpr int kSingleByteAttempts = 3;
// Calls made by the multi-byte primitives for one buffer.
constexpr int kMultiByteAttempts = 2;
// The adapter's break command (its answer shows the target halted).
constexpr uint8_t kBreakByte = 0x13;
// Pause between two looks at the receive queue while waiting for an answer.
constexpr unsigned kPollPauseUs = 500;

template <typename Fn>
void Bind(const platform::DynamicLibrary& library, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(library.Symbol(name));
}

} // namespace

const char* DriverLibraryName() {
    const char* name = std::getenv("VEXA_D2XX_LIBRARY");
    return name && *name ? name : "libftd2xx.so";
}

CUsbLink::CUsbLink() {
    LoadDriver();
    OpenDevice();
}

CUsbLink::~CUsbLink() = default;

int CUsbLink::LoadDriver() {
    module = platform::DynamicLibrary::Open(DriverLibraryName());
    if (!module) {
        platform::ShowMessage(kLoadDriverFailText);
        return 0;
    }
    // Every lookup is made before any result is looked at.
    Bind(*module, "FT_Open", pfnOpen);
    Bind(*module, "FT_OpenEx", pfnOpenEx);
    Bind(*module, "FT_Close", pfnClose);
    Bind(*module, "FT_ListDevices", pfnListDevices);
    Bind(*module, "FT_Read", pfnRead);
    Bind(*module, "FT_Write", pfnWrite);
    Bind(*module, "FT_ResetDevice", pfnResetDevice);
    Bind(*module, "FT_Purge", pfnPurge);
    Bind(*module, "FT_SetTimeouts", pfnSetTimeouts);
    Bind(*module, "FT_GetQueueStatus", pfnGetQueueStatus);
    m_bDriverBound = pfnOpen && pfnOpenEx && pfnClose && pfnListDevices && pfnRead && pfnWrite &&
                     pfnResetDevice && pfnPurge && pfnSetTimeouts && pfnGetQueueStatus;
    if (!m_bDriverBound) {
        platform::ShowMessage(kMapHandlerFailText);
        return 0;
    }
    return 1;
}

int CUsbLink::OpenByDescription(const char* description) {
    if (!m_bDriverBound) return 0;
    FT_STATUS status = pfnOpenEx(const_cast<char*>(description), FT_OPEN_BY_DESCRIPTION, &handle);
    m_bDeviceOpen = status == FT_OK;
    return m_bDeviceOpen ? 1 : 0;
}

int CUsbLink::OpenDevice() {
    if (!OpenByDescription(kAdapterDescription)) {
        platform::ShowMessage(kUsbOpenFailText);
        return 0;
    }
    ResetDevice();
    PurgeRx();
    SetTimeouts();
    platform::Sleep(kDeviceSettleMs);
    return 1;
}

int CUsbLink::ResetDevice() {
    if (!CanTalk()) return 0;
    return pfnResetDevice(handle) == FT_OK ? 1 : 0;
}

int CUsbLink::PurgeRx() {
    if (!CanTalk()) return 0;
    return pfnPurge(handle, FT_PURGE_RX) == FT_OK ? 1 : 0;
}

int CUsbLink::SetTimeouts() {
    if (!CanTalk()) return 0;
    return pfnSetTimeouts(handle, kTransferTimeoutMs, kTransferTimeoutMs) == FT_OK ? 1 : 0;
}

int CUsbLink::CloseDevice() {
    if (!CanTalk()) return 0;
    m_bDeviceOpen = false;
    return pfnClose(handle) == FT_OK ? 1 : 0;
}

int CUsbLink::WriteByte(uint8_t value) {
    if (!CanTalk()) return -1;
    KeepInStep();
    for (int attempt = 0; attempt < kSingleByteAttempts; ++attempt) {
        DWORD written = 0;
        if (pfnWrite(handle, &value, 1, &written) != FT_OK) return Noted(-1);
        if (written == 1) return Noted(1);
    }
    return Noted(-1);
}

int CUsbLink::ReadByte(uint8_t* destination) {
    if (!CanTalk()) return -1;
    for (int attempt = 0; attempt < kSingleByteAttempts; ++attempt) {
        DWORD read = 0;
        if (pfnRead(handle, destination, 1, &read) != FT_OK) return Noted(-1);
        if (read == 1) return Noted(1);
    }
    return Noted(-1);
}

int CUsbLink::SendCommand(const uint8_t* buffer, size_t length) {
    if (length == 0) return 0;
    if (!CanTalk()) return -1;
    KeepInStep();
    size_t total = 0;
    for (int attempt = 0; attempt < kMultiByteAttempts && total < length; ++attempt) {
        DWORD written = 0;
        if (pfnWrite(handle, const_cast<uint8_t*>(buffer + total), DWORD(length - total),
                     &written) != FT_OK)
            return Noted(-1);
        total += written;
    }
    return Noted(total == length ? int(length) : -1);
}

int CUsbLink::ReadBytes(uint8_t* buffer, size_t length) {
    if (length == 0) return 0;
    if (!CanTalk()) return -1;
    size_t total = 0;
    for (int attempt = 0; attempt < kMultiByteAttempts && total < length; ++attempt) {
        DWORD read = 0;
        if (pfnRead(handle, buffer + total, DWORD(length - total), &read) != FT_OK)
            return Noted(-1);
        total += read;
    }
    return Noted(total == length ? int(length) : -1);
}

long CUsbLink::GetQueueStatus() {
    if (!CanTalk()) return -1;
    DWORD waiting = 0;
    if (pfnGetQueueStatus(handle, &waiting) != FT_OK) return -1;
    return long(waiting);
}

int CUsbLink::Noted(int result) {
    if (result < 0) {
        m_bOutOfStep = true;
        m_outOfStepSince = Clock::now();
    } else if (result > 0) {
        m_lastTraffic = Clock::now();
    }
    return result;
}

void CUsbLink::KeepInStep() {
    if (m_bOutOfStep) Resynchronise();
}

void CUsbLink::MarkTargetMayRun(unsigned breakAnswerWaitMs) {
    m_bTargetMayRun = true;
    m_breakAnswerWaitMs = breakAnswerWaitMs;
    m_bOutOfStep = true;
    m_outOfStepSince = Clock::now();
}

bool CUsbLink::SendBreak() {
    uint8_t value = kBreakByte;
    for (int attempt = 0; attempt < kSingleByteAttempts; ++attempt) {
        DWORD written = 0;
        if (pfnWrite(handle, &value, 1, &written) != FT_OK) return false;
        if (written == 1) return true;
    }
    return false;
}

void CUsbLink::Resynchronise() {
    if (!CanTalk()) return;
    m_bOutOfStep = false; // the transfers below must not start another one
    Clock::time_point quietSince = std::max(m_lastTraffic, m_outOfStepSince);
    if (m_bTargetMayRun) {
        // A running target answers the break with its stop PC, a halted one
        // with one byte; either shows that it is halted now.
        bool answered = false;
        if (SendBreak()) {
            const auto deadline = Clock::now() + std::chrono::milliseconds(m_breakAnswerWaitMs);
            DWORD waiting = 0;
            while (pfnGetQueueStatus(handle, &waiting) == FT_OK && waiting == 0 &&
                   Clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::microseconds(kPollPauseUs));
            answered = waiting > 0;
        }
        m_bTargetMayRun = !answered;
        quietSince = Clock::now();
    }
    DrainSince(quietSince, kResyncQuietMs);
    if (m_bTargetMayRun) {
        // Not known to be halted: the next transfer tries again.
        m_bOutOfStep = true;
        m_outOfStepSince = Clock::now();
    }
}

void CUsbLink::DrainReceive(unsigned quietMs) {
    if (CanTalk()) DrainSince(m_lastTraffic, quietMs);
}

void CUsbLink::DrainSince(Clock::time_point quietSince, unsigned quietMs) {
    const auto start = Clock::now();
    const auto quiet = std::chrono::milliseconds(quietMs);
    for (;;) {
        DWORD waiting = 0;
        if (pfnGetQueueStatus(handle, &waiting) != FT_OK) break;
        const auto now = Clock::now();
        if (waiting > 0) {
            pfnPurge(handle, FT_PURGE_RX);
            quietSince = now;
        }
        if (now - quietSince >= quiet || now - start >= std::chrono::milliseconds(kDrainLimitMs))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    pfnPurge(handle, FT_PURGE_RX);
}

void CreateUsbLink() {
    g_pUsbLink = new CUsbLink();
    InitDebugger();
    static bool s_bExitRegistered = false;
    if (!s_bExitRegistered) {
        std::atexit(DestroyUsbLink);
        s_bExitRegistered = true;
    }
}

void DestroyUsbLink() {
    if (!g_pUsbLink) return;
    if (g_pUsbLink->IsDeviceOpen()) g_pUsbLink->CloseDevice();
    delete g_pUsbLink;
    g_pUsbLink = nullptr;
}
