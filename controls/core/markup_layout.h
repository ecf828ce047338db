// Lays out one marked-up text: where each piece of text goes, in which style
// and colour. Pieces follow each other without blanks added between them and
// a line never wraps; only br and p start new lines.
#pragma once

#include "colour.h"
#include "text_measurer.h"

#include <string>
#include <string_view>
#include <vector>

namespace controls {

struct MarkupRun {
    std::string text; // entities already decoded
    int x = 0;        // offsets from the layout's top-left corner
    int y = 0;        // top of the text: subscript sits at the bottom of its line
    int width = 0;
    int height = 0;
    int style = 0; // MarkupStyle bits
    Rgb colour;
};

struct MarkupLayout {
    std::vector<MarkupRun> runs;
    int width = 0;       // the widest line
    int height = 0;      // top of the last line plus one line height
    int lastLineTop = 0; // vertical offset of the last line
};

// `singleLine` makes br and p draw nothing. The colour stack holds eight
// colours; closing a font tag with an empty stack returns to `baseColour`.
MarkupLayout LayOutMarkup(std::string_view text, Rgb baseColour, bool singleLine,
                          TextMeasurer& measurer);

// The height LayOutMarkup would give, found from the line breaks alone.
int MarkupHeight(std::string_view text, bool singleLine, int lineHeight);

} // namespace controls
