#include "project_views.h"

#include "assemble_view.h"
#include "break_wnd.h"
#include "breakpoint_records.h"
#include "code_lines.h"
#include "emulator_wnd.h"
#include "file_view.h"
#include "main_frame.h"
#include "memory_wnd.h"
#include "open_filter.h"
#include "path_resolver.h"
#include "pc_model.h"
#include "project_paths.h"
#include "properties_wnd.h"
#include "scintilla_wnd.h"
#include "source_window.h"
#include "source_windows.h"
#include "variable_panes.h"
#include "window_file.h"

#include <wx/filedlg.h>
#include <wx/textctrl.h>

CProjectViews::CProjectViews(CMainFrame& frame, CSourceWindows& sources)
    : m_frame(frame), m_sources(sources) {}

CSourceWindow* CProjectViews::ShowSourceLine(const std::string& path) {
    CSourceWindow* window = m_sources.Open(path);
    if (!window) return nullptr;
    MarkCodeLines(*window);
    RestoreBreakPointMarkers(*window);
    return window;
}

void CProjectViews::MarkCodeLines(CSourceWindow& window) {
    std::string file = ProjectFileOfWindow(window.Title());
    if (file == kCantSearch) return;
    CScintillaWnd* editor = window.Editor();
    for (int line : CodeLinesOf(file, editor->GetLineCount()))
        editor->MarkerAdd(line - 1, marker::kCodeLine);
}

void CProjectViews::RestoreBreakPointMarkers(CSourceWindow& window) {
    std::string file = ProjectFileOfWindow(window.Title());
    if (file == kCantSearch) return;
    for (const CInfo_Break& record : g_BreakList)
        if (record.m_strFile == file) window.Editor()->AddBreakPointMarker(record.m_nLine);
}

bool CProjectViews::ChooseProjectFile(const std::string& filter, std::string& path) {
    if (!m_nextPath.empty()) {
        path = m_nextPath;
        m_nextPath.clear();
        return true;
    }
    wxFileDialog dialog(&m_frame, "Open", wxString(), wxString(),
                        wxString::FromUTF8(DialogFilter(filter)), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) return false;
    path = dialog.GetPath().ToStdString(wxConvUTF8);
    return true;
}

void CProjectViews::ReportProgress(int percent) {
    m_frame.ReportProgress(percent);
}

void CProjectViews::ClearWorkspaceTree() {
    m_frame.FileView()->DeleteAllItems();
}

void CProjectViews::FillWorkspaceTree(const std::string& imageName) {
    m_frame.FileView()->FillWorkspaceTree(imageName);
}

void CProjectViews::ExpandWorkspaceTree() {
    m_frame.FileView()->ExpandWorkspaceTree();
}

void CProjectViews::OpenSourceDocument(const std::string& path) {
    m_sources.Open(path);
}

void CProjectViews::CloseAllDocuments() {
    m_sources.CloseAll();
}

void CProjectViews::SetCodeMemoryEnd(const std::string& text) {
    if (g_pCodeMemoryWnd) g_pCodeMemoryWnd->EndAddressEdit()->ChangeValue(text);
}

void CProjectViews::RefreshIDataWindow() {
    if (g_pInternalMemoryWnd) g_pInternalMemoryWnd->RefreshIDataWindow();
}

void CProjectViews::InitMemoryWindows() {
    ::InitMemoryWindows();
}

void CProjectViews::RedrawFlashPane() {
    if (g_pFlashMemoryWnd) g_pFlashMemoryWnd->RedrawFromHostCopy();
}

bool CProjectViews::MainWindowExists() {
    return true;
}

void CProjectViews::ShowAssemblyOnly() {
    g_bAsmOnly = 1;
    m_frame.AssembleView()->ShowSelectedList();
}

void CProjectViews::ClearEmulatorRows() {
    m_frame.EmulatorWnd()->ClearEmulatorRows();
}

void CProjectViews::ClearPanes() {
    m_frame.SetProjectMenus(false);
    m_frame.AssembleView()->ClearAssemblyView();
    m_frame.FileView()->ClearWorkspace();
    m_frame.EmulatorWnd()->ResetEmulatorWnd();
    ResetMemoryRanges();
    m_frame.RegisterWnd()->ResetRegisterWnd();
    m_frame.RegisterWnd()->AllowEdit(false);
    m_frame.BreakWnd()->BlankBreakWnd();
    ClearVariablePanes();
}

void CProjectViews::UpdateRegisterWnd() {
    m_frame.RegisterWnd()->UpdateRegisterWnd();
}

void CProjectViews::AllowRegisterEdit(bool allow) {
    m_frame.RegisterWnd()->AllowEdit(allow);
}

void CProjectViews::PostCommand(std::function<void()> command) {
    m_frame.CallAfter(std::move(command));
}

void CProjectViews::AddSourceFilesToTree() {
    if (m_loader) m_frame.FileView()->AddSourceFiles(m_loader->m_projectFiles.m_listFiles);
}

void CProjectViews::RebindOpenDocuments() {
    for (CSourceWindow* window : m_sources.Windows())
        MarkCodeLines(*window);
}

void CProjectViews::RemoveAllBreakPoints() {
    m_frame.BreakWnd()->OnRemoveAllBreakPoints();
}
