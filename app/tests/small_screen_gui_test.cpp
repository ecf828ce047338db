// The debugger started as the user starts it, on a screen of its own under a
// window manager (ctest gives each test below a virtual display): on a 640 by
// 480 screen, and on a 1280 by 1024 one where the user shrinks the window to
// 640 by 480. No pane covers another, the source windows keep a usable size,
// and neither the start-up, opening a project nor resizing makes the toolkit
// warn. main() keeps what the process writes to stderr in a file the tests
// read.
#include "command_ids.h"
#include "gui_test.h"
#include "main_frame.h"
#include "my_quillet_app.h"
#include "project_views.h"
#include "target_flags.h"
#include "wx_command_ids.h"

#include <gtest/gtest.h>
#include <wx/aui/aui.h>
#include <wx/display.h>
#include <wx/image.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The least room in which the source windows count as usable: about ten
// lines of forty characters with the window tabs.
const wxSize kUsableSource(320, 160);
const wxSize kSmallScreen(640, 480);

std::string g_home;
std::string g_stderrPath;

struct ShownPane {
    std::string name;
    wxRect rect;
};

// Every docked window the frame shows (toolbars, panes, the tab group and the
// source windows), on the screen.
std::vector<ShownPane> ShownPanes(CMainFrame* frame) {
    std::vector<ShownPane> panes;
    wxAuiPaneInfoArray& all = frame->Aui().GetAllPanes();
    for (size_t i = 0; i < all.GetCount(); ++i) {
        const wxAuiPaneInfo& info = all.Item(i);
        if (info.IsShown() && info.window && info.window->IsShownOnScreen())
            panes.push_back({info.caption.ToStdString() + " (" + info.name.ToStdString() + ")",
                             info.window->GetScreenRect()});
    }
    return panes;
}

void ExpectNoPaneCoversAnother(CMainFrame* frame, const std::string& when) {
    const wxRect client(frame->ClientToScreen(wxPoint(0, 0)), frame->GetClientSize());
    const std::vector<ShownPane> panes = ShownPanes(frame);
    EXPECT_GE(panes.size(), 7u) << when;
    for (size_t i = 0; i < panes.size(); ++i) {
        EXPECT_TRUE(client.Contains(panes[i].rect))
            << when << ": " << panes[i].name << " at " << panes[i].rect.x << "," << panes[i].rect.y
            << " " << panes[i].rect.width << "x" << panes[i].rect.height << " in " << client.x
            << "," << client.y << " " << client.width << "x" << client.height;
        for (size_t j = i + 1; j < panes.size(); ++j)
            EXPECT_FALSE(panes[i].rect.Intersects(panes[j].rect))
                << when << ": " << panes[i].name << " and " << panes[j].name;
    }
    const wxSize source = frame->SourceBook()->GetSize();
    EXPECT_GE(source.x, kUsableSource.x) << when;
    EXPECT_GE(source.y, kUsableSource.y) << when;
}

// The lines of what was written to stderr that name a toolkit warning.
std::vector<std::string> ToolkitWarnings() {
    std::fflush(stderr);
    std::ifstream captured(g_stderrPath);
    std::vector<std::string> warnings;
    std::string line;
    while (std::getline(captured, line))
        if (line.find("Gtk-CRITICAL") != std::string::npos ||
            line.find("pixman") != std::string::npos)
            warnings.push_back(line);
    return warnings;
}

// Opens the example project as the Open command does, without its dialog.
void OpenExampleProject(CMainFrame* frame) {
    wxGetApp().ProjectViews()->SetNextProjectPath(std::string(VEXA_SOURCE_DIR) +
                                                  "/example/blinky.uv2");
    wxCommandEvent open(wxEVT_MENU, WxCommandId(cmd::kOpen));
    frame->ProcessWindowEvent(open);
    guitest::PumpEvents(500);
}

} // namespace

TEST(SmallScreen, PanesSideBySideAndNoToolkitWarning) {
    ASSERT_EQ(wxDisplay(0u).GetGeometry().GetSize(), kSmallScreen) << "run on a 640 by 480 screen";
    CMainFrame* frame = wxGetApp().Frame();
    ASSERT_NE(frame, nullptr);
    guitest::PumpEvents(300);
    ExpectNoPaneCoversAnother(frame, "at start-up");
    guitest::SaveScreenshot(frame, "small_screen_start_up");

    // The example project: its source windows, listings and panes filled.
    OpenExampleProject(frame);
    ASSERT_TRUE(g_bProjectLoaded);
    ExpectNoPaneCoversAnother(frame, "with the project open");
    // Each page of the tab group in front once.
    for (size_t page = 0; page < frame->TabGroup()->GetPageCount(); ++page) {
        frame->TabGroup()->SetSelection(page);
        guitest::PumpEvents(100);
    }
    guitest::SaveScreenshot(frame, "small_screen_project");
    EXPECT_EQ(ToolkitWarnings(), std::vector<std::string>{});
}

TEST(WindowManager, TheWindowShrunkTo640By480KeepsEveryPaneApartAndTheToolkitQuiet) {
    ASSERT_TRUE(guitest::WindowManagerRunning()) << "run under a window manager";
    ASSERT_GT(wxDisplay(0u).GetGeometry().GetWidth(), 1000) << "run on a large screen";
    CMainFrame* frame = wxGetApp().Frame();
    ASSERT_NE(frame, nullptr);
    guitest::PumpEvents(500);
    ExpectNoPaneCoversAnother(frame, "at start-up");
    OpenExampleProject(frame);
    ASSERT_TRUE(g_bProjectLoaded);
    ExpectNoPaneCoversAnother(frame, "with the project open");
    guitest::SaveScreenshot(frame, "window_manager_project");

    // The user drags the window's corner to 640 by 480 in a few moves.
    const wxSize start = frame->GetSize();
    for (int step = 1; step <= 4; ++step) {
        const wxSize size(start.x + (kSmallScreen.x - start.x) * step / 4,
                          start.y + (kSmallScreen.y - start.y) * step / 4);
        ASSERT_TRUE(guitest::ResizeFromOutside(frame, size));
        guitest::PumpEvents(250);
    }
    guitest::PumpEvents(300);
    EXPECT_EQ(frame->GetClientSize().x, kSmallScreen.x) << "the window took the size asked";
    ExpectNoPaneCoversAnother(frame, "shrunk to 640 by 480");
    guitest::SaveScreenshot(frame, "window_manager_shrunk");

    // Smaller still: the window stops at the least size its panes fit in.
    ASSERT_TRUE(guitest::ResizeFromOutside(frame, wxSize(320, 240)));
    guitest::PumpEvents(500);
    EXPECT_GT(frame->GetClientSize().x, 320);
    ExpectNoPaneCoversAnother(frame, "at its least size");
    guitest::SaveScreenshot(frame, "window_manager_least_size");
    EXPECT_EQ(ToolkitWarnings(), std::vector<std::string>{});
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();

    char pattern[] = "/tmp/small-screen-home-XXXXXX";
    if (const char* made = mkdtemp(pattern)) g_home = made;
    if (g_home.empty()) return 1;
    std::filesystem::create_directories(g_home + "/install");
    std::ofstream(g_home + "/.Local Application Program")
        << "[CurrentDir]\nINSTALLDIR=" << g_home << "/install/\n";
    setenv("HOME", g_home.c_str(), 1);
    setenv("VEXA_D2XX_LIBRARY", (std::string(VEXA_BIN_DIR) + "/libsimboard.so").c_str(), 1);
    unsetenv("VEXA_SIM_HEX");

    // From here on stderr goes to a file; the test reads it.
    g_stderrPath = g_home + "/stderr.txt";
    const int original = dup(2);
    const int captured = open(g_stderrPath.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
    if (captured < 0) return 1;
    dup2(captured, 2);

    int result = 0;
    if (guitest::StartToolkit(argc, argv, new CMyQuilletApp, result)) {
        wxInitAllImageHandlers();
        if (wxTheApp->CallOnInit()) {
            result = RUN_ALL_TESTS();
            if (wxTheApp->GetTopWindow()) {
                wxTheApp->GetTopWindow()->Close(true);
                wxTheApp->ProcessPendingEvents();
            }
            wxTheApp->OnExit();
        } else {
            result = 1;
        }
        wxEntryCleanup();
    }

    // What went to stderr is shown after all.
    std::fflush(stderr);
    dup2(original, 2);
    std::ifstream text(g_stderrPath);
    std::stringstream all;
    all << text.rdbuf();
    std::fputs(all.str().c_str(), stderr);
    std::error_code ignored;
    std::filesystem::remove_all(g_home, ignored);
    return result;
}
