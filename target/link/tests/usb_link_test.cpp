// Start-up of the adapter link and the retry rules of the transfer primitives.
#include "sim_board.h"

#include "breakpoint_slots.h"
#include "debugger_init.h"
#include "target_flags.h"
#include "target_messages.h"
#include "target_protocol.h"
#include "usb_link.h"

#include <deque>

namespace {

using Texts = std::vector<std::string>;

class UsbLinkStartTest : public SimBoardTest {};

TEST_F(UsbLinkStartTest, WithoutTheLibraryEveryStepFailsWithItsMessage) {
    setenv("VEXA_D2XX_LIBRARY", "/nonexistent/libno-driver.so", 1);
    messages->shown.clear();
    StartLink();
    EXPECT_EQ(Messages(), (Texts{kLoadDriverFailText, kUsbOpenFailText, kUsbErrorText}));
    ASSERT_NE(g_pUsbLink, nullptr);
    EXPECT_FALSE(g_pUsbLink->IsDriverBound());

    messages->shown.clear();
    EXPECT_EQ(ReadPc(), 0);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
}

TEST_F(UsbLinkStartTest, ALibraryWithoutTheEntryPointsIsNeverCalled) {
    // Loads, but has none of the ten entry points.
    setenv("VEXA_D2XX_LIBRARY", "libm.so.6", 1);
    messages->shown.clear();
    StartLink();
    EXPECT_EQ(Messages(), (Texts{kMapHandlerFailText, kUsbOpenFailText, kUsbErrorText}));
    EXPECT_FALSE(g_pUsbLink->IsDriverBound());
    EXPECT_EQ(g_pUsbLink->WriteByte(0x59), -1);
    uint8_t byte = 0;
    EXPECT_EQ(g_pUsbLink->ReadBytes(&byte, 1), -1);
    EXPECT_EQ(g_pUsbLink->GetQueueStatus(), -1);
    EXPECT_EQ(g_pUsbLink->CloseDevice(), 0);
}

TEST_F(UsbLinkStartTest, WithoutAnAdapterNothingReachesTheWire) {
    setenv("VEXA_SIM_NOT_ATTACHED", "1", 1);
    messages->shown.clear();
    StartLink();
    EXPECT_EQ(Messages(), (Texts{kUsbOpenFailText, kUsbErrorText}));
    EXPECT_TRUE(g_pUsbLink->IsDriverBound());
    EXPECT_FALSE(g_pUsbLink->IsDeviceOpen());
    EXPECT_TRUE(Trace().empty());

    // The board is attached again, but the link is not reopened behind the
    // user's back: the operations keep failing until the program restarts.
    unsetenv("VEXA_SIM_NOT_ATTACHED");
    messages->shown.clear();
    uint8_t buffer[4];
    EXPECT_EQ(ReadMemory(0, buffer, 4, kSpaceInternalData), 0);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    EXPECT_TRUE(Trace().empty());
}

TEST_F(UsbLinkStartTest, WithTheBoardTheHandshakeIsSentAndAnswered) {
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(g_pUsbLink->IsDeviceOpen());
    const std::vector<SimBoardWireByte> trace = Trace();
    std::vector<std::pair<int, int>> expected = {{0, 0x13}, {1, 0x13}, {0, 0x1C}, {1, 0x1C},
                                                 {0, 0x00}, {1, 0x00}, {0, 0x02}, {1, 0x02},
                                                 {0, 0x17}, {1, 0x17}, {0, 0x66}};
    // Then every slot cleared on the adapter, whatever 0x66 did to them.
    for (int slot = 0; slot < 18; ++slot) {
        expected.emplace_back(0, 0x65);
        expected.emplace_back(0, slot);
    }
    ASSERT_EQ(trace.size(), expected.size());
    for (size_t i = 0; i < trace.size(); ++i) {
        EXPECT_EQ(trace[i].direction, expected[i].first) << i;
        EXPECT_EQ(trace[i].value, expected[i].second) << i;
    }
    // The pause after opening, then the one before the handshake.
    EXPECT_EQ(sleeps, (std::vector<unsigned>{150, 150}));
}

TEST_F(UsbLinkStartTest, AStartedLinkFreesTheSlotsAndTheStopRequest) {
    g_BreakAddr[3] = 0x1234;
    g_BreakAddr[17] = 0x0042;
    g_bStopRequest = true;
    StartLink();
    for (int32_t slot : g_BreakAddr)
        EXPECT_EQ(slot, kFreeBreakSlot);
    EXPECT_FALSE(g_bStopRequest);
}

TEST_F(UsbLinkStartTest, DestroyClosesTheOpenedDeviceOnly) {
    // The board refuses a second open while the device is open, so a clean
    // restart shows that the device was closed.
    DestroyUsbLink();
    EXPECT_EQ(g_pUsbLink, nullptr);
    messages->shown.clear();
    StartLink();
    EXPECT_TRUE(Messages().empty());

    Board().FailNextOpen();
    messages->shown.clear();
    StartLink();
    EXPECT_EQ(Messages(), (Texts{kUsbOpenFailText, kUsbErrorText}));
    EXPECT_EQ(g_pUsbLink->CloseDevice(), 0);
    DestroyUsbLink();
    EXPECT_EQ(g_pUsbLink, nullptr);
}

// The device calls that the wire does not show, recorded in order.
std::vector<std::string> g_deviceCalls;
FT_STATUS RecordReset(FT_HANDLE) {
    g_deviceCalls.push_back("reset");
    return FT_OK;
}
FT_STATUS RecordPurge(FT_HANDLE, ULONG mask) {
    g_deviceCalls.push_back("purge " + std::to_string(mask));
    return FT_OK;
}
FT_STATUS RecordTimeouts(FT_HANDLE, ULONG readMs, ULONG writeMs) {
    g_deviceCalls.push_back("timeouts " + std::to_string(readMs) + " " + std::to_string(writeMs));
    return FT_OK;
}

TEST_F(UsbLinkStartTest, OpeningAndInitialisingSetUpTheDevice) {
    ASSERT_EQ(g_pUsbLink->CloseDevice(), 1);
    g_pUsbLink->pfnResetDevice = RecordReset;
    g_pUsbLink->pfnPurge = RecordPurge;
    g_pUsbLink->pfnSetTimeouts = RecordTimeouts;
    g_deviceCalls.clear();
    sleeps.clear();

    EXPECT_EQ(g_pUsbLink->OpenDevice(), 1);
    EXPECT_EQ(g_deviceCalls, (Texts{"reset", "purge 1", "timeouts 300 300"}));
    g_deviceCalls.clear();
    EXPECT_EQ(InitDebugger(), 1);
    // The receive queue is emptied again right before the handshake.
    EXPECT_EQ(g_deviceCalls, (Texts{"reset", "purge 1", "reset", "timeouts 300 300", "purge 1"}));
    EXPECT_EQ(sleeps, (std::vector<unsigned>{150, 150}));
}

// --- Retry rules on the board: empty transfers ------------------------------

class PrimitiveRetryTest : public SimBoardTest {};

TEST_F(PrimitiveRetryTest, OneByteWriteGivesUpAfterThreeEmptyCalls) {
    Board().ZeroWrites(2);
    EXPECT_EQ(g_pUsbLink->WriteByte(0x59), 1);
    uint8_t pc[2];
    EXPECT_EQ(g_pUsbLink->ReadBytes(pc, 2), 2);

    Board().ZeroWrites(3);
    EXPECT_EQ(g_pUsbLink->WriteByte(0x59), -1);
    EXPECT_EQ(g_pUsbLink->GetQueueStatus(), 0); // the board never saw the byte
}

TEST_F(PrimitiveRetryTest, OneByteReadGivesUpAfterThreeEmptyCalls) {
    uint8_t byte = 0;
    ASSERT_EQ(g_pUsbLink->WriteByte(0x1C), 1); // answered with one byte
    Board().ZeroReads(2);
    EXPECT_EQ(g_pUsbLink->ReadByte(&byte), 1);
    ASSERT_EQ(g_pUsbLink->WriteByte(0x1C), 1);
    Board().ZeroReads(3);
    EXPECT_EQ(g_pUsbLink->ReadByte(&byte), -1);
    EXPECT_EQ(g_pUsbLink->ReadByte(&byte), 1); // the answer still waits
}

TEST_F(PrimitiveRetryTest, MultiByteTransfersMakeTwoCallsAtMost) {
    uint8_t pc[2];
    const uint8_t readPc = 0x59;
    Board().ZeroWrites(1);
    EXPECT_EQ(g_pUsbLink->SendCommand(&readPc, 1), 1);
    Board().ZeroReads(1);
    EXPECT_EQ(g_pUsbLink->ReadBytes(pc, 2), 2);

    Board().ZeroWrites(2);
    EXPECT_EQ(g_pUsbLink->SendCommand(&readPc, 1), -1);
    ASSERT_EQ(g_pUsbLink->SendCommand(&readPc, 1), 1);
    Board().ZeroReads(2);
    EXPECT_EQ(g_pUsbLink->ReadBytes(pc, 2), -1);
}

// --- Retry rules with scripted entry points ---------------------------------

// Stands in for FT_Write / FT_Read: each call takes the next scripted answer.
struct ScriptedCall {
    FT_STATUS status;
    DWORD moved;
};
std::deque<ScriptedCall> g_script;
std::vector<DWORD> g_asked;

FT_STATUS ScriptedTransfer(FT_HANDLE, LPVOID, DWORD count, LPDWORD moved) {
    g_asked.push_back(count);
    ScriptedCall call = g_script.empty() ? ScriptedCall{FT_OK, 0} : g_script.front();
    if (!g_script.empty()) g_script.pop_front();
    *moved = call.moved < count ? call.moved : count;
    return call.status;
}

class ScriptedPrimitiveTest : public SimBoardTest {
protected:
    void SetUp() override {
        SimBoardTest::SetUp();
        savedRead = g_pUsbLink->pfnRead;
        savedWrite = g_pUsbLink->pfnWrite;
        g_pUsbLink->pfnRead = ScriptedTransfer;
        g_pUsbLink->pfnWrite = ScriptedTransfer;
        g_script.clear();
        g_asked.clear();
    }
    void TearDown() override {
        g_pUsbLink->pfnRead = savedRead;
        g_pUsbLink->pfnWrite = savedWrite;
        SimBoardTest::TearDown();
    }
    void Script(std::initializer_list<ScriptedCall> calls) { g_script.assign(calls); }

    FT_ReadFn savedRead = nullptr;
    FT_WriteFn savedWrite = nullptr;
};

TEST_F(ScriptedPrimitiveTest, APartReadIsCompletedByTheSecondCall) {
    uint8_t buffer[10] = {};
    Script({{FT_OK, 4}, {FT_OK, 6}});
    EXPECT_EQ(g_pUsbLink->ReadBytes(buffer, 10), 10);
    EXPECT_EQ(g_asked, (std::vector<DWORD>{10, 6}));

    g_asked.clear();
    Script({{FT_OK, 4}, {FT_OK, 5}, {FT_OK, 1}});
    EXPECT_EQ(g_pUsbLink->ReadBytes(buffer, 10), -1);
    EXPECT_EQ(g_asked, (std::vector<DWORD>{10, 6}));

    g_asked.clear();
    Script({{FT_OK, 7}, {FT_OK, 3}});
    EXPECT_EQ(g_pUsbLink->SendCommand(buffer, 10), 10);
    EXPECT_EQ(g_asked, (std::vector<DWORD>{10, 3}));
}

TEST_F(ScriptedPrimitiveTest, AFailedStatusEndsAtOnce) {
    uint8_t buffer[10] = {};
    Script({{FT_IO_ERROR, 0}});
    EXPECT_EQ(g_pUsbLink->ReadByte(buffer), -1);
    Script({{FT_OK, 3}, {FT_IO_ERROR, 7}});
    EXPECT_EQ(g_pUsbLink->SendCommand(buffer, 10), -1);
    EXPECT_EQ(g_asked, (std::vector<DWORD>{1, 10, 7}));
    // What the adapter took of the failed write is not known: nothing is
    // called any more until Init Debugger.
    EXPECT_EQ(g_pUsbLink->WriteByte(1), -1);
    EXPECT_EQ(g_pUsbLink->ReadByte(buffer), -1);
    EXPECT_EQ(g_asked.size(), 3u);
}

TEST_F(ScriptedPrimitiveTest, NothingIsCalledForAnEmptyBuffer) {
    uint8_t buffer[1] = {};
    EXPECT_EQ(g_pUsbLink->SendCommand(buffer, 0), 0);
    EXPECT_EQ(g_pUsbLink->ReadBytes(buffer, 0), 0);
    EXPECT_TRUE(g_asked.empty());
}

} // namespace
