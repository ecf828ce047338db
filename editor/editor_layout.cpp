#include "editor_layout.h"

namespace editor {

namespace {
// Pixels after the margins in which a click does nothing at all.
constexpr int kDeadGapWidth = 5;
} // namespace

int LineNumberDigits(int lineCount) {
    if (lineCount < 1) return 1;
    int digits = 0;
    for (int n = lineCount; n > 0; n /= 10)
        ++digits;
    return digits + 1;
}

int LineUnderPoint(int y, int firstVisibleLine, int lineHeight) {
    if (lineHeight <= 0) return 0;
    return (y + firstVisibleLine * lineHeight) / lineHeight + 1;
}

LeftClickZone ClassifyLeftClick(int x, int marginsEnd) {
    if (x < marginsEnd) return LeftClickZone::Margin;
    if (x < marginsEnd + kDeadGapWidth) return LeftClickZone::Gap;
    return LeftClickZone::Text;
}

} // namespace editor
