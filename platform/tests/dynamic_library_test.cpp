#include "dynamic_library.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace platform;

TEST(DynamicLibrary, MissingLibraryGivesNullAndTheLoadersReason) {
    std::string error;
    auto lib = DynamicLibrary::Open("libno-such-driver-x7.so", &error);
    EXPECT_EQ(lib, nullptr);
    EXPECT_NE(error.find("libno-such-driver-x7.so"), std::string::npos) << error;

    EXPECT_EQ(DynamicLibrary::Open("libno-such-driver-x7.so"), nullptr); // error optional
    EXPECT_EQ(DynamicLibrary::Open("", &error), nullptr);
    EXPECT_FALSE(error.empty());
}

TEST(DynamicLibrary, FindsAndCallsKnownSymbols) {
    std::string error = "stale";
    auto libm = DynamicLibrary::Open("libm.so.6", &error);
    ASSERT_NE(libm, nullptr) << error;
    EXPECT_TRUE(error.empty());
    auto cosFn = reinterpret_cast<double (*)(double)>(libm->Symbol("cos"));
    ASSERT_NE(cosFn, nullptr);
    EXPECT_DOUBLE_EQ(cosFn(0.0), 1.0);
    EXPECT_EQ(libm->Symbol("FT_OpenEx"), nullptr);

    auto libc = DynamicLibrary::Open("libc.so.6");
    ASSERT_NE(libc, nullptr);
    auto strlenFn = reinterpret_cast<size_t (*)(const char*)>(libc->Symbol("strlen"));
    ASSERT_NE(strlenFn, nullptr);
    EXPECT_EQ(strlenFn("USB <-> Serial"), 14u);
}
