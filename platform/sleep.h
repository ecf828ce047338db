// Pauses. Code that waits for hardware calls Sleep(); tests may replace the
// pause with a function that only records it.
#pragma once

#include <functional>

namespace platform {

void Sleep(unsigned milliseconds);

// Replaces what Sleep() does (an empty function restores the real pause).
void SetSleepFunction(std::function<void(unsigned)> fn);

} // namespace platform
