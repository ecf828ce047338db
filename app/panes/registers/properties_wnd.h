// The Register pane: the working registers, the PSW flags and the special
// function registers of the target as a two-column property grid. It is
// rewritten from the host copies after every stop; an edited value is
// written to the target at once and every pane refreshed.
#pragma once

#include "dock_pane.h"
#include "register_table.h"

#include <array>
#include <string>

class wxPGProperty;
class wxPropertyGrid;
class wxPropertyGridEvent;
class wxPropertyGridManager;

class CPropertiesWnd : public CDockPane {
public:
    CPropertiesWnd(wxWindow* parent, int id, const wxString& caption);
    ~CPropertiesWnd() override;

    // Takes the values from the host copies and the program counter from
    // the adapter, and shows them.
    void UpdateRegisterWnd();
    // Formats every row's value and shows it.
    void ShowRegisterValues();
    // Project close: every value back to zero, no row marked as modified,
    // every group expanded.
    void ResetRegisterWnd();
    // Whether the rows accept typing.
    void AllowEdit(bool allow);

    // The toolbar's commands.
    void OnExpandAllProperties();
    void OnSortProperties();
    bool IsAlphabeticMode() const;

    wxPropertyGridManager* GridManager() const { return m_grid; }
    wxPropertyGrid* Grid() const;
    wxPGProperty* RowProperty(int row) const { return m_rows[row]; }
    const RegisterValues& Values() const { return m_values; }

private:
    void ResetRegisterValues();
    void InitPropList();
    void SetGridFont();
    void OnPropertyChanged(wxPropertyGridEvent& event);
    // The description box of a grid `height` pixels high: its usual height,
    // less in a short pane so that the rows keep room for their scrollbar.
    void FitDescriptionBox(int height);
    // Where the rows begin, below the column header.
    int GridTop() const;
    int RowOf(const wxPGProperty* property) const;

    wxPropertyGridManager* m_grid = nullptr;
    RegisterValues m_values{};
    std::array<std::string, kRegisterRowCount> m_texts;
    std::array<wxPGProperty*, kRegisterRowCount> m_rows{};
};

// The register pane of the main frame; null while none exists.
extern CPropertiesWnd* g_pRegisterWnd;
