#include "report_list_model.h"

#include "row_sort.h"

#include <algorithm>
#include <utility>

namespace controls {
namespace {

// Stands in while no view is attached, so the model can run headless.
class SilentObserver : public ReportListObserver {
public:
    bool ShowEditBox(int, int) override { return true; }
    void HideEditBox() override {}
    void CheckChanged(int, MouseButton) override {}
    void Sorted(int, bool) override {}
    void CellEdited(int, int) override {}
    void CommitRow(int, int) override {}
    void RowActivated(int) override {}
    void ContentChanged() override {}
};

SilentObserver silentObserver;

} // namespace

ReportListModel::ReportListModel(ReportListPolicy policy)
    : policy_(policy), observer_(&silentObserver) {}

void ReportListModel::SetObserver(ReportListObserver* observer) {
    observer_ = observer ? observer : &silentObserver;
}

void ReportListModel::SetDefaultColours(Rgb text, Rgb background) {
    defaultText_ = text;
    defaultBackground_ = background;
}

// ---- columns ----

bool ReportListModel::SetColumnHeader(const std::string& spec) {
    DeleteAllItems();
    DeleteAllColumns();
    EndEdit(true);
    int inserted = 0;
    for (const ColumnSpec& column : ParseColumnSpec(spec)) {
        if (InsertColumn(GetColumnCount(), column) >= 0) ++inserted;
    }
    return inserted > 0;
}

int ReportListModel::InsertColumn(int index, const ColumnSpec& column) {
    EndEdit(true);
    if (index < 0) return -1;
    index = std::min(index, GetColumnCount());
    columns_.insert(columns_.begin() + index, column);
    for (ReportRow& row : rows_) {
        row.texts.insert(row.texts.begin() + index, std::string());
        row.record.textColours.insert(row.record.textColours.begin() + index, defaultText_);
        row.record.backgroundColours.insert(row.record.backgroundColours.begin() + index,
                                            defaultBackground_);
    }
    Changed();
    return index;
}

bool ReportListModel::DeleteColumn(int index) {
    EndEdit(true);
    if (index < 0 || index >= GetColumnCount()) return false;
    columns_.erase(columns_.begin() + index);
    for (ReportRow& row : rows_) {
        row.texts.erase(row.texts.begin() + index);
        row.record.textColours.erase(row.record.textColours.begin() + index);
        row.record.backgroundColours.erase(row.record.backgroundColours.begin() + index);
    }
    Changed();
    return true;
}

void ReportListModel::DeleteAllColumns() {
    while (GetColumnCount() > 0)
        DeleteColumn(0);
}

void ReportListModel::SetColumnWidth(int index, int width) {
    if (index >= 0 && index < GetColumnCount()) columns_[index].width = width;
}

// ---- rows ----

int ReportListModel::InsertRow(int index, const std::vector<std::string>& texts) {
    EndEdit(true);
    MarkUnsorted();
    if (index < 0) return -1;
    index = std::min(index, GetRowCount());
    ReportRow row;
    row.texts.assign(columns_.size(), std::string());
    for (std::size_t i = 0; i < texts.size() && i < columns_.size(); ++i)
        row.texts[i] = texts[i];
    row.record.textColours.assign(columns_.size(), defaultText_);
    row.record.backgroundColours.assign(columns_.size(), defaultBackground_);
    rows_.insert(rows_.begin() + index, std::move(row));
    // Rows at and below the new one moved down by one.
    if (clickRow_ >= index) ++clickRow_;
    Changed();
    return index;
}

bool ReportListModel::SetItemText(int row, int column, const std::string& text) {
    if (!IsValidCell(row, column)) return false;
    EndEdit(true);
    MarkUnsorted();
    if (!IsValidCell(row, column)) return false; // the edit's listeners may have changed rows
    rows_[row].texts[column] = text;
    Changed();
    return true;
}

std::string ReportListModel::GetItemText(int row, int column) const {
    return IsValidCell(row, column) ? rows_[row].texts[column] : std::string();
}

int ReportListModel::DeleteAllItems() {
    EndEdit(false);
    // A commit left pending by an edit belongs to rows that are gone.
    commitPending_ = false;
    clickRow_ = -1;
    clickColumn_ = -1;
    int count = GetRowCount();
    rows_.clear();
    Changed();
    return count;
}

RowRecord* ReportListModel::GetRowRecord(int row) {
    return ValidRow(row) ? &rows_[row].record : nullptr;
}

bool ReportListModel::IsValidCell(int row, int column) const {
    return ValidRow(row) && column >= 0 && column < GetColumnCount();
}

// ---- states ----

unsigned ReportListModel::GetItemStates(int row) const {
    if (!ValidRow(row)) return 0;
    const ReportRow& r = rows_[row];
    return (r.selected ? kStateSelected : kStateNotSelected) |
           (r.checked ? kStateChecked : kStateNotChecked) |
           (r.focused ? kStateFocused : kStateNotFocused);
}

bool ReportListModel::ItemStatesMatch(int row, unsigned bits) const {
    if (!ValidRow(row)) return false;
    if (bits & kStateAny) return true;
    return (GetItemStates(row) & bits) == bits;
}

bool ReportListModel::SetItemStates(int row, unsigned bits) {
    const unsigned known = kStateSelected | kStateNotSelected | kStateChecked | kStateNotChecked |
                           kStateFocused | kStateNotFocused;
    if (!ValidRow(row) || (bits & known) == 0) return false;
    ReportRow& r = rows_[row];
    if (bits & kStateSelected) r.selected = true;
    if (bits & kStateNotSelected) r.selected = false;
    if (bits & kStateChecked) {
        // In check mode 2 a row checked from code is the only checked row.
        if (checkMode_ == CheckMode::Single) UncheckAllBut(row);
        r.checked = true;
    }
    if (bits & kStateNotChecked) r.checked = false;
    if (bits & kStateFocused) {
        for (ReportRow& other : rows_)
            other.focused = false;
        r.focused = true;
    }
    if (bits & kStateNotFocused) r.focused = false;
    Changed();
    return true;
}

void ReportListModel::SetAllItemStates(unsigned having, unsigned set) {
    for (int row = 0; row < GetRowCount(); ++row) {
        if (ItemStatesMatch(row, having)) SetItemStates(row, set);
    }
}

int ReportListModel::GetSelectedRow() const {
    for (int row = 0; row < GetRowCount(); ++row) {
        if (rows_[row].selected) return row;
    }
    return -1;
}

int ReportListModel::GetFocusedRow() const {
    for (int row = 0; row < GetRowCount(); ++row) {
        if (rows_[row].focused) return row;
    }
    return -1;
}

void ReportListModel::SelectOnly(int row) {
    for (ReportRow& r : rows_)
        r.selected = r.focused = false;
    if (ValidRow(row)) rows_[row].selected = rows_[row].focused = true;
    Changed();
}

void ReportListModel::UncheckAllBut(int row) {
    for (int other = 0; other < GetRowCount(); ++other) {
        if (other != row) rows_[other].checked = false;
    }
}

void ReportListModel::SetCheckBoxes(bool shown) {
    checkBoxes_ = shown;
    Changed();
}

void ReportListModel::SetEditAllowed(bool allowed) {
    if (!allowed) EndEdit(true);
    editAllowed_ = allowed;
}

// ---- editing ----

bool ReportListModel::IsEditing() const {
    return editAllowed_ && IsValidCell(editRow_, editColumn_);
}

bool ReportListModel::StartEdit(int row, int column) {
    if (!editAllowed_ || !IsValidCell(row, column)) return false;
    if (column < policy_.FirstEditableColumn()) return false;
    if (IsEditing() && row == editRow_ && column == editColumn_) return true;
    EndEdit(true);
    if (!IsValidCell(row, column)) return false;
    editRow_ = row;
    editColumn_ = column;
    editText_ = rows_[row].texts[column];
    SelectOnly(row);
    if (!observer_->ShowEditBox(row, column)) {
        editRow_ = editColumn_ = -1;
        return false;
    }
    return true;
}

bool ReportListModel::EndEdit(bool update) {
    if (!IsEditing()) return false;
    const int row = editRow_;
    const int column = editColumn_;
    // The session is over before anyone hears of it, so a listener that
    // changes the list does not find the edit still running.
    editRow_ = editColumn_ = -1;
    if (!update) commitPending_ = false;
    observer_->HideEditBox();
    if (!update || editText_ == rows_[row].texts[column]) return false;
    rows_[row].texts[column] = editText_;
    MarkUnsorted();
    Changed();
    observer_->CellEdited(row, column);
    return true;
}

// ---- sorting ----

bool ReportListModel::SortItems(int column, bool ascending) {
    EndEdit(true);
    if (column < 0 || column >= GetColumnCount() || !headerClickable_) return false;
    sortColumn_ = column;
    sortAscending_ = ascending;
    std::vector<std::string> texts;
    texts.reserve(rows_.size());
    for (const ReportRow& row : rows_)
        texts.push_back(row.texts[column]);
    std::vector<int> order = SortedRowOrder(texts, ascending, separator_);
    std::vector<ReportRow> sorted;
    sorted.reserve(rows_.size());
    int newClickRow = -1;
    for (std::size_t place = 0; place < order.size(); ++place) {
        if (order[place] == clickRow_) newClickRow = static_cast<int>(place);
        sorted.push_back(std::move(rows_[order[place]]));
    }
    rows_ = std::move(sorted);
    // A pending commit follows its row to the new place.
    clickRow_ = newClickRow;
    Changed();
    observer_->Sorted(column, ascending);
    return true;
}

void ReportListModel::OnColumnClick(int column) {
    bool ascending = column == sortColumn_ ? !sortAscending_ : true;
    SortItems(column, ascending);
}

void ReportListModel::MarkUnsorted() {
    sortColumn_ = -1;
    sortAscending_ = true;
}

void ReportListModel::Changed() {
    observer_->ContentChanged();
}

// ---- input ----

void ReportListModel::DefaultButtonProcessing(MouseButton button, const CellHit& hit) {
    if (button == MouseButton::MiddleDown || button == MouseButton::MiddleDoubleClick) return;
    if (!ValidRow(hit.row)) {
        SelectOnly(-1);
        return;
    }
    if (IsLeftButton(button) && hit.onCheckBox && checkBoxes_) {
        rows_[hit.row].checked = !rows_[hit.row].checked;
        Changed();
        return;
    }
    SelectOnly(hit.row);
}

void ReportListModel::HandleMouseButton(MouseButton button, const CellHit& hit) {
    if (button == MouseButton::LeftDoubleClick && policy_.announcesDoubleClick)
        observer_->RowActivated(GetSelectedRow());

    const bool left = IsLeftButton(button);
    const int row = hit.row;
    const bool rowExisted = ValidRow(row);
    const bool wasChecked = rowExisted && rows_[row].checked;
    const bool wasEditing = IsEditing();
    const bool wasSelectedAndFocused =
        left && rowExisted && rows_[row].selected && rows_[row].focused;

    EndEdit(true);
    DefaultButtonProcessing(button, hit);

    if (button == MouseButton::LeftDown && policy_.commitsRows && commitPending_) {
        commitPending_ = false;
        observer_->CommitRow(clickRow_, clickColumn_);
    }

    // The owner's commit may have rebuilt the rows: only the same row counts.
    if (!rowExisted || !ValidRow(row)) return;
    bool checkHandled = false;
    if (checkMode_ != CheckMode::None && rows_[row].checked != wasChecked) {
        if (checkMode_ == CheckMode::Locked) {
            rows_[row].checked = wasChecked;
            Changed();
            return;
        }
        if (checkMode_ == CheckMode::Single && rows_[row].checked) UncheckAllBut(row);
        SelectOnly(row);
        observer_->CheckChanged(row, button);
        checkHandled = true;
    }

    if (!left || !editAllowed_ || checkHandled || wasEditing || !wasSelectedAndFocused) return;
    if (ValidRow(row)) StartEditFromClick(row, hit.column);
}

bool ReportListModel::StartEditFromClick(int row, int column) {
    using MouseEdit = ReportListPolicy::MouseEdit;
    const bool named = !rows_[row].texts.empty() && !rows_[row].texts[0].empty();
    bool editable = false;
    switch (policy_.mouseEdit) {
    case MouseEdit::Never:
        break;
    case MouseEdit::NameOrValue:
        editable = column == 0 || (column == 1 && named);
        break;
    case MouseEdit::ValueOfNamed:
        editable = column == 1 && named;
        break;
    case MouseEdit::FirstColumn:
        editable = column == 0;
        break;
    case MouseEdit::DataCells:
        editable = column > 0;
        break;
    }
    if (!editable || !StartEdit(row, column)) return false;
    if (policy_.commitsRows) {
        clickRow_ = row;
        clickColumn_ = column;
        commitPending_ = true;
    }
    return true;
}

bool ReportListModel::HandleKey(EditKey key) {
    if (!policy_.handlesEditKeys) return false;
    if (!IsEditing()) {
        if (key == EditKey::Space) return true;
        if (key == EditKey::Delete && policy_.deleteClearsRow) {
            int row = GetSelectedRow();
            for (int column = 0; column < 4 && column < GetColumnCount(); ++column)
                SetItemText(row, column, std::string());
        }
        return false;
    }
    const int row = editRow_;
    const int column = editColumn_;
    switch (key) {
    case EditKey::Tab:
        EndEdit(true);
        StartEdit(row, column + 1 < GetColumnCount() ? column + 1 : policy_.FirstEditableColumn());
        return true;
    case EditKey::Return:
        EndEdit(true);
        commitPending_ = false;
        if (policy_.commitsRows) observer_->CommitRow(row, column);
        return true;
    case EditKey::Escape:
        EndEdit(false);
        return true;
    case EditKey::Up:
        if (row > 0) {
            EndEdit(true);
            StartEdit(row - 1, column);
        }
        return true;
    case EditKey::Down:
        if (row < GetRowCount() - 1) {
            EndEdit(true);
            StartEdit(row + 1, column);
        }
        return true;
    default:
        return false;
    }
}

} // namespace controls
