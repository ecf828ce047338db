#include "html_markup.h"

#include <cctype>

namespace controls {
namespace {

struct TagName {
    std::string_view name;
    int code;
};

// Searched from the last entry to the first, so "br" is found before "b" and
// "sub" before "strong".
constexpr TagName kTags[] = {
    {"b", kMarkupBold},      {"br", kMarkupBreak},      {"em", kMarkupItalic},
    {"font", kMarkupFont},   {"i", kMarkupItalic},      {"p", kMarkupParagraph},
    {"strong", kMarkupBold}, {"sub", kMarkupSubscript}, {"sup", kMarkupSuperscript},
    {"u", kMarkupUnderline},
};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

int LookUpTag(std::string_view tagText) {
    for (auto it = std::rbegin(kTags); it != std::rend(kTags); ++it) {
        if (StartsWithNoCase(tagText, it->name)) return it->code;
    }
    return kMarkupText;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

} // namespace

MarkupToken GetNextTag(std::string_view text) {
    MarkupToken token;
    if (text.empty()) return token;
    if (text[0] != '<') {
        token.code = kMarkupText;
        std::size_t next = text.find('<');
        token.length = next == std::string_view::npos ? text.size() : next;
        return token;
    }
    const bool closing = text.size() > 1 && text[1] == '/';
    const std::size_t nameStart = closing ? 2 : 1;
    std::size_t stop = text.find_first_of("<>", nameStart);
    const bool endedAtBracket = stop != std::string_view::npos && text[stop] == '>';
    if (stop == std::string_view::npos) stop = text.size();
    token.length = endedAtBracket ? stop + 1 : stop;

    int code = LookUpTag(text.substr(nameStart, stop - nameStart));
    // Only an opening font tag carries attributes; every other tag counts
    // only when it was closed by ">".
    const bool takesAttributes = code == kMarkupFont && !closing;
    if (code != kMarkupText && !takesAttributes && !endedAtBracket) code = kMarkupText;
    token.code = code == kMarkupText ? kMarkupText : code + (closing ? kMarkupClosing : 0);
    return token;
}

bool ReadFontColour(std::string_view tag, Rgb& colour) {
    // The attribute text starts one character after "<font".
    const std::size_t attributeStart = 6;
    if (tag.size() < attributeStart) return false;
    std::string_view attribute = tag.substr(attributeStart);
    if (!StartsWithNoCase(attribute, "color=")) return false;
    std::size_t pos = 6;
    if (pos < attribute.size() && (attribute[pos] == '\'' || attribute[pos] == '"')) ++pos;
    if (pos < attribute.size() && attribute[pos] == '#') ++pos;
    // The tag ends at its ">": nothing after it belongs to the colour.
    std::size_t end = attribute.find('>');
    if (end == std::string_view::npos) end = attribute.size();
    auto digit = [&](std::size_t i) { return pos + i < end ? HexValue(attribute[pos + i]) : 0; };
    colour.red = static_cast<std::uint8_t>(digit(0) * 16 + digit(1));
    colour.green = static_cast<std::uint8_t>(digit(2) * 16 + digit(3));
    colour.blue = static_cast<std::uint8_t>(digit(4) * 16 + digit(5));
    return true;
}

std::string DecodeMarkupEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            std::string_view rest = text.substr(i);
            if (rest.substr(0, 4) == "&lt;") {
                out += '<';
                i += 3;
                continue;
            }
            if (rest.substr(0, 4) == "&gt;") {
                out += '>';
                i += 3;
                continue;
            }
            if (rest.substr(0, 5) == "&amp;") {
                out += '&';
                i += 4;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

} // namespace controls
