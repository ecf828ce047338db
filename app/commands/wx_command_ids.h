// The program's command ids as event ids. Open, About and Find take the
// toolkit's stock ids. Exit does not: the toolkit would give its stock item
// the accelerator Ctrl+Q, which is Close's; it takes an id of its own. The
// toolkit's menus take ids below 0x7FFF only, so the program's ids from 30000
// up are moved down by 20000 (30000-49999 become 10000-29999, clear of the
// toolkit's own range); the others keep their number.
#pragma once

#include "command_ids.h"

#include <wx/defs.h>

constexpr int kHighCommandBase = 30000;
constexpr int kHighCommandShift = 20000;
constexpr int kExitWxId = 7665;

inline int WxCommandId(int command) {
    switch (command) {
    case cmd::kOpen:
        return wxID_OPEN;
    case cmd::kExit:
        return kExitWxId;
    case cmd::kAbout:
        return wxID_ABOUT;
    case cmd::kFind:
        return wxID_FIND;
    default:
        return command >= kHighCommandBase ? command - kHighCommandShift : command;
    }
}

// The program's command id of an event id (the inverse of WxCommandId).
inline int CommandFromWxId(int id) {
    switch (id) {
    case wxID_OPEN:
        return cmd::kOpen;
    case kExitWxId:
        return cmd::kExit;
    case wxID_ABOUT:
        return cmd::kAbout;
    case wxID_FIND:
        return cmd::kFind;
    default:
        return id >= kHighCommandBase - kHighCommandShift && id < kHighCommandBase
                   ? id + kHighCommandShift
                   : id;
    }
}
