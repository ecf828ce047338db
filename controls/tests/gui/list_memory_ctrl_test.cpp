#include "list_memory_ctrl.h"

#include "gui_test.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

#include <string>
#include <vector>

TEST(ListMemoryCtrlGuiTest, OnlyDataCellsAreEditedAndOnlyWithHexadecimalDigits) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "memory grid", wxPoint(10, 10), wxSize(460, 260));
    auto* grid = new CListMemoryCtrl;
    grid->Create(frame, 8);
    std::vector<std::string> log;
    frame->Bind(wxEVT_REPORT_CELL_EDITED, [&](wxCommandEvent& event) {
        log.push_back(grid->GetItemText(event.GetInt(), int(event.GetExtraLong())));
    });
    frame->Show();
    ASSERT_TRUE(grid->SetColumnHeader("Address, 100;0123, 85;4567,85;89AB, 85;CDEF, 85"));
    std::vector<std::vector<std::string>> rows;
    for (const char* label : {"0x000000 : ", "0x000010 : ", "0x000020 : "})
        rows.push_back({label, "00000000", "00000000", "00000000", "00000000"});
    grid->ReplaceRows(rows);
    grid->SetEditAllowed(true);
    guitest::PumpEvents(100);

    wxUIActionSimulator simulator;
    for (int column : {0, 0, 2}) { // select, then the address (no edit), then a cell
        const wxRect cell = grid->GetCellRect(2, column);
        simulator.MouseMove(grid->GetBody()->ClientToScreen(cell.GetLeftTop() + wxPoint(20, 6)));
        EXPECT_FALSE(grid->IsEditing());
        simulator.MouseClick();
        guitest::PumpEvents(100);
    }
    ASSERT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->GetEditColumn(), 2);
    simulator.Text("1g2Z-3");
    guitest::PumpEvents(80);
    EXPECT_EQ(grid->GetEditBox()->GetValue(), "123");
    EXPECT_FALSE(guitest::SaveScreenshot(grid, "memory_grid_editing").empty());
    simulator.Char(WXK_RETURN);
    guitest::PumpEvents(80);
    EXPECT_EQ(log, std::vector<std::string>{"123"});

    // A refresh rewrites texts in place and keeps the rows.
    rows[2][2] = "FFFFFFFF";
    grid->UpdateRows(rows);
    EXPECT_EQ(grid->GetItemText(2, 2), "FFFFFFFF");
    EXPECT_EQ(grid->GetItemCount(), 3);
    frame->Destroy();
    guitest::PumpEvents(20);
}
