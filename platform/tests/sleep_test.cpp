#include "sleep.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

using namespace platform;

TEST(Sleep, HookReceivesEveryPauseAndEmptyFunctionRestoresTheRealPause) {
    std::vector<unsigned> pauses;
    SetSleepFunction([&](unsigned ms) { pauses.push_back(ms); });
    auto start = std::chrono::steady_clock::now();
    Sleep(150);
    Sleep(100);
    Sleep(40);
    auto hooked = std::chrono::steady_clock::now() - start;
    SetSleepFunction({});
    EXPECT_EQ(pauses, (std::vector<unsigned>{150, 100, 40}));
    EXPECT_LT(hooked, std::chrono::milliseconds(100)); // nothing actually waited

    start = std::chrono::steady_clock::now();
    Sleep(20);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
    EXPECT_EQ(pauses.size(), 3u);
}
