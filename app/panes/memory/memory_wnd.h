// The four memory panes: "IData Memory", " External Memory", " Flash Memory"
// and "Code Memory". Each shows target memory as hexadecimal grids, one per
// cell width (1, 2 and 4 bytes; the chosen one is shown), under a row with
// the start and end address edits and the pane's toolbar: CHAR, INT, LONG
// and Read, and in the Flash pane Write and the "Data memory" box. A right
// click offers the three widths. Data cells are edited in place where the
// pane allows it (memory_pane.h holds the rules).
#pragma once

#include "dock_pane.h"
#include "memory_pane.h"

#include <string>

class CListMemoryCtrl;
class wxCheckBox;
class wxContextMenuEvent;
class wxKeyEvent;
class wxMenu;
class wxSizeEvent;
class wxStaticText;
class wxTextCtrl;

class CMemoryWnd : public CDockPane {
public:
    CMemoryWnd(wxWindow* parent, int id, const wxString& caption, MemoryKind kind);

    // Rebuilds the three grids as zeros in rows labelled from 0 up to the end
    // address, not editable, under the range texts of a new pane.
    void InitGrid();
    // The Read command (and Enter in an address edit).
    virtual void ReadFromTarget() {}
    // The width commands CHAR (2), INT (4) and LONG (8): the grid of the new
    // width shows the range of the edits.
    virtual void SetCellWidth(int digits);
    int IsOutOfRange(uint32_t address) const { return m_pane.IsOutOfRange(address) ? 1 : 0; }
    int GetMemoryClass() const { return m_pane.GetMemoryClass(); }

    // The edits' range into the grid of the current width; "Out of memory"
    // in an edit whose address the pane does not take.
    void RefreshRange();
    // Rebuilds the grid of the current width when it is marked for a refill.
    void FillGrid();
    // The grids that were edited make the other two refill.
    void MarkOtherGridsStale();

    void SetRangeTexts(const std::string& start, const std::string& end);
    // Project close: the grids and range texts of a pane without a project.
    virtual void ResetRangeTexts();
    // Project close: the pane's buffer forgets the program (the grids are
    // emptied by ResetRangeTexts, which follows).
    void ForgetProgram();
    // Ends a running cell edit in every grid, committing its text.
    void EndEdits();

    int CellWidth() const { return m_cellWidth; }
    CListMemoryCtrl* Grid(int digits) const;
    CListMemoryCtrl* ShownGrid() const { return Grid(m_cellWidth); }
    wxTextCtrl* StartAddressEdit() const { return m_startEdit; }
    wxTextCtrl* EndAddressEdit() const { return m_endEdit; }
    MemoryPane& Pane() { return m_pane; }
    // The right-click menu: CHAR(&C), INT(&I), LONG(&L).
    wxMenu* CreateWidthMenu() const;

protected:
    void SetGridsEditable(bool editable);
    void MarkAllForRefill();
    void ShowGridOfWidth();
    MemoryPane::Range EditRange() const;
    void ShowOutOfMemory(const MemoryPane::Range& range);
    // Adds a box after the address edits (the Flash pane's "Data memory").
    void AddToAddressRow(wxWindow* window);

    MemoryPane m_pane;
    int m_cellWidth = 8;
    // A pane without a project shows 16 rows of zeros.
    static constexpr int kEndAddressOfNewPane = 256;
    int m_endAddress = kEndAddressOfNewPane;

private:
    void BuildAddressRow();
    void BuildToolBar();
    void BindKeys();
    void OnSize(wxSizeEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnCellEdited(CListMemoryCtrl* grid, int digits, int row, int column);
    void OnCommitRow();

    wxStaticText* m_startLabel = nullptr;
    wxStaticText* m_endLabel = nullptr;
    wxTextCtrl* m_startEdit = nullptr;
    wxTextCtrl* m_endEdit = nullptr;
    wxSizer* m_addressRow = nullptr;
    CListMemoryCtrl* m_grids[3] = {nullptr, nullptr, nullptr};
};

// "IData Memory": internal data and SFRs, refreshed after every stop.
class CInternalMemoryWnd : public CMemoryWnd {
public:
    CInternalMemoryWnd(wxWindow* parent, int id, const wxString& caption);
    ~CInternalMemoryWnd() override;
    // Enter in the pane: every pane refreshed from the target.
    void ReadFromTarget() override;
    void SetCellWidth(int digits) override;
    void ResetRangeTexts() override { InitGrid(); }
    // The rows of the shown grid relabelled and rewritten in place from the
    // internal data and SFR image.
    void RefreshIDataWindow();
};

// " External Memory": external data read in blocks of up to 64 KB.
class CExternalMemoryWnd : public CMemoryWnd {
public:
    CExternalMemoryWnd(wxWindow* parent, int id, const wxString& caption);
    ~CExternalMemoryWnd() override;
    void ReadFromTarget() override;
};

// " Flash Memory": the code flash (or, with "Data memory" checked, the data
// flash) through the window at 0xFF0000. Edits stay on the host until Write.
class CFlashMemoryWnd : public CMemoryWnd {
public:
    CFlashMemoryWnd(wxWindow* parent, int id, const wxString& caption);
    ~CFlashMemoryWnd() override;
    void ReadFromTarget() override;
    void ResetRangeTexts() override;
    void OnWrite();
    void SetDataMemory(bool checked);
    wxCheckBox* DataMemoryBox() const { return m_dataMemory; }
    // After a flash read or write: the grids show the host copy again.
    void RedrawFromHostCopy();

private:
    wxCheckBox* m_dataMemory = nullptr;
};

// "Code Memory": all 64 KB of code memory, read-only.
class CCodeMemoryWnd : public CMemoryWnd {
public:
    CCodeMemoryWnd(wxWindow* parent, int id, const wxString& caption);
    ~CCodeMemoryWnd() override;
    void ReadFromTarget() override;
    // Reads only the range of the edits (after Open and Image Load).
    void ReadShownRange();
};

// The panes while they exist.
extern CInternalMemoryWnd* g_pInternalMemoryWnd;
extern CExternalMemoryWnd* g_pExternalMemoryWnd;
extern CFlashMemoryWnd* g_pFlashMemoryWnd;
extern CCodeMemoryWnd* g_pCodeMemoryWnd;
// Set while a project is loaded; without it no grid is filled.
extern bool g_bMemoryWindowsActive;

// The memory pane for the docking pane `controlId` (window id `id`), null
// when `controlId` is no memory pane.
CDockPane* CreateMemoryWnd(wxWindow* parent, int id, int controlId, const wxString& caption);

// After a project is opened: the IData grids become editable and show the
// internal data and SFR image.
void InitMemoryWindows();
// Project close: edits ended, the IData, Flash and Code grids back to the
// zeros of a pane without a project, every pane's range texts back to those
// of a pane without a project.
void ResetMemoryRanges();
// After a project is opened and after an Image Load: the Flash and Code
// panes read the program on the target again, so that they never show
// another program's bytes. Only while a project is loaded and the target idle.
void ReadProgramPanes();
