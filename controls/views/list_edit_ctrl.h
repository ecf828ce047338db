// CListEditCtrl: an edit box over one cell of a list. It reports the result
// once, when it loses the focus, as a wxEVT_CELL_EDIT_END event to the list
// (the text, or cancelled after Escape), then destroys itself once that event
// has been handled. The list must not keep a pointer to it.
#pragma once

#include "control_events.h"

#include <wx/textctrl.h>
#include <wx/weakref.h>

#include <string>

class CListEditCtrl : public wxTextCtrl {
public:
    static constexpr wxWindowID kId = 0x1233;

    CListEditCtrl(int row, int column, const std::string& initialText);
    // Creates the box as a child of `parent` over `cell` (parent coordinates);
    // `list` receives the result and gets the focus back. Takes the focus with
    // the caret at the start and nothing selected.
    bool Create(wxWindow* parent, wxWindow* list, const wxRect& cell);

    int GetRow() const { return row_; }
    int GetColumn() const { return column_; }

private:
    void OnCharHook(wxKeyEvent& event);
    void OnText(wxCommandEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void EndEdit();

    int row_;
    int column_;
    std::string initialText_;
    bool cancelled_ = false;
    bool ended_ = false;
    wxWeakRef<wxWindow> list_;
};
