// The emulator pane: the target's run state and two status rows. Created
// hidden; its texts are written when a project is opened and closed.
#pragma once

#include "dock_pane.h"

class CReportCtrlEmul;
class wxTextCtrl;

class CEmulatorWnd : public CDockPane {
public:
    CEmulatorWnd(wxWindow* parent, int id, const wxString& caption);
    ~CEmulatorWnd() override;

    // Writes "Current Line" / "0" and "Current PC" / "0" into the rows.
    void ClearEmulatorRows();
    // The status box reads "STATUS : STOP".
    void ShowRunState();
    // Project close: the rows written again, the status stopped.
    void ResetEmulatorWnd();

    CReportCtrlEmul* StatusList() const { return m_list; }
    wxTextCtrl* StatusBox() const { return m_status; }

private:
    wxTextCtrl* m_status = nullptr;
    CReportCtrlEmul* m_list = nullptr;
};

extern CEmulatorWnd* g_pEmulatorWnd;
