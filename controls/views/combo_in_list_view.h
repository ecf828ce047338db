// CComboInListView: a drop-down list of fixed choices over one cell of a
// list. It opens dropped down with the entry equal to the cell's text
// selected, reports the chosen entry once as a wxEVT_CELL_EDIT_END event to
// the list (nothing when no entry is selected), then destroys itself once
// that event has been handled.
#pragma once

#include "control_events.h"

#include <wx/combobox.h>
#include <wx/weakref.h>

#include <string>
#include <vector>

class CComboInListView : public wxComboBox {
public:
    static constexpr wxWindowID kId = 0x1235;

    CComboInListView(int row, int column, const std::vector<std::string>& choices);
    // Creates the drop-down as a child of `parent` over `cell`; `list`
    // receives the result and gets the focus back.
    bool Create(wxWindow* parent, wxWindow* list, const wxRect& cell, const std::string& cellText);

    int GetRow() const { return row_; }
    int GetColumn() const { return column_; }

private:
    void OnCharHook(wxKeyEvent& event);
    void OnDropDown(wxCommandEvent& event);
    void OnCloseUp(wxCommandEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void ReturnFocus();
    void EndEdit();

    int row_;
    int column_;
    std::vector<std::string> choices_;
    bool cancelled_ = false;
    bool ended_ = false;
    bool droppedDown_ = false;
    wxWeakRef<wxWindow> list_;
};
