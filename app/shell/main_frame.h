// The main window: menus, toolbars, status bar with the progress gauge, the
// source windows in the centre and the thirteen docking panes around them.
#pragma once

#include "command_rules.h"
#include "debugger_views.h"
#include "frame_docking.h"
#include "run_completion.h"

#include <wx/aui/aui.h>
#include <wx/frame.h>

#include <functional>
#include <memory>
#include <vector>

class CAssembleView;
class CBreakWnd;
class CDockPane;
class CEmulatorWnd;
class CFileView;
class CFunctionKeyFilter;
class CPropertiesWnd;
class CStatusGauge;

class CMainFrame : public wxFrame, public MainFrameLink, public RunCompletionSink {
public:
    CMainFrame();
    ~CMainFrame() override;

    // Run when the window is about to close, after the target was stopped
    // and before any window goes (the project is closed there).
    void SetClosingHandler(std::function<void()> handler) { m_onClosing = std::move(handler); }
    // Run first when the frame is destroyed, while it and its windows still
    // stand, so that what refers to them can let go.
    void SetDestroyingHandler(std::function<void()> handler) {
        m_onDestroying = std::move(handler);
    }

    // Menu 130 while a source window is open or a project is loaded (a bare
    // image has no source window, and its Debug and Window menus are still
    // wanted), menu 128 otherwise. `show`: whether a source window is open.
    void ShowSourceMenu(bool show);
    // Whether a project is loaded, for the menu bar.
    void SetProjectMenus(bool loaded);
    bool IsSourceMenuShown() const { return m_sourceMenuShown; }
    wxMenuBar* StartMenu() const { return m_startMenu; }
    wxMenuBar* SourceMenu() const { return m_sourceMenu; }

    // The docking panes in order of creation (see DockingPanes()).
    CDockPane* Pane(size_t index) const { return m_panes.at(index); }
    size_t PaneCount() const { return m_panes.size(); }
    // Shown: docked and visible, or a page of the tab group.
    bool IsPaneShown(size_t index) const;
    // In view: shown, and in the tab group the page in front. A page behind
    // another counts as hidden as much as a closed pane.
    bool IsPaneInView(size_t index) const;
    CFileView* FileView() const { return m_fileView; }
    CAssembleView* AssembleView() const { return m_assembleView; }
    CEmulatorWnd* EmulatorWnd() const { return m_emulatorWnd; }
    CPropertiesWnd* RegisterWnd() const { return m_registerWnd; }
    CBreakWnd* BreakWnd() const { return m_breakWnd; }
    // Hides the pane when it is in view, otherwise shows it and brings it to
    // the front of its tab group.
    void TogglePane(size_t index);
    wxAuiNotebook* TabGroup() const { return m_tabGroup; }
    wxAuiNotebook* SourceBook() const { return m_sourceBook; }
    wxAuiManager& Aui() { return m_aui; }

    // The status bar's progress gauge.
    void ReportProgress(int percent) override;
    int ShownProgress() const { return m_progressValue.Shown(); }
    CStatusGauge* ProgressGauge() const { return m_progress; }

    // A worker's completion, handed over as one queued event: the result is
    // shown, the target freed and the toolbars updated at once.
    void PostRunCompletion(const RunCompletion& completion) override;

    // The function key F<functionNumber> was released.
    void OnFunctionKeyRelease(int functionNumber);

    // Draws the panes, tabs and docking hints in `look` (210 to 218) at once
    // and stores it as "ApplicationLook".
    void ApplyLook(int look);
    int Look() const { return m_look; }

private:
    void CreateMenus();
    void UpdateMenuBar();
    void CreateToolBars();
    void CreateStatusBarPanes();
    void CreatePanes();
    void PlaceProgressGauge();
    void AddToTabGroup(size_t index, bool select);

    void OnClose(wxCloseEvent& event);
    // Shows "Running" while a worker owns the target, and puts the focus back
    // into the frame when it was lost (its window was closed), so that the
    // function keys always reach it.
    void OnIdle(wxIdleEvent& event);
    void OnWindowToggle(wxCommandEvent& event);
    // A Window-menu item and its Sub ToolBar button carry the check mark
    // while their pane is in view.
    void OnUpdateWindowToggle(wxUpdateUIEvent& event);
    void OnTabGroupPageChanged(wxAuiNotebookEvent& event);
    // The look commands 210 to 218; the one in force carries the mark.
    void OnApplicationLook(wxCommandEvent& event);
    void OnUpdateApplicationLook(wxUpdateUIEvent& event);

    mutable CFrameDocking m_aui; // its pane lookups are not const
    wxMenuBar* m_startMenu = nullptr;
    wxMenuBar* m_sourceMenu = nullptr;
    bool m_sourceMenuShown = false;
    bool m_sourceWindowsOpen = false;
    bool m_projectMenus = false;
    CStatusGauge* m_progress = nullptr;
    ProgressValue m_progressValue;
    std::vector<CDockPane*> m_panes;
    CFileView* m_fileView = nullptr;
    CAssembleView* m_assembleView = nullptr;
    CEmulatorWnd* m_emulatorWnd = nullptr;
    CPropertiesWnd* m_registerWnd = nullptr;
    CBreakWnd* m_breakWnd = nullptr;
    wxAuiNotebook* m_tabGroup = nullptr;
    wxAuiNotebook* m_sourceBook = nullptr;
    std::unique_ptr<CFunctionKeyFilter> m_keyFilter;
    std::function<void()> m_onClosing;
    std::function<void()> m_onDestroying;
    int m_look = 0;
    bool m_runningShown = false;
};
