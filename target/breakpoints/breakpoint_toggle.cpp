#include "breakpoint_toggle.h"

#include "breakpoint_records.h"
#include "breakpoint_slot_ops.h"
#include "debugger_views.h"
#include "message_service.h"
#include "run_lookups.h"
#include "symbol_lookup.h"
#include "target_flags.h"

#include <cstdio>

namespace {

bool Allowed() {
    return g_bProjectLoaded && !g_bTargetBusy;
}

void PositionOf(uint32_t address, std::string& file, int& line) {
    if (!GetLineToken(address, line, file)) {
        file = kAsmOnlyFile;
        line = 0;
    }
}

void AddMarker(const std::string& file, int line) {
    BreakpointViews* views = GetBreakpointViews();
    if (views && file != kAsmOnlyFile) views->AddBreakPointMarker(file, line);
}

void RemoveMarker(const std::string& file, int line) {
    BreakpointViews* views = GetBreakpointViews();
    if (views && file != kAsmOnlyFile) views->RemoveBreakPointMarker(file, line);
}

ToggleResult Clear(uint32_t address, ToggleRoad road) {
    std::string file;
    int line = 0;
    PositionOf(address, file, line);
    if (road == ToggleRoad::kSetBreak) {
        RemoveMarker(file, line);
        RemoveBreakPoint(file, line, address);
    } else {
        RemoveBreakPoint(file, line, address);
        if (!IsBreakpointAt(file, line)) RemoveMarker(file, line);
    }
    RewriteBreakPane();
    ClearBreakPoint(address);
    return ToggleResult::kCleared;
}

ToggleResult Set(uint32_t address, const char* limitText) {
    std::string file;
    int line = 0;
    PositionOf(address, file, line);
    AddMarker(file, line);
    AddBreakPoint(file, line, address);
    if (BreakpointViews* views = GetBreakpointViews()) views->FillBreakWnd(g_BreakList);
    if (SetBreakPoint(address)) return ToggleResult::kSet;

    platform::ShowMessage(limitText);
    RemoveMarker(file, line);
    RemoveBreakPoint(file, line, address);
    RewriteBreakPane();
    return ToggleResult::kRefused;
}

} // namespace

ToggleResult ToggleBreakPointAtAddress(uint32_t address, ToggleRoad road, const char* limitText) {
    if (!Allowed()) return ToggleResult::kNotAllowed;
    if (IsBreakAddress(address)) return Clear(address, road);
    return Set(address, limitText);
}

ToggleResult ToggleBreakPointAtLine(const std::string& file, int line, ToggleRoad road,
                                    const char* limitText) {
    if (!Allowed()) return ToggleResult::kNotAllowed;
    char number[16];
    std::snprintf(number, sizeof number, ":%d", line);
    const uint32_t address = AddressOfLine(file + number);
    if (address == 0xFFFFFFFF) return ToggleResult::kNoCode;
    return ToggleBreakPointAtAddress(address, road, limitText);
}

int OnDebugClearAllBreaks() {
    if (!Allowed()) return 0;
    ClearAllBreakPoints();
    ClearInternalBreakPoints();
    if (DebuggerPanes* panes = GetDebuggerPanes())
        panes->RemoveAllBreakPoints();
    else
        RemoveAllBreakPointRecords();
    return 1;
}
