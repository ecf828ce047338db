#include "debugger_views.h"

#include <atomic>

namespace {

// Read by the run worker as well as the user-interface thread.
std::atomic<DebuggerPanes*> g_panes{nullptr};
std::atomic<PcDisplay*> g_pcDisplay{nullptr};
std::atomic<MainFrameLink*> g_mainFrame{nullptr};

} // namespace

void SetDebuggerPanes(DebuggerPanes* panes) {
    g_panes.store(panes);
}
DebuggerPanes* GetDebuggerPanes() {
    return g_panes.load();
}
void SetPcDisplay(PcDisplay* display) {
    g_pcDisplay.store(display);
}
PcDisplay* GetPcDisplay() {
    return g_pcDisplay.load();
}
void SetMainFrameLink(MainFrameLink* frame) {
    g_mainFrame.store(frame);
}
MainFrameLink* GetMainFrameLink() {
    return g_mainFrame.load();
}

bool MainFrameExists() {
    return g_mainFrame.load() != nullptr;
}

void ReportProgress(int percent) {
    if (MainFrameLink* frame = g_mainFrame.load()) frame->ReportProgress(percent);
}
