#include "jump_line_dlg.h"

#include "text_bytes.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

CJumpLineDlg::CJumpLineDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, "Go To Line") {
    m_pLineBox = new wxTextCtrl(this, IDC_LINE, wxEmptyString, wxDefaultPosition, wxSize(120, -1));

    wxBoxSizer* lineRow = new wxBoxSizer(wxHORIZONTAL);
    lineRow->Add(new wxStaticText(this, wxID_ANY, "Go to Line:"), 0,
                 wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    lineRow->Add(m_pLineBox, 1);
    wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
    top->Add(lineRow, 0, wxEXPAND | wxALL, 10);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM,
             10);
    SetSizerAndFit(top);

    Bind(wxEVT_BUTTON, &CJumpLineDlg::OnOK, this, wxID_OK);
    m_pLineBox->SetFocus();
}

void CJumpLineDlg::SetLine(int line) {
    m_nLine = line;
}

void CJumpLineDlg::OnOK(wxCommandEvent&) {
    m_nLine = editor::LeadingDecimalNumber(m_pLineBox->GetValue().utf8_string());
    EndModal(wxID_OK);
}
