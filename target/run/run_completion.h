// The end of every run command: what the worker found, handed to the
// user-interface thread, which shows it and only then frees the target.
//
// The worker never touches a window: it posts one completion through the
// installed sink and ends. The user-interface side calls FinishRun with it.
#pragma once

#include <cstdint>
#include <string>

struct RunCompletion {
    uint16_t pc = 0;
    // Shown first when not empty.
    std::string error;
    // The target stopped at pc: move the PC marker and refresh every pane.
    // Clear when the command was abandoned (image mismatch, link failure).
    bool stopped = false;
    // The worker session that produced it (set when the worker starts).
    unsigned session = 0;
};

class RunCompletionSink {
public:
    virtual ~RunCompletionSink() = default;
    // Called on the worker thread; must hand the completion to the
    // user-interface thread without waiting for it.
    virtual void PostRunCompletion(const RunCompletion& completion) = 0;
};

// Installing nullptr removes the sink; without one, a worker frees the target
// itself and nothing is shown.
void SetRunCompletionSink(RunCompletionSink* sink);
RunCompletionSink* GetRunCompletionSink();

// User-interface thread: the error message, then, when the target stopped,
// SetCurrentPc, ShowPcInAssembly(pc, 1) and UpdateDebugWindows.
void ShowRunResult(const RunCompletion& completion);

// User-interface thread, for a completion posted by a worker: ShowRunResult,
// then the busy flag is cleared. A completion of an abandoned session (the
// project was closed meanwhile) is dropped.
void FinishRun(const RunCompletion& completion);

// The session a new worker belongs to; abandoning it makes FinishRun drop
// whatever its worker still posts.
unsigned CurrentRunSession();
void AbandonRunSession();
