#include "run_completion.h"

#include "debugger_views.h"
#include "host_memory.h"
#include "message_service.h"
#include "target_flags.h"

#include <atomic>

namespace {

std::atomic<RunCompletionSink*> g_sink{nullptr};
std::atomic<unsigned> g_session{1};

} // namespace

void SetRunCompletionSink(RunCompletionSink* sink) {
    g_sink.store(sink);
}

RunCompletionSink* GetRunCompletionSink() {
    return g_sink.load();
}

void ShowRunResult(const RunCompletion& completion) {
    if (!completion.error.empty()) platform::ShowMessage(completion.error);
    if (!completion.stopped) return;
    if (PcDisplay* display = GetPcDisplay()) {
        display->SetCurrentPc(completion.pc);
        display->ShowPcInAssembly(completion.pc, 1);
    }
    UpdateDebugWindows();
}

void FinishRun(const RunCompletion& completion) {
    if (completion.session != g_session.load()) return;
    ShowRunResult(completion);
    g_bTargetBusy = false;
}

unsigned CurrentRunSession() {
    return g_session.load();
}

void AbandonRunSession() {
    ++g_session;
}
