// What the display-free layouts need to know about text on a device: how
// wide and high a piece of text is in a style of the base font.
#pragma once

#include <string>

namespace controls {

struct TextExtent {
    int width = 0;
    int height = 0;
};

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // `style` holds MarkupStyle bits; 0 is the base font.
    virtual TextExtent Measure(const std::string& text, int style) = 0;
    // The height of one line in the base font.
    virtual int LineHeight() = 0;
};

} // namespace controls
