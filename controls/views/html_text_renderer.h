// Drawing the marked-up row texts on a wx device context: the styled fonts
// made from a base font (cached per base font), a text measurer over a
// device context, and the renderer DrawHtmlText.
#pragma once

#include "text_measurer.h"

#include <wx/dc.h>
#include <wx/font.h>

#include <array>
#include <string>

// The 32 style combinations (MarkupStyle bits) of one base font, each made
// when first asked for and kept until the base font changes.
class StyledFontCache {
public:
    // Forgets the fonts made so far when `base` differs from the last base.
    void SetBaseFont(const wxFont& base);
    const wxFont& GetBaseFont() const { return base_; }
    const wxFont& Get(int style);

private:
    wxFont base_;
    std::array<wxFont, 32> fonts_;
};

// The base font with weight bold for style bit 1, italic for bit 2,
// underlined for bit 4, and 7/10 of the size for super- and subscript.
wxFont CreateStyledFont(const wxFont& base, int style);

// Measures on a device context in the fonts of a cache.
class DcTextMeasurer : public controls::TextMeasurer {
public:
    DcTextMeasurer(wxDC& dc, StyledFontCache& fonts) : dc_(dc), fonts_(fonts) {}
    controls::TextExtent Measure(const std::string& text, int style) override;
    // The height of the two characters "Åy" in the base font.
    int LineHeight() override;

private:
    wxDC& dc_;
    StyledFontCache& fonts_;
    int lineHeight_ = -1;
};

enum HtmlTextFormat {
    kHtmlTextSingleLine = 0x01, // br and p start no new line
    kHtmlTextCalcRect = 0x02,   // measure only: nothing is drawn, `rect` gets the size
};

// Draws `text` with the markup of the listing rows into `rect` (or, without
// one, at the device's origin over its whole width) in the dc's font, the
// dc's text colour being the colour below every font tag. With
// kHtmlTextCalcRect nothing is drawn and the rectangle's width and height
// become those of the text. Returns the vertical offset of the last line.
int DrawHtmlText(wxDC& dc, const std::string& text, wxRect* rect, int format,
                 StyledFontCache& fonts);
