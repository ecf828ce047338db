// CListMemoryCtrl: a grid of memory cells. The report list whose column 0
// holds each row's address label and whose other cells are hexadecimal
// numbers of one width (2, 4 or 8 digits). Only the data cells are edited in
// place, and the edit box takes hexadecimal digits only. A changed cell is
// announced with wxEVT_REPORT_CELL_EDITED; Return, and the next left click
// after an edit opened by a click, with wxEVT_REPORT_COMMIT_ROW.
#pragma once

#include "report_list_ctrl.h"

#include <string>
#include <vector>

class CListMemoryCtrl : public CReportListCtrl {
public:
    CListMemoryCtrl();
    // Creates the grid with a fixed-pitch font.
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize);

    // Hexadecimal digits per cell: 2, 4 or 8.
    void SetCellWidth(int digits) { cellWidth_ = digits; }
    int GetCellWidth() const { return cellWidth_; }
    // When set, the next fill of the pane rebuilds this grid.
    void SetRefill(bool refill) { refill_ = refill; }
    bool NeedsRefill() const { return refill_; }
    // A cell of this grid was changed by an edit.
    void SetEdited(bool edited) { edited_ = edited; }
    bool IsEdited() const { return edited_; }

    // Replaces every row by `rows` (label and cells each). A running edit is
    // ended and its text kept first; the window is not redrawn meanwhile.
    void ReplaceRows(const std::vector<std::vector<std::string>>& rows);
    // Rewrites the rows' texts where they differ, keeping the rows; a grid
    // with another number of rows is rebuilt as ReplaceRows does.
    void UpdateRows(const std::vector<std::vector<std::string>>& rows);

protected:
    void PrepareEditBox(wxTextCtrl& box) override;
    // Room for the cell's digits and the box's border.
    int MinEditBoxWidth() const override;

private:
    int cellWidth_ = 8;
    bool refill_ = false;
    bool edited_ = false;
};
