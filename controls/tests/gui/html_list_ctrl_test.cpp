#include "html_list_ctrl.h"

#include "html_markup.h"

#include "gui_test.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/uiaction.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

// A listing row as the assembly listing makes them.
std::string ListingRow(int i) {
    char text[160];
    if (i % 4 == 0)
        std::snprintf(
            text, sizeof text,
            "<font color=#A31515>        %d :        if (count &lt; %d) total += count;</font>",
            i / 4 + 1, i);
    else
        std::snprintf(text, sizeof text, "<b>0x%.4x </b> 12080A      lcall       0x%.4X",
                      i & 0xFFFF, (i * 3) & 0xFFFF);
    return text;
}

// Eight small squares in distinct colours, one per marker image index.
std::unique_ptr<wxImageList> MarkerImages() {
    auto images = std::make_unique<wxImageList>(12, 12, true, 8);
    const wxColour colours[8] = {*wxRED,   *wxLIGHT_GREY, *wxRED,   *wxLIGHT_GREY,
                                 *wxGREEN, *wxBLUE,       *wxGREEN, *wxBLUE};
    for (const wxColour& colour : colours) {
        wxImage image(12, 12);
        image.SetRGB(wxRect(0, 0, 12, 12), colour.Red(), colour.Green(), colour.Blue());
        images->Add(wxBitmap(image));
    }
    return images;
}

class HtmlListTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, "HTML list", wxPoint(10, 10), wxSize(640, 420));
        list = new CHTMLListCtrl(frame, 100);
        frame->Show();
        guitest::PumpEvents(100);
        list->Bind(wxEVT_HTMLLIST_SELCHANGED, [this](CHTMLListEvent& event) {
            selections.push_back(event.GetItemId());
            selectedTexts.push_back(event.GetItemText());
        });
        list->Bind(wxEVT_HTMLLIST_LEFT_CLICK,
                   [this](CHTMLListEvent& event) { clicks.push_back(event.GetItemId()); });
        list->Bind(wxEVT_HTMLLIST_DOUBLE_CLICK,
                   [this](CHTMLListEvent& event) { doubleClicks.push_back(event.GetItemId()); });
        list->Bind(wxEVT_HTMLLIST_ITEM_CHECKED,
                   [this](CHTMLListEvent& event) { checks.push_back(event.GetItemId()); });
    }
    void TearDown() override {
        frame->Destroy();
        guitest::PumpEvents(20);
    }
    void Fill(int rows) {
        for (int i = 0; i < rows; ++i)
            list->InsertItem(ListingRow(i), controls::kHtmlTextRow, 0, 0);
    }
    void Click(const wxPoint& clientPoint, bool twice = false) {
        wxUIActionSimulator simulator;
        simulator.MouseMove(list->ClientToScreen(clientPoint));
        guitest::PumpEvents(30);
        if (twice)
            simulator.MouseDblClick();
        else
            simulator.MouseClick();
        guitest::PumpEvents(80);
    }

    wxFrame* frame = nullptr;
    CHTMLListCtrl* list = nullptr;
    std::vector<int> selections;
    std::vector<std::string> selectedTexts;
    std::vector<int> clicks;
    std::vector<int> doubleClicks;
    std::vector<int> checks;
};

} // namespace

TEST_F(HtmlListTest, ThirtyThousandRowsScrollAndHitTestAClick) {
    Fill(30000);
    ASSERT_EQ(list->GetItemCount(), 30000);
    const int rowHeight = list->GetItemRect(0).height;
    EXPECT_GT(rowHeight, 10);
    EXPECT_EQ(list->GetItemRect(29999).GetBottom() + 1, 30000 * rowHeight);

    list->EnsureVisible(20000);
    guitest::PumpEvents(50);
    wxRect rect = list->GetItemRect(20000);
    const int clientHeight = list->GetClientSize().y;
    EXPECT_EQ(rect.GetBottom() + 1, clientHeight); // scrolled just far enough
    EXPECT_EQ(list->GetScrollPos(wxVERTICAL), list->GetScrollPosition());

    EXPECT_EQ(list->HitTestItem(wxPoint(60, rect.y + rect.height / 2)), 20000);
    Click(wxPoint(60, rect.y + rect.height / 2));
    EXPECT_EQ(list->GetSelectedItem(), 20000);
    EXPECT_EQ(clicks, (std::vector<int>{-1}));
    ASSERT_EQ(selections, (std::vector<int>{20000}));
    EXPECT_EQ(selectedTexts[0], ListingRow(20000));

    // A click on the row above lands on that row.
    Click(wxPoint(60, rect.y - rowHeight / 2));
    EXPECT_EQ(list->GetSelectedItem(), 19999);

    // The selected row is drawn in yellow.
    list->SetCurrentItem(19990);
    std::string path = guitest::SaveScreenshot(list, "html_list_ctrl");
    ASSERT_FALSE(path.empty());
    wxImage image(path, wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(image.IsOk());
    wxRect selectedRect = list->GetItemRect(19999);
    wxPoint sample =
        list->GetClientAreaOrigin() + wxPoint(list->GetClientSize().x - 8, selectedRect.y + 3);
    sample += list->GetClientRect().GetTopLeft();
    int border = (list->GetSize().x - list->GetClientSize().x) > 0 ? 1 : 0;
    EXPECT_EQ(image.GetRed(sample.x + border, sample.y + border), 255);
    EXPECT_EQ(image.GetGreen(sample.x + border, sample.y + border), 255);
    EXPECT_EQ(image.GetBlue(sample.x + border, sample.y + border), 0);

    // Rows already in view do not scroll.
    int before = list->GetScrollPosition();
    list->EnsureVisible(19995);
    EXPECT_EQ(list->GetScrollPosition(), before);

    // End, Home, Page Down and Page Up walk the listing and keep the
    // selected row in view.
    wxUIActionSimulator simulator;
    auto press = [&](int key) {
        simulator.Char(key);
        guitest::PumpEvents(50);
        return list->GetSelectedItem();
    };
    list->SetFocus();
    EXPECT_EQ(press(WXK_END), 29999);
    EXPECT_EQ(list->GetItemRect(29999).GetBottom() + 1, clientHeight);
    EXPECT_EQ(press(WXK_HOME), 0);
    EXPECT_EQ(list->GetScrollPosition(), 0);
    const int page = press(WXK_PAGEDOWN);
    EXPECT_GE(page, clientHeight / rowHeight - 1);
    EXPECT_LE(page, clientHeight / rowHeight + 1);
    EXPECT_EQ(list->GetItemRect(page).GetBottom() + 1, clientHeight);
    EXPECT_EQ(press(WXK_PAGEDOWN), 2 * page);
    EXPECT_EQ(press(WXK_PAGEUP), page);
    EXPECT_EQ(selections.back(), page);
}

TEST_F(HtmlListTest, KeysAndDoubleClick) {
    Fill(50);
    list->SetFocus();
    guitest::PumpEvents(50);
    wxUIActionSimulator simulator;
    simulator.Char(WXK_DOWN); // from no selection to the last row
    guitest::PumpEvents(50);
    EXPECT_EQ(list->GetSelectedItem(), 49);
    EXPECT_EQ(list->GetItemRect(49).GetBottom() + 1, list->GetClientSize().y);
    simulator.Char(WXK_UP);
    guitest::PumpEvents(50);
    EXPECT_EQ(list->GetSelectedItem(), 48);
    EXPECT_EQ(selections, (std::vector<int>{49, 48}));

    wxRect rect = list->GetItemRect(47);
    Click(wxPoint(80, rect.y + 4), true);
    EXPECT_EQ(list->GetSelectedItem(), 47);
    ASSERT_FALSE(doubleClicks.empty());
    EXPECT_EQ(doubleClicks.back(), 47);

    // The owner's way to show a row: select, scroll, notify.
    selections.clear();
    list->SetSelectedItem(3);
    list->EnsureVisible(3);
    list->SendSelChangeNotify();
    EXPECT_EQ(selections, (std::vector<int>{3}));
    EXPECT_EQ(list->GetItemRect(3).y, 0);
}

TEST_F(HtmlListTest, CheckBoxesMarkersAndRowHeights) {
    std::unique_ptr<wxImageList> markers = MarkerImages();
    list->SetMarkerImageList(markers.get());
    list->SetListStyle(controls::kHtmlListCheckBoxes | controls::kHtmlListGridLines |
                       controls::kHtmlListMarkers);
    Fill(20);
    list->SetItemMarker(1, 1);
    list->SetCurrentItem(2);
    int twoLines = list->InsertItem("first<br>second", controls::kHtmlTextRow, 0, 0);
    int fixed = list->InsertItem("<b>fixed</b>", controls::kHtmlTextRow, 40, 0);
    int oneLine = list->GetItemRect(0).height;
    EXPECT_EQ(list->GetItemRect(twoLines).height - 10, 2 * (oneLine - 10));
    EXPECT_EQ(list->GetItemRect(fixed).height, 40);

    // A click in the box area toggles the row's check and selects the row.
    wxRect rect = list->GetItemRect(5);
    Click(wxPoint(6, rect.y + rect.height / 2));
    EXPECT_TRUE(list->IsItemChecked(5));
    EXPECT_EQ(checks, (std::vector<int>{5}));
    EXPECT_EQ(list->GetSelectedItem(), 5);
    wxUIActionSimulator simulator;
    simulator.Char(WXK_SPACE);
    guitest::PumpEvents(50);
    EXPECT_FALSE(list->IsItemChecked(5));
    EXPECT_EQ(checks, (std::vector<int>{5, 5}));
    simulator.Char(WXK_SPACE);
    guitest::PumpEvents(50);
    EXPECT_TRUE(list->IsItemChecked(5));
    // One screenshot per test: the capture of later ones in the same process is stale.
    EXPECT_FALSE(guitest::SaveScreenshot(list, "html_list_ctrl_markers").empty());

    // A click below the last row selects nothing.
    selections.clear();
    list->DeleteAllItems();
    list->InsertItem("only", controls::kPlainTextRow, 0, 0);
    Click(wxPoint(80, list->GetClientSize().y - 5));
    EXPECT_EQ(list->GetSelectedItem(), -1);
    EXPECT_EQ(selections, (std::vector<int>{-1}));
}

TEST(HtmlTextRenderer, DrawsColoursAndMeasures) {
    wxBitmap bitmap(300, 60);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetFont(wxFont(wxFontInfo(12).Family(wxFONTFAMILY_TELETYPE)));
    dc.SetTextForeground(*wxBLACK);
    StyledFontCache fonts;

    wxRect plain(0, 0, 0, 0), bold(0, 0, 0, 0), two(0, 0, 0, 0);
    DrawHtmlText(dc, "mov a", &plain, kHtmlTextCalcRect, fonts);
    DrawHtmlText(dc, "<b>mov a</b>", &bold, kHtmlTextCalcRect, fonts);
    int lastTop = DrawHtmlText(dc, "mov<br>a", &two, kHtmlTextCalcRect, fonts);
    EXPECT_GT(plain.width, 0);
    EXPECT_GE(bold.width, plain.width);
    EXPECT_EQ(two.height, 2 * plain.height);
    EXPECT_EQ(lastTop, plain.height);

    wxRect area(5, 5, 290, 50);
    DrawHtmlText(dc, "<font color=#FF0000>XXXXXXXX</font>", &area, 0, fonts);
    dc.SelectObject(wxNullBitmap);
    wxImage image = bitmap.ConvertToImage();
    int red = 0, black = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (image.GetRed(x, y) > 200 && image.GetGreen(x, y) < 80) ++red;
            if (image.GetRed(x, y) < 60 && image.GetGreen(x, y) < 60) ++black;
        }
    }
    EXPECT_GT(red, 20);
    EXPECT_EQ(black, 0);
}

TEST(HtmlTextRenderer, StyledFonts) {
    wxFont base(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE));
    wxFont bold = CreateStyledFont(base, controls::kStyleBold | controls::kStyleUnderline);
    EXPECT_EQ(bold.GetWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_TRUE(bold.GetUnderlined());
    wxFont sub = CreateStyledFont(base, controls::kStyleSubscript | controls::kStyleItalic);
    EXPECT_NEAR(sub.GetFractionalPointSize(), 7.0, 0.01);
    EXPECT_EQ(sub.GetStyle(), wxFONTSTYLE_ITALIC);
    StyledFontCache cache;
    cache.SetBaseFont(base);
    const wxFont* first = &cache.Get(3);
    EXPECT_EQ(first, &cache.Get(3)); // made once
    EXPECT_EQ(cache.Get(0).GetWeight(), wxFONTWEIGHT_NORMAL);
}
