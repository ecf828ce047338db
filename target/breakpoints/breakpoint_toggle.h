// Toggling a user breakpoint from the editor, the margin or the assembly
// view, and Clear All Breaks. Nothing acts while no project is loaded or the
// target is busy.
#pragma once

#include <cstdint>
#include <string>

enum class ToggleResult {
    kNotAllowed, // no project, or the target is busy
    kNoCode,     // the line has no code: the assembly view's current row takes over
    kSet,
    kCleared,
    kRefused, // no free user slot or a link failure: everything undone
};

// Which road started the toggle: Set Break / Clear Break take the editor
// marker off before the record when clearing; the others after, and only
// when no record of that line remains.
enum class ToggleRoad { kSetBreak, kMargin, kAssembly };

// The breakpoint at `address`: cleared when one is set there, else set. The
// record's file and line come from the address's own source position
// ("ONLY_ASM_CODE", line 0 when it has none). A refused set shows
// `limitText` and undoes the marker, the record and the break pane.
ToggleResult ToggleBreakPointAtAddress(uint32_t address, ToggleRoad road, const char* limitText);

// The breakpoint on line `line` (from 1) of `file` (the project's file name
// with extension): the address of the line, then as above.
ToggleResult ToggleBreakPointAtLine(const std::string& file, int line, ToggleRoad road,
                                    const char* limitText);

// Clear All Breaks: every used user slot and internal slot cleared on the
// adapter, then the break pane's remove-all. 0 when not allowed.
int OnDebugClearAllBreaks();
