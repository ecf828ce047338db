// Speed of the HTML-row list with a full 64 KB program listing: the time to
// insert 30 000 listing rows and the time to paint one screen of them.
// Needs a display: run it under xvfb-run.
#include "bench_app.h"
#include "bench_clock.h"
#include "html_list_ctrl.h"

#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/wx.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Rows as the assembly listing makes them: a source line, then its instructions.
std::vector<std::string> ListingRows(int count) {
    std::vector<std::string> rows;
    rows.reserve(count);
    char text[200];
    for (int i = 0; i < count; ++i) {
        if (i % 4 == 0)
            std::snprintf(text, sizeof text,
                          "<font color=#A31515>        %d :        for (i = 0; i &lt; %d; i++) "
                          "sum += table[i];</font>",
                          i / 4 + 1, i);
        else
            std::snprintf(text, sizeof text,
                          "<b>0x%.4x </b> E4          clr        A                  ", i * 2);
        rows.push_back(text);
    }
    return rows;
}

} // namespace

int main(int argc, char** argv) {
    if (!StartBenchApp(argc, argv, "html_list_speed")) return 1;
    int result = 0;
    {
        wxFrame* frame =
            new wxFrame(nullptr, wxID_ANY, "html_list_speed", wxPoint(0, 0), wxSize(1000, 800));
        CHTMLListCtrl* list = new CHTMLListCtrl(frame, wxID_ANY);
        frame->Show();
        Pump(20);

        const int kRows = 30000;
        std::vector<std::string> rows = ListingRows(kRows);
        Clock::time_point start = Clock::now();
        for (const std::string& row : rows)
            list->InsertItem(row, controls::kHtmlTextRow, 0, 0);
        double insertMs = MillisecondsSince(start);
        Pump(10);

        // One screen drawn the way the paint handler draws it. The first
        // paint also makes the styled fonts; then screens at places spread
        // over the listing.
        wxSize size = list->GetClientSize();
        wxBitmap bitmap(size);
        auto paintAt = [&](int row) {
            list->EnsureVisible(row);
            wxMemoryDC dc(bitmap);
            Clock::time_point paintStart = Clock::now();
            list->PaintRows(dc);
            return MillisecondsSince(paintStart);
        };
        double firstPaintMs = paintAt(0);
        std::vector<double> paints;
        const int kScreens = 21;
        for (int i = 0; i < kScreens; ++i)
            paints.push_back(paintAt((kRows - 1) * i / (kScreens - 1)));
        std::sort(paints.begin(), paints.end());
        double medianPaintMs = paints[paints.size() / 2];
        double worstPaintMs = paints.back();
        int rowsPerScreen = size.y / std::max(1, list->GetItemRect(0).height) + 1;

        // A full repaint of the window through the toolkit.
        list->EnsureVisible(kRows / 2);
        Pump(5);
        start = Clock::now();
        const int kRepaints = 10;
        for (int i = 0; i < kRepaints; ++i) {
            list->Refresh(false);
            list->Update();
        }
        double windowPaintMs = MillisecondsSince(start) / kRepaints;

        std::printf("html_list_speed: %d rows, window %dx%d, about %d rows per screen\n", kRows,
                    size.x, size.y, rowsPerScreen);
        std::printf("  insert %d rows:          %8.2f ms  (goal < 100 ms)\n", kRows, insertMs);
        std::printf("  first paint (makes fonts): %6.2f ms\n", firstPaintMs);
        std::printf("  paint one screen, median: %7.2f ms  (goal < 16 ms)\n", medianPaintMs);
        std::printf("  paint one screen, worst:  %7.2f ms\n", worstPaintMs);
        std::printf("  window repaint, mean:    %8.2f ms\n", windowPaintMs);
        if (list->GetItemCount() != kRows) result = 1;
        frame->Destroy();
        Pump(5);
    }
    EndBenchApp();
    return result;
}
