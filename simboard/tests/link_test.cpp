// Opening, closing and the USB side of the simulated adapter.
#include "board_test.h"

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

char kDescription[] = "USB <-> Serial";

// Endless loop at 0x0000: INC DPTR; SJMP 0000. DPTR counts loop passes.
const Bytes kCountingLoop = {0xA3, 0x80, 0xFD};

class SimBoardOpen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(lib.loadError, "");
        lib.ResetBoard();
    }
    void TearDown() override {
        unsetenv("VEXA_SIM_NOT_ATTACHED");
        lib.ResetBoard();
    }
    const SimBoardLibrary& lib = SimBoardLibrary::get();
};

} // namespace

TEST_F(SimBoardOpen, OpenExNeedsTheDescriptionAndTheDescriptionFlag) {
    FT_HANDLE h = nullptr;
    char other[] = "USB <-> Serial Cable";
    EXPECT_EQ(lib.FT_OpenEx(other, FT_OPEN_BY_DESCRIPTION, &h), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(lib.FT_OpenEx(kDescription, 1, &h), FT_DEVICE_NOT_FOUND); // by serial number
    EXPECT_EQ(lib.FT_OpenEx(nullptr, FT_OPEN_BY_DESCRIPTION, &h), FT_DEVICE_NOT_FOUND);
    ASSERT_EQ(lib.FT_OpenEx(kDescription, FT_OPEN_BY_DESCRIPTION, &h), FT_OK);
    EXPECT_NE(h, nullptr);

    FT_HANDLE second = nullptr;
    EXPECT_EQ(lib.FT_OpenEx(kDescription, FT_OPEN_BY_DESCRIPTION, &second), FT_DEVICE_NOT_OPENED);
    EXPECT_EQ(lib.FT_Close(h), FT_OK);
    EXPECT_EQ(lib.FT_Close(h), FT_INVALID_HANDLE);
    EXPECT_EQ(lib.FT_OpenEx(kDescription, FT_OPEN_BY_DESCRIPTION, &h), FT_OK);
}

TEST_F(SimBoardOpen, OpenByNumberFindsOnlyDeviceZero) {
    FT_HANDLE h = nullptr;
    EXPECT_EQ(lib.FT_Open(1, &h), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(lib.FT_Open(0, &h), FT_OK);
    EXPECT_EQ(lib.FT_Close(h), FT_OK);
}

TEST_F(SimBoardOpen, EveryCallRefusesAForeignHandle) {
    FT_HANDLE h = nullptr;
    ASSERT_EQ(lib.FT_Open(0, &h), FT_OK);
    int other = 0;
    FT_HANDLE bad = &other;
    uint8_t buffer[4] = {0x59};
    DWORD n = 0;
    EXPECT_EQ(lib.FT_Write(bad, buffer, 1, &n), FT_INVALID_HANDLE);
    EXPECT_EQ(lib.FT_Read(bad, buffer, 1, &n), FT_INVALID_HANDLE);
    EXPECT_EQ(lib.FT_ResetDevice(bad), FT_INVALID_HANDLE);
    EXPECT_EQ(lib.FT_Purge(bad, FT_PURGE_RX), FT_INVALID_HANDLE);
    EXPECT_EQ(lib.FT_SetTimeouts(bad, 300, 300), FT_INVALID_HANDLE);
    EXPECT_EQ(lib.FT_GetQueueStatus(bad, &n), FT_INVALID_HANDLE);
    EXPECT_EQ(lib.FT_Close(bad), FT_INVALID_HANDLE);
    EXPECT_EQ(lib.FT_Close(h), FT_OK);
    EXPECT_EQ(lib.FT_Write(h, buffer, 1, &n), FT_INVALID_HANDLE); // closed
}

TEST_F(SimBoardOpen, NotAttachedBoardIsNotFound) {
    setenv("VEXA_SIM_NOT_ATTACHED", "1", 1);
    FT_HANDLE h = nullptr;
    EXPECT_EQ(lib.FT_OpenEx(kDescription, FT_OPEN_BY_DESCRIPTION, &h), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(lib.FT_Open(0, &h), FT_DEVICE_NOT_FOUND);
    DWORD devices = 99;
    EXPECT_EQ(lib.FT_ListDevices(&devices, nullptr, FT_LIST_NUMBER_ONLY), FT_OK);
    EXPECT_EQ(devices, 0u);

    for (const char* attachedValue : {"0", ""}) {
        setenv("VEXA_SIM_NOT_ATTACHED", attachedValue, 1);
        ASSERT_EQ(lib.FT_OpenEx(kDescription, FT_OPEN_BY_DESCRIPTION, &h), FT_OK)
            << "value \"" << attachedValue << "\"";
        EXPECT_EQ(lib.FT_Close(h), FT_OK);
    }
}

TEST_F(SimBoardOpen, ListDevicesReportsTheOneAdapter) {
    DWORD devices = 0;
    EXPECT_EQ(lib.FT_ListDevices(&devices, nullptr, FT_LIST_NUMBER_ONLY), FT_OK);
    EXPECT_EQ(devices, 1u);
    char description[64] = {};
    EXPECT_EQ(lib.FT_ListDevices(reinterpret_cast<PVOID>(uintptr_t{0}), description,
                                 FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION),
              FT_OK);
    EXPECT_STREQ(description, "USB <-> Serial");
    EXPECT_EQ(lib.FT_ListDevices(reinterpret_cast<PVOID>(uintptr_t{1}), description,
                                 FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION),
              FT_DEVICE_NOT_FOUND);
}

using SimBoardUsbSide = BoardTest;

TEST_F(SimBoardUsbSide, ResetDeviceForgetsTheQueueButNeitherAHalfCommandNorTheTarget) {
    store(SIMBOARD_IRAM, 0x20, {0x5A});
    lib.SetPc(0x0345);
    send({0x59});       // answer waiting
    send({0x5B, 0x00}); // half a set-address command
    ASSERT_EQ(lib.FT_ResetDevice(handle), FT_OK);
    EXPECT_EQ(queued(), 0u);
    send({0x00, 0x20, 0x51}); // the rest of the address, then a read there
    EXPECT_EQ(receive(2), Bytes{0x5A});
    EXPECT_EQ(lib.GetPc(), 0x0345);
}

TEST_F(SimBoardUsbSide, ResetDeviceLeavesARunningTargetRunning) {
    store(SIMBOARD_CODE_FLASH, 0, kCountingLoop);
    send({0x67});
    ASSERT_EQ(lib.FT_ResetDevice(handle), FT_OK);
    EXPECT_EQ(lib.IsRunning(), 1);
    send({0x13});
    EXPECT_EQ(pollUntilQueued(2), 2u);
}

TEST_F(SimBoardUsbSide, PurgeEmptiesOnlyTheReceiveQueueWhenAsked) {
    send({0x59});
    ASSERT_EQ(lib.FT_Purge(handle, FT_PURGE_TX), FT_OK);
    EXPECT_EQ(queued(), 2u);
    ASSERT_EQ(lib.FT_Purge(handle, FT_PURGE_RX), FT_OK);
    EXPECT_EQ(queued(), 0u);
}

TEST_F(SimBoardUsbSide, ReadWaitsUpToTheTimeOutForTheBytesAskedFor) {
    ASSERT_EQ(lib.FT_SetTimeouts(handle, 80, 80), FT_OK);
    send({0x59});
    auto start = Clock::now();
    EXPECT_EQ(receive(2).size(), 2u); // there: at once
    EXPECT_LT(msSince(start), 40);
    send({0x59});
    start = Clock::now();
    EXPECT_EQ(receive(3).size(), 2u); // one byte short: the whole time-out
    EXPECT_GE(msSince(start), 80);
}

TEST_F(SimBoardUsbSide, TheLatencyTimerHoldsWhatIsShorterThanAPacket) {
    lib.SetLatency(30);
    lib.SetPc(0x0345);
    auto start = Clock::now();
    send({0x59});
    EXPECT_EQ(queued(), 0u);
    EXPECT_EQ(receivePc(), 0x0345);
    EXPECT_GE(msSince(start), 30);

    // 255 bytes: four whole packets at once, the last 7 bytes after the latency.
    send(selectSpace(2) + setAddress(0) + readBlock(255));
    EXPECT_EQ(queued(), 248u);
    // A purge empties the queue but cannot reach the held bytes, which come later.
    ASSERT_EQ(lib.FT_Purge(handle, FT_PURGE_RX), FT_OK);
    EXPECT_EQ(queued(), 0u);
    EXPECT_EQ(receive(7).size(), 7u);
    // A device reset drops what the chip holds.
    send({0x59});
    ASSERT_EQ(lib.FT_ResetDevice(handle), FT_OK);
    ASSERT_EQ(lib.FT_SetTimeouts(handle, 60, 60), FT_OK);
    EXPECT_EQ(receive(2).size(), 0u);
}

TEST_F(SimBoardUsbSide, ReadWhileRunningWaitsForTheReadTimeOut) {
    store(SIMBOARD_CODE_FLASH, 0, kCountingLoop);
    ASSERT_EQ(lib.FT_SetTimeouts(handle, 60, 60), FT_OK);
    send({0x67});
    auto start = Clock::now();
    EXPECT_EQ(receive(2).size(), 0u);
    long long elapsed = msSince(start);
    EXPECT_GE(elapsed, 60);
    EXPECT_LT(elapsed, 1000);
    EXPECT_EQ(lib.IsRunning(), 1);
    EXPECT_GT(sfr(0x82) | sfr(0x83) << 8, 0); // the CPU ran meanwhile
}

TEST_F(SimBoardUsbSide, QueueStatusRunsOneBoundedSlice) {
    store(SIMBOARD_CODE_FLASH, 0, kCountingLoop);
    send({0x67});
    EXPECT_EQ(queued(), 0u);
    int passes = sfr(0x82) | sfr(0x83) << 8; // two instructions per pass
    EXPECT_GT(passes, 0);
    EXPECT_LE(passes, 5000);
    EXPECT_EQ(queued(), 0u);
    int morePasses = sfr(0x82) | sfr(0x83) << 8;
    EXPECT_EQ(morePasses, 2 * passes);
}
