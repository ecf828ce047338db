#include "assemble_view.h"

#include "breakpoint_toggle.h"
#include "command_ids.h"
#include "disasm_loader.h"
#include "html_list_ctrl.h"
#include "listing_model.h"
#include "project_loader.h"
#include "project_paths.h"
#include "run_lookups.h"
#include "target_flags.h"
#include "tool_icons.h"
#include "wx_command_ids.h"

#include <wx/dcmemory.h>
#include <wx/imaglist.h>
#include <wx/sizer.h>
#include <wx/toolbar.h>

CAssembleView* g_pAssembleView = nullptr;
int g_nEditorLine = 0;

namespace {

constexpr int kSwitchListsCommand = 40034;
constexpr int kToggleBreakPointCommand = 40044;
const char* const kLimitText = "Failed To Add BreakPoint. MAX = 16";

// The row images: 0 marker, 1 none, 2/3 selected with/without marker, 4/5
// current row without/with marker, 6/7 selected current row without/with.
wxImageList* MakeMarkerImages() {
    const wxSize size(18, 19);
    auto* images = new wxImageList(size.x, size.y, true, 8);
    for (int index = 0; index < 8; ++index) {
        bool marker = index == 0 || index == 2 || index == 5 || index == 7;
        bool current = index >= 4;
        wxBitmap bitmap(size);
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(wxColour(255, 0, 255)));
        dc.Clear();
        if (marker) {
            dc.SetBrush(wxBrush(wxColour(200, 0, 0)));
            dc.SetPen(wxPen(wxColour(120, 0, 0)));
            dc.DrawCircle(9, 9, 6);
        }
        if (current) {
            dc.SetBrush(wxBrush(wxColour(255, 220, 0)));
            dc.SetPen(wxPen(wxColour(100, 80, 0)));
            const wxPoint arrow[] = {{3, 6}, {9, 6}, {9, 2}, {16, 9}, {9, 16}, {9, 12}, {3, 12}};
            dc.DrawPolygon(7, arrow);
        }
        dc.SelectObject(wxNullBitmap);
        images->Add(bitmap, wxColour(255, 0, 255));
    }
    return images;
}

// The row of `list` the PC stands on: the instruction row of its address;
// -1 when the address starts none (outside the image, inside an instruction,
// or on bytes the listing shows as data).
int PcRowIn(const CHTMLListCtrl* list, const std::unordered_map<uint32_t, int32_t>& rows,
            uint16_t pc) {
    auto it = rows.find(pc);
    if (it == rows.end() || it->second >= list->GetItemCount()) return -1;
    if (IsDataText(DisassemblyText(pc))) return -1;
    return it->second;
}

} // namespace

CAssembleView::CAssembleView(wxWindow* parent, int id, const wxString& caption)
    : CDockPane(parent, id, caption) {
    wxToolBar* bar = PaneToolBar();
    bar->AddCheckTool(WxCommandId(kSwitchListsCommand), "Switch Lists", ToolIcon("switch_lists"),
                      wxBitmapBundle(), "Assembly only");
    bar->AddTool(WxCommandId(kToggleBreakPointCommand), "Toggle Break Point",
                 ToolIcon("toggle_break"), "Toggle Break Point");
    bar->Realize();
    bar->Bind(
        wxEVT_TOOL, [this](wxCommandEvent&) { OnToggleView(); }, WxCommandId(kSwitchListsCommand));
    bar->Bind(
        wxEVT_TOOL, [this](wxCommandEvent&) { OnToggleBreakPoint(); },
        WxCommandId(kToggleBreakPointCommand));
    bar->Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) {
            event.Enable(!g_bHexOnly);
            event.Check(g_bAsmOnly == 1);
        },
        WxCommandId(kSwitchListsCommand));

    m_markers.reset(MakeMarkerImages());
    m_srcList = new CHTMLListCtrl(this, 100);
    m_asmList = new CHTMLListCtrl(this, 1000);
    for (CHTMLListCtrl* list : {m_srcList, m_asmList}) {
        list->SetListStyle(7);
        list->SetMarkerImageList(m_markers.get());
        list->Bind(wxEVT_HTMLLIST_DOUBLE_CLICK, [this](CHTMLListEvent&) { OnToggleBreakPoint(); });
    }
    g_bAsmOnly = 0;
    ShowSelectedList();
    g_pAssembleView = this;
}

CAssembleView::~CAssembleView() {
    if (g_pAssembleView == this) g_pAssembleView = nullptr;
}

CHTMLListCtrl* CAssembleView::ShownList() const {
    return g_bAsmOnly ? m_asmList : m_srcList;
}

void CAssembleView::ShowSelectedList() {
    CHTMLListCtrl* shown = ShownList();
    CHTMLListCtrl* hidden = shown == m_srcList ? m_asmList : m_srcList;
    hidden->Hide();
    shown->Show();
    SetControl(shown);
}

void CAssembleView::Fill(const CListingModel& model) {
    ClearAssemblyView();
    for (const std::string& row : model.m_srcRows)
        m_srcList->InsertItem(row, controls::kHtmlTextRow, 0, 0);
    for (const std::string& row : model.m_asmRows)
        m_asmList->InsertItem(row, controls::kHtmlTextRow, 0, 0);
    ShowSelectedList();
}

void CAssembleView::ClearAssemblyView() {
    m_srcList->DeleteAllItems();
    m_asmList->DeleteAllItems();
    ShowSelectedList();
}

void CAssembleView::SelectRow(CHTMLListCtrl* list, int row) {
    if (row < 0 || row >= list->GetItemCount()) return;
    list->SetSelectedItem(row);
    list->EnsureVisible(row);
    list->Refresh(false);
    list->SendSelChangeNotify();
}

void CAssembleView::ShowPcInAssembly(uint16_t pc, int mark) {
    CHTMLListCtrl* list = ShownList();
    // Reload of a bare image sets the flag without a layout: the list the
    // row is shown in must be the one on the screen.
    if (!list->IsShown()) ShowSelectedList();
    if (!mark) {
        // Only the selection moves, to any row of the address.
        const auto& rows =
            g_bAsmOnly ? g_ListingModel.m_mapAddressToAsmRow : g_ListingModel.m_mapAddressToSrcRow;
        auto it = rows.find(pc);
        if (it != rows.end()) SelectRow(list, it->second);
        return;
    }
    // Both lists mark where the PC is, so that a switch of lists shows no
    // older PC; a PC without an instruction row of its own marks none.
    const int srcRow = PcRowIn(m_srcList, g_ListingModel.m_mapAddressToSrcRow, pc);
    const int asmRow = PcRowIn(m_asmList, g_ListingModel.m_mapAddressToAsmRow, pc);
    m_srcList->SetCurrentItem(srcRow);
    m_asmList->SetCurrentItem(asmRow);
    const int row = list == m_asmList ? asmRow : srcRow;
    if (row >= 0) {
        SelectRow(list, row);
        return;
    }
    // Nor does the selection stay behind on the row the PC has left.
    list->SetSelectedItem(-1);
    list->SendSelChangeNotify();
}

void CAssembleView::OnToggleView() {
    g_bAsmOnly = 1 - g_bAsmOnly;
    ShowSelectedList();
    std::string file = activeProjectFile ? activeProjectFile() : std::string(kCantSearch);
    if (file == kCantSearch) return;
    for (const CIndexTable& table : g_IndexTableList) {
        if (table.m_strFileName != file) continue;
        // The caret line may lie beyond the file as it was loaded.
        const IndexEntry* entry = table.Entry(static_cast<uint32_t>(g_nEditorLine + 1));
        if (entry) SelectRow(ShownList(), g_bAsmOnly ? entry->m_nAsmRow : entry->m_nSrcRow);
        return;
    }
}

void CAssembleView::OnToggleBreakPoint() {
    CHTMLListCtrl* list = ShownList();
    int row = list->GetSelectedItem();
    if (row < 0 || row >= list->GetItemCount()) return;
    const auto& addresses =
        g_bAsmOnly ? g_ListingModel.m_mapAsmRowToAddress : g_ListingModel.m_mapSrcRowToAddress;
    auto it = addresses.find(row);
    if (it == addresses.end()) return;
    const uint32_t address = it->second;
    if (g_bAsmOnly && g_bHexOnly) {
        ToggleBreakPointAtAddress(address, ToggleRoad::kAssembly, kLimitText);
        return;
    }
    std::string position = LineOfAddress(address);
    size_t colon = position.find(':');
    if (position.empty() || colon == std::string::npos || !toggleInSource) {
        ToggleBreakPointAtAddress(address, ToggleRoad::kAssembly, kLimitText);
        return;
    }
    toggleInSource(position.substr(0, colon), std::atoi(position.c_str() + colon + 1), address);
}

void SyncAssemblyToCaret(const std::string& file, int caretLine) {
    if (file == kCantSearch) return;
    g_nEditorLine = caretLine - 1;
    if (!g_pAssembleView) return;
    for (const CIndexTable& table : g_IndexTableList) {
        if (table.m_strFileName != file) continue;
        const IndexEntry* entry = table.Entry(static_cast<uint32_t>(caretLine));
        if (!entry) return;
        CHTMLListCtrl* list = g_pAssembleView->ShownList();
        int row = g_bAsmOnly ? entry->m_nAsmRow : entry->m_nSrcRow;
        if (row < 0 || row >= list->GetItemCount()) return;
        list->SetSelectedItem(row);
        list->EnsureVisible(row);
        list->Refresh(false);
        list->SendSelChangeNotify();
        return;
    }
}
