#include "find_string_dlg.h"

#include "hit_in_sight.h"
#include "scintilla_constants.h"
#include "scintilla_wnd.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include <algorithm>

CFindStringDlg::CFindStringDlg(wxWindow* parent, std::vector<std::string>& history)
    : wxDialog(parent, wxID_ANY, "Search"), m_history(history) {
    m_pFindBox = new wxComboBox(this, IDC_FIND_TEXT, wxEmptyString, wxDefaultPosition,
                                wxSize(240, -1), 0, nullptr, wxCB_DROPDOWN);
    m_pCaseSensitive = new wxCheckBox(this, IDC_CASE_SENSITIVE, "Case Sensitive(&C)");
    wxButton* next = new wxButton(this, IDC_NEXT, "Next");
    wxButton* previous = new wxButton(this, IDC_PREVIOUS, "Previous");

    wxBoxSizer* findRow = new wxBoxSizer(wxHORIZONTAL);
    findRow->Add(new wxStaticText(this, wxID_ANY, "Find :"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
                 6);
    findRow->Add(m_pFindBox, 1, wxEXPAND);
    wxBoxSizer* buttons = new wxBoxSizer(wxVERTICAL);
    buttons->Add(next, 0, wxEXPAND | wxBOTTOM, 4);
    buttons->Add(previous, 0, wxEXPAND);
    wxBoxSizer* left = new wxBoxSizer(wxVERTICAL);
    left->Add(findRow, 0, wxEXPAND | wxBOTTOM, 8);
    left->Add(m_pCaseSensitive, 0);
    wxBoxSizer* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(left, 1, wxEXPAND | wxALL, 10);
    top->Add(buttons, 0, wxTOP | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);

    next->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnNext(); });
    previous->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnPrevious(); });
    Bind(wxEVT_CHAR_HOOK, &CFindStringDlg::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &CFindStringDlg::OnClose, this);
}

CFindStringDlg::~CFindStringDlg() = default;

void CFindStringDlg::SetEditor(CScintillaWnd* editor) {
    m_pEditor = editor;
}

CScintillaWnd* CFindStringDlg::GetEditor() const {
    return m_pEditor.get();
}

void CFindStringDlg::FillFindBox() {
    CScintillaWnd* editor = m_pEditor.get();
    if (editor == nullptr) return;
    m_pFindBox->Clear();
    for (auto text = m_history.rbegin(); text != m_history.rend(); ++text)
        m_pFindBox->Append(wxString::FromUTF8(*text));
    // A selection over several lines is no find text.
    std::string selection = editor->GetSelectedText();
    if (selection.find_first_of("\r\n") == std::string::npos)
        m_pFindBox->SetValue(CScintillaWnd::TextForBytes(selection));
    else
        m_pFindBox->SetValue(wxEmptyString);
}

void CFindStringDlg::OnNext() {
    Find(true);
}

void CFindStringDlg::OnPrevious() {
    Find(false);
}

void CFindStringDlg::Find(bool forward) {
    m_bCaseSensitive = m_pCaseSensitive->GetValue();
    int flags = m_bCaseSensitive ? sci::kFindMatchCase : 0;
    CScintillaWnd* editor = m_pEditor.get();
    if (editor == nullptr) return;

    wxString text = m_pFindBox->GetValue();
    if (text.empty()) return;
    std::string entry = text.utf8_string();
    if (std::find(m_history.begin(), m_history.end(), entry) == m_history.end()) {
        m_history.push_back(entry);
        m_pFindBox->Insert(text, 0);
    }

    editor->SetSearchFlags(flags);
    std::string bytes = editor->BytesForText(text);
    bool found = forward ? editor->SearchForward(bytes) : editor->SearchBackward(bytes);
    if (found)
        ScrollHitIntoSight(*editor);
    else
        wxBell();
    // The editor took the focus with the hit; the keyboard comes back here.
    if (IsShown()) {
        Raise();
        m_pFindBox->SetFocus();
    }
}

void CFindStringDlg::ScrollHitIntoSight(CScintillaWnd& editor) {
    const int start = editor.GetSelectionStart();
    const int line = editor.LineFromPosition(start);
    const int lineHeight = editor.TextHeight(line);
    const wxPoint from = editor.ClientToScreen(editor.PointFromPosition(start));
    const wxPoint to = editor.ClientToScreen(editor.PointFromPosition(editor.GetSelectionEnd()));
    const wxRect hit(from.x, from.y, std::max(1, to.x - from.x), lineHeight);
    const wxRect dialog = GetScreenRect();
    if (!hit.Intersects(dialog)) return;
    const wxRect view(editor.ClientToScreen(wxPoint(0, 0)), editor.GetClientSize());
    const int shownLines = editor.VisibleFromDocLine(editor.GetLineCount() - 1) + 1;
    const editor::ScrollRange scroll{editor.GetFirstVisibleLine(),
                                     shownLines - editor.LinesOnScreen()};
    const int lines = editor::LinesToUncover(
        {hit.GetTop(), hit.GetBottom() + 1}, {view.GetTop(), view.GetBottom() + 1},
        {dialog.GetTop(), dialog.GetBottom() + 1}, lineHeight, scroll);
    if (lines != 0) editor.LineScroll(0, lines);
}

void CFindStringDlg::OnCharHook(wxKeyEvent& event) {
    switch (event.GetKeyCode()) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        OnNext(); // Enter finds the next hit instead of closing the dialog
        break;
    case WXK_ESCAPE:
        Close();
        break;
    default:
        event.Skip();
        break;
    }
}

void CFindStringDlg::OnClose(wxCloseEvent&) {
    Destroy();
}
