#include "combo_in_list_view.h"

#include "display_text.h"

#include <wx/app.h>

CComboInListView::CComboInListView(int row, int column, const std::vector<std::string>& choices)
    : row_(row), column_(column), choices_(choices) {}

bool CComboInListView::Create(wxWindow* parent, wxWindow* list, const wxRect& cell,
                              const std::string& cellText) {
    wxArrayString entries;
    for (const std::string& choice : choices_)
        entries.Add(ToDisplayText(choice));
    if (!wxComboBox::Create(parent, kId, wxEmptyString, cell.GetPosition(), wxSize(cell.width, -1),
                            entries, wxCB_READONLY))
        return false;
    list_ = list;
    SetFont(list->GetFont());
    int index = FindString(ToDisplayText(cellText), true);
    if (index != wxNOT_FOUND) SetSelection(index);
    Bind(wxEVT_CHAR_HOOK, &CComboInListView::OnCharHook, this);
    Bind(wxEVT_COMBOBOX_DROPDOWN, &CComboInListView::OnDropDown, this);
    Bind(wxEVT_COMBOBOX_CLOSEUP, &CComboInListView::OnCloseUp, this);
    Bind(wxEVT_KILL_FOCUS, &CComboInListView::OnKillFocus, this);
    SetFocus();
    Popup();
    return true;
}

void CComboInListView::OnCharHook(wxKeyEvent& event) {
    // Return and Escape end the edit before any parent window sees them.
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE) cancelled_ = true;
    if (key == WXK_ESCAPE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
        ReturnFocus();
        return;
    }
    event.Skip();
}

void CComboInListView::OnDropDown(wxCommandEvent& event) {
    droppedDown_ = true;
    event.Skip();
}

void CComboInListView::OnCloseUp(wxCommandEvent& event) {
    droppedDown_ = false;
    event.Skip();
    ReturnFocus();
}

void CComboInListView::OnKillFocus(wxFocusEvent& event) {
    event.Skip();
    // The open drop-down may hold the keyboard for a while; the edit ends
    // when it has closed.
    if (!droppedDown_) EndEdit();
}

void CComboInListView::ReturnFocus() {
    if (list_) list_->SetFocus();
    // The focus may not move (the list already had it): end here as well.
    EndEdit();
}

void CComboInListView::EndEdit() {
    if (ended_) return;
    ended_ = true;
    const int selection = GetSelection();
    if (list_ && !list_->IsBeingDeleted() && selection != wxNOT_FOUND) {
        CCellEditEvent result(wxEVT_CELL_EDIT_END, list_->GetId());
        result.SetEventObject(list_);
        result.SetCell(row_, column_);
        result.SetResult(cancelled_, FromDisplayText(GetString(selection)));
        long data = HasClientUntypedData() ? reinterpret_cast<long>(GetClientData(selection)) : 0;
        result.SetItemData(data);
        list_->GetEventHandler()->ProcessEvent(result);
    }
    wxWeakRef<CComboInListView> self(this);
    wxTheApp->CallAfter([self] {
        if (self) self->Destroy();
    });
}
