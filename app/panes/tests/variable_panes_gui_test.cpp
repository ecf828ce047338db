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
#include "pc_model.h"
#include "project_loader.h"
#include "project_views.h"
#include "report_ctrls.h"
#include "scintilla_wnd.h"
#include "simboard_hooks.h"
#include "source_window.h"
#include "source_windows.h"
#include "symbol_lookup.h"
#include "symbol_wnd.h"
#include "target_flags.h"
#include "value_texts.h"
#include "value_tip_view.h"
#include "variable_all_wnd.h"
#include "variable_panes.h"
#include "variable_wnd.h"
#include "wx_command_ids.h"

#include <gtest/gtest.h>
#include <wx/stopwatch.h>
#include <wx/timer.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <dlfcn.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kExampleProject = std::string(VEXA_SOURCE_DIR) + "/example/blinky.uv2";

// The board's memories, straight from its core.
std::vector<uint8_t> BoardBytes(int memory, uint32_t address, uint32_t count) {
    static auto* read = reinterpret_cast<decltype(&SimBoard_ReadMemory)>(
        dlsym(dlopen(VEXA_BIN_DIR "/libsimboard.so", RTLD_NOW), "SimBoard_ReadMemory"));
    std::vector<uint8_t> bytes(count);
    bytes.resize(read ? read(memory, address, bytes.data(), count) : 0);
    return bytes;
}

uint8_t BoardByte(char letter, uint32_t address) {
    const int memory = letter == 'X'     ? SIMBOARD_XDATA
                       : letter == 'C'   ? SIMBOARD_CODE_FLASH
                       : address >= 0x80 ? SIMBOARD_SFR
                                         : SIMBOARD_IRAM;
    const std::vector<uint8_t> bytes = BoardBytes(memory, address, 1);
    return bytes.empty() ? 0 : bytes[0];
}

// The value text a row of a variable pane must show, from the board's bytes
// at the row's address: one value of its type's width, or an array's bytes
// (as many as the row shows).
std::string BoardValueText(const std::string& type, const std::string& address,
                           const std::string& shown, int radix) {
    const char letter = address.empty() ? 0 : address[0];
    const uint32_t at = uint32_t(std::stoul(address.substr(2), nullptr, 16));
    if (type == "ARRAY") {
        std::string text;
        const size_t count = size_t(std::count(shown.begin(), shown.end(), ',')) + 1;
        for (size_t i = 0; i < count; ++i)
            text += (i ? "," : "") + FormatRadix(BoardByte(letter, at + uint32_t(i)), radix, 1);
        return text;
    }
    const int width = ReadWidthOfType(type);
    uint32_t value = 0;
    if (letter == 'D' && at >= 0x80 && width == 2)
        value = BoardByte(letter, at) | BoardByte(letter, at + 1) << 8;
    else
        for (int i = 0; i < width; ++i)
            value = value << 8 | BoardByte(letter, at + uint32_t(i));
    return FormatRadix(value, radix, width);
}

// Every named row with an address shows what the board holds there.
int ExpectRowsShowTheBoard(CReportListCtrl* list, int radix, const std::string& where) {
    int checked = 0;
    for (int row = 0; row < list->GetItemCount(); ++row) {
        const std::string address = list->GetItemText(row, 3);
        if (list->GetItemText(row, 0).empty() || address.size() < 4) continue;
        const std::string shown = list->GetItemText(row, 1);
        EXPECT_EQ(shown, BoardValueText(list->GetItemText(row, 2), address, shown, radix))
            << where << ": " << list->GetItemText(row, 0) << " at " << address;
        ++checked;
    }
    return checked;
}

CMainFrame* Frame() {
    return wxGetApp().Frame();
}

void Command(int command) {
    wxCommandEvent event(wxEVT_MENU, WxCommandId(command));
    Frame()->ProcessWindowEvent(event);
    guitest::PumpEvents(50);
}

bool WaitIdle(int ms = 8000) {
    wxStopWatch watch;
    while (g_bTargetBusy && watch.Time() < ms)
        guitest::PumpEvents(20);
    guitest::PumpEvents(80);
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

uint16_t ShownPc() {
    uint16_t pc = 0;
    if (PcDisplay* display = GetPcDisplay()) display->GetCurrentPc(pc);
    return pc;
}

// Brings a pane of the tab group to the front.
void ShowPane(wxWindow* pane) {
    wxAuiNotebook* tabs = Frame()->TabGroup();
    const int page = tabs->GetPageIndex(pane);
    if (page != wxNOT_FOUND) tabs->SetSelection(size_t(page));
    guitest::PumpEvents(150);
}

// Types into a cell the way the user does: the edit box, the text, Return.
void TypeIntoCell(CReportListCtrl* list, int row, int column, const std::string& text) {
    ShowPane(list->GetParent());
    ASSERT_TRUE(list->StartEdit(row, column));
    guitest::PumpEvents(50);
    wxUIActionSimulator simulator;
    simulator.Text(text.c_str());
    guitest::PumpEvents(80);
    simulator.Char(WXK_RETURN);
    guitest::PumpEvents(200);
}

void ClickCell(CReportListCtrl* list, int row, int column, int button = wxMOUSE_BTN_LEFT) {
    list->EnsureRowVisible(row);
    guitest::PumpEvents(30);
    const wxRect cell = list->GetCellRect(row, column);
    wxUIActionSimulator simulator;
    simulator.MouseMove(
        list->GetBody()->ClientToScreen(cell.GetLeftTop() + wxPoint(30, cell.height / 2)));
    guitest::PumpEvents(40);
    simulator.MouseClick(button);
    guitest::PumpEvents(120);
}

// Chooses an entry of the radix popup with the keyboard once it is open:
// the first Down highlights the first entry.
void ChooseRadixFromPopup(CReportListCtrl* list, int downs) {
    wxTimer keys;
    keys.Bind(wxEVT_TIMER, [downs](wxTimerEvent&) {
        wxUIActionSimulator simulator;
        for (int i = 0; i < downs; ++i)
            simulator.Char(WXK_DOWN);
        simulator.Char(WXK_RETURN);
    });
    keys.StartOnce(400);
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

// The locals of a function, as the map lists them.
std::vector<std::string> LocalsAtPcOf(const CSymbolStruct& function) {
    std::vector<std::string> names;
    for (const auto& local : function.m_locals)
        names.push_back(local->m_strName);
    return names;
}

// The locals of the function holding the program counter.
std::vector<std::string> LocalsAtPc() {
    const CSymbolStruct* function = FindFunctionOfAddress(ShownPc());
    return function ? LocalsAtPcOf(*function) : std::vector<std::string>();
}

// The symbol tree shows one collapsed row per module of the map, in order.
void ExpectEveryModule(CSymbolWnd* pane) {
    ASSERT_NE(g_pProject, nullptr);
    const auto& modules = g_pProject->m_listModules;
    CMySuperGrid* grid = pane->Grid();
    ASSERT_EQ(grid->GetTree().GetRowCount(), int(modules.size()));
    for (size_t m = 0; m < modules.size(); ++m) {
        EXPECT_EQ(grid->GetCellText(int(m), 0), modules[m]->m_strName);
        EXPECT_EQ(grid->GetTree().GetRoots()[m]->GetChildren().size(),
                  modules[m]->m_children.size());
    }
}

} // namespace

class VariablePanes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Frame(), nullptr) << "an earlier test closed the frame";
        ASSERT_NE(g_pVariableWnd, nullptr);
        ASSERT_NE(g_pLocalVariableWnd, nullptr);
        ASSERT_NE(g_pVariableAllWnd, nullptr);
        ASSERT_NE(g_pSymbolWnd, nullptr);
        Frame()->Raise();
        guitest::PumpEvents(100);
    }
    void Open(const std::string& path) {
        wxGetApp().ProjectViews()->SetNextProjectPath(path);
        Command(cmd::kOpen);
        guitest::PumpEvents(200);
        ASSERT_TRUE(g_bProjectLoaded) << ::testing::PrintToString(messages.Texts());
        Command(cmd::kImageLoad);
        ASSERT_FALSE(messages.Texts().empty());
        ASSERT_EQ(messages.Texts().back(), "Flash Write OK!!");
        messages.shown.clear();
    }
    // F9 on the line, then F5 to it.
    void RunToLine(CSourceWindow* source, int line) {
        wxGetApp().SourceWindows()->ActivateView(source);
        source->Editor()->GotoLine(line - 1);
        PressKey(WXK_F9, source->Editor());
        PressKey(WXK_F5, source->Editor());
        ASSERT_TRUE(WaitIdle());
        PressKey(WXK_F9, source->Editor()); // the breakpoint goes again
    }
    void Key(int key, CSourceWindow* source) {
        PressKey(key, source->Editor());
        ASSERT_TRUE(WaitIdle());
    }

    CReportCtrl* Search() const { return g_pVariableWnd->List(); }
    CReportCtrl* Locals() const { return g_pLocalVariableWnd->List(); }
    CReportCtrlAll* Globals() const { return g_pVariableAllWnd->List(); }

    platform::RecordingMessageService messages;
};

TEST_F(VariablePanes, TheExampleProject) {
    Open(kExampleProject);
    CSourceWindows* sources = wxGetApp().SourceWindows();
    CSourceWindow* main = sources->Find("main.c");
    ASSERT_NE(main, nullptr);

    // The symbol tree: every module of the map, collapsed.
    ExpectEveryModule(g_pSymbolWnd);
    ShowPane(g_pSymbolWnd);
    controls::CTreeItem* mainModule = nullptr;
    for (const auto& root : g_pSymbolWnd->Grid()->GetTree().GetRoots())
        if (root->GetInfo()->GetItemText() == "MAIN") mainModule = root.get();
    ASSERT_NE(mainModule, nullptr);
    g_pSymbolWnd->Grid()->ExpandItem(mainModule);
    guitest::SaveScreenshot(g_pSymbolWnd, "variable_panes_symbol");

    // At main.c:39 ("P1 = ~pattern;") the watched names show the board's values.
    RunToLine(main, 39);
    TypeIntoCell(Search(), 0, 0, "pattern");
    TypeIntoCell(Search(), 1, 0, "history");
    TypeIntoCell(Search(), 2, 0, "D:0x08:4");
    TypeIntoCell(Search(), 3, 0, "total");
    EXPECT_EQ(Search()->GetItemText(0, 2), "U_CHAR");
    EXPECT_EQ(Search()->GetItemText(0, 3), "D:0x000009");
    EXPECT_EQ(Search()->GetItemText(1, 2), "ARRAY");
    EXPECT_EQ(Search()->GetItemText(1, 3), "X:0x000001");
    EXPECT_EQ(ExpectRowsShowTheBoard(Search(), 10, "line 39"), 3);
    const std::vector<uint8_t> data = BoardBytes(SIMBOARD_IRAM, 0x08, 4);
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(Search()->GetItemText(2, 1),
              std::to_string(data[0]) + ", " + std::to_string(data[1]) + ", " +
                  std::to_string(data[2]) + ", " + std::to_string(data[3]));
    EXPECT_GE(ExpectRowsShowTheBoard(Globals(), 10, "globals at line 39"), 5);
    EXPECT_NE(RowNamed(Globals(), "pattern"), -1);
    EXPECT_TRUE(NamedRows(Locals()).empty()) << "main has no locals";
    guitest::SaveScreenshot(g_pVariableWnd, "variable_panes_search");

    // A local whose type no listing gave: its row stays blank.
    const SymbolInfo* delaySymbol = LookupSymbol("delay", kSelectCode);
    ASSERT_NE(delaySymbol, nullptr);
    CSymbolStruct* delayFunction = FindFunctionOfAddress(delaySymbol->m_dwAddress);
    ASSERT_NE(delayFunction, nullptr);
    ASSERT_GE(delayFunction->m_locals.size(), 2u);
    delayFunction->m_locals[0]->m_strType = "NONE";
    std::vector<std::string> typedLocals = LocalsAtPcOf(*delayFunction);
    typedLocals.erase(typedLocals.begin());

    // Step writes history[passes & 7]; Step again reaches the call of delay,
    // and a third Step enters it: the locals of delay appear.
    Key(WXK_F11, main);
    ExpectRowsShowTheBoard(Search(), 10, "line 40");
    Key(WXK_F11, main);
    Key(WXK_F11, main);
    ASSERT_EQ(FindFunctionOfAddress(ShownPc()), delayFunction);
    EXPECT_EQ(Locals()->GetItemText(0, 0), "");
    EXPECT_EQ(NamedRows(Locals()), typedLocals);
    EXPECT_EQ(ExpectRowsShowTheBoard(Locals(), 10, "delay entered"), int(typedLocals.size()));
    CSourceWindow* delay = sources->Active();
    ASSERT_NE(delay, nullptr);
    // Next walks delay's lines; the panes follow.
    Key(WXK_F10, delay);
    Key(WXK_F10, delay);
    ExpectRowsShowTheBoard(Locals(), 10, "after Next");
    ExpectRowsShowTheBoard(Search(), 10, "after Next");
    ExpectRowsShowTheBoard(Globals(), 10, "after Next");
    ShowPane(g_pLocalVariableWnd);
    guitest::SaveScreenshot(g_pLocalVariableWnd, "variable_panes_locals");

    // The popups change the radix: HEX in Search, BINARY in Global Variable.
    ShowPane(g_pVariableWnd);
    ChooseRadixFromPopup(Search(), 4);
    EXPECT_EQ(g_pVariableWnd->Radix(), 16);
    EXPECT_EQ(Search()->GetItemText(0, 1).substr(0, 2), "0x");
    EXPECT_EQ(ExpectRowsShowTheBoard(Search(), 16, "radix 16"), 3);
    ShowPane(g_pVariableAllWnd);
    ChooseRadixFromPopup(Globals(), 1);
    EXPECT_EQ(g_pVariableAllWnd->Radix(), 2);
    EXPECT_GE(ExpectRowsShowTheBoard(Globals(), 2, "radix 2"), 5);
    guitest::SaveScreenshot(g_pVariableAllWnd, "variable_panes_globals_binary");
    EXPECT_EQ(g_pLocalVariableWnd->Radix(), 10) << "each pane keeps its own radix";

    // Value edits reach the board and show at once: Search with Return ...
    TypeIntoCell(Search(), 0, 1, "0x55");
    EXPECT_EQ(BoardByte('D', 0x09), 0x55);
    EXPECT_EQ(Search()->GetItemText(0, 1), "0x55");
    TypeIntoCell(Search(), 1, 1, "7,8");
    EXPECT_EQ(BoardBytes(SIMBOARD_XDATA, 0x01, 2), (std::vector<uint8_t>{7, 8}));
    ASSERT_FALSE(messages.Texts().empty());
    EXPECT_EQ(messages.Texts().back(), "Warning: Number of input data = 2");
    // ... Global Variable with the mouse: a click starts the edit, the next
    // click elsewhere writes it ...
    const int passes = RowNamed(Globals(), "passes");
    ASSERT_NE(passes, -1);
    ShowPane(g_pVariableAllWnd);
    ClickCell(Globals(), passes, 1);
    ClickCell(Globals(), passes, 1);
    ASSERT_TRUE(Globals()->IsEditing());
    wxUIActionSimulator simulator;
    simulator.Text("1234");
    guitest::PumpEvents(80);
    ClickCell(Globals(), passes == 0 ? 1 : 0, 0);
    EXPECT_EQ(BoardBytes(SIMBOARD_IRAM, 0x0A, 2), (std::vector<uint8_t>{0x04, 0xD2}));
    EXPECT_EQ(Globals()->GetItemText(passes, 1), FormatRadix(1234, 2, 2));
    // ... and Local Variable.
    const int turns = RowNamed(Locals(), "turns");
    ASSERT_NE(turns, -1);
    TypeIntoCell(Locals(), turns, 1, "513");
    EXPECT_EQ(Locals()->GetItemText(turns, 1), "513");
    EXPECT_EQ(ExpectRowsShowTheBoard(Locals(), 10, "after the edit"), int(typedLocals.size()));

    // Resting the mouse on a name in the source shows its value.
    sources->ActivateView(main);
    guitest::PumpEvents(200);
    CScintillaWnd* editor = main->Editor();
    const int lineStart = editor->PositionFromLine(38);
    const std::string line39 = editor->GetLine(38).ToStdString();
    const size_t column = line39.find("pattern");
    ASSERT_NE(column, std::string::npos);
    const wxPoint where = editor->PointFromPosition(lineStart + int(column) + 3) +
                          wxPoint(2, editor->TextHeight(38) / 2);
    simulator.MouseMove(editor->ClientToScreen(where));
    guitest::PumpEvents(1200);
    EXPECT_EQ(ShownValueTip(), "pattern : " + std::to_string(BoardByte('D', 0x09)));
    EXPECT_TRUE(editor->CallTipActive());
    guitest::SaveScreenshot(Frame(), "variable_panes_value_tip");
    // Moving on, even out of the window, takes the tip away.
    simulator.MouseMove(editor->ClientToScreen(where + wxPoint(0, 60)));
    guitest::PumpEvents(300);
    EXPECT_FALSE(editor->CallTipActive());
    simulator.MouseMove(editor->ClientToScreen(where));
    guitest::PumpEvents(1200);
    ASSERT_TRUE(editor->CallTipActive());
    simulator.MouseMove(editor->GetScreenPosition() - wxPoint(20, 20));
    guitest::PumpEvents(300);
    EXPECT_FALSE(editor->CallTipActive());
    EXPECT_EQ(ShownValueTip(), "");

    // "Insert Variable Window" puts the name under the menu's point into Search.
    const size_t passesColumn = editor->GetLine(42).ToStdString().find("passes");
    ASSERT_NE(passesColumn, std::string::npos);
    const wxPoint overPasses =
        editor->PointFromPosition(editor->PositionFromLine(42) + int(passesColumn) + 1) +
        wxPoint(2, editor->TextHeight(42) / 2);
    InsertVariableFromEditor(*editor, main->Title(), editor->ClientToScreen(overPasses));
    EXPECT_EQ(Search()->GetItemText(4, 0), "passes");
    EXPECT_EQ(Search()->GetItemText(4, 1), FormatRadix(1234, 16, 2));

    // Back in main, which has no locals, every row of delay is blanked, also
    // those below the blank row of the "NONE" local.
    RunToLine(main, 42);
    EXPECT_EQ(FindFunctionOfAddress(ShownPc())->m_strName, "MAIN");
    EXPECT_TRUE(NamedRows(Locals()).empty());
    for (int row = 0; row < Locals()->GetItemCount(); ++row)
        EXPECT_EQ(Locals()->GetItemText(row, 1), "") << row;

    // The toolbars: check-all in Search, then in Local Variable, which keeps
    // its own state and so checks its rows too; clear-checked empties the
    // checked watch rows but their addresses.
    auto tool = [](CVariableWnd* pane, int command) {
        wxCommandEvent event(wxEVT_TOOL, WxCommandId(command));
        pane->PaneToolBar()->ProcessWindowEvent(event);
        guitest::PumpEvents(50);
    };
    tool(g_pVariableWnd, 40023);
    tool(g_pLocalVariableWnd, 40023);
    for (int row : {0, 49}) {
        EXPECT_TRUE(Search()->ItemStatesMatch(row, controls::kStateChecked)) << row;
        EXPECT_TRUE(Locals()->ItemStatesMatch(row, controls::kStateChecked)) << row;
    }
    ShowPane(g_pVariableWnd);
    guitest::SaveScreenshot(g_pVariableWnd, "variable_panes_search_checked");
    tool(g_pVariableWnd, 40024);
    EXPECT_TRUE(NamedRows(Search()).empty());
    EXPECT_EQ(Search()->GetItemText(0, 3), "D:0x000009");
    tool(g_pLocalVariableWnd, 40023);
    EXPECT_TRUE(Locals()->ItemStatesMatch(0, controls::kStateNotChecked));
    EXPECT_TRUE(Search()->ItemStatesMatch(0, controls::kStateChecked));
    Command(cmd::kClose);
    EXPECT_EQ(Search()->GetItemCount(), 50);
    EXPECT_EQ(Locals()->GetItemCount(), 50);
    EXPECT_TRUE(NamedRows(Locals()).empty());
    EXPECT_EQ(Globals()->GetItemCount(), 0);
    EXPECT_EQ(g_pSymbolWnd->Grid()->GetTree().GetRowCount(), 0);
    EXPECT_EQ(g_pVariableAllWnd->Radix(), 2) << "the radix stays";
}

// The real projects: the function a Step enters, the globals and a watched
// value written back.
struct KeilRoad {
    const char* folder;
    const char* project;
    const char* window;
    int breakLine;
    int steps; // Steps from the break line into a function
};

class KeilPanes : public VariablePanes, public ::testing::WithParamInterface<KeilRoad> {};

TEST_P(KeilPanes, FollowTheProgram) {
    const KeilRoad& road = GetParam();
    const std::string folder = std::string(VEXA_KEIL_FIXTURES) + "/" + road.folder;
    if (!std::filesystem::exists(folder)) GTEST_SKIP() << "no " << folder;
    Open(folder + "/" + road.project);
    ExpectEveryModule(g_pSymbolWnd);
    CSourceWindow* source = wxGetApp().SourceWindows()->Find(road.window);
    ASSERT_NE(source, nullptr);
    RunToLine(source, road.breakLine);
    EXPECT_GE(NamedRows(Locals()).size(), LocalsAtPc().size());
    const uint16_t before = ShownPc();
    for (int i = 0; i < road.steps; ++i)
        Key(WXK_F11, source);
    ASSERT_NE(FindFunctionOfAddress(ShownPc()), FindFunctionOfAddress(before))
        << "the Steps entered no function";
    const std::vector<std::string> locals = LocalsAtPc();
    const std::vector<std::string> shown = NamedRows(Locals());
    ASSERT_GE(shown.size(), locals.size());
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + long(locals.size())), locals);
    ExpectRowsShowTheBoard(Locals(), 10, "entered");
    EXPECT_GT(ExpectRowsShowTheBoard(Globals(), 10, "globals"), 0);
    ShowPane(g_pVariableAllWnd);
    guitest::SaveScreenshot(g_pVariableAllWnd, std::string("variable_panes_") + road.folder);

    // The first listed global, watched and written.
    const std::string name = Globals()->GetItemText(0, 0);
    TypeIntoCell(Search(), 0, 0, name);
    EXPECT_EQ(Search()->GetItemText(0, 3), Globals()->GetItemText(0, 3));
    EXPECT_EQ(ExpectRowsShowTheBoard(Search(), 10, "watched"), 1);
    TypeIntoCell(Search(), 0, 1, "0x42");
    const std::string address = Search()->GetItemText(0, 3);
    const uint32_t at = uint32_t(std::stoul(address.substr(2), nullptr, 16));
    // The value's lowest byte is its last one: values are written high byte first.
    const SymbolInfo* symbol = LookupSymbol(name, kSelectData);
    ASSERT_NE(symbol, nullptr);
    int width = ReadWidthOfType(Search()->GetItemText(0, 2));
    if (symbol->m_nSize != 0 && symbol->m_nSize < uint32_t(width)) width = int(symbol->m_nSize);
    EXPECT_EQ(BoardByte(address[0], at + uint32_t(width - 1)), 0x42) << name << " " << address;
    EXPECT_EQ(ExpectRowsShowTheBoard(Search(), 10, "written"), 1);
    Command(cmd::kClose);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, KeilPanes,
                         ::testing::Values(KeilRoad{"mcp-prot", "prot.Uv2", "prot.c", 39, 2},
                                           KeilRoad{"exitrip-blinky", "Blinky.Uv2", "Blinky.c", 98,
                                                    2}),
                         [](const auto& info) {
                             return std::string(info.param.folder) == "mcp-prot" ? "McpProt"
                                                                                 : "ExitripBlinky";
                         });
