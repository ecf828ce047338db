#include "break_wnd.h"

#include "assemble_view.h"
#include "break_rows.h"
#include "command_ids.h"
#include "project_loader.h"
#include "report_ctrls.h"
#include "scintilla_wnd.h"
#include "target_flags.h"
#include "wx_command_ids.h"

#include <wx/artprov.h>
#include <wx/toolbar.h>

CBreakWnd* g_pBreakWnd = nullptr;

namespace {

constexpr int kGotoSourceCommand = 40030;

wxBitmap ToolBitmap(const wxArtID& art) {
    return wxArtProvider::GetBitmap(art, wxART_TOOLBAR, wxSize(16, 16));
}

bool MayRemove() {
    return g_bProjectLoaded && !g_bTargetBusy;
}

} // namespace

CBreakWnd::CBreakWnd(wxWindow* parent, int id, const wxString& caption)
    : CDockPane(parent, id, caption) {
    // Remove and Remove All are enabled by the debug commands' rule, which
    // the application applies; Go To Source always is.
    wxToolBar* bar = PaneToolBar();
    bar->AddTool(WxCommandId(cmd::kRemoveBreakPoint), "Remove", ToolBitmap(wxART_DEL_BOOKMARK));
    bar->AddTool(WxCommandId(cmd::kRemoveAllBreakPoints), "Remove All", ToolBitmap(wxART_DELETE));
    bar->AddTool(WxCommandId(kGotoSourceCommand), "Go To Source", ToolBitmap(wxART_NORMAL_FILE));
    bar->Realize();
    bar->Bind(
        wxEVT_TOOL, [this](wxCommandEvent&) { OnRemoveBreakPoint(); },
        WxCommandId(cmd::kRemoveBreakPoint));
    bar->Bind(
        wxEVT_TOOL, [this](wxCommandEvent&) { OnRemoveAllBreakPoints(); },
        WxCommandId(cmd::kRemoveAllBreakPoints));
    bar->Bind(
        wxEVT_TOOL, [this](wxCommandEvent&) { OnGotoBreakPointSource(); },
        WxCommandId(kGotoSourceCommand));

    m_list = new CListGridCtrl;
    m_list->Create(this, wxID_ANY);
    m_list->SetColumnHeader("Name, 220; Label, 100");
    for (int row = 0; row < kBreakPaneRows; ++row)
        m_list->InsertRow(row, {"", ""});
    m_list->SetGridLines(true);
    m_list->SetCheckBoxes(false);
    m_list->SetEditAllowed(false);
    m_list->Bind(wxEVT_REPORT_ROW_ACTIVATED, [this](wxCommandEvent&) { ShowSelectedBreakPoint(); });
    SetControl(m_list);
    g_pBreakWnd = this;
}

CBreakWnd::~CBreakWnd() {
    if (g_pBreakWnd == this) g_pBreakWnd = nullptr;
}

void CBreakWnd::FillBreakWnd(const std::list<CInfo_Break>& records) {
    int row = 0;
    for (const CInfo_Break& record : records) {
        m_list->SetItemText(row, 0, BreakRowName(record, g_bAsmOnly != 0));
        m_list->SetItemText(row, 1, BreakRowLabel(record));
        ++row;
    }
}

void CBreakWnd::BlankBreakWnd() {
    for (int row = 0; row < kBreakPaneRows; ++row) {
        m_list->SetItemText(row, 0, std::string());
        m_list->SetItemText(row, 1, std::string());
    }
}

void CBreakWnd::RemoveRecordAt(int row) {
    const CInfo_Break* selected = SelectedBreakRecord(row);
    if (!selected) return;
    const CInfo_Break record = *selected;
    // A source breakpoint's file is found, or opened, for its marker.
    CScintillaWnd* editor = nullptr;
    if (record.m_strFile != kAsmOnlyFile && sourceEditor)
        editor = sourceEditor(record.m_strFile, false);
    RemoveBreakRecord(record);
    // Another breakpoint on the same line keeps the marker.
    if (editor && !IsBreakpointAt(record.m_strFile, record.m_nLine))
        editor->RemoveBreakPointMarker(record.m_nLine);
}

void CBreakWnd::OnRemoveBreakPoint() {
    if (!MayRemove()) return;
    RemoveRecordAt(m_list->GetSelectedRow());
}

void CBreakWnd::OnRemoveAllBreakPoints() {
    if (!MayRemove()) return;
    for (int row = int(g_BreakList.size()) - 1; row >= 0; --row)
        RemoveRecordAt(row);
    FinishRemoveAllBreakPoints();
}

void CBreakWnd::ShowSourceLine(const CInfo_Break& record) {
    if (record.m_strFile == kAsmOnlyFile || !sourceEditor) return;
    CScintillaWnd* editor = sourceEditor(record.m_strFile, true);
    if (!editor) return;
    editor->GotoLineNearTop(record.m_nLine);
    editor->GotoLineWithContext(record.m_nLine);
}

void CBreakWnd::OnGotoBreakPointSource() {
    if (const CInfo_Break* record = SelectedBreakRecord(m_list->GetSelectedRow()))
        ShowSourceLine(CInfo_Break(*record));
}

void CBreakWnd::ShowSelectedBreakPoint() {
    const CInfo_Break* selected = SelectedBreakRecord(m_list->GetSelectedRow());
    if (!selected) return;
    const CInfo_Break record = *selected;
    if (g_pAssembleView) g_pAssembleView->ShowPcInAssembly(uint16_t(record.m_dwAddress), 0);
    ShowSourceLine(record);
}
