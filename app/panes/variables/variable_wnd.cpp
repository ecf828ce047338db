#include "variable_wnd.h"

#include "host_memory.h"
#include "local_variables.h"
#include "pane_support.h"
#include "project_loader.h"
#include "report_ctrls.h"
#include "target_flags.h"
#include "variable_all_wnd.h"
#include "watch_rows.h"
#include "wx_command_ids.h"

#include <wx/artprov.h>
#include <wx/combobox.h>
#include <wx/toolbar.h>

CVariableWnd* g_pVariableWnd = nullptr;
CLocalVariableWnd* g_pLocalVariableWnd = nullptr;

namespace {

constexpr int kCheckAllCommand = 40023;
constexpr int kClearCheckedCommand = 40024;
const char* const kColumns = "Name, 100; Value, 100; Type, 100; Address, 100";

} // namespace

void RefreshVariablePanes() {
    if (g_pVariableAllWnd) g_pVariableAllWnd->UpdateGlobalVariableValues();
    if (g_pVariableWnd) g_pVariableWnd->FillVariables(g_pVariableWnd->Radix());
    if (g_pLocalVariableWnd) g_pLocalVariableWnd->FillLocalVariables();
}

CVariableWnd::CVariableWnd(wxWindow* parent, int id, const wxString& caption)
    : CDockPane(parent, id, caption) {
    // Both panes name themselves "Search" in their combo box.
    const wxString title("Search");
    TitleCombo()->Set(1, &title);
    TitleCombo()->SetSelection(0);

    wxToolBar* bar = PaneToolBar();
    bar->AddTool(WxCommandId(kCheckAllCommand), "Check All",
                 wxArtProvider::GetBitmap(wxART_TICK_MARK, wxART_TOOLBAR, wxSize(16, 16)),
                 "Check or uncheck every row");
    bar->AddTool(WxCommandId(kClearCheckedCommand), "Clear Checked",
                 wxArtProvider::GetBitmap(wxART_DELETE, wxART_TOOLBAR, wxSize(16, 16)),
                 "Clear the checked rows");
    bar->Realize();
    bar->Bind(
        wxEVT_TOOL, [this](wxCommandEvent&) { CheckAll(); }, WxCommandId(kCheckAllCommand));
    bar->Bind(
        wxEVT_TOOL, [this](wxCommandEvent&) { ClearChecked(); }, WxCommandId(kClearCheckedCommand));

    m_list = new CReportCtrl;
    m_list->Create(this, wxID_ANY);
    m_list->SetGridLines(true);
    m_list->EndEdit(true);
    m_list->SetCheckBoxes(true);
    m_list->SetEditAllowed(true);
    SetListHeaderImages(m_list);
    InitList();
    SetControl(m_list);

    m_list->Bind(wxEVT_CONTEXT_MENU, &CVariableWnd::OnContextMenu, this);
    m_list->Bind(wxEVT_REPORT_CELL_EDITED, &CVariableWnd::OnCellEdited, this);
    m_list->Bind(wxEVT_REPORT_COMMIT_ROW, &CVariableWnd::OnCommitRow, this);
}

CVariableWnd::~CVariableWnd() {
    if (g_pVariableWnd == this) g_pVariableWnd = nullptr;
}

void CVariableWnd::InitList() {
    m_list->EndEdit(true);
    m_list->SetColumnHeader(kColumns);
    for (int row = 0; row < kVariableRows; ++row)
        m_list->InsertRow(row, {"", "", "", ""});
    m_allChecked = false;
}

void CVariableWnd::SetRadix(int radix) {
    m_radix = radix;
    FillVariables(radix);
}

void CVariableWnd::FillVariables(int radix) {
    const std::optional<uint16_t> pc = ShownProgramCounter();
    if (!pc) return;
    const MemoryReader read = TargetMemoryReader();
    for (int row = 0; row < kVariableRows; ++row) {
        const std::string name = m_list->GetItemText(row, 0);
        if (name.empty()) continue;
        if (std::optional<VariableRowTexts> texts = WatchRowTexts(name, radix, pc, read))
            WriteVariableRow(*m_list, row, *texts);
    }
}

void CVariableWnd::CheckAll() {
    m_allChecked = !m_allChecked;
    m_list->SetAllItemStates(controls::kStateAny,
                             m_allChecked ? controls::kStateChecked : controls::kStateNotChecked);
}

void CVariableWnd::ClearChecked() {
    for (int row = 0; row < m_list->GetItemCount(); ++row) {
        if (!m_list->ItemStatesMatch(row, controls::kStateChecked)) continue;
        for (int column = 0; column < 3; ++column)
            m_list->SetItemText(row, column, "");
    }
}

bool CVariableWnd::InsertVariableName(const std::string& name) {
    for (int row = 0; row < m_list->GetItemCount(); ++row) {
        if (!m_list->GetItemText(row, 0).empty()) continue;
        m_list->SetItemText(row, 0, name);
        return true;
    }
    return false;
}

void CVariableWnd::OnContextMenu(wxContextMenuEvent& event) {
    ShowRadixMenu(this, event.GetPosition(), [this](int radix) { SetRadix(radix); });
}

void CVariableWnd::OnCellEdited(wxCommandEvent& event) {
    // A typed name (any cell but Value) brings the panes up to date; a
    // typed value waits for its commit.
    if (event.GetExtraLong() == 1) return;
    if (g_bProjectLoaded && !g_bTargetBusy) RefreshVariablePanes();
}

void CVariableWnd::OnCommitRow(wxCommandEvent& event) {
    if (!g_bProjectLoaded || g_bTargetBusy) return;
    const int row = event.GetInt();
    if (event.GetExtraLong() == 1)
        WriteWatchValue(m_list->GetItemText(row, 0), m_list->GetItemText(row, 1),
                        m_list->GetItemText(row, 2), ShownProgramCounter());
    // The host copies are read again, so every pane shows what the target holds.
    UpdateDebugWindows();
}

// ---- Local Variable ----

CLocalVariableWnd::CLocalVariableWnd(wxWindow* parent, int id, const wxString& caption)
    : CVariableWnd(parent, id, caption) {
    g_pLocalVariableWnd = this;
}

CLocalVariableWnd::~CLocalVariableWnd() {
    if (g_pLocalVariableWnd == this) g_pLocalVariableWnd = nullptr;
}

void CLocalVariableWnd::ClearLocalVariableRows() {
    for (int row = 0; row < m_list->GetItemCount(); ++row)
        WriteVariableRow(*m_list, row, VariableRowTexts{});
}

void CLocalVariableWnd::ResetRows() {
    m_list->DeleteAllItems();
    InitList();
    m_shownFunction = nullptr;
}

void CLocalVariableWnd::FillLocalVariables() {
    const std::optional<uint16_t> pc = ShownProgramCounter();
    if (!pc || !g_pSymbolDatabase) return;
    const LocalVariableList locals = LocalVariablesAt(
        *pc, g_pProject ? &g_pProject->m_listModules : nullptr, size_t(kVariableRows));
    if (!locals.function || locals.function != m_shownFunction) {
        ClearLocalVariableRows();
        m_shownFunction = locals.function;
    }
    for (size_t row = 0; row < locals.symbols.size(); ++row)
        if (std::optional<VariableRowTexts> texts =
                FormatVariableRow(*locals.symbols[row], m_radix))
            WriteVariableRow(*m_list, int(row), *texts);
}
