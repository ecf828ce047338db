#include "editor_breakpoint_views.h"

#include "scintilla_wnd.h"
#include "source_window.h"
#include "source_windows.h"

void CEditorBreakpointViews::AddBreakPointMarker(const std::string& file, int line) {
    if (CSourceWindow* window = m_windows.Find(file)) window->Editor()->AddBreakPointMarker(line);
}

void CEditorBreakpointViews::RemoveBreakPointMarker(const std::string& file, int line) {
    if (CSourceWindow* window = m_windows.Find(file))
        window->Editor()->RemoveBreakPointMarker(line);
}

int CEditorBreakpointViews::AsmRowOfAddress(uint32_t address) {
    return asmRowOfAddress ? asmRowOfAddress(address) : -1;
}

int CEditorBreakpointViews::SourceRowOfAddress(uint32_t address) {
    return sourceRowOfAddress ? sourceRowOfAddress(address) : -1;
}

void CEditorBreakpointViews::SetCodeListMarkers(int asmRow, int sourceRow, int value) {
    if (setCodeListMarkers) setCodeListMarkers(asmRow, sourceRow, value);
}

void CEditorBreakpointViews::BlankBreakPane() {
    if (blankBreakPane) blankBreakPane();
}

void CEditorBreakpointViews::FillBreakWnd(const std::list<CInfo_Break>& records) {
    if (fillBreakWnd) fillBreakWnd(records);
}
