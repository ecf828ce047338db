// CReportListCtrl: the editable report list of the information panes, with a
// column specification, per-cell colours, in-place editing of single cells,
// check boxes in four modes and sorting by a clicked column. What the four
// panes' lists do differently is a controls::ReportListPolicy (report_ctrls.h
// names the four lists). It tells its parent through the wxEVT_REPORT_*
// events of control_events.h.
#pragma once

#include "control_events.h"
#include "report_list_base.h"
#include "report_list_model.h"

#include <wx/textctrl.h>

#include <optional>
#include <string>
#include <vector>

class CReportListCtrl : public CReportListBase, private controls::ReportListObserver {
public:
    explicit CReportListCtrl(const controls::ReportListPolicy& policy);
    CReportListCtrl(wxWindow* parent, wxWindowID id, const controls::ReportListPolicy& policy,
                    const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize);
    ~CReportListCtrl() override;

    // Columns. SetColumnHeader takes a specification such as
    // "Name, 100; Value, 100"; it removes every row and column first and is
    // true when at least one column was made.
    bool SetColumnHeader(const std::string& spec);
    int InsertColumn(int index, const std::string& name, controls::ColumnAlign align, int width);
    bool DeleteColumn(int index);
    void DeleteAllColumns();
    int GetColumnCount() const { return model_.GetColumnCount(); }

    // Rows. InsertRow sets the texts of columns 0, 1, ... and returns the new
    // row's index (-1 when it failed).
    int InsertRow(int index, const std::vector<std::string>& texts);
    bool SetItemText(int row, int column, const std::string& text);
    std::string GetItemText(int row, int column) const { return model_.GetItemText(row, column); }
    int DeleteAllItems();
    int GetItemCount() const { return model_.GetRowCount(); }
    // The row's colours and item data (null for a row that does not exist).
    controls::RowRecord* GetRowRecord(int row);
    void SetCellColours(int row, int column, const wxColour& text, const wxColour& background);

    // Item states (controls::ItemStateBits).
    unsigned GetItemStates(int row) const { return model_.GetItemStates(row); }
    bool ItemStatesMatch(int row, unsigned bits) const { return model_.ItemStatesMatch(row, bits); }
    bool SetItemStates(int row, unsigned bits);
    void SetAllItemStates(unsigned having, unsigned set);
    int GetSelectedRow() const { return model_.GetSelectedRow(); }

    // Set by the owning pane.
    void SetCheckMode(controls::CheckMode mode) { model_.SetCheckMode(mode); }
    controls::CheckMode GetCheckMode() const { return model_.GetCheckMode(); }
    void SetCheckBoxes(bool shown) { model_.SetCheckBoxes(shown); }
    void SetEditAllowed(bool allowed) { model_.SetEditAllowed(allowed); }
    bool IsEditAllowed() const { return model_.IsEditAllowed(); }
    void SetSeparatorText(const std::optional<std::string>& text) { model_.SetSeparatorText(text); }
    void SetHeaderClickable(bool clickable) { model_.SetHeaderClickable(clickable); }

    // In-place editing.
    bool StartEdit(int row, int column) { return model_.StartEdit(row, column); }
    bool EndEdit(bool update) { return model_.EndEdit(update); }
    bool IsEditing() const { return model_.IsEditing(); }
    int GetEditRow() const { return model_.GetEditRow(); }
    int GetEditColumn() const { return model_.GetEditColumn(); }
    // The edit box while an edit runs (null before the first edit).
    wxTextCtrl* GetEditBox() const { return editBox_; }

    // Sorting.
    bool SortItems(int column, bool ascending) { return model_.SortItems(column, ascending); }
    int GetSortColumn() const { return model_.GetSortColumn(); }
    bool IsSortAscending() const { return model_.IsSortAscending(); }

    const controls::ReportListModel& GetModel() const { return model_; }

protected:
    int GetRowCount() const override { return model_.GetRowCount(); }
    void DrawRow(wxDC& dc, int row, const wxRect& rect) override;
    void OnHeaderClicked(int column) override;
    void OnColumnResized(int column, int width) override;
    void OnBodyMouse(wxMouseEvent& event) override;
    void OnBodyKeyDown(wxKeyEvent& event) override;
    void OnBodyScrolled() override;
    // A new edit box was made (one per column alignment, kept for the list's life).
    virtual void PrepareEditBox(wxTextCtrl& WXUNUSED(box)) {}
    // The narrowest the edit box may be, when its cell is narrower.
    virtual int MinEditBoxWidth() const { return 0; }

private:
    // controls::ReportListObserver
    bool ShowEditBox(int row, int column) override;
    void HideEditBox() override;
    void CheckChanged(int row, controls::MouseButton cause) override;
    void Sorted(int column, bool ascending) override;
    void CellEdited(int row, int column) override;
    void CommitRow(int row, int column) override;
    void RowActivated(int row) override;
    void ContentChanged() override;

    void SendEvent(wxEventType type, int number, long extra);
    void PlaceEditBox();
    void OnCharHook(wxKeyEvent& event);
    wxRect CheckBoxRect(const wxRect& cell) const;

    controls::ReportListModel model_;
    wxTextCtrl* editBox_ = nullptr;                          // the box of the running or last edit
    wxTextCtrl* editBoxes_[3] = {nullptr, nullptr, nullptr}; // by alignment
    controls::ColumnAlign editAlign_ = controls::ColumnAlign::Left;
    bool updatePending_ = false;
};
