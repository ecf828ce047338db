#include "list_edit_ctrl.h"

#include "display_text.h"

#include <wx/app.h>
#include <wx/dcclient.h>

#include <algorithm>

namespace {

constexpr int kWidthSlack = 5; // room kept right of the text

} // namespace

CListEditCtrl::CListEditCtrl(int row, int column, const std::string& initialText)
    : row_(row), column_(column), initialText_(initialText) {}

bool CListEditCtrl::Create(wxWindow* parent, wxWindow* list, const wxRect& cell) {
    if (!wxTextCtrl::Create(parent, kId, wxEmptyString, cell.GetPosition(), cell.GetSize(),
                            wxBORDER_SIMPLE))
        return false;
    list_ = list;
    SetFont(list->GetFont());
    ChangeValue(ToDisplayText(initialText_));
    Bind(wxEVT_CHAR_HOOK, &CListEditCtrl::OnCharHook, this);
    Bind(wxEVT_TEXT, &CListEditCtrl::OnText, this);
    Bind(wxEVT_KILL_FOCUS, &CListEditCtrl::OnKillFocus, this);
    SetFocus();
    SetInsertionPoint(0);
    SetSelection(0, 0);
    return true;
}

void CListEditCtrl::OnCharHook(wxKeyEvent& event) {
    // Return and Escape end the edit before any parent window or accelerator
    // sees them; every other key goes on to the box.
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE) cancelled_ = true;
    if (key == WXK_ESCAPE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
        // The focus goes back to the list; the edit ends here rather than
        // waiting for the focus loss, which a window without the keyboard
        // focus may never see.
        if (list_) list_->SetFocus();
        EndEdit();
        return;
    }
    event.Skip();
}

void CListEditCtrl::OnText(wxCommandEvent& event) {
    // Widen the box when the text no longer fits, up to the list's right edge.
    event.Skip();
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    int needed = dc.GetTextExtent(GetValue()).x + kWidthSlack;
    wxRect rect = GetRect();
    if (needed <= rect.width) return;
    int limit = GetParent()->GetClientSize().x - rect.x;
    int width = std::min(needed, limit);
    if (width > rect.width) SetSize(rect.x, rect.y, width, rect.height);
}

void CListEditCtrl::OnKillFocus(wxFocusEvent& event) {
    event.Skip();
    EndEdit();
}

void CListEditCtrl::EndEdit() {
    if (ended_) return;
    ended_ = true;
    if (list_ && !list_->IsBeingDeleted()) {
        CCellEditEvent result(wxEVT_CELL_EDIT_END, list_->GetId());
        result.SetEventObject(list_);
        result.SetCell(row_, column_);
        result.SetResult(cancelled_, FromDisplayText(GetValue()));
        list_->GetEventHandler()->ProcessEvent(result);
    }
    // Not from inside the focus handler: once the event has been handled.
    wxWeakRef<CListEditCtrl> self(this);
    wxTheApp->CallAfter([self] {
        if (self) self->Destroy();
    });
}
