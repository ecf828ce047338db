// The memory panes in the running debugger on the simulated board: without a
// project nothing is read; after a stop the IData pane equals the board's
// internal RAM and SFRs; a Read of external memory from a non-zero start
// shows the board's bytes and leaves the variables' copy alone; edits typed
// into the IData, External and Flash panes reach the board and survive the
// next stop (F10 pressed in a memory grid); the Code pane shows code memory
// up to the project's end; close puts the panes back.
#include "app_gui_fixture.h"
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
#include "symbol_lookup.h"
#include "target_flags.h"
#include "target_messages.h"
#include "wx_command_ids.h"

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace appgui;

namespace {

using Rows = std::vector<std::vector<std::string>>;
enum { kChar = 40040, kInt = 40041, kLong = 40042, kRead = 40076, kWrite = 40085 };

// The pane in front, showing its grid of the width command's width.
void ShowInWidth(CMemoryWnd* pane, int widthCommand) {
    wxAuiNotebook* group = Frame()->TabGroup();
    group->SetSelection(size_t(group->GetPageIndex(pane)));
    Command(widthCommand, pane);
    guitest::PumpEvents(100);
}

std::vector<uint8_t> BoardBytes(int memory, uint32_t address, uint32_t count = 1) {
    std::vector<uint8_t> bytes(count);
    Board().ReadMemory(memory, address, bytes.data(), count);
    return bytes;
}

// The rows a grid of `digits` digits shows for `bytes` from `start` on.
Rows ExpectedRows(const std::vector<uint8_t>& bytes, uint32_t start, int digits) {
    Rows rows;
    for (size_t at = 0; at < bytes.size(); at += kBytesPerRow) {
        rows.push_back({RowLabel(start + uint32_t(at))});
        for (size_t cell = at; cell < at + kBytesPerRow; cell += size_t(digits) / 2)
            rows.back().push_back(CellText(&bytes[cell], digits));
    }
    return rows;
}

Rows GridRows(const CListMemoryCtrl* grid) {
    Rows rows(size_t(grid->GetItemCount()));
    for (size_t row = 0; row < rows.size(); ++row)
        for (int column = 0; column < grid->GetColumnCount(); ++column)
            rows[row].push_back(grid->GetItemText(int(row), column));
    return rows;
}

void Type(const char* keys, int key = 0) {
    wxUIActionSimulator simulator;
    if (*keys) simulator.Text(keys);
    if (key) simulator.Char(key);
    guitest::PumpEvents(100);
}

// A click selects the row, the next one opens the cell's editor; then the
// digits and Enter.
void EditCell(CListMemoryCtrl* grid, int row, int column, const char* digits) {
    grid->EnsureRowVisible(row);
    guitest::PumpEvents(50);
    wxUIActionSimulator simulator;
    const wxRect cell = grid->GetCellRect(row, column);
    simulator.MouseMove(grid->GetBody()->ClientToScreen(cell.GetLeftTop() + wxPoint(8, 6)));
    for (int click = 0; click < 2 && !grid->IsEditing(); ++click) {
        simulator.MouseClick();
        guitest::PumpEvents(100);
    }
    ASSERT_TRUE(grid->IsEditing());
    Type(digits, WXK_RETURN);
    EXPECT_FALSE(grid->IsEditing());
}

struct Road {
    std::string project;
    // The statement of main() the breakpoint goes on (empty: main's first
    // line with code); F10 goes from there to the next line with code.
    std::string statement;
    std::string untouched; // a variable in internal RAM the road leaves alone
    std::string screenshot;
};

} // namespace

class MemoryPanes : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        if (HasFatalFailure()) return;
        Frame()->Aui().GetPane("BreakPointGroup").MinSize(wxSize(880, 360));
        Frame()->Aui().Update();
        guitest::PumpEvents(100);
    }
    void MemoryRoad(const Road& road);

    platform::RecordingMessageService messages;
};

void MemoryPanes::MemoryRoad(const Road& road) {
    CInternalMemoryWnd* idata = g_pInternalMemoryWnd;
    CExternalMemoryWnd* external = g_pExternalMemoryWnd;
    CFlashMemoryWnd* flash = g_pFlashMemoryWnd;
    CCodeMemoryWnd* code = g_pCodeMemoryWnd;

    // Without a project Read and Enter in the IData pane read nothing.
    ShowInWidth(external, kLong);
    const Rows zeros = GridRows(external->ShownGrid());
    Command(kRead, external);
    ShowInWidth(idata, kChar);
    PressKey(WXK_RETURN, idata->ShownGrid()->GetBody());
    EXPECT_EQ(messages.Texts(), std::vector<std::string>(2, kFlashPaneNotReadyText));
    EXPECT_EQ(GridRows(external->ShownGrid()), zeros);
    EXPECT_EQ(zeros.back(), (std::vector<std::string>{"0x0000f0 : ", "00000000", "00000000",
                                                      "00000000", "00000000"}));
    // The right-click menu marks the width in force.
    std::unique_ptr<wxMenu> menu(external->CreateWidthMenu());
    menu->UpdateUI(external);
    EXPECT_TRUE(menu->IsChecked(WxCommandId(kLong)));
    EXPECT_FALSE(menu->IsChecked(WxCommandId(kChar)));

    OpenProject(road.project);
    ASSERT_TRUE(g_bProjectLoaded) << ::testing::PrintToString(messages.Texts());
    Command(cmd::kImageLoad);
    ASSERT_EQ(messages.Texts().back(), kFlashWriteOkText);
    const DisasmLoader& disassembly = *wxGetApp().Loader()->m_pDisasmLoader;
    EXPECT_EQ(code->EndAddressEdit()->GetValue(), CodeEndAddressText(disassembly));
    const SourcePosition breakAt = LineInMain(road.project, road.statement);
    ASSERT_NE(breakAt.line, 0) << road.statement;
    const int nextLine = NextLineWithCode(breakAt.file, breakAt.line);
    const SymbolInfo* untouched = LookupSymbol(road.untouched, kSelectData);
    ASSERT_NE(untouched, nullptr) << road.untouched;
    const uint32_t freeRamByte = untouched->m_dwAddress;
    ASSERT_LT(freeRamByte, 0x80u) << road.untouched;

    // A Flash edit stays on the host until Write programs it (the program
    // then starts again from its reset address).
    ShowInWidth(flash, kChar);
    Command(kRead, flash);
    ASSERT_EQ(flash->ShownGrid()->GetItemCount(), 4096);
    EditCell(flash->ShownGrid(), 0x800, 1, "a7");
    EXPECT_EQ(flash->ShownGrid()->GetItemText(0x800, 0), "0xff8000 : ");
    EXPECT_EQ(BoardBytes(SIMBOARD_CODE_FLASH, 0x8000)[0], 0xFF);
    Command(kWrite, flash);
    EXPECT_EQ(messages.Texts().back(), kFlashWriteOkText);
    EXPECT_EQ(BoardBytes(SIMBOARD_CODE_FLASH, 0x8000)[0], 0xA7);

    // F9 and F5: the program stops at the breakpoint, and the IData pane
    // equals the board's internal RAM and SFRs in each width.
    CSourceWindows* sources = wxGetApp().SourceWindows();
    CSourceWindow* source = sources->Find(breakAt.file);
    ASSERT_NE(source, nullptr) << breakAt.file;
    sources->ActivateView(source);
    source->Editor()->GotoLine(breakAt.line - 1);
    PressKey(WXK_F9, source->Editor());
    PressKey(WXK_F5, source->Editor());
    ASSERT_TRUE(WaitIdle());
    const std::vector<uint8_t> board = BoardInternalBytes();
    for (int command : {kChar, kInt, kLong}) {
        ShowInWidth(idata, command);
        EXPECT_EQ(GridRows(idata->ShownGrid()), ExpectedRows(board, 0, idata->CellWidth()));
    }

    // External memory read from 0x0100, typed as the user does ("g" is no
    // address character; Enter reads): the board's bytes, and the copy the
    // variables are read from stays as the stop left it.
    std::vector<uint8_t> pattern(0x40);
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = uint8_t(i * 13 + 1);
    Board().WriteMemory(SIMBOARD_XDATA, 0x0100, pattern.data(), uint32_t(pattern.size()));
    const auto variables = g_ExternalDataImage;
    ShowInWidth(external, kChar);
    external->StartAddressEdit()->SetFocus();
    external->StartAddressEdit()->SelectAll();
    Type("0x0001g00");
    EXPECT_EQ(external->StartAddressEdit()->GetValue(), "0x000100");
    external->EndAddressEdit()->SetFocus();
    external->EndAddressEdit()->SelectAll();
    Type("0x00013F", WXK_RETURN);
    EXPECT_EQ(GridRows(external->ShownGrid()), ExpectedRows(pattern, 0x0100, kCharCells));
    EXPECT_EQ(g_ExternalDataImage, variables);

    // Edits reach the board at once; every cell left after typing is
    // written, by Enter, by Tab and by Down.
    EditCell(external->ShownGrid(), 0, 6, "c3");
    ASSERT_TRUE(external->ShownGrid()->StartEdit(0, 7));
    Type("e5", WXK_TAB);
    Type("f6", WXK_DOWN);
    EXPECT_EQ(external->ShownGrid()->GetEditRow(), 1);
    Type("", WXK_ESCAPE);
    EXPECT_EQ(BoardBytes(SIMBOARD_XDATA, 0x0105, 3), (std::vector<uint8_t>{0xC3, 0xE5, 0xF6}));
    ShowInWidth(idata, kChar);
    const int row = int(freeRamByte / kBytesPerRow);
    const int column = int(freeRamByte % kBytesPerRow) + 1;
    EditCell(idata->ShownGrid(), row, column, "5a");
    EXPECT_EQ(BoardBytes(SIMBOARD_IRAM, freeRamByte)[0], 0x5A);

    // F10 with the focus in a memory grid runs Next; the edits survive the stop.
    PressKey(WXK_F10, idata->ShownGrid()->GetBody());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(source->Editor()->MarkerNext(0, 1 << marker::kCurrentPc) + 1, nextLine);
    EXPECT_EQ(idata->ShownGrid()->GetItemText(row, column), "5A");
    EXPECT_EQ(BoardBytes(SIMBOARD_IRAM, freeRamByte)[0], 0x5A);
    EXPECT_EQ(BoardBytes(SIMBOARD_XDATA, 0x0105)[0], 0xC3);
    EXPECT_EQ(BoardBytes(SIMBOARD_CODE_FLASH, 0x8000)[0], 0xA7);

    // The Code pane reads code memory and shows it up to the project's end.
    ShowInWidth(code, kInt);
    Command(kRead, code);
    const Rows shown = GridRows(code->ShownGrid());
    ASSERT_EQ(shown.size(), size_t((disassembly.m_dwHighestAddress + 16) / kBytesPerRow + 1));
    const Rows expected =
        ExpectedRows(BoardBytes(SIMBOARD_CODE_FLASH, 0, uint32_t(shown.size() - 1) * kBytesPerRow),
                     0, kIntCells);
    EXPECT_EQ(Rows(shown.begin(), shown.end() - 1), expected);

    const char* names[] = {"idata", "external", "flash", "code"};
    int pane = 0;
    for (CMemoryWnd* window : std::initializer_list<CMemoryWnd*>{idata, external, flash, code}) {
        for (int command : {kChar, kInt, kLong}) {
            ShowInWidth(window, command);
            EXPECT_FALSE(guitest::SaveScreenshot(window, road.screenshot + "_" + names[pane] + "_" +
                                                             std::to_string(window->CellWidth()))
                             .empty());
        }
        ++pane;
    }

    // Close: the IData and External grids are zeros again, each pane has its
    // ranges of a debugger without a project.
    Command(cmd::kClose);
    ASSERT_FALSE(g_bProjectLoaded);
    EXPECT_EQ(GridRows(idata->ShownGrid()),
              ExpectedRows(std::vector<uint8_t>(0x100, 0), 0, idata->CellWidth()));
    EXPECT_EQ(GridRows(external->ShownGrid()),
              ExpectedRows(std::vector<uint8_t>(0x100, 0), 0, external->CellWidth()));
    EXPECT_EQ(external->EndAddressEdit()->GetValue(), "0x000100");
    EXPECT_EQ(code->EndAddressEdit()->GetValue(), "0x000000");
    EXPECT_EQ(flash->EndAddressEdit()->GetValue(), "0xFFFFFF");
}

TEST_F(MemoryPanes, TheExampleProject) {
    // main.c: "P1 = ~pattern;", then "history[...] = pattern;"; the error flag
    // stays as it is.
    MemoryRoad({std::string(VEXA_SOURCE_DIR) + "/example/blinky.uv2", "P1 = ~pattern;", "failed",
                "memory_example"});
}

TEST_F(MemoryPanes, TheKeilProject) {
    const std::string project = std::string(VEXA_KEIL_FIXTURES) + "/mcp-prot/prot.Uv2";
    if (!std::ifstream(project).good()) GTEST_SKIP() << "no " << project;
    std::string why;
    if (!BoardRunsProgram(project, why)) GTEST_SKIP() << why;
    // prot.c: main()'s first statement "dc1=0;", then the call "print_wc();";
    // the stored password is read only once the keypad loop has ended.
    MemoryRoad({project, "", "pass", "memory_keil"});
}

TEST_F(MemoryPanes, TheFlashAndCodePanesShowTheLoadedProgram) {
    CFlashMemoryWnd* flash = g_pFlashMemoryWnd;
    CCodeMemoryWnd* code = g_pCodeMemoryWnd;
    // A bare image that reaches code memory's last byte.
    std::vector<uint8_t> top(kBytesPerRow);
    for (size_t i = 0; i < top.size(); ++i)
        top[i] = uint8_t(0xA0 + 3 * i);
    const std::string image =
        WriteTempFile("top.hex", HexRecord(0x0000, {0x02, 0xFF, 0xF0}) + HexRecord(0xFFF0, top) +
                                     ":00000001FF\n");
    // The pane's rows show what the board's flash holds (from `base` on);
    // the last row may end before its last cell.
    auto expectBoard = [](CMemoryWnd* pane, uint32_t base) {
        const Rows shown = GridRows(pane->ShownGrid());
        ASSERT_FALSE(shown.empty());
        const uint32_t count = uint32_t(shown.size()) * kBytesPerRow;
        const Rows board =
            ExpectedRows(BoardBytes(SIMBOARD_CODE_FLASH, 0, count), base, pane->CellWidth());
        EXPECT_EQ(Rows(shown.begin(), shown.end() - 1), Rows(board.begin(), board.end() - 1));
        for (size_t cell = 0; cell < shown.back().size(); ++cell) {
            if (!shown.back()[cell].empty()) {
                EXPECT_EQ(shown.back()[cell], board.back()[cell]) << "cell " << cell;
            }
        }
    };
    const Rows zeros = GridRows(code->ShownGrid());

    // Open: the Code pane ends at 0xffff and both panes show what the board
    // holds, without a Read.
    OpenProject(image);
    ASSERT_TRUE(g_bProjectLoaded) << ::testing::PrintToString(messages.Texts());
    EXPECT_EQ(code->EndAddressEdit()->GetValue(), "0xffff");
    expectBoard(code, 0);
    expectBoard(flash, kFlashWindow);

    // Image Load: both show the image, its last row included; Read takes
    // the range.
    Command(cmd::kImageLoad);
    ASSERT_EQ(messages.Texts().back(), kFlashWriteOkText);
    ASSERT_EQ(BoardBytes(SIMBOARD_CODE_FLASH, 0xFFF0, kBytesPerRow), top);
    expectBoard(code, 0);
    expectBoard(flash, kFlashWindow);
    Command(kRead, code);
    EXPECT_EQ(code->StartAddressEdit()->GetValue(), "0x000000");
    EXPECT_EQ(code->EndAddressEdit()->GetValue(), "0xffff");
    ASSERT_EQ(code->ShownGrid()->GetItemCount(), 0x1000);
    EXPECT_EQ(GridRows(code->ShownGrid()).back(), ExpectedRows(top, 0xFFF0, code->CellWidth())[0]);
    for (CMemoryWnd* pane : std::initializer_list<CMemoryWnd*>{code, flash}) {
        ShowInWidth(pane, kChar);
        pane->ShownGrid()->EnsureRowVisible(pane->ShownGrid()->GetItemCount() - 1);
        guitest::SaveScreenshot(pane,
                                pane == code ? "memory_code_last_row" : "memory_flash_last_row");
    }

    // Close empties them; the next program's Image Load shows its bytes,
    // and the last row is erased flash, not the closed program's.
    Command(cmd::kClose);
    ShowInWidth(code, kLong);
    ShowInWidth(flash, kLong);
    EXPECT_EQ(GridRows(code->ShownGrid()), zeros);
    EXPECT_EQ(GridRows(flash->ShownGrid()), zeros);
    OpenProject(std::string(VEXA_SOURCE_DIR) + "/example/blinky.uv2");
    ASSERT_TRUE(g_bProjectLoaded);
    Command(cmd::kImageLoad);
    ASSERT_EQ(messages.Texts().back(), kFlashWriteOkText);
    expectBoard(code, 0);
    expectBoard(flash, kFlashWindow);
    EXPECT_EQ(
        GridRows(flash->ShownGrid()).back(),
        (std::vector<std::string>{"0xfffff0 : ", "FFFFFFFF", "FFFFFFFF", "FFFFFFFF", "FFFFFFFF"}));
}
