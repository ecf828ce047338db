#include "report_list_ctrl.h"

#include "display_text.h"

#include <wx/dc.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include <algorithm>

namespace {

controls::Rgb ToRgb(const wxColour& colour) {
    return {colour.Red(), colour.Green(), colour.Blue()};
}

wxColour ToColour(const controls::Rgb& rgb) {
    return wxColour(rgb.red, rgb.green, rgb.blue);
}

long EditBoxAlignStyle(controls::ColumnAlign align) {
    switch (align) {
    case controls::ColumnAlign::Centre:
        return wxTE_CENTRE;
    case controls::ColumnAlign::Right:
        return wxTE_RIGHT;
    default:
        return wxTE_LEFT;
    }
}

controls::EditKey ToEditKey(int keyCode) {
    switch (keyCode) {
    case WXK_TAB:
        return controls::EditKey::Tab;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        return controls::EditKey::Return;
    case WXK_ESCAPE:
        return controls::EditKey::Escape;
    case WXK_UP:
    case WXK_NUMPAD_UP:
        return controls::EditKey::Up;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
        return controls::EditKey::Down;
    case WXK_SPACE:
        return controls::EditKey::Space;
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE:
        return controls::EditKey::Delete;
    default:
        return controls::EditKey::Other;
    }
}

} // namespace

CReportListCtrl::CReportListCtrl(const controls::ReportListPolicy& policy) : model_(policy) {}

CReportListCtrl::CReportListCtrl(wxWindow* parent, wxWindowID id,
                                 const controls::ReportListPolicy& policy, const wxPoint& pos,
                                 const wxSize& size)
    : model_(policy) {
    Create(parent, id, pos, size);
}

bool CReportListCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                             const wxSize& size) {
    if (!CReportListBase::Create(parent, id, pos, size)) return false;
    model_.SetDefaultColours(ToRgb(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT)),
                             ToRgb(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
    model_.SetObserver(this);
    Bind(wxEVT_CHAR_HOOK, &CReportListCtrl::OnCharHook, this);
    return true;
}

CReportListCtrl::~CReportListCtrl() {
    model_.SetObserver(nullptr);
}

// ---- columns and rows ----

namespace {

std::vector<controls::ColumnSpec> ColumnsOf(const controls::ReportListModel& model) {
    std::vector<controls::ColumnSpec> columns;
    for (int i = 0; i < model.GetColumnCount(); ++i)
        columns.push_back(model.GetColumn(i));
    return columns;
}

} // namespace

bool CReportListCtrl::SetColumnHeader(const std::string& spec) {
    bool made = model_.SetColumnHeader(spec);
    SetHeaderColumns(ColumnsOf(model_));
    return made;
}

int CReportListCtrl::InsertColumn(int index, const std::string& name, controls::ColumnAlign align,
                                  int width) {
    int result = model_.InsertColumn(index, controls::ColumnSpec{name, width, align});
    SetHeaderColumns(ColumnsOf(model_));
    return result;
}

bool CReportListCtrl::DeleteColumn(int index) {
    bool deleted = model_.DeleteColumn(index);
    SetHeaderColumns(ColumnsOf(model_));
    return deleted;
}

void CReportListCtrl::DeleteAllColumns() {
    model_.DeleteAllColumns();
    SetHeaderColumns(ColumnsOf(model_));
}

int CReportListCtrl::InsertRow(int index, const std::vector<std::string>& texts) {
    return model_.InsertRow(index, texts);
}

bool CReportListCtrl::SetItemText(int row, int column, const std::string& text) {
    return model_.SetItemText(row, column, text);
}

int CReportListCtrl::DeleteAllItems() {
    return model_.DeleteAllItems();
}

controls::RowRecord* CReportListCtrl::GetRowRecord(int row) {
    return model_.GetRowRecord(row);
}

void CReportListCtrl::SetCellColours(int row, int column, const wxColour& text,
                                     const wxColour& background) {
    controls::RowRecord* record = model_.GetRowRecord(row);
    if (!record || column < 0 || column >= model_.GetColumnCount()) return;
    record->textColours[column] = ToRgb(text);
    record->backgroundColours[column] = ToRgb(background);
    RefreshRow(row);
}

bool CReportListCtrl::SetItemStates(int row, unsigned bits) {
    return model_.SetItemStates(row, bits);
}

void CReportListCtrl::SetAllItemStates(unsigned having, unsigned set) {
    model_.SetAllItemStates(having, set);
}

// ---- the model's notifications ----

bool CReportListCtrl::ShowEditBox(int row, int column) {
    EnsureRowVisible(row);
    EnsureColumnVisible(column);
    const controls::ColumnAlign align = model_.GetColumn(column).align;
    if (!editBox_ || align != editAlign_) {
        // One box per alignment, kept for the list's life: a box is never
        // destroyed while a key it received is still being handled.
        wxTextCtrl*& box = editBoxes_[static_cast<int>(align)];
        if (!box) {
            box = new wxTextCtrl(GetBody(), wxID_ANY, wxEmptyString, wxDefaultPosition,
                                 wxDefaultSize, EditBoxAlignStyle(align) | wxBORDER_SIMPLE);
            if (!box) return false;
            box->Hide();
            box->Bind(wxEVT_TEXT, [this, box](wxCommandEvent&) {
                if (box == editBox_) model_.SetEditText(FromDisplayText(box->GetValue()));
            });
            PrepareEditBox(*box);
        }
        if (editBox_ && editBox_ != box) editBox_->Hide();
        editBox_ = box;
        editAlign_ = align;
    }
    editBox_->SetFont(GetFont());
    PlaceEditBox();
    editBox_->ChangeValue(ToDisplayText(model_.GetEditText()));
    editBox_->Show();
    editBox_->SelectAll();
    editBox_->SetFocus();
    return true;
}

void CReportListCtrl::HideEditBox() {
    if (!editBox_) return;
    const bool hadFocus = FindFocus() == editBox_;
    editBox_->Hide();
    if (hadFocus) GetBody()->SetFocus();
}

void CReportListCtrl::PlaceEditBox() {
    if (!editBox_ || !model_.IsEditing()) return;
    wxRect rect = GetCellRect(model_.GetEditRow(), model_.GetEditColumn());
    const int height = std::max(rect.height, editBox_->GetBestSize().y);
    rect.y -= (height - rect.height) / 2;
    rect.height = height;
    rect.width = std::max(rect.width, MinEditBoxWidth());
    editBox_->SetSize(rect);
}

void CReportListCtrl::SendEvent(wxEventType type, int number, long extra) {
    wxCommandEvent event(type, GetId());
    event.SetEventObject(this);
    event.SetInt(number);
    event.SetExtraLong(extra);
    GetEventHandler()->ProcessEvent(event);
}

void CReportListCtrl::CheckChanged(int row, controls::MouseButton cause) {
    SendEvent(wxEVT_REPORT_CHECK_CHANGED, row, static_cast<long>(cause));
}

void CReportListCtrl::Sorted(int column, bool ascending) {
    SendEvent(wxEVT_REPORT_SORTED, column, ascending ? 1 : 0);
}

void CReportListCtrl::CellEdited(int row, int column) {
    SendEvent(wxEVT_REPORT_CELL_EDITED, row, column);
}

void CReportListCtrl::CommitRow(int row, int column) {
    SendEvent(wxEVT_REPORT_COMMIT_ROW, row, column);
}

void CReportListCtrl::RowActivated(int row) {
    SendEvent(wxEVT_REPORT_ROW_ACTIVATED, row, 0);
}

void CReportListCtrl::ContentChanged() {
    // Panes rewrite hundreds of cells at a time: redraw once afterwards.
    if (updatePending_) return;
    updatePending_ = true;
    CallAfter([this] {
        updatePending_ = false;
        RowsChanged();
    });
}

// ---- input ----

void CReportListCtrl::OnCharHook(wxKeyEvent& event) {
    if (model_.HandleKey(ToEditKey(event.GetKeyCode()))) return;
    event.Skip();
}

void CReportListCtrl::OnBodyMouse(wxMouseEvent& event) {
    using controls::MouseButton;
    const wxEventType type = event.GetEventType();
    MouseButton button;
    if (type == wxEVT_LEFT_DOWN)
        button = MouseButton::LeftDown;
    else if (type == wxEVT_LEFT_DCLICK)
        button = MouseButton::LeftDoubleClick;
    else if (type == wxEVT_RIGHT_DOWN)
        button = MouseButton::RightDown;
    else if (type == wxEVT_RIGHT_DCLICK)
        button = MouseButton::RightDoubleClick;
    else if (type == wxEVT_MIDDLE_DOWN)
        button = MouseButton::MiddleDown;
    else if (type == wxEVT_MIDDLE_DCLICK)
        button = MouseButton::MiddleDoubleClick;
    else {
        event.Skip();
        return;
    }
    GetBody()->SetFocus();
    controls::CellHit hit;
    HitTestCell(event.GetPosition(), hit.row, hit.column);
    if (hit.row >= 0 && hit.column == 0 && model_.HasCheckBoxes())
        hit.onCheckBox = CheckBoxRect(GetCellRect(hit.row, 0)).Contains(event.GetPosition());
    model_.HandleMouseButton(button, hit);
}

void CReportListCtrl::OnBodyKeyDown(wxKeyEvent& event) {
    const int count = model_.GetRowCount();
    int row = model_.GetFocusedRow();
    if (row < 0) row = model_.GetSelectedRow();
    int target = row;
    if (!NavigationTarget(event.GetKeyCode(), row, count, target)) {
        event.Skip();
        return;
    }
    if (count == 0) return;
    model_.SelectOnly(target);
    EnsureRowVisible(target);
}

void CReportListCtrl::OnHeaderClicked(int column) {
    if (model_.IsHeaderClickable()) model_.OnColumnClick(column);
}

void CReportListCtrl::OnColumnResized(int column, int width) {
    model_.SetColumnWidth(column, width);
    PlaceEditBox();
}

void CReportListCtrl::OnBodyScrolled() {
    PlaceEditBox();
}

// ---- drawing ----

wxRect CReportListCtrl::CheckBoxRect(const wxRect& cell) const {
    wxSize size = wxRendererNative::Get().GetCheckBoxSize(GetBody());
    return wxRect(cell.x + 2, cell.y + (cell.height - size.y) / 2, size.x, size.y);
}

void CReportListCtrl::DrawRow(wxDC& dc, int row, const wxRect& rect) {
    const controls::ReportRow& data = model_.GetRow(row);
    const bool focused = BodyHasFocus();
    const bool highlight = data.selected && focused;
    const wxColour highlightBack = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
    const wxColour highlightText = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT);
    const wxPen gridPen(wxColour(200, 200, 200));

    for (int column = 0; column < model_.GetColumnCount(); ++column) {
        wxRect cell = GetCellRect(row, column);
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(
            wxBrush(highlight ? highlightBack : ToColour(data.record.backgroundColours[column])));
        dc.DrawRectangle(cell);
        wxRect textArea = cell;
        if (column == 0 && model_.HasCheckBoxes()) {
            wxRect box = CheckBoxRect(cell);
            wxRendererNative::Get().DrawCheckBox(GetBody(), dc, box,
                                                 data.checked ? int(wxCONTROL_CHECKED) : 0);
            textArea.SetLeft(box.GetRight() + 2);
        }
        dc.SetTextForeground(highlight ? highlightText : ToColour(data.record.textColours[column]));
        DrawCellText(dc, data.texts[column], textArea, model_.GetColumn(column).align);
        if (HasGridLines()) {
            dc.SetPen(gridPen);
            dc.DrawLine(cell.GetRight(), cell.GetTop(), cell.GetRight(), cell.GetBottom() + 1);
            dc.DrawLine(cell.GetLeft(), cell.GetBottom(), cell.GetRight() + 1, cell.GetBottom());
        }
    }
    if (data.focused && focused) {
        wxRect focusRect(rect.x, rect.y, GetTotalColumnWidth(), rect.height);
        wxRendererNative::Get().DrawFocusRect(GetBody(), dc, focusRect);
    }
}
