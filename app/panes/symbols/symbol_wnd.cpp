#include "symbol_wnd.h"

#include "my_super_grid.h"
#include "pane_support.h"

#include <memory>

CSymbolWnd* g_pSymbolWnd = nullptr;

CSymbolWnd::CSymbolWnd(wxWindow* parent, int id, const wxString& caption)
    : CDockPane(parent, id, caption) {
    m_grid = new CMySuperGrid;
    m_grid->Create(this, wxID_ANY);
    InitColumns();
    SetControl(m_grid);
    m_grid->Bind(wxEVT_CONTEXT_MENU, &CSymbolWnd::OnContextMenu, this);
    g_pSymbolWnd = this;
}

CSymbolWnd::~CSymbolWnd() {
    if (g_pSymbolWnd == this) g_pSymbolWnd = nullptr;
}

void CSymbolWnd::InitColumns() {
    m_grid->InsertColumn(0, "Name", controls::ColumnAlign::Centre, 200);
    m_grid->InsertColumn(1, "Class Type", controls::ColumnAlign::Centre, 100);
    m_grid->InsertColumn(2, "Address", controls::ColumnAlign::Centre, 100);
}

void CSymbolWnd::SetRadix(int radix) {
    m_radix = radix;
    UpdateSymbolWnd();
}

void CSymbolWnd::FillSymbolWnd(const std::vector<SymbolModuleRows>& modules) {
    m_grid->Freeze();
    for (const SymbolModuleRows& module : modules) {
        auto moduleInfo = std::make_unique<controls::CItemInfo>();
        moduleInfo->SetItemText(module.name);
        controls::CTreeItem* parent = m_grid->InsertItem(std::move(moduleInfo));
        for (const SymbolRow& symbol : module.symbols) {
            auto info = std::make_unique<controls::CItemInfo>();
            info->SetItemText(symbol.name);
            info->AddSubItemText(symbol.kind);
            info->AddSubItemText(symbol.address);
            m_grid->InsertChildItem(parent, std::move(info), false);
        }
    }
    m_grid->Thaw();
}

void CSymbolWnd::UpdateSymbolWnd() {
    m_grid->GetBody()->Refresh(false);
}

void CSymbolWnd::ClearSymbolWnd() {
    m_grid->DeleteAll();
}

void CSymbolWnd::OnContextMenu(wxContextMenuEvent& event) {
    ShowRadixMenu(this, event.GetPosition(), [this](int radix) { SetRadix(radix); });
}
