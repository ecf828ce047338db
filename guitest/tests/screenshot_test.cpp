#include "gui_test.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/wx.h>

// The screenshot must hold what the window shows, not an empty or old bitmap:
// a panel painted red comes back red, then green once it is repainted green.
TEST(GuiTest, ScreenshotCapturesWindowContents) {
    wxFrame* frame =
        new wxFrame(nullptr, wxID_ANY, "screenshot", wxPoint(20, 20), wxSize(200, 120));
    wxPanel* panel = new wxPanel(frame);
    panel->SetBackgroundColour(*wxRED);
    frame->Show();
    guitest::PumpEvents(200);
    std::string path = guitest::SaveScreenshot(panel, "guitest_red_panel");
    ASSERT_FALSE(path.empty());
    wxImage image(path, wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(image.IsOk());
    int x = image.GetWidth() / 2, y = image.GetHeight() / 2;
    EXPECT_EQ(image.GetRed(x, y), 255);
    EXPECT_EQ(image.GetGreen(x, y), 0);

    // A second capture in the same process shows the window as it is now.
    panel->SetBackgroundColour(*wxGREEN);
    panel->Refresh();
    guitest::PumpEvents(100);
    path = guitest::SaveScreenshot(panel, "guitest_green_panel");
    ASSERT_FALSE(path.empty());
    ASSERT_TRUE(image.LoadFile(path, wxBITMAP_TYPE_PNG));
    EXPECT_EQ(image.GetRed(x, y), 0);
    EXPECT_EQ(image.GetGreen(x, y), 255);
    frame->Destroy();
    guitest::PumpEvents(20);
}
