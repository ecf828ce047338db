#include "html_text_renderer.h"

#include "display_text.h"
#include "html_markup.h"
#include "markup_layout.h"

void StyledFontCache::SetBaseFont(const wxFont& base) {
    if (base_.IsOk() && base == base_) return;
    base_ = base;
    fonts_.fill(wxNullFont);
}

const wxFont& StyledFontCache::Get(int style) {
    style &= controls::kStyleCombinations - 1;
    wxFont& font = fonts_[style];
    if (!font.IsOk()) font = CreateStyledFont(base_, style);
    // A font that cannot be made leaves the base font in use.
    return font.IsOk() ? font : base_;
}

wxFont CreateStyledFont(const wxFont& base, int style) {
    if (!base.IsOk()) return wxNullFont;
    wxFont font = base;
    font.SetWeight((style & controls::kStyleBold) ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL);
    if (style & controls::kStyleItalic) font.SetStyle(wxFONTSTYLE_ITALIC);
    if (style & controls::kStyleUnderline) font.SetUnderlined(true);
    if (style & (controls::kStyleSuperscript | controls::kStyleSubscript))
        font.SetFractionalPointSize(base.GetFractionalPointSize() * 7 / 10);
    return font;
}

controls::TextExtent DcTextMeasurer::Measure(const std::string& text, int style) {
    dc_.SetFont(fonts_.Get(style));
    wxCoord width = 0, height = 0;
    dc_.GetTextExtent(ToDisplayText(text), &width, &height);
    return {width, height};
}

int DcTextMeasurer::LineHeight() {
    if (lineHeight_ < 0) {
        dc_.SetFont(fonts_.Get(0));
        wxCoord width = 0;
        dc_.GetTextExtent(wxString::FromUTF8("\xC3\x85y"), &width, &lineHeight_);
    }
    return lineHeight_;
}

int DrawHtmlText(wxDC& dc, const std::string& text, wxRect* rect, int format,
                 StyledFontCache& fonts) {
    const wxFont savedFont = dc.GetFont();
    const wxColour savedColour = dc.GetTextForeground();
    const int savedMode = dc.GetBackgroundMode();
    fonts.SetBaseFont(savedFont.IsOk() ? savedFont : *wxNORMAL_FONT);

    wxRect area = rect ? *rect : wxRect(wxPoint(0, 0), dc.GetSize());
    DcTextMeasurer measurer(dc, fonts);
    const controls::Rgb base{savedColour.Red(), savedColour.Green(), savedColour.Blue()};
    controls::MarkupLayout layout =
        controls::LayOutMarkup(text, base, (format & kHtmlTextSingleLine) != 0, measurer);

    if (format & kHtmlTextCalcRect) {
        if (rect) {
            rect->width = layout.width;
            rect->height = layout.height;
        }
    } else {
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        int lastStyle = -1;
        for (const controls::MarkupRun& run : layout.runs) {
            if (run.style != lastStyle) {
                dc.SetFont(fonts.Get(run.style));
                lastStyle = run.style;
            }
            dc.SetTextForeground(wxColour(run.colour.red, run.colour.green, run.colour.blue));
            dc.DrawText(ToDisplayText(run.text), area.x + run.x, area.y + run.y);
        }
    }
    if (savedFont.IsOk()) dc.SetFont(savedFont);
    dc.SetTextForeground(savedColour);
    dc.SetBackgroundMode(savedMode);
    return layout.lastLineTop;
}
