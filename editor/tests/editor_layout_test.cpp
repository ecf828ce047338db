#include "editor_layout.h"
#include "search_ranges.h"

#include <gtest/gtest.h>

using editor::LeftClickZone;

TEST(EditorLayout, LineNumberMarginHasOneDigitCellMoreThanTheLineCount) {
    EXPECT_EQ(editor::LineNumberDigits(0), 1);
    EXPECT_EQ(editor::LineNumberDigits(1), 2);
    EXPECT_EQ(editor::LineNumberDigits(9), 2);
    EXPECT_EQ(editor::LineNumberDigits(10), 3);
    EXPECT_EQ(editor::LineNumberDigits(99999), 6);
}

TEST(EditorLayout, LineUnderAPointCountsScrolledLines) {
    EXPECT_EQ(editor::LineUnderPoint(0, 0, 17), 1);
    EXPECT_EQ(editor::LineUnderPoint(16, 0, 17), 1);
    EXPECT_EQ(editor::LineUnderPoint(17, 0, 17), 2);
    EXPECT_EQ(editor::LineUnderPoint(5, 40, 17), 41);
    EXPECT_EQ(editor::LineUnderPoint(5, 40, 0), 0);
}

TEST(EditorLayout, LeftClicksInTheMarginsToggleAndJustAfterThemDoNothing) {
    const int marginsEnd = 46; // marker margin ends before 46
    EXPECT_EQ(editor::ClassifyLeftClick(0, marginsEnd), LeftClickZone::Margin);
    EXPECT_EQ(editor::ClassifyLeftClick(45, marginsEnd), LeftClickZone::Margin);
    EXPECT_EQ(editor::ClassifyLeftClick(46, marginsEnd), LeftClickZone::Gap);
    EXPECT_EQ(editor::ClassifyLeftClick(50, marginsEnd), LeftClickZone::Gap);
    EXPECT_EQ(editor::ClassifyLeftClick(51, marginsEnd), LeftClickZone::Text);
}

TEST(SearchRanges, FindNextStartsAtTheSelectionEndAndFindPreviousAtItsStart) {
    editor::SearchRange next = editor::ForwardSearchRange(12, 100);
    EXPECT_EQ(next.start, 12);
    EXPECT_EQ(next.end, 100);

    editor::SearchRange previous = editor::BackwardSearchRange(8, 12);
    EXPECT_EQ(previous.start, 8);
    EXPECT_EQ(previous.end, 0);
    // Without a selection start the caret stands in.
    EXPECT_EQ(editor::BackwardSearchRange(-1, 12).start, 12);
}
