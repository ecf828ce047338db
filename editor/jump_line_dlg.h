// The modal "Go To Line" dialog: asks for a line number.
#pragma once

#include <wx/dialog.h>

class wxTextCtrl;

class CJumpLineDlg : public wxDialog {
public:
    enum { IDC_LINE = 20014 };

    explicit CJumpLineDlg(wxWindow* parent);

    // Set by the caller before the dialog is shown (the box still opens
    // empty); on OK the number typed (0 when the text does not start with
    // one). Cancel leaves it as it was.
    int GetLine() const { return m_nLine; }
    void SetLine(int line);

private:
    void OnOK(wxCommandEvent& event);

    int m_nLine = 0;
    wxTextCtrl* m_pLineBox = nullptr;
};
