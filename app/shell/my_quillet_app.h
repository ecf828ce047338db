// The application object: start-up, the settings, and the Project, Debug
// and Tool commands that reach it from the main frame's menus and toolbars.
#pragma once

#include "wx_message_service.h"

#include <wx/app.h>
#include <wx/weakref.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CEditorBreakpointViews;
class CFindStringDlg;
class CScintillaWnd;
class CMainFrame;
class CProjectLoader;
class CProjectViews;
class CTargetSession;
class CSourceWindow;
class CSourceWindows;
class PcModelDisplay;

class CMyQuilletApp : public wxApp {
public:
    CMyQuilletApp();
    ~CMyQuilletApp() override;

    bool OnInit() override;
    int OnExit() override;

    // Creates and shows the main frame with the views the target code
    // reaches; start-up does it once.
    void CreateMainFrame();
    CMainFrame* Frame() const { return m_frame; }
    const std::vector<std::string>& FindHistory() const { return m_findHistory; }
    const std::vector<std::string>& ReplaceHistory() const { return m_replaceHistory; }
    // 1 only while Reload runs the Open routine.
    bool IsReloading() const { return m_reloading; }
    CSourceWindows* SourceWindows() const { return m_sources.get(); }
    CFindStringDlg* FindDialog() const { return m_findDialog.get(); }
    CProjectViews* ProjectViews() const { return m_projectViews.get(); }
    CProjectLoader* Loader() const { return m_loader.get(); }

    // The Project menu: Open asks for the file (unless a path was given to
    // the project views), Reload opens the same project again without asking.
    void OpenProject();
    void CloseProject();
    void ReloadProject();

    // The highest code address of the disassembly + 16 (0 when unknown);
    // scales Image Load's progress.
    void SetImageSizeEstimate(uint32_t estimate) { m_imageSizeEstimate = estimate; }

private:
    // The views the target code reaches: source windows, PC display,
    // breakpoint markers. Installed once the frame exists.
    void InstallViews();
    void RemoveViews();
    void BindDebugCommands();
    // Print Trace, Start Profiling and Print Result: each shows its fixed text.
    void BindAnalysisCommands();
    void UpdateImageSizeEstimate();
    // Set Break and Clear Break: the breakpoint of the caret line of the
    // source window in front.
    void ToggleBreakPointInView();
    void RunToCursorLine();

    // The Tool and Environment commands on the source window in front.
    void BindEditorCommands();
    CScintillaWnd* ActiveEditor() const;
    void ShowFindDialog(CScintillaWnd& editor);
    // The editor's own context menu (while a project is loaded).
    void ShowEditorContextMenu(CSourceWindow& window, const wxPoint& point);
    // The status-bar panes of the caret position.
    void ShowCaretStatus(CScintillaWnd& editor);
    // The same for the source window in front; blank when none is open.
    void ShowFrontCaretStatus();

    void OnUpdateRuledCommand(wxUpdateUIEvent& event);
    void OnAppExit(wxCommandEvent& event);
    void OnAppAbout(wxCommandEvent& event);

    WxMessageService m_messages;
    CMainFrame* m_frame = nullptr;
    std::vector<std::string> m_findHistory;
    std::vector<std::string> m_replaceHistory;
    bool m_reloading = false;
    uint32_t m_imageSizeEstimate = 0;
    std::unique_ptr<CTargetSession> m_session;
    std::unique_ptr<CProjectViews> m_projectViews;
    std::unique_ptr<CProjectLoader> m_loader;
    std::unique_ptr<CSourceWindows> m_sources;
    wxWeakRef<CFindStringDlg> m_findDialog;
    std::unique_ptr<PcModelDisplay> m_pcDisplay;
    std::unique_ptr<CEditorBreakpointViews> m_breakViews;
};

wxDECLARE_APP(CMyQuilletApp);
