// CReportListBase: the window shared by the report lists and the tree grid.
// A header (wxHeaderCtrlSimple) over a body that scrolls by rows vertically
// and by pixels horizontally and paints only the rows in view, buffered, so
// repainting does not flicker. Derived classes give the row count, draw a
// row and handle the body's mouse and keys.
#pragma once

#include "column_format.h"

#include <wx/bitmap.h>
#include <wx/headerctrl.h>
#include <wx/window.h>

#include <string>
#include <vector>

class CReportListBase : public wxWindow {
public:
    CReportListBase() = default;
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = wxBORDER_THEME);

    // The body, where the rows are drawn; cell rectangles are in its coordinates.
    wxWindow* GetBody() const { return body_; }
    wxHeaderCtrlSimple* GetHeader() const { return header_; }

    void SetGridLines(bool on);
    bool HasGridLines() const { return gridLines_; }
    int GetRowHeight() const { return rowHeight_; }
    int GetTopRow() const { return topRow_; }
    // Rows that fit wholly in the body.
    int GetVisibleRowCount() const;
    // Where a navigation key (arrows, pages, Home, End, also on the keypad)
    // moves the selection from `row` (-1: none) among `count` rows, clamped;
    // false when the key is no navigation key.
    bool NavigationTarget(int keyCode, int row, int count, int& target) const;

    // Pictures at the left of the column titles: column i shows image i (a
    // column past the last image shows none). They stay when the columns change.
    void SetHeaderImages(const std::vector<wxBitmap>& images);
    bool HasHeaderImage(int column) const;

    int GetHeaderColumnCount() const { return static_cast<int>(columns_.size()); }
    const controls::ColumnSpec& GetHeaderColumn(int column) const { return columns_[column]; }
    // Left edge of a column in content coordinates (before horizontal scrolling).
    int GetColumnLeft(int column) const;
    int GetTotalColumnWidth() const;

    wxRect GetRowRect(int row) const;
    wxRect GetCellRect(int row, int column) const;
    // The row and column under a point of the body; -1 where there is none.
    void HitTestCell(const wxPoint& bodyPoint, int& row, int& column) const;

    void EnsureRowVisible(int row);
    void EnsureColumnVisible(int column);
    void ScrollToRow(int top);
    void ScrollRows(int delta) { ScrollToRow(topRow_ + delta); }
    void RefreshRow(int row);
    // After rows were added or removed: scroll bars and picture.
    void RowsChanged();

    bool SetFont(const wxFont& font) override;

    // Tells the parents that a context menu is wanted at a screen point (a
    // right click on the body sends it after the click has selected its row).
    void SendContextMenu(const wxPoint& screenPoint);

protected:
    // Replaces the header's columns.
    void SetHeaderColumns(const std::vector<controls::ColumnSpec>& columns);

    virtual int GetRowCount() const = 0;
    // Draws one row; `rect` spans all columns, shifted by the horizontal scroll.
    virtual void DrawRow(wxDC& dc, int row, const wxRect& rect) = 0;
    virtual void OnHeaderClicked(int WXUNUSED(column)) {}
    virtual void OnColumnResized(int WXUNUSED(column), int WXUNUSED(width)) {}
    // Mouse buttons and motion in the body (the wheel scrolls by itself).
    virtual void OnBodyMouse(wxMouseEvent& event) { event.Skip(); }
    virtual void OnBodyCaptureLost() {}
    virtual void OnBodyKeyDown(wxKeyEvent& event) { event.Skip(); }
    // The rows or columns in view changed.
    virtual void OnBodyScrolled() {}

    // Draws a cell text shortened with "..." to the cell, single-line and
    // vertically centred, inset by a few pixels.
    void DrawCellText(wxDC& dc, const std::string& text, const wxRect& cell,
                      controls::ColumnAlign align) const;
    bool BodyHasFocus() const;

private:
    friend class CReportListBody;

    void PaintBody(wxDC& dc);
    void UpdateScrollbars();
    void LayOut();
    void ScrollHorizontallyTo(int offset);
    void OnSize(wxSizeEvent& event);
    void OnBodyScroll(wxScrollWinEvent& event);
    void OnBodyWheel(wxMouseEvent& event);
    void OnHeaderClick(wxHeaderCtrlEvent& event);
    void OnHeaderResizing(wxHeaderCtrlEvent& event);

    wxHeaderCtrlSimple* header_ = nullptr;
    wxWindow* body_ = nullptr;
    std::vector<controls::ColumnSpec> columns_;
    std::vector<wxBitmap> headerImages_;
    int rowHeight_ = 20;
    int topRow_ = 0;
    int xOffset_ = 0;
    bool gridLines_ = false;
};
