// What reading and showing external memory costs in the External Memory
// pane: 64 KB read from the simulated adapter board (the wire time, with its
// round trips) beside the host time of building the 1-byte grid of 4 096 rows
// from it, and the time to paint one screen of that grid. A real USB link pays
// at least 1 ms per round trip, so there the wire dominates.
// Needs a display: run it under xvfb-run. The board library is
// VEXA_D2XX_LIBRARY when set, else libsimboard.so beside this program.
#include "list_memory_ctrl.h"
#include "memory_wnd.h"
#include "message_service.h"
#include "sleep.h"
#include "target_flags.h"
#include "target_protocol.h"
#include "usb_link.h"

#include "bench_app.h"
#include "bench_clock.h"
#include "wire_counter.h"

#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/wx.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

constexpr int kRounds = 7;
constexpr uint32_t kBytes = 0x10000;

} // namespace

int main(int argc, char** argv) {
    if (!StartBenchApp(argc, argv, "memory_pane_speed")) return 1;
    platform::SetSleepFunction([](unsigned) {});
    platform::RecordingMessageService messages;
    if (!StartSimulatedLink(messages)) return 1;
    CountWireTraffic();
    g_bProjectLoaded = true;
    g_bMemoryWindowsActive = true;

    int result = 0;
    {
        auto* frame =
            new wxFrame(nullptr, wxID_ANY, "memory_pane_speed", wxPoint(0, 0), wxSize(1000, 800));
        auto* pane = new CExternalMemoryWnd(frame, wxID_ANY, " External Memory");
        frame->Show();
        Pump(20);
        pane->SetCellWidth(2);
        pane->StartAddressEdit()->ChangeValue("0x000000");
        pane->EndAddressEdit()->ChangeValue("0x00FFFF");

        // The wire: one 64 KB read of external data.
        std::vector<uint8_t> buffer(kBytes);
        std::vector<double> wire;
        WireCounts counts;
        for (int i = 0; i < kRounds; ++i) {
            g_wireCounts = WireCounts();
            const Clock::time_point start = Clock::now();
            if (ReadMemory(0, buffer.data(), kBytes, kSpaceExternalData) != int(kBytes)) result = 1;
            wire.push_back(MillisecondsSince(start));
            counts = g_wireCounts;
        }

        // The host: the 1-byte grid rebuilt from the block read.
        pane->ReadFromTarget();
        CListMemoryCtrl* grid = pane->ShownGrid();
        std::vector<double> host;
        for (int i = 0; i < kRounds; ++i) {
            grid->SetRefill(true);
            const Clock::time_point start = Clock::now();
            pane->FillGrid();
            host.push_back(MillisecondsSince(start));
        }
        // The Read command as the user gives it: both together.
        std::vector<double> command;
        for (int i = 0; i < kRounds; ++i) {
            const Clock::time_point start = Clock::now();
            pane->ReadFromTarget();
            command.push_back(MillisecondsSince(start));
        }
        Pump(10);
        if (grid->GetItemCount() != 4096) result = 1;

        // One screen of the grid painted through the toolkit, at places
        // spread over the rows.
        std::vector<double> paints;
        for (int i = 0; i < 21; ++i) {
            grid->ScrollToRow(4095 * i / 20);
            Pump(2);
            const Clock::time_point start = Clock::now();
            grid->GetBody()->Refresh(false);
            grid->GetBody()->Update();
            paints.push_back(MillisecondsSince(start));
        }

        std::printf("memory_pane_speed: %u bytes of external memory, %d rows in the 1-byte grid, "
                    "%d rows per screen\n",
                    unsigned(kBytes), grid->GetItemCount(), grid->GetVisibleRowCount());
        std::printf("  wire: read 64 KB on the simulated board %8.2f ms  (%llu round trips, "
                    "%llu bytes sent, %llu received)\n",
                    Median(wire), (unsigned long long)counts.readCalls,
                    (unsigned long long)counts.bytesSent, (unsigned long long)counts.bytesReceived);
        std::printf("  host: build the 1-byte grid (4096 rows)  %8.2f ms  (goal < 100 ms)\n",
                    Median(host));
        std::printf("  the Read command, wire and host         %8.2f ms\n", Median(command));
        std::printf("  paint one screen, median                %8.2f ms  (goal < 16 ms)\n",
                    Median(paints));
        std::printf("  paint one screen, worst                 %8.2f ms\n",
                    *std::max_element(paints.begin(), paints.end()));
        std::printf("  on a real link each round trip costs at least 1 ms: %llu ms or more\n",
                    (unsigned long long)counts.readCalls);
        if (!messages.shown.empty()) {
            std::fprintf(stderr, "message: %s\n", messages.shown.front().text.c_str());
            result = 1;
        }
        frame->Destroy();
        Pump(5);
    }
    DestroyUsbLink();
    EndBenchApp();
    return result;
}
