#include "dock_pane.h"

#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/toolbar.h>

#include <algorithm>

CDockPane::CDockPane(wxWindow* parent, int id, const wxString& caption)
    : wxPanel(parent, id, wxDefaultPosition, wxSize(200, 200), wxTAB_TRAVERSAL | wxCLIP_CHILDREN,
              caption),
      m_caption(caption) {
    m_titleCombo = new wxComboBox(this, wxID_ANY, caption, wxDefaultPosition, wxDefaultSize, 1,
                                  &caption, wxCB_READONLY);
    m_titleCombo->SetSelection(0);
    m_toolBar = new wxToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                              wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER);
    m_toolBar->Realize();
    m_sizer = new wxBoxSizer(wxVERTICAL);
    m_sizer->Add(m_titleCombo, 0, wxEXPAND);
    m_sizer->Add(m_toolBar, 0, wxEXPAND);
    SetSizer(m_sizer);
}

void CDockPane::SetControl(wxWindow* control) {
    if (m_control) m_sizer->Detach(m_control);
    m_control = control;
    if (m_control) m_sizer->Add(m_control, 1, wxEXPAND);
    Layout();
}

bool CDockPane::Layout() {
    // Over at least the height its items need: the control is never given
    // less than its least size, not even on the way.
    const wxSize size = GetClientSize();
    // A row that wraps (the memory panes' address row) needs the width
    // first to tell how high it is.
    for (wxSizerItem* item : m_sizer->GetChildren())
        if (item->IsSizer()) item->GetSizer()->InformFirstDirection(wxHORIZONTAL, size.x, -1);
    m_sizer->SetDimension(wxPoint(0, 0), wxSize(size.x, std::max(size.y, m_sizer->GetMinSize().y)));
    return true;
}
