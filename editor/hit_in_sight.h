// Where the editor scrolls a found text that the Search dialog covers.
#pragma once

namespace editor {

// A band of screen rows, from `top` up to (not including) `bottom`.
struct PixelSpan {
    int top;
    int bottom;
};

// The editor's scroll position: the first line it shows and the highest
// first line it can show (both counted as shown lines).
struct ScrollRange {
    int firstLine;
    int lastFirstLine;
};

// The lines to scroll the editor (positive: towards the end of the text) so
// that the found text on the rows `hit` comes out from under `dialog` into
// the middle of the room the editor's `view` leaves above or below the
// dialog, whichever the fewer lines reach. 0 when the dialog does not cover
// those rows, or when no room beside it can hold them at any scroll position.
int LinesToUncover(PixelSpan hit, PixelSpan view, PixelSpan dialog, int lineHeight,
                   ScrollRange scroll);

} // namespace editor
