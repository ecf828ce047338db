// What the windows show of every real project's program on the simulated
// board: the grey code-line marker on each line whose code maps back to it,
// painted as the user pages through each file, from Open and through Reload;
// the Assembly pane's arrow and selection on the board's PC's instruction row
// after Next over every switch, and on no row when the PC has none (inside an
// instruction, past the image, on bytes the listing shows as data).
#include "app_gui_fixture.h"
#include "assemble_view.h"
#include "command_ids.h"
#include "gui_test.h"
#include "html_list_ctrl.h"
#include "listing_model.h"
#include "main_frame.h"
#include "message_service.h"
#include "my_quillet_app.h"
#include "pc_model.h"
#include "project_loader.h"
#include "run_lookups.h"
#include "scintilla_wnd.h"
#include "sim_board.h"
#include "source_window.h"
#include "source_windows.h"
#include "target_flags.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <map>

using namespace appgui;

namespace {

// The rows of `list` on the screen painted with the PC's arrow (the row
// images' amber) and with the selection's yellow.
std::pair<std::vector<int>, std::vector<int>> PaintedPcRows(CHTMLListCtrl* list) {
    std::vector<int> arrow, selected;
    wxImage image;
    EXPECT_TRUE(guitest::GrabWindow(list, image, 30));
    const wxPoint at = list->ClientToScreen(wxPoint(0, 0)) - list->GetScreenPosition();
    const wxRect shown = wxRect(list->GetClientSize())
                             .Intersect(wxRect(-at.x, -at.y, image.GetWidth(), image.GetHeight()));
    for (int id = 0; id < list->GetItemCount(); ++id) {
        const wxRect row = list->GetItemRect(id).Intersect(shown);
        int amber = 0, yellow = 0;
        for (int y = row.y; y <= row.GetBottom(); ++y)
            for (int x = row.x; x <= row.GetRight(); ++x) {
                const int r = image.GetRed(x + at.x, y + at.y),
                          g = image.GetGreen(x + at.x, y + at.y),
                          b = image.GetBlue(x + at.x, y + at.y);
                amber += r > 240 && g > 200 && g < 235 && b < 60;
                yellow += r > 240 && g > 245 && b < 30;
            }
        if (amber > 10) arrow.push_back(id);
        if (!row.IsEmpty() && yellow > row.width) selected.push_back(id);
    }
    return {arrow, selected};
}

// The lines on the screen of `editor`, from `first` to `last`, whose cell
// in the marker margin is painted with the code-line marker's grey.
std::vector<int> PaintedCodeMarkers(CScintillaWnd* editor, int& first, int& last) {
    std::vector<int> grey;
    wxImage image;
    EXPECT_TRUE(guitest::GrabWindow(editor, image, 50));
    const wxPoint at = editor->ClientToScreen(wxPoint(0, 0)) - editor->GetScreenPosition();
    const int left = editor->GetMarginWidth(0), right = left + editor->GetMarginWidth(1);
    const int height = editor->TextHeight(0);
    first = editor->GetFirstVisibleLine() + 1;
    last = std::min(editor->GetLineCount(), first + editor->LinesOnScreen() - 1);
    for (int line = first; line <= last && image.IsOk(); ++line) {
        const int top = editor->PointFromPosition(editor->PositionFromLine(line - 1)).y + at.y;
        int count = 0;
        for (int y = top; y < std::min(top + height, image.GetHeight()); ++y)
            for (int x = left + at.x; x < right + at.x; ++x)
                count += image.GetRed(x, y) == 0xCD && image.GetGreen(x, y) == 0xCD &&
                         image.GetBlue(x, y) == 0xCD;
        if (count > 4) grey.push_back(line);
    }
    return grey;
}

class RealProjects : public FrameTest {
protected:
    const DisasmLoader& Disassembly() { return *wxGetApp().Loader()->m_pDisasmLoader; }

    // Each project file's window against the line tables: a line carries the
    // code marker (or marker 4 in its place) when its address's line is it.
    // How many lines carry one.
    int ExpectCodeLinesMarked() {
        const unsigned codeMarkers = 1u << marker::kCodeLine | 1u << marker::kMarkedCodeLine;
        int marked = 0;
        for (const CIndexTable& file : g_IndexTableList) {
            CSourceWindow* window = wxGetApp().SourceWindows()->Find(file.m_strFileName);
            if (!window) ADD_FAILURE() << "no window shows " << file.m_strFileName;
            std::vector<bool> code(file.Count() + 1);
            for (uint32_t line = 1; window && line <= file.Count(); ++line) {
                const std::string key = file.m_strFileName + ":" + std::to_string(line);
                const uint32_t address = AddressOfLine(key);
                code[line] = address != kNoAddress && LineOfAddress(address) == key;
                EXPECT_EQ(bool(window->Editor()->MarkerGet(int(line) - 1) & codeMarkers),
                          code[line])
                    << key;
                marked += code[line];
                if (code[line] && marked % 100 == 50) shownLine = {window, int(line)};
            }
            if (window) ExpectCodeMarkersPainted(window, code);
        }
        return marked;
    }

    // The user brings the window to the front, clicks into its text, goes to
    // its top and pages down to its end: every line comes on the screen, and
    // the margin paints the grey marker on each code line that no breakpoint
    // or PC marker covers, and on no other line.
    void ExpectCodeMarkersPainted(CSourceWindow* window, const std::vector<bool>& code) {
        const unsigned covering = 1u << marker::kBreakpoint | 1u << marker::kCurrentPc;
        CScintillaWnd* editor = window->Editor();
        wxGetApp().SourceWindows()->ActivateView(window);
        guitest::PumpEvents(100);
        wxUIActionSimulator user;
        user.MouseMove(editor->GetScreenPosition() + wxPoint(editor->GetSize().x / 2, 40));
        user.MouseClick();
        user.Char(WXK_HOME, wxMOD_CONTROL);
        for (int first = 0, last = 0; last < editor->GetLineCount();) {
            const int before = first, shownTo = last;
            const std::vector<int> painted = PaintedCodeMarkers(editor, first, last);
            ASSERT_TRUE(first > before && first <= shownTo + 1)
                << window->Title() << " shows line " << first << " after " << before;
            std::vector<int> uncovered;
            for (int line = first; line <= last; ++line)
                if (line < int(code.size()) && code[line] &&
                    !(editor->MarkerGet(line - 1) & covering))
                    uncovered.push_back(line);
            EXPECT_EQ(painted, uncovered) << window->Title() << " from line " << first;
            if (painted != uncovered) guitest::SaveScreenshot(Frame(), "unpainted_code_marker");
            user.Char(WXK_PAGEDOWN);
        }
    }

    // A window and one of its code lines, for the screenshot.
    std::pair<CSourceWindow*, int> shownLine;

    // Each list's PC row is the row of the board's PC when the listing has an
    // instruction starting there, else none; the shown list paints its arrow
    // and its selection there.
    void ExpectPaneShowsTheBoardPc(const std::string& shot = std::string()) {
        const uint16_t pc = Board().GetPc();
        EXPECT_EQ(ShownPc(), pc);
        const auto text = Disassembly().m_mapInstructions.find(pc);
        const auto pcRow = [&](const std::unordered_map<uint32_t, int32_t>& rows) {
            return rows.count(pc) && !IsDataText(text->second) ? rows.at(pc) : -1;
        };
        CAssembleView* pane = Frame()->AssembleView();
        const int srcRow = pcRow(g_ListingModel.m_mapAddressToSrcRow);
        const int asmRow = pcRow(g_ListingModel.m_mapAddressToAsmRow);
        EXPECT_EQ(pane->SourceList()->GetCurrentItem(), srcRow) << std::hex << pc;
        EXPECT_EQ(pane->AsmList()->GetCurrentItem(), asmRow) << std::hex << pc;
        const int shown = g_bAsmOnly ? asmRow : srcRow;
        const std::vector<int> painted = shown < 0 ? std::vector<int>{} : std::vector<int>{shown};
        EXPECT_EQ(PaintedPcRows(pane->ShownList()), std::make_pair(painted, painted))
            << std::hex << pc;
        if (!shot.empty()) guitest::SaveScreenshot(Frame(), shot);
    }

    // Next from the first instruction of the line of each call of a switch
    // helper; how many there were.
    int NextOverEverySwitch(const std::string& shot) {
        std::map<uint32_t, std::string> calls;
        CodeRange helper;
        for (const auto& [address, text] : Disassembly().m_mapInstructions)
            if (SwitchHelperOfCall(uint16_t(address), helper) && !LineOfAddress(address).empty())
                calls[address] = LineOfAddress(address);
        for (auto [call, line] : calls) {
            SCOPED_TRACE(line);
            EditPc(uint16_t(AddressOfLine(line)));
            ExpectPaneShowsTheBoardPc();
            PressKeyUntilIdle(WXK_F10, Frame()->AssembleView()->ShownList());
            ExpectPaneShowsTheBoardPc(shot + "_" + line.replace(line.find(':'), 1, "_"));
        }
        return int(calls.size());
    }

    // "PC $" inside the first instruction of several bytes and past the
    // image, and a Stepi onto the first data line that an instruction before
    // it steps onto. Whether such a Stepi came.
    bool OffTheListing(const std::string& shot) {
        const auto& texts = Disassembly().m_mapInstructions;
        const std::map<uint32_t, std::string> ordered(texts.begin(), texts.end());
        std::vector<uint32_t> rowless{Disassembly().m_dwHighestAddress + 16};
        for (const auto& [address, text] : ordered)
            if (text.find(' ') >= 4 && !IsDataText(text) && !texts.count(address + 1)) {
                rowless.insert(rowless.begin(), address + 1);
                break;
            }
        for (uint32_t pc : rowless) {
            EditPc(uint16_t(pc));
            ExpectPaneShowsTheBoardPc(pc == rowless.front() ? shot + "_inside" : std::string());
        }
        int tries = 0;
        for (auto at = ordered.begin(); at != ordered.end() && tries < 4; ++at) {
            const auto next = std::next(at);
            if (next == ordered.end() || !IsDataText(next->second) || IsDataText(at->second) ||
                at->first + at->second.find(' ') / 2 != next->first)
                continue;
            ++tries;
            EditPc(uint16_t(at->first));
            PressKey(WXK_F8, Frame()->AssembleView()->ShownList());
            if (Board().GetPc() != next->first) continue;
            ExpectPaneShowsTheBoardPc(shot + "_on_data");
            return true;
        }
        return false;
    }

    platform::RecordingMessageService messages;
};

} // namespace

TEST_F(RealProjects, CodeLinesMarkedAndThePcRowWhereTheBoardIs) {
    std::vector<std::string> projects = RealProjectFiles();
    projects.push_back(std::string(VEXA_SOURCE_DIR) + "/example/blinky.uv2");
    int marked = 0, switches = 0, onData = 0;
    for (const std::string& project : projects) {
        SCOPED_TRACE(project);
        // A project whose listings lack their symbols opens as its bare image.
        OpenProject(project);
        ASSERT_TRUE(g_bProjectLoaded) << ::testing::PrintToString(messages.Texts());
        shownLine = {};
        const int atOpen = ExpectCodeLinesMarked();
        Command(cmd::kReload);
        EXPECT_EQ(ExpectCodeLinesMarked(), atOpen);
        marked += atOpen;
        const std::filesystem::path path(project);
        const std::string shot =
            "real_" + path.parent_path().filename().string() + "_" + path.stem().string();
        if (auto [window, line] = shownLine; window) {
            wxGetApp().SourceWindows()->ActivateView(window);
            window->Editor()->ScrollToLine(line - 10);
        }
        guitest::SaveScreenshot(Frame(), shot + "_code_lines");

        Command(cmd::kImageLoad);
        ExpectPaneShowsTheBoardPc();
        if (!g_bHexOnly) switches += NextOverEverySwitch(shot + "_after_switch");
        onData += OffTheListing(shot + "_pc");
        Command(cmd::kClose);
        messages.shown.clear();
        if (HasFailure()) return;
    }
    EXPECT_GT(marked, 0);
    std::printf("%d code lines marked, %d Next over a switch, %d Stepi onto data\n", marked,
                switches, onData);
}
