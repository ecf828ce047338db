#include "list_memory_ctrl.h"

#include "gui_test.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows MemoryRows(int count, const char* cell) {
    Rows rows;
    for (int i = 0; i < count; ++i) {
        char label[16];
        std::snprintf(label, sizeof label, "0x%.6x : ", i * 16);
        rows.push_back({label, cell, cell, cell, cell});
    }
    return rows;
}

} // namespace

TEST(ListMemoryCtrlGuiTest, DataCellsTakeHexadecimalDigitsOnly) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "memory grid", wxPoint(10, 10), wxSize(460, 260));
    auto* grid = new CListMemoryCtrl;
    grid->Create(frame, 8);
    std::vector<std::string> log;
    frame->Bind(wxEVT_REPORT_CELL_EDITED, [&](wxCommandEvent& event) {
        log.push_back("edited " + std::to_string(event.GetInt()) + "," +
                      std::to_string(event.GetExtraLong()) + " " +
                      grid->GetItemText(event.GetInt(), int(event.GetExtraLong())));
    });
    frame->Bind(wxEVT_REPORT_COMMIT_ROW, [&](wxCommandEvent& event) {
        log.push_back("commit " + std::to_string(event.GetInt()));
    });
    frame->Show();
    ASSERT_TRUE(grid->SetColumnHeader("Address, 100;0123, 85;4567,85;89AB, 85;CDEF, 85"));
    grid->ReplaceRows(MemoryRows(6, "00000000"));
    grid->SetEditAllowed(true);
    guitest::PumpEvents(100);
    ASSERT_EQ(grid->GetItemCount(), 6);

    wxUIActionSimulator simulator;
    auto click = [&](int row, int column) {
        wxRect cell = grid->GetCellRect(row, column);
        simulator.MouseMove(grid->GetBody()->ClientToScreen(cell.GetLeftTop() + wxPoint(20, 6)));
        guitest::PumpEvents(30);
        simulator.MouseClick();
        guitest::PumpEvents(80);
    };
    click(2, 0);
    click(2, 0);
    EXPECT_FALSE(grid->IsEditing()) << "the address is no data cell";
    click(2, 2);
    ASSERT_TRUE(grid->IsEditing());
    simulator.Text("1g2Z-3");
    guitest::PumpEvents(80);
    EXPECT_EQ(grid->GetEditBox()->GetValue(), "123");
    EXPECT_FALSE(guitest::SaveScreenshot(grid, "memory_grid_editing").empty());
    simulator.Char(WXK_RETURN);
    guitest::PumpEvents(80);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(log, (std::vector<std::string>{"edited 2,2 123", "commit 2"}));

    // A refresh rewrites the texts in place; another row count rebuilds.
    grid->UpdateRows(MemoryRows(6, "FFFFFFFF"));
    EXPECT_EQ(grid->GetItemText(2, 2), "FFFFFFFF");
    grid->UpdateRows(MemoryRows(3, "01020304"));
    EXPECT_EQ(grid->GetItemCount(), 3);
    EXPECT_EQ(grid->GetItemText(2, 4), "01020304");
    frame->Destroy();
    guitest::PumpEvents(20);
}
