#include "super_grid_ctrl.h"

#include "display_text.h"
#include "list_edit_ctrl.h"

#include <wx/dc.h>
#include <wx/dcmemory.h>
#include <wx/renderer.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include <algorithm>

namespace {

constexpr int kImageGap = 2; // around the item image
constexpr int kLabelInset = 4;

bool HasNextSibling(const controls::CTreeItem* item, const controls::TreeGridModel& tree) {
    const auto& siblings = item->GetParent() ? item->GetParent()->GetChildren() : tree.GetRoots();
    return !siblings.empty() && siblings.back().get() != item;
}

} // namespace

CSuperGridCtrl::CSuperGridCtrl() : dragTimer_(this) {}

CSuperGridCtrl::~CSuperGridCtrl() {
    dragTimer_.Stop();
    if (dragImage_) dragImage_->EndDrag();
}

bool CSuperGridCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                            const wxSize& size) {
    if (!CReportListBase::Create(parent, id, pos, size)) return false;
    Bind(wxEVT_CELL_EDIT_END, &CSuperGridCtrl::OnCellEditEnd, this);
    Bind(wxEVT_TIMER, &CSuperGridCtrl::OnDragTimer, this, dragTimer_.GetId());
    return true;
}

int CSuperGridCtrl::InsertColumn(int index, const std::string& name, controls::ColumnAlign align,
                                 int width) {
    std::vector<controls::ColumnSpec> columns;
    for (int i = 0; i < GetHeaderColumnCount(); ++i)
        columns.push_back(GetHeaderColumn(i));
    if (index < 0) return -1;
    index = std::min(index, static_cast<int>(columns.size()));
    columns.insert(columns.begin() + index, controls::ColumnSpec{name, width, align});
    SetHeaderColumns(columns);
    return index;
}

// ---- the tree ----

CSuperGridCtrl::CTreeItem* CSuperGridCtrl::InsertItem(std::unique_ptr<CItemInfo> info) {
    CTreeItem* item = tree_.InsertItem(std::move(info));
    AfterTreeChange();
    return item;
}

CSuperGridCtrl::CTreeItem*
CSuperGridCtrl::InsertChildItem(CTreeItem* parent, std::unique_ptr<CItemInfo> info, bool update) {
    CTreeItem* item = tree_.InsertChildItem(parent, std::move(info), update);
    AfterTreeChange();
    return item;
}

bool CSuperGridCtrl::ExpandItem(CTreeItem* item) {
    if (!tree_.ExpandItem(item)) return false;
    AfterTreeChange();
    return true;
}

bool CSuperGridCtrl::CollapseItem(CTreeItem* item) {
    if (!tree_.CollapseItem(item)) return false;
    AfterTreeChange();
    return true;
}

void CSuperGridCtrl::DeleteItem(CTreeItem* item) {
    if (dragging_) EndDrag(false);
    tree_.DeleteItem(item);
    AfterTreeChange();
}

void CSuperGridCtrl::DeleteAll() {
    if (dragging_) EndDrag(false);
    tree_.DeleteAll();
    AfterTreeChange();
}

void CSuperGridCtrl::AfterTreeChange() {
    RowsChanged();
}

std::string CSuperGridCtrl::GetCellText(int row, int column) const {
    const CTreeItem* item = tree_.GetItemAtRow(row);
    if (!item) return std::string();
    return column == 0 ? item->GetInfo()->GetItemText()
                       : item->GetInfo()->GetSubItemText(column - 1);
}

wxImageList* CSuperGridCtrl::InitImageList(wxImageList* images) {
    wxImageList* previous = images_;
    images_ = images;
    GetBody()->Refresh(false);
    return previous;
}

void CSuperGridCtrl::SetCheckBoxes(bool shown) {
    checkBoxes_ = shown;
    GetBody()->Refresh(false);
}

void CSuperGridCtrl::SelectRow(int row) {
    int old = tree_.GetSelectedRow();
    tree_.SelectRow(row);
    RefreshRow(old);
    RefreshRow(row);
}

// ---- hooks ----

std::unique_ptr<CSuperGridCtrl::CItemInfo> CSuperGridCtrl::CopyItemInfo(const CItemInfo&) {
    return nullptr;
}

int CSuperGridCtrl::GetItemImageIndex(const CTreeItem*) {
    return 0;
}

wxColour CSuperGridCtrl::GetFocusCellColour() {
    return wxColour(192, 0, 0);
}

void CSuperGridCtrl::StoreEditedText(const CCellEditEvent& result) {
    CTreeItem* item = tree_.GetItemAtRow(result.GetRow());
    if (!item) return;
    if (result.GetColumn() == 0)
        item->GetInfo()->SetItemText(result.GetText());
    else
        item->GetInfo()->SetSubItemText(result.GetColumn() - 1, result.GetText());
    RefreshRow(result.GetRow());
}

void CSuperGridCtrl::BeginCellEdit(int row, int column) {
    EditCellWithText(row, column);
}

wxBitmap CSuperGridCtrl::CreateItemDragImage(int row) {
    const CTreeItem* item = tree_.GetItemAtRow(row);
    if (!item) return wxBitmap();
    wxString text = ToDisplayText(item->GetInfo()->GetItemText());
    wxMemoryDC measure;
    measure.SetFont(GetFont());
    wxSize textSize = measure.GetTextExtent(text);
    wxSize imageSize = images_ ? images_->GetSize() : wxSize(0, 0);
    wxBitmap bitmap(imageSize.x + kImageGap * 2 + textSize.x + 2,
                    std::max(imageSize.y, textSize.y) + 2);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    int index = GetItemImageIndex(item);
    if (images_ && index >= 0 && index < images_->GetImageCount())
        images_->Draw(index, dc, 1, 1, wxIMAGELIST_DRAW_TRANSPARENT);
    dc.SetFont(GetFont());
    dc.SetTextForeground(*wxBLACK);
    dc.DrawText(text, imageSize.x + kImageGap * 2, 1);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

bool CSuperGridCtrl::AllowExpand(CTreeItem*, int) {
    return true;
}
bool CSuperGridCtrl::AfterExpand(CTreeItem*, int) {
    return true;
}
bool CSuperGridCtrl::AllowCollapse(CTreeItem*) {
    return true;
}
bool CSuperGridCtrl::AfterCollapse(CTreeItem*) {
    return true;
}
bool CSuperGridCtrl::AllowDelete(CTreeItem*, int) {
    return true;
}
bool CSuperGridCtrl::AllowExpandAll(CTreeItem*, int) {
    return true;
}
bool CSuperGridCtrl::AllowKeyCollapse(CTreeItem*, int) {
    return true;
}
bool CSuperGridCtrl::AllowKeyExpand(CTreeItem*, int) {
    return true;
}
bool CSuperGridCtrl::OnReturnKey() {
    return false;
}
bool CSuperGridCtrl::AllowItemClick(int, int) {
    return true;
}

// ---- editing ----

wxRect CSuperGridCtrl::PrepareCellForEditor(int row, int column) {
    EnsureRowVisible(row);
    EnsureColumnVisible(column);
    wxRect rect = GetCellRect(row, column);
    if (column == 0) {
        // Over the label: right of the tree part and the image.
        const CTreeItem* item = tree_.GetItemAtRow(row);
        int labelLeft = item->GetIndent() * kIndent + (checkBoxes_ ? kIndent : 0);
        if (images_) labelLeft += images_->GetSize().x + kImageGap * 2;
        rect.x += labelLeft;
        rect.width = std::max(0, rect.width - labelLeft);
    }
    int clientWidth = GetBody()->GetClientSize().x;
    if (rect.GetRight() >= clientWidth) rect.width = std::max(0, clientWidth - rect.x);
    return rect;
}

void CSuperGridCtrl::EditCellWithText(int row, int column) {
    if (!tree_.GetItemAtRow(row) || column < 0 || column >= GetHeaderColumnCount()) return;
    wxRect rect = PrepareCellForEditor(row, column);
    auto* editor = new CListEditCtrl(row, column, GetCellText(row, column));
    if (!editor->Create(GetBody(), this, rect)) delete editor;
}

void CSuperGridCtrl::OnCellEditEnd(CCellEditEvent& event) {
    if (!event.IsCancelled()) StoreEditedText(event);
    RefreshRow(event.GetRow());
}

// ---- expanding ----

void CSuperGridCtrl::Toggle(CTreeItem* item, int row) {
    if (!ItemHasChildren(item)) return;
    if (item->HasHiddenChildren()) {
        if (!AllowExpand(item, row)) return;
        ExpandItem(item);
        AfterExpand(item, row);
    } else {
        if (!AllowCollapse(item)) return;
        CollapseItem(item);
        AfterCollapse(item);
    }
}

// ---- mouse and keys ----

void CSuperGridCtrl::OnBodyMouse(wxMouseEvent& event) {
    const wxEventType type = event.GetEventType();
    const wxPoint point = event.GetPosition();
    int row = -1, column = -1;
    HitTestCell(point, row, column);

    if (type == wxEVT_MOTION) {
        if (dragging_) {
            DragTo(point);
        } else if (pressedRow_ >= 0 && event.LeftIsDown()) {
            wxPoint moved = point - pressPoint_;
            if (std::abs(moved.x) > wxSystemSettings::GetMetric(wxSYS_DRAG_X) ||
                std::abs(moved.y) > wxSystemSettings::GetMetric(wxSYS_DRAG_Y))
                BeginDrag(pressedRow_, point);
        }
        return;
    }
    if (type == wxEVT_LEFT_UP) {
        if (dragging_) EndDrag(true);
        pressedRow_ = -1;
        return;
    }
    if (dragging_) { // another button cancels the drag
        EndDrag(false);
        return;
    }
    if (type == wxEVT_RIGHT_DOWN || type == wxEVT_MIDDLE_DOWN) {
        GetBody()->SetFocus();
        if (row >= 0) SelectRow(row);
        return;
    }
    if (type == wxEVT_LEFT_DCLICK) {
        CTreeItem* item = tree_.GetItemAtRow(row);
        if (!item || !ItemHasChildren(item) || !AllowItemClick(row, column)) return;
        Toggle(item, row);
        RefreshRow(row);
        EnsureRowVisible(row);
        return;
    }
    if (type != wxEVT_LEFT_DOWN) {
        event.Skip();
        return;
    }

    GetBody()->SetFocus();
    CTreeItem* item = tree_.GetItemAtRow(row);
    if (!item || !AllowItemClick(row, column)) return;
    const wxRect cell = GetCellRect(row, 0);
    if (column == 0 && ItemHasChildren(item) &&
        ExpandBoxRect(item, cell).Inflate(2).Contains(point)) {
        Toggle(item, row);
        return;
    }
    if (column == 0 && checkBoxes_ && CheckBoxRect(item, cell).Contains(point)) {
        item->GetInfo()->SetCheck(!item->GetInfo()->GetCheck());
        RefreshRow(row);
    }
    currentColumn_ = column;
    EnsureColumnVisible(column);
    SelectRow(row);
    pressedRow_ = row;
    pressPoint_ = point;
    BeginCellEdit(row, column);
    RefreshRow(row);
}

void CSuperGridCtrl::OnBodyCaptureLost() {
    if (dragging_) EndDrag(false);
}

void CSuperGridCtrl::OnBodyKeyDown(wxKeyEvent& event) {
    const int row = tree_.GetSelectedRow();
    CTreeItem* item = tree_.GetSelectedItem();
    const int count = tree_.GetRowCount();
    int target = -2; // a new selected row, when the key moves the selection
    switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
        if (dragging_) EndDrag(false);
        return;
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT:
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT: {
        bool left = event.GetKeyCode() == WXK_LEFT || event.GetKeyCode() == WXK_NUMPAD_LEFT;
        currentColumn_ = std::clamp(currentColumn_ + (left ? -1 : 1), 0,
                                    std::max(0, GetHeaderColumnCount() - 1));
        EnsureColumnVisible(currentColumn_);
        RefreshRow(row);
        return;
    }
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        if (!OnReturnKey() && row >= 0) EditCellWithText(row, currentColumn_);
        return;
    case WXK_SPACE:
        if (checkBoxes_ && item) {
            item->GetInfo()->SetCheck(!item->GetInfo()->GetCheck());
            RefreshRow(row);
        }
        return;
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE:
        if (item && AllowDelete(item, row)) DeleteItem(item);
        return;
    case WXK_NUMPAD_MULTIPLY:
        if (item && AllowExpandAll(item, row)) {
            Freeze();
            tree_.ExpandAll(item);
            AfterTreeChange();
            Thaw();
            EnsureRowVisible(row);
        }
        return;
    case WXK_NUMPAD_ADD:
        if (item && AllowKeyExpand(item, row)) ExpandItem(item);
        return;
    case WXK_NUMPAD_SUBTRACT:
        if (item && AllowKeyCollapse(item, row)) CollapseItem(item);
        return;
    default:
        if (!NavigationTarget(event.GetKeyCode(), row, count, target)) {
            event.Skip();
            return;
        }
        break;
    }
    if (count == 0) return;
    SelectRow(target);
    EnsureRowVisible(target);
}

void CSuperGridCtrl::OnBodyScrolled() {
    // Scrolling takes the focus back from a running cell editor, which ends it.
    wxWindow* focus = FindFocus();
    if (focus && focus != GetBody() && focus->GetParent() == GetBody()) GetBody()->SetFocus();
}

// ---- drag and drop ----

void CSuperGridCtrl::BeginDrag(int row, const wxPoint& point) {
    wxBitmap image = CreateItemDragImage(row);
    pressedRow_ = -1;
    if (!image.IsOk()) return;
    dragImage_ = std::make_unique<wxDragImage>(image);
    wxRect rect = GetRowRect(row);
    if (!dragImage_->BeginDrag(point - rect.GetTopLeft() - wxPoint(GetColumnLeft(0), 0),
                               GetBody())) {
        dragImage_.reset();
        return;
    }
    draggedItem_ = tree_.GetItemAtRow(row);
    dropTargetRow_ = -1;
    dragging_ = true;
    dragImage_->Move(point);
    dragImage_->Show();
}

void CSuperGridCtrl::DragTo(const wxPoint& point) {
    wxMouseState mouse = wxGetMouseState();
    if (mouse.RightIsDown() || mouse.MiddleIsDown() || wxGetKeyState(WXK_ESCAPE)) {
        EndDrag(false);
        return;
    }
    lastDragPoint_ = point;
    int row = -1, column = -1;
    HitTestCell(point, row, column);
    if (row != dropTargetRow_) {
        dragImage_->Hide();
        int old = dropTargetRow_;
        dropTargetRow_ = row;
        RefreshRow(old);
        RefreshRow(row);
        GetBody()->Update();
        dragImage_->Show();
    }
    dragImage_->Move(point);
    const CTreeItem* target = tree_.GetItemAtRow(row);
    const bool outside = point.y < 0 || point.y >= GetBody()->GetClientSize().y;
    if ((outside || (target && target->HasHiddenChildren())) && !dragTimer_.IsRunning())
        dragTimer_.Start(300);
}

void CSuperGridCtrl::OnDragTimer(wxTimerEvent&) {
    if (!dragging_) {
        dragTimer_.Stop();
        return;
    }
    const wxPoint point = lastDragPoint_;
    if (point.y < 0 || point.y >= GetBody()->GetClientSize().y) {
        dragImage_->Hide();
        ScrollRows(point.y < 0 ? -1 : 1);
        GetBody()->Update();
        dragImage_->Show();
        return;
    }
    CTreeItem* target = tree_.GetItemAtRow(dropTargetRow_);
    if (target && target->HasHiddenChildren() && AllowExpand(target, dropTargetRow_)) {
        dragImage_->Hide();
        ExpandItem(target);
        AfterExpand(target, dropTargetRow_);
        GetBody()->Update();
        dragImage_->Show();
    }
}

void CSuperGridCtrl::EndDrag(bool drop) {
    dragTimer_.Stop();
    if (dragImage_) {
        dragImage_->Hide();
        dragImage_->EndDrag();
        dragImage_.reset();
    }
    dragging_ = false;
    int targetRow = dropTargetRow_;
    CTreeItem* dragged = draggedItem_;
    dropTargetRow_ = -1;
    draggedItem_ = nullptr;
    RefreshRow(targetRow);
    if (!drop || targetRow < 0) return;
    CTreeItem* target = tree_.GetItemAtRow(targetRow);
    if (!controls::TreeGridModel::CanDrop(dragged, target)) return;
    tree_.MoveSubtree(dragged, target,
                      [this](const CItemInfo& info) { return CopyItemInfo(info); });
    tree_.SelectRow(tree_.FindItemIndex(target));
    AfterTreeChange();
}

// ---- drawing ----

wxRect CSuperGridCtrl::ExpandBoxRect(const CTreeItem* item, const wxRect& cell) const {
    int centreX = cell.x + (item->GetIndent() - 1) * kIndent + kIndent / 2;
    int centreY = cell.y + cell.height / 2;
    return wxRect(centreX - kBoxSize / 2, centreY - kBoxSize / 2, kBoxSize, kBoxSize);
}

wxRect CSuperGridCtrl::CheckBoxRect(const CTreeItem* item, const wxRect& cell) const {
    wxSize size = wxRendererNative::Get().GetCheckBoxSize(GetBody());
    int left = cell.x + item->GetIndent() * kIndent;
    return wxRect(left, cell.y + (cell.height - size.y) / 2, size.x, size.y);
}

void CSuperGridCtrl::DrawTreePart(wxDC& dc, const CTreeItem* item, const wxRect& cell) {
    const int indent = item->GetIndent();
    const int middle = cell.y + cell.height / 2;
    dc.SetPen(wxPen(wxColour(192, 192, 192)));
    // A line for every ancestor that has more children below this row.
    int level = indent - 1;
    for (const CTreeItem* ancestor = item->GetParent(); ancestor;
         ancestor = ancestor->GetParent(), --level) {
        if (HasNextSibling(ancestor, tree_)) {
            int x = cell.x + (level - 1) * kIndent + kIndent / 2;
            dc.DrawLine(x, cell.y, x, cell.GetBottom() + 1);
        }
    }
    // This item's own branch.
    const int x = cell.x + (indent - 1) * kIndent + kIndent / 2;
    dc.DrawLine(x, cell.y, x, HasNextSibling(item, tree_) ? cell.GetBottom() + 1 : middle);
    dc.DrawLine(x, middle, x + kIndent / 2 + 1, middle);
    if (ItemHasChildren(item)) {
        wxRect box = ExpandBoxRect(item, cell);
        dc.SetPen(wxPen(wxColour(128, 128, 128)));
        dc.SetBrush(*wxWHITE_BRUSH);
        dc.DrawRectangle(box);
        dc.SetPen(*wxBLACK_PEN);
        dc.DrawLine(box.x + 2, box.y + box.height / 2, box.GetRight() - 1, box.y + box.height / 2);
        if (item->HasHiddenChildren())
            dc.DrawLine(box.x + box.width / 2, box.y + 2, box.x + box.width / 2,
                        box.GetBottom() - 1);
    }
    int left = cell.x + indent * kIndent;
    if (checkBoxes_) {
        wxRect box = CheckBoxRect(item, cell);
        wxRendererNative::Get().DrawCheckBox(
            GetBody(), dc, box, item->GetInfo()->GetCheck() ? int(wxCONTROL_CHECKED) : 0);
        left = box.GetRight() + kImageGap;
    }
    if (images_) {
        int index = GetItemImageIndex(item);
        wxSize size = images_->GetSize();
        if (index >= 0 && index < images_->GetImageCount())
            images_->Draw(index, dc, left + kImageGap, cell.y + (cell.height - size.y) / 2,
                          wxIMAGELIST_DRAW_TRANSPARENT);
        left += size.x + kImageGap * 2;
    }
    wxRect label(left - kLabelInset, cell.y, std::max(0, cell.GetRight() + 1 - left + kLabelInset),
                 cell.height);
    DrawCellText(dc, item->GetInfo()->GetItemText(), label, controls::ColumnAlign::Left);
}

void CSuperGridCtrl::DrawRow(wxDC& dc, int row, const wxRect&) {
    const CTreeItem* item = tree_.GetItemAtRow(row);
    if (!item) return;
    const bool selected = row == tree_.GetSelectedRow();
    const bool dropTarget = row == dropTargetRow_;
    const bool highlight = selected || dropTarget;
    const wxColour back =
        wxSystemSettings::GetColour(highlight ? wxSYS_COLOUR_HIGHLIGHT : wxSYS_COLOUR_WINDOW);
    const wxColour text = wxSystemSettings::GetColour(highlight ? wxSYS_COLOUR_HIGHLIGHTTEXT
                                                                : wxSYS_COLOUR_WINDOWTEXT);
    for (int column = 0; column < GetHeaderColumnCount(); ++column) {
        wxRect cell = GetCellRect(row, column);
        dc.SetPen(*wxTRANSPARENT_PEN);
        bool focusCell = selected && column == currentColumn_;
        dc.SetBrush(wxBrush(focusCell ? GetFocusCellColour() : back));
        dc.DrawRectangle(cell);
        dc.SetTextForeground(text);
        if (column == 0) {
            DrawTreePart(dc, item, cell);
        } else {
            DrawCellText(dc, item->GetInfo()->GetSubItemText(column - 1), cell,
                         GetHeaderColumn(column).align);
        }
        if (HasGridLines()) {
            dc.SetPen(wxPen(wxColour(198, 198, 198)));
            dc.DrawLine(cell.GetRight(), cell.GetTop(), cell.GetRight(), cell.GetBottom() + 1);
            dc.DrawLine(cell.GetLeft(), cell.GetBottom(), cell.GetRight() + 1, cell.GetBottom());
        }
    }
}
