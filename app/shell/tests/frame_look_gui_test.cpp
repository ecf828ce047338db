// What the main frame shows around the sources: one icon per toolbar button,
// bright while the button is enabled; the progress gauge painted at once; the
// run state in the status bar; panes that open big enough to use.
#include "app_gui_fixture.h"
#include "assemble_view.h"
#include "command_ids.h"
#include "frame_layout.h"
#include "gui_test.h"
#include "html_list_ctrl.h"
#include "main_frame.h"
#include "message_service.h"
#include "my_quillet_app.h"
#include "project_views.h"
#include "status_gauge.h"
#include "target_flags.h"
#include "tool_icons.h"
#include "wx_command_ids.h"

#include <gtest/gtest.h>
#include <wx/aui/auibar.h>
#include <wx/image.h>
#include <wx/settings.h>
#include <wx/statusbr.h>

#include <functional>
#include <string>
#include <vector>

using namespace appgui;

namespace {

wxImage Shot(wxWindow* window, const std::string& name) {
    return wxImage(guitest::SaveScreenshot(window, name), wxBITMAP_TYPE_PNG);
}

int CountPixels(const wxImage& image, const wxRect& rect,
                const std::function<bool(int, int, int)>& test) {
    int count = 0;
    for (int y = std::max(0, rect.y); y < std::min(image.GetHeight(), rect.GetBottom() + 1); ++y)
        for (int x = std::max(0, rect.x); x < std::min(image.GetWidth(), rect.GetRight() + 1); ++x)
            if (test(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y))) ++count;
    return count;
}

// A colour no grey or greyed-out picture has.
bool Vivid(int r, int g, int b) {
    return std::max({r, g, b}) - std::min({r, g, b}) > 90;
}

} // namespace

TEST(AppFrameLook, EveryToolbarButtonHasItsOwnIconBrightWhileEnabled) {
    std::vector<std::pair<std::string, wxImage>> pictures;
    for (const ToolBarSpec* spec : {&SubToolBar(), &DebugToolBar()}) {
        wxAuiToolBar* bar = ToolBar(spec == &SubToolBar() ? "SubToolBar" : "DebugToolBar");
        for (const ToolEntry& tool : spec->tools) {
            if (tool.id == 0) continue;
            wxAuiToolBarItem* item = bar->FindTool(WxCommandId(tool.id));
            ASSERT_NE(item, nullptr) << tool.label;
            wxBitmap bitmap = item->GetBitmapFor(bar);
            ASSERT_TRUE(bitmap.IsOk()) << tool.label;
            pictures.emplace_back(tool.label, bitmap.ConvertToImage());
            // An SVG picture: as sharp at twice the size.
            EXPECT_EQ(ToolIcon(tool.icon).GetBitmap(wxSize(32, 32)).GetWidth(), 32) << tool.icon;
        }
    }
    ASSERT_EQ(pictures.size(), 31u);
    for (size_t i = 0; i < pictures.size(); ++i) {
        const wxImage& a = pictures[i].second;
        for (size_t j = i + 1; j < pictures.size(); ++j) {
            const wxImage& b = pictures[j].second;
            const bool same =
                a.GetSize() == b.GetSize() &&
                std::equal(a.GetData(), a.GetData() + a.GetWidth() * a.GetHeight() * 3,
                           b.GetData());
            EXPECT_FALSE(same) << pictures[i].first << " and " << pictures[j].first;
        }
    }

    // Continue as painted: greyed without a project, in colour with one.
    wxAuiToolBar* debug = ToolBar("DebugToolBar");
    auto painted = [&](const std::string& name) {
        Frame()->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        debug->UpdateWindowUI(wxUPDATE_UI_FROMIDLE);
        debug->Refresh();
        guitest::PumpEvents(100);
        return CountPixels(Shot(debug, name), debug->GetToolRect(WxCommandId(cmd::kContinue)),
                           Vivid);
    };
    ASSERT_FALSE(g_bProjectLoaded);
    EXPECT_EQ(painted("app_debug_toolbar_greyed"), 0);
    g_bProjectLoaded = true;
    EXPECT_GT(painted("app_debug_toolbar_enabled"), 20);
    g_bProjectLoaded = false;
}

TEST(AppFrameLook, GaugeIsPaintedAtOnceAndTheStatusBarTellsTheRun) {
    platform::RecordingMessageService messages;
    CMainFrame* frame = Frame();
    CStatusGauge* gauge = frame->ProgressGauge();
    const wxColour bar = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
    auto filled = [&](const std::string& name) {
        wxImage image = Shot(gauge, name);
        const int row = image.GetHeight() / 2;
        return CountPixels(image, wxRect(0, row, image.GetWidth(), 1), [&](int r, int g, int b) {
            return r == bar.Red() && g == bar.Green() && b == bar.Blue();
        });
    };
    EXPECT_EQ(filled("app_progress_empty"), 0);

    wxGetApp().ProjectViews()->SetNextProjectPath(std::string(VEXA_SOURCE_DIR) +
                                                  "/example/blinky.uv2");
    Command(cmd::kOpen);
    ASSERT_TRUE(g_bProjectLoaded);
    EXPECT_GE(filled("app_progress_after_open"), gauge->GetClientSize().x - 4);

    // The program runs its endless loop: the status bar says so until Stop.
    Command(cmd::kImageLoad);
    Command(cmd::kContinue);
    guitest::PumpEvents(200);
    ASSERT_TRUE(g_bTargetBusy) << ::testing::PrintToString(messages.Texts());
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "Running");
    guitest::SaveScreenshot(frame, "app_running");
    Command(cmd::kStop);
    WaitIdle();
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "");

    Command(cmd::kClose);
    EXPECT_EQ(filled("app_progress_after_close"), 0);
}

TEST(AppFrameLook, FirstRunPanesShowAUsefulAmountOfRows) {
    CMainFrame* frame = Frame();
    guitest::PumpEvents(200);
    // A listing row of the Assembly pane is about 22 pixels high.
    CHTMLListCtrl* listing = frame->AssembleView()->ShownList();
    listing->InsertItem("<b>0x0000</b>", 1, 0, 0);
    const int rowHeight = listing->GetItemRect(0).height;
    listing->DeleteAllItems();
    ASSERT_GT(rowHeight, 0);
    EXPECT_GE(listing->GetClientSize().y / rowHeight, 10) << listing->GetClientSize().y;
    // The centre keeps room for the source.
    EXPECT_GE(frame->SourceBook()->GetSize().y, 380);
    EXPECT_LE(frame->GetRect().GetBottom(), wxGetDisplaySize().y);
}
