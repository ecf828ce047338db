#include "html_list_ctrl.h"

#include "display_text.h"
#include "markup_layout.h"
#include "plain_text_layout.h"
#include "scrolled_room.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/renderer.h>

#include <algorithm>

namespace {

constexpr int kTextMargin = 5;     // text inset from the row's left and top
constexpr int kCheckBoxLeft = 3;   // check box inset from the row's left
constexpr int kCheckBoxWidth = 16; // width of the clickable box when no images are set
constexpr int kCheckBoxTextLeft = 21;
constexpr int kMarkerLeft = 5;
constexpr int kMarkerGap = 10;  // between the marker image and the text
constexpr int kRowPadding = 10; // added to a measured row height

wxFont ListFont() {
    return wxFont(wxFontInfo(9).Family(wxFONTFAMILY_TELETYPE).FaceName("Courier New"));
}

} // namespace

CHTMLListCtrl::CHTMLListCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                             const wxSize& size) {
    Create(parent, id, pos, size);
}

bool CHTMLListCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                           const wxSize& size) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxWindow::Create(parent, id, pos, size,
                          wxBORDER_SIMPLE | wxVSCROLL | wxWANTS_CHARS | wxTAB_TRAVERSAL,
                          "HTMLListCtrl"))
        return false;
    SetFont(ListFont());
    SetCursor(*wxSTANDARD_CURSOR);
    SetMinSize(wxSize(controls::kLeastScrolledLength, controls::kLeastScrolledLength));
    model_.SetClientHeight(GetClientSize().y);

    Bind(wxEVT_PAINT, &CHTMLListCtrl::OnPaint, this);
    Bind(wxEVT_SIZE, &CHTMLListCtrl::OnSize, this);
    const wxEventTypeTag<wxScrollWinEvent> scrollEvents[] = {
        wxEVT_SCROLLWIN_TOP,        wxEVT_SCROLLWIN_BOTTOM,      wxEVT_SCROLLWIN_LINEUP,
        wxEVT_SCROLLWIN_LINEDOWN,   wxEVT_SCROLLWIN_PAGEUP,      wxEVT_SCROLLWIN_PAGEDOWN,
        wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE};
    for (const auto& type : scrollEvents)
        Bind(type, &CHTMLListCtrl::OnScroll, this);
    Bind(wxEVT_MOUSEWHEEL, &CHTMLListCtrl::OnMouseWheel, this);
    Bind(wxEVT_LEFT_DOWN, &CHTMLListCtrl::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CHTMLListCtrl::OnLeftDoubleClick, this);
    Bind(wxEVT_RIGHT_DOWN, &CHTMLListCtrl::OnRightDown, this);
    Bind(wxEVT_KEY_DOWN, &CHTMLListCtrl::OnKeyDown, this);
    Bind(wxEVT_SET_FOCUS, &CHTMLListCtrl::OnFocus, this);
    Bind(wxEVT_KILL_FOCUS, &CHTMLListCtrl::OnFocus, this);
    UpdateScrollbar();
    return true;
}

CHTMLListCtrl::~CHTMLListCtrl() = default;

bool CHTMLListCtrl::SetFont(const wxFont& font) {
    if (!wxWindow::SetFont(font)) return false;
    fonts_.SetBaseFont(GetFont());
    wxClientDC dc(this);
    DcTextMeasurer measurer(dc, fonts_);
    lineHeight_ = measurer.LineHeight();
    dc.SetFont(GetFont());
    charHeight_ = dc.GetCharHeight();
    RecalcLayout();
    return true;
}

// ---- rows ----

int CHTMLListCtrl::InsertItem(const std::string& text, int type, int height, int marker) {
    int id =
        model_.InsertItem(text, type, height, marker, [this](const controls::HTMLLIST_ITEM& item) {
            return CalcItemHeight(item);
        });
    // Listings arrive tens of thousands of rows at a time: the scroll bar and
    // the picture follow once, when the caller is done.
    if (!scrollbarUpdatePending_) {
        scrollbarUpdatePending_ = true;
        CallAfter([this] {
            scrollbarUpdatePending_ = false;
            UpdateScrollbar();
            Refresh(false);
        });
    }
    return id;
}

void CHTMLListCtrl::DeleteAllItems() {
    model_.DeleteAllItems();
    UpdateScrollbar();
    Refresh(false);
}

std::string CHTMLListCtrl::GetItemText(int id) const {
    const controls::HTMLLIST_ITEM* item = model_.GetItem(id);
    return item ? item->text : std::string();
}

void CHTMLListCtrl::SetItemMarker(int id, int marker) {
    if (!model_.SetItemMarker(id, marker)) return;
    InvalidateItem(id);
}

bool CHTMLListCtrl::IsItemChecked(int id) const {
    const controls::HTMLLIST_ITEM* item = model_.GetItem(id);
    return item && item->checked;
}

wxRect CHTMLListCtrl::GetItemRect(int id) const {
    const controls::HTMLLIST_ITEM* item = model_.GetItem(id);
    if (!item) return wxRect();
    return wxRect(0, model_.ItemTop(id) - model_.ScrollPos(), GetClientSize().x, item->height);
}

void CHTMLListCtrl::EnsureVisible(int id) {
    if (!model_.EnsureVisible(id)) return;
    UpdateScrollbar();
    Refresh(false);
}

void CHTMLListCtrl::RecalcLayout() {
    model_.SetClientHeight(GetClientSize().y);
    model_.RecalcLayout(
        [this](const controls::HTMLLIST_ITEM& item) { return CalcItemHeight(item); });
    UpdateScrollbar();
}

int CHTMLListCtrl::HitTestItem(const wxPoint& point) const {
    return model_.HitTest(point.y);
}

int CHTMLListCtrl::CalcItemHeight(const controls::HTMLLIST_ITEM& item) {
    switch (item.type) {
    case controls::kHtmlTextRow:
        // Marked-up rows never wrap: only their line breaks count.
        return controls::MarkupHeight(item.text, false, lineHeight_) + kRowPadding;
    case controls::kPlainTextRow: {
        int width = GetClientSize().x;
        if ((model_.GetStyle() & controls::kHtmlListMarkers) && markerImages_)
            width -= markerImages_->GetSize().x + kMarkerGap;
        wxClientDC dc(this);
        DcTextMeasurer measurer(dc, fonts_);
        auto lines = controls::WrapPlainText(item.text, width, measurer);
        return static_cast<int>(lines.size()) * charHeight_ + kRowPadding;
    }
    default:
        return charHeight_ + kRowPadding;
    }
}

// ---- selection ----

void CHTMLListCtrl::SetSelectedItem(int id) {
    model_.SetSelectedItem(id);
    Refresh(false);
}

void CHTMLListCtrl::SetCurrentItem(int id) {
    model_.SetCurrentItem(id);
    Refresh(false);
}

void CHTMLListCtrl::SendSelChangeNotify() {
    Notify(wxEVT_HTMLLIST_SELCHANGED, model_.GetSelectedItem());
}

void CHTMLListCtrl::SetListStyle(int style) {
    model_.SetStyle(style);
    Refresh(false);
}

void CHTMLListCtrl::SetMarkerImageList(wxImageList* images) {
    markerImages_ = images;
    Refresh(false);
}

void CHTMLListCtrl::SetCheckImageList(wxImageList* images) {
    checkImages_ = images;
    Refresh(false);
}

void CHTMLListCtrl::Notify(wxEventType type, int id) {
    CHTMLListEvent event(type, GetId());
    event.SetEventObject(this);
    const controls::HTMLLIST_ITEM* item = model_.GetItem(id);
    if (item)
        event.SetItem(item->id, item->text, item->data, item->checked);
    else
        event.SetItem(-1, std::string(), 0, false);
    GetEventHandler()->ProcessEvent(event);
}

void CHTMLListCtrl::InvalidateItem(int id) {
    wxRect rect = GetItemRect(id);
    if (!rect.IsEmpty()) RefreshRect(rect, false);
}

// ---- scrolling ----

void CHTMLListCtrl::UpdateScrollbar() {
    SetScrollbar(wxVERTICAL, model_.ScrollPos(), model_.ClientHeight(), model_.TotalHeight());
}

void CHTMLListCtrl::ScrollTo(int pos) {
    if (!model_.ScrollTo(pos)) return;
    SetScrollPos(wxVERTICAL, model_.ScrollPos());
    Refresh(false);
}

void CHTMLListCtrl::OnScroll(wxScrollWinEvent& event) {
    if (event.GetOrientation() != wxVERTICAL) return;
    const wxEventType type = event.GetEventType();
    const int step = controls::HtmlListModel::kLineStep;
    if (type == wxEVT_SCROLLWIN_TOP)
        ScrollTo(0);
    else if (type == wxEVT_SCROLLWIN_BOTTOM)
        ScrollTo(model_.ScrollLimit());
    else if (type == wxEVT_SCROLLWIN_LINEUP || type == wxEVT_SCROLLWIN_PAGEUP)
        ScrollTo(model_.ScrollPos() - step);
    else if (type == wxEVT_SCROLLWIN_LINEDOWN || type == wxEVT_SCROLLWIN_PAGEDOWN)
        ScrollTo(model_.ScrollPos() + step);
    else
        ScrollTo(event.GetPosition());
}

void CHTMLListCtrl::OnMouseWheel(wxMouseEvent& event) {
    if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL) return;
    if (!model_.ScrollWheel(event.GetWheelRotation())) return;
    SetScrollPos(wxVERTICAL, model_.ScrollPos());
    Refresh(false);
}

// ---- painting ----

void CHTMLListCtrl::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    PaintRows(dc);
}

void CHTMLListCtrl::PaintRows(wxDC& dc) {
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetFont(GetFont());
    int first = 0, last = -1;
    model_.VisibleRange(first, last);
    for (int id = first; id <= last; ++id)
        DrawItem(dc, GetItemRect(id), id, id == model_.GetSelectedItem());
}

int CHTMLListCtrl::MarkerImageIndex(const controls::HTMLLIST_ITEM& item, bool selected) const {
    const bool current = item.id == model_.GetCurrentItem();
    const bool marked = item.marker != 0;
    if (!selected) {
        if (current) return marked ? 5 : 4;
        return marked ? 0 : 1;
    }
    if (current) return marked ? 7 : 6;
    return marked ? 2 : 3;
}

void CHTMLListCtrl::DrawItem(wxDC& dc, const wxRect& rect, int id, bool selected) {
    const controls::HTMLLIST_ITEM* item = model_.GetItem(id);
    if (!item) return;
    const int style = model_.GetStyle();

    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(selected ? selectionColour_ : *wxWHITE));
    dc.DrawRectangle(rect);

    if (style & controls::kHtmlListGridLines) {
        dc.SetPen(wxPen(gridColour_));
        dc.DrawLine(rect.GetLeft(), rect.GetTop(), rect.GetLeft(), rect.GetBottom() + 1);
        dc.DrawLine(rect.GetLeft(), rect.GetBottom(), rect.GetRight() + 1, rect.GetBottom());
    }

    int textLeft = kTextMargin;
    if (style & controls::kHtmlListCheckBoxes) {
        textLeft = kCheckBoxTextLeft;
        if (checkImages_ && checkImages_->GetImageCount() > (item->checked ? 1 : 0)) {
            wxSize size = checkImages_->GetSize();
            checkImages_->Draw(item->checked ? 1 : 0, dc, rect.x + kCheckBoxLeft,
                               rect.y + (rect.height - size.y) / 2, wxIMAGELIST_DRAW_TRANSPARENT);
        }
    }
    if ((style & controls::kHtmlListMarkers) && markerImages_) {
        wxSize size = markerImages_->GetSize();
        int index = MarkerImageIndex(*item, selected);
        if (index < markerImages_->GetImageCount())
            markerImages_->Draw(index, dc, rect.x + kMarkerLeft,
                                rect.y + (rect.height - size.y) / 2, wxIMAGELIST_DRAW_TRANSPARENT);
        textLeft = kMarkerLeft + size.x + kMarkerGap;
    }

    const int textTop = item->fixedHeight ? 0 : kTextMargin;
    wxRect textRect(rect.x + textLeft, rect.y + textTop, std::max(0, rect.width - textLeft),
                    std::max(0, rect.height - textTop));
    dc.SetTextForeground(*wxBLACK);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetFont(GetFont());
    if (item->type == controls::kHtmlTextRow) {
        DrawHtmlText(dc, item->text, &textRect, 0, fonts_);
    } else {
        DcTextMeasurer measurer(dc, fonts_);
        if (item->type == controls::kFilePathRow) {
            std::string shown = controls::CompactPath(item->text, textRect.width, measurer);
            dc.SetFont(GetFont());
            dc.DrawLabel(ToDisplayText(shown), textRect, wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL);
        } else {
            auto lines = controls::WrapPlainText(item->text, textRect.width, measurer);
            dc.SetFont(GetFont());
            int y = textRect.y;
            for (const std::string& line : lines) {
                dc.DrawText(ToDisplayText(line), textRect.x, y);
                y += charHeight_;
            }
        }
    }

    if (selected && hasFocus_) wxRendererNative::Get().DrawFocusRect(this, dc, rect);
}

void CHTMLListCtrl::OnSize(wxSizeEvent& event) {
    RecalcLayout();
    Refresh(false);
    event.Skip();
}

// ---- mouse and keys ----

void CHTMLListCtrl::OnLeftDown(wxMouseEvent& event) {
    SetFocus();
    Notify(wxEVT_HTMLLIST_LEFT_CLICK, -1);
    model_.SetSelectedItem(-1);
    const wxPoint point = event.GetPosition();
    const int id = model_.HitTest(point.y);
    if (id >= 0) {
        if (model_.GetStyle() & controls::kHtmlListCheckBoxes) {
            int boxWidth = checkImages_ ? checkImages_->GetSize().x : kCheckBoxWidth;
            if (point.x >= kCheckBoxLeft && point.x < kCheckBoxLeft + boxWidth) {
                model_.SetItemChecked(id, !model_.GetItem(id)->checked);
                Notify(wxEVT_HTMLLIST_ITEM_CHECKED, id);
            }
        }
        model_.SetSelectedItem(id);
    }
    Notify(wxEVT_HTMLLIST_SELCHANGED, model_.GetSelectedItem());
    Refresh(false);
}

void CHTMLListCtrl::OnLeftDoubleClick(wxMouseEvent&) {
    Notify(wxEVT_HTMLLIST_DOUBLE_CLICK, model_.GetSelectedItem());
}

void CHTMLListCtrl::OnRightDown(wxMouseEvent&) {
    Notify(wxEVT_HTMLLIST_RIGHT_CLICK, -1);
}

void CHTMLListCtrl::OnKeyDown(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    bool moved = false;
    switch (key) {
    case WXK_UP:
    case WXK_NUMPAD_UP:
        moved = model_.MoveSelectionUp();
        break;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
        moved = model_.MoveSelectionDown();
        break;
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP:
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN:
        moved = model_.MoveSelectionByPage(key == WXK_PAGEUP || key == WXK_NUMPAD_PAGEUP);
        break;
    case WXK_HOME:
    case WXK_NUMPAD_HOME:
    case WXK_END:
    case WXK_NUMPAD_END:
        moved = model_.MoveSelectionToEnd(key == WXK_END || key == WXK_NUMPAD_END);
        break;
    default:
        break;
    }
    if (moved) {
        EnsureVisible(model_.GetSelectedItem());
        Refresh(false);
        Notify(wxEVT_HTMLLIST_SELCHANGED, model_.GetSelectedItem());
        return;
    }
    if (key == WXK_SPACE && (model_.GetStyle() & controls::kHtmlListCheckBoxes)) {
        int id = model_.GetSelectedItem();
        if (model_.SetItemChecked(id, !IsItemChecked(id))) {
            InvalidateItem(id);
            Notify(wxEVT_HTMLLIST_ITEM_CHECKED, id);
        }
        return;
    }
    event.Skip();
}

void CHTMLListCtrl::OnFocus(wxFocusEvent& event) {
    hasFocus_ = event.GetEventType() == wxEVT_SET_FOCUS;
    InvalidateItem(model_.GetSelectedItem());
    event.Skip();
}
