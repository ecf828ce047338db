// The Assembly pane: the mixed source and assembly listing and the
// assembly-only listing of the open project, one of them shown at a time.
// It shows the program counter's row and toggles breakpoints at a row.
#pragma once

#include "dock_pane.h"

#include <cstdint>
#include <functional>
#include <memory>

class CHTMLListCtrl;
class wxImageList;
struct CListingModel;

class CAssembleView : public CDockPane {
public:
    CAssembleView(wxWindow* parent, int id, const wxString& caption);
    ~CAssembleView() override;

    CHTMLListCtrl* SourceList() const { return m_srcList; }
    CHTMLListCtrl* AsmList() const { return m_asmList; }
    // The list the view-mode flag selects.
    CHTMLListCtrl* ShownList() const;

    // Fills both lists from the listings of the open project.
    void Fill(const CListingModel& model);
    // Empties both lists.
    void ClearAssemblyView();
    // Shows the list the view-mode flag selects and hides the other.
    void ShowSelectedList();

    // Without `mark`, the row of `pc` becomes the shown list's selection (an
    // address without a row changes nothing). With `mark`, `pc` is where the
    // target is: its instruction row becomes each list's program-counter row
    // and the shown list's selection; a PC without an instruction row (outside
    // the image, inside an instruction, on data) leaves no row marked or
    // selected.
    void ShowPcInAssembly(uint16_t pc, int mark);
    // Switches lists; the row of the editor's caret line is selected.
    void OnToggleView();
    // Toggles the breakpoint at the shown list's selected row.
    void OnToggleBreakPoint();

    // How the pane reaches the source windows: the project file of the
    // window in front ("CAN'T SEARCH" when none), and the toggle of a row's
    // breakpoint in the window showing `file` (opening it when needed).
    std::function<std::string()> activeProjectFile;
    std::function<void(const std::string& file, int line, uint32_t address)> toggleInSource;

private:
    void SelectRow(CHTMLListCtrl* list, int row);

    CHTMLListCtrl* m_srcList = nullptr;
    CHTMLListCtrl* m_asmList = nullptr;
    std::unique_ptr<wxImageList> m_markers;
};

// The assembly pane of the main frame; null while none exists.
extern CAssembleView* g_pAssembleView;
// The caret line of the source window in front (line number - 1), noted
// when the user clicks or types in it.
extern int g_nEditorLine;

// The caret line of `file`'s window moved: its rows are selected in the
// shown list (a line beyond the file as loaded selects nothing).
void SyncAssemblyToCaret(const std::string& file, int caretLine);
