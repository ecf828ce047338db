// The modeless "Search" dialog: finds a text forwards or backwards in one
// editor and keeps the find history.
//
// The dialog holds its editor weakly: when the editor's window goes while the
// dialog is open, the dialog simply has no editor any more. Closing the
// dialog destroys it.
#pragma once

#include <wx/dialog.h>
#include <wx/weakref.h>

#include <string>
#include <vector>

class CScintillaWnd;
class wxCheckBox;
class wxComboBox;

class CFindStringDlg : public wxDialog {
public:
    enum {
        IDC_NEXT = 20016,
        IDC_FIND_TEXT = 20021,
        IDC_CASE_SENSITIVE = 20022,
        IDC_PREVIOUS = 20025,
    };

    // `history` is the application's list of earlier find texts (UTF-8),
    // oldest first; the dialog appends new texts to it. It must outlive the
    // dialog.
    CFindStringDlg(wxWindow* parent, std::vector<std::string>& history);
    ~CFindStringDlg() override;

    void SetEditor(CScintillaWnd* editor);
    CScintillaWnd* GetEditor() const;

    // Fills the find box when the dialog is shown: the history, newest
    // first, and the editor's selection as the text when it is one line.
    void FillFindBox();

    // Find the next (previous) hit after the selection and select it. The
    // hit is scrolled out from under the dialog, and the keyboard stays with
    // the dialog, so that every Enter finds the next hit.
    void OnNext();
    void OnPrevious();

private:
    void Find(bool forward);
    void ScrollHitIntoSight(CScintillaWnd& editor);
    void OnCharHook(wxKeyEvent& event);
    void OnClose(wxCloseEvent& event);

    wxWeakRef<CScintillaWnd> m_pEditor;
    wxComboBox* m_pFindBox = nullptr;
    wxCheckBox* m_pCaseSensitive = nullptr;
    bool m_bCaseSensitive = false;
    std::vector<std::string>& m_history;
};
