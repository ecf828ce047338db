// The Search, Local Variable, Global Variable and Symbol panes and the value
// tips in the running debugger, on the simulated board: every value shown is
// checked against the board's own memory, read through its test hook.
#include "app_gui_fixture.h"
#include "command_ids.h"
#include "gui_test.h"
#include "main_frame.h"
#include "message_service.h"
#include "my_quillet_app.h"
#include "my_super_grid.h"
#include "project_loader.h"
#include "project_views.h"
#include "report_ctrls.h"
#include "scintilla_wnd.h"
#include "sim_board.h"
#include "source_window.h"
#include "source_windows.h"
#include "symbol_lookup.h"
#include "symbol_wnd.h"
#include "target_flags.h"
#include "value_texts.h"
#include "value_tip_view.h"
#include "variable_all_wnd.h"
#include "variable_panes.h"
#include "variable_rows.h"
#include "variable_wnd.h"
#include "wx_command_ids.h"

#include <gtest/gtest.h>
#include <wx/timer.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace appgui;

namespace {

// A byte of the board's memory, straight from its core: D below 0x80
// internal data, from 0x80 the SFRs, X external data.
uint8_t BoardByte(char letter, uint32_t address) {
    const int memory = letter == 'X'     ? SIMBOARD_XDATA
                       : address >= 0x80 ? SIMBOARD_SFR
                                         : SIMBOARD_IRAM;
    uint8_t byte = 0;
    return Board().ReadMemory(memory, address, &byte, 1) == 1 ? byte : 0xEE;
}

// Every named row with an address shows what the board holds there: one
// value of its type's width, a generic pointer's three bytes, or an array's
// bytes (as many as the row shows).
int ExpectRowsShowTheBoard(CReportListCtrl* list, int radix, const std::string& where) {
    int checked = 0;
    for (int row = 0; row < list->GetItemCount(); ++row) {
        const std::string type = list->GetItemText(row, 2), address = list->GetItemText(row, 3);
        const std::string shown = list->GetItemText(row, 1);
        if (list->GetItemText(row, 0).empty() || address.size() < 4) continue;
        const uint32_t at = uint32_t(std::stoul(address.substr(2), nullptr, 16));
        std::string expected;
        const SymbolInfo* symbol = ResolveVariable(list->GetItemText(row, 0), ShownPc());
        if (type == "ARRAY") {
            for (size_t i = 0; i <= size_t(std::count(shown.begin(), shown.end(), ',')); ++i)
                expected += (i ? "," : "") + FormatRadix(BoardByte(address[0], at + i), radix, 1);
        } else if (symbol && IsGenericPointer(type, symbol->m_nSize)) {
            uint32_t pointer = 0; // memory type, then the address high byte first
            for (uint32_t i = 0; i < 3; ++i)
                pointer = pointer << 8 | BoardByte(address[0], at + i);
            expected = GenericPointerText(pointer);
        } else {
            const int width = ReadWidthOfType(type);
            uint32_t value = 0;
            for (int i = 0; i < width; ++i) // SFR pairs low byte first
                value = address[0] == 'D' && at >= 0x80 && width == 2
                            ? value | BoardByte('D', at + i) << (8 * i)
                            : value << 8 | BoardByte(address[0], at + i);
            expected = FormatRadix(value, radix, width);
        }
        EXPECT_EQ(shown, expected) << where << ": " << list->GetItemText(row, 0) << " " << address;
        ++checked;
    }
    return checked;
}

void ClickCell(CReportListCtrl* list, int row, int column, int button = wxMOUSE_BTN_LEFT) {
    ShowPane(list->GetParent());
    list->EnsureRowVisible(row);
    const wxRect cell = list->GetCellRect(row, column);
    wxUIActionSimulator simulator;
    simulator.MouseMove(list->GetBody()->ClientToScreen(cell.GetLeftTop() + wxPoint(30, 8)));
    guitest::PumpEvents(40);
    simulator.MouseClick(button);
    guitest::PumpEvents(120);
}

// Types into a cell as the user does: the edit box, the text, Return.
void TypeIntoCell(CReportListCtrl* list, int row, int column, const std::string& text) {
    ShowPane(list->GetParent());
    ASSERT_TRUE(list->StartEdit(row, column));
    wxUIActionSimulator simulator;
    simulator.Text(text.c_str());
    guitest::PumpEvents(80);
    simulator.Char(WXK_RETURN);
    guitest::PumpEvents(200);
}

// Chooses entry `index` (from 1) of a list's radix popup with the keyboard.
void ChooseRadixFromPopup(CReportListCtrl* list, int index) {
    ShowPane(list->GetParent());
    wxTimer keys;
    keys.Bind(wxEVT_TIMER, [index](wxTimerEvent&) {
        wxUIActionSimulator simulator;
        for (int i = 0; i < index; ++i)
            simulator.Char(WXK_DOWN);
        simulator.Char(WXK_RETURN);
    });
    keys.StartOnce(500);
    ClickCell(list, 0, 1, wxMOUSE_BTN_RIGHT);
    guitest::PumpEvents(200);
}

int RowNamed(CReportListCtrl* list, const std::string& name) {
    for (int row = 0; row < list->GetItemCount(); ++row)
        if (list->GetItemText(row, 0) == name) return row;
    return -1;
}

std::vector<std::string> NamedRows(CReportListCtrl* list) {
    std::vector<std::string> names;
    for (int row = 0; row < list->GetItemCount(); ++row)
        if (!list->GetItemText(row, 0).empty()) names.push_back(list->GetItemText(row, 0));
    return names;
}

// The locals of the function holding the program counter, as the map lists them.
std::vector<std::string> LocalsAtPc() {
    std::vector<std::string> names;
    if (const CSymbolStruct* function = FindFunctionOfAddress(ShownPc()))
        for (const auto& local : function->m_locals)
            if (local->m_strType != "NONE") names.push_back(local->m_strName);
    return names;
}

} // namespace

class VariablePanes : public FrameTest {
protected:
    // Open, Image Load, and the symbol tree: one collapsed row per module.
    void Open(const std::string& path) {
        OpenProject(path);
        ASSERT_TRUE(g_bProjectLoaded) << ::testing::PrintToString(messages.Texts());
        Command(cmd::kImageLoad);
        ASSERT_FALSE(messages.Texts().empty());
        ASSERT_EQ(messages.Texts().back(), "Flash Write OK!!");
        messages.shown.clear();
        const auto& modules = g_pProject->m_listModules;
        const controls::TreeGridModel& tree = g_pSymbolWnd->Grid()->GetTree();
        ASSERT_EQ(tree.GetRowCount(), int(modules.size()));
        for (size_t m = 0; m < modules.size(); ++m) {
            EXPECT_EQ(g_pSymbolWnd->Grid()->GetCellText(int(m), 0), modules[m]->m_strName);
            EXPECT_EQ(tree.GetRoots()[m]->GetChildren().size(), modules[m]->m_children.size());
        }
    }
    // F9 on the line, F5 to it, F9 again.
    void RunToLine(CSourceWindow* source, int line) {
        wxGetApp().SourceWindows()->ActivateView(source);
        source->Editor()->GotoLine(line - 1);
        for (int key : {WXK_F9, WXK_F5, WXK_F9})
            PressKeyUntilIdle(key, source->Editor(), 8000);
    }

    CReportCtrl* Search() const { return g_pVariableWnd->List(); }
    CReportCtrl* Locals() const { return g_pLocalVariableWnd->List(); }
    CReportCtrlAll* Globals() const { return g_pVariableAllWnd->List(); }

    platform::RecordingMessageService messages;
};

TEST_F(VariablePanes, TheExampleProject) {
    const std::string project = std::string(VEXA_SOURCE_DIR) + "/example/blinky.uv2";
    Open(project);
    const int blinkLine = LineInMain(project, "P1 = ~pattern;").line;
    const int passesLine = LineInMain(project, "passes++;").line;
    const int nextPatternLine = LineInMain(project, "pattern = next_pattern(pattern);").line;
    ASSERT_TRUE(blinkLine && passesLine && nextPatternLine);
    CSourceWindows* sources = wxGetApp().SourceWindows();
    CSourceWindow* main = sources->Find("main.c");
    ASSERT_NE(main, nullptr);
    ShowPane(g_pSymbolWnd);
    g_pSymbolWnd->Grid()->ExpandItem(g_pSymbolWnd->Grid()->GetTreeItem(1));
    guitest::SaveScreenshot(g_pSymbolWnd, "variable_panes_symbol");

    // At "P1 = ~pattern;" the watched names show the board's values.
    RunToLine(main, blinkLine);
    for (const char* name : {"pattern", "history", "D:0x08:4", "total"})
        TypeIntoCell(Search(), RowNamed(Search(), ""), 0, name);
    EXPECT_EQ(Search()->GetItemText(0, 2) + " " + Search()->GetItemText(0, 3), "U_CHAR D:0x000009");
    EXPECT_EQ(Search()->GetItemText(1, 2) + " " + Search()->GetItemText(1, 3), "ARRAY X:0x000001");
    EXPECT_EQ(ExpectRowsShowTheBoard(Search(), 10, "at the blink"), 3);
    std::string range;
    for (uint32_t at = 8; at < 12; ++at)
        range += (at > 8 ? ", " : "") + std::to_string(BoardByte('D', at));
    EXPECT_EQ(Search()->GetItemText(2, 1), range);
    EXPECT_GE(ExpectRowsShowTheBoard(Globals(), 10, "globals at the blink"), 5);
    EXPECT_TRUE(NamedRows(Locals()).empty()) << "main has no locals";
    guitest::SaveScreenshot(g_pVariableWnd, "variable_panes_search");

    // A local whose type no listing gave keeps a blank row.
    CSymbolStruct* delay = FindFunctionOfAddress(LookupSymbol("delay", kSelectCode)->m_dwAddress);
    ASSERT_GE(delay->m_locals.size(), 2u);
    delay->m_locals[0]->m_strType = "NONE";
    // Step writes history[passes & 7]; two more Steps enter delay: its locals
    // appear, and Next walks its lines.
    for (int key : {WXK_F11, WXK_F11, WXK_F11})
        PressKeyUntilIdle(key, main->Editor(), 8000);
    ASSERT_EQ(FindFunctionOfAddress(ShownPc()), delay);
    EXPECT_EQ(Locals()->GetItemText(0, 0), "");
    EXPECT_EQ(NamedRows(Locals()), LocalsAtPc());
    for (int key : {WXK_F10, WXK_F10})
        PressKeyUntilIdle(key, sources->Active()->Editor(), 8000);
    EXPECT_EQ(ExpectRowsShowTheBoard(Locals(), 10, "Next"), int(LocalsAtPc().size()));
    EXPECT_EQ(ExpectRowsShowTheBoard(Search(), 10, "Next"), 3);
    ExpectRowsShowTheBoard(Globals(), 10, "Next");
    ShowPane(g_pLocalVariableWnd);
    guitest::SaveScreenshot(g_pLocalVariableWnd, "variable_panes_locals");

    // The popups change each pane's own radix: HEX in Search, BINARY in Global.
    ChooseRadixFromPopup(Search(), 4);
    EXPECT_EQ(g_pVariableWnd->Radix(), 16);
    EXPECT_EQ(ExpectRowsShowTheBoard(Search(), 16, "radix 16"), 3);
    ChooseRadixFromPopup(Globals(), 1);
    EXPECT_EQ(g_pVariableAllWnd->Radix(), 2);
    EXPECT_GE(ExpectRowsShowTheBoard(Globals(), 2, "radix 2"), 5);
    EXPECT_EQ(g_pLocalVariableWnd->Radix(), 10);
    guitest::SaveScreenshot(g_pVariableAllWnd, "variable_panes_globals_binary");

    // Edits reach the board and show at once: Search with Return ...
    TypeIntoCell(Search(), 0, 1, "0x55");
    EXPECT_EQ(BoardByte('D', 0x09), 0x55);
    EXPECT_EQ(Search()->GetItemText(0, 1), "0x55");
    TypeIntoCell(Search(), 1, 1, "7,8");
    EXPECT_EQ(BoardByte('X', 1) << 8 | BoardByte('X', 2), 0x0708);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Warning: Number of input data = 2"});
    // ... Global Variable with the mouse: a click on the selected row starts
    // the edit, the next click elsewhere writes it ...
    const int passes = RowNamed(Globals(), "passes");
    ASSERT_GT(passes, 0);
    ClickCell(Globals(), passes, 1);
    ClickCell(Globals(), passes, 1);
    ASSERT_TRUE(Globals()->IsEditing());
    wxUIActionSimulator simulator;
    simulator.Text("200");
    guitest::PumpEvents(80);
    ClickCell(Globals(), 0, 0);
    EXPECT_EQ(BoardByte('D', 0x0A), 200);
    EXPECT_EQ(Globals()->GetItemText(passes, 1), FormatRadix(200, 2, 1));
    // ... and Local Variable.
    TypeIntoCell(Locals(), RowNamed(Locals(), "turns"), 1, "77");
    EXPECT_EQ(ExpectRowsShowTheBoard(Locals(), 10, "edited"), int(LocalsAtPc().size()));
    EXPECT_EQ(Locals()->GetItemText(RowNamed(Locals(), "turns"), 1), "77");

    // Resting the mouse on a name in the source shows its value; leaving the
    // window takes the tip away.
    sources->ActivateView(main);
    guitest::PumpEvents(200);
    CScintillaWnd* editor = main->Editor();
    auto pointOver = [editor](int line, const char* name) {
        const size_t column = editor->GetLine(line - 1).ToStdString().find(name);
        return editor->ClientToScreen(
            editor->PointFromPosition(editor->PositionFromLine(line - 1) + int(column) + 1) +
            wxPoint(2, editor->TextHeight(line - 1) / 2));
    };
    simulator.MouseMove(pointOver(blinkLine, "pattern"));
    guitest::PumpEvents(1200);
    EXPECT_EQ(ShownValueTip(), "pattern : " + std::to_string(BoardByte('D', 0x09)));
    EXPECT_TRUE(editor->CallTipActive());
    guitest::SaveScreenshot(Frame(), "variable_panes_value_tip");
    simulator.MouseMove(editor->GetScreenPosition() - wxPoint(20, 20));
    guitest::PumpEvents(300);
    EXPECT_FALSE(editor->CallTipActive());
    EXPECT_EQ(ShownValueTip(), "");

    // "Insert Variable Window" enters the name under the menu's point.
    InsertVariableFromEditor(*editor, main->Title(), pointOver(passesLine, "passes"));
    EXPECT_EQ(Search()->GetItemText(4, 0) + " " + Search()->GetItemText(4, 1), "passes 0xC8");

    // Back in main, which has no locals, every row of delay is blanked, also
    // those below the blank row of the "NONE" local.
    RunToLine(main, nextPatternLine);
    EXPECT_EQ(FindFunctionOfAddress(ShownPc())->m_strName, "MAIN");
    for (int row = 0; row < Locals()->GetItemCount(); ++row)
        EXPECT_EQ(Locals()->GetItemText(row, 0) + Locals()->GetItemText(row, 1), "") << row;

    // The toolbars: check-all in Search, then in Local Variable, which keeps
    // its own state and checks its rows too; clear-checked empties the
    // checked watch rows but their addresses.
    auto tool = [](CVariableWnd* pane, int command) {
        wxCommandEvent event(wxEVT_TOOL, WxCommandId(command));
        pane->PaneToolBar()->ProcessWindowEvent(event);
    };
    tool(g_pVariableWnd, 40023);
    tool(g_pLocalVariableWnd, 40023);
    EXPECT_TRUE(Search()->ItemStatesMatch(49, controls::kStateChecked));
    EXPECT_TRUE(Locals()->ItemStatesMatch(49, controls::kStateChecked));
    ShowPane(g_pVariableWnd);
    guitest::SaveScreenshot(g_pVariableWnd, "variable_panes_search_checked");
    tool(g_pVariableWnd, 40024);
    EXPECT_TRUE(NamedRows(Search()).empty());
    EXPECT_EQ(Search()->GetItemText(0, 3), "D:0x000009");

    // Close empties the panes and keeps the radix.
    Command(cmd::kClose);
    EXPECT_EQ(Search()->GetItemCount() + Locals()->GetItemCount(), 100);
    EXPECT_TRUE(NamedRows(Search()).empty() && NamedRows(Locals()).empty());
    EXPECT_EQ(Globals()->GetItemCount() + g_pSymbolWnd->Grid()->GetTree().GetRowCount(), 0);
    EXPECT_EQ(g_pVariableAllWnd->Radix(), 2);
}

// The real projects: the function two Steps from main's first line with code
// enter, the globals, and a watched global written back.
struct KeilRoad {
    const char* folder;
    const char* project;
};

void PrintTo(const KeilRoad& road, std::ostream* out) {
    *out << road.folder;
}

class KeilPanes : public VariablePanes, public ::testing::WithParamInterface<KeilRoad> {};

TEST_P(KeilPanes, FollowTheProgram) {
    const KeilRoad& road = GetParam();
    const std::string folder = std::string(VEXA_KEIL_FIXTURES) + "/" + road.folder;
    if (!std::filesystem::exists(folder)) GTEST_SKIP() << "no " << folder;
    std::string why;
    if (!BoardRunsProgram(folder + "/" + road.project, why)) GTEST_SKIP() << why;
    Open(folder + "/" + road.project);
    const SourcePosition mainFirst = FirstLineOf("main");
    ASSERT_NE(mainFirst.line, 0);
    CSourceWindow* source = wxGetApp().SourceWindows()->Find(mainFirst.file);
    ASSERT_NE(source, nullptr) << mainFirst.file;
    RunToLine(source, mainFirst.line);
    const CSymbolStruct* before = FindFunctionOfAddress(ShownPc());
    for (int key : {WXK_F11, WXK_F11})
        PressKeyUntilIdle(key, source->Editor(), 8000);
    ASSERT_NE(FindFunctionOfAddress(ShownPc()), before) << "the Steps entered no function";
    const std::vector<std::string> locals = LocalsAtPc(), shown = NamedRows(Locals());
    ASSERT_GE(shown.size(), locals.size());
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + long(locals.size())), locals);
    // Each pane shows its values in the radix it keeps (an earlier road may
    // have chosen another).
    ExpectRowsShowTheBoard(Locals(), g_pLocalVariableWnd->Radix(), "entered");
    EXPECT_GT(ExpectRowsShowTheBoard(Globals(), g_pVariableAllWnd->Radix(), "globals"), 0);
    ShowPane(g_pVariableAllWnd);
    guitest::SaveScreenshot(g_pVariableAllWnd, std::string("variable_panes_") + road.folder);

    // The first listed global, watched and written: its lowest byte is the
    // last one, values being stored high byte first.
    TypeIntoCell(Search(), 0, 0, Globals()->GetItemText(0, 0));
    EXPECT_EQ(Search()->GetItemText(0, 3), Globals()->GetItemText(0, 3));
    TypeIntoCell(Search(), 0, 1, "0x42");
    const std::string address = Search()->GetItemText(0, 3);
    const SymbolInfo* symbol = LookupSymbol(Search()->GetItemText(0, 0), kSelectData);
    const uint32_t width = std::min<uint32_t>(ReadWidthOfType(Search()->GetItemText(0, 2)),
                                              symbol->m_nSize ? symbol->m_nSize : 4);
    EXPECT_EQ(BoardByte(address[0], std::stoul(address.substr(2), nullptr, 16) + width - 1), 0x42);
    EXPECT_EQ(ExpectRowsShowTheBoard(Search(), g_pVariableWnd->Radix(), "written"), 1);
    Command(cmd::kClose);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, KeilPanes,
                         ::testing::Values(KeilRoad{"mcp-prot", "prot.Uv2"},
                                           KeilRoad{"exitrip-blinky", "Blinky.Uv2"}),
                         [](const auto& info) {
                             return std::string(info.param.folder) == "mcp-prot" ? "McpProt"
                                                                                 : "ExitripBlinky";
                         });
