#include "target_messages.h"

#include "message_service.h"
#include "usb_link.h"

const char* const kLoadDriverFailText = "USB : Ostrel Debugger can't load the driver for Vexa "
                                        "emulator.\n\nPlease install emulator driver!!";
const char* const kMapHandlerFailText = "USB : Quillet can't mapping the handler for Vexa "
                                        "emulator.\n\nPlease re-install emulator driver!!";
const char* const kUsbOpenFailText = "Can't USB opened. Please board reset!";
const char* const kUsbErrorText = "USB ERROR!! Please 8051 board reset or debugger reset!!";
const char* const kCommandCutText =
    "USB ERROR!! What the adapter took of the last command is not known. Please Init Debugger "
    "and Board reset!!";
const char* const kAddressCheckFormat = "Please check address and type!! addr = 0x%X, type = %d";
const char* const kDataSizeFormat =
    "Please check data size!! (support size : 1,2,4) current size = %d";
const char* const kFlashEraseFailText = "Flash erase fail!!";
const char* const kFlashWriteFailText = "Flash Write Fail!!";
const char* const kFlashWriteOkText = "Flash Write OK!!";
const char* const kDataFlashWriteOkText = "Data Flash Write OK!!";
const char* const kFlashPaneNotReadyText =
    "INFO : The project not be loaded or Debugger continue state.";
const char* const kBoardResetOkText = "Board reset Ok!!";
const char* const kInitDebuggerOkText = "Init Debugger & Board Reset Ok!!";
const char* const kImageMismatchText = "Error!! Load Image mismatch. please reload Image.";
const char* const kBreakLimitText = "Failed To Add BreakPoint. MAX = 16";
const char* const kMarginBreakLimitText = "Fail Set Break. MAX Break Number = 16";

namespace {

thread_local int t_scopeDepth = 0;
thread_local bool t_scopeFailed = false;

} // namespace

const char* UsbErrorText() {
    if (!g_pUsbLink || !g_pUsbLink->IsParserLost()) return kUsbErrorText;
    return g_pUsbLink->ClaimParserLossReport() ? kCommandCutText : nullptr;
}

void ShowUsbError() {
    if (t_scopeDepth > 0) {
        if (t_scopeFailed) return;
        t_scopeFailed = true;
    }
    if (const char* text = UsbErrorText()) platform::ShowMessage(text);
}

LinkErrorScope::LinkErrorScope() {
    if (t_scopeDepth++ == 0) t_scopeFailed = false;
}

LinkErrorScope::~LinkErrorScope() {
    if (--t_scopeDepth == 0) t_scopeFailed = false;
}

bool LinkFailedInScope() {
    return t_scopeDepth > 0 && t_scopeFailed;
}
