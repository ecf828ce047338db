// The Tool and Environment commands that act on the source window in
// front: find, go to line, the breakpoint walk, fonts and colours; and the
// status-bar panes that follow its caret.
#include "breakpoint_toggle.h"
#include "command_ids.h"
#include "command_rules.h"
#include "find_string_dlg.h"
#include "jump_line_dlg.h"
#include "main_frame.h"
#include "my_quillet_app.h"
#include "project_paths.h"
#include "scintilla_wnd.h"
#include "source_window.h"
#include "source_windows.h"
#include "target_flags.h"
#include "variable_panes.h"
#include "window_file.h"
#include "wx_command_ids.h"

#include <wx/colordlg.h>
#include <wx/fontdlg.h>
#include <wx/menu.h>

CScintillaWnd* CMyQuilletApp::ActiveEditor() const {
    CSourceWindow* window = m_sources ? m_sources->Active() : nullptr;
    return window ? window->Editor() : nullptr;
}

void CMyQuilletApp::BindEditorCommands() {
    auto bind = [this](int command, std::function<void(CScintillaWnd&)> action) {
        Bind(
            wxEVT_MENU,
            [this, action](wxCommandEvent&) {
                if (CScintillaWnd* editor = ActiveEditor()) action(*editor);
            },
            WxCommandId(command));
    };
    bind(cmd::kFind, [this](CScintillaWnd& editor) { ShowFindDialog(editor); });
    bind(cmd::kGotoSourceLine, [this](CScintillaWnd& editor) {
        CJumpLineDlg dialog(m_frame);
        dialog.SetLine(editor.GetCurrentLine());
        dialog.ShowModal();
        editor.GotoLineWithContext(dialog.GetLine());
        editor.SetFocus();
    });
    bind(cmd::kGotoNextBreakPoint, [](CScintillaWnd& editor) { editor.GotoNextBreakPoint(); });
    bind(cmd::kGotoPreBreakPoint, [](CScintillaWnd& editor) { editor.GotoPrevBreakPoint(); });
    bind(cmd::kFontStyle, [this](CScintillaWnd& editor) {
        wxFontDialog dialog(m_frame);
        if (dialog.ShowModal() != wxID_OK) return;
        const wxFont font = dialog.GetFontData().GetChosenFont();
        editor.SetStyleFont(editor.GetCurrentStyle(), font.GetFaceName().ToStdString());
        editor.SetStyleSize(editor.GetCurrentStyle(), font.GetPointSize());
        editor.SetStyleBold(editor.GetCurrentStyle(), font.GetWeight() >= wxFONTWEIGHT_BOLD);
        editor.SetStyleItalic(editor.GetCurrentStyle(), font.GetStyle() == wxFONTSTYLE_ITALIC);
        editor.SetStyleUnderline(editor.GetCurrentStyle(), font.GetUnderlined());
    });
    auto chooseColour = [this](CScintillaWnd& editor, bool foreground) {
        wxColourData data;
        data.SetColour(*wxBLACK);
        wxColourDialog dialog(m_frame, &data);
        if (dialog.ShowModal() != wxID_OK) return;
        const wxColour colour = dialog.GetColourData().GetColour();
        // The component's colours are 0xBBGGRR.
        const uint32_t value = colour.Red() | (colour.Green() << 8) | (colour.Blue() << 16);
        if (foreground)
            editor.SetStyleFore(editor.GetCurrentStyle(), value);
        else
            editor.SetStyleBack(editor.GetCurrentStyle(), value);
    };
    bind(cmd::kFontColor, [chooseColour](CScintillaWnd& editor) { chooseColour(editor, true); });
    bind(cmd::kBackgroundColor,
         [chooseColour](CScintillaWnd& editor) { chooseColour(editor, false); });
}

void CMyQuilletApp::ShowFindDialog(CScintillaWnd& editor) {
    // One Search dialog at a time: a second Find takes the open one over.
    if (!m_findDialog) m_findDialog = new CFindStringDlg(m_frame, m_findHistory);
    m_findDialog->SetEditor(&editor);
    m_findDialog->FillFindBox();
    m_findDialog->Show();
    m_findDialog->Raise();
}

void CMyQuilletApp::ShowCaretStatus(CScintillaWnd& editor) {
    if (!m_frame) return;
    m_frame->SetStatusText(wxString::Format("Folding level: %d", editor.GetCurrentFoldLevel()), 1);
    m_frame->SetStatusText(wxString::Format("Style: %d", editor.GetCurrentStyle()), 2);
    m_frame->SetStatusText(wxString::Format("Line: %d, Col: %d, Character: %d",
                                            editor.GetCurrentLine(), editor.GetCurrentColumn(),
                                            editor.GetCurrentPos()),
                           3);
    m_frame->SetStatusText(editor.GetOvertype() ? "OVR" : "", 4);
}

void CMyQuilletApp::ShowFrontCaretStatus() {
    if (!m_frame) return;
    if (CScintillaWnd* editor = ActiveEditor()) {
        ShowCaretStatus(*editor);
        return;
    }
    for (int pane = 1; pane <= 4; ++pane)
        m_frame->SetStatusText("", pane);
}

namespace {

constexpr int kContextGotoLine = 32787;
constexpr int kContextSetBreak = 40044;
constexpr int kContextInsertVariable = 40049;
constexpr int kContextRunToCursor = 40071;

} // namespace

void CMyQuilletApp::ShowEditorContextMenu(CSourceWindow& window, const wxPoint& point) {
    if (!g_bProjectLoaded) return;
    CScintillaWnd* editor = window.Editor();
    wxMenu menu;
    menu.Append(WxCommandId(kContextGotoLine), "Goto Source Line(&L)");
    menu.Append(WxCommandId(kContextSetBreak), "Set Break(&B)");
    menu.Append(WxCommandId(kContextInsertVariable), "Insert Variable Window(&V)");
    menu.Append(WxCommandId(kContextRunToCursor), "Run To Cursor Line(&N)");
    menu.Enable(WxCommandId(kContextRunToCursor),
                IsCommandEnabled(cmd::kRunToCursorLine, CurrentDebugState()));
    const std::string title = window.Title();
    menu.Bind(
        wxEVT_MENU,
        [this, editor](wxCommandEvent&) {
            CJumpLineDlg dialog(m_frame);
            dialog.SetLine(editor->GetCurrentLine());
            if (dialog.ShowModal() != wxID_OK) return;
            // The typed line itself, as the Tool menu's Goto Source Line does.
            editor->GotoLineNearTop(dialog.GetLine());
            editor->SetFocus();
            editor->GotoLineWithContext(dialog.GetLine());
        },
        WxCommandId(kContextGotoLine));
    menu.Bind(
        wxEVT_MENU,
        [title, editor](wxCommandEvent&) {
            if (!IsCommandEnabled(cmd::kSetBreak, CurrentDebugState())) return;
            const std::string file = ProjectFileOfWindow(title);
            if (file == kCantSearch) return;
            ToggleBreakPointAtLine(file, editor->GetCurrentLine(), ToggleRoad::kSetBreak,
                                   "Fail Set Break. MAX Break Number = 16");
        },
        WxCommandId(kContextSetBreak));
    menu.Bind(
        wxEVT_MENU,
        [title, editor, point](wxCommandEvent&) {
            InsertVariableFromEditor(*editor, title, point);
        },
        WxCommandId(kContextInsertVariable));
    menu.Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { RunToCursorLine(); },
        WxCommandId(kContextRunToCursor));
    // A menu asked for from the keyboard comes with no point: it opens at the caret.
    editor->PopupMenu(&menu, point == wxDefaultPosition ? point : editor->ScreenToClient(point));
}
