#include "pane_refresh_bench.h"

#include "command_ids.h"
#include "host_memory.h"
#include "main_frame.h"
#include "message_service.h"
#include "my_quillet_app.h"
#include "project_views.h"
#include "report_ctrls.h"
#include "run_commands.h"
#include "run_completion.h"
#include "run_lookups.h"
#include "symbol_lookup.h"
#include "target_flags.h"
#include "variable_all_wnd.h"
#include "variable_wnd.h"
#include "wx_command_ids.h"

#include "bench_clock.h"
#include "waiting_sink.h"
#include "wire_counter.h"

#include <wx/app.h>
#include <wx/init.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kProject = std::string(VEXA_KEIL_FIXTURES) + "/exitrip-blinky";
constexpr int kSteps = 20;

struct Figures {
    std::vector<double> ms;
    WireCounts wire;
    void Add(double time, const WireCounts& counts) {
        ms.push_back(time);
        wire.readCalls += counts.readCalls;
        wire.writeCalls += counts.writeCalls;
        wire.queueStatusCalls += counts.queueStatusCalls;
    }
    void Print(const char* what) const {
        if (ms.empty()) return;
        double total = 0;
        for (double t : ms)
            total += t;
        const double n = double(ms.size());
        std::printf("%-30s %6zu %6d %10.3f %10.3f %10.2f %10.2f %10.2f\n", what, ms.size(), 0,
                    total / n, *std::max_element(ms.begin(), ms.end()), double(wire.readCalls) / n,
                    double(wire.writeCalls) / n, double(wire.queueStatusCalls) / n);
    }
};

void Pump() {
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending())
        wxTheApp->Dispatch();
}

// Runs the worker started by `start` to its completion; the completion
// comes back unfinished (FinishRun is the caller's).
std::optional<RunCompletion> RunWorker(WaitingSink& sink, int started) {
    if (started != 1) return std::nullopt;
    std::optional<RunCompletion> completion = sink.Wait();
    if (completion) JoinFinishedWorker();
    return completion;
}

void Measure(CMyQuilletApp& app, WaitingSink& sink) {
    app.ProjectViews()->SetNextProjectPath(kProject + "/Blinky.Uv2");
    app.OpenProject();
    Pump();
    if (!g_bProjectLoaded) {
        std::printf("exitrip-blinky did not open\n");
        return;
    }
    wxCommandEvent load(wxEVT_MENU, WxCommandId(cmd::kImageLoad));
    app.Frame()->ProcessWindowEvent(load);
    Pump();
    // main's first line, as the loaded map gives it ("FILE:line").
    const SymbolInfo* mainSymbol = LookupSymbol("main", kSelectCode);
    const std::string mainLine = mainSymbol ? LineOfAddress(mainSymbol->m_dwAddress) : "";
    const size_t colon = mainLine.rfind(':');
    if (colon == std::string::npos) {
        std::printf("exitrip-blinky has no line at main\n");
        return;
    }
    std::optional<RunCompletion> stop =
        RunWorker(sink, OnDebugRunToCursorLine(mainLine.substr(0, colon),
                                               std::stoi(mainLine.substr(colon + 1))));
    if (!stop || !stop->stopped) {
        std::printf("exitrip-blinky did not reach main\n");
        return;
    }
    FinishRun(*stop);
    // Every pane has rows: the first globals and a range watched in Search.
    CReportCtrl* search = g_pVariableWnd->List();
    CReportCtrlAll* globals = g_pVariableAllWnd->List();
    int row = 0;
    for (; row < 8 && row < globals->GetItemCount(); ++row)
        search->SetItemText(row, 0, globals->GetItemText(row, 0));
    search->SetItemText(row, 0, "D:0x20:16");
    UpdateDebugWindows();
    Pump();

    Figures steps, refreshes;
    for (int i = 0; i < kSteps; ++i) {
        g_wireCounts = WireCounts();
        Clock::time_point start = Clock::now();
        std::optional<RunCompletion> completion = RunWorker(sink, OnDebugStep());
        if (!completion || !completion->stopped || !completion->error.empty()) {
            std::printf("Step %d failed\n", i + 1);
            break;
        }
        steps.Add(MillisecondsSince(start), g_wireCounts);

        // The PC marker, the assembly row and every pane, with the events
        // the panes queued for themselves (the toolkit paints later, on its
        // own frame clock).
        g_wireCounts = WireCounts();
        start = Clock::now();
        FinishRun(*completion);
        Pump();
        refreshes.Add(MillisecondsSince(start), g_wireCounts);
    }
    std::printf("\nexitrip-blinky with every pane live (%d globals, %d watches of which one\n"
                "a 16-byte range, read live)\n",
                globals->GetItemCount(), row + 1);
    steps.Print("Step (one C line)");
    refreshes.Print("refresh after it, panes live");
    app.CloseProject();
}

} // namespace

void ReportPaneRefresh() {
    if (!std::filesystem::exists(kProject + "/Blinky.Uv2")) {
        std::printf("\nno %s: the refresh with live panes is not measured\n", kProject.c_str());
        return;
    }
    // The application keeps its settings in a home folder of its own.
    char home[] = "/tmp/pane-refresh-home-XXXXXX";
    if (!mkdtemp(home)) return;
    setenv("HOME", home, 1);
    unsetenv("VEXA_SIM_HEX");
    // Whatever ran before in this process leaves no project behind.
    g_bProjectLoaded = false;
    g_bImageVerified = false;

    wxApp::SetInstance(new CMyQuilletApp);
    int argc = 1;
    char name[] = "run_control_speed";
    char* argv[] = {name, nullptr};
    if (!wxEntryStart(argc, argv)) {
        std::printf("\nno display: the refresh with live panes is not measured "
                    "(run under xvfb-run)\n");
        std::filesystem::remove_all(home);
        return;
    }
    if (wxTheApp->CallOnInit()) {
        platform::RecordingMessageService messages; // no message box may wait for a click
        CountWireTraffic();
        WaitingSink sink;
        SetRunCompletionSink(&sink);
        auto& app = static_cast<CMyQuilletApp&>(*wxTheApp);
        Measure(app, sink);
        SetRunCompletionSink(app.Frame());
        app.Frame()->Close(true);
        Pump();
        wxTheApp->ProcessIdle();
        for (const std::string& text : messages.Texts())
            if (text != "Flash Write OK!!") std::printf("message: %s\n", text.c_str());
    }
    wxTheApp->OnExit();
    wxEntryCleanup();
    std::filesystem::remove_all(home);
}
