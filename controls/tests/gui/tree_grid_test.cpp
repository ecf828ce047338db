#include "combo_in_list_view.h"
#include "list_edit_ctrl.h"
#include "my_super_grid.h"

#include "gui_test.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using CItemInfo = controls::CItemInfo;

std::unique_ptr<CItemInfo> Info(const std::string& name, const std::string& kind = "",
                                const std::string& address = "") {
    auto info = std::make_unique<CItemInfo>();
    info->SetItemText(name);
    if (!kind.empty()) {
        info->AddSubItemText(kind);
        info->AddSubItemText(address);
    }
    return info;
}

class TreeGridGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, "tree grid", wxPoint(10, 10), wxSize(460, 300));
    }
    void TearDown() override {
        frame->Destroy();
        guitest::PumpEvents(20);
    }
    // The symbol pane's columns and two modules, collapsed.
    template <typename Grid> Grid* Make() {
        Grid* grid = new Grid;
        grid->Create(frame, 500);
        grid->InsertColumn(0, "Name", controls::ColumnAlign::Centre, 200);
        grid->InsertColumn(1, "Class Type", controls::ColumnAlign::Centre, 100);
        grid->InsertColumn(2, "Address", controls::ColumnAlign::Centre, 100);
        main = grid->InsertItem(Info("MAIN"));
        grid->InsertChildItem(main, Info("counter", "SYMBOL", "D:0x000021"), false);
        grid->InsertChildItem(main, Info("main", "PUBLIC", "C:0x000800"), false);
        grid->InsertChildItem(main, Info("P1", "SFRSYM", "D:0x000090"), false);
        io = grid->InsertItem(Info("IO"));
        grid->InsertChildItem(io, Info("port", "SYMBOL", "D:0x000030"), false);
        frame->Show();
        guitest::PumpEvents(100);
        return grid;
    }
    std::vector<std::string> Names(CSuperGridCtrl* grid) {
        std::vector<std::string> names;
        for (int row = 0; row < grid->GetTree().GetRowCount(); ++row)
            names.push_back(grid->GetCellText(row, 0));
        return names;
    }
    void MoveTo(CSuperGridCtrl* grid, const wxPoint& bodyPoint) {
        wxUIActionSimulator simulator;
        simulator.MouseMove(grid->GetBody()->ClientToScreen(bodyPoint));
        guitest::PumpEvents(30);
    }
    wxPoint CellPoint(CSuperGridCtrl* grid, int row, int column, int dx = 0) {
        wxRect cell = grid->GetCellRect(row, column);
        return wxPoint(cell.x + cell.width / 2 + dx, cell.y + cell.height / 2);
    }

    wxFrame* frame = nullptr;
    controls::CTreeItem* main = nullptr;
    controls::CTreeItem* io = nullptr;
};

} // namespace

TEST_F(TreeGridGuiTest, DoubleClickExpandsAndCollapses) {
    CMySuperGrid* grid = Make<CMySuperGrid>();
    grid->SetGridLines(true);
    EXPECT_EQ(Names(grid), (std::vector<std::string>{"MAIN", "IO"}));
    EXPECT_EQ(grid->GetItemImageIndex(main), CMySuperGrid::kImageCollapsed);

    wxUIActionSimulator simulator;
    MoveTo(grid, CellPoint(grid, 0, 0, 40));
    simulator.MouseDblClick();
    guitest::PumpEvents(100);
    EXPECT_EQ(Names(grid), (std::vector<std::string>{"MAIN", "counter", "main", "P1", "IO"}));
    EXPECT_EQ(grid->FindItemIndex(io), 4);
    EXPECT_EQ(grid->GetItemImageIndex(main), CMySuperGrid::kImageExpanded);
    EXPECT_EQ(grid->GetItemImageIndex(grid->GetTreeItem(1)), CMySuperGrid::kImageLeaf);
    EXPECT_EQ(grid->GetCellText(2, 2), "C:0x000800");

    // A click on the expand box of IO opens it too.
    wxRect cell = grid->GetCellRect(4, 0);
    MoveTo(grid, wxPoint(cell.x + 8, cell.y + cell.height / 2));
    simulator.MouseClick();
    guitest::PumpEvents(100);
    EXPECT_EQ(Names(grid).back(), "port");
    // Clicking a cell without a drop-down starts no edit.
    EXPECT_EQ(grid->GetBody()->GetChildren().GetCount(), 0u);
    EXPECT_FALSE(guitest::SaveScreenshot(grid, "tree_grid").empty());

    MoveTo(grid, CellPoint(grid, 0, 0, 40));
    simulator.MouseDblClick();
    guitest::PumpEvents(100);
    EXPECT_EQ(Names(grid), (std::vector<std::string>{"MAIN", "IO", "port"}));
}

TEST_F(TreeGridGuiTest, NumericPadKeysAndDelete) {
    CMySuperGrid* grid = Make<CMySuperGrid>();
    grid->SelectRow(0);
    grid->GetBody()->SetFocus();
    guitest::PumpEvents(50);
    wxUIActionSimulator simulator;
    simulator.Char(WXK_NUMPAD_ADD);
    guitest::PumpEvents(50);
    EXPECT_EQ(Names(grid).size(), 5u);
    simulator.Char(WXK_NUMPAD_SUBTRACT);
    guitest::PumpEvents(50);
    EXPECT_EQ(Names(grid).size(), 2u);
    simulator.Char(WXK_NUMPAD_MULTIPLY);
    guitest::PumpEvents(50);
    EXPECT_EQ(Names(grid).size(), 5u);
    simulator.Char(WXK_RETURN); // edits nothing in this grid
    guitest::PumpEvents(50);
    EXPECT_EQ(grid->GetBody()->GetChildren().GetCount(), 0u);
    simulator.Char(WXK_DOWN);
    simulator.Char(WXK_DELETE);
    guitest::PumpEvents(50);
    EXPECT_EQ(Names(grid), (std::vector<std::string>{"MAIN", "main", "P1", "IO"}));
    EXPECT_EQ(main->GetChildren().size(), 2u);
}

TEST_F(TreeGridGuiTest, CellTextIsEditedInPlace) {
    CSuperGridCtrl* grid = Make<CSuperGridCtrl>();
    grid->ExpandItem(main);
    int results = 0;
    grid->Bind(wxEVT_CELL_EDIT_END, [&results](CCellEditEvent& event) {
        ++results;
        event.Skip();
    });
    wxUIActionSimulator simulator;
    MoveTo(grid, CellPoint(grid, 2, 1));
    simulator.MouseClick(); // the plain grid edits every clicked cell
    guitest::PumpEvents(100);
    ASSERT_EQ(grid->GetBody()->GetChildren().GetCount(), 1u);
    auto* editor = dynamic_cast<CListEditCtrl*>(grid->GetBody()->GetChildren().front());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetValue(), "PUBLIC");
    EXPECT_EQ(editor->GetInsertionPoint(), 0);
    // Typing past the right edge widens the box, but not past the grid.
    const int startWidth = editor->GetSize().x;
    simulator.Text("PUBLIC_SYMBOL_WITH_A_VERY_LONG_NAME_THAT_DOES_NOT_FIT");
    guitest::PumpEvents(100);
    EXPECT_GT(editor->GetSize().x, startWidth);
    EXPECT_LE(editor->GetRect().GetRight(), grid->GetBody()->GetClientSize().x);
    EXPECT_FALSE(guitest::SaveScreenshot(grid, "list_edit_ctrl").empty());
    simulator.Char(WXK_RETURN);
    guitest::PumpEvents(100);
    EXPECT_EQ(grid->GetCellText(2, 1),
              "PUBLIC_SYMBOL_WITH_A_VERY_LONG_NAME_THAT_DOES_NOT_FITPUBLIC");
    EXPECT_EQ(grid->GetBody()->GetChildren().GetCount(), 0u); // the editor is gone

    // Escape keeps the cell's text.
    MoveTo(grid, CellPoint(grid, 1, 2));
    simulator.MouseClick();
    guitest::PumpEvents(100);
    ASSERT_EQ(grid->GetBody()->GetChildren().GetCount(), 1u);
    simulator.Text("xyz");
    simulator.Char(WXK_ESCAPE);
    guitest::PumpEvents(100);
    EXPECT_EQ(grid->GetCellText(1, 2), "D:0x000021");
    EXPECT_EQ(grid->GetBody()->GetChildren().GetCount(), 0u);

    // A click elsewhere ends the edit with the typed text.
    MoveTo(grid, CellPoint(grid, 3, 1));
    simulator.MouseClick();
    guitest::PumpEvents(100);
    simulator.Text("BIT");
    guitest::PumpEvents(50);
    MoveTo(grid, CellPoint(grid, 0, 2));
    simulator.MouseClick();
    guitest::PumpEvents(100);
    EXPECT_EQ(grid->GetCellText(3, 1), "BITSFRSYM");
}

TEST_F(TreeGridGuiTest, DropDownEditsACellWithChoices) {
    CMySuperGrid* grid = Make<CMySuperGrid>();
    grid->ExpandItem(main);
    CItemInfo* info = grid->GetTreeItem(1)->GetInfo();
    info->SetControlType(0, CItemInfo::combobox);
    info->SetListData(0, {"SYMBOL", "PUBLIC", "SFRSYM"});
    std::vector<std::string> results;
    grid->Bind(wxEVT_CELL_EDIT_END, [&results](CCellEditEvent& event) {
        results.push_back(event.IsCancelled() ? "(cancelled)" : event.GetText());
        event.Skip();
    });
    wxUIActionSimulator simulator;
    MoveTo(grid, CellPoint(grid, 1, 1));
    simulator.MouseClick();
    guitest::PumpEvents(150);
    ASSERT_EQ(grid->GetBody()->GetChildren().GetCount(), 1u);
    auto* combo = dynamic_cast<CComboInListView*>(grid->GetBody()->GetChildren().front());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetSelection(), 0); // the cell's own text
    EXPECT_FALSE(guitest::SaveScreenshot(grid, "combo_in_list_view").empty());
    // Choosing another entry and closing the list sends it once.
    combo->SetSelection(2);
    combo->Dismiss();
    guitest::PumpEvents(150);
    grid->GetBody()->SetFocus();
    guitest::PumpEvents(150);
    EXPECT_EQ(results, (std::vector<std::string>{"SFRSYM"}));
    EXPECT_EQ(grid->GetCellText(1, 1), "SFRSYM");
    EXPECT_EQ(grid->GetBody()->GetChildren().GetCount(), 0u);

    // A cell whose text is none of the choices opens with nothing selected;
    // closing the list then sends nothing.
    CItemInfo* other = grid->GetTreeItem(2)->GetInfo();
    other->SetControlType(0, CItemInfo::combobox);
    other->SetListData(0, {"SYMBOL", "SFRSYM"});
    MoveTo(grid, CellPoint(grid, 2, 1));
    simulator.MouseClick();
    guitest::PumpEvents(150);
    ASSERT_EQ(grid->GetBody()->GetChildren().GetCount(), 1u);
    combo = dynamic_cast<CComboInListView*>(grid->GetBody()->GetChildren().front());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetSelection(), wxNOT_FOUND);
    combo->Dismiss();
    guitest::PumpEvents(150);
    grid->GetBody()->SetFocus();
    guitest::PumpEvents(150);
    EXPECT_EQ(results.size(), 1u);
    EXPECT_EQ(grid->GetCellText(2, 1), "PUBLIC");
    EXPECT_EQ(grid->GetBody()->GetChildren().GetCount(), 0u);
}

TEST_F(TreeGridGuiTest, DraggingAnItemOntoAnotherMovesIt) {
    CMySuperGrid* grid = Make<CMySuperGrid>();
    grid->ExpandItem(main);
    grid->ExpandItem(io);
    ASSERT_EQ(Names(grid),
              (std::vector<std::string>{"MAIN", "counter", "main", "P1", "IO", "port"}));
    wxUIActionSimulator simulator;
    MoveTo(grid, CellPoint(grid, 1, 0, 30));
    simulator.MouseDown();
    guitest::PumpEvents(50);
    for (int step = 1; step <= 6; ++step) {
        MoveTo(grid, CellPoint(grid, 1, 0, 30) + wxPoint(0, step * (grid->GetRowHeight() * 3 / 6)));
    }
    EXPECT_TRUE(grid->IsDragging());
    MoveTo(grid, CellPoint(grid, 4, 0, 30));
    simulator.MouseUp();
    guitest::PumpEvents(100);
    EXPECT_FALSE(grid->IsDragging());
    EXPECT_EQ(Names(grid),
              (std::vector<std::string>{"MAIN", "main", "P1", "IO", "port", "counter"}));
    EXPECT_EQ(grid->GetCellText(5, 1), "SYMBOL"); // the info was copied
    EXPECT_EQ(grid->GetSelectedRow(), 3);

    // A root item cannot be dragged anywhere.
    MoveTo(grid, CellPoint(grid, 0, 0, 30));
    simulator.MouseDown();
    guitest::PumpEvents(50);
    for (int step = 1; step <= 6; ++step)
        MoveTo(grid, CellPoint(grid, 0, 0, 30) + wxPoint(0, step * grid->GetRowHeight() / 2));
    simulator.MouseUp();
    guitest::PumpEvents(100);
    EXPECT_EQ(Names(grid),
              (std::vector<std::string>{"MAIN", "main", "P1", "IO", "port", "counter"}));
}

TEST_F(TreeGridGuiTest, AnExpandAboveTheDraggedItemStillDropsThatItem) {
    CMySuperGrid* grid = Make<CMySuperGrid>();
    grid->ExpandItem(io);
    ASSERT_EQ(Names(grid), (std::vector<std::string>{"MAIN", "IO", "port"}));
    controls::CTreeItem* port = io->GetChildren().front().get();
    wxUIActionSimulator simulator;
    MoveTo(grid, CellPoint(grid, 2, 0, 30));
    simulator.MouseDown();
    guitest::PumpEvents(50);
    for (int step = 1; step <= 6; ++step)
        MoveTo(grid, CellPoint(grid, 2, 0, 30) - wxPoint(0, step * grid->GetRowHeight() / 3));
    ASSERT_TRUE(grid->IsDragging());
    // Resting on the collapsed MAIN lets the drag timer open it: its three
    // children now stand above the dragged row.
    MoveTo(grid, CellPoint(grid, 0, 0, 30));
    guitest::PumpEvents(700);
    ASSERT_EQ(Names(grid),
              (std::vector<std::string>{"MAIN", "counter", "main", "P1", "IO", "port"}));
    EXPECT_EQ(port->GetRow(), 5);
    // Dropped on "counter", the item dragged moves: "port", not the row's
    // new occupant "main".
    MoveTo(grid, CellPoint(grid, 1, 0, 30));
    simulator.MouseUp();
    guitest::PumpEvents(100);
    EXPECT_FALSE(grid->IsDragging());
    EXPECT_TRUE(io->GetChildren().empty());
    ASSERT_EQ(main->GetChildren().size(), 3u);
    EXPECT_EQ(main->GetChildren()[1]->GetInfo()->GetItemText(), "main");
    const controls::CTreeItem* counter = main->GetChildren()[0].get();
    ASSERT_EQ(counter->GetChildren().size(), 1u);
    EXPECT_EQ(counter->GetChildren()[0]->GetInfo()->GetItemText(), "port");
}

TEST_F(TreeGridGuiTest, RightClickSelectsTheRowAndAsksTheParentForAMenu) {
    CMySuperGrid* grid = Make<CMySuperGrid>();
    int menus = 0;
    int selectedAtMenu = -1;
    frame->Bind(wxEVT_CONTEXT_MENU, [&](wxContextMenuEvent&) {
        ++menus;
        selectedAtMenu = grid->GetSelectedRow();
    });
    MoveTo(grid, CellPoint(grid, 1, 1));
    wxUIActionSimulator simulator;
    simulator.MouseClick(wxMOUSE_BTN_RIGHT);
    guitest::PumpEvents(100);
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(selectedAtMenu, 1);
    // A right click below the last row still reaches the owner.
    MoveTo(grid, wxPoint(20, grid->GetBody()->GetClientSize().y - 5));
    simulator.MouseClick(wxMOUSE_BTN_RIGHT);
    guitest::PumpEvents(100);
    EXPECT_EQ(menus, 2);
}
