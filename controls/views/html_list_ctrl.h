// CHTMLListCtrl: a vertically scrolling list whose rows are marked-up texts
// (the mixed source and disassembly listing), with marker images, check
// boxes, a selection and a current row. It keeps its own pixel scroll
// position and paints only the rows in view, so 30 000 rows stay smooth.
#pragma once

#include "control_events.h"
#include "html_list_model.h"
#include "html_text_renderer.h"

#include <wx/imaglist.h>
#include <wx/window.h>

#include <string>

class CHTMLListCtrl : public wxWindow {
public:
    CHTMLListCtrl() = default;
    CHTMLListCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                  const wxSize& size = wxDefaultSize);
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize);
    ~CHTMLListCtrl() override;

    // Appends a row of type controls::kHtmlTextRow, kPlainTextRow or
    // kFilePathRow; a height of 0 means measure it. Returns the row's id.
    int InsertItem(const std::string& text, int type, int height, int marker);
    void DeleteAllItems();
    int GetItemCount() const { return model_.GetItemCount(); }
    std::string GetItemText(int id) const;
    void SetItemMarker(int id, int marker);
    // Where the row is, in client coordinates (empty for an unknown id).
    wxRect GetItemRect(int id) const;
    void EnsureVisible(int id);
    // Measures the rows again (after a change of width or font).
    void RecalcLayout();
    // The row under a point in client coordinates, -1 for none.
    int HitTestItem(const wxPoint& point) const;

    void SetSelectedItem(int id);
    int GetSelectedItem() const { return model_.GetSelectedItem(); }
    // The current row is the program counter's line.
    void SetCurrentItem(int id);
    int GetCurrentItem() const { return model_.GetCurrentItem(); }
    // Sends the selection-change notification for the selected row.
    void SendSelChangeNotify();

    // controls::HtmlListStyle bits: 1 check boxes, 2 grid lines, 4 markers.
    void SetListStyle(int style);
    int GetListStyle() const { return model_.GetStyle(); }
    // Images chosen by the owner, not owned. Markers: 0 marker, 1 none,
    // 2/3 selected with/without marker, 4/5 current row without/with marker,
    // 6/7 selected current row without/with marker. Check boxes: 0 clear, 1 checked.
    void SetMarkerImageList(wxImageList* images);
    void SetCheckImageList(wxImageList* images);
    bool IsItemChecked(int id) const;

    int GetScrollPosition() const { return model_.ScrollPos(); }

    // Draws one row; derived lists may draw their rows differently.
    virtual void DrawItem(wxDC& dc, const wxRect& rect, int id, bool selected);
    // Draws every row in view, as the paint handler does.
    void PaintRows(wxDC& dc);

    bool AcceptsFocus() const override { return true; }
    bool SetFont(const wxFont& font) override;

private:
    int CalcItemHeight(const controls::HTMLLIST_ITEM& item);
    int MarkerImageIndex(const controls::HTMLLIST_ITEM& item, bool selected) const;
    void UpdateScrollbar();
    void ScrollTo(int pos);
    void Notify(wxEventType type, int id);
    void InvalidateItem(int id);

    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnScroll(wxScrollWinEvent& event);
    void OnMouseWheel(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftDoubleClick(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnFocus(wxFocusEvent& event);

    controls::HtmlListModel model_;
    StyledFontCache fonts_;
    int lineHeight_ = 0; // "Åy" in the list font
    int charHeight_ = 0; // one line of plain text
    wxColour selectionColour_{255, 255, 0};
    wxColour gridColour_{200, 200, 200};
    wxImageList* markerImages_ = nullptr;
    wxImageList* checkImages_ = nullptr;
    bool hasFocus_ = false;
    bool scrollbarUpdatePending_ = false;
};
