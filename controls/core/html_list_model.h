// The display-free part of the HTML-row list: its rows, their heights kept
// as prefix sums so that a row's place and the row at a place are found
// without walking the list, the vertical pixel scroll position, the
// selection, the current (program-counter) row and the check marks.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace controls {

enum HtmlRowType { kHtmlTextRow = 1, kPlainTextRow = 2, kFilePathRow = 3 };

// Style bits of the list.
enum HtmlListStyle { kHtmlListCheckBoxes = 1, kHtmlListGridLines = 2, kHtmlListMarkers = 4 };

struct HTMLLIST_ITEM {
    int id = -1;    // index in insertion order
    int height = 0; // pixels
    int type = kPlainTextRow;
    std::string text;
    int data = 0; // carried by the notifications
    bool checked = false;
    bool fixedHeight = false; // the caller gave the height
    int marker = 0;
};

class HtmlListModel {
public:
    // Gives the measured height of a row whose height is not fixed.
    using HeightMeasure = std::function<int(const HTMLLIST_ITEM&)>;

    static constexpr int kLineStep = 50;  // scroll lines and pages move this far
    static constexpr int kWheelStep = 40; // one wheel message moves this far

    // Appends a row; a height of 0 means measure it. Returns the new id.
    int InsertItem(const std::string& text, int type, int height, int marker,
                   const HeightMeasure& measure);
    void DeleteAllItems();
    // Measures again every row whose height is not fixed and renumbers them.
    void RecalcLayout(const HeightMeasure& measure);

    int GetItemCount() const { return static_cast<int>(items_.size()); }
    bool IsValidId(int id) const { return id >= 0 && id < GetItemCount(); }
    const HTMLLIST_ITEM* GetItem(int id) const { return IsValidId(id) ? &items_[id] : nullptr; }
    bool SetItemMarker(int id, int marker);
    bool SetItemChecked(int id, bool checked);
    int TotalHeight() const { return tops_.back(); }
    // Top of a row in list coordinates (0 is the top of the first row).
    int ItemTop(int id) const { return tops_[id]; }
    // The row that holds list coordinate y, -1 when none.
    int ItemAtOffset(int y) const;
    // The row under a point of the window (y in client coordinates).
    int HitTest(int clientY) const { return ItemAtOffset(clientY + scrollPos_); }
    // Rows that show in the window: [first, last], first > last when none.
    void VisibleRange(int& first, int& last) const;

    // Scrolling, in pixels. The position stays within 0 and ScrollLimit().
    void SetClientHeight(int height);
    int ClientHeight() const { return clientHeight_; }
    int ScrollPos() const { return scrollPos_; }
    int ScrollLimit() const;
    bool ScrollTo(int pos); // true when the position changed
    bool ScrollBy(int delta);
    bool ScrollWheel(int wheelDelta); // kWheelStep per message, down for a negative delta
    // Scrolls the least distance that shows the whole row; true when it moved.
    bool EnsureVisible(int id);

    // Selection and the current row; -1 is none.
    int GetSelectedItem() const { return selected_; }
    void SetSelectedItem(int id) { selected_ = IsValidId(id) ? id : -1; }
    int GetCurrentItem() const { return current_; }
    void SetCurrentItem(int id) { current_ = IsValidId(id) ? id : -1; }
    // Up: one row up, from none to the first row. Down: one row down, from
    // none to the last row. False when the list is empty.
    bool MoveSelectionUp();
    bool MoveSelectionDown();
    // Page Up and Page Down: the row one client height above or below the
    // selected one (from none: the first row in view), at least one row on.
    // Home and End: the first or the last row. False when the list is empty.
    bool MoveSelectionByPage(bool up);
    bool MoveSelectionToEnd(bool last);

    int GetStyle() const { return style_; }
    void SetStyle(int style) { style_ = style; }

private:
    void AppendTop(int height) { tops_.push_back(tops_.back() + height); }

    std::vector<HTMLLIST_ITEM> items_;
    std::vector<int> tops_{0}; // tops_[i] is the top of row i; tops_.back() the total
    int clientHeight_ = 0;
    int scrollPos_ = 0;
    int selected_ = -1;
    int current_ = -1;
    int style_ = 0;
};

} // namespace controls
