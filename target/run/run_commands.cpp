#include "run_commands.h"

#include "breakpoint_records.h"
#include "debugger_views.h"
#include "image_load.h"
#include "message_service.h"
#include "run_completion.h"
#include "run_lookups.h"
#include "run_workers.h"
#include "symbol_table.h"
#include "target_flags.h"
#include "target_messages.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

namespace {

std::thread g_worker;
// Set by the worker as its last act.
std::atomic<bool> g_workerDone{true};

// Sets the busy flag and starts `body` on the worker thread. The stop
// requests are cleared here, before the worker exists, so that a Stop pressed
// at once still reaches it.
void StartWorker(std::function<RunCompletion()> body) {
    if (g_worker.joinable()) g_worker.join(); // the previous one has posted its end
    g_bStopRequest = false;
    g_bStepStop = false;
    g_bTargetBusy = true;
    const unsigned session = CurrentRunSession();
    g_workerDone = false;
    g_worker = std::thread([body = std::move(body), session] {
        RunCompletion completion = body();
        completion.session = session;
        if (RunCompletionSink* sink = GetRunCompletionSink())
            sink->PostRunCompletion(completion);
        else
            g_bTargetBusy = false;
        g_workerDone = true;
    });
}

bool Loaded() {
    return g_bProjectLoaded;
}
bool Busy() {
    return g_bTargetBusy;
}

// Guards and the image check of every command that starts a worker.
bool MayStartWorker() {
    return IsDebugCommandEnabled() && CheckTargetImage();
}

} // namespace

bool IsDebugCommandEnabled() {
    return Loaded() && !Busy();
}

bool IsStopEnabled() {
    return Loaded();
}

bool IsRunToCursorEnabled() {
    return IsDebugCommandEnabled() && !g_bHexOnly;
}

int CheckTargetImage() {
    if (!g_bImageVerified) g_bImageVerified = VerifyImage() == 1;
    if (g_bImageVerified) return 1;
    platform::ShowMessage(kImageMismatchText);
    return 0;
}

int OnDebugContinue() {
    if (!MayStartWorker()) return 0;
    StartWorker([] { return ContinueWorker(0); });
    return 1;
}

int OnDebugStop() {
    if (!IsStopEnabled()) return 0;
    g_bStopRequest = true;
    g_bStepStop = true;
    return 1;
}

int OnDebugStep() {
    if (!MayStartWorker()) return 0;
    StartWorker(StepWorker);
    return 1;
}

int OnDebugNext() {
    if (!MayStartWorker()) return 0;
    StartWorker(NextWorker);
    return 1;
}

int OnDebugNexti() {
    if (!MayStartWorker()) return 0;
    StartWorker(NextiWorker);
    return 1;
}

int OnDebugStepi() {
    if (!IsDebugCommandEnabled() || !CheckTargetImage()) return 0;
    ShowRunResult(StepiWorker());
    return 1;
}

int OnDebugRunToCursorLine(const std::string& file, int line) {
    if (!IsRunToCursorEnabled() || !CheckTargetImage()) return 0;
    char key[64];
    std::snprintf(key, sizeof key, ":%d", line);
    const uint32_t address = AddressOfLine(file + key);
    if (address == kNoAddress) return 0;
    return StartRunToCursorThread(address);
}

int StartRunToCursorThread(uint32_t address) {
    if (!MayStartWorker()) return 0;
    const uint16_t target = uint16_t(address);
    StartWorker([target] { return ContinueWorker(target); });
    return 1;
}

bool IsWorkerRunning() {
    return g_worker.joinable();
}

void JoinFinishedWorker() {
    if (g_worker.joinable()) g_worker.join();
}

void StopAndJoinWorker() {
    if (!g_worker.joinable()) return;
    while (!g_workerDone) {
        g_bStopRequest = true;
        g_bStepStop = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    g_worker.join();
    AbandonRunSession();
    g_bStopRequest = false;
    g_bStepStop = false;
    g_bTargetBusy = false;
}

void EndRunSession() {
    StopAndJoinWorker();
    ClearBreakPointList();
    if (PcDisplay* display = GetPcDisplay()) display->ResetPcModel();
}
