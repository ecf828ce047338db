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
    m_parser.Reset(); // an opened adapter starts with an empty parser
    m_bParserLost = false;
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

int CUsbLink::WriteByte(uint8_t value, QueueRule rule) {
    if (!CanTalk()) return -1;
    return Noted(Send(&value, 1, kSingleByteAttempts, rule) == 1 ? 1 : -1);
}

int CUsbLink::ReadByte(uint8_t* destination) {
    if (!CanTalk() || m_bParserLost) return -1;
    for (int attempt = 0; attempt < kSingleByteAttempts; ++attempt) {
        DWORD read = 0;
        if (pfnRead(handle, destination, 1, &read) != FT_OK) return Noted(-1);
        if (read == 1) return Noted(NothingFollows(QueueRule::kNothingUnasked) ? 1 : -1);
    }
    return Noted(-1);
}

int CUsbLink::SendCommand(const uint8_t* buffer, size_t length) {
    if (length == 0) return 0;
    if (!CanTalk()) return -1;
    const long taken = Send(buffer, length, kMultiByteAttempts, QueueRule::kNothingUnasked);
    return Noted(taken == long(length) ? int(length) : -1);
}

int CUsbLink::ReadBytes(uint8_t* buffer, size_t length, QueueRule rule) {
    if (length == 0) return 0;
    if (!CanTalk() || m_bParserLost) return -1;
    size_t total = 0;
    for (int attempt = 0; attempt < kMultiByteAttempts && total < length; ++attempt) {
        DWORD read = 0;
        if (pfnRead(handle, buffer + total, DWORD(length - total), &read) != FT_OK)
            return Noted(-1);
        total += read;
    }
    if (total != length) return Noted(-1);
    return Noted(NothingFollows(rule) ? int(length) : -1);
}

long CUsbLink::GetQueueStatus() {
    if (!CanTalk()) return -1;
    DWORD waiting = 0;
    if (pfnGetQueueStatus(handle, &waiting) != FT_OK) return -1;
    return long(waiting);
}

long CUsbLink::Send(const uint8_t* buffer, size_t length, int attempts, QueueRule rule) {
    const bool wasOutOfStep = m_bOutOfStep;
    if (KeepInStep(rule)) return Write(buffer, length, attempts);
    // Refused with a command half sent in step: these are the bytes it lacks.
    if (!wasOutOfStep && !m_bParserLost) KeepLacking(buffer, length);
    return -1;
}

void CUsbLink::KeepLacking(const uint8_t* rest, size_t length) {
    const size_t lacking = std::min(m_parser.Missing(), length);
    m_lacking.assign(rest, rest + lacking);
}

long CUsbLink::Write(const uint8_t* buffer, size_t length, int attempts) {
    size_t total = 0;
    for (int attempt = 0; attempt < attempts && total < length; ++attempt) {
        DWORD written = 0;
        if (pfnWrite(handle, const_cast<uint8_t*>(buffer + total), DWORD(length - total),
                     &written) != FT_OK) {
            // How many bytes the adapter took is not known, nor so what it
            // holds or did: a command byte may have gone through as well.
            m_bParserLost = true;
            m_bParserLossReported = false;
            m_lacking.clear();
            return -1;
        }
        const size_t taken = std::min<size_t>(written, length - total);
        m_parser.Take(buffer + total, taken);
        total += taken;
    }
    KeepLacking(buffer + total, length - total); // for CompleteHalfCommand
    return long(total);
}

int CUsbLink::Noted(int result) {
    if (result < 0) {
        MarkOutOfStep();
    } else if (result > 0) {
        m_lastTraffic = Clock::now();
    }
    return result;
}

void CUsbLink::MarkOutOfStep() {
    m_bOutOfStep = true;
    m_outOfStepSince = Clock::now();
}

bool CUsbLink::KeepInStep(QueueRule rule) {
    if (m_bOutOfStep) Resynchronise();
    if (m_bParserLost) return false;
    if (!m_parser.IsIdle() && m_bOutOfStep) return false; // the half command is not completed
    if (rule == QueueRule::kNothingUnasked && GetQueueStatus() > 0) {
        MarkOutOfStep(); // a byte no command asked for
        return false;
    }
    return true;
}

bool CUsbLink::NothingFollows(QueueRule rule) {
    return rule == QueueRule::kTargetRuns || GetQueueStatus() <= 0;
}

void CUsbLink::MarkTargetMayRun(unsigned breakAnswerWaitMs) {
    m_bTargetMayRun = true;
    m_breakAnswerWaitMs = breakAnswerWaitMs;
    MarkOutOfStep();
}

bool CUsbLink::SendBreak() {
    return Write(&kBreakByte, 1, kSingleByteAttempts) == 1;
}

bool CUsbLink::CompleteHalfCommand() {
    if (m_parser.IsIdle()) return true;
    if (m_lacking.size() < m_parser.Missing()) {
        m_bParserLost = true; // nothing known to complete it with
        m_bParserLossReported = false;
        return false;
    }
    // A copy: Write keeps what is still lacking afterwards in m_lacking.
    const std::vector<uint8_t> lacking(m_lacking.begin(), m_lacking.begin() + m_parser.Missing());
    if (Write(lacking.data(), lacking.size(), kMultiByteAttempts) > 0) m_lastTraffic = Clock::now();
    return m_parser.IsIdle();
}

void CUsbLink::Resynchronise() {
    if (!CanTalk() || m_bParserLost) return;
    m_bOutOfStep = false; // the transfers below must not start another one
    Clock::time_point quietSince = std::max(m_lastTraffic, m_outOfStepSince);
    if (m_bTargetMayRun) {
        // A running target answers the break with its stop PC, a halted one
        // with one byte; either shows that it is halted now. (The run began
        // with the parser idle, and a running target takes nothing but the
        // break, so no half command waits here.)
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
    } else if (!CompleteHalfCommand()) {
        MarkOutOfStep(); // the next transfer tries again, or none goes out
        return;
    }
    DrainSince(quietSince, kResyncQuietMs);
    if (m_bTargetMayRun) {
        // Not known to be halted: the next transfer tries again.
        MarkOutOfStep();
    }
}

bool CUsbLink::ClaimParserLossReport() {
    if (!m_bParserLost || m_bParserLossReported) return false;
    m_bParserLossReported = true;
    return true;
}

int CUsbLink::ReturnParserToIdle() {
    if (!CanTalk()) return 0;
    if (!m_bParserLost) return CompleteHalfCommand() ? 1 : 0;
    // Which part of the failed write the adapter took is not known, so the
    // parser may lack up to four bytes (those of a 4-byte value write); the
    // host's own bytes cannot complete it, since where they would start is
    // not known. The break byte is the one byte that is harmless wherever
    // it lands: as a command it halts the target or is answered with one
    // byte; as an operand it names no breakpoint slot (they end at 17) and
    // no memory space, and a breakpoint, PC or address it sets is replaced
    // by what Init Debugger sends next (the CPU reset, every slot cleared)
    // or by the next access. Only the missing value bytes of a cut value
    // write can take it: that write was reported as failed, and Init
    // Debugger is the user's own request to start the target afresh.
    static const uint8_t kBreaks[4] = {kBreakByte, kBreakByte, kBreakByte, kBreakByte};
    m_bParserLossReported = false; // a failure now is reported again
    m_bParserLost = false;
    if (Write(kBreaks, sizeof kBreaks, kMultiByteAttempts) != long(sizeof kBreaks)) {
        m_bParserLost = true;
        return 0;
    }
    m_parser.Reset();
    m_lastTraffic = Clock::now();
    DrainReceive(kLatencyDrainMs);
    return 1;
}

size_t CUsbLink::DrainReceive(unsigned quietMs) {
    return CanTalk() ? DrainSince(m_lastTraffic, quietMs) : 0;
}

size_t CUsbLink::DrainSince(Clock::time_point quietSince, unsigned quietMs) {
    const auto start = Clock::now();
    const auto quiet = std::chrono::milliseconds(quietMs);
    size_t thrownAway = 0;
    for (;;) {
        DWORD waiting = 0;
        if (pfnGetQueueStatus(handle, &waiting) != FT_OK) break;
        const auto now = Clock::now();
        if (waiting > 0) {
            pfnPurge(handle, FT_PURGE_RX);
            thrownAway += waiting;
            quietSince = now;
        }
        if (now - quietSince >= quiet || now - start >= std::chrono::milliseconds(kDrainLimitMs))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // Whatever came after the last look.
    DWORD waiting = 0;
    if (pfnGetQueueStatus(handle, &waiting) == FT_OK) thrownAway += waiting;
    pfnPurge(handle, FT_PURGE_RX);
    return thrownAway;
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
