#include "html_list_model.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace controls;

namespace {

// Rows measure 10 pixels per line of text ("|" separates lines) plus 10.
int MeasureLines(const HTMLLIST_ITEM& item) {
    return 10 * (1 + static_cast<int>(std::count(item.text.begin(), item.text.end(), '|'))) + 10;
}

HtmlListModel ListOf(int rows) {
    HtmlListModel list;
    for (int i = 0; i < rows; ++i)
        list.InsertItem("row", kHtmlTextRow, 0, 0, MeasureLines);
    return list;
}

} // namespace

TEST(HtmlListModel, RowsAndHeights) {
    HtmlListModel list;
    EXPECT_EQ(list.InsertItem("a", kHtmlTextRow, 0, 0, MeasureLines), 0);
    EXPECT_EQ(list.InsertItem("b|c", kPlainTextRow, 0, 1, MeasureLines), 1);
    EXPECT_EQ(list.InsertItem("fixed", kFilePathRow, 7, 0, MeasureLines), 2);
    EXPECT_EQ(list.GetItem(0)->height, 20);
    EXPECT_EQ(list.GetItem(1)->height, 30);
    EXPECT_EQ(list.GetItem(1)->marker, 1);
    EXPECT_TRUE(list.GetItem(2)->fixedHeight);
    EXPECT_EQ(list.TotalHeight(), 57);
    EXPECT_EQ(list.ItemTop(2), 50);
    EXPECT_EQ(list.GetItem(3), nullptr);
    EXPECT_FALSE(list.SetItemMarker(3, 1));
    EXPECT_TRUE(list.SetItemMarker(0, 2));
    EXPECT_EQ(list.GetItem(0)->marker, 2);

    // A new measure changes the measured rows only.
    list.RecalcLayout([](const HTMLLIST_ITEM&) { return 5; });
    EXPECT_EQ(list.GetItem(1)->height, 5);
    EXPECT_EQ(list.GetItem(2)->height, 7);
    EXPECT_EQ(list.TotalHeight(), 17);

    list.SetSelectedItem(1);
    list.DeleteAllItems();
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.TotalHeight(), 0);
    EXPECT_EQ(list.GetSelectedItem(), -1);
    EXPECT_EQ(list.InsertItem("again", kHtmlTextRow, 0, 0, MeasureLines), 0);
}

TEST(HtmlListModel, HitTestFollowsTheScrollPosition) {
    HtmlListModel list = ListOf(30000);
    list.SetClientHeight(400);
    EXPECT_EQ(list.HitTest(0), 0);
    EXPECT_EQ(list.HitTest(19), 0);
    EXPECT_EQ(list.HitTest(20), 1);
    EXPECT_TRUE(list.ScrollTo(20 * 15000 + 5));
    EXPECT_EQ(list.HitTest(0), 15000);
    EXPECT_EQ(list.HitTest(15), 15001);
    EXPECT_EQ(list.HitTest(-6), 14999);
    int first = 0, last = 0;
    list.VisibleRange(first, last);
    EXPECT_EQ(first, 15000);
    EXPECT_EQ(last, 15020); // 15000 starts 5 pixels above the top
    list.ScrollTo(list.ScrollLimit());
    EXPECT_EQ(list.HitTest(399), 29999);
    EXPECT_EQ(list.HitTest(400), -1);
}

TEST(HtmlListModel, ScrollingStaysWithinTheRange) {
    HtmlListModel list = ListOf(100); // 2000 pixels
    list.SetClientHeight(500);
    EXPECT_EQ(list.ScrollLimit(), 1500);
    EXPECT_FALSE(list.ScrollBy(-HtmlListModel::kLineStep));
    EXPECT_TRUE(list.ScrollBy(HtmlListModel::kLineStep));
    EXPECT_EQ(list.ScrollPos(), 50);
    EXPECT_TRUE(list.ScrollWheel(-120)); // a negative delta scrolls down
    EXPECT_EQ(list.ScrollPos(), 90);
    EXPECT_TRUE(list.ScrollWheel(120));
    EXPECT_TRUE(list.ScrollWheel(120));
    EXPECT_TRUE(list.ScrollWheel(120)); // 10 pixels left to go
    EXPECT_EQ(list.ScrollPos(), 0);
    EXPECT_FALSE(list.ScrollWheel(120));
    EXPECT_TRUE(list.ScrollTo(99999));
    EXPECT_EQ(list.ScrollPos(), 1500);
    // A larger window pulls the position back.
    list.SetClientHeight(1900);
    EXPECT_EQ(list.ScrollPos(), 100);
    HtmlListModel shortList = ListOf(3);
    shortList.SetClientHeight(500);
    EXPECT_EQ(shortList.ScrollLimit(), 0);
    EXPECT_FALSE(shortList.ScrollWheel(-120));
}

TEST(HtmlListModel, EnsureVisibleScrollsTheLeastDistance) {
    HtmlListModel list = ListOf(100);
    list.SetClientHeight(200);
    list.ScrollTo(400); // rows 20 to 29 in view
    EXPECT_FALSE(list.EnsureVisible(25));
    EXPECT_FALSE(list.EnsureVisible(29));
    EXPECT_EQ(list.ScrollPos(), 400);
    EXPECT_TRUE(list.EnsureVisible(35)); // below: its bottom at the window's bottom
    EXPECT_EQ(list.ScrollPos(), 36 * 20 - 200);
    EXPECT_TRUE(list.EnsureVisible(3)); // above: its top at the window's top
    EXPECT_EQ(list.ScrollPos(), 60);
    EXPECT_FALSE(list.EnsureVisible(100));
    EXPECT_FALSE(list.EnsureVisible(-1));
}

TEST(HtmlListModel, KeyboardSelection) {
    HtmlListModel list = ListOf(5);
    EXPECT_TRUE(list.MoveSelectionUp());
    EXPECT_EQ(list.GetSelectedItem(), 0); // from none to the first row
    EXPECT_TRUE(list.MoveSelectionUp());
    EXPECT_EQ(list.GetSelectedItem(), 0);
    list.SetSelectedItem(-1);
    EXPECT_TRUE(list.MoveSelectionDown());
    EXPECT_EQ(list.GetSelectedItem(), 4); // from none to the last row
    EXPECT_TRUE(list.MoveSelectionDown());
    EXPECT_EQ(list.GetSelectedItem(), 4);
    list.SetSelectedItem(2);
    list.MoveSelectionUp();
    EXPECT_EQ(list.GetSelectedItem(), 1);
    list.SetSelectedItem(17);
    EXPECT_EQ(list.GetSelectedItem(), -1);
    list.SetCurrentItem(3);
    EXPECT_EQ(list.GetCurrentItem(), 3);
    HtmlListModel empty;
    EXPECT_FALSE(empty.MoveSelectionDown());
    EXPECT_FALSE(empty.MoveSelectionByPage(false));
    EXPECT_FALSE(empty.MoveSelectionToEnd(true));

    // Pages of 45 pixels over rows of 20: two rows on; a page smaller than
    // a row still moves one; the ends stop it.
    HtmlListModel rows = ListOf(10);
    rows.SetClientHeight(45);
    EXPECT_TRUE(rows.MoveSelectionByPage(false));
    EXPECT_EQ(rows.GetSelectedItem(), 2); // from none: the first row in view
    rows.MoveSelectionByPage(false);
    EXPECT_EQ(rows.GetSelectedItem(), 4);
    rows.MoveSelectionToEnd(true);
    EXPECT_EQ(rows.GetSelectedItem(), 9);
    rows.MoveSelectionByPage(false);
    EXPECT_EQ(rows.GetSelectedItem(), 9);
    rows.MoveSelectionByPage(true);
    EXPECT_EQ(rows.GetSelectedItem(), 7);
    rows.SetClientHeight(5);
    rows.MoveSelectionByPage(true);
    EXPECT_EQ(rows.GetSelectedItem(), 6);
    rows.MoveSelectionToEnd(false);
    EXPECT_EQ(rows.GetSelectedItem(), 0);
}
