// main() of the GUI test programs: starts wxWidgets without a main window,
// then runs the tests. Without a display the tests are skipped, except under
// CI, where a missing display is a failure.
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/wx.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

class GuiTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

bool RunningUnderCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::strcmp(ci, "") != 0 && std::strcmp(ci, "false") != 0;
}

} // namespace

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS(); // test discovery needs no display
    wxApp::SetInstance(new GuiTestApp);
    if (!wxEntryStart(argc, argv)) {
        if (RunningUnderCi()) {
            std::fprintf(stderr, "GUI tests need a display (run them under xvfb-run)\n");
            return 1;
        }
        ::testing::GTEST_FLAG(filter) = "-*";
        std::fprintf(stderr, "no display: GUI tests skipped (run them under xvfb-run)\n");
        return RUN_ALL_TESTS();
    }
    wxTheApp->CallOnInit();
    wxInitAllImageHandlers();
    int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
