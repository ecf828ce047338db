#include "emulator_wnd.h"

#include "pane_support.h"
#include "report_ctrls.h"

#include <wx/sizer.h>
#include <wx/textctrl.h>

CEmulatorWnd* g_pEmulatorWnd = nullptr;

CEmulatorWnd::CEmulatorWnd(wxWindow* parent, int id, const wxString& caption)
    : CDockPane(parent, id, caption) {
    auto* body = new wxPanel(this);
    m_status = new wxTextCtrl(body, 1, "STATUS : STOP", wxDefaultPosition, wxDefaultSize,
                              wxTE_READONLY | wxBORDER_SIMPLE);
    m_list = new CReportCtrlEmul;
    m_list->Create(body, wxID_ANY);
    m_list->SetColumnHeader("Property, 100; Value, 100;");
    m_list->InsertRow(0, {"", ""});
    m_list->InsertRow(1, {"", ""});
    m_list->SetCheckBoxes(false);
    m_list->SetEditAllowed(false);
    SetListHeaderImages(m_list);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_status, 0, wxEXPAND);
    sizer->Add(m_list, 1, wxEXPAND);
    body->SetSizer(sizer);
    SetControl(body);
    // Nothing in the pane can be typed into.
    Bind(wxEVT_CHAR_HOOK, [](wxKeyEvent&) {});
    g_pEmulatorWnd = this;
}

CEmulatorWnd::~CEmulatorWnd() {
    if (g_pEmulatorWnd == this) g_pEmulatorWnd = nullptr;
}

void CEmulatorWnd::ClearEmulatorRows() {
    m_list->SetItemText(0, 0, "Current Line");
    m_list->SetItemText(0, 1, "0");
    m_list->SetItemText(1, 0, "Current PC");
    m_list->SetItemText(1, 1, "0");
}

void CEmulatorWnd::ShowRunState() {
    m_status->ChangeValue("STATUS : STOP");
}

void CEmulatorWnd::ResetEmulatorWnd() {
    ClearEmulatorRows();
    ShowRunState();
}
