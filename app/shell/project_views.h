// What opening and closing a project shows in the windows, and the panes'
// first fill after an open: the main frame's side of the project loader and
// of the debugger session.
#pragma once

#include "debugger_views.h"
#include "project_loader.h"

#include <string>

class CMainFrame;
class CSourceWindow;
class CSourceWindows;

class CProjectViews : public ProjectLoaderView, public DebuggerPanes {
public:
    CProjectViews(CMainFrame& frame, CSourceWindows& sources);

    void SetLoader(CProjectLoader* loader) { m_loader = loader; }
    // The next Open takes this path instead of asking (used once).
    void SetNextProjectPath(const std::string& path) { m_nextPath = path; }

    // Shows a source file: its window opened or brought forward, its code
    // lines and breakpoints marked. Null when it cannot be opened.
    CSourceWindow* ShowSourceLine(const std::string& path);
    // Marks the lines of the window's file that have code.
    void MarkCodeLines(CSourceWindow& window);
    // Puts back the breakpoint markers of the window's file.
    void RestoreBreakPointMarkers(CSourceWindow& window);

    // ProjectLoaderView
    bool ChooseProjectFile(const std::string& filter, std::string& path) override;
    void ReportProgress(int percent) override;
    void ClearWorkspaceTree() override;
    void FillWorkspaceTree(const std::string& imageName) override;
    void ExpandWorkspaceTree() override;
    void OpenSourceDocument(const std::string& path) override;
    void CloseAllDocuments() override;
    void SetCodeMemoryEnd(const std::string& text) override;
    bool MainWindowExists() override;
    void ShowAssemblyOnly() override;
    void ClearPanes() override;
    void PostCommand(std::function<void()> command) override;

    // DebuggerPanes. The variable and symbol panes' hooks are in
    // panes/variable_panes.cpp.
    void UpdateRegisterWnd() override;
    void FillVariables() override;
    void FillLocalVariables() override;
    void UpdateGlobalVariableValues() override;
    void RefreshIDataWindow() override;
    void UpdateSymbolWnd() override;
    void InitMemoryWindows() override;
    void FillSymbolWnd() override;
    void ClearEmulatorRows() override;
    void AddSourceFilesToTree() override;
    void FillGlobalVariableWnd() override;
    void AllowRegisterEdit(bool allow) override;
    void RebindOpenDocuments() override;
    void RemoveAllBreakPoints() override;
    void RedrawFlashPane() override;

private:
    CMainFrame& m_frame;
    CSourceWindows& m_sources;
    CProjectLoader* m_loader = nullptr;
    std::string m_nextPath;
};
