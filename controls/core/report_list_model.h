// The display-free state of a report list: columns, rows with their records
// and states, the check modes, the in-place edit session, the pending commit
// and the sort. A view draws it and feeds it clicks and keys; the model tells
// the view through ReportListObserver what to show and what to announce.
#pragma once

#include "column_format.h"
#include "report_list_policy.h"
#include "report_list_types.h"

#include <optional>
#include <string>
#include <vector>

namespace controls {

class ReportListObserver {
public:
    virtual ~ReportListObserver() = default;
    // An edit of (row, column) starts with the model's edit text; false when
    // the edit box cannot be shown, which leaves the edit not started.
    virtual bool ShowEditBox(int row, int column) = 0;
    virtual void HideEditBox() = 0;
    // A click changed a row's check box (check modes 1 and 2).
    virtual void CheckChanged(int row, MouseButton cause) = 0;
    // A sort finished.
    virtual void Sorted(int column, bool ascending) = 0;
    // An in-place edit ended with a changed text.
    virtual void CellEdited(int row, int column) = 0;
    // The owner should write the row's edited cell to the target.
    virtual void CommitRow(int row, int column) = 0;
    // A double-click is about to be handled on the selected row (-1: none).
    virtual void RowActivated(int row) = 0;
    // Rows, columns, texts or states changed: redraw.
    virtual void ContentChanged() = 0;
};

class ReportListModel {
public:
    explicit ReportListModel(ReportListPolicy policy = {});

    // Null detaches the view; the model then runs silently.
    void SetObserver(ReportListObserver* observer);
    const ReportListPolicy& Policy() const { return policy_; }
    // The colours a new row record starts with.
    void SetDefaultColours(Rgb text, Rgb background);

    // Columns.
    bool SetColumnHeader(const std::string& spec);
    int InsertColumn(int index, const ColumnSpec& column);
    bool DeleteColumn(int index);
    void DeleteAllColumns();
    int GetColumnCount() const { return static_cast<int>(columns_.size()); }
    const ColumnSpec& GetColumn(int index) const { return columns_[index]; }
    void SetColumnWidth(int index, int width);

    // Rows. Texts beyond the last column are ignored.
    int InsertRow(int index, const std::vector<std::string>& texts);
    bool SetItemText(int row, int column, const std::string& text);
    std::string GetItemText(int row, int column) const;
    int DeleteAllItems();
    int GetRowCount() const { return static_cast<int>(rows_.size()); }
    const ReportRow& GetRow(int row) const { return rows_[row]; }
    RowRecord* GetRowRecord(int row);
    bool IsValidCell(int row, int column) const;

    // Item states (ItemStateBits).
    unsigned GetItemStates(int row) const;
    bool ItemStatesMatch(int row, unsigned bits) const;
    bool SetItemStates(int row, unsigned bits);
    void SetAllItemStates(unsigned having, unsigned set);
    int GetSelectedRow() const; // the first selected row, -1 when none
    int GetFocusedRow() const;
    // Deselects every row, then selects and focuses `row`.
    void SelectOnly(int row);

    // Settings made by the owning pane.
    void SetCheckMode(CheckMode mode) { checkMode_ = mode; }
    CheckMode GetCheckMode() const { return checkMode_; }
    void SetCheckBoxes(bool shown);
    bool HasCheckBoxes() const { return checkBoxes_; }
    void SetEditAllowed(bool allowed);
    bool IsEditAllowed() const { return editAllowed_; }
    void SetSeparatorText(std::optional<std::string> separator) { separator_ = separator; }
    void SetHeaderClickable(bool clickable) { headerClickable_ = clickable; }
    bool IsHeaderClickable() const { return headerClickable_; }

    // The in-place edit. The view keeps the edit text up to date.
    bool StartEdit(int row, int column);
    bool EndEdit(bool update);
    bool IsEditing() const;
    int GetEditRow() const { return editRow_; }
    int GetEditColumn() const { return editColumn_; }
    void SetEditText(const std::string& text) { editText_ = text; }
    const std::string& GetEditText() const { return editText_; }
    bool IsCommitPending() const { return commitPending_; }

    // Sorting.
    bool SortItems(int column, bool ascending);
    void OnColumnClick(int column);
    int GetSortColumn() const { return sortColumn_; }
    bool IsSortAscending() const { return sortAscending_; }

    // Input. HandleMouseButton runs the whole click: ending an edit, the
    // list's own selection and check-box toggling, the pending commit, the
    // check modes and starting an edit. HandleKey answers whether the key
    // is eaten; keys not eaten go on to the edit box or the list.
    void HandleMouseButton(MouseButton button, const CellHit& hit);
    bool HandleKey(EditKey key);

private:
    void MarkUnsorted();
    void Changed();
    void DefaultButtonProcessing(MouseButton button, const CellHit& hit);
    void UncheckAllBut(int row);
    bool StartEditFromClick(int row, int column);
    bool ValidRow(int row) const { return row >= 0 && row < GetRowCount(); }

    ReportListPolicy policy_;
    ReportListObserver* observer_ = nullptr;
    Rgb defaultText_{0, 0, 0};
    Rgb defaultBackground_{255, 255, 255};

    std::vector<ColumnSpec> columns_;
    std::vector<ReportRow> rows_;

    int clickRow_ = -1;
    int clickColumn_ = -1;
    bool commitPending_ = false;
    std::optional<std::string> separator_;
    bool editAllowed_ = false;
    int editRow_ = -1;
    int editColumn_ = -1;
    std::string editText_;
    CheckMode checkMode_ = CheckMode::Free;
    bool checkBoxes_ = false;
    bool headerClickable_ = true;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
};

} // namespace controls
