#include "hit_in_sight.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace editor {

int LinesToUncover(PixelSpan hit, PixelSpan view, PixelSpan dialog, int lineHeight,
                   ScrollRange scroll) {
    if (lineHeight <= 0 || hit.bottom <= dialog.top || hit.top >= dialog.bottom) return 0;
    const int hitHeight = hit.bottom - hit.top;
    const PixelSpan rooms[] = {{view.top, std::min(dialog.top, view.bottom)},
                               {std::max(dialog.bottom, view.top), view.bottom}};
    bool found = false;
    int best = 0;
    for (const PixelSpan& room : rooms) {
        const int height = room.bottom - room.top;
        if (height < hitHeight) continue;
        const int target = room.top + (height - hitHeight) / 2;
        int lines = static_cast<int>(std::lround(double(hit.top - target) / lineHeight));
        const int first =
            std::clamp(scroll.firstLine + lines, 0, std::max(0, scroll.lastFirstLine));
        lines = first - scroll.firstLine;
        const int top = hit.top - lines * lineHeight;
        if (top < room.top || top + hitHeight > room.bottom) continue;
        if (!found || std::abs(lines) < std::abs(best)) best = lines;
        found = true;
    }
    return best;
}

} // namespace editor
