#include "variable_panes.h"

#include "command_ids.h"
#include "project_loader.h"
#include "project_paths.h"
#include "project_views.h"
#include "report_ctrls.h"
#include "scintilla_wnd.h"
#include "symbol_rows.h"
#include "symbol_wnd.h"
#include "target_flags.h"
#include "typed_values.h"
#include "value_tip.h"
#include "variable_all_wnd.h"
#include "variable_wnd.h"
#include "window_file.h"

CDockPane* CreateVariablePane(int toggleId, wxWindow* parent, int id, const wxString& caption) {
    switch (toggleId) {
    case cmd::kSearchWindow:
        return g_pVariableWnd = new CVariableWnd(parent, id, caption);
    case cmd::kLocalVariableWindow:
        return new CLocalVariableWnd(parent, id, caption);
    case cmd::kGlobalVariableWindow:
        return new CVariableAllWnd(parent, id, caption);
    case cmd::kSymbolWindow:
        return new CSymbolWnd(parent, id, caption);
    default:
        return nullptr;
    }
}

void ClearVariablePanes() {
    if (g_pVariableWnd) {
        g_pVariableWnd->List()->DeleteAllItems();
        g_pVariableWnd->InitList();
    }
    if (g_pLocalVariableWnd) g_pLocalVariableWnd->ResetRows();
    if (g_pVariableAllWnd) g_pVariableAllWnd->ClearRows();
    ClearVariableInfo();
    if (g_pSymbolWnd) g_pSymbolWnd->ClearSymbolWnd();
}

void InsertVariableFromEditor(CScintillaWnd& editor, const std::string& title,
                              const wxPoint& screenPoint) {
    if (!g_pVariableWnd || ProjectFileOfWindow(title) == kCantSearch) return;
    const int position =
        screenPoint == wxDefaultPosition
            ? editor.GetCurrentPos()
            : editor.CharPositionFromPointClose(editor.ScreenToClient(screenPoint).x,
                                                editor.ScreenToClient(screenPoint).y);
    if (position < 0) return;
    const int line = editor.LineFromPosition(position);
    const wxCharBuffer text = editor.GetLineRaw(line);
    const std::string lineText(text.data() ? text.data() : "", text.length());
    const std::string name = IdentifierAt(lineText, position - editor.PositionFromLine(line) + 1);
    if (name == "-1" || !g_pVariableWnd->InsertVariableName(name)) return;
    if (g_bProjectLoaded && !g_bTargetBusy) RefreshVariablePanes();
}

// ---- the panes' side of the refresh and of the first fill ----

void CProjectViews::FillVariables() {
    if (g_pVariableWnd) g_pVariableWnd->FillVariables(g_pVariableWnd->Radix());
}

void CProjectViews::FillLocalVariables() {
    if (g_pLocalVariableWnd) g_pLocalVariableWnd->FillLocalVariables();
}

void CProjectViews::UpdateGlobalVariableValues() {
    if (g_pVariableAllWnd) g_pVariableAllWnd->UpdateGlobalVariableValues();
}

void CProjectViews::UpdateSymbolWnd() {
    if (g_pSymbolWnd) g_pSymbolWnd->UpdateSymbolWnd();
}

void CProjectViews::FillSymbolWnd() {
    if (!g_pProject) return;
    const std::vector<SymbolModuleRows> rows = BuildSymbolRows(g_pProject->m_listModules);
    if (g_pSymbolWnd) g_pSymbolWnd->FillSymbolWnd(rows);
}

void CProjectViews::FillGlobalVariableWnd() {
    if (g_pVariableAllWnd) g_pVariableAllWnd->FillGlobalVariableWnd();
}
