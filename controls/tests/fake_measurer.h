// A text measurer with simple, predictable metrics for layout tests: every
// character is 10 pixels wide (12 in bold), a line is 20 pixels high and
// superscript or subscript text 14.
#pragma once

#include "html_markup.h"
#include "markup_layout.h"
#include "text_measurer.h"

namespace controls_test {

class FakeMeasurer : public controls::TextMeasurer {
public:
    controls::TextExtent Measure(const std::string& text, int style) override {
        ++calls;
        int perChar = (style & controls::kStyleBold) ? 12 : 10;
        bool small = (style & (controls::kStyleSubscript | controls::kStyleSuperscript)) != 0;
        return {static_cast<int>(text.size()) * perChar, small ? 14 : 20};
    }
    int LineHeight() override { return 20; }

    int calls = 0;
};

} // namespace controls_test
