#include "debugger_init.h"

#include "breakpoint_slots.h"
#include "debugger_views.h"
#include "host_memory.h"
#include "message_service.h"
#include "sleep.h"
#include "target_flags.h"
#include "target_messages.h"
#include "target_protocol.h"
#include "usb_link.h"

#include <cstdint>

namespace {

constexpr uint8_t kAnsweredHandshake[] = {0x13, 0x1C, 0x00, 0x02, 0x17};
constexpr uint8_t kHandshakeEnd = 0x66;

void ResetLink() {
    if (!g_pUsbLink) return;
    g_pUsbLink->ResetDevice();
    g_pUsbLink->PurgeRx();
    g_pUsbLink->ResetDevice();
    g_pUsbLink->SetTimeouts();
}

// Right before a handshake: every answer still on its way is let in and
// thrown away, so that the handshake's reads get the handshake's answers.
void EmptyReceiveQueue() {
    g_pUsbLink->DrainReceive(kLatencyDrainMs);
}

// What the handshake's last byte does to the adapter's breakpoint slots is
// the adapter's own: every slot is cleared on the adapter as well, so that
// none stays set there once the host counts them all free.
int ClearEveryAdapterSlot() {
    uint8_t commands[2 * kBreakSlotCount];
    for (int slot = 0; slot < kBreakSlotCount; ++slot) {
        commands[2 * slot] = adapter::kClearBreakpoint;
        commands[2 * slot + 1] = uint8_t(slot);
    }
    return g_pUsbLink->SendCommand(commands, sizeof commands);
}

} // namespace

int SendShortHandshake() {
    if (!g_pUsbLink) return -1;
    EmptyReceiveQueue();
    uint8_t scratch = 0;
    int result = 0;
    for (uint8_t command : kAnsweredHandshake) {
        result |= g_pUsbLink->WriteByte(command);
        result |= g_pUsbLink->ReadByte(&scratch);
    }
    return result;
}

int ResetLinkAndShortHandshake() {
    ResetLink();
    platform::Sleep(kDeviceSettleMs);
    return SendShortHandshake();
}

int InitDebugger() {
    ResetLink();
    platform::Sleep(kDeviceSettleMs);
    // The device reset does not reach the adapter's firmware: a command it
    // got only in part would take the handshake's bytes for its own.
    if (g_pUsbLink) g_pUsbLink->ReturnParserToIdle();
    int result = SendShortHandshake();
    if (g_pUsbLink) {
        result |= g_pUsbLink->WriteByte(kHandshakeEnd);
        result |= ClearEveryAdapterSlot();
    } else {
        result = -1;
    }
    if (result < 0) {
        ShowUsbError();
        return 0;
    }
    FreeAllBreakSlots();
    g_bStopRequest = false;
    return 1;
}

void ShowTargetPcAndRefresh() {
    LinkErrorScope oneMessage;
    ShowTargetPc();
    UpdateDebugWindows();
}

uint16_t ShowTargetPc() {
    const uint16_t pc = ReadPc();
    if (PcDisplay* display = GetPcDisplay()) {
        display->PlaceCurrentPc(pc);
        display->ShowPcInAssembly(pc, 1);
    }
    return pc;
}

int BoardReset() {
    if (SendShortHandshake() < 0) {
        ShowUsbError();
        return 0;
    }
    ShowTargetPcAndRefresh();
    platform::ShowMessage(kBoardResetOkText);
    return 1;
}

int InitDebuggerAndBoardReset() {
    if (!InitDebugger()) return 0;
    if (DebuggerPanes* panes = GetDebuggerPanes()) panes->RemoveAllBreakPoints();
    ShowTargetPcAndRefresh();
    platform::ShowMessage(kInitDebuggerOkText);
    return 1;
}

void StartDebugSession() {
    LinkErrorScope oneMessage;
    ReadMemoryImages();
    DebuggerPanes* panes = GetDebuggerPanes();
    if (PcDisplay* display = GetPcDisplay()) display->CreatePcModel();
    if (panes) {
        panes->UpdateRegisterWnd();
        panes->InitMemoryWindows();
        panes->FillSymbolWnd();
        panes->ClearEmulatorRows();
        panes->AddSourceFilesToTree();
        panes->FillGlobalVariableWnd();
        panes->AllowRegisterEdit(true);
    }
    g_bProjectLoaded = true;
    if (panes) panes->RebindOpenDocuments();
}
