// Host copies of target memory and the refresh after every stop.
//
// Every value the debugger shows is read from these copies, never from the
// target directly. They live for the whole process and keep the last values
// read, also after a project is closed (except the two flash copies, which
// the Flash pane empties then). Index = target address (flash offset for the
// flash copies).
#pragma once

#include <array>
#include <cstdint>

// Internal data (0x00-0x7F) and special function registers (0x80-0xFF).
extern std::array<uint8_t, 0x100> g_InternalDataImage;
// External data; only the project's external-data range is refreshed.
extern std::array<uint8_t, 0x10000> g_ExternalDataImage;
// The code flash as the flash pane reads and writes it.
extern std::array<uint8_t, 0x10000> g_CodeFlashImage;
// The data flash; offsets 0x00-0xFE are read and written.
extern std::array<uint8_t, 0x100> g_DataFlashBuffer;

// g_dwXdataLow/g_dwXdataHigh, the project's external-data range, belong to
// the debug information (the linker-map readers widen it).
#include "xdata_range.h"

// Refreshes the internal data and SFR copy and, unless the project is a bare
// image, the external-data range (clamped to 0x0000-0xFFFF). A failed read
// leaves its copy as it was, after the adapter error message; the refresh goes on.
void ReadMemoryImages();

// ReadMemoryImages, then every information pane in a fixed order: registers,
// Search, Local Variable, Global Variable, internal memory, Symbol. A link
// failure shows one adapter error message; the reads after it are skipped
// (their copies keep what they held) and the panes are still rewritten.
void UpdateDebugWindows();
