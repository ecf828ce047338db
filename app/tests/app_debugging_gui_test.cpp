// The debugging road through the real windows, on the simulated board: open
// a project, load its image, set a breakpoint with F9, run to it with F5,
// step with F11, F10, F8 and F7, stop a running program with F6, close,
// reload and exit.
#include "app_gui_fixture.h"
#include "assemble_view.h"
#include "breakpoint_records.h"
#include "code_lines.h"
#include "command_ids.h"
#include "emulator_wnd.h"
#include "file_view.h"
#include "gui_test.h"
#include "html_list_ctrl.h"
#include "listing_model.h"
#include "main_frame.h"
#include "message_service.h"
#include "my_quillet_app.h"
#include "pc_model.h"
#include "project_loader.h"
#include "project_views.h"
#include "report_ctrls.h"
#include "run_commands.h"
#include "run_lookups.h"
#include "scintilla_wnd.h"
#include "source_window.h"
#include "source_windows.h"
#include "switch_helpers.h"
#include "symbol_table.h"
#include "target_flags.h"
#include "test_support.h"
#include "window_file.h"
#include "wx_command_ids.h"

#include "status_gauge.h"
#include <gtest/gtest.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

using namespace appgui;

namespace {

const std::string kKeilProject = std::string(VEXA_KEIL_FIXTURES) + "/mcp-prot/prot.Uv2";
const std::string kExampleProject = std::string(VEXA_SOURCE_DIR) + "/example/blinky.uv2";

// One project's road: where the breakpoint goes. Step goes from there to the
// next line with code, and Next from that one to the line with code after it.
struct Road {
    std::string project;
    std::string image; // the workspace tree's project name
    // The statement of main() the breakpoint goes on, which the program
    // reaches (empty: main's first line with code).
    std::string statement;
    std::string screenshot;
};

bool Exists(const std::string& path) {
    return std::ifstream(path).good();
}

// The line (from 1) carrying the PC marker in `window`, 0 when none.
int PcLine(CSourceWindow* window) {
    int line = window->Editor()->MarkerNext(0, 1 << marker::kCurrentPc);
    return line < 0 ? 0 : line + 1;
}

void EmulatorRowsRead(CMainFrame* frame) {
    CReportCtrlEmul* rows = frame->EmulatorWnd()->StatusList();
    EXPECT_EQ(rows->GetItemText(0, 0), "Current Line");
    EXPECT_EQ(rows->GetItemText(0, 1), "0");
    EXPECT_EQ(rows->GetItemText(1, 0), "Current PC");
    EXPECT_EQ(rows->GetItemText(1, 1), "0");
    EXPECT_EQ(frame->EmulatorWnd()->StatusBox()->GetValue(), "STATUS : STOP");
}

// The lowest address of a call of a switch helper in the loaded listing; 0
// when there is none.
uint32_t FirstSwitchCall(const DisasmLoader& listing) {
    std::set<uint32_t> calls;
    for (const disasm8051::SwitchHelper& helper : SwitchHelpersOf(*g_pSymbolTable)) {
        char target[8];
        std::snprintf(target, sizeof target, "L%04X", unsigned(helper.address));
        for (const auto& [address, text] : listing.m_mapInstructions)
            if (text.find("CALL ") != std::string::npos && text.find(target) != std::string::npos)
                calls.insert(address);
    }
    return calls.empty() ? 0 : *calls.begin();
}

} // namespace

class AppDebugging : public FrameTest {
protected:
    void DebugRoad(const Road& road);

    platform::RecordingMessageService messages;
};

void AppDebugging::DebugRoad(const Road& road) {
    OpenProject(road.project);
    ASSERT_TRUE(g_bProjectLoaded) << ::testing::PrintToString(messages.Texts());
    CMainFrame* frame = Frame();
    EXPECT_EQ(frame->ShownProgress(), 100);
    EXPECT_EQ(frame->ProgressGauge()->GetValue(), 100);
    EXPECT_EQ(frame->GetMenuBar(), frame->SourceMenu());

    // One source window per source file, and the workspace tree lists them.
    CProjectLoader* loader = wxGetApp().Loader();
    const auto& files = loader->m_projectFiles.m_listFiles;
    CSourceWindows* sources = wxGetApp().SourceWindows();
    EXPECT_EQ(sources->Windows().size(), files.size());
    CFileView* tree = frame->FileView();
    EXPECT_EQ(tree->Tree()->GetItemText(tree->Root()), "project : " + road.image);
    EXPECT_EQ(tree->Tree()->GetChildrenCount(tree->SourceFiles(), false), files.size());
    EXPECT_TRUE(tree->Tree()->IsExpanded(tree->SourceFiles()));
    EmulatorRowsRead(frame);
    guitest::SaveScreenshot(frame, road.screenshot + "_open");

    Command(cmd::kImageLoad);
    EXPECT_TRUE(g_bImageVerified || !messages.Texts().empty());
    ASSERT_FALSE(messages.Texts().empty());
    EXPECT_EQ(messages.Texts().back(), "Flash Write OK!!");

    const SourcePosition breakAt = LineInMain(road.project, road.statement);
    ASSERT_NE(breakAt.line, 0) << road.statement;
    const int stepLine = NextLineWithCode(breakAt.file, breakAt.line);
    const int nextLine = NextLineWithCode(breakAt.file, stepLine);
    CSourceWindow* source = sources->Find(breakAt.file);
    ASSERT_NE(source, nullptr) << breakAt.file;
    std::vector<int> codeLines =
        CodeLinesOf(ProjectFileOfWindow(source->Title()), source->Editor()->GetLineCount());
    ASSERT_FALSE(codeLines.empty());
    for (int line : codeLines)
        EXPECT_TRUE(source->Editor()->MarkerGet(line - 1) & (1 << marker::kCodeLine));

    // F9 on a code line in the middle of the program sets marker 0 and a
    // breakpoint on the board.
    const int breakLine = breakAt.line;
    ASSERT_NE(std::find(codeLines.begin(), codeLines.end(), breakLine), codeLines.end());
    sources->ActivateView(source);
    source->Editor()->GotoLine(breakLine - 1);
    PressKey(WXK_F9, source->Editor());
    EXPECT_TRUE(source->Editor()->MarkerGet(breakLine - 1) & (1 << marker::kBreakpoint));
    ASSERT_EQ(g_BreakList.size(), 1u);
    EXPECT_EQ(g_BreakList.front().m_nLine, breakLine);

    // F5 runs to it: the PC marker stands on the breakpoint's line.
    PressKey(WXK_F5, source->Editor());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(PcLine(source), breakLine) << ::testing::PrintToString(messages.Texts());
    // The assembly pane shows the stop as its program-counter row, selected.
    CHTMLListCtrl* listing = frame->AssembleView()->ShownList();
    EXPECT_GT(listing->GetItemCount(), 0);
    const uint32_t breakAddress =
        AddressOfLine(ProjectFileOfWindow(source->Title()) + ":" + std::to_string(breakLine));
    ASSERT_EQ(g_ListingModel.m_mapAddressToSrcRow.count(breakAddress), 1u);
    const int pcRow = g_ListingModel.m_mapAddressToSrcRow.at(breakAddress);
    EXPECT_EQ(listing->GetCurrentItem(), pcRow);
    EXPECT_EQ(listing->GetSelectedItem(), pcRow);
    // Marker 1 on a code line stands with marker 4 in place of marker 2.
    EXPECT_EQ(source->Editor()->MarkerGet(breakLine - 1) & 0x16, (1 << 1) | (1 << 4));
    guitest::SaveScreenshot(frame, road.screenshot + "_at_breakpoint");

    // F11 steps to the next source line, onto a call.
    PressKey(WXK_F11, source->Editor());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(PcLine(source), stepLine);
    EXPECT_EQ(source->Editor()->MarkerGet(breakLine - 1) & 0x16, 1 << 4)
        << "marker 0 keeps marker 4";
    // F10 runs over the call to the next line of main().
    PressKey(WXK_F10, source->Editor());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(PcLine(source), nextLine);

    // F8 steps single instructions up to the next call; F7 steps
    // over that call to the instruction after it.
    uint16_t pc = ShownPc();
    for (int i = 0; i < 6 && DisassemblyText(pc).find("CALL") == std::string::npos; ++i) {
        PressKey(WXK_F8, source->Editor());
        ASSERT_NE(ShownPc(), pc) << "F8 moved nothing";
        pc = ShownPc();
    }
    ASSERT_NE(DisassemblyText(pc).find("CALL"), std::string::npos) << DisassemblyText(pc);
    uint16_t returnAddress = 0;
    ASSERT_TRUE(ReturnAddressOfCall(pc, returnAddress));
    PressKey(WXK_F7, source->Editor());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(ShownPc(), returnAddress);

    // F9 again clears the breakpoint; F5 then runs the program's endless
    // loop, and F6 stops it.
    sources->ActivateView(source);
    source->Editor()->GotoLine(breakLine - 1);
    PressKey(WXK_F9, source->Editor());
    EXPECT_TRUE(g_BreakList.empty());
    EXPECT_FALSE(source->Editor()->MarkerGet(breakLine - 1) & (1 << marker::kBreakpoint));
    PressKey(WXK_F5, source->Editor());
    guitest::PumpEvents(300);
    EXPECT_TRUE(g_bTargetBusy) << "the program should still run";
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "Running");
    PressKey(WXK_F6, source->Editor());
    EXPECT_TRUE(WaitIdle());
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "");
    EXPECT_NE(ShownPc(), returnAddress);

    // Reload opens the same project again without asking.
    const size_t windows = sources->Windows().size();
    Command(cmd::kReload);
    EXPECT_TRUE(g_bProjectLoaded);
    EXPECT_EQ(sources->Windows().size(), windows);
    EXPECT_EQ(frame->ShownProgress(), 100);

    // Close returns to the start-up state.
    Command(cmd::kClose);
    EXPECT_FALSE(g_bProjectLoaded);
    EXPECT_TRUE(sources->Windows().empty());
    EXPECT_EQ(frame->GetMenuBar(), frame->StartMenu());
    EXPECT_EQ(tree->Tree()->GetItemText(tree->Root()), "project : Empty");
    EXPECT_EQ(tree->Tree()->GetChildrenCount(tree->SourceFiles(), false), 0u);
    EXPECT_EQ(frame->ProgressGauge()->GetValue(), 0);
    EmulatorRowsRead(frame);
    for (int command : {cmd::kImageLoad, cmd::kContinue, cmd::kStop, cmd::kStep})
        EXPECT_FALSE(DebugToolEnabled(command)) << command;
    EXPECT_EQ(frame->AssembleView()->SourceList()->GetItemCount(), 0);
    EXPECT_EQ(frame->AssembleView()->AsmList()->GetItemCount(), 0);
    EXPECT_EQ(frame->AssembleView()->ShownList(), frame->AssembleView()->SourceList());
}

TEST_F(AppDebugging, TheExampleProject) {
    // main.c: "P1 = ~pattern;", then "history[...] = pattern;", then the call
    // of delay().
    DebugRoad({kExampleProject, "blinky.hex", "P1 = ~pattern;", "app_example"});
}

TEST_F(AppDebugging, TheKeilProject) {
    if (!Exists(kKeilProject)) GTEST_SKIP() << "no " << kKeilProject;
    std::string why;
    if (!BoardRunsProgram(kKeilProject, why)) GTEST_SKIP() << why;
    // prot.c: main()'s first statement "dc1=0;", then the calls "print_wc();"
    // and "msdelay(100);".
    DebugRoad({kKeilProject, "prot.hex", "", "app_keil"});
}

TEST_F(AppDebugging, ExitWhileRunningEndsCleanly) {
    OpenProject(kExampleProject);
    ASSERT_TRUE(g_bProjectLoaded);
    Command(cmd::kImageLoad);
    CSourceWindow* source = wxGetApp().SourceWindows()->Find("main.c");
    ASSERT_NE(source, nullptr);
    PressKey(WXK_F5, source->Editor());
    guitest::PumpEvents(200);
    ASSERT_TRUE(g_bTargetBusy);
    Command(cmd::kExit);
    guitest::PumpEvents(200);
    EXPECT_EQ(Frame(), nullptr);
    EXPECT_FALSE(g_bTargetBusy);
    EXPECT_FALSE(IsWorkerRunning());
    EXPECT_FALSE(g_bProjectLoaded);
}

TEST_F(AppDebugging, WorkspaceAndAssemblyPaneFollowTheUser) {
    OpenProject(kExampleProject);
    ASSERT_TRUE(g_bProjectLoaded);
    CMainFrame* frame = Frame();
    CSourceWindows* sources = wxGetApp().SourceWindows();
    const size_t windows = sources->Windows().size();

    // A double click on a file of the tree brings its window forward.
    CFileView* tree = frame->FileView();
    wxTreeItemIdValue cookie;
    wxTreeItemId item = tree->Tree()->GetFirstChild(tree->SourceFiles(), cookie);
    while (item.IsOk() && tree->Tree()->GetItemText(item) != "DELAY.C")
        item = tree->Tree()->GetNextChild(tree->SourceFiles(), cookie);
    ASSERT_TRUE(item.IsOk());
    wxTreeEvent activate(wxEVT_TREE_ITEM_ACTIVATED, tree->Tree(), item);
    tree->Tree()->GetEventHandler()->ProcessEvent(activate);
    EXPECT_EQ(tree->SelectedText(), "DELAY.C");
    ASSERT_NE(sources->Active(), nullptr);
    EXPECT_EQ(sources->Active(), sources->Find("delay.c"));
    EXPECT_EQ(sources->Windows().size(), windows) << "no second window";

    // The caret line of main.c (on the call of delay()) selects its rows;
    // switching lists twice comes back to the mixed list with that line's
    // row selected.
    const SourcePosition call = LineInMain(kExampleProject, "total += delay(10, step);");
    ASSERT_NE(call.line, 0);
    CSourceWindow* main = sources->Find("main.c");
    ASSERT_NE(main, nullptr);
    sources->ActivateView(main);
    SyncAssemblyToCaret(ProjectFileOfWindow(main->Title()), call.line);
    CAssembleView* assembly = frame->AssembleView();
    const IndexEntry* entry = nullptr;
    for (const CIndexTable& table : g_IndexTableList)
        if (table.m_strFileName == "MAIN.C") entry = table.Entry(call.line);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(assembly->SourceList()->GetSelectedItem(), entry->m_nSrcRow);
    assembly->OnToggleView();
    EXPECT_EQ(g_bAsmOnly, 1);
    EXPECT_EQ(assembly->ShownList(), assembly->AsmList());
    EXPECT_EQ(assembly->AsmList()->GetSelectedItem(), entry->m_nAsmRow);
    assembly->OnToggleView();
    EXPECT_EQ(assembly->ShownList(), assembly->SourceList());
    EXPECT_EQ(assembly->SourceList()->GetSelectedItem(), entry->m_nSrcRow);
    // A caret line beyond the file selects nothing and reads nothing.
    SyncAssemblyToCaret("MAIN.C", 100000);
    EXPECT_EQ(assembly->SourceList()->GetSelectedItem(), entry->m_nSrcRow);

    // The pane's breakpoint toggle at the selected row marks the source line.
    assembly->OnToggleBreakPoint();
    ASSERT_EQ(g_BreakList.size(), 1u);
    EXPECT_EQ(g_BreakList.front().m_nLine, call.line);
    EXPECT_TRUE(main->Editor()->MarkerGet(call.line - 1) & (1 << marker::kBreakpoint));
    assembly->OnToggleBreakPoint();
    EXPECT_TRUE(g_BreakList.empty());
    Command(cmd::kClose);
}

TEST_F(AppDebugging, AssemblyPaneKeepsItsRowsWhereNothingMatches) {
    OpenProject(kExampleProject);
    ASSERT_TRUE(g_bProjectLoaded);
    CMainFrame* frame = Frame();
    CAssembleView* assembly = frame->AssembleView();
    CHTMLListCtrl* listing = assembly->SourceList();
    ASSERT_EQ(assembly->ShownList(), listing);

    // Two addresses with rows of their own, and one without any row.
    const auto& rows = g_ListingModel.m_mapAddressToSrcRow;
    ASSERT_GE(rows.size(), 2u);
    auto first = rows.begin();
    auto second = std::next(first);
    while (second != rows.end() && second->second == first->second)
        ++second;
    ASSERT_NE(second, rows.end());
    uint16_t rowless = 0xFFFF;
    while (rows.count(rowless))
        --rowless;

    assembly->ShowPcInAssembly(static_cast<uint16_t>(first->first), 1);
    EXPECT_EQ(listing->GetCurrentItem(), first->second);
    EXPECT_EQ(listing->GetSelectedItem(), first->second);
    // Without the mark only the selection moves.
    assembly->ShowPcInAssembly(static_cast<uint16_t>(second->first), 0);
    EXPECT_EQ(listing->GetCurrentItem(), first->second);
    EXPECT_EQ(listing->GetSelectedItem(), second->second);
    // An address without a row moves no selection; as the PC, it leaves no
    // row marked or selected.
    assembly->ShowPcInAssembly(rowless, 0);
    EXPECT_EQ(listing->GetCurrentItem(), first->second);
    EXPECT_EQ(listing->GetSelectedItem(), second->second);
    assembly->ShowPcInAssembly(rowless, 1);
    EXPECT_EQ(listing->GetCurrentItem(), -1);
    EXPECT_EQ(listing->GetSelectedItem(), -1);

    // A window in front that is no file of the project: the lists switch
    // and no row is selected for it.
    const std::string stranger =
        std::string(VEXA_SOURCE_DIR) + "/debuginfo/testing/data/demo/src/util.c";
    ASSERT_TRUE(Exists(stranger));
    CSourceWindows* sources = wxGetApp().SourceWindows();
    ASSERT_NE(sources->Open(stranger), nullptr);
    const int asmSelected = assembly->AsmList()->GetSelectedItem();
    assembly->OnToggleView();
    EXPECT_EQ(assembly->ShownList(), assembly->AsmList());
    EXPECT_EQ(assembly->AsmList()->GetSelectedItem(), asmSelected);

    // The switch tool is checked on the assembly-only list and greyed for a
    // bare image.
    wxToolBar* bar = assembly->PaneToolBar();
    const int switchTool = WxCommandId(40034);
    bar->UpdateWindowUI(wxUPDATE_UI_FROMIDLE);
    EXPECT_TRUE(bar->GetToolEnabled(switchTool));
    EXPECT_TRUE(bar->GetToolState(switchTool));
    g_bHexOnly = true;
    bar->UpdateWindowUI(wxUPDATE_UI_FROMIDLE);
    EXPECT_FALSE(bar->GetToolEnabled(switchTool));
    g_bHexOnly = false;
    assembly->OnToggleView();
    EXPECT_EQ(assembly->ShownList(), listing);

    // The breakpoint toggle without a selected row does nothing.
    listing->SetSelectedItem(-1);
    assembly->OnToggleBreakPoint();
    EXPECT_TRUE(g_BreakList.empty());
    Command(cmd::kClose);
}

TEST_F(AppDebugging, ABareImageShowsItsListingStepsWithF8AndBreaksWhereClicked) {
    OpenProject(std::string(VEXA_SOURCE_DIR) + "/example/obj/blinky.hex");
    ASSERT_TRUE(g_bProjectLoaded) << ::testing::PrintToString(messages.Texts());
    ASSERT_TRUE(g_bHexOnly);
    CMainFrame* frame = Frame();
    CAssembleView* assembly = frame->AssembleView();
    CHTMLListCtrl* list = assembly->AsmList();
    const auto& rows = g_ListingModel.m_mapAddressToAsmRow;
    auto pcRowShown = [&] {
        EXPECT_EQ(assembly->ShownList(), list);
        EXPECT_TRUE(list->IsShownOnScreen());
        EXPECT_FALSE(assembly->SourceList()->IsShown());
        ASSERT_EQ(rows.count(ShownPc()), 1u);
        const int row = rows.at(ShownPc());
        EXPECT_EQ(list->GetCurrentItem(), row);
        EXPECT_EQ(list->GetSelectedItem(), row);
        const wxRect rect = list->GetItemRect(row);
        EXPECT_GE(rect.y, 0);
        EXPECT_LE(rect.GetBottom(), list->GetClientSize().y);
    };
    pcRowShown();
    guitest::SaveScreenshot(frame, "app_bare_image");

    // F8 steps one instruction; the listing follows.
    Command(cmd::kImageLoad);
    const uint16_t before = ShownPc();
    PressKey(WXK_F8, list);
    EXPECT_NE(ShownPc(), before);
    pcRowShown();

    // A double click on a row sets the breakpoint at that row's address.
    const int clicked = list->GetCurrentItem() + 2;
    ASSERT_EQ(g_ListingModel.m_mapAsmRowToAddress.count(clicked), 1u);
    const uint32_t address = g_ListingModel.m_mapAsmRowToAddress.at(clicked);
    const wxRect rect = list->GetItemRect(clicked);
    wxUIActionSimulator simulator;
    simulator.MouseMove(list->ClientToScreen(wxPoint(120, rect.y + rect.height / 2)));
    guitest::PumpEvents(50);
    simulator.MouseDblClick();
    guitest::PumpEvents(150);
    ASSERT_EQ(g_BreakList.size(), 1u);
    EXPECT_EQ(g_BreakList.front().m_dwAddress, address);
    guitest::SaveScreenshot(frame, "app_bare_image_break");

    // Reload lays the pane out for the bare image again.
    Command(cmd::kReload);
    ASSERT_TRUE(g_bHexOnly);
    pcRowShown();
    Command(cmd::kClose);
    EXPECT_EQ(assembly->ShownList(), assembly->SourceList());
}

// The case table after a switch call shows as data rows below the call in
// the Assembly pane, and the first case it names as an instruction row; on
// the first real project that opens and calls a switch helper.
TEST_F(AppDebugging, ACaseTableShowsAsDataRowsBelowItsSwitchCall) {
    uint32_t call = 0;
    for (const std::string& folder : debuginfo_test::KeilProjectFolders()) {
        for (const std::string& project : debuginfo_test::FilesWithExtensions(folder, {".uv2"})) {
            if (call) break;
            messages.answers = {platform::MessageAnswer::Ok, platform::MessageAnswer::Ok,
                                platform::MessageAnswer::No};
            OpenProject(project);
            if (g_bProjectLoaded) call = FirstSwitchCall(*wxGetApp().Loader()->m_pDisasmLoader);
            if (g_bProjectLoaded && !call) Command(cmd::kClose);
        }
    }
    if (!call) GTEST_SKIP() << "no real project that opens calls a switch helper";
    CMainFrame* frame = Frame();
    CAssembleView* assembly = frame->AssembleView();
    CHTMLListCtrl* list = assembly->SourceList();
    ASSERT_EQ(assembly->ShownList(), list);
    const int row = g_ListingModel.m_mapAddressToSrcRow.at(call);

    // Each entry and the end of the table is a data row; the first entry's
    // bytes begin with the address of its case.
    int rows = 0;
    while (list->GetItemText(row + 1 + rows).find(" DB ") != std::string::npos)
        ++rows;
    EXPECT_GE(rows, 2) << list->GetItemText(row + 1);
    // Shown from below, the call's row comes to the top with the table under it.
    assembly->ShowPcInAssembly(uint16_t(g_ListingModel.m_mapSrcRowToAddress.at(row + rows)), 0);
    assembly->ShowPcInAssembly(uint16_t(call), 0);
    EXPECT_EQ(list->GetSelectedItem(), row);
    const std::string entry = list->GetItemText(row + 1);
    const uint32_t firstCase = std::stoul(entry.substr(entry.find("</b> ") + 5, 4), nullptr, 16);
    ASSERT_EQ(g_ListingModel.m_mapAddressToSrcRow.count(firstCase), 1u) << entry;
    const int caseRow = g_ListingModel.m_mapAddressToSrcRow.at(firstCase);
    EXPECT_EQ(list->GetItemText(caseRow).find(" DB "), std::string::npos);
    EXPECT_LE(list->GetItemRect(row + 1).GetBottom(), list->GetClientSize().y) << "in view";
    guitest::SaveScreenshot(frame, "app_switch_case_table");
    Command(cmd::kClose);
}
