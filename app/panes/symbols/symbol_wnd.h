// The "Symbol" pane: the modules of the linker map as a tree, each with its
// symbols, their kind and address. Filled once after a project is opened.
#pragma once

#include "dock_pane.h"
#include "symbol_rows.h"

#include <vector>

class CMySuperGrid;
class wxContextMenuEvent;

class CSymbolWnd : public CDockPane {
public:
    CSymbolWnd(wxWindow* parent, int id, const wxString& caption);
    ~CSymbolWnd() override;

    CMySuperGrid* Grid() const { return m_grid; }
    int Radix() const { return m_radix; }
    // The radix commands: the pane keeps the radix; its texts do not change.
    void SetRadix(int radix);

    void InitColumns();
    // One root row per module, its symbols below it, collapsed.
    void FillSymbolWnd(const std::vector<SymbolModuleRows>& modules);
    // After a stop: the texts made by the fill stay; the grid is redrawn.
    void UpdateSymbolWnd();
    // Project close: every row goes.
    void ClearSymbolWnd();

private:
    void OnContextMenu(wxContextMenuEvent& event);

    CMySuperGrid* m_grid = nullptr;
    int m_radix = 10;
};

extern CSymbolWnd* g_pSymbolWnd;
