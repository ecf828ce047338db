#include "report_list_base.h"

#include "display_text.h"
#include "scrolled_room.h"

#include <wx/control.h>
#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include <algorithm>

namespace {

constexpr int kCellInset = 4;
constexpr int kWheelRows = 3;

int ToHeaderAlign(controls::ColumnAlign align) {
    switch (align) {
    case controls::ColumnAlign::Centre:
        return wxALIGN_CENTRE;
    case controls::ColumnAlign::Right:
        return wxALIGN_RIGHT;
    default:
        return wxALIGN_LEFT;
    }
}

} // namespace

// The scrolled part below the header: it paints and passes everything on.
class CReportListBody : public wxWindow {
public:
    explicit CReportListBody(CReportListBase* owner) : owner_(owner) {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Create(owner, wxID_ANY, wxDefaultPosition, wxDefaultSize,
               wxVSCROLL | wxHSCROLL | wxWANTS_CHARS | wxBORDER_NONE);
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            wxAutoBufferedPaintDC dc(this);
            owner_->PaintBody(dc);
        });
        for (const auto& type :
             {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_RIGHT_DOWN,
              wxEVT_RIGHT_DCLICK, wxEVT_MIDDLE_DOWN, wxEVT_MIDDLE_DCLICK, wxEVT_MOTION})
            Bind(type, [this](wxMouseEvent& event) {
                owner_->OnBodyMouse(event);
                if (event.GetEventType() == wxEVT_RIGHT_DOWN) {
                    // The press is ours, so GTK makes no context-menu event of
                    // it: the owner's parents get one from the list instead.
                    event.Skip(false);
                    owner_->SendContextMenu(ClientToScreen(event.GetPosition()));
                }
            });
        Bind(wxEVT_MOUSE_CAPTURE_LOST,
             [this](wxMouseCaptureLostEvent&) { owner_->OnBodyCaptureLost(); });
        Bind(wxEVT_MOUSEWHEEL, &CReportListBase::OnBodyWheel, owner_);
        Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) { owner_->OnBodyKeyDown(event); });
        // Selected rows are drawn differently while the body has the focus.
        for (const auto& type : {wxEVT_SET_FOCUS, wxEVT_KILL_FOCUS}) {
            Bind(type, [this](wxFocusEvent& event) {
                Refresh(false);
                event.Skip();
            });
        }
        const wxEventTypeTag<wxScrollWinEvent> scrollEvents[] = {
            wxEVT_SCROLLWIN_TOP,        wxEVT_SCROLLWIN_BOTTOM,      wxEVT_SCROLLWIN_LINEUP,
            wxEVT_SCROLLWIN_LINEDOWN,   wxEVT_SCROLLWIN_PAGEUP,      wxEVT_SCROLLWIN_PAGEDOWN,
            wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE};
        for (const auto& type : scrollEvents)
            Bind(type, &CReportListBase::OnBodyScroll, owner_);
    }

    bool AcceptsFocus() const override { return true; }

private:
    CReportListBase* owner_;
};

bool CReportListBase::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                             const wxSize& size, long style) {
    if (!wxWindow::Create(parent, id, pos, size, style | wxTAB_TRAVERSAL)) return false;
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
    header_ = new wxHeaderCtrlSimple(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0);
    body_ = new CReportListBody(this);
    header_->Bind(wxEVT_HEADER_CLICK, &CReportListBase::OnHeaderClick, this);
    // The header itself takes only the widths of its resizing events, not
    // the one that ends a resize (a press on a separator let go elsewhere
    // without a move in between): the rows follow the same events, so the
    // titles stay over their columns.
    header_->Bind(wxEVT_HEADER_RESIZING, &CReportListBase::OnHeaderResizing, this);
    Bind(wxEVT_SIZE, &CReportListBase::OnSize, this);
    SetFont(GetFont());
    LayOut();
    return true;
}

void CReportListBase::SendContextMenu(const wxPoint& screenPoint) {
    wxContextMenuEvent menu(wxEVT_CONTEXT_MENU, GetId(), screenPoint);
    menu.SetEventObject(this);
    GetEventHandler()->ProcessEvent(menu);
}

bool CReportListBase::SetFont(const wxFont& font) {
    if (!wxWindow::SetFont(font)) return false;
    if (body_) {
        body_->SetFont(font);
        rowHeight_ = std::max(body_->GetCharHeight() + 6, 20);
        UpdateScrollbars();
        body_->Refresh(false);
    }
    return true;
}

void CReportListBase::SetGridLines(bool on) {
    gridLines_ = on;
    body_->Refresh(false);
}

bool CReportListBase::NavigationTarget(int keyCode, int row, int count, int& target) const {
    const int page = std::max(1, GetVisibleRowCount() - 1);
    switch (keyCode) {
    case WXK_UP:
    case WXK_NUMPAD_UP:
        target = row < 0 ? 0 : row - 1;
        break;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
        target = row + 1;
        break;
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP:
        target = row - page;
        break;
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN:
        target = row + page;
        break;
    case WXK_HOME:
    case WXK_NUMPAD_HOME:
        target = 0;
        break;
    case WXK_END:
    case WXK_NUMPAD_END:
        target = count - 1;
        break;
    default:
        return false;
    }
    target = std::clamp(target, 0, std::max(0, count - 1));
    return true;
}

int CReportListBase::GetVisibleRowCount() const {
    return std::max(0, body_->GetClientSize().y / rowHeight_);
}

void CReportListBase::SetHeaderColumns(const std::vector<controls::ColumnSpec>& columns) {
    columns_ = columns;
    header_->DeleteAllColumns();
    for (size_t i = 0; i < columns_.size(); ++i) {
        const controls::ColumnSpec& column = columns_[i];
        wxHeaderColumnSimple title(ToDisplayText(column.name), std::max(0, column.width),
                                   static_cast<wxAlignment>(ToHeaderAlign(column.align)),
                                   wxCOL_RESIZABLE);
        if (i < headerImages_.size() && headerImages_[i].IsOk()) title.SetBitmap(headerImages_[i]);
        header_->AppendColumn(title);
    }
    UpdateScrollbars();
    body_->Refresh(false);
}

void CReportListBase::SetHeaderImages(const std::vector<wxBitmap>& images) {
    headerImages_ = images;
    SetHeaderColumns(std::vector<controls::ColumnSpec>(columns_));
    LayOut(); // a picture may make the header taller
}

bool CReportListBase::HasHeaderImage(int column) const {
    return column >= 0 && column < GetHeaderColumnCount() &&
           static_cast<size_t>(column) < headerImages_.size() && headerImages_[column].IsOk();
}

int CReportListBase::GetColumnLeft(int column) const {
    int left = 0;
    for (int i = 0; i < column && i < GetHeaderColumnCount(); ++i)
        left += std::max(0, columns_[i].width);
    return left;
}

int CReportListBase::GetTotalColumnWidth() const {
    return GetColumnLeft(GetHeaderColumnCount());
}

wxRect CReportListBase::GetRowRect(int row) const {
    return wxRect(-xOffset_, (row - topRow_) * rowHeight_,
                  std::max(GetTotalColumnWidth(), body_->GetClientSize().x + xOffset_), rowHeight_);
}

wxRect CReportListBase::GetCellRect(int row, int column) const {
    if (column < 0 || column >= GetHeaderColumnCount()) return wxRect();
    return wxRect(GetColumnLeft(column) - xOffset_, (row - topRow_) * rowHeight_,
                  std::max(0, columns_[column].width), rowHeight_);
}

void CReportListBase::HitTestCell(const wxPoint& point, int& row, int& column) const {
    row = -1;
    column = -1;
    if (point.y < 0) return;
    int candidate = topRow_ + point.y / rowHeight_;
    if (candidate < GetRowCount()) row = candidate;
    int x = point.x + xOffset_;
    for (int i = 0, left = 0; i < GetHeaderColumnCount(); ++i) {
        int width = std::max(0, columns_[i].width);
        if (x >= left && x < left + width) {
            column = i;
            break;
        }
        left += width;
    }
}

void CReportListBase::EnsureRowVisible(int row) {
    if (row < 0 || row >= GetRowCount()) return;
    int visible = std::max(1, GetVisibleRowCount());
    if (row < topRow_)
        ScrollToRow(row);
    else if (row >= topRow_ + visible)
        ScrollToRow(row - visible + 1);
}

void CReportListBase::EnsureColumnVisible(int column) {
    if (column < 0 || column >= GetHeaderColumnCount()) return;
    int left = GetColumnLeft(column);
    int right = left + std::max(0, columns_[column].width);
    int width = body_->GetClientSize().x;
    if (left < xOffset_)
        ScrollHorizontallyTo(left);
    else if (right > xOffset_ + width)
        ScrollHorizontallyTo(std::min(left, right - width));
}

void CReportListBase::ScrollToRow(int top) {
    int limit = std::max(0, GetRowCount() - GetVisibleRowCount());
    top = std::clamp(top, 0, limit);
    if (top == topRow_) return;
    topRow_ = top;
    body_->SetScrollPos(wxVERTICAL, topRow_);
    body_->Refresh(false);
    OnBodyScrolled();
}

void CReportListBase::ScrollHorizontallyTo(int offset) {
    int limit = std::max(0, GetTotalColumnWidth() - body_->GetClientSize().x);
    offset = std::clamp(offset, 0, limit);
    if (offset == xOffset_) return;
    header_->ScrollWindow(xOffset_ - offset, 0);
    xOffset_ = offset;
    body_->SetScrollPos(wxHORIZONTAL, xOffset_);
    body_->Refresh(false);
    OnBodyScrolled();
}

void CReportListBase::RefreshRow(int row) {
    wxRect rect = GetRowRect(row);
    rect.x = 0;
    rect.width = body_->GetClientSize().x;
    body_->RefreshRect(rect, false);
}

void CReportListBase::RowsChanged() {
    int limit = std::max(0, GetRowCount() - GetVisibleRowCount());
    if (topRow_ > limit) {
        topRow_ = limit;
        OnBodyScrolled();
    }
    UpdateScrollbars();
    body_->Refresh(false);
}

void CReportListBase::UpdateScrollbars() {
    if (!body_) return;
    body_->SetScrollbar(wxVERTICAL, topRow_, GetVisibleRowCount(), GetRowCount());
    body_->SetScrollbar(wxHORIZONTAL, xOffset_, body_->GetClientSize().x, GetTotalColumnWidth());
}

void CReportListBase::LayOut() {
    if (!header_ || !body_) return;
    wxSize size = GetClientSize();
    int headerHeight = header_->GetBestSize().y;
    // The body's scrollbars keep their room even in a pane too small for it.
    SetMinSize(
        wxSize(controls::kLeastScrolledLength, headerHeight + controls::kLeastScrolledLength));
    header_->SetSize(0, 0, size.x, headerHeight);
    body_->SetSize(0, headerHeight, size.x, std::max(0, size.y - headerHeight));
    UpdateScrollbars();
    // A wider body may leave the horizontal offset past the end.
    ScrollHorizontallyTo(xOffset_);
    RowsChanged();
}

void CReportListBase::OnSize(wxSizeEvent& event) {
    LayOut();
    event.Skip();
}

void CReportListBase::OnBodyScroll(wxScrollWinEvent& event) {
    const bool vertical = event.GetOrientation() == wxVERTICAL;
    const wxEventType type = event.GetEventType();
    const int position = vertical ? topRow_ : xOffset_;
    const int line = vertical ? 1 : 16;
    const int page = vertical ? std::max(1, GetVisibleRowCount()) : body_->GetClientSize().x;
    int target = position;
    if (type == wxEVT_SCROLLWIN_TOP)
        target = 0;
    else if (type == wxEVT_SCROLLWIN_BOTTOM)
        target = vertical ? GetRowCount() : GetTotalColumnWidth();
    else if (type == wxEVT_SCROLLWIN_LINEUP)
        target = position - line;
    else if (type == wxEVT_SCROLLWIN_LINEDOWN)
        target = position + line;
    else if (type == wxEVT_SCROLLWIN_PAGEUP)
        target = position - page;
    else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
        target = position + page;
    else
        target = event.GetPosition();
    if (vertical)
        ScrollToRow(target);
    else
        ScrollHorizontallyTo(target);
}

void CReportListBase::OnBodyWheel(wxMouseEvent& event) {
    if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL || event.GetWheelRotation() == 0) return;
    ScrollRows(event.GetWheelRotation() > 0 ? -kWheelRows : kWheelRows);
}

void CReportListBase::OnHeaderClick(wxHeaderCtrlEvent& event) {
    OnHeaderClicked(event.GetColumn());
}

void CReportListBase::OnHeaderResizing(wxHeaderCtrlEvent& event) {
    event.Skip(); // the header keeps its own width too
    int column = event.GetColumn();
    if (column < 0 || column >= GetHeaderColumnCount()) return;
    columns_[column].width = event.GetWidth();
    OnColumnResized(column, event.GetWidth());
    UpdateScrollbars();
    body_->Refresh(false);
    OnBodyScrolled();
}

void CReportListBase::PaintBody(wxDC& dc) {
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    dc.SetFont(GetFont());
    const int count = GetRowCount();
    const int last = std::min(count - 1, topRow_ + GetVisibleRowCount());
    for (int row = topRow_; row <= last; ++row)
        DrawRow(dc, row, GetRowRect(row));
}

void CReportListBase::DrawCellText(wxDC& dc, const std::string& text, const wxRect& cell,
                                   controls::ColumnAlign align) const {
    wxRect inner = cell.Deflate(kCellInset, 0);
    if (inner.width <= 0 || text.empty()) return;
    const wxString whole = ToDisplayText(text);
    // Most texts fit: one measurement places them (shortening measures every character).
    const wxSize extent = dc.GetTextExtent(whole);
    if (extent.x <= inner.width) {
        int x = inner.x;
        if (align == controls::ColumnAlign::Centre)
            x += (inner.width - extent.x) / 2;
        else if (align == controls::ColumnAlign::Right)
            x = inner.GetRight() + 1 - extent.x;
        dc.DrawText(whole, x, inner.y + (inner.height - extent.y) / 2);
        return;
    }
    wxString shown =
        wxControl::Ellipsize(whole, dc, wxELLIPSIZE_END, inner.width, wxELLIPSIZE_FLAGS_NONE);
    dc.DrawLabel(shown, inner, ToHeaderAlign(align) | wxALIGN_CENTER_VERTICAL);
}

bool CReportListBase::BodyHasFocus() const {
    wxWindow* focus = FindFocus();
    return focus == body_;
}
