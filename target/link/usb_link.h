// The one link to the USB debug adapter.
//
// The adapter's driver library is loaded by name at start (never linked at
// build time) and ten of its entry points are bound. The name comes from the
// environment variable VEXA_D2XX_LIBRARY, else "libftd2xx.so"; pointing the
// variable at the simulated board library drives the simulated target.
//
// When the library or an entry point is missing, or the device never opened,
// the link calls nothing: every transfer fails as a link failure.
//
// Keeping in step: the adapter's answers carry no framing, so an answer that
// comes after its read gave up would be taken as the answer to the next
// command. A short or failed transfer therefore marks the link out of step,
// and the next transfer that sends anything first brings it back in step
// (Resynchronise): it waits until no byte has come for one read time-out and
// empties the receive queue. After a run that did not end normally the
// target may still be running; the resynchronisation then sends the break
// byte first.
//
// A byte no command asked for (noise taken for data) would shift every later
// answer by one. The link looks at the receive queue before it sends a
// command and after it has read an answer (FT_GetQueueStatus, which does not
// wait for the adapter, so this costs no round trip): a byte waiting there
// fails the transfer and marks the link out of step, as a short read does.
// A stray byte that comes after the look, held by the adapter chip's latency
// timer, shifts the next answer and so is left waiting after it. While the
// target runs its stop PC comes unasked, and after a break the break's own
// answer may follow it: those transfers pass QueueRule::kTargetRuns, and the
// run itself judges what came (run_until_stop.h).
//
// The adapter's command parser: a write cut off in the middle of a command
// leaves the adapter waiting for the command's last bytes, and it would take
// the next command's bytes for them. The link follows the parser through
// every byte the adapter took (AdapterParser); before it sends anything after
// such a write, the resynchronisation sends the half-received command the
// bytes it lacks, which are the rest of that command as it was to be sent:
// the adapter does what the caller asked for and nothing else. When a write
// fails with an error status the count of bytes taken is not known, nor then
// the parser's state or what the adapter did (a lone command byte may have
// run, stepped or reset the target): every transfer is refused until Init
// Debugger brings the parser back to idle (ReturnParserToIdle).
#pragma once

#include "adapter_parser.h"
#include "d2xx_types.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// What the receive queue may hold around a transfer (see the top of this file).
enum class QueueRule {
    kNothingUnasked, // empty before a command, empty after its answer
    kTargetRuns,     // the break to a running target, the stop PC after it
};

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
    int WriteByte(uint8_t value, QueueRule rule = QueueRule::kNothingUnasked);
    int ReadByte(uint8_t* destination);
    int SendCommand(const uint8_t* buffer, size_t length);
    int ReadBytes(uint8_t* buffer, size_t length, QueueRule rule = QueueRule::kNothingUnasked);

    // FT_GetQueueStatus: the received bytes waiting, or -1.
    long GetQueueStatus();

    // A transfer failed or came up short since the link was last in step.
    bool IsOutOfStep() const { return m_bOutOfStep; }
    // A run ended without its stop PC: the target may still be running. The
    // link counts as out of step; its resynchronisation sends the break byte
    // and waits up to `breakAnswerWaitMs` for an answer first.
    void MarkTargetMayRun(unsigned breakAnswerWaitMs);
    // Empties the receive queue once no byte has moved for `quietMs` (counted
    // from the last byte written or read; at most kDrainLimitMs in all), so
    // that no answer still on its way can be taken for a later one. Returns
    // how many bytes it threw away.
    size_t DrainReceive(unsigned quietMs);
    // Brings the link back in step at once (see the top of this file).
    void Resynchronise();

    // A write failed with an error status while the adapter may hold part of
    // a command: every transfer fails at once, without a call.
    bool IsParserLost() const { return m_bParserLost; }
    // True once for each loss of the parser: the one to report it.
    bool ClaimParserLossReport();
    // Init Debugger, before its handshake: a half-received command gets the
    // bytes it lacks; a parser whose state is not known gets four break
    // bytes, as many as the longest command lacks at most (see the .cpp),
    // whose answers are then emptied from the receive queue. 1 when the
    // parser is idle afterwards, else 0.
    int ReturnParserToIdle();

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
    using Clock = std::chrono::steady_clock;

    // An entry point taking the device handle may be called.
    bool CanTalk() const { return m_bDriverBound && m_bDeviceOpen; }
    // Before anything is sent: resynchronises a link out of step, then looks
    // for bytes no command asked for. False when nothing may be sent.
    bool KeepInStep(QueueRule rule);
    // After an answer: false (and out of step) when more bytes wait.
    bool NothingFollows(QueueRule rule);
    // Notes a transfer's outcome: bytes moved, or a failure (-1).
    int Noted(int result);
    void MarkOutOfStep();
    size_t DrainSince(Clock::time_point quietSince, unsigned quietMs);
    // KeepInStep, then Write; -1 when nothing may be sent.
    long Send(const uint8_t* buffer, size_t length, int attempts, QueueRule rule);
    // Up to `attempts` FT_Write calls for the bytes not yet taken, following
    // the parser through every byte taken. The bytes taken, or -1 after a
    // call with an error status.
    long Write(const uint8_t* buffer, size_t length, int attempts);
    // Keeps the first bytes of `rest` that the half-received command lacks.
    void KeepLacking(const uint8_t* rest, size_t length);
    // The bytes a half-received command lacks, sent outside KeepInStep; true
    // when the parser is idle afterwards.
    bool CompleteHalfCommand();
    // The break byte, with the one-byte retry rule, outside KeepInStep.
    bool SendBreak();

    bool m_bDriverBound = false;
    bool m_bDeviceOpen = false;
    bool m_bOutOfStep = false;
    AdapterParser m_parser;
    // The bytes a half-received command lacks, as the caller meant to send them.
    std::vector<uint8_t> m_lacking;
    bool m_bParserLost = false;
    bool m_bParserLossReported = false;
    bool m_bTargetMayRun = false;
    unsigned m_breakAnswerWaitMs = 0;
    Clock::time_point m_outOfStepSince{};
    Clock::time_point m_lastTraffic{};
};

extern CUsbLink* g_pUsbLink;

// The description the adapter reports.
extern const char* const kAdapterDescription;
// Read and write time-out of every transfer, in milliseconds.
constexpr unsigned kTransferTimeoutMs = 300;
// Pause after opening or resetting the device, in milliseconds.
constexpr unsigned kDeviceSettleMs = 150;
// The adapter chip's latency timer, at the chip's default (the link never
// changes it): an answer shorter than a USB packet reaches the host up to
// this long after the adapter gave it.
constexpr unsigned kAdapterLatencyMs = 16;
// A wait that lets every answer held by the latency timer arrive.
constexpr unsigned kLatencyDrainMs = 2 * kAdapterLatencyMs;
// A link out of step waits for this long without a byte before it counts as
// in step again (one read time-out)...
constexpr unsigned kResyncQuietMs = kTransferTimeoutMs;
// ...and never longer than this for any drain.
constexpr unsigned kDrainLimitMs = 2000;

// The library name: VEXA_D2XX_LIBRARY when set and not empty, else "libftd2xx.so".
const char* DriverLibraryName();

// Process start: creates the link (load, open), stores it in g_pUsbLink,
// runs InitDebugger and registers DestroyUsbLink to run at exit. A failure
// is shown and start-up goes on.
void CreateUsbLink();
// Closes the device when it was opened and destroys the link.
void DestroyUsbLink();
