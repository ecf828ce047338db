// The Register and BreakPoint panes in the running debugger on the simulated
// board: the registers after a stop against the board's own state, edits
// typed into the grid reaching the board, and breakpoints set from the
// margin, the assembly pane and F9 listed, removed and shown.
#include "app_gui_fixture.h"
#include "assemble_view.h"
#include "break_rows.h"
#include "break_wnd.h"
#include "breakpoint_records.h"
#include "breakpoint_slots.h"
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
#include "register_table.h"
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
#include <wx/propgrid/manager.h>
#include <wx/stopwatch.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <fstream>
#include <set>
#include <string>

namespace {

const std::string kKeilProject = std::string(VEXA_KEIL_FIXTURES) + "/mcp-prot/prot.Uv2";
const std::string kExampleProject = std::string(VEXA_SOURCE_DIR) + "/example/blinky.uv2";

// A project, its source window and a line with code the program reaches.
struct Road {
    std::string project;
    std::string window;
    int breakLine;
    std::string screenshot;
};

const Road kExampleRoad{kExampleProject, "main.c", 39, "panes_example"};
const Road kKeilRoad{kKeilProject, "prot.c", 39, "panes_keil"};

bool Exists(const std::string& path) {
    return std::ifstream(path).good();
}

CMainFrame* Frame() {
    return wxGetApp().Frame();
}

void Command(int command) {
    wxCommandEvent event(wxEVT_MENU, WxCommandId(command));
    Frame()->ProcessWindowEvent(event);
    guitest::PumpEvents(50);
}

bool WaitIdle(int ms = 5000) {
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

// The board's internal data and SFRs as its test hooks read them.
std::array<uint8_t, 0x100> BoardImage() {
    std::array<uint8_t, 0x100> image{};
    Board().ReadMemory(SIMBOARD_IRAM, 0, image.data(), 0x80);
    Board().ReadMemory(SIMBOARD_SFR, 0x80, image.data() + 0x80, 0x80);
    return image;
}

uint8_t BoardSfr(uint32_t address) {
    return BoardImage()[address];
}

CPropertiesWnd* Registers() {
    return Frame()->RegisterWnd();
}

wxPGProperty* Row(const char* name) {
    return Registers()->RowProperty(FindRegisterRow(name));
}

std::string Shown(const char* name) {
    return Row(name)->GetValueAsString().ToStdString();
}

// Every row shows the board's register as it is now.
void ExpectRowsShowTheBoard() {
    const RegisterValues board = ReadRegisterValues(BoardImage(), Board().GetPc());
    for (int row = 0; row < kRegisterRowCount; ++row) {
        const RegisterRow& spec = RegisterTable()[row];
        EXPECT_EQ(Registers()->RowProperty(row)->GetValueAsString().ToStdString(),
                  RegisterValueText(spec, board[row]))
            << spec.name;
    }
}

// Types `text` into the row's editor and presses Return, as the user does.
void TypeInto(const char* name, const std::string& text) {
    wxPropertyGrid* grid = Registers()->Grid();
    grid->SelectProperty(Row(name), true);
    guitest::PumpEvents(50);
    wxWindow* editor = grid->GetEditorControl();
    ASSERT_NE(editor, nullptr) << name;
    editor->SetFocus();
    if (auto* box = dynamic_cast<wxTextCtrl*>(editor)) box->SelectAll();
    wxUIActionSimulator simulator;
    simulator.Text(text.c_str());
    simulator.Char(WXK_RETURN);
    guitest::PumpEvents(100);
}

bool SlotHolds(uint32_t address) {
    for (uint32_t slot = 0; slot < 16; ++slot) {
        uint16_t held = 0;
        if (Board().GetBreakpoint(slot, &held) == 1 && held == address) return true;
    }
    return false;
}

int UsedBoardSlots() {
    int used = 0;
    for (uint32_t slot = 0; slot < 18; ++slot) {
        uint16_t held = 0;
        used += Board().GetBreakpoint(slot, &held) == 1;
    }
    return used;
}

bool ToolEnabled(wxToolBar* bar, int command) {
    bar->UpdateWindowUI(wxUPDATE_UI_FROMIDLE);
    return bar->GetToolEnabled(WxCommandId(command));
}

void ClickTool(wxToolBar* bar, int command) {
    wxCommandEvent event(wxEVT_TOOL, WxCommandId(command));
    event.SetEventObject(bar);
    bar->ProcessWindowEvent(event);
    guitest::PumpEvents(50);
}

// Clicks the body of the break list on a row (double click when asked).
void ClickBreakRow(int row, bool twice) {
    CListGridCtrl* list = Frame()->BreakWnd()->List();
    list->EnsureRowVisible(row);
    guitest::PumpEvents(50);
    const wxRect cell = list->GetCellRect(row, 0);
    wxUIActionSimulator simulator;
    simulator.MouseMove(list->GetBody()->ClientToScreen(cell.GetPosition() + wxPoint(20, 5)));
    guitest::PumpEvents(50);
    if (twice)
        simulator.MouseDblClick();
    else
        simulator.MouseClick();
    guitest::PumpEvents(150);
}

// The list's texts of the breakpoint records, in order, then blank rows.
void ExpectListShowsTheRecords() {
    CListGridCtrl* list = Frame()->BreakWnd()->List();
    ASSERT_EQ(list->GetItemCount(), kBreakPaneRows);
    int row = 0;
    for (const CInfo_Break& record : g_BreakList) {
        EXPECT_EQ(list->GetItemText(row, 0), BreakRowName(record, g_bAsmOnly != 0)) << row;
        EXPECT_EQ(list->GetItemText(row, 1), BreakRowLabel(record)) << row;
        ++row;
    }
    for (; row < kBreakPaneRows; ++row)
        EXPECT_EQ(list->GetItemText(row, 0) + list->GetItemText(row, 1), "") << row;
}

} // namespace

class RegisterBreakPanes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Frame(), nullptr);
        Frame()->Raise();
        guitest::PumpEvents(100);
    }

    // Opens the project, loads its image and runs to the road's line.
    CSourceWindow* RunToBreakLine(const Road& road) {
        wxGetApp().ProjectViews()->SetNextProjectPath(road.project);
        Command(cmd::kOpen);
        guitest::PumpEvents(200);
        if (!g_bProjectLoaded) return nullptr;
        Command(cmd::kImageLoad);
        if (messages.Texts() != std::vector<std::string>{"Flash Write OK!!"}) return nullptr;
        messages.shown.clear();
        CSourceWindow* source = wxGetApp().SourceWindows()->Find(road.window);
        if (!source) return nullptr;
        wxGetApp().SourceWindows()->ActivateView(source);
        source->Editor()->GotoLine(road.breakLine - 1);
        PressKey(WXK_F9, source->Editor());
        PressKey(WXK_F5, source->Editor());
        if (!WaitIdle()) return nullptr;
        PressKey(WXK_F9, source->Editor()); // the breakpoint goes again
        return source;
    }

    void TearDown() override { EXPECT_EQ(messages.Texts(), std::vector<std::string>{}); }

    void RegisterRoad(const Road& road);
    void BreakRoad(const Road& road);

    platform::RecordingMessageService messages;
};

void RegisterBreakPanes::RegisterRoad(const Road& road) {
    // Before any project the rows read zero.
    EXPECT_EQ(Shown("A"), "0x00");
    CSourceWindow* source = RunToBreakLine(road);
    ASSERT_NE(source, nullptr);
    EXPECT_TRUE(g_BreakList.empty());

    // After the stop every row is the board's register.
    ExpectRowsShowTheBoard();
    EXPECT_NE(Shown("SP"), "0x00") << "the program has set its stack";
    char pc[8];
    std::snprintf(pc, sizeof pc, "0x%.4x", Board().GetPc());
    EXPECT_EQ(Shown("PC $"), pc);

    // Every register changed behind the debugger's back shows after the next stop.
    for (int row = 0; row < kRegisterRowCount; ++row) {
        const RegisterRow& spec = RegisterTable()[row];
        static const std::set<int> kLeftAlone = {0x81, 0x87, 0x88, 0x98, 0xA8,
                                                 0xC8, 0xD0, 0xE8, 0x86};
        if (spec.group != RegisterGroup::kSpecial || kLeftAlone.count(spec.address)) continue;
        const uint8_t pattern[2] = {uint8_t(0x11 * (row % 15) + 1), uint8_t(row)};
        Board().WriteMemory(SIMBOARD_SFR, spec.address, pattern,
                            spec.kind == RegisterKind::kWord ? 2 : 1);
    }
    PressKey(WXK_F8, source->Editor());
    ExpectRowsShowTheBoard();
    char rldh[8];
    std::snprintf(rldh, sizeof rldh, "0x%.2x", BoardSfr(0xCB));
    EXPECT_EQ(Shown("RLDH"), rldh);

    // Edits typed into the grid reach the board and the rows show them.
    const uint8_t pswBefore = BoardSfr(0xD0);
    TypeInto("A", "0x5a");
    EXPECT_EQ(BoardSfr(0xE0), 0x5A);
    EXPECT_EQ(Shown("A"), "0x5a");
    EXPECT_EQ(Shown("ACC"), "0x5a");
    TypeInto("RS", "2");
    EXPECT_EQ(BoardSfr(0xD0) & 0x18, 0x10);
    EXPECT_EQ(BoardSfr(0xD0) & 0xE6, pswBefore & 0xE6) << "the other flags stay";
    EXPECT_EQ(Shown("RS"), "2");
    TypeInto("R3", "0x33");
    EXPECT_EQ(BoardImage()[0x13], 0x33) << "R3 of bank 2";
    EXPECT_EQ(Shown("R3"), "0x33");
    TypeInto("CY", "1");
    EXPECT_EQ(BoardSfr(0xD0) & 0x80, 0x80);
    const uint8_t f1 = BoardSfr(0xD0) & 0x02;
    TypeInto("P", "2");
    EXPECT_EQ(BoardSfr(0xD0) & 0x02, f1) << "2 into P leaves F1";
    TypeInto("DPTR0", "0x1234");
    EXPECT_EQ(BoardSfr(0x82), 0x34);
    EXPECT_EQ(BoardSfr(0x83), 0x12);
    EXPECT_EQ(Shown("DPTR0"), "0x1234");
    EXPECT_EQ(Shown("DPL"), "0x34");
    // Text that is no number writes nothing and the value comes back.
    const uint8_t sp = BoardSfr(0x81);
    const std::string spShown = Shown("SP");
    TypeInto("SP", "abc");
    EXPECT_EQ(BoardSfr(0x81), sp);
    EXPECT_EQ(Shown("SP"), spShown);
    TypeInto("SP", "0X1F");
    EXPECT_EQ(BoardSfr(0x81), 0x1F);
    ExpectRowsShowTheBoard();
    guitest::SaveScreenshot(Registers(), road.screenshot + "_registers");

    // Alphabetic order and back.
    wxPropertyGrid* grid = Registers()->Grid();
    Registers()->OnSortProperties();
    EXPECT_TRUE(Registers()->IsAlphabeticMode());
    EXPECT_EQ((*grid->GetIterator(wxPG_ITERATE_VISIBLE))->GetLabel(), "A");
    guitest::SaveScreenshot(Registers(), road.screenshot + "_registers_sorted");
    Registers()->OnSortProperties();
    EXPECT_FALSE(Registers()->IsAlphabeticMode());
    EXPECT_EQ((*grid->GetIterator(wxPG_ITERATE_VISIBLE))->GetLabel(), "Default Registers");

    // Close: zeros everywhere and no row takes typing.
    Command(cmd::kClose);
    EXPECT_FALSE(g_bProjectLoaded);
    for (int row = 0; row < kRegisterRowCount; ++row) {
        wxPGProperty* property = Registers()->RowProperty(row);
        EXPECT_EQ(property->GetValueAsString().ToStdString(),
                  RegisterValueText(RegisterTable()[row], 0));
        EXPECT_TRUE(property->HasFlag(wxPG_PROP_READONLY));
        EXPECT_FALSE(property->HasFlag(wxPG_PROP_MODIFIED));
    }
    EXPECT_EQ(grid->GetSelection(), nullptr);
}

TEST_F(RegisterBreakPanes, RegistersOfTheExampleProject) {
    RegisterRoad(kExampleRoad);
}

TEST_F(RegisterBreakPanes, RegistersOfTheKeilProject) {
    if (!Exists(kKeilProject)) GTEST_SKIP() << "no " << kKeilProject;
    RegisterRoad(kKeilRoad);
}

void RegisterBreakPanes::BreakRoad(const Road& road) {
    CBreakWnd* pane = Frame()->BreakWnd();
    wxToolBar* bar = pane->PaneToolBar();
    EXPECT_FALSE(ToolEnabled(bar, cmd::kRemoveBreakPoint));
    EXPECT_FALSE(ToolEnabled(bar, cmd::kRemoveAllBreakPoints));
    EXPECT_TRUE(ToolEnabled(bar, 40030)) << "Go To Source";
    CSourceWindow* source = RunToBreakLine(road);
    ASSERT_NE(source, nullptr);
    EXPECT_TRUE(ToolEnabled(bar, cmd::kRemoveBreakPoint));
    const std::string file = ProjectFileOfWindow(source->Title());
    CScintillaWnd* editor = source->Editor();
    std::vector<int> lines = CodeLinesOf(file, editor->GetLineCount());
    ASSERT_GE(lines.size(), 4u);

    // A click in the line-number margin.
    const int marginLine = lines[1];
    editor->GotoLine(marginLine - 1);
    guitest::PumpEvents(50);
    const wxPoint linePoint = editor->PointFromPosition(editor->PositionFromLine(marginLine - 1));
    wxUIActionSimulator simulator;
    simulator.MouseMove(editor->ClientToScreen(linePoint + wxPoint(4, 4)));
    guitest::PumpEvents(50);
    simulator.MouseClick();
    guitest::PumpEvents(150);
    ASSERT_EQ(g_BreakList.size(), 1u);
    EXPECT_EQ(g_BreakList.back().m_nLine, marginLine);

    // The assembly pane's selected row.
    const int asmLine = lines[2];
    const uint32_t asmAddress = AddressOfLine(file + ":" + std::to_string(asmLine));
    CAssembleView* assembly = Frame()->AssembleView();
    assembly->ShowPcInAssembly(uint16_t(asmAddress), 0);
    assembly->OnToggleBreakPoint();
    ASSERT_EQ(g_BreakList.size(), 2u);
    EXPECT_EQ(g_BreakList.back().m_nLine, asmLine);

    // F9 on the caret line.
    const int keyLine = lines[3];
    wxGetApp().SourceWindows()->ActivateView(source);
    editor->GotoLine(keyLine - 1);
    PressKey(WXK_F9, editor);
    ASSERT_EQ(g_BreakList.size(), 3u);
    EXPECT_EQ(g_BreakList.back().m_nLine, keyLine);

    // An address without a source line, from the assembly pane.
    for (const auto& entry : g_ListingModel.m_mapAddressToSrcRow) {
        if (!LineOfAddress(entry.first).empty()) continue;
        assembly->ShowPcInAssembly(uint16_t(entry.first), 0);
        assembly->OnToggleBreakPoint();
        break;
    }
    const bool hasAsmOnly = g_BreakList.size() == 4u;
    if (hasAsmOnly) {
        EXPECT_EQ(g_BreakList.back().m_strFile, kAsmOnlyFile);
        EXPECT_EQ(pane->List()->GetItemText(3, 0),
                  "ONLY_ASM_CODE , Line : " + std::to_string(g_BreakList.back().m_nSourceRow));
        EXPECT_EQ(pane->List()->GetItemText(3, 1), BreakRowLabel(g_BreakList.back()));
    }
    // The rows, the markers and the board's slots agree.
    ExpectListShowsTheRecords();
    EXPECT_EQ(pane->List()->GetItemText(0, 0), file + " , Line : " + std::to_string(marginLine));
    for (const CInfo_Break& record : g_BreakList) {
        EXPECT_TRUE(SlotHolds(record.m_dwAddress)) << record.m_nLine;
        if (record.m_strFile != kAsmOnlyFile) {
            EXPECT_TRUE(editor->HasBreakPointMarker(record.m_nLine)) << record.m_nLine;
        }
    }
    Frame()->TabGroup()->SetSelection(Frame()->TabGroup()->GetPageIndex(pane));
    guitest::PumpEvents(100);
    guitest::SaveScreenshot(pane, road.screenshot + "_breakpoints");

    // A double click shows the breakpoint in the assembly pane and the source.
    const CInfo_Break second = *SelectedBreakRecord(1);
    editor->GotoLine(0);
    const size_t windows = wxGetApp().SourceWindows()->Windows().size();
    ClickBreakRow(1, true);
    EXPECT_EQ(assembly->ShownList()->GetSelectedItem(),
              g_ListingModel.m_mapAddressToSrcRow.at(second.m_dwAddress));
    EXPECT_EQ(wxGetApp().SourceWindows()->Active(), source);
    EXPECT_EQ(editor->GetCurrentLine(), second.m_nLine);
    EXPECT_EQ(wxGetApp().SourceWindows()->Windows().size(), windows) << "no second window";
    EXPECT_EQ(g_BreakList.size(), hasAsmOnly ? 4u : 3u) << "a double click removes nothing";

    // Remove takes the selected row's breakpoint; the rows below move up.
    ClickBreakRow(1, false);
    ASSERT_EQ(pane->List()->GetSelectedRow(), 1);
    ClickTool(bar, cmd::kRemoveBreakPoint);
    ASSERT_EQ(g_BreakList.size(), hasAsmOnly ? 3u : 2u);
    EXPECT_FALSE(SlotHolds(second.m_dwAddress));
    EXPECT_FALSE(editor->HasBreakPointMarker(second.m_nLine));
    EXPECT_EQ(SelectedBreakRecord(1)->m_nLine, keyLine);
    ExpectListShowsTheRecords();

    // A blank row selects nothing: Remove removes nothing.
    ClickBreakRow(10, false);
    ClickTool(bar, cmd::kRemoveBreakPoint);
    EXPECT_EQ(g_BreakList.size(), hasAsmOnly ? 3u : 2u);

    // Go to source on the first row puts the caret on its line.
    ClickBreakRow(0, false);
    editor->GotoLine(0);
    ClickTool(bar, 40030);
    EXPECT_EQ(editor->GetCurrentLine(), marginLine);

    // Remove All: every record, marker and slot goes.
    ClickTool(bar, cmd::kRemoveAllBreakPoints);
    EXPECT_TRUE(g_BreakList.empty());
    EXPECT_EQ(UsedBoardSlots(), 0);
    for (int line : {marginLine, asmLine, keyLine})
        EXPECT_FALSE(editor->HasBreakPointMarker(line)) << line;
    ExpectListShowsTheRecords();

    // Clear All Breaks from the Debug menu empties the list the same way.
    editor->GotoLine(keyLine - 1);
    PressKey(WXK_F9, editor);
    ASSERT_EQ(g_BreakList.size(), 1u);
    EXPECT_EQ(pane->List()->GetItemText(0, 0), file + " , Line : " + std::to_string(keyLine));
    Command(cmd::kClearAllBreaks);
    EXPECT_TRUE(g_BreakList.empty());
    EXPECT_EQ(UsedBoardSlots(), 0);
    EXPECT_FALSE(editor->HasBreakPointMarker(keyLine));
    ExpectListShowsTheRecords();

    // Close empties the rows.
    PressKey(WXK_F9, editor);
    EXPECT_EQ(g_BreakList.size(), 1u);
    Command(cmd::kClose);
    ExpectListShowsTheRecords();
    EXPECT_FALSE(ToolEnabled(bar, cmd::kRemoveAllBreakPoints));
}

TEST_F(RegisterBreakPanes, BreakpointsOfTheExampleProject) {
    BreakRoad(kExampleRoad);
}

TEST_F(RegisterBreakPanes, BreakpointsOfTheKeilProject) {
    if (!Exists(kKeilProject)) GTEST_SKIP() << "no " << kKeilProject;
    BreakRoad(kKeilRoad);
}
