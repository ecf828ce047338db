// Notifications of the list controls to their parents. Each is a
// wxCommandEvent sent synchronously through the control's own event handler,
// so it reaches a handler bound on the control and then propagates to the
// parent windows. The event id is the control's id.
#pragma once

#include <wx/event.h>

#include <string>

// Report lists (message numbers of the original design in brackets):
//   [0xA710] a row's check box was changed by a click (check modes 1 and 2):
//            GetInt() the row, GetExtraLong() the controls::MouseButton of the click;
//   [0xA711] a sort finished: GetInt() the column, GetExtraLong() 1 ascending, 0 descending;
//   [0xA712] an in-place edit changed a cell: GetInt() the row, GetExtraLong() the column.
wxDECLARE_EVENT(wxEVT_REPORT_CHECK_CHANGED, wxCommandEvent);
wxDECLARE_EVENT(wxEVT_REPORT_SORTED, wxCommandEvent);
wxDECLARE_EVENT(wxEVT_REPORT_CELL_EDITED, wxCommandEvent);
// The list asks its owner to write an edited row to the target (Return, or
// the next left click after an edit started by a click): GetInt() the row,
// GetExtraLong() the column, GetString() "key" for Return, "mouse" for a click.
wxDECLARE_EVENT(wxEVT_REPORT_COMMIT_ROW, wxCommandEvent);
// A left double-click is about to be handled: GetInt() the selected row or -1.
wxDECLARE_EVENT(wxEVT_REPORT_ROW_ACTIVATED, wxCommandEvent);

// The HTML-row list's notifications 1 to 5.
class CHTMLListEvent : public wxCommandEvent {
public:
    CHTMLListEvent(wxEventType type = wxEVT_NULL, int id = 0) : wxCommandEvent(type, id) {}

    int GetItemId() const { return itemId_; }
    const std::string& GetItemText() const { return itemText_; }
    int GetItemData() const { return itemData_; }
    bool IsItemChecked() const { return checked_; }

    void SetItem(int id, const std::string& text, int data, bool checked) {
        itemId_ = id;
        itemText_ = text;
        itemData_ = data;
        checked_ = checked;
    }

    wxEvent* Clone() const override { return new CHTMLListEvent(*this); }

private:
    int itemId_ = -1;
    std::string itemText_;
    int itemData_ = 0;
    bool checked_ = false;
};

wxDECLARE_EVENT(wxEVT_HTMLLIST_SELCHANGED, CHTMLListEvent);   // 1: the selection changed
wxDECLARE_EVENT(wxEVT_HTMLLIST_LEFT_CLICK, CHTMLListEvent);   // 2: left click, before the hit test
wxDECLARE_EVENT(wxEVT_HTMLLIST_RIGHT_CLICK, CHTMLListEvent);  // 3: right button down
wxDECLARE_EVENT(wxEVT_HTMLLIST_DOUBLE_CLICK, CHTMLListEvent); // 4: left double-click
wxDECLARE_EVENT(wxEVT_HTMLLIST_ITEM_CHECKED, CHTMLListEvent); // 5: a check box changed

// The end of an in-place cell edit, sent by CListEditCtrl and
// CComboInListView to the list they edit. Sent once per edit.
class CCellEditEvent : public wxCommandEvent {
public:
    CCellEditEvent(wxEventType type = wxEVT_NULL, int id = 0) : wxCommandEvent(type, id) {}

    int GetRow() const { return row_; }
    int GetColumn() const { return column_; }
    // True when the edit was cancelled with Escape; the text is then empty.
    bool IsCancelled() const { return cancelled_; }
    const std::string& GetText() const { return text_; }
    // The drop-down list sends the item data of its selected entry.
    bool HasItemData() const { return hasItemData_; }
    long GetItemData() const { return itemData_; }

    void SetCell(int row, int column) {
        row_ = row;
        column_ = column;
    }
    void SetResult(bool cancelled, const std::string& text) {
        cancelled_ = cancelled;
        text_ = cancelled ? std::string() : text;
    }
    void SetItemData(long data) {
        hasItemData_ = true;
        itemData_ = data;
    }

    wxEvent* Clone() const override { return new CCellEditEvent(*this); }

private:
    int row_ = -1;
    int column_ = -1;
    bool cancelled_ = false;
    std::string text_;
    bool hasItemData_ = false;
    long itemData_ = 0;
};

wxDECLARE_EVENT(wxEVT_CELL_EDIT_END, CCellEditEvent);
