#include "flash_pane_operations.h"

#include "debugger_init.h"
#include "debugger_views.h"
#include "flash_packets.h"
#include "host_memory.h"
#include "image_load.h"
#include "message_service.h"
#include "sleep.h"
#include "target_flags.h"
#include "target_messages.h"
#include "target_protocol.h"
#include "usb_link.h"

#include <algorithm>
#include <vector>

namespace {

constexpr unsigned kSelectSettleMs = 40;
constexpr unsigned kEraseSettleMs = 100;
constexpr unsigned kProgramSettleMs = 40;
constexpr unsigned kCodeWriteSettleMs = 20;
// Data bytes per packet of the pane's code-flash write.
constexpr uint32_t kBytesPerWritePacket = 22;
// Bytes of the data flash that are read and written.
constexpr uint32_t kDataFlashBytes = 255;
// Bytes read by the data-flash blank check.
constexpr uint32_t kDataFlashEraseCheck = 256;

bool PaneMayUseTarget() {
    if (g_bProjectLoaded && !g_bTargetBusy) return true;
    platform::ShowMessage(kFlashPaneNotReadyText);
    return false;
}

void RedrawFlashPane() {
    if (DebuggerPanes* panes = GetDebuggerPanes()) panes->RedrawFlashPane();
}

// The break byte (answered while halted), then the 64 KB read.
int ReadCodeFlash() {
    uint8_t scratch = 0;
    if (g_pUsbLink) {
        g_pUsbLink->WriteByte(adapter::kBreak);
        g_pUsbLink->ReadByte(&scratch);
    }
    const uint32_t count = uint32_t(g_CodeFlashImage.size());
    return ReadMemory(kFlashWindowBase, g_CodeFlashImage.data(), count, kSpaceExternalData) ==
                   int(count)
               ? 1
               : 0;
}

// After the short handshake, the chip ready for a new command sequence and
// the data flash shown in the window.
void SelectDataFlash() {
    ResetLinkAndShortHandshake();
    SendFlashPacket(SequenceResetPacket());
    SendFlashPacket(DataFlashSelectPacket());
    platform::Sleep(kSelectSettleMs);
}

} // namespace

int RefreshFlash(bool dataFlash) {
    if (!PaneMayUseTarget()) return 0;
    const int result = dataFlash ? ReadDataFlash() : ReadCodeFlash();
    RedrawFlashPane();
    return result;
}

int FlashPaneRead(bool dataFlash) {
    g_bReadProgress = true;
    g_nProgressScale = 100;
    g_nProgressBase = 0;
    const int result = RefreshFlash(dataFlash);
    g_bReadProgress = false;
    return result;
}

int FlashPaneWrite(bool dataFlash) {
    if (!PaneMayUseTarget()) return 0;
    if (dataFlash) {
        const int result = WriteDataFlash();
        RefreshFlash(true);
        return result;
    }

    ResetLinkAndShortHandshake();
    // A patch of the project's program is the program the user debugs from
    // now on: when the target held the project's image before the write, it
    // still counts as verified after it. Whatever else it held stays
    // unverified, and a write that fails leaves the flag cleared.
    const bool heldImage = g_bImageVerified || VerifyImage() == 1;
    if (!EraseCodeFlash()) return 0;

    // What is programmed; the read-back below overwrites the host copy.
    const std::vector<uint8_t> programmed(g_CodeFlashImage.begin(), g_CodeFlashImage.end());
    const uint32_t size = uint32_t(programmed.size());
    for (uint32_t offset = 0; offset < size; offset += kBytesPerWritePacket) {
        const uint32_t count = std::min(kBytesPerWritePacket, size - offset);
        SendFlashPacket(ProgramPacket(uint16_t(offset), programmed.data() + offset, count));
        ReportProgress(int(double(offset + count) / size * 70));
    }
    platform::Sleep(kCodeWriteSettleMs);

    g_bReadProgress = true;
    g_nProgressScale = 30;
    g_nProgressBase = 70;
    const int readBack = RefreshFlash(false);
    g_bReadProgress = false;
    if (!readBack) return 0;
    if (!std::equal(programmed.begin(), programmed.end(), g_CodeFlashImage.begin())) {
        platform::ShowMessage(kFlashWriteFailText);
        return 0;
    }

    g_bImageVerified = heldImage;
    platform::ShowMessage(kFlashWriteOkText);
    ShowTargetPcAndRefresh();
    return 1;
}

int ReadDataFlash() {
    SelectDataFlash();
    g_DataFlashBuffer.fill(0);
    const int read =
        ReadMemory(kFlashWindowBase, g_DataFlashBuffer.data(), kDataFlashBytes, kSpaceExternalData);
    SendFlashPacket(ReadArrayResetPacket());
    ShowTargetPcAndRefresh();
    return read == int(kDataFlashBytes) ? 1 : 0;
}

int WriteDataFlash() {
    SelectDataFlash();
    SendFlashPacket(DataFlashSectorErasePacket());
    platform::Sleep(kEraseSettleMs);
    std::vector<uint8_t> blank(kDataFlashEraseCheck, 0xFF);
    const bool readOk = ReadMemory(kFlashWindowBase, blank.data(), kDataFlashEraseCheck,
                                   kSpaceExternalData) == int(kDataFlashEraseCheck);
    const bool isBlank =
        readOk && std::all_of(blank.begin(), blank.end(), [](uint8_t b) { return b == 0xFF; });
    if (!isBlank) {
        // Back to the code flash, so that later reads of the window see it again.
        SendFlashPacket(ReadArrayResetPacket());
        if (readOk) platform::ShowMessage(kFlashEraseFailText);
        return 0;
    }

    SendFlashPacket(ProgramPacket(0, g_DataFlashBuffer.data(), kDataFlashBytes));
    platform::Sleep(kProgramSettleMs);
    SendFlashPacket(ReadArrayResetPacket());

    platform::ShowMessage(kDataFlashWriteOkText);
    ShowTargetPcAndRefresh();
    return 1;
}
