// The BreakPoint pane: the user's breakpoints, one per row, with commands to
// remove the selected one or all of them and to show a breakpoint's source
// line; a double click shows it in the assembly pane and the source.
#pragma once

#include "breakpoint_records.h"
#include "dock_pane.h"

#include <functional>
#include <list>
#include <string>

class CListGridCtrl;
class CScintillaWnd;

class CBreakWnd : public CDockPane {
public:
    CBreakWnd(wxWindow* parent, int id, const wxString& caption);
    ~CBreakWnd() override;

    // One row per record in list order; the rows below are left as they are.
    void FillBreakWnd(const std::list<CInfo_Break>& records);
    // Every cell of the list to the empty text.
    void BlankBreakWnd();

    // The toolbar's commands, on the selected row.
    void OnRemoveBreakPoint();
    void OnRemoveAllBreakPoints();
    void OnGotoBreakPointSource();
    // The double click: the breakpoint's row in the assembly pane, then its
    // source line.
    void ShowSelectedBreakPoint();

    CListGridCtrl* List() const { return m_list; }

    // The editor of a project file (any case): an open window's, brought to
    // the front when `activate`, else the file is opened and shown. Null
    // when it cannot be opened.
    std::function<CScintillaWnd*(const std::string& file, bool activate)> sourceEditor;

private:
    void RemoveRecordAt(int row);
    void ShowSourceLine(const CInfo_Break& record);

    CListGridCtrl* m_list = nullptr;
};

// The break pane of the main frame; null while none exists.
extern CBreakWnd* g_pBreakWnd;
