#include "variable_all_wnd.h"

#include "global_variables.h"
#include "host_memory.h"
#include "pane_support.h"
#include "report_ctrls.h"
#include "target_flags.h"
#include "variable_write.h"
#include "wx_command_ids.h"

#include <wx/artprov.h>
#include <wx/toolbar.h>

CVariableAllWnd* g_pVariableAllWnd = nullptr;

namespace {

constexpr int kUnusedToolCommand = 40048;
const char* const kColumns = "Name, 100; Value, 100; Type, 100;Address, 100";

// The list as the variable write reads it, for the commit of one cell.
class CommittedList : public ListRows, public EditedVariableList {
public:
    CommittedList(CReportListCtrl& list, int row, int column)
        : ListRows(list), m_row(row), m_column(column) {}
    std::string GetItemText(int row, int column) const override {
        return ListRows::GetItemText(row, column);
    }
    void SetItemText(int row, int column, const std::string& text) override {
        ListRows::SetItemText(row, column, text);
    }
    int EditedRow() const override { return m_row; }
    int EditedColumn() const override { return m_column; }
    int GetSelectionMark() const override { return m_list.GetSelectedRow(); }
    void SetRowSelected(int row, bool selected) override {
        if (row < 0 || row >= m_list.GetItemCount()) return;
        m_list.SetItemStates(row, selected
                                      ? controls::kStateSelected | controls::kStateFocused
                                      : controls::kStateNotSelected | controls::kStateNotFocused);
    }

private:
    int m_row;
    int m_column;
};

} // namespace

CVariableAllWnd::CVariableAllWnd(wxWindow* parent, int id, const wxString& caption)
    : CDockPane(parent, id, caption) {
    wxToolBar* bar = PaneToolBar();
    // The pane's one button has no command behind it.
    bar->AddTool(WxCommandId(kUnusedToolCommand), wxString(),
                 wxArtProvider::GetBitmap(wxART_LIST_VIEW, wxART_TOOLBAR, wxSize(16, 16)));
    bar->Realize();
    bar->EnableTool(WxCommandId(kUnusedToolCommand), false);

    m_list = new CReportCtrlAll;
    m_list->Create(this, wxID_ANY);
    m_list->SetGridLines(true);
    m_list->SetCheckBoxes(false);
    m_list->SetEditAllowed(true);
    InitList();
    SetControl(m_list);
    m_list->Bind(wxEVT_CONTEXT_MENU, &CVariableAllWnd::OnContextMenu, this);
    m_list->Bind(wxEVT_REPORT_COMMIT_ROW, &CVariableAllWnd::OnCommitRow, this);
    g_pVariableAllWnd = this;
}

CVariableAllWnd::~CVariableAllWnd() {
    if (g_pVariableAllWnd == this) g_pVariableAllWnd = nullptr;
}

void CVariableAllWnd::InitList() {
    m_list->SetColumnHeader(kColumns);
    m_list->EndEdit(true);
    m_rowCount = 0;
}

void CVariableAllWnd::SetRadix(int radix) {
    m_radix = radix;
    UpdateGlobalVariableValues();
}

void CVariableAllWnd::FillGlobalVariableWnd() {
    for (const VariableRowTexts& texts : GlobalVariableRows(g_VariableInfoList, m_radix)) {
        const int row = m_list->InsertRow(m_list->GetItemCount(), {"", "", "", ""});
        if (row < 0) continue;
        WriteVariableRow(*m_list, row, texts);
        ++m_rowCount;
    }
}

void CVariableAllWnd::UpdateGlobalVariableValues() {
    for (int row = 0; row < m_rowCount; ++row) {
        const std::string name = m_list->GetItemText(row, 0);
        if (std::optional<VariableRowTexts> texts = GlobalVariableRow(name, m_radix))
            WriteVariableRow(*m_list, row, *texts);
    }
}

void CVariableAllWnd::ClearRows() {
    m_list->DeleteAllItems();
    m_list->DeleteAllColumns();
    InitList();
}

void CVariableAllWnd::OnContextMenu(wxContextMenuEvent& event) {
    ShowRadixMenu(this, event.GetPosition(), [this](int radix) { SetRadix(radix); });
}

void CVariableAllWnd::OnCommitRow(wxCommandEvent& event) {
    if (!g_bProjectLoaded || g_bTargetBusy) return;
    CommittedList list(*m_list, event.GetInt(), int(event.GetExtraLong()));
    if (event.GetString() == "key")
        WriteVariableValue(list);
    else
        WriteVariableValueAndRefresh(list);
    // The host copies are read again, so every pane shows what the target holds.
    UpdateDebugWindows();
}
