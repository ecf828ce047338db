// The memory panes in the running debugger on the simulated board: after a
// stop the IData pane equals the board's internal RAM and SFRs, a Read of
// external memory from a non-zero start shows the board's bytes and leaves
// the variables' copy alone, edits typed into the IData, External and Flash
// panes reach the board and survive the next stop (F10 pressed in a memory
// grid), the Code pane shows code memory up to the project's end, and
// closing the project puts the panes back.
#include "command_ids.h"
#include "disasm_loader.h"
#include "gui_test.h"
#include "host_memory.h"
#include "list_memory_ctrl.h"
#include "main_frame.h"
#include "memory_cells.h"
#include "memory_wnd.h"
#include "message_service.h"
#include "my_quillet_app.h"
#include "pc_model.h"
#include "project_loader.h"
#include "project_views.h"
#include "scintilla_wnd.h"
#include "sim_board.h"
#include "source_window.h"
#include "source_windows.h"
#include "target_flags.h"
#include "target_messages.h"
#include "wx_command_ids.h"

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/stopwatch.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kKeilProject = std::string(VEXA_KEIL_FIXTURES) + "/mcp-prot/prot.Uv2";
const std::string kExampleProject = std::string(VEXA_SOURCE_DIR) + "/example/blinky.uv2";

using Rows = std::vector<std::vector<std::string>>;

// One project's road: the breakpoint, the line F10 goes to from it, and an
// internal RAM byte the program leaves alone.
struct Road {
    std::string project;
    std::string window;
    int breakLine;
    int nextLine;
    uint32_t freeRamByte;
    std::string screenshot;
};

CMainFrame* Frame() {
    return wxGetApp().Frame();
}

void Command(int command) {
    wxCommandEvent event(wxEVT_MENU, WxCommandId(command));
    Frame()->ProcessWindowEvent(event);
    guitest::PumpEvents(50);
}

void PaneCommand(CMemoryWnd* pane, int command) {
    wxCommandEvent event(wxEVT_MENU, WxCommandId(command));
    pane->ProcessWindowEvent(event);
    guitest::PumpEvents(50);
}

bool WaitIdle(int ms = 5000) {
    wxStopWatch watch;
    while (g_bTargetBusy && watch.Time() < ms)
        guitest::PumpEvents(20);
    guitest::PumpEvents(50);
    return !g_bTargetBusy;
}

// Keys go to the window under the pointer's window's focus.
void PressKey(int key, wxWindow* focus) {
    wxUIActionSimulator simulator;
    focus->SetFocus();
    simulator.MouseMove(focus->GetScreenPosition() + wxPoint(40, 40));
    guitest::PumpEvents(50);
    simulator.Char(key);
    guitest::PumpEvents(100);
}

int PcLine(CSourceWindow* window) {
    int line = window->Editor()->MarkerNext(0, 1 << marker::kCurrentPc);
    return line < 0 ? 0 : line + 1;
}

void ShowPane(CMemoryWnd* pane) {
    wxAuiNotebook* group = Frame()->TabGroup();
    group->SetSelection(size_t(group->GetPageIndex(pane)));
    guitest::PumpEvents(100);
}

std::vector<uint8_t> BoardBytes(int memory, uint32_t address, uint32_t count) {
    std::vector<uint8_t> bytes(count);
    Board().ReadMemory(memory, address, bytes.data(), count);
    return bytes;
}

uint8_t BoardByte(int memory, uint32_t address) {
    return BoardBytes(memory, address, 1)[0];
}

// The rows a grid of `digits` digits shows for `bytes` from `start` on.
Rows ExpectedRows(const std::vector<uint8_t>& bytes, uint32_t start, int digits) {
    Rows rows;
    for (size_t at = 0; at < bytes.size(); at += kBytesPerRow) {
        std::vector<std::string> row{RowLabel(start + uint32_t(at))};
        for (size_t cell = at; cell < at + kBytesPerRow; cell += size_t(digits) / 2)
            row.push_back(CellText(&bytes[cell], digits));
        rows.push_back(row);
    }
    return rows;
}

Rows GridRows(const CListMemoryCtrl* grid) {
    Rows rows;
    for (int row = 0; row < grid->GetItemCount(); ++row) {
        std::vector<std::string> texts;
        for (int column = 0; column < grid->GetColumnCount(); ++column)
            texts.push_back(grid->GetItemText(row, column));
        rows.push_back(texts);
    }
    return rows;
}

// Types into an edit as the user does: everything selected, then the keys.
void TypeInto(wxTextCtrl* edit, const std::string& keys) {
    edit->SetFocus();
    edit->SelectAll();
    guitest::PumpEvents(30);
    wxUIActionSimulator simulator;
    simulator.Text(keys.c_str());
    guitest::PumpEvents(80);
}

// Opens the editor on a cell with the mouse (a click selects the row, the
// next one edits), types the digits and presses Enter.
void EditCell(CListMemoryCtrl* grid, int row, int column, const std::string& digits) {
    grid->EnsureRowVisible(row);
    guitest::PumpEvents(50);
    wxUIActionSimulator simulator;
    const wxRect cell = grid->GetCellRect(row, column);
    simulator.MouseMove(grid->GetBody()->ClientToScreen(cell.GetLeftTop() + wxPoint(8, 6)));
    guitest::PumpEvents(30);
    for (int click = 0; click < 2 && !grid->IsEditing(); ++click) {
        simulator.MouseClick();
        guitest::PumpEvents(100);
    }
    ASSERT_TRUE(grid->IsEditing());
    simulator.Text(digits.c_str());
    guitest::PumpEvents(50);
    simulator.Char(WXK_RETURN);
    guitest::PumpEvents(100);
    EXPECT_FALSE(grid->IsEditing());
}

void ScreenshotEachWidth(CMemoryWnd* pane, const std::string& name) {
    // Named after the pane: idata, external, flash or code.
    ShowPane(pane);
    for (int command : {40040, 40041, 40042}) {
        PaneCommand(pane, command);
        guitest::PumpEvents(100);
        EXPECT_FALSE(
            guitest::SaveScreenshot(pane, name + "_" + std::to_string(pane->CellWidth())).empty());
    }
}

} // namespace

class MemoryPanes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Frame(), nullptr)
            << "an earlier test closed the frame (run one test per process)";
        Frame()->Raise();
        // Room for the panes' rows.
        Frame()->Aui().GetPane("BreakPointGroup").MinSize(wxSize(880, 360));
        Frame()->Aui().Update();
        guitest::PumpEvents(100);
    }

    void Open(const std::string& path) {
        wxGetApp().ProjectViews()->SetNextProjectPath(path);
        Command(cmd::kOpen);
        guitest::PumpEvents(200);
    }

    void MemoryRoad(const Road& road);

    platform::RecordingMessageService messages;
};

void MemoryPanes::MemoryRoad(const Road& road) {
    Open(road.project);
    ASSERT_TRUE(g_bProjectLoaded) << ::testing::PrintToString(messages.Texts());
    Command(cmd::kImageLoad);
    ASSERT_EQ(messages.Texts().back(), kFlashWriteOkText);

    // Project open set the Code pane's end: the highest code address + 16.
    const DisasmLoader& disassembly = *wxGetApp().Loader()->m_pDisasmLoader;
    EXPECT_EQ(g_pCodeMemoryWnd->EndAddressEdit()->GetValue(), CodeEndAddressText(disassembly));

    // The Flash pane's edit stays on the host until Write programs it (the
    // program starts again from its reset address after that).
    CFlashMemoryWnd* flash = g_pFlashMemoryWnd;
    ShowPane(flash);
    PaneCommand(flash, 40040);
    PaneCommand(flash, 40076);
    ASSERT_EQ(flash->ShownGrid()->GetItemCount(), 4096);
    EditCell(flash->ShownGrid(), 0x800, 1, "a7");
    EXPECT_EQ(flash->ShownGrid()->GetItemText(0x800, 0), "0xff8000 : ");
    EXPECT_EQ(BoardByte(SIMBOARD_CODE_FLASH, 0x8000), 0xFF);
    PaneCommand(flash, 40085);
    EXPECT_EQ(messages.Texts().back(), kFlashWriteOkText);
    EXPECT_EQ(BoardByte(SIMBOARD_CODE_FLASH, 0x8000), 0xA7);

    // F9 and F5: the program stops at the breakpoint.
    CSourceWindows* sources = wxGetApp().SourceWindows();
    CSourceWindow* source = sources->Find(road.window);
    ASSERT_NE(source, nullptr);
    sources->ActivateView(source);
    source->Editor()->GotoLine(road.breakLine - 1);
    PressKey(WXK_F9, source->Editor());
    PressKey(WXK_F5, source->Editor());
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(PcLine(source), road.breakLine);

    // The IData pane equals the board's internal RAM and SFRs in each width.
    CInternalMemoryWnd* idata = g_pInternalMemoryWnd;
    std::vector<uint8_t> board = BoardBytes(SIMBOARD_IRAM, 0, 0x80);
    const std::vector<uint8_t> sfrs = BoardBytes(SIMBOARD_SFR, 0x80, 0x80);
    board.insert(board.end(), sfrs.begin(), sfrs.end());
    ShowPane(idata);
    for (int command : {40040, 40041, 40042}) {
        PaneCommand(idata, command);
        EXPECT_EQ(GridRows(idata->ShownGrid()), ExpectedRows(board, 0, idata->CellWidth()))
            << idata->CellWidth();
    }

    // A Read of external memory from 0x0100 shows the board's bytes; the
    // copy the variables are read from stays as the stop left it.
    CExternalMemoryWnd* external = g_pExternalMemoryWnd;
    std::vector<uint8_t> pattern(0x40);
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = uint8_t(i * 13 + 1);
    Board().WriteMemory(SIMBOARD_XDATA, 0x0100, pattern.data(), uint32_t(pattern.size()));
    const auto variables = g_ExternalDataImage;
    ShowPane(external);
    PaneCommand(external, 40040);
    TypeInto(external->StartAddressEdit(), "0x0001g00");
    EXPECT_EQ(external->StartAddressEdit()->GetValue(), "0x000100") << "g is no address digit";
    TypeInto(external->EndAddressEdit(), "0x00013F");
    wxUIActionSimulator().Char(WXK_RETURN); // Enter in an address edit reads
    guitest::PumpEvents(100);
    EXPECT_EQ(GridRows(external->ShownGrid()), ExpectedRows(pattern, 0x0100, kCharCells));
    EXPECT_EQ(g_ExternalDataImage, variables);

    // Edits typed into the IData and External panes reach the board at once.
    PaneCommand(idata, 40040);
    ShowPane(idata);
    const int ramRow = int(road.freeRamByte / kBytesPerRow);
    const int ramColumn = int(road.freeRamByte % kBytesPerRow) + 1;
    EditCell(idata->ShownGrid(), ramRow, ramColumn, "5a");
    EXPECT_EQ(BoardByte(SIMBOARD_IRAM, road.freeRamByte), 0x5A);
    ShowPane(external);
    EditCell(external->ShownGrid(), 0, 6, "c3");
    EXPECT_EQ(BoardByte(SIMBOARD_XDATA, 0x0105), 0xC3);
    EXPECT_EQ(external->ShownGrid()->GetItemText(0, 6), "C3");
    // Every cell left after typing is written: by Tab and by Down too.
    CListMemoryCtrl* grid = external->ShownGrid();
    ASSERT_TRUE(grid->StartEdit(0, 7));
    guitest::PumpEvents(50);
    wxUIActionSimulator simulator;
    simulator.Text("e5");
    guitest::PumpEvents(50);
    simulator.Char(WXK_TAB);
    guitest::PumpEvents(80);
    simulator.Text("f6");
    guitest::PumpEvents(50);
    simulator.Char(WXK_DOWN);
    guitest::PumpEvents(80);
    EXPECT_EQ(BoardBytes(SIMBOARD_XDATA, 0x0106, 2), (std::vector<uint8_t>{0xE5, 0xF6}));
    EXPECT_EQ(grid->GetEditRow(), 1);
    simulator.Char(WXK_ESCAPE);
    guitest::PumpEvents(50);

    // F10 with the focus in a memory grid runs Next; the edits survive the stop.
    ShowPane(idata);
    PressKey(WXK_F10, idata->ShownGrid()->GetBody());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(PcLine(source), road.nextLine);
    EXPECT_EQ(BoardByte(SIMBOARD_IRAM, road.freeRamByte), 0x5A);
    EXPECT_EQ(idata->ShownGrid()->GetItemText(ramRow, ramColumn), "5A");
    EXPECT_EQ(BoardByte(SIMBOARD_XDATA, 0x0105), 0xC3);
    EXPECT_EQ(BoardByte(SIMBOARD_CODE_FLASH, 0x8000), 0xA7);

    // The Code pane reads code memory and shows it up to the project's end.
    CCodeMemoryWnd* code = g_pCodeMemoryWnd;
    ShowPane(code);
    PaneCommand(code, 40041);
    PaneCommand(code, 40076);
    const uint32_t end = disassembly.m_dwHighestAddress + 16;
    const Rows shown = GridRows(code->ShownGrid());
    ASSERT_EQ(shown.size(), size_t(end / kBytesPerRow + 1));
    const Rows expected = ExpectedRows(
        BoardBytes(SIMBOARD_CODE_FLASH, 0, uint32_t(shown.size()) * kBytesPerRow), 0, kIntCells);
    for (size_t row = 0; row + 1 < shown.size(); ++row)
        EXPECT_EQ(shown[row], expected[row]) << row;

    for (CMemoryWnd* pane :
         std::initializer_list<CMemoryWnd*>{idata, external, g_pFlashMemoryWnd, code})
        ScreenshotEachWidth(pane,
                            road.screenshot + "_" +
                                pane->Caption().Lower().Trim(false).BeforeFirst(' ').ToStdString());

    // Close: the IData grids are zeros again and each pane has its ranges
    // of a debugger without a project.
    Command(cmd::kClose);
    ASSERT_FALSE(g_bProjectLoaded);
    EXPECT_EQ(GridRows(idata->ShownGrid()),
              ExpectedRows(std::vector<uint8_t>(0x100, 0), 0, idata->CellWidth()));
    EXPECT_EQ(external->EndAddressEdit()->GetValue(), "0x000100");
    EXPECT_EQ(code->EndAddressEdit()->GetValue(), "0x000000");
    EXPECT_EQ(g_pFlashMemoryWnd->EndAddressEdit()->GetValue(), "0xFFFFFF");
}

TEST_F(MemoryPanes, TheExampleProject) {
    // main.c: "P1 = ~pattern;", then "history[...] = pattern;".
    MemoryRoad({kExampleProject, "main.c", 39, 40, 0x60, "memory_example"});
}

TEST_F(MemoryPanes, TheKeilProject) {
    if (!std::ifstream(kKeilProject).good()) GTEST_SKIP() << "no " << kKeilProject;
    // prot.c: main()'s first statement "dc1=0;", then the call "print_wc();".
    MemoryRoad({kKeilProject, "prot.c", 39, 47, 0x7C, "memory_keil"});
}

TEST_F(MemoryPanes, WithoutAProjectNothingIsReadOrWritten) {
    ASSERT_FALSE(g_bProjectLoaded);
    CExternalMemoryWnd* external = g_pExternalMemoryWnd;
    ShowPane(external);
    const Rows zeros = GridRows(external->ShownGrid());
    PaneCommand(external, 40076);
    // The right-click menu offers the widths, the one in force checked.
    std::unique_ptr<wxMenu> menu(external->CreateWidthMenu());
    PaneCommand(external, 40041);
    menu->UpdateUI(external);
    EXPECT_EQ(menu->GetLabelText(WxCommandId(40040)), "CHAR");
    EXPECT_FALSE(menu->IsChecked(WxCommandId(40040)));
    EXPECT_TRUE(menu->IsChecked(WxCommandId(40041)));
    // Enter in the IData pane has the same guard.
    ShowPane(g_pInternalMemoryWnd);
    PressKey(WXK_RETURN, g_pInternalMemoryWnd->ShownGrid()->GetBody());
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{kFlashPaneNotReadyText, kFlashPaneNotReadyText}));
    EXPECT_EQ(GridRows(external->Grid(kLongCells)), zeros);
    EXPECT_EQ(zeros.size(), 16u);
    EXPECT_EQ(zeros[15][0], "0x0000f0 : ");
    EXPECT_EQ(zeros[15][1], "00000000");
}
