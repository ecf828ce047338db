#include "sleep.h"

#include <chrono>
#include <mutex>
#include <thread>

namespace platform {

namespace {

std::mutex g_sleepMutex;
std::function<void(unsigned)> g_sleepFunction;

} // namespace

void Sleep(unsigned milliseconds) {
    std::function<void(unsigned)> fn;
    {
        std::lock_guard<std::mutex> lock(g_sleepMutex);
        fn = g_sleepFunction;
    }
    if (fn) {
        fn(milliseconds);
        return;
    }
    // sleep_for resumes after signals, so the full pause always passes.
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SetSleepFunction(std::function<void(unsigned)> fn) {
    std::lock_guard<std::mutex> lock(g_sleepMutex);
    g_sleepFunction = std::move(fn);
}

} // namespace platform
