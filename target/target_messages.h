// The texts the target link shows to the user.
#pragma once

extern const char* const kLoadDriverFailText;
extern const char* const kMapHandlerFailText;
extern const char* const kUsbOpenFailText;
extern const char* const kUsbErrorText;
extern const char* const kAddressCheckFormat; // address, space
extern const char* const kDataSizeFormat;     // size
extern const char* const kFlashEraseFailText;
extern const char* const kFlashWriteFailText;
extern const char* const kFlashWriteOkText;
extern const char* const kDataFlashWriteOkText;
extern const char* const kFlashPaneNotReadyText;
extern const char* const kBoardResetOkText;
extern const char* const kInitDebuggerOkText;
extern const char* const kImageMismatchText;
extern const char* const kBreakLimitText;       // Set Break, assembly rows
extern const char* const kMarginBreakLimitText; // clicks in the editor's margin

// Shows the adapter error message.
void ShowUsbError();
