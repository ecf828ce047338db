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
#include "target_flags.h"
#include "variable_all_wnd.h"
#include "variable_wnd.h"
#include "wire_counter.h"
#include "wx_command_ids.h"

#include <wx/app.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kProject = std::string(VEXA_KEIL_FIXTURES) + "/exitrip-blinky";
constexpr int kMainLine = 98; // Blinky.c: main's first line, "i = 0"
constexpr int kSteps = 20;

class Sink : public RunCompletionSink {
public:
    void PostRunCompletion(const RunCompletion& completion) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_completion = completion;
        m_posted.notify_one();
    }
    std::optional<RunCompletion> Wait() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_posted.wait_for(lock, std::chrono::seconds(5),
                          [this] { return m_completion.has_value(); });
        std::optional<RunCompletion> completion = m_completion;
        m_completion.reset();
        return completion;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::optional<RunCompletion> m_completion;
};

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

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void Pump() {
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending())
        wxTheApp->Dispatch();
}

// Runs the worker started by `start` to its completion; the completion
// comes back unfinished (FinishRun is the caller's).
std::optional<RunCompletion> RunWorker(Sink& sink, int started) {
    if (started != 1) return std::nullopt;
    std::optional<RunCompletion> completion = sink.Wait();
    if (completion) JoinFinishedWorker();
    return completion;
}

void Measure(CMyQuilletApp& app, Sink& sink) {
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
    std::optional<RunCompletion> stop =
        RunWorker(sink, OnDebugRunToCursorLine("BLINKY.C", kMainLine));
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
        auto start = std::chrono::steady_clock::now();
        std::optional<RunCompletion> completion = RunWorker(sink, OnDebugStep());
        if (!completion || !completion->stopped || !completion->error.empty()) {
            std::printf("Step %d failed\n", i + 1);
            break;
        }
        steps.Add(Since(start), g_wireCounts);

        // The PC marker, the assembly row and every pane, with the events
        // the panes queued for themselves (the toolkit paints later, on its
        // own frame clock).
        g_wireCounts = WireCounts();
        start = std::chrono::steady_clock::now();
        FinishRun(*completion);
        Pump();
        refreshes.Add(Since(start), g_wireCounts);
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
        Sink sink;
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
