// Where things are in the editor window: the line-number margin's size, the
// line under a point, and what a left click at some x means.
#pragma once

namespace editor {

// Width of the selection (marker) margin and of the fold margin, in pixels.
constexpr int kSymbolMarginWidth = 16;
// Extra pixels given to the line-number margin when it is switched on.
constexpr int kLineNumberMarginPadding = 4;

// The number of digit cells the line-number margin is sized for: one more
// than the line count has digits (1 line: 2, 10 lines: 3); 1 for no lines.
int LineNumberDigits(int lineCount);

// The line (from 1) under the client y-coordinate `y`, with the first
// visible line (from 0) and the height of one line in pixels.
int LineUnderPoint(int y, int firstVisibleLine, int lineHeight);

// A left click in the line-number or marker margin (x below `marginsEnd`,
// the right edge of the marker margin) toggles a breakpoint and goes on to
// the component; one in the few pixels after it is swallowed; any other goes
// on to the component.
enum class LeftClickZone { Margin, Gap, Text };
LeftClickZone ClassifyLeftClick(int x, int marginsEnd);

} // namespace editor
