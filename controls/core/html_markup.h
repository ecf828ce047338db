// The small HTML subset of the listing rows: b, br, em, font color=#rrggbb,
// i, p, strong, sub, sup and u. Tag names compare without regard to case and
// by their length, so a tag text that begins with a known name is that tag
// ("bold" is b, "image" is i); anything else between angle brackets is text.
#pragma once

#include "colour.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace controls {

enum MarkupCode : int {
    kMarkupEnd = -1,
    kMarkupText = 0,
    kMarkupBold = 1,
    kMarkupBreak = 2,
    kMarkupFont = 3,
    kMarkupItalic = 4,
    kMarkupParagraph = 5,
    kMarkupSubscript = 6,
    kMarkupSuperscript = 7,
    kMarkupUnderline = 8,
    kMarkupClosing = 0x100, // added to the code of a closing tag
};

// Style bits of drawn text.
enum MarkupStyle : int {
    kStyleBold = 0x01,
    kStyleItalic = 0x02,
    kStyleUnderline = 0x04,
    kStyleSuperscript = 0x08,
    kStyleSubscript = 0x10,
    kStyleCombinations = 0x20,
};

struct MarkupToken {
    int code = kMarkupEnd; // MarkupCode, plus kMarkupClosing for a closing tag
    std::size_t length = 0;
};

// The token at the start of `text`: a run of text up to the next "<", or a
// tag up to and including its ">". An unrecognised tag is a text token that
// keeps its angle brackets. kMarkupEnd when `text` is empty.
MarkupToken GetNextTag(std::string_view text);

// The colour a font tag sets: after "<font" and one more character the
// attribute must begin with "color=" (any case); an optional quote and "#"
// are skipped and six characters read as red, green and blue hex pairs (a
// character that is no hex digit, or lies past the tag's end, counts 0).
// False when the tag has no such attribute.
bool ReadFontColour(std::string_view tag, Rgb& colour);

// Text with the entities &lt; &gt; and &amp; replaced by < > and &.
std::string DecodeMarkupEntities(std::string_view text);

} // namespace controls
