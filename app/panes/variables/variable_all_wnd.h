// The "Global Variable" pane: one row per global data variable with its
// value, type and address. Its Value cells are edited in place and written
// to the target.
#pragma once

#include "dock_pane.h"

class CReportCtrlAll;
class wxCommandEvent;
class wxContextMenuEvent;

class CVariableAllWnd : public CDockPane {
public:
    CVariableAllWnd(wxWindow* parent, int id, const wxString& caption);
    ~CVariableAllWnd() override;

    CReportCtrlAll* List() const { return m_list; }
    int Radix() const { return m_radix; }
    // The radix commands: the radix, then every row formatted again.
    void SetRadix(int radix);
    int RowCount() const { return m_rowCount; }

    // The columns; any in-place edit ends; no rows.
    void InitList();
    // After a project is opened: a row for each listed formatted variable.
    void FillGlobalVariableWnd();
    // After a stop: every row read again.
    void UpdateGlobalVariableValues();
    // Project close: rows and columns go, the radix stays.
    void ClearRows();

private:
    void OnContextMenu(wxContextMenuEvent& event);
    void OnCommitRow(wxCommandEvent& event);

    CReportCtrlAll* m_list = nullptr;
    int m_rowCount = 0;
    int m_radix = 10;
};

extern CVariableAllWnd* g_pVariableAllWnd;
