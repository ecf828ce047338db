// What the breakpoint records show in the source windows: the editors'
// breakpoint markers. The assembly pane's rows and the break pane are
// reached through hooks that the frame sets once those panes exist.
#pragma once

#include "breakpoint_records.h"

#include <functional>

class CSourceWindows;

class CEditorBreakpointViews : public BreakpointViews {
public:
    explicit CEditorBreakpointViews(CSourceWindows& windows) : m_windows(windows) {}

    void AddBreakPointMarker(const std::string& file, int line) override;
    void RemoveBreakPointMarker(const std::string& file, int line) override;
    int AsmRowOfAddress(uint32_t address) override;
    int SourceRowOfAddress(uint32_t address) override;
    void SetCodeListMarkers(int asmRow, int sourceRow, int value) override;
    void BlankBreakPane() override;
    void FillBreakWnd(const std::list<CInfo_Break>& records) override;

    // The assembly pane's rows of an address (-1 when none) and its markers.
    std::function<int(uint32_t)> asmRowOfAddress;
    std::function<int(uint32_t)> sourceRowOfAddress;
    std::function<void(int, int, int)> setCodeListMarkers;
    // The break pane's grid.
    std::function<void()> blankBreakPane;
    std::function<void(const std::list<CInfo_Break>&)> fillBreakWnd;

private:
    CSourceWindows& m_windows;
};
