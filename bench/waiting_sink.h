// Hands a run-control worker's completion to the benchmark's main thread.
#pragma once

#include "run_completion.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

class WaitingSink : public RunCompletionSink {
public:
    void PostRunCompletion(const RunCompletion& completion) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_completion = completion;
        m_posted.notify_one();
    }
    // The completion posted, taken; none when nothing came within 30 s (a
    // switch walked one instruction at a time takes seconds at 16 ms latency).
    std::optional<RunCompletion> Wait() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_posted.wait_for(lock, std::chrono::seconds(30),
                          [this] { return m_completion.has_value(); });
        std::optional<RunCompletion> completion = m_completion;
        m_completion.reset();
        return completion;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::optional<RunCompletion> m_completion;
};
