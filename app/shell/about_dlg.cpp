#include "about_dlg.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

CAboutDlg::CAboutDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, "Ostrel Debugger Information") {
    auto* texts = new wxBoxSizer(wxVERTICAL);
    texts->Add(new wxStaticText(this, wxID_ANY, "Ostrel Debugger"), 0, wxBOTTOM, 4);
    texts->Add(new wxStaticText(this, wxID_ANY, "Source-level debugger for Ostrel 8051 boards"));
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticBitmap(this, wxID_ANY,
                                wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_MESSAGE_BOX)),
             0, wxALL, 10);
    row->Add(texts, 1, wxALL | wxALIGN_CENTER_VERTICAL, 10);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(row, 1, wxEXPAND);
    top->Add(new wxButton(this, wxID_OK, "OK"), 0, wxALIGN_RIGHT | wxALL, 10);
    SetSizerAndFit(top);
}
