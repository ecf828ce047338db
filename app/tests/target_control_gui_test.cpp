// The debugger's hold on the target, through the real windows on the
// simulated board: commands queued by function keys released together with
// F5 leave the running program alone, and after Board Reset, Init Debugger
// and an edit of "PC $" the source marker and the Assembly row show the PC
// the board now has.
#include "app_gui_fixture.h"
#include "assemble_view.h"
#include "breakpoint_records.h"
#include "command_ids.h"
#include "gui_test.h"
#include "html_list_ctrl.h"
#include "listing_model.h"
#include "main_frame.h"
#include "message_service.h"
#include "my_quillet_app.h"
#include "path_resolver.h"
#include "pc_model.h"
#include "run_lookups.h"
#include "scintilla_wnd.h"
#include "sim_board.h"
#include "source_window.h"
#include "source_windows.h"
#include "target_flags.h"
#include "target_messages.h"
#include "window_file.h"

#include <gtest/gtest.h>

using namespace appgui;

namespace {

using Texts = std::vector<std::string>;

const std::string kExampleProject = std::string(VEXA_SOURCE_DIR) + "/example/blinky.uv2";

std::vector<uint8_t> BoardCodeFlash() {
    std::vector<uint8_t> bytes(0x10000);
    Board().ReadMemory(SIMBOARD_CODE_FLASH, 0, bytes.data(), uint32_t(bytes.size()));
    return bytes;
}

// The board's PC is the one the windows show: the PC marker on its source
// line (on no line when it has none), its Assembly row current and selected.
void ExpectShownAsTheBoard() {
    const uint16_t pc = Board().GetPc();
    EXPECT_EQ(ShownPc(), pc);
    int line = 0;
    std::string file;
    if (!GetLineToken(pc, line, file)) file.clear();
    for (CSourceWindow* window : wxGetApp().SourceWindows()->Windows()) {
        const bool ours = platform::EqualsNoCase(ProjectFileOfWindow(window->Title()), file);
        EXPECT_EQ(window->Editor()->MarkerNext(0, 1 << marker::kCurrentPc), ours ? line - 1 : -1)
            << window->Title() << " at PC " << pc;
    }
    CHTMLListCtrl* list = Frame()->AssembleView()->ShownList();
    ASSERT_EQ(g_ListingModel.m_mapAddressToSrcRow.count(pc), 1u) << pc;
    EXPECT_EQ(list->GetCurrentItem(), g_ListingModel.m_mapAddressToSrcRow.at(pc));
    EXPECT_EQ(list->GetSelectedItem(), g_ListingModel.m_mapAddressToSrcRow.at(pc));
}

class TargetControl : public FrameTest {
protected:
    // Opens the example project and loads its image; main.c's window, in front.
    CSourceWindow* OpenAndLoad() {
        OpenProject(kExampleProject);
        Command(cmd::kImageLoad);
        EXPECT_EQ(messages.Texts(), Texts{kFlashWriteOkText});
        messages.shown.clear();
        CSourceWindow* source = wxGetApp().SourceWindows()->Find("main.c");
        if (source) wxGetApp().SourceWindows()->ActivateView(source);
        return source;
    }

    platform::RecordingMessageService messages;
};

} // namespace

TEST_F(TargetControl, KeysReleasedWithF5WaitForTheRunningProgram) {
    CSourceWindow* source = OpenAndLoad();
    ASSERT_NE(source, nullptr);
    CScintillaWnd* editor = source->Editor();
    const std::vector<uint8_t> flash = BoardCodeFlash();
    // F2 or F3 released in the same pass as F5, before Continue has started:
    // when its turn comes the target is busy, so neither talks to the adapter.
    for (int key : {int(WXK_F2), int(WXK_F3)}) {
        editor->SetFocus();
        for (int released : {int(WXK_F5), key}) {
            wxKeyEvent release(wxEVT_KEY_UP);
            release.m_keyCode = released;
            release.SetEventObject(editor);
            editor->GetEventHandler()->ProcessEvent(release);
        }
        guitest::PumpEvents(300);
        EXPECT_TRUE(Board().IsRunning()) << key;
        PressKey(WXK_F6, editor);
        ASSERT_TRUE(WaitIdle());
        EXPECT_EQ(ShownPc(), Board().GetPc()) << key;
    }
    EXPECT_TRUE(BoardCodeFlash() == flash);
    EXPECT_EQ(messages.Texts(), Texts{});
    Command(cmd::kClose);
}

TEST_F(TargetControl, ResetsAndAPcEditMoveTheMarkerAndTheAssemblyRow) {
    CSourceWindow* source = OpenAndLoad();
    ASSERT_NE(source, nullptr);
    CScintillaWnd* editor = source->Editor();
    const SourcePosition breakAt = LineInMain(kExampleProject, "P1 = ~pattern;");
    ASSERT_NE(breakAt.line, 0);
    editor->GotoLine(breakAt.line - 1);
    PressKeyUntilIdle(WXK_F9, editor);
    // Board Reset (F2, the breakpoint stays), then Init Debugger, each after
    // a run to the breakpoint: the board starts again at its reset address,
    // and so do the windows.
    for (const char* reset : {kBoardResetOkText, kInitDebuggerOkText}) {
        PressKeyUntilIdle(WXK_F5, editor);
        ASSERT_EQ(editor->MarkerNext(0, 1 << marker::kCurrentPc), breakAt.line - 1);
        messages.shown.clear();
        if (reset == kBoardResetOkText)
            PressKeyUntilIdle(WXK_F2, editor);
        else
            Command(cmd::kInitDebugger);
        EXPECT_EQ(messages.Texts(), Texts{reset});
        EXPECT_EQ(Board().GetPc(), 0);
        ExpectShownAsTheBoard();
        guitest::SaveScreenshot(Frame(), std::string("target_control_reset_") +
                                             (reset == kBoardResetOkText ? "f2" : "init"));
    }
    EXPECT_TRUE(g_BreakList.empty());

    // "PC $" set to the line's address, then to 0: the board goes there, and
    // the windows with it.
    const std::string line =
        ProjectFileOfWindow(source->Title()) + ":" + std::to_string(breakAt.line);
    for (uint32_t typed : {AddressOfLine(line), 0u}) {
        EditPc(uint16_t(typed));
        EXPECT_EQ(Board().GetPc(), typed);
        ExpectShownAsTheBoard();
        if (typed != 0) guitest::SaveScreenshot(Frame(), "target_control_pc_edit");
    }
    Command(cmd::kClose);
}
