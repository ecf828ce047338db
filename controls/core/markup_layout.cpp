#include "markup_layout.h"

#include "html_markup.h"

#include <algorithm>

namespace controls {
namespace {

// Walks the tokens and keeps the pen position and style; the callback gets
// each text token with the state it is drawn in.
class MarkupWalker {
public:
    MarkupWalker(std::string_view text, Rgb baseColour, bool singleLine, int lineHeight)
        : text_(text), base_(baseColour), colour_(baseColour), singleLine_(singleLine),
          lineHeight_(lineHeight) {}

    template <typename OnText> void Walk(OnText onText) {
        std::size_t pos = 0;
        while (true) {
            MarkupToken token = GetNextTag(text_.substr(pos));
            if (token.code == kMarkupEnd) break;
            std::string_view piece = text_.substr(pos, token.length);
            if (token.code == kMarkupText) {
                x_ += onText(piece, x_, y_, style_, colour_);
                widest_ = std::max(widest_, x_);
            } else {
                Apply(token.code, piece, pos == 0);
            }
            pos += token.length;
        }
    }

    int Widest() const { return widest_; }
    int Top() const { return y_; }

private:
    void Apply(int code, std::string_view tag, bool atStart) {
        const bool closing = (code & kMarkupClosing) != 0;
        switch (code & ~kMarkupClosing) {
        case kMarkupBold:
            SetBit(kStyleBold, !closing);
            break;
        case kMarkupItalic:
            SetBit(kStyleItalic, !closing);
            break;
        case kMarkupUnderline:
            SetBit(kStyleUnderline, !closing);
            break;
        case kMarkupSubscript:
            SetBit(kStyleSubscript, !closing);
            break;
        case kMarkupSuperscript:
            SetBit(kStyleSuperscript, !closing);
            break;
        case kMarkupBreak:
            if (!closing && !singleLine_) {
                y_ += lineHeight_;
                x_ = 0;
            }
            break;
        case kMarkupParagraph:
            if (!closing && !singleLine_) {
                if (!atStart) y_ += lineHeight_ * 3 / 2;
                x_ = 0;
            }
            break;
        case kMarkupFont:
            if (closing) {
                colour_ = depth_ > 0 ? stack_[--depth_] : base_;
            } else {
                Rgb colour;
                if (ReadFontColour(tag, colour)) {
                    if (depth_ < kStackSize) stack_[depth_++] = colour_;
                    colour_ = colour;
                }
            }
            break;
        default:
            break;
        }
    }

    void SetBit(int bit, bool on) { style_ = on ? (style_ | bit) : (style_ & ~bit); }

    static constexpr int kStackSize = 8;
    std::string_view text_;
    Rgb base_;
    Rgb colour_;
    bool singleLine_;
    int lineHeight_;
    int x_ = 0;
    int y_ = 0;
    int widest_ = 0;
    int style_ = 0;
    Rgb stack_[kStackSize];
    int depth_ = 0;
};

} // namespace

MarkupLayout LayOutMarkup(std::string_view text, Rgb baseColour, bool singleLine,
                          TextMeasurer& measurer) {
    MarkupLayout layout;
    const int lineHeight = measurer.LineHeight();
    MarkupWalker walker(text, baseColour, singleLine, lineHeight);
    walker.Walk([&](std::string_view piece, int x, int y, int style, Rgb colour) {
        MarkupRun run;
        run.text = DecodeMarkupEntities(piece);
        TextExtent extent = measurer.Measure(run.text, style);
        run.x = x;
        run.y = (style & kStyleSubscript) ? y + lineHeight - extent.height : y;
        run.width = extent.width;
        run.height = extent.height;
        run.style = style;
        run.colour = colour;
        layout.runs.push_back(std::move(run));
        return extent.width;
    });
    layout.width = walker.Widest();
    layout.lastLineTop = walker.Top();
    layout.height = walker.Top() + lineHeight;
    return layout;
}

int MarkupHeight(std::string_view text, bool singleLine, int lineHeight) {
    MarkupWalker walker(text, Rgb{}, singleLine, lineHeight);
    walker.Walk([](std::string_view, int, int, int, Rgb) { return 0; });
    return walker.Top() + lineHeight;
}

} // namespace controls
