// The Register and BreakPoint panes in the running debugger on the simulated
// board: the registers after a stop against the board's own state, edits
// typed into the grid reaching the board, and breakpoints set from the
// margin, the assembly pane and F9 listed, removed and shown.
#include "app_gui_fixture.h"
#include "assemble_view.h"
#include "break_rows.h"
#include "break_wnd.h"
#include "code_lines.h"
#include "command_ids.h"
#include "gui_test.h"
#include "html_list_ctrl.h"
#include "listing_model.h"
#include "main_frame.h"
#include "message_service.h"
#include "my_quillet_app.h"
#include "project_views.h"
#include "properties_wnd.h"
#include "report_ctrls.h"
#include "run_lookups.h"
#include "scintilla_wnd.h"
#include "sim_board.h"
#include "source_window.h"
#include "source_windows.h"
#include "target_flags.h"
#include "window_file.h"
#include "wx_command_ids.h"

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/propgrid/manager.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>

using namespace appgui;

namespace {

// The board's internal data and SFRs as its test hooks read them.
std::array<uint8_t, 0x100> BoardImage() {
    const std::vector<uint8_t> bytes = BoardInternalBytes();
    std::array<uint8_t, 0x100> image{};
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return image;
}

wxPGProperty* Row(const char* name) {
    return Frame()->RegisterWnd()->RowProperty(FindRegisterRow(name));
}

std::string Shown(const char* name) {
    return Row(name)->GetValueAsString().ToStdString();
}

// Every row shows the board's register as it is now.
void ExpectRowsShowTheBoard() {
    const RegisterValues board = ReadRegisterValues(BoardImage(), Board().GetPc());
    for (int row = 0; row < kRegisterRowCount; ++row)
        EXPECT_EQ(Frame()->RegisterWnd()->RowProperty(row)->GetValueAsString().ToStdString(),
                  RegisterValueText(RegisterTable()[row], board[row]))
            << RegisterTable()[row].name;
}

// Types `text` into the row's editor and presses Return, as the user does.
void TypeInto(const char* name, const std::string& text) {
    wxPropertyGrid* grid = Frame()->RegisterWnd()->Grid();
    grid->SelectProperty(Row(name), true);
    guitest::PumpEvents(50);
    auto* box = dynamic_cast<wxTextCtrl*>(grid->GetEditorControl());
    ASSERT_NE(box, nullptr) << name;
    box->SetFocus();
    box->SelectAll();
    wxUIActionSimulator simulator;
    simulator.Text(text.c_str());
    simulator.Char(WXK_RETURN);
    guitest::PumpEvents(100);
}

// Clicks a tool of the break pane; whether it is enabled.
bool Tool(int command, bool click = false) {
    wxToolBar* bar = Frame()->BreakWnd()->PaneToolBar();
    wxCommandEvent event(wxEVT_TOOL, WxCommandId(command));
    if (click) {
        bar->ProcessWindowEvent(event);
        guitest::PumpEvents(50);
    }
    bar->UpdateWindowUI(wxUPDATE_UI_FROMIDLE);
    return bar->GetToolEnabled(WxCommandId(command));
}

// Clicks (or double-clicks) the break list on a row.
void ClickBreakRow(int row, bool twice) {
    CListGridCtrl* list = Frame()->BreakWnd()->List();
    list->EnsureRowVisible(row);
    guitest::PumpEvents(50);
    wxUIActionSimulator simulator;
    simulator.MouseMove(
        list->GetBody()->ClientToScreen(list->GetCellRect(row, 0).GetPosition() + wxPoint(20, 5)));
    guitest::PumpEvents(50);
    twice ? simulator.MouseDblClick() : simulator.MouseClick();
    guitest::PumpEvents(150);
}

// The list shows the records in order, then blank rows; the board's slots
// and the editor's markers hold the same breakpoints.
void ExpectBreakpointsAgree(CScintillaWnd* editor) {
    CListGridCtrl* list = Frame()->BreakWnd()->List();
    std::set<uint16_t> addresses, slots;
    int row = 0;
    for (const CInfo_Break& record : g_BreakList) {
        EXPECT_EQ(list->GetItemText(row, 0), BreakRowName(record, g_bAsmOnly != 0)) << row;
        EXPECT_EQ(list->GetItemText(row++, 1), BreakRowLabel(record));
        addresses.insert(uint16_t(record.m_dwAddress));
        EXPECT_TRUE(record.m_strFile == kAsmOnlyFile ||
                    editor->HasBreakPointMarker(record.m_nLine));
    }
    for (; row < kBreakPaneRows; ++row)
        EXPECT_EQ(list->GetItemText(row, 0) + list->GetItemText(row, 1), "") << row;
    for (uint32_t slot = 0; slot < 18; ++slot) {
        uint16_t address = 0;
        if (Board().GetBreakpoint(slot, &address) == 1) slots.insert(address);
    }
    EXPECT_EQ(slots, addresses);
}

} // namespace

class RegisterBreakPanes : public FrameTest {
protected:
    void TearDown() override { EXPECT_EQ(messages.Texts(), std::vector<std::string>{}); }

    // Opens the project, loads its image, runs to the line of `statement` in
    // main (empty: main's first line with code) and walks both panes; `shot`
    // names the screenshots.
    void Walk(const std::string& project, const std::string& statement, const std::string& shot);
    void RegisterRoad(CSourceWindow* source, const std::string& shot);
    void BreakRoad(CSourceWindow* source, const std::string& shot);

    platform::RecordingMessageService messages;
};

void RegisterBreakPanes::Walk(const std::string& project, const std::string& statement,
                              const std::string& shot) {
    if (!std::ifstream(project).good()) GTEST_SKIP() << "no " << project;
    EXPECT_EQ(Shown("A"), "0x00") << "before any project";
    EXPECT_FALSE(Tool(cmd::kRemoveAllBreakPoints));
    EXPECT_TRUE(Tool(40030)) << "Go To Source";
    OpenProject(project);
    ASSERT_TRUE(g_bProjectLoaded);
    Command(cmd::kImageLoad);
    ASSERT_EQ(messages.Texts(), std::vector<std::string>{"Flash Write OK!!"});
    messages.shown.clear();
    const SourcePosition line = LineInMain(project, statement);
    ASSERT_NE(line.line, 0) << statement;
    CSourceWindow* source = wxGetApp().SourceWindows()->Find(line.file);
    ASSERT_NE(source, nullptr) << line.file;
    wxGetApp().SourceWindows()->ActivateView(source);
    source->Editor()->GotoLine(line.line - 1);
    PressKeyUntilIdle(WXK_F9, source->Editor());
    PressKeyUntilIdle(WXK_F5, source->Editor());
    PressKeyUntilIdle(WXK_F9, source->Editor());
    ASSERT_FALSE(g_bTargetBusy);
    EXPECT_TRUE(Tool(cmd::kRemoveBreakPoint));
    RegisterRoad(source, shot);
    BreakRoad(source, shot);

    // Close: register zeros that take no typing, no breakpoint rows.
    Command(cmd::kClose);
    for (int row = 0; row < kRegisterRowCount; ++row) {
        wxPGProperty* property = Frame()->RegisterWnd()->RowProperty(row);
        EXPECT_EQ(property->GetValueAsString(), RegisterValueText(RegisterTable()[row], 0));
        EXPECT_TRUE(property->HasFlag(wxPG_PROP_READONLY));
        EXPECT_FALSE(property->HasFlag(wxPG_PROP_MODIFIED));
    }
    EXPECT_EQ(Frame()->RegisterWnd()->Grid()->GetSelection(), nullptr);
    EXPECT_EQ(Frame()->BreakWnd()->List()->GetItemText(0, 0), "");
}

void RegisterBreakPanes::RegisterRoad(CSourceWindow* source, const std::string& shot) {
    // After the stop every row is the board's register.
    ExpectRowsShowTheBoard();
    EXPECT_NE(Shown("SP"), "0x00") << "the program has set its stack";
    // Every register changed behind the debugger's back shows after the next
    // stop (the SFRs that steer the core are left alone).
    for (const RegisterRow& spec : RegisterTable()) {
        if (spec.group != RegisterGroup::kSpecial ||
            std::string("\x81\x86\x87\x88\x98\xA8\xC8\xD0\xE8").find(char(spec.address)) !=
                std::string::npos)
            continue;
        const uint8_t pattern[2] = {uint8_t(spec.address * 3 + 1), uint8_t(spec.address)};
        Board().WriteMemory(SIMBOARD_SFR, spec.address, pattern,
                            1 + (spec.kind == RegisterKind::kWord));
    }
    PressKeyUntilIdle(WXK_F8, source->Editor());
    ExpectRowsShowTheBoard();
    EXPECT_EQ(Shown("RLDH"), "0x62");

    // Edits typed into the grid reach the board, and the rows show them.
    const uint8_t psw = BoardImage()[0xD0];
    const uint8_t sp = BoardImage()[0x81];
    TypeInto("A", "0x5a");
    TypeInto("RS", "2");
    TypeInto("R3", "0x33");
    TypeInto("CY", "1");
    TypeInto("P", "2");
    TypeInto("DPTR0", "0x1234");
    TypeInto("SP", "abc"); // no number: nothing written, the value comes back
    TypeInto("B", "0X1F");
    const std::array<uint8_t, 0x100> board = BoardImage();
    EXPECT_EQ(board[0xE0], 0x5A);
    EXPECT_EQ(board[0x13], 0x33) << "R3 of bank 2";
    EXPECT_EQ(board[0xD0] & 0xFE, (psw & 0x66) | 0x90) << "RS 2, CY 1, F1 as it was";
    EXPECT_EQ(board[0x82] | board[0x83] << 8, 0x1234);
    EXPECT_EQ(board[0xF0], 0x1F);
    EXPECT_EQ(board[0x81], sp);
    ExpectRowsShowTheBoard();
    EXPECT_TRUE(Row("DPTR0")->HasFlag(wxPG_PROP_MODIFIED)) << "drawn bold";
    guitest::SaveScreenshot(Frame()->RegisterWnd(), shot + "_registers");

    // Alphabetic order and back.
    CPropertiesWnd* pane = Frame()->RegisterWnd();
    pane->OnSortProperties();
    EXPECT_EQ((*pane->Grid()->GetIterator(wxPG_ITERATE_VISIBLE))->GetLabel(), "A");
    guitest::SaveScreenshot(pane, shot + "_registers_sorted");
    pane->OnSortProperties();
    EXPECT_EQ((*pane->Grid()->GetIterator(wxPG_ITERATE_VISIBLE))->GetLabel(), "Default Registers");
}

void RegisterBreakPanes::BreakRoad(CSourceWindow* source, const std::string& shot) {
    const std::string file = ProjectFileOfWindow(source->Title());
    CScintillaWnd* editor = source->Editor();
    const std::vector<int> lines = CodeLinesOf(file, editor->GetLineCount());
    ASSERT_GE(lines.size(), 4u);
    // A click in the line-number margin, the assembly pane's row of a line,
    // F9 on the caret line, and an assembly row without a source line.
    editor->GotoLine(lines[1] - 1);
    guitest::PumpEvents(50);
    wxUIActionSimulator simulator;
    const int lineTop = editor->PointFromPosition(editor->PositionFromLine(lines[1] - 1)).y;
    simulator.MouseMove(editor->ClientToScreen(wxPoint(4, lineTop + 4))); // on the line number
    guitest::PumpEvents(50);
    simulator.MouseClick();
    guitest::PumpEvents(150);
    CAssembleView* assembly = Frame()->AssembleView();
    assembly->ShowPcInAssembly(uint16_t(AddressOfLine(file + ":" + std::to_string(lines[2]))), 0);
    assembly->OnToggleBreakPoint();
    editor->GotoLine(lines[3] - 1);
    PressKeyUntilIdle(WXK_F9, editor);
    for (const auto& entry : g_ListingModel.m_mapAddressToSrcRow) {
        if (!LineOfAddress(entry.first).empty()) continue;
        assembly->ShowPcInAssembly(uint16_t(entry.first), 0);
        assembly->OnToggleBreakPoint();
        break;
    }
    ASSERT_EQ(g_BreakList.size(), 4u);
    EXPECT_EQ(Frame()->BreakWnd()->List()->GetItemText(0, 0),
              file + " , Line : " + std::to_string(lines[1]));
    EXPECT_EQ(g_BreakList.back().m_strFile, kAsmOnlyFile);
    ExpectBreakpointsAgree(editor);
    Frame()->TabGroup()->SetSelection(Frame()->TabGroup()->GetPageIndex(Frame()->BreakWnd()));
    guitest::PumpEvents(100);
    guitest::SaveScreenshot(Frame()->BreakWnd(), shot + "_breakpoints");

    // A double click shows the breakpoint in the assembly pane and the source.
    const size_t windows = wxGetApp().SourceWindows()->Windows().size();
    editor->GotoLine(0);
    ClickBreakRow(1, true);
    EXPECT_EQ(assembly->ShownList()->GetSelectedItem(),
              g_ListingModel.m_mapAddressToSrcRow.at(SelectedBreakRecord(1)->m_dwAddress));
    EXPECT_EQ(wxGetApp().SourceWindows()->Active(), source);
    EXPECT_EQ(editor->GetCurrentLine(), lines[2]);
    EXPECT_EQ(wxGetApp().SourceWindows()->Windows().size(), windows) << "no second window";

    // Remove takes the selected row's breakpoint; a blank row selects nothing.
    ClickBreakRow(1, false);
    Tool(cmd::kRemoveBreakPoint, true);
    EXPECT_EQ(g_BreakList.size(), 3u);
    EXPECT_FALSE(editor->HasBreakPointMarker(lines[2]));
    ClickBreakRow(10, false);
    Tool(cmd::kRemoveBreakPoint, true);
    EXPECT_EQ(g_BreakList.size(), 3u);
    ExpectBreakpointsAgree(editor);

    // Go To Source puts the caret on the first row's line.
    ClickBreakRow(0, false);
    editor->GotoLine(0);
    Tool(40030, true);
    EXPECT_EQ(editor->GetCurrentLine(), lines[1]);

    // Remove All, and Clear All Breaks from the Debug menu, leave nothing.
    Tool(cmd::kRemoveAllBreakPoints, true);
    EXPECT_TRUE(g_BreakList.empty());
    ExpectBreakpointsAgree(editor);
    EXPECT_FALSE(editor->HasBreakPointMarker(lines[1]));
    PressKeyUntilIdle(WXK_F9, editor);
    ASSERT_EQ(g_BreakList.size(), 1u);
    Command(cmd::kClearAllBreaks);
    EXPECT_TRUE(g_BreakList.empty());
    ExpectBreakpointsAgree(editor);
    EXPECT_FALSE(editor->HasBreakPointMarker(lines[1]));
    PressKeyUntilIdle(WXK_F9, editor); // one left for Close
}

TEST_F(RegisterBreakPanes, TheExampleProject) {
    Walk(std::string(VEXA_SOURCE_DIR) + "/example/blinky.uv2", "P1 = ~pattern;", "panes_example");
}

TEST_F(RegisterBreakPanes, TheKeilProject) {
    const std::string project = std::string(VEXA_KEIL_FIXTURES) + "/mcp-prot/prot.Uv2";
    std::string why;
    if (!BoardRunsProgram(project, why)) GTEST_SKIP() << why;
    Walk(project, "", "panes_keil");
}

TEST_F(RegisterBreakPanes, ABareImage) {
    // An image without a project: no source window, yet the Debug and
    // Window menus are there, and their commands work.
    CMainFrame* frame = Frame();
    EXPECT_EQ(frame->GetMenuBar(), frame->StartMenu());
    OpenProject(std::string(VEXA_SOURCE_DIR) + "/example/obj/blinky.hex");
    ASSERT_TRUE(g_bProjectLoaded);
    ASSERT_TRUE(g_bHexOnly);
    EXPECT_TRUE(wxGetApp().SourceWindows()->Windows().empty());
    wxMenuBar* bar = frame->GetMenuBar();
    ASSERT_EQ(bar, frame->SourceMenu());
    wxMenu* debug = bar->GetMenu(size_t(bar->FindMenu("Debug")));
    debug->UpdateUI(frame);
    EXPECT_TRUE(debug->IsEnabled(WxCommandId(cmd::kImageLoad)));
    EXPECT_TRUE(debug->IsEnabled(WxCommandId(cmd::kSetBreak)));
    ASSERT_NE(bar->FindMenu("Window"), wxNOT_FOUND);
    Command(cmd::kImageLoad);
    ASSERT_EQ(messages.Texts(), std::vector<std::string>{"Flash Write OK!!"});
    messages.shown.clear();

    // Set Break from the Debug menu takes the assembly pane's selected row;
    // the break pane shows the breakpoint's address.
    uint32_t address = 0; // the first instruction after the reset vector's
    for (const auto& entry : g_ListingModel.m_mapAddressToAsmRow)
        if (entry.first != 0 && (address == 0 || entry.first < address)) address = entry.first;
    ASSERT_NE(address, 0u);
    frame->AssembleView()->ShowPcInAssembly(uint16_t(address), 0);
    Command(cmd::kSetBreak);
    ASSERT_EQ(g_BreakList.size(), 1u);
    EXPECT_EQ(g_BreakList.front().m_dwAddress, address);
    CListGridCtrl* list = frame->BreakWnd()->List();
    char shown[16];
    std::snprintf(shown, sizeof shown, "0x%04X", unsigned(address));
    EXPECT_EQ(list->GetItemText(0, 1), shown);
    EXPECT_EQ(list->GetItemText(0, 0),
              std::string(kAsmOnlyFile) +
                  " , Line : " + std::to_string(g_ListingModel.m_mapAddressToAsmRow.at(address)));
    ShowPane(frame->BreakWnd());
    guitest::SaveScreenshot(frame, "bare_image_menus_and_breakpoint");

    // Close: the menus of a debugger without a project again.
    Command(cmd::kClose);
    EXPECT_EQ(frame->GetMenuBar(), frame->StartMenu());
}
