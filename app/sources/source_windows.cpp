#include "source_windows.h"

#include "main_frame.h"
#include "scintilla_wnd.h"
#include "source_window.h"
#include "target_flags.h"

#include <wx/aui/auibook.h>

#include <algorithm>
#include <cctype>

namespace {

bool SameNameNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

} // namespace

CSourceWindows::CSourceWindows(CMainFrame& frame) : m_frame(frame) {
    m_frame.SourceBook()->Bind(wxEVT_AUINOTEBOOK_PAGE_CLOSE, &CSourceWindows::OnPageClose, this);
    m_frame.SourceBook()->Bind(wxEVT_AUINOTEBOOK_PAGE_CHANGED, &CSourceWindows::OnPageChanged,
                               this);
}

CSourceWindows::~CSourceWindows() {
    m_frame.SourceBook()->Unbind(wxEVT_AUINOTEBOOK_PAGE_CLOSE, &CSourceWindows::OnPageClose, this);
    m_frame.SourceBook()->Unbind(wxEVT_AUINOTEBOOK_PAGE_CHANGED, &CSourceWindows::OnPageChanged,
                                 this);
    for (CSourceWindow* window : m_windows)
        window->Unbind(wxEVT_DESTROY, &CSourceWindows::OnWindowDestroy, this);
}

CSourceWindow* CSourceWindows::Open(const std::string& path) {
    wxAuiNotebook* book = m_frame.SourceBook();
    for (CSourceWindow* window : m_windows) {
        if (window->Path() == path) {
            book->SetSelection(book->GetPageIndex(window));
            return window;
        }
    }
    auto* window = new CSourceWindow(book, path);
    m_windows.push_back(window);
    window->Bind(wxEVT_DESTROY, &CSourceWindows::OnWindowDestroy, this);
    if (m_setup) m_setup(*window);
    book->AddPage(window, wxString::FromUTF8(window->Title()), true);
    m_frame.ShowSourceMenu(true);
    return window;
}

CSourceWindow* CSourceWindows::Find(const std::string& name) const {
    for (CSourceWindow* window : m_windows)
        if (SameNameNoCase(window->Title(), name)) return window;
    return nullptr;
}

CSourceWindow* CSourceWindows::Active() const {
    wxAuiNotebook* book = m_frame.SourceBook();
    int page = book->GetSelection();
    if (page == wxNOT_FOUND) return nullptr;
    return Window(book->GetPage(page));
}

void CSourceWindows::CloseAll() {
    wxAuiNotebook* book = m_frame.SourceBook();
    std::vector<CSourceWindow*> windows = m_windows;
    for (CSourceWindow* window : windows)
        book->DeletePage(book->GetPageIndex(window));
}

void CSourceWindows::Forget(CSourceWindow* window) {
    m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), window), m_windows.end());
    if (m_windows.empty()) {
        m_frame.ShowSourceMenu(false);
        if (m_frontChanged) m_frontChanged();
    }
}

void CSourceWindows::OnPageChanged(wxAuiNotebookEvent& event) {
    event.Skip();
    if (m_frontChanged) m_frontChanged();
}

void CSourceWindows::OnPageClose(wxAuiNotebookEvent& event) {
    // A project's source windows stay open until the project is closed.
    if (g_bProjectLoaded) {
        event.Veto();
        return;
    }
    event.Skip();
}

void CSourceWindows::OnWindowDestroy(wxWindowDestroyEvent& event) {
    event.Skip();
    for (CSourceWindow* window : m_windows) {
        if (static_cast<wxWindow*>(window) == event.GetWindow()) {
            Forget(window);
            return;
        }
    }
}

CSourceWindow* CSourceWindows::Window(SourceViewRef view) const {
    auto it = std::find(m_windows.begin(), m_windows.end(), static_cast<CSourceWindow*>(view));
    return it == m_windows.end() ? nullptr : *it;
}

std::vector<SourceViews::Document> CSourceWindows::OpenDocuments() {
    std::vector<Document> documents;
    for (CSourceWindow* window : m_windows)
        documents.push_back({window->Title(), window});
    return documents;
}

void CSourceWindows::ActivateView(SourceViewRef view) {
    CSourceWindow* window = Window(view);
    if (!window) return;
    wxAuiNotebook* book = m_frame.SourceBook();
    int page = book->GetPageIndex(window);
    if (page != wxNOT_FOUND && page != book->GetSelection()) book->SetSelection(page);
}

void CSourceWindows::GotoLineNearTop(SourceViewRef view, int line) {
    if (CSourceWindow* window = Window(view)) window->Editor()->GotoLineNearTop(line);
}

void CSourceWindows::GotoLineWithContext(SourceViewRef view, int line) {
    if (CSourceWindow* window = Window(view)) window->Editor()->GotoLineWithContext(line);
}

unsigned CSourceWindows::MarkersOfLine(SourceViewRef view, int line) {
    CSourceWindow* window = Window(view);
    if (!window || line < 0) return 0;
    return static_cast<unsigned>(window->Editor()->MarkerGet(line));
}

void CSourceWindows::AddMarker(SourceViewRef view, int line, int markerNumber) {
    CSourceWindow* window = Window(view);
    if (window && line >= 0) window->Editor()->MarkerAdd(line, markerNumber);
}

void CSourceWindows::DeleteMarker(SourceViewRef view, int line, int markerNumber) {
    CSourceWindow* window = Window(view);
    if (window && line >= 0) window->Editor()->MarkerDelete(line, markerNumber);
}
