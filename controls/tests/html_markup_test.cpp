#include "html_markup.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace controls;

namespace {

// (code, token text) of every token of `text`.
std::vector<std::pair<int, std::string>> Tokens(std::string_view text) {
    std::vector<std::pair<int, std::string>> tokens;
    while (true) {
        MarkupToken token = GetNextTag(text);
        if (token.code == kMarkupEnd) break;
        tokens.emplace_back(token.code, std::string(text.substr(0, token.length)));
        text.remove_prefix(token.length);
    }
    return tokens;
}

using T = std::vector<std::pair<int, std::string>>;

} // namespace

TEST(MarkupTokenizer, EachKnownTag) {
    EXPECT_EQ(Tokens("<b>mov</b> a,#1"),
              (T{{1, "<b>"}, {0, "mov"}, {0x101, "</b>"}, {0, " a,#1"}}));
    EXPECT_EQ(Tokens("<br><em><i><p><strong><sub><sup><u>"), (T{{2, "<br>"},
                                                                {4, "<em>"},
                                                                {4, "<i>"},
                                                                {5, "<p>"},
                                                                {1, "<strong>"},
                                                                {6, "<sub>"},
                                                                {7, "<sup>"},
                                                                {8, "<u>"}}));
    EXPECT_EQ(Tokens("<font color=#FF0000>x</font>"),
              (T{{3, "<font color=#FF0000>"}, {0, "x"}, {0x103, "</font>"}}));
    EXPECT_EQ(Tokens(""), T{});
}

TEST(MarkupTokenizer, NamesCompareWithoutCaseAndByTheirLength) {
    EXPECT_EQ(Tokens("<B>x</B>"), (T{{1, "<B>"}, {0, "x"}, {0x101, "</B>"}}));
    EXPECT_EQ(Tokens("<bold>"), (T{{1, "<bold>"}}));
    EXPECT_EQ(Tokens("<image>"), (T{{4, "<image>"}}));
    EXPECT_EQ(Tokens("<Sub>"), (T{{6, "<Sub>"}}));
    EXPECT_EQ(Tokens("<FONT COLOR=#00FF00>"), (T{{3, "<FONT COLOR=#00FF00>"}}));
}

TEST(MarkupTokenizer, UnknownAndUnfinishedTagsAreText) {
    EXPECT_EQ(Tokens("<span>a</span>"), (T{{0, "<span>"}, {0, "a"}, {0, "</span>"}}));
    EXPECT_EQ(Tokens("< b>"), (T{{0, "< b>"}}));
    EXPECT_EQ(Tokens("<>"), (T{{0, "<>"}}));
    EXPECT_EQ(Tokens("a<"), (T{{0, "a"}, {0, "<"}}));
    // A tag cut short by the next "<" or by the end counts only for an
    // opening font tag, which carries its attributes.
    EXPECT_EQ(Tokens("<b<i>x"), (T{{0, "<b"}, {4, "<i>"}, {0, "x"}}));
    EXPECT_EQ(Tokens("</b"), (T{{0, "</b"}}));
    EXPECT_EQ(Tokens("</font<b>"), (T{{0, "</font"}, {1, "<b>"}}));
    EXPECT_EQ(Tokens("<font color=#FF0000"), (T{{3, "<font color=#FF0000"}}));
    EXPECT_EQ(Tokens("x <= y"), (T{{0, "x "}, {0, "<= y"}}));
}

TEST(MarkupFontColour, AttributeForms) {
    Rgb colour;
    ASSERT_TRUE(ReadFontColour("<font color=#FF8001>", colour));
    EXPECT_EQ(colour, (Rgb{0xFF, 0x80, 0x01}));
    ASSERT_TRUE(ReadFontColour("<font color='A31515'>", colour));
    EXPECT_EQ(colour, (Rgb{0xA3, 0x15, 0x15}));
    ASSERT_TRUE(ReadFontColour("<font COLOR=\"#00ff00\">", colour));
    EXPECT_EQ(colour, (Rgb{0, 0xFF, 0}));
    ASSERT_TRUE(ReadFontColour("<font color=#zz10G0>", colour)); // no hex digit counts 0
    EXPECT_EQ(colour, (Rgb{0, 0x10, 0}));
    // The colour is read only within its tag.
    ASSERT_TRUE(ReadFontColour("<font color=#12>", colour));
    EXPECT_EQ(colour, (Rgb{0x12, 0, 0}));
    EXPECT_FALSE(ReadFontColour("<font size=2>", colour));
    EXPECT_FALSE(ReadFontColour("<fontcolor=#FF0000>", colour));
    EXPECT_FALSE(ReadFontColour("<font>", colour));
}

TEST(MarkupEntities, OnlyTheThreeEscapesAreDecoded) {
    EXPECT_EQ(DecodeMarkupEntities("if (a &lt; b &amp;&amp; c &gt; d)"), "if (a < b && c > d)");
    EXPECT_EQ(DecodeMarkupEntities("&amp;lt;"), "&lt;"); // one pass only
    EXPECT_EQ(DecodeMarkupEntities("&lt &quot; &LT; &"), "&lt &quot; &LT; &");
}
