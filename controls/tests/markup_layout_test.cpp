#include "markup_layout.h"

#include "fake_measurer.h"
#include "html_markup.h"

#include <gtest/gtest.h>

using namespace controls;
using controls_test::FakeMeasurer;

namespace {

const Rgb kBlack{0, 0, 0};
const Rgb kRed{0xFF, 0, 0};
const Rgb kGreen{0, 0xFF, 0};

MarkupLayout Lay(std::string_view text, bool singleLine = false) {
    FakeMeasurer measurer;
    return LayOutMarkup(text, kBlack, singleLine, measurer);
}

} // namespace

TEST(MarkupLayout, BoldMnemonicThenPlainOperandOnOneLine) {
    MarkupLayout layout = Lay("<b>mov</b> a,#1");
    ASSERT_EQ(layout.runs.size(), 2u);
    EXPECT_EQ(layout.runs[0].text, "mov");
    EXPECT_EQ(layout.runs[0].style, kStyleBold);
    EXPECT_EQ(layout.runs[0].width, 36);
    EXPECT_EQ(layout.runs[1].text, " a,#1");
    EXPECT_EQ(layout.runs[1].style, 0);
    EXPECT_EQ(layout.runs[1].x, 36);
    EXPECT_EQ(layout.runs[1].y, 0);
    EXPECT_EQ(layout.width, 36 + 50);
    EXPECT_EQ(layout.height, 20);
}

TEST(MarkupLayout, ListingRowsKeepTheirBlanks) {
    MarkupLayout layout = Lay("<b>0x0800 </b> 12080A      lcall  0x080A");
    ASSERT_EQ(layout.runs.size(), 2u);
    EXPECT_EQ(layout.runs[1].text, " 12080A      lcall  0x080A");
    MarkupLayout source =
        Lay("<font color=#A31515>        12 :        if (a &lt; b) x = a &amp; 1;</font>");
    ASSERT_EQ(source.runs.size(), 1u);
    EXPECT_EQ(source.runs[0].text, "        12 :        if (a < b) x = a & 1;");
    EXPECT_EQ(source.runs[0].colour, (Rgb{0xA3, 0x15, 0x15}));
    EXPECT_EQ(source.runs[0].width, 10 * static_cast<int>(source.runs[0].text.size()));
}

TEST(MarkupLayout, LineAndParagraphBreaks) {
    MarkupLayout br = Lay("one<br>two");
    ASSERT_EQ(br.runs.size(), 2u);
    EXPECT_EQ(br.runs[1].x, 0);
    EXPECT_EQ(br.runs[1].y, 20);
    EXPECT_EQ(br.height, 40);
    EXPECT_EQ(br.lastLineTop, 20);
    EXPECT_EQ(br.width, 30);

    MarkupLayout single = Lay("one<br>two<p>three", true);
    EXPECT_EQ(single.runs[1].x, 30);
    EXPECT_EQ(single.runs[2].y, 0);
    EXPECT_EQ(single.height, 20);

    EXPECT_EQ(Lay("<p>first").runs[0].y, 0); // at the very start: no space
    MarkupLayout p = Lay("first<p>next");
    EXPECT_EQ(p.runs[1].y, 30); // one and a half lines
    EXPECT_EQ(p.runs[1].x, 0);
    EXPECT_EQ(Lay("a</br></p>b").runs[1].y, 0); // closing forms break nothing
}

TEST(MarkupLayout, FontColoursStackAndRestore) {
    MarkupLayout layout = Lay("a<font color=#FF0000>b<font color='00FF00'>c</font>d</font>e");
    ASSERT_EQ(layout.runs.size(), 5u);
    EXPECT_EQ(layout.runs[0].colour, kBlack);
    EXPECT_EQ(layout.runs[1].colour, kRed);
    EXPECT_EQ(layout.runs[2].colour, kGreen);
    EXPECT_EQ(layout.runs[3].colour, kRed);
    EXPECT_EQ(layout.runs[4].colour, kBlack);
    // A closing tag without an opening one returns to the row's own colour.
    FakeMeasurer measurer;
    MarkupLayout blue = LayOutMarkup("x</font>y", Rgb{0, 0, 0xFF}, false, measurer);
    EXPECT_EQ(blue.runs[1].colour, (Rgb{0, 0, 0xFF}));
}

TEST(MarkupLayout, NineNestedFontsStackOnlyEight) {
    std::string text;
    for (int i = 1; i <= 9; ++i)
        text += "<font color=#00000" + std::to_string(i) + ">" + std::to_string(i);
    for (int i = 0; i < 9; ++i)
        text += "</font>.";
    MarkupLayout layout = Lay(text);
    ASSERT_EQ(layout.runs.size(), 18u);
    EXPECT_EQ(layout.runs[8].colour, (Rgb{0, 0, 9}));
    // The ninth colour pushed nothing: its closing tag restores the colour
    // saved by the eighth, which is the seventh's.
    EXPECT_EQ(layout.runs[9].colour, (Rgb{0, 0, 7}));
    EXPECT_EQ(layout.runs[10].colour, (Rgb{0, 0, 6}));
    EXPECT_EQ(layout.runs[15].colour, (Rgb{0, 0, 1}));
    EXPECT_EQ(layout.runs[16].colour, kBlack); // the colour saved by the first
    EXPECT_EQ(layout.runs[17].colour, kBlack); // stack empty: the base colour
}

TEST(MarkupLayout, EachTextStartsWithAnEmptyStack) {
    FakeMeasurer measurer;
    LayOutMarkup("<font color=#FF0000><font color=#00FF00>unclosed", kBlack, false, measurer);
    MarkupLayout next = LayOutMarkup("x</font>y", kBlack, false, measurer);
    EXPECT_EQ(next.runs[1].colour, kBlack);
}

TEST(MarkupLayout, StylesOfTheTags) {
    MarkupLayout layout = Lay("<B>b<I>bi</I></B><u>u</u><em>e</em><bold>x</bold>");
    ASSERT_EQ(layout.runs.size(), 5u);
    EXPECT_EQ(layout.runs[0].style, kStyleBold);
    EXPECT_EQ(layout.runs[1].style, kStyleBold | kStyleItalic);
    EXPECT_EQ(layout.runs[2].style, kStyleUnderline);
    EXPECT_EQ(layout.runs[3].style, kStyleItalic);
    EXPECT_EQ(layout.runs[4].style, kStyleBold);

    MarkupLayout scripts = Lay("H<sub>2</sub>O x<sup>2</sup>");
    ASSERT_EQ(scripts.runs.size(), 4u);
    EXPECT_EQ(scripts.runs[1].style, kStyleSubscript);
    EXPECT_EQ(scripts.runs[1].y, 20 - 14); // at the bottom of the line
    EXPECT_EQ(scripts.runs[2].style, 0);
    EXPECT_EQ(scripts.runs[3].style, kStyleSuperscript);
    EXPECT_EQ(scripts.runs[3].y, 0);
}

TEST(MarkupLayout, UnknownTagsAreDrawnWithTheirBrackets) {
    MarkupLayout layout = Lay("a<span>b");
    ASSERT_EQ(layout.runs.size(), 3u);
    EXPECT_EQ(layout.runs[1].text, "<span>");
    EXPECT_EQ(layout.runs[1].x, 10);
    EXPECT_EQ(layout.runs[2].x, 70);
}

TEST(MarkupLayout, HeightWithoutMeasuringMatchesTheLayout) {
    for (const char* text : {"", "plain", "a<br>b<br>c", "<p>a<p>b", "a<p><br>b", "x<br>"}) {
        for (bool single : {false, true}) {
            FakeMeasurer measurer;
            EXPECT_EQ(MarkupHeight(text, single, 20),
                      LayOutMarkup(text, kBlack, single, measurer).height)
                << text;
        }
    }
}
