// The "Search" (watch) pane and the "Local Variable" pane: four-column lists
// of 50 rows with check boxes. In Search the user types the names of
// variables, or memory ranges such as D:0x30:4, and edits values in place;
// Local Variable lists the locals and module statics at the program counter.
#pragma once

#include "dock_pane.h"

#include <string>

class CReportCtrl;
struct CSymbolStruct;
class wxCommandEvent;
class wxContextMenuEvent;

class CVariableWnd : public CDockPane {
public:
    CVariableWnd(wxWindow* parent, int id, const wxString& caption);
    ~CVariableWnd() override;

    CReportCtrl* List() const { return m_list; }
    int Radix() const { return m_radix; }
    // The radix commands: the radix, then every row formatted again.
    void SetRadix(int radix);

    // The columns and 50 blank rows; any in-place edit ends.
    void InitList();
    // Formats every named row again from its name at the program counter.
    // Nothing while no program-counter model exists.
    void FillVariables(int radix);
    // Toolbar 40023: checks every row, or with every row checked by it
    // before, unchecks them all.
    void CheckAll();
    // Toolbar 40024: Name, Value and Type of every checked row become empty.
    void ClearChecked();
    // Enters a name in the first row whose name is empty; false when every
    // row has one.
    bool InsertVariableName(const std::string& name);

protected:
    void OnContextMenu(wxContextMenuEvent& event);
    void OnCellEdited(wxCommandEvent& event);
    void OnCommitRow(wxCommandEvent& event);

    CReportCtrl* m_list = nullptr;
    int m_radix = 10;
    bool m_allChecked = false;
};

class CLocalVariableWnd : public CVariableWnd {
public:
    CLocalVariableWnd(wxWindow* parent, int id, const wxString& caption);
    ~CLocalVariableWnd() override;

    // Rebuilds the rows for the function that holds the program counter.
    void FillLocalVariables();
    // Empties all 50 rows.
    void ClearLocalVariableRows();
    // Project close: 50 blank rows, no function remembered.
    void ResetRows();

private:
    const CSymbolStruct* m_shownFunction = nullptr;
};

extern CVariableWnd* g_pVariableWnd;
extern CLocalVariableWnd* g_pLocalVariableWnd;

// After a name was entered or a value written: the Global Variable,
// Search and Local Variable panes, in that order.
void RefreshVariablePanes();
