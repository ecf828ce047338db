// The common shape of the docking panes: a one-entry combo box naming the
// pane, the pane's toolbar, and the pane's control below them.
#pragma once

#include <wx/panel.h>

class wxComboBox;
class wxSizer;
class wxToolBar;

class CDockPane : public wxPanel {
public:
    CDockPane(wxWindow* parent, int id, const wxString& caption);

    const wxString& Caption() const { return m_caption; }
    wxComboBox* TitleCombo() const { return m_titleCombo; }
    wxToolBar* PaneToolBar() const { return m_toolBar; }
    wxWindow* Control() const { return m_control; }

    // Puts the pane's control (a child of this pane) below the toolbar.
    void SetControl(wxWindow* control);

    // Lays the pane out; a pane too short for its control's least size lets
    // the control run past its bottom edge (cut off there) instead of
    // squeezing it.
    bool Layout() override;

private:
    wxString m_caption;
    wxComboBox* m_titleCombo = nullptr;
    wxToolBar* m_toolBar = nullptr;
    wxWindow* m_control = nullptr;
    wxSizer* m_sizer = nullptr;
};
