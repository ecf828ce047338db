#include "report_ctrls.h"

#include "gui_test.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/uiaction.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class ReportListGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, "report list", wxPoint(10, 10), wxSize(520, 320));
        // The parent hears every notification.
        frame->Bind(wxEVT_REPORT_CELL_EDITED, [this](wxCommandEvent& event) {
            Log("edited", event.GetInt(), event.GetExtraLong());
        });
        frame->Bind(wxEVT_REPORT_COMMIT_ROW, [this](wxCommandEvent& event) {
            Log(("commit " + event.GetString().ToStdString()).c_str(), event.GetInt(),
                event.GetExtraLong());
        });
        frame->Bind(wxEVT_REPORT_SORTED, [this](wxCommandEvent& event) {
            Log("sorted", event.GetInt(), event.GetExtraLong());
        });
        frame->Bind(wxEVT_REPORT_CHECK_CHANGED, [this](wxCommandEvent& event) {
            Log("checked", event.GetInt(), event.GetExtraLong());
        });
        frame->Bind(wxEVT_REPORT_ROW_ACTIVATED, [this](wxCommandEvent& event) {
            Log("activated", event.GetInt(), event.GetExtraLong());
        });
    }
    void TearDown() override {
        frame->Destroy();
        guitest::PumpEvents(20);
    }
    void Show(CReportListCtrl* list) {
        list->Create(frame, 300);
        frame->Show();
        guitest::PumpEvents(100);
    }
    void Fill(CReportListCtrl* list) {
        ASSERT_TRUE(list->SetColumnHeader("Name, 100; Value, 100; Type, 100; Address, 100"));
        const char* names[] = {"counter", "flags", "", "total", "index", "buffer"};
        for (int i = 0; i < 6; ++i) {
            list->InsertRow(i, {names[i], std::to_string(i * 3), "U_CHAR",
                                "D:0x0000" + std::to_string(20 + i)});
        }
        guitest::PumpEvents(50);
    }
    void Log(const char* what, int a, long b) {
        log.push_back(std::string(what) + " " + std::to_string(a) + "," + std::to_string(b));
    }
    void ClickCell(CReportListCtrl* list, int row, int column, bool twice = false) {
        wxRect cell = list->GetCellRect(row, column);
        wxUIActionSimulator simulator;
        simulator.MouseMove(
            list->GetBody()->ClientToScreen(cell.GetLeftTop() + wxPoint(30, cell.height / 2)));
        guitest::PumpEvents(30);
        if (twice)
            simulator.MouseDblClick();
        else
            simulator.MouseClick();
        guitest::PumpEvents(80);
    }
    void Key(int key) {
        wxUIActionSimulator simulator;
        simulator.Char(key);
        guitest::PumpEvents(60);
    }

    wxFrame* frame = nullptr;
    std::vector<std::string> log;
};

} // namespace

TEST_F(ReportListGuiTest, CellIsEditedInPlaceWithKeys) {
    CReportCtrl* list = new CReportCtrl;
    Show(list);
    Fill(list);
    list->SetEditAllowed(true);
    list->SetGridLines(true);
    ASSERT_EQ(list->GetItemCount(), 6);

    ClickCell(list, 3, 1); // selects the row
    EXPECT_EQ(list->GetSelectedRow(), 3);
    EXPECT_FALSE(list->IsEditing());
    ClickCell(list, 3, 1); // edits its value
    ASSERT_TRUE(list->IsEditing());
    ASSERT_NE(list->GetEditBox(), nullptr);
    EXPECT_TRUE(list->GetEditBox()->IsShown());
    EXPECT_EQ(list->GetEditBox()->GetValue(), "9");

    wxUIActionSimulator simulator;
    simulator.Text("250");
    guitest::PumpEvents(80);
    EXPECT_EQ(list->GetEditBox()->GetValue(), "250");
    EXPECT_FALSE(guitest::SaveScreenshot(list, "report_list_editing").empty());
    Key(WXK_RETURN);
    EXPECT_FALSE(list->IsEditing());
    EXPECT_FALSE(list->GetEditBox()->IsShown());
    EXPECT_EQ(list->GetItemText(3, 1), "250");
    EXPECT_EQ(log, (std::vector<std::string>{"edited 3,1", "commit key 3,1"}));

    // An edit started by a click is committed by the next click.
    log.clear();
    ClickCell(list, 3, 1);
    ASSERT_TRUE(list->IsEditing());
    simulator.Text("7");
    guitest::PumpEvents(80);
    ClickCell(list, 1, 1);
    EXPECT_EQ(list->GetItemText(3, 1), "7");
    EXPECT_EQ(log, (std::vector<std::string>{"edited 3,1", "commit mouse 3,1"}));

    // Tab moves the edit to the next column, Escape drops it.
    log.clear();
    ASSERT_TRUE(list->StartEdit(0, 0));
    guitest::PumpEvents(50);
    Key(WXK_TAB);
    EXPECT_EQ(list->GetEditRow(), 0);
    EXPECT_EQ(list->GetEditColumn(), 1);
    simulator.Text("77");
    guitest::PumpEvents(50);
    Key(WXK_ESCAPE);
    EXPECT_FALSE(list->IsEditing());
    EXPECT_EQ(list->GetItemText(0, 1), "0");
    EXPECT_TRUE(log.empty());

    // Down while editing moves to the same column one row down.
    ASSERT_TRUE(list->StartEdit(4, 1));
    guitest::PumpEvents(50);
    simulator.Text("8");
    guitest::PumpEvents(50);
    Key(WXK_DOWN);
    EXPECT_EQ(list->GetEditRow(), 5);
    EXPECT_EQ(list->GetItemText(4, 1), "8");
    EXPECT_EQ(log, (std::vector<std::string>{"edited 4,1"}));
}

TEST_F(ReportListGuiTest, HeaderClickSorts) {
    CReportCtrlAll* list = new CReportCtrlAll;
    Show(list);
    Fill(list);
    list->SetItemTextUInt(0, 4294967295u);
    EXPECT_EQ(list->GetItemText(0, 1), "4294967295");

    wxHeaderCtrlSimple* header = list->GetHeader();
    wxUIActionSimulator simulator;
    simulator.MouseMove(header->ClientToScreen(wxPoint(40, header->GetSize().y / 2)));
    guitest::PumpEvents(30);
    simulator.MouseClick();
    guitest::PumpEvents(80);
    std::vector<std::string> names;
    for (int row = 0; row < list->GetItemCount(); ++row)
        names.push_back(list->GetItemText(row, 0));
    EXPECT_EQ(names,
              (std::vector<std::string>{"", "buffer", "counter", "flags", "index", "total"}));
    EXPECT_EQ(log, (std::vector<std::string>{"sorted 0,1"}));

    // A second click on the same column reverses the order.
    simulator.MouseClick();
    guitest::PumpEvents(80);
    EXPECT_EQ(list->GetItemText(0, 0), "total");
    EXPECT_EQ(log.back(), "sorted 0,0");
}

TEST_F(ReportListGuiTest, CheckBoxesColoursAndDoubleClick) {
    CListGridCtrl* list = new CListGridCtrl;
    Show(list);
    Fill(list);
    list->SetCheckBoxes(true);
    list->SetCheckMode(controls::CheckMode::Single);
    list->SetGridLines(true);
    list->SetCellColours(1, 1, *wxRED, wxColour(255, 255, 200));
    list->SetCellColours(2, 0, *wxBLUE, *wxWHITE);
    guitest::PumpEvents(50);

    wxRect cell = list->GetCellRect(4, 0);
    wxUIActionSimulator simulator;
    simulator.MouseMove(
        list->GetBody()->ClientToScreen(cell.GetLeftTop() + wxPoint(8, cell.height / 2)));
    guitest::PumpEvents(30);
    simulator.MouseClick();
    guitest::PumpEvents(80);
    EXPECT_TRUE(list->ItemStatesMatch(4, controls::kStateChecked | controls::kStateSelected));
    EXPECT_EQ(log, (std::vector<std::string>{"checked 4,0"}));

    // Double-click: its first click selects the row, then the owner hears of
    // the selected row before the list handles the double-click.
    log.clear();
    ClickCell(list, 2, 2, true);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "activated 2,0");
    EXPECT_EQ(list->GetSelectedRow(), 2);
    EXPECT_FALSE(guitest::SaveScreenshot(list, "report_list_checks").empty());
}

TEST_F(ReportListGuiTest, RightClickSelectsTheRowAndAsksTheParentForAMenu) {
    CReportCtrl* list = new CReportCtrl;
    Show(list);
    Fill(list);
    std::vector<wxPoint> menus;
    std::vector<int> selectedAtMenu;
    frame->Bind(wxEVT_CONTEXT_MENU, [&](wxContextMenuEvent& event) {
        menus.push_back(event.GetPosition());
        selectedAtMenu.push_back(list->GetSelectedRow());
    });

    wxRect cell = list->GetCellRect(4, 1);
    wxPoint screen = list->GetBody()->ClientToScreen(cell.GetLeftTop() + wxPoint(20, 5));
    wxUIActionSimulator simulator;
    simulator.MouseMove(screen);
    guitest::PumpEvents(30);
    simulator.MouseClick(wxMOUSE_BTN_RIGHT);
    guitest::PumpEvents(100);

    // One menu request, at the click, after the click selected its row.
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_LE(std::abs(menus[0].x - screen.x), 2);
    EXPECT_LE(std::abs(menus[0].y - screen.y), 2);
    EXPECT_EQ(selectedAtMenu[0], 4);
    EXPECT_FALSE(list->IsEditing());
}

TEST_F(ReportListGuiTest, HeaderShowsItsImagesAcrossColumnChanges) {
    CReportCtrl* list = new CReportCtrl;
    Show(list);
    // A pure blue square, a colour the header itself never paints.
    wxBitmap blue(16, 16);
    {
        wxMemoryDC dc(blue);
        dc.SetBackground(wxBrush(wxColour(0, 0, 255)));
        dc.Clear();
    }
    list->SetHeaderImages({blue});
    Fill(list); // the columns are made after the images were given
    guitest::PumpEvents(100);
    EXPECT_TRUE(list->HasHeaderImage(0));
    EXPECT_FALSE(list->HasHeaderImage(1));

    // Blue pixels stand in the first column's title and nowhere else.
    wxImage shot(guitest::SaveScreenshot(list->GetHeader(), "report_list_header_images"));
    ASSERT_TRUE(shot.IsOk());
    const int firstWidth = list->GetCellRect(0, 1).x;
    int inFirst = 0, elsewhere = 0;
    for (int y = 0; y < shot.GetHeight(); ++y)
        for (int x = 0; x < shot.GetWidth(); ++x)
            if (shot.GetRed(x, y) < 40 && shot.GetGreen(x, y) < 40 && shot.GetBlue(x, y) > 215)
                ++(x < firstWidth ? inFirst : elsewhere);
    EXPECT_GE(inFirst, 100);
    EXPECT_EQ(elsewhere, 0);
}

namespace {

// Where the header draws its column separators: the pixel columns that stand
// out from the header's background in a row above the titles and in a row
// below them.
std::vector<int> HeaderSeparators(const wxImage& shot) {
    std::vector<int> separators;
    const int rows[] = {2, shot.GetHeight() - 4};
    auto brightness = [&](int x, int y) {
        return shot.GetRed(x, y) + shot.GetGreen(x, y) + shot.GetBlue(x, y);
    };
    for (int x = 1; x + 1 < shot.GetWidth(); ++x) {
        bool line = true;
        for (int y : rows)
            line = line && brightness(x, y) + 30 < brightness(x - 1, y) &&
                   brightness(x, y) + 30 < brightness(x + 1, y);
        if (line) separators.push_back(x);
    }
    return separators;
}

// The right edges of the list's columns, as its rows are drawn.
std::vector<int> ColumnEdges(CReportListCtrl* list) {
    std::vector<int> edges;
    for (int column = 0; column < list->GetColumnCount(); ++column)
        edges.push_back(list->GetCellRect(0, column).GetRight());
    return edges;
}

// Presses the left button at header x `from`, moves to `to` (no move when
// equal) and releases there.
void DragHeader(wxHeaderCtrlSimple* header, int from, int to) {
    const int y = header->GetSize().y / 2;
    wxUIActionSimulator simulator;
    simulator.MouseMove(header->ClientToScreen(wxPoint(from, y)));
    guitest::PumpEvents(50);
    simulator.MouseDown();
    guitest::PumpEvents(50);
    for (int step = 1; step <= 4 && from != to; ++step) {
        simulator.MouseMove(header->ClientToScreen(wxPoint(from + (to - from) * step / 4, y)));
        guitest::PumpEvents(30);
    }
    simulator.MouseUp();
    guitest::PumpEvents(150);
}

} // namespace

TEST_F(ReportListGuiTest, HeaderFollowsColumnResizes) {
    CReportCtrl* list = new CReportCtrl;
    Show(list);
    Fill(list);
    wxHeaderCtrlSimple* header = list->GetHeader();
    // Before any resize the header's separators stand at the columns' edges
    // (by a fixed number of pixels the theme draws them from the edge).
    const std::vector<int> before = HeaderSeparators(
        wxImage(guitest::SaveScreenshot(header, "report_list_header_before_resize")));
    std::vector<int> edges = ColumnEdges(list);
    ASSERT_EQ(before.size(), edges.size());
    const int themeOffset = before[0] - edges[0];

    // The user widens "Name", presses on the separator after " Value" a few
    // pixels off it and lets go without moving, and narrows " Type".
    DragHeader(header, edges[0] + 3, edges[0] + 61);
    EXPECT_EQ(list->GetCellRect(0, 1).x, 160);
    edges = ColumnEdges(list);
    DragHeader(header, edges[1] - 5, edges[1] - 5);
    edges = ColumnEdges(list);
    DragHeader(header, edges[2], edges[2] - 30);

    // The header draws its titles where the rows draw their cells.
    const std::vector<int> after =
        HeaderSeparators(wxImage(guitest::SaveScreenshot(header, "report_list_header_resized")));
    edges = ColumnEdges(list);
    ASSERT_EQ(after.size(), edges.size());
    for (size_t column = 0; column < edges.size(); ++column)
        EXPECT_EQ(after[column] - edges[column], themeOffset) << "column " << column;
}
