#include "app_gui_fixture.h"

#include "command_ids.h"
#include "gui_test.h"
#include "main_frame.h"
#include "my_quillet_app.h"
#include "pc_model.h"
#include "project_views.h"
#include "properties_wnd.h"
#include "register_table.h"
#include "target_flags.h"
#include "wx_command_ids.h"

#include <wx/aui/auibar.h>
#include <wx/aui/auibook.h>
#include <wx/propgrid/propgrid.h>
#include <wx/stopwatch.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <filesystem>

namespace appgui {

CMainFrame* Frame() {
    return wxGetApp().Frame();
}

void StartFrame() {
    if (Frame()) return;
    wxGetApp().CreateMainFrame();
    guitest::PumpEvents(200);
}

void Command(int command, wxWindow* window) {
    wxCommandEvent event(wxEVT_MENU, WxCommandId(command));
    (window ? window : Frame())->ProcessWindowEvent(event);
    guitest::PumpEvents(50);
}

bool WaitIdle(int ms) {
    wxStopWatch watch;
    while (g_bTargetBusy && watch.Time() < ms)
        guitest::PumpEvents(20);
    guitest::PumpEvents(50);
    return !g_bTargetBusy;
}

void PressKey(int key, wxWindow* focus) {
    wxUIActionSimulator simulator;
    focus->SetFocus();
    simulator.MouseMove(focus->GetScreenPosition() + wxPoint(40, 40));
    guitest::PumpEvents(50);
    simulator.Char(key);
    guitest::PumpEvents(100);
}

void PressKeyUntilIdle(int key, wxWindow* focus, int ms) {
    PressKey(key, focus);
    WaitIdle(ms);
}

uint16_t ShownPc() {
    uint16_t pc = 0;
    if (PcDisplay* display = GetPcDisplay()) display->GetCurrentPc(pc);
    return pc;
}

wxAuiToolBar* ToolBar(const char* name) {
    return static_cast<wxAuiToolBar*>(Frame()->Aui().GetPane(name).window);
}

bool DebugToolEnabled(int command) {
    Frame()->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    wxAuiToolBar* bar = ToolBar("DebugToolBar");
    bar->UpdateWindowUI(wxUPDATE_UI_FROMIDLE);
    return bar->GetToolEnabled(WxCommandId(command));
}

void ShowPane(wxWindow* pane) {
    wxAuiNotebook* tabs = Frame()->TabGroup();
    tabs->SetSelection(size_t(tabs->GetPageIndex(pane)));
    guitest::PumpEvents(150);
}

void OpenProject(const std::string& path) {
    wxGetApp().ProjectViews()->SetNextProjectPath(path);
    Command(cmd::kOpen);
    guitest::PumpEvents(200);
}

SourcePosition LineInMain(const std::string& path, const std::string& statement) {
    if (statement.empty()) return FirstLineOf("main");
    return StatementInFunction(std::filesystem::path(path).parent_path().string(), "main",
                               statement);
}

std::vector<std::string> RealProjectFiles() {
    namespace fs = std::filesystem;
    std::vector<std::string> projects;
    std::error_code error;
    for (fs::recursive_directory_iterator it(VEXA_KEIL_FIXTURES, error), end; !error && it != end;
         it.increment(error)) {
        std::string extension = it->path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (it->is_regular_file() && extension == ".uv2") projects.push_back(it->path().string());
    }
    std::sort(projects.begin(), projects.end());
    return projects;
}

void EditPc(uint16_t pc) {
    CPropertiesWnd* registers = Frame()->RegisterWnd();
    wxPGProperty* row = registers->RowProperty(FindRegisterRow("PC $"));
    registers->Grid()->EnsureVisible(row);
    registers->Grid()->ChangePropertyValue(row, wxString::Format("0x%.4x", pc));
    guitest::PumpEvents(100);
}

void FrameTest::SetUp() {
    ASSERT_NE(Frame(), nullptr);
    Frame()->Raise();
    guitest::PumpEvents(100);
}

} // namespace appgui
