// main() of the GUI test programs: starts wxWidgets without a main window,
// then runs the tests.
#include "gui_test.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/wx.h>

namespace {

class GuiTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

} // namespace

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS(); // test discovery needs no display
    int result = 0;
    if (!guitest::StartToolkit(argc, argv, new GuiTestApp, result)) return result;
    wxTheApp->CallOnInit();
    wxInitAllImageHandlers();
    result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
