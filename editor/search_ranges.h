// Where a find in the editor starts and ends.
//
// Find Next searches from the end of the selection to the end of the text,
// so that a hit starting right at the caret, and a hit right after the one
// just found, are found. Find Previous searches from the start of the
// selection back to the text's start, so that a hit ending right at the
// selection is found.
#pragma once

namespace editor {

// A range of character positions; the component searches backwards when
// `start` is above `end`.
struct SearchRange {
    long start;
    long end;
};

SearchRange ForwardSearchRange(long selectionEnd, long textLength);
// `caret` stands in for a selection start below 0.
SearchRange BackwardSearchRange(long selectionStart, long caret);

} // namespace editor
