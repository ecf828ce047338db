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

extern const char* const kCommandCutText;

// The text a link failure shows: the adapter error message, or, once the
// adapter may hold part of a command, kCommandCutText the first time and
// nothing (nullptr) until Init Debugger.
const char* UsbErrorText();

// Shows UsbErrorText(); inside a LinkErrorScope only the first time.
void ShowUsbError();

// One user-level operation that talks to the adapter many times (the refresh
// of every pane after a stop): while the outermost scope lives, the adapter
// error message is shown at most once, and once it has been shown the target
// operations give up at once, without a transfer, so that a dead link costs
// one message and no further time-outs. Scopes belong to the thread that
// opens them; nested scopes join the outermost one.
class LinkErrorScope {
public:
    LinkErrorScope();
    ~LinkErrorScope();
    LinkErrorScope(const LinkErrorScope&) = delete;
    LinkErrorScope& operator=(const LinkErrorScope&) = delete;
};

// True inside a scope whose adapter error message has been shown.
bool LinkFailedInScope();
