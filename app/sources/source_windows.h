// The open source windows: the pages of the main frame's centre notebook,
// found by file name without regard to case. The current-PC model and the
// breakpoint code reach the editors through here.
#pragma once

#include "pc_model.h"

#include <functional>
#include <string>
#include <vector>

class CMainFrame;
class CSourceWindow;
class wxAuiNotebookEvent;
class wxWindowDestroyEvent;

class CSourceWindows : public SourceViews {
public:
    explicit CSourceWindows(CMainFrame& frame);
    ~CSourceWindows() override;

    // Opens a window on the file, or brings the one showing it to the front.
    CSourceWindow* Open(const std::string& path);
    // The window whose file name is `name` (any case); null when none.
    CSourceWindow* Find(const std::string& name) const;
    // The window in front; null when none is open.
    CSourceWindow* Active() const;
    const std::vector<CSourceWindow*>& Windows() const { return m_windows; }
    // Closes every window (the project is gone).
    void CloseAll();

    // Called with each editor as it opens (margin clicks and the like).
    void SetEditorSetup(std::function<void(CSourceWindow&)> setup) { m_setup = std::move(setup); }
    // Called when another window comes to the front or the last one closes.
    void SetFrontChanged(std::function<void()> changed) { m_frontChanged = std::move(changed); }

    // SourceViews
    std::vector<Document> OpenDocuments() override;
    void ActivateView(SourceViewRef view) override;
    void GotoLineNearTop(SourceViewRef view, int line) override;
    void GotoLineWithContext(SourceViewRef view, int line) override;
    unsigned MarkersOfLine(SourceViewRef view, int line) override;
    void AddMarker(SourceViewRef view, int line, int markerNumber) override;
    void DeleteMarker(SourceViewRef view, int line, int markerNumber) override;

private:
    CSourceWindow* Window(SourceViewRef view) const;
    void Forget(CSourceWindow* window);
    void OnPageClose(wxAuiNotebookEvent& event);
    void OnPageChanged(wxAuiNotebookEvent& event);
    void OnWindowDestroy(wxWindowDestroyEvent& event);

    CMainFrame& m_frame;
    std::vector<CSourceWindow*> m_windows;
    std::function<void(CSourceWindow&)> m_setup;
    std::function<void()> m_frontChanged;
};
