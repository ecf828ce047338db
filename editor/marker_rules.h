// The editor's line markers and the rules that put them on and take them off.
//
// A line's marker set is a bit set: bit n is marker n. A line that has code
// shows the grey code-line marker (2). While a breakpoint (0) or the current
// program counter (1) stands on such a line, marker 2 gives way to the
// invisible marker 4, which remembers that the line has code; when the last
// of the two goes, marker 2 comes back.
#pragma once

#include <cstdint>

namespace editor {

constexpr int kMarkerBreakPoint = 0;
constexpr int kMarkerCurrentPc = 1;
constexpr int kMarkerCodeLine = 2;
constexpr int kMarkerCodeLineCovered = 4;
constexpr int kMarkerBackground = 8; // defined, never set

constexpr uint32_t MarkerBit(int marker) {
    return uint32_t{1} << marker;
}

// What to do to one line's markers: first delete the markers of `remove`,
// then add those of `add`.
struct MarkerEdit {
    uint32_t remove = 0;
    uint32_t add = 0;
};

// Putting a breakpoint or program-counter marker on a line that carries
// `lineMarkers`. Nothing when the line already has it.
MarkerEdit PlaceLineMarker(uint32_t lineMarkers, int marker);

// Taking a breakpoint or program-counter marker off a line. Nothing when the
// line does not have it. Marker 2 comes back when the line carried exactly
// the marker and marker 4.
MarkerEdit LiftLineMarker(uint32_t lineMarkers, int marker);

// The marker set after an edit.
constexpr uint32_t ApplyMarkerEdit(uint32_t lineMarkers, MarkerEdit edit) {
    return (lineMarkers & ~edit.remove) | edit.add;
}

} // namespace editor
