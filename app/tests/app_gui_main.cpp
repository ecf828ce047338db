// main() of the application's window tests: the real start-up of the
// debugger, with the simulated board and settings in a temporary home folder
// prepared beforehand, then the tests against the running application.
#include "app_gui_fixture.h"
#include "gui_test.h"
#include "my_quillet_app.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/window.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string g_home;

// A fresh home folder holding the stored settings the start-up reads.
void PrepareHome() {
    char pattern[] = "/tmp/app-gui-home-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) return;
    g_home = made;
    std::string install = g_home + "/install";
    std::error_code failed;
    if (!std::filesystem::create_directories(install, failed)) return;
    std::ofstream settings(g_home + "/.Local Application Program");
    settings << "ApplicationLook=216\n"
             << "[CurrentDir]\n"
             << "INSTALLDIR=" << install << "/\n"
             << "[EDIT]\n"
             << "FINDSTRINGCOUNT=4\n"
             << "FINDSTRING0=\"   \"\n"
             << "FINDSTRING1=\"  mov a\"\n"
             << "FINDSTRING2=\n"
             << "FINDSTRING3=loop\n"
             << "REPLACESTRINGCOUNT=1\n"
             << "REPLACESTRING0=nop\n";
    setenv("HOME", g_home.c_str(), 1);
}

// Every test finds the debugger running: after a test that closed the main
// frame (Exit), the next one starts with a new frame.
class FrameBeforeEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { appgui::StartFrame(); }
};

} // namespace

namespace appgui {
std::string HomeFolder() {
    return g_home;
}
} // namespace appgui

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    PrepareHome();
    std::string board = std::string(VEXA_BIN_DIR) + "/libsimboard.so";
    setenv("VEXA_D2XX_LIBRARY", board.c_str(), 1);
    unsetenv("VEXA_SIM_HEX");

    int started = 0;
    if (!guitest::StartToolkit(argc, argv, new CMyQuilletApp, started)) return started;
    wxInitAllImageHandlers();
    if (!wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "start-up failed\n");
        wxEntryCleanup();
        return 1;
    }
    ::testing::UnitTest::GetInstance()->listeners().Append(new FrameBeforeEachTest);
    int result = RUN_ALL_TESTS();
    // A test that left the frame open closes it as Exit does.
    if (wxTheApp->GetTopWindow()) {
        wxTheApp->GetTopWindow()->Close(true);
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
    wxTheApp->OnExit();
    wxEntryCleanup();
    std::error_code ignored;
    std::filesystem::remove_all(g_home, ignored);
    return result;
}
