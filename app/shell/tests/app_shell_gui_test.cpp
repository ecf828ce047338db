// The application as started: main frame, menus, panes, progress gauge,
// settings and the function keys, driven through real windows.
#include "app_gui_fixture.h"
#include "app_settings.h"
#include "command_ids.h"
#include "dock_pane.h"
#include "emulator_wnd.h"
#include "file_view.h"
#include "find_string_dlg.h"
#include "frame_layout.h"
#include "gui_test.h"
#include "main_frame.h"
#include "message_service.h"
#include "my_quillet_app.h"
#include "report_ctrls.h"
#include "source_window.h"
#include "source_windows.h"
#include "target_flags.h"
#include "wx_command_ids.h"

#include "status_gauge.h"
#include <gtest/gtest.h>
#include <wx/aui/auibar.h>
#include <wx/aui/auibook.h>
#include <wx/aui/dockart.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/filefn.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace appgui;

namespace {

std::vector<std::string> MenuTitles(wxMenuBar* bar) {
    std::vector<std::string> titles;
    for (size_t i = 0; i < bar->GetMenuCount(); ++i)
        titles.push_back(bar->GetMenuLabelText(i).ToStdString());
    return titles;
}

// Resets the run flags a test changed.
struct FlagGuard {
    ~FlagGuard() {
        g_bProjectLoaded = false;
        g_bTargetBusy = false;
        g_bStopRequest = false;
        g_bStepStop = false;
    }
};

} // namespace

TEST(AppStartUp, ShowsTheEmptyDebugger) {
    CMainFrame* frame = Frame();
    ASSERT_NE(frame, nullptr);
    guitest::PumpEvents(200);
    EXPECT_EQ(frame->GetTitle(), "Ostrel Debugger");
    EXPECT_EQ(frame->GetMenuBar(), frame->StartMenu());
    EXPECT_EQ(MenuTitles(frame->GetMenuBar()), (std::vector<std::string>{"Project", "Help"}));

    const std::vector<PaneSpec>& specs = DockingPanes();
    ASSERT_EQ(frame->PaneCount(), 13u);
    for (size_t i = 0; i < specs.size(); ++i) {
        EXPECT_EQ(frame->Pane(i)->Caption(), specs[i].caption);
        // The Local Variable pane's box names the Search pane it is made like.
        const std::string combo =
            std::string(specs[i].caption) == "Local Variable" ? "Search" : specs[i].caption;
        EXPECT_EQ(frame->Pane(i)->TitleCombo()->GetValue(), combo);
        EXPECT_EQ(frame->IsPaneShown(i), specs[i].place != PanePlace::Hidden) << specs[i].caption;
    }
    // The tab group: nine pages with their captions, BreakPoint in front.
    wxAuiNotebook* group = frame->TabGroup();
    ASSERT_EQ(group->GetPageCount(), 9u);
    EXPECT_EQ(group->GetPageText(0), "BreakPoint");
    EXPECT_EQ(group->GetPageText(6), " External Memory");
    EXPECT_EQ(group->GetSelection(), 0);

    EXPECT_FALSE(DebugToolEnabled(cmd::kContinue));
    EXPECT_FALSE(DebugToolEnabled(cmd::kStop));
    EXPECT_FALSE(DebugToolEnabled(cmd::kImageLoad));
    EXPECT_EQ(frame->ProgressGauge()->GetValue(), 0);
    // No project: the workspace names none, the emulator rows are blank.
    CFileView* tree = frame->FileView();
    EXPECT_EQ(tree->Tree()->GetItemText(tree->Root()), "project : Empty");
    EXPECT_TRUE(tree->Tree()->IsBold(tree->Root()));
    EXPECT_EQ(tree->Tree()->GetItemText(tree->SourceFiles()), "Source Files");
    EXPECT_EQ(tree->Tree()->GetChildrenCount(tree->SourceFiles()), 0u);
    EXPECT_EQ(frame->EmulatorWnd()->StatusList()->GetItemText(0, 0), "");
    EXPECT_EQ(frame->EmulatorWnd()->StatusBox()->GetValue(), "STATUS : STOP");
    guitest::SaveScreenshot(frame, "app_start_up");
}

TEST(AppStartUp, AppliesTheStoredSettings) {
    std::string install = appgui::HomeFolder() + "/install";
    EXPECT_EQ(wxGetCwd().ToStdString(), install);
    EXPECT_EQ(wxGetApp().FindHistory(), (std::vector<std::string>{"mov a", "loop"}));
    EXPECT_EQ(wxGetApp().ReplaceHistory(), (std::vector<std::string>{"nop"}));
    EXPECT_EQ(Frame()->Look(), 216);
}

TEST(AppFrame, ProgressGaugeIsClamped) {
    CMainFrame* frame = Frame();
    ReportProgress(40);
    EXPECT_EQ(frame->ProgressGauge()->GetValue(), 40);
    ReportProgress(250);
    EXPECT_EQ(frame->ProgressGauge()->GetValue(), 100);
    ReportProgress(-3);
    EXPECT_EQ(frame->ProgressGauge()->GetValue(), 0);
    // The gauge sits in the status bar's last pane.
    wxRect field;
    ASSERT_TRUE(frame->GetStatusBar()->GetFieldRect(kProgressPane, field));
    EXPECT_EQ(frame->ProgressGauge()->GetPosition(), field.GetPosition());
}

TEST(AppFrame, WindowMenuTogglesPanes) {
    CMainFrame* frame = Frame();
    frame->ShowSourceMenu(true);
    wxMenu* window = frame->GetMenuBar()->GetMenu(3);
    wxAuiToolBar* sub = ToolBar("SubToolBar");
    // What the user sees of a pane's command: the menu item's check mark,
    // and the Sub ToolBar button pressed alike.
    auto marked = [&](int command) {
        window->UpdateUI(frame);
        sub->UpdateWindowUI(wxUPDATE_UI_FROMIDLE);
        EXPECT_EQ(sub->GetToolToggled(WxCommandId(command)),
                  window->IsChecked(WxCommandId(command)));
        return window->IsChecked(WxCommandId(command));
    };
    CDockPane* search = frame->Pane(PaneForToggle(cmd::kSearchWindow));
    wxAuiNotebook* group = frame->TabGroup();
    ASSERT_EQ(group->GetSelection(), 0) << "BreakPoint in front, Search behind it";
    EXPECT_FALSE(marked(cmd::kSearchWindow));
    EXPECT_TRUE(marked(cmd::kBreakWindow));

    // The Sub ToolBar's Search button, clicked once: Search comes forward.
    wxUIActionSimulator simulator;
    const wxRect button = sub->GetToolRect(WxCommandId(cmd::kSearchWindow));
    simulator.MouseMove(sub->ClientToScreen(button.GetPosition() + wxPoint(8, 8)));
    guitest::PumpEvents(100);
    simulator.MouseClick();
    guitest::PumpEvents(300);
    EXPECT_TRUE(search->IsShownOnScreen());
    EXPECT_TRUE(marked(cmd::kSearchWindow));
    EXPECT_FALSE(marked(cmd::kBreakWindow));
    guitest::SaveScreenshot(frame, "window_toggle_search_in_front");

    // In view, the command hides it; once more, it comes back in front, at
    // its place in the group, second after BreakPoint.
    Command(cmd::kSearchWindow);
    EXPECT_FALSE(search->IsShownOnScreen());
    EXPECT_EQ(group->GetPageCount(), 8u);
    EXPECT_FALSE(marked(cmd::kSearchWindow));
    Command(cmd::kSearchWindow);
    EXPECT_EQ(group->GetPageText(1), "Search");
    EXPECT_EQ(group->GetCurrentPage(), search);

    // A docked pane closed with its close button counts as hidden too.
    CDockPane* assembly = frame->Pane(PaneForToggle(cmd::kAssemblyWindow));
    frame->Aui().ClosePane(frame->Aui().GetPane(assembly));
    frame->Aui().Update();
    EXPECT_FALSE(marked(cmd::kAssemblyWindow));
    Command(cmd::kAssemblyWindow);
    EXPECT_TRUE(assembly->IsShownOnScreen());
    Command(cmd::kAssemblyWindow);
    EXPECT_FALSE(assembly->IsShownOnScreen());
    Command(cmd::kAssemblyWindow);

    ShowPane(frame->Pane(kBreakPointPane));
    frame->ShowSourceMenu(false);
}

TEST(AppFrame, SourceMenuCommandsFollowTheRunState) {
    FlagGuard guard;
    CMainFrame* frame = Frame();
    frame->ShowSourceMenu(true);
    EXPECT_EQ(frame->GetMenuBar(), frame->SourceMenu());
    EXPECT_EQ(
        MenuTitles(frame->GetMenuBar()),
        (std::vector<std::string>{"Project", "Debug", "Tool", "Window", "Environment", "Help"}));
    wxMenu* debug = frame->GetMenuBar()->GetMenu(1);
    auto enabled = [&](int command) {
        frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        debug->UpdateUI(frame);
        return debug->IsEnabled(WxCommandId(command));
    };
    EXPECT_FALSE(enabled(cmd::kNext));
    EXPECT_FALSE(enabled(cmd::kStop));
    g_bProjectLoaded = true;
    EXPECT_TRUE(enabled(cmd::kNext));
    EXPECT_TRUE(enabled(cmd::kRunToCursorLine));
    EXPECT_TRUE(DebugToolEnabled(cmd::kContinue));
    g_bTargetBusy = true;
    EXPECT_FALSE(enabled(cmd::kNext));
    EXPECT_TRUE(enabled(cmd::kStop));
    EXPECT_TRUE(DebugToolEnabled(cmd::kStop));
    EXPECT_FALSE(DebugToolEnabled(cmd::kContinue));
    frame->ShowSourceMenu(false);
    EXPECT_EQ(frame->GetMenuBar(), frame->StartMenu());
}

TEST(AppFrame, F10RunsNextOnReleaseAndOpensNoMenu) {
    FlagGuard guard;
    CMainFrame* frame = Frame();
    frame->ShowSourceMenu(true);
    int nextCommands = 0;
    int menusOpened = 0;
    frame->Bind(
        wxEVT_MENU, [&](wxCommandEvent&) { ++nextCommands; }, WxCommandId(cmd::kNext));
    frame->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent&) { ++menusOpened; });
    frame->Raise();
    guitest::PumpEvents(200);
    CDockPane* assembly = frame->Pane(0);
    assembly->TitleCombo()->SetFocus();
    wxUIActionSimulator simulator;
    simulator.MouseMove(assembly->GetScreenPosition() + wxPoint(20, 10));
    guitest::PumpEvents(100);

    g_bProjectLoaded = true;
    simulator.KeyDown(WXK_F10);
    guitest::PumpEvents(150);
    EXPECT_EQ(nextCommands, 0) << "a press starts nothing";
    simulator.KeyUp(WXK_F10);
    guitest::PumpEvents(200);
    EXPECT_EQ(nextCommands, 1);
    EXPECT_EQ(menusOpened, 0);

    // While a worker runs only F6 acts: it raises the stop requests.
    g_bTargetBusy = true;
    simulator.Char(WXK_F10);
    simulator.Char(WXK_F6);
    guitest::PumpEvents(200);
    EXPECT_EQ(nextCommands, 1);
    EXPECT_TRUE(g_bStopRequest);
    EXPECT_TRUE(g_bStepStop);
    EXPECT_EQ(menusOpened, 0);

    // Keys typed in a dialog are the dialog's own.
    g_bTargetBusy = false;
    wxDialog dialog(frame, wxID_ANY, "Dialog", wxDefaultPosition, wxSize(300, 200));
    auto* text = new wxTextCtrl(&dialog, wxID_ANY, "", wxPoint(10, 10), wxSize(200, 30));
    dialog.Show();
    guitest::PumpEvents(200);
    text->SetFocus();
    simulator.MouseMove(text->GetScreenPosition() + wxPoint(10, 10));
    guitest::PumpEvents(100);
    int dialogKeys = 0;
    text->Bind(wxEVT_KEY_UP, [&](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_F10) ++dialogKeys;
        event.Skip();
    });
    simulator.Char(WXK_F10);
    guitest::PumpEvents(200);
    EXPECT_EQ(nextCommands, 1);
    EXPECT_EQ(dialogKeys, 1);
    dialog.Hide();
    frame->ShowSourceMenu(false);
}

TEST(AppFrame, CommandIdsFitTheToolkitAndMapBack) {
    for (const MenuSpec& menu : SourceMenuBar()) {
        for (const MenuEntry& entry : menu.entries) {
            if (entry.id == 0) continue;
            const int id = WxCommandId(entry.id);
            EXPECT_LT(id, 0x7FFF) << entry.label;
            EXPECT_FALSE(id >= wxID_LOWEST && id <= wxID_HIGHEST && id != wxID_OPEN &&
                         id != wxID_EXIT && id != wxID_ABOUT && id != wxID_FIND)
                << entry.label;
            EXPECT_EQ(CommandFromWxId(id), entry.id) << entry.label;
        }
    }
    EXPECT_EQ(WxCommandId(cmd::kOpen), wxID_OPEN);
    EXPECT_EQ(WxCommandId(cmd::kContinue), cmd::kContinue - 20000);
    EXPECT_EQ(WxCommandId(cmd::kFirstLook), cmd::kFirstLook);
}

TEST(AppFrame, LookCommandsApplyAtOnceAndAreStored) {
    CMainFrame* frame = Frame();
    const int before = frame->Look();
    auto choose = [frame](int look) {
        wxCommandEvent command(wxEVT_MENU, WxCommandId(look));
        return frame->ProcessWindowEvent(command);
    };
    auto storedText = [] {
        std::ifstream file(appgui::HomeFolder() + "/.Local Application Program");
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    };

    ASSERT_TRUE(choose(211));
    EXPECT_EQ(frame->Look(), 211);
    EXPECT_NE(dynamic_cast<wxAuiSimpleTabArt*>(frame->TabGroup()->GetArtProvider()), nullptr);
    EXPECT_NE(dynamic_cast<wxAuiSimpleTabArt*>(frame->SourceBook()->GetArtProvider()), nullptr);
    EXPECT_EQ(ReadApplicationLook(), 211);
    EXPECT_NE(storedText().find("ApplicationLook=211"), std::string::npos);

    ASSERT_TRUE(choose(215));
    EXPECT_EQ(frame->Look(), 215);
    EXPECT_EQ(dynamic_cast<wxAuiSimpleTabArt*>(frame->TabGroup()->GetArtProvider()), nullptr);
    EXPECT_EQ(frame->Aui().GetArtProvider()->GetColour(wxAUI_DOCKART_BACKGROUND_COLOUR),
              wxColour(0xC4, 0xD8, 0xF0));
    EXPECT_TRUE(frame->Aui().GetFlags() & wxAUI_MGR_VENETIAN_BLINDS_HINT);
    EXPECT_NE(storedText().find("ApplicationLook=215"), std::string::npos);

    // The mark stands on the look in force only.
    for (int look = cmd::kFirstLook; look <= cmd::kLastLook; ++look) {
        wxUpdateUIEvent update(WxCommandId(look));
        update.SetEventObject(frame);
        frame->ProcessWindowEvent(update);
        EXPECT_TRUE(update.GetSetChecked()) << look;
        EXPECT_EQ(update.GetChecked(), look == 215) << look;
    }
    choose(before);
}

TEST(AppCommands, AnalysisCommandsShowTheirTextsWhileAProjectIsLoaded) {
    FlagGuard guard;
    CMainFrame* frame = Frame();
    platform::RecordingMessageService messages;
    auto send = [frame](int command) {
        wxCommandEvent event(wxEVT_MENU, WxCommandId(command));
        frame->ProcessWindowEvent(event);
    };
    auto enabled = [frame](int command) {
        wxUpdateUIEvent update(WxCommandId(command));
        update.SetEventObject(frame);
        frame->ProcessWindowEvent(update);
        return update.GetEnabled();
    };
    const int analysis[] = {cmd::kAnalysisPrintTrace, cmd::kAnalysisStart, cmd::kAnalysisReport};

    for (int command : analysis) {
        EXPECT_FALSE(enabled(command)) << command;
        send(command);
    }
    EXPECT_TRUE(messages.shown.empty()) << "greyed commands show nothing";

    g_bProjectLoaded = true;
    g_bTargetBusy = true;
    for (int command : analysis) {
        EXPECT_TRUE(enabled(command)) << command;
        send(command);
    }
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"CMyQuilletApp::OnAnalysisPrinttrace",
                                                          "CMyQuilletApp::OnAnalysisStart",
                                                          "CMyQuilletApp::OnAnalysisReport"}));
}

TEST(AppFrame, ExitClosesTheFrame) {
    wxCommandEvent exit(wxEVT_MENU, WxCommandId(cmd::kExit));
    Frame()->ProcessWindowEvent(exit);
    guitest::PumpEvents(200);
    EXPECT_EQ(Frame(), nullptr);
}

namespace {

// Exit as the user chooses it; the frame is gone.
void Exit() {
    Command(cmd::kExit);
    guitest::PumpEvents(200);
    ASSERT_EQ(Frame(), nullptr);
}

// Every pane where the first run puts it: docked on its side and shown (the
// Emulator created hidden), none floating.
void ExpectFirstRunLayout(CMainFrame* frame) {
    const std::vector<PaneSpec>& specs = DockingPanes();
    for (size_t i = 0; i < specs.size(); ++i) {
        SCOPED_TRACE(specs[i].caption);
        EXPECT_EQ(frame->IsPaneShown(i), specs[i].place != PanePlace::Hidden);
        const wxAuiPaneInfo& pane = frame->Aui().GetPane(frame->Pane(i));
        if (specs[i].place == PanePlace::Left) {
            EXPECT_EQ(pane.dock_direction, wxAUI_DOCK_LEFT);
        } else if (specs[i].place == PanePlace::Right) {
            EXPECT_EQ(pane.dock_direction, wxAUI_DOCK_RIGHT);
        }
        if (pane.IsOk() && specs[i].place != PanePlace::Hidden) {
            EXPECT_FALSE(pane.IsFloating());
        }
    }
    EXPECT_TRUE(frame->Aui().GetPane("SourceWindows").IsShown());
    EXPECT_EQ(frame->Aui().GetPane("BreakPointGroup").caption, "BreakPoint");
}

} // namespace

TEST(AppFrame, TheDockingLayoutComesBackAtTheNextStartAndADamagedOneGivesTheFirstRun) {
    CMainFrame* frame = Frame();
    ExpectFirstRunLayout(frame);
    // The user hides Register, floats Assembly, closes the workspace with its
    // close button and brings Symbol to the front of the tab group, then leaves.
    const int registerPane = PaneForToggle(cmd::kRegisterWindow);
    Command(cmd::kRegisterWindow);
    frame->Aui()
        .GetPane(frame->Pane(kAssemblyPane))
        .Float()
        .FloatingPosition(wxPoint(420, 300))
        .FloatingSize(wxSize(400, 320));
    frame->Aui().ClosePane(frame->Aui().GetPane(frame->FileView()));
    frame->Aui().Update();
    ShowPane(frame->Pane(5));
    ASSERT_NO_FATAL_FAILURE(Exit());
    const std::string stored = ReadDockingLayout();
    ASSERT_FALSE(stored.empty());

    StartFrame();
    frame = Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->IsPaneShown(size_t(registerPane)));
    EXPECT_TRUE(frame->Aui().GetPane(frame->Pane(kAssemblyPane)).IsFloating());
    EXPECT_TRUE(frame->Pane(kAssemblyPane)->IsShownOnScreen());
    EXPECT_TRUE(frame->IsPaneShown(kBreakPointPane));
    // No command shows the workspace again: it comes back where it was.
    EXPECT_TRUE(frame->IsPaneShown(kWorkSpacePane));
    EXPECT_EQ(frame->Aui().GetPane(frame->FileView()).dock_direction, wxAUI_DOCK_LEFT);
    // The group's caption names its page in front, not the one stored.
    EXPECT_EQ(frame->Aui().GetPane("BreakPointGroup").caption, "BreakPoint");
    guitest::SaveScreenshot(frame, "layout_restored");
    wxWindow* floating = wxGetTopLevelParent(frame->Pane(kAssemblyPane));
    EXPECT_NE(floating, frame);
    floating->Raise();
    guitest::SaveScreenshot(floating, "layout_restored_floating_assembly");

    // Damaged and foreign layouts give the first-run layout.
    std::string withoutRegister = stored;
    const size_t part = stored.find("name=pane" + std::to_string(registerPane) + ";");
    ASSERT_NE(part, std::string::npos);
    withoutRegister.erase(part, stored.find('|', part) + 1 - part);
    const std::pair<const char*, std::string> damaged[] = {
        {"another_program", "layout2|name=Toolbox;caption=Tools;state=2044;dir=4;layer=0;row=0;"
                            "pos=0;prop=100000;bestw=200;besth=200;minw=-1;minh=-1;maxw=-1;"
                            "maxh=-1;floatx=-1;floaty=-1;floatw=-1;floath=-1|"},
        {"a_pane_missing", withoutRegister},
    };
    for (const auto& [what, layout] : damaged) {
        SCOPED_TRACE(what);
        ASSERT_NO_FATAL_FAILURE(Exit());
        WriteDockingLayout(layout);
        StartFrame();
        ASSERT_NE(Frame(), nullptr);
        ExpectFirstRunLayout(Frame());
        guitest::SaveScreenshot(Frame(), std::string("layout_damaged_") + what);
    }
    WriteDockingLayout("");
}

TEST(AppSourceWindows, OpenFindCloseAndTheSearchDialog) {
    FlagGuard guard;
    CMainFrame* frame = Frame();
    CSourceWindows* sources = wxGetApp().SourceWindows();
    const std::string dir = std::string(VEXA_SOURCE_DIR) + "/debuginfo/testing/data/demo/";
    CSourceWindow* main = sources->Open(dir + "main.c");
    CSourceWindow* util = sources->Open(dir + "src/util.c");
    EXPECT_EQ(sources->Open(dir + "main.c"), main) << "an open file is not opened twice";
    EXPECT_EQ(sources->Windows().size(), 2u);
    EXPECT_EQ(sources->Find("MAIN.C"), main);
    EXPECT_EQ(sources->Find("Util.C"), util);
    EXPECT_EQ(sources->Find("main"), nullptr);
    EXPECT_EQ(sources->Active(), main);
    EXPECT_EQ(frame->GetMenuBar(), frame->SourceMenu());

    // Find twice: still one Search dialog, bound to the editor in front.
    wxCommandEvent find(wxEVT_MENU, wxID_FIND);
    frame->ProcessWindowEvent(find);
    CFindStringDlg* dialog = wxGetApp().FindDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetEditor(), main->Editor());
    sources->ActivateView(util);
    frame->ProcessWindowEvent(find);
    EXPECT_EQ(wxGetApp().FindDialog(), dialog);
    EXPECT_EQ(dialog->GetEditor(), util->Editor());

    // While a project is loaded the user cannot close a source window.
    g_bProjectLoaded = true;
    wxAuiNotebookEvent close(wxEVT_AUINOTEBOOK_PAGE_CLOSE, frame->SourceBook()->GetId());
    close.SetEventObject(frame->SourceBook());
    close.SetSelection(0);
    frame->SourceBook()->GetEventHandler()->ProcessEvent(close);
    EXPECT_FALSE(close.IsAllowed());
    g_bProjectLoaded = false;

    // Closing the windows unbinds the dialog and brings menu 128 back.
    sources->CloseAll();
    guitest::PumpEvents(50);
    EXPECT_TRUE(sources->Windows().empty());
    EXPECT_EQ(dialog->GetEditor(), nullptr);
    EXPECT_EQ(frame->GetMenuBar(), frame->StartMenu());
    EXPECT_EQ(frame->SourceBook()->GetPageCount(), 0u);
}
