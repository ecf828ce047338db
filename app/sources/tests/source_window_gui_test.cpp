// A source window as the user meets it: C keywords coloured, the matching
// brace lit, folds that a click closes, a text no key can change, the menus'
// shortcuts working from the editor, and status texts that follow the window
// in front.
#include "app_gui_fixture.h"
#include "command_ids.h"
#include "find_string_dlg.h"
#include "gui_test.h"
#include "main_frame.h"
#include "my_quillet_app.h"
#include "project_views.h"
#include "scintilla_constants.h"
#include "scintilla_wnd.h"
#include "source_window.h"
#include "source_windows.h"
#include "target_flags.h"
#include "wx_command_ids.h"

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/image.h>
#include <wx/statusbr.h>
#include <wx/uiaction.h>

#include <fstream>
#include <functional>
#include <string>

using namespace appgui;

namespace {

const std::string kExampleDir = std::string(VEXA_SOURCE_DIR) + "/example/";

// Gives the editor the keyboard, as a click in it would.
void FocusEditor(CScintillaWnd* editor) {
    wxUIActionSimulator simulator;
    editor->SetFocus();
    simulator.MouseMove(editor->GetScreenPosition() + wxPoint(200, 60));
    guitest::PumpEvents(80);
}

void Keys(std::initializer_list<int> keys, int modifiers = wxMOD_NONE) {
    wxUIActionSimulator simulator;
    for (int key : keys)
        simulator.Char(key, modifiers);
    guitest::PumpEvents(120);
}

// Pixels of `rect` (editor client coordinates) on the screen that `test` accepts.
int CountPixels(CScintillaWnd* editor, const wxRect& rect,
                const std::function<bool(int, int, int)>& test, const std::string& shot) {
    const std::string path = guitest::SaveScreenshot(editor, shot);
    wxImage image(path, wxBITMAP_TYPE_PNG);
    if (!image.IsOk()) return -1;
    // The screenshot holds the whole window: its border comes before the client area.
    const wxPoint offset = editor->ClientToScreen(wxPoint(0, 0)) - editor->GetScreenPosition();
    int count = 0;
    for (int y = rect.y; y < rect.GetBottom(); ++y)
        for (int x = rect.x; x < rect.GetRight(); ++x) {
            const int px = x + offset.x, py = y + offset.y;
            if (px < 0 || py < 0 || px >= image.GetWidth() || py >= image.GetHeight()) continue;
            if (test(image.GetRed(px, py), image.GetGreen(px, py), image.GetBlue(px, py))) ++count;
        }
    return count;
}

// Where the text of `word` (its first occurrence from `from`) is drawn.
wxRect WordRect(CScintillaWnd* editor, const std::string& word, int& position, int from = 0) {
    position = editor->FindText(from, editor->GetLength(), word, wxSTC_FIND_MATCHCASE);
    const wxPoint start = editor->PointFromPosition(position);
    const wxPoint end = editor->PointFromPosition(position + static_cast<int>(word.size()));
    return wxRect(start.x, start.y, end.x - start.x,
                  editor->TextHeight(editor->LineFromPosition(position)));
}

bool Blue(int r, int g, int b) {
    return b > 150 && r < 90 && g < 90;
}

} // namespace

TEST(AppSourceWindow, KeywordsColouredBraceLitAndAFoldClosedByAClick) {
    CSourceWindow* window = wxGetApp().SourceWindows()->Open(kExampleDir + "src/delay.c");
    ASSERT_NE(window, nullptr);
    CScintillaWnd* editor = window->Editor();
    guitest::PumpEvents(200);

    // "unsigned" is a keyword, drawn blue; the identifier "turns" is not.
    int keyword = 0;
    const wxRect keywordRect = WordRect(editor, "unsigned", keyword);
    EXPECT_EQ(editor->GetStyleAt(keyword), wxSTC_C_WORD);
    EXPECT_GT(CountPixels(editor, keywordRect, Blue, "app_source_keywords"), 10);
    int identifier = 0;
    const wxRect identifierRect = WordRect(editor, "turns", identifier, keyword);
    EXPECT_EQ(editor->GetStyleAt(identifier), wxSTC_C_IDENTIFIER);
    EXPECT_EQ(CountPixels(editor, identifierRect, Blue, "app_source_identifier"), 0);

    // The caret after an opening brace lights it and its match in green.
    const int brace = editor->FindText(0, editor->GetLength(), "{", 0);
    ASSERT_GE(brace, 0);
    editor->GotoPos(brace + 1);
    guitest::PumpEvents(150);
    const int match = editor->BraceMatch(brace);
    ASSERT_GT(match, brace);
    const wxPoint lit = editor->PointFromPosition(match);
    const wxRect matchRect(lit.x, lit.y, editor->TextWidth(0, "}"), editor->TextHeight(0));
    EXPECT_GT(CountPixels(
                  editor, matchRect,
                  [](int r, int g, int b) { return g > 200 && r < 80 && b < 80; },
                  "app_source_brace"),
              4);

    // With the fold margin shown, a click on the header of delay's body folds it.
    editor->ShowFoldMargin(true);
    guitest::PumpEvents(100);
    const int header = editor->LineFromPosition(brace);
    ASSERT_TRUE(editor->GetFoldLevel(header) & wxSTC_FOLDLEVELHEADERFLAG);
    const int marginX = editor->GetMarginWidth(0) + editor->GetMarginWidth(1) + 8;
    const int lineY = editor->PointFromPosition(brace).y + editor->TextHeight(header) / 2;
    wxUIActionSimulator simulator;
    simulator.MouseMove(editor->ClientToScreen(wxPoint(marginX, lineY)));
    guitest::PumpEvents(50);
    simulator.MouseClick();
    guitest::PumpEvents(150);
    EXPECT_FALSE(editor->GetFoldExpanded(header));
    EXPECT_FALSE(editor->GetLineVisible(header + 1));
}

TEST(AppSourceWindow, NoKeyPasteOrUndoChangesTheText) {
    CSourceWindow* window = wxGetApp().SourceWindows()->Open(kExampleDir + "main.c");
    ASSERT_NE(window, nullptr);
    CScintillaWnd* editor = window->Editor();
    const std::string text = editor->GetText();
    ASSERT_FALSE(text.empty());
    guitest::PumpEvents(150);
    FocusEditor(editor);

    if (wxTheClipboard->Open()) {
        wxTheClipboard->SetData(new wxTextDataObject("PASTED"));
        wxTheClipboard->Close();
    }
    editor->GotoLine(20);
    Keys({WXK_DELETE, WXK_BACK, WXK_RETURN, WXK_TAB, 'x'});
    Keys({'V', 'Z'}, wxMOD_CONTROL);
    editor->SetSelection(editor->PositionFromLine(20), editor->PositionFromLine(22));
    Keys({'X'}, wxMOD_CONTROL);
    Keys({WXK_DELETE});
    EXPECT_EQ(editor->GetText(), text);
    // The program's own ways in are refused as well.
    editor->Paste();
    editor->Cut();
    editor->Undo();
    EXPECT_EQ(editor->GetText(), text);

    // Markers, the caret, the selection and find still work.
    editor->MarkerAdd(5, 0);
    EXPECT_TRUE(editor->MarkerGet(5) & 1);
    editor->GotoLine(30);
    EXPECT_EQ(editor->GetCurrentLine(), 31);
    EXPECT_TRUE(editor->SearchForward("pattern"));
    EXPECT_EQ(editor->GetSelectedText(), "pattern");
    EXPECT_FALSE(editor->IsModified());
}

TEST(AppSourceWindow, MenuShortcutsWorkFromTheEditor) {
    CSourceWindows* sources = wxGetApp().SourceWindows();
    CSourceWindow* window = sources->Open(kExampleDir + "main.c");
    ASSERT_NE(window, nullptr);
    guitest::PumpEvents(150);
    FocusEditor(window->Editor());
    Keys({'F'}, wxMOD_CONTROL);
    CFindStringDlg* dialog = wxGetApp().FindDialog();
    ASSERT_NE(dialog, nullptr) << "Ctrl+F opened no Search dialog";
    EXPECT_TRUE(dialog->IsShown());
    EXPECT_EQ(dialog->GetEditor(), window->Editor());
    guitest::SaveScreenshot(Frame(), "app_source_find");
    dialog->Hide();

    // Ctrl+Q closes the project; Exit has no shortcut of its own to steal it.
    wxGetApp().ProjectViews()->SetNextProjectPath(kExampleDir + "blinky.uv2");
    wxCommandEvent open(wxEVT_MENU, WxCommandId(cmd::kOpen));
    Frame()->ProcessWindowEvent(open);
    guitest::PumpEvents(200);
    ASSERT_TRUE(g_bProjectLoaded);
    CSourceWindow* main = sources->Find("main.c");
    ASSERT_NE(main, nullptr);
    sources->ActivateView(main);
    guitest::PumpEvents(100);
    FocusEditor(main->Editor());
    Keys({'Q'}, wxMOD_CONTROL);
    EXPECT_FALSE(g_bProjectLoaded);
    ASSERT_NE(Frame(), nullptr);
    EXPECT_TRUE(Frame()->IsShown());
    wxMenuItem* exit = Frame()->GetMenuBar()->FindItem(WxCommandId(cmd::kExit));
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->GetAccel(), nullptr);
}

TEST(AppSourceWindow, LongFilesGetAWideMarginAndTheStatusFollowsTheFrontWindow) {
    const std::string path = guitest::ScreenshotDirectory() + "/long_source.c";
    {
        std::ofstream file(path);
        for (int i = 1; i <= 1500; ++i)
            file << "int line" << i << ";\n";
    }
    CSourceWindows* sources = wxGetApp().SourceWindows();
    CSourceWindow* small = sources->Open(kExampleDir + "src/delay.h");
    CSourceWindow* longer = sources->Open(path);
    ASSERT_NE(longer, nullptr);
    CScintillaWnd* editor = longer->Editor();
    // "1500" fits with room to spare.
    EXPECT_EQ(editor->GetMarginWidth(0), editor->GetLineNumberMarginWidth() + 4);
    EXPECT_GT(editor->GetMarginWidth(0), editor->TextWidth(sci::kStyleLineNumber, "99999"));

    wxStatusBar* status = Frame()->GetStatusBar();
    editor->GotoLine(1199);
    guitest::PumpEvents(150);
    EXPECT_TRUE(status->GetStatusText(3).StartsWith("Line: 1200,"));
    guitest::SaveScreenshot(Frame(), "app_source_long_file");
    sources->ActivateView(small);
    guitest::PumpEvents(150);
    EXPECT_TRUE(status->GetStatusText(3).StartsWith("Line: 1,")) << status->GetStatusText(3);
    sources->ActivateView(longer);
    guitest::PumpEvents(150);
    EXPECT_TRUE(status->GetStatusText(3).StartsWith("Line: 1200,"));

    sources->CloseAll();
    guitest::PumpEvents(150);
    for (int pane = 1; pane <= 4; ++pane)
        EXPECT_EQ(status->GetStatusText(pane), "") << pane;
}
