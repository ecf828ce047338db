#include "my_quillet_app.h"

#include "about_dlg.h"
#include "app_settings.h"
#include "command_ids.h"
#include "command_rules.h"
#include "editor_breakpoint_views.h"
#include "find_string_dlg.h"
#include "main_frame.h"
#include "message_service.h"
#include "pc_model.h"
#include "project_loader.h"
#include "project_views.h"
#include "run_commands.h"
#include "source_windows.h"
#include "target_session.h"
#include "usb_link.h"
#include "wx_command_ids.h"

wxIMPLEMENT_APP_NO_MAIN(CMyQuilletApp);

CMyQuilletApp::CMyQuilletApp() {
    SetAppName(kSettingsKey);
    SetAppDisplayName("Ostrel Debugger");
}

bool CMyQuilletApp::OnInit() {
    platform::SetMessageService(&m_messages);
    // The adapter link comes first: the windows created below read the target.
    CreateUsbLink();

    OpenSettings();
    ApplyInstallDir();
    m_findHistory = ReadFindHistory();
    m_replaceHistory = ReadReplaceHistory();

    for (int command : RuledCommands())
        Bind(wxEVT_UPDATE_UI, &CMyQuilletApp::OnUpdateRuledCommand, this, WxCommandId(command));
    Bind(wxEVT_MENU, &CMyQuilletApp::OnAppExit, this, WxCommandId(cmd::kExit));
    Bind(wxEVT_MENU, &CMyQuilletApp::OnAppAbout, this, wxID_ABOUT);

    BindDebugCommands();
    BindEditorCommands();
    BindAnalysisCommands();

    CreateMainFrame();
    return true;
}

void CMyQuilletApp::CreateMainFrame() {
    m_frame = new CMainFrame;
    m_frame->SetDestroyingHandler([this] {
        RemoveViews();
        m_frame = nullptr;
    });
    InstallViews();
    SetTopWindow(m_frame);
    m_frame->Show();
}

int CMyQuilletApp::OnExit() {
    // Normally the frame's close has done this already.
    StopAndJoinWorker();
    RemoveViews();
    CloseSettings();
    if (platform::GetMessageService() == &m_messages) platform::SetMessageService(nullptr);
    return wxApp::OnExit();
}

void CMyQuilletApp::OnUpdateRuledCommand(wxUpdateUIEvent& event) {
    event.Enable(IsCommandEnabled(CommandFromWxId(event.GetId()), CurrentDebugState()));
}

void CMyQuilletApp::BindAnalysisCommands() {
    static const struct {
        int command;
        const char* text;
    } kAnalysis[] = {{cmd::kAnalysisPrintTrace, "CMyQuilletApp::OnAnalysisPrinttrace"},
                     {cmd::kAnalysisStart, "CMyQuilletApp::OnAnalysisStart"},
                     {cmd::kAnalysisReport, "CMyQuilletApp::OnAnalysisReport"}};
    for (const auto& analysis : kAnalysis) {
        const int command = analysis.command;
        const char* text = analysis.text;
        // No menu greys these commands, so the handler keeps to their rule.
        Bind(
            wxEVT_MENU,
            [command, text](wxCommandEvent&) {
                if (IsCommandEnabled(command, CurrentDebugState())) platform::ShowMessage(text);
            },
            WxCommandId(command));
    }
}

void CMyQuilletApp::OnAppExit(wxCommandEvent&) {
    if (m_frame) m_frame->Close();
}

void CMyQuilletApp::OnAppAbout(wxCommandEvent&) {
    CAboutDlg dialog(m_frame);
    dialog.ShowModal();
}
