#include "memory_wnd.h"

#include "flash_pane_operations.h"
#include "host_memory.h"
#include "list_memory_ctrl.h"
#include "memory_cells.h"
#include "message_service.h"
#include "target_flags.h"
#include "target_messages.h"
#include "wx_command_ids.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dcmemory.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/wrapsizer.h>

#include <algorithm>
#include <memory>

CInternalMemoryWnd* g_pInternalMemoryWnd = nullptr;
CExternalMemoryWnd* g_pExternalMemoryWnd = nullptr;
CFlashMemoryWnd* g_pFlashMemoryWnd = nullptr;
CCodeMemoryWnd* g_pCodeMemoryWnd = nullptr;
bool g_bMemoryWindowsActive = false;

namespace {

// The pane commands.
constexpr int kCharCommand = 40040;
constexpr int kIntCommand = 40041;
constexpr int kLongCommand = 40042;
constexpr int kReadCommand = 40076;
constexpr int kWriteCommand = 40085;
constexpr int kDataMemoryCommand = 40086;

constexpr int kWidths[3] = {kCharCells, kIntCells, kLongCells};
constexpr int kWidthCommands[3] = {kCharCommand, kIntCommand, kLongCommand};
// The labels and edits of the address row: a sixth of the width, at most this.
constexpr int kAddressFieldWidth = 100;
constexpr int kDataMemoryGap = 10;

int WidthIndex(int digits) {
    for (int i = 0; i < 3; ++i)
        if (kWidths[i] == digits) return i;
    return 2;
}

bool IsAddressCharacter(int c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == 'x' ||
           c == 'X';
}

// A tool picture: a letter in bold on a transparent ground.
wxBitmap LetterBitmap(const wxString& letter) {
    wxBitmap bitmap(16, 16);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(wxColour(255, 0, 255)));
        dc.Clear();
        dc.SetFont(wxFontInfo(9).Bold());
        dc.SetTextForeground(wxColour(0, 0, 128));
        const wxSize extent = dc.GetTextExtent(letter);
        dc.DrawText(letter, (16 - extent.x) / 2, (16 - extent.y) / 2);
    }
    bitmap.SetMask(new wxMask(bitmap, wxColour(255, 0, 255)));
    return bitmap;
}

std::string TextOf(const wxTextCtrl* edit) {
    return edit->GetValue().ToStdString();
}

} // namespace

CMemoryWnd::CMemoryWnd(wxWindow* parent, int id, const wxString& caption, MemoryKind kind)
    : CDockPane(parent, id, caption), m_pane(kind) {
    // The memory panes have no title box: their address row comes first.
    TitleCombo()->Hide();
    BuildAddressRow();
    BuildToolBar();
    const wxFont fixed = wxSystemSettings::GetFont(wxSYS_ANSI_FIXED_FONT);
    for (int i = 0; i < 3; ++i) {
        const int digits = kWidths[i];
        auto* grid = new CListMemoryCtrl;
        grid->Create(this, digits);
        grid->SetFont(fixed);
        grid->SetCellWidth(m_cellWidth);
        grid->Hide();
        grid->Bind(wxEVT_REPORT_CELL_EDITED, [this, grid, digits](wxCommandEvent& event) {
            OnCellEdited(grid, digits, event.GetInt(), int(event.GetExtraLong()));
        });
        grid->Bind(wxEVT_REPORT_COMMIT_ROW, [this](wxCommandEvent&) { OnCommitRow(); });
        m_grids[i] = grid;
    }
    ShowGridOfWidth();
    BindKeys();
    Bind(wxEVT_SIZE, &CMemoryWnd::OnSize, this);
    Bind(wxEVT_CONTEXT_MENU, &CMemoryWnd::OnContextMenu, this);
    InitGrid();
}

void CMemoryWnd::BuildAddressRow() {
    wxSizer* paneSizer = GetSizer();
    paneSizer->Detach(PaneToolBar());
    m_startLabel = new wxStaticText(this, wxID_ANY, "Start Address:", wxDefaultPosition,
                                    wxDefaultSize, wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    m_startEdit =
        new wxTextCtrl(this, 1, "0x000000", wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
    m_endLabel = new wxStaticText(this, wxID_ANY, "End Address:", wxDefaultPosition, wxDefaultSize,
                                  wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    m_endEdit =
        new wxTextCtrl(this, 1, "0x000000", wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
    const wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    m_startEdit->SetFont(font);
    m_endEdit->SetFont(font);
    // A pane too narrow for the whole row takes the toolbar to a second line.
    m_addressRow = new wxWrapSizer(wxHORIZONTAL);
    for (wxWindow* window :
         std::initializer_list<wxWindow*>{m_startLabel, m_startEdit, m_endLabel, m_endEdit})
        m_addressRow->Add(window, 0, wxALIGN_CENTER_VERTICAL);
    m_addressRow->Add(PaneToolBar(), 0, wxALIGN_CENTER_VERTICAL);
    paneSizer->Insert(1, m_addressRow, 0, wxEXPAND);
}

void CMemoryWnd::AddToAddressRow(wxWindow* window) {
    const size_t beforeToolBar = m_addressRow->GetItemCount() - 1;
    m_addressRow->Insert(beforeToolBar, window, 0, wxALIGN_CENTER_VERTICAL | wxLEFT,
                         kDataMemoryGap);
    Layout();
}

void CMemoryWnd::BuildToolBar() {
    wxToolBar* bar = PaneToolBar();
    const wxSize size(16, 16);
    bar->SetToolBitmapSize(size);
    bar->AddCheckTool(WxCommandId(kCharCommand), "CHAR", LetterBitmap("C"), wxNullBitmap, "CHAR");
    bar->AddCheckTool(WxCommandId(kIntCommand), "INT", LetterBitmap("I"), wxNullBitmap, "INT");
    bar->AddCheckTool(WxCommandId(kLongCommand), "LONG", LetterBitmap("L"), wxNullBitmap, "LONG");
    bar->AddTool(WxCommandId(kReadCommand), "Read", LetterBitmap("R"), "Read");
    if (m_pane.Kind() == MemoryKind::Flash)
        bar->AddTool(WxCommandId(kWriteCommand), "Write", LetterBitmap("W"), "Write");
    bar->Realize();

    // The commands come from the toolbar and from the right-click menu.
    for (int i = 0; i < 3; ++i) {
        const int digits = kWidths[i];
        Bind(
            wxEVT_MENU, [this, digits](wxCommandEvent&) { SetCellWidth(digits); },
            WxCommandId(kWidthCommands[i]));
        Bind(
            wxEVT_UPDATE_UI,
            [this, digits](wxUpdateUIEvent& event) { event.Check(m_cellWidth == digits); },
            WxCommandId(kWidthCommands[i]));
    }
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { ReadFromTarget(); }, WxCommandId(kReadCommand));
    // The IData pane has no Read of its own.
    Bind(
        wxEVT_UPDATE_UI,
        [this](wxUpdateUIEvent& event) { event.Enable(m_pane.Kind() != MemoryKind::Internal); },
        WxCommandId(kReadCommand));
}

void CMemoryWnd::BindKeys() {
    // The address edits take hexadecimal digits and "x"; keys that type
    // nothing (the function keys among them) keep their use.
    for (wxTextCtrl* edit : {m_startEdit, m_endEdit}) {
        edit->Bind(wxEVT_CHAR, [](wxKeyEvent& event) {
            const int c = static_cast<int>(event.GetUnicodeKey());
            if (c == WXK_NONE || c < 0x20 || c == WXK_DELETE || event.ControlDown() ||
                IsAddressCharacter(c))
                event.Skip();
        });
        edit->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { ReadFromTarget(); });
    }
    Bind(wxEVT_CHAR_HOOK, &CMemoryWnd::OnCharHook, this);
}

void CMemoryWnd::OnCharHook(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    // Enter in a grid that is not editing a cell reads the IData pane again.
    if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && m_pane.Kind() == MemoryKind::Internal) {
        ReadFromTarget();
        return;
    }
    event.Skip();
}

void CMemoryWnd::OnSize(wxSizeEvent& event) {
    const int width = std::min(kAddressFieldWidth, GetClientSize().x / 6);
    for (wxWindow* window :
         std::initializer_list<wxWindow*>{m_startLabel, m_startEdit, m_endLabel, m_endEdit})
        window->SetMinSize(wxSize(width, -1));
    event.Skip(); // the sizer lays the pane out
}

wxMenu* CMemoryWnd::CreateWidthMenu() const {
    // Check items: the width in force carries the mark, as on the toolbar.
    auto* menu = new wxMenu;
    menu->AppendCheckItem(WxCommandId(kCharCommand), "CHAR(&C)");
    menu->AppendCheckItem(WxCommandId(kIntCommand), "INT(&I)");
    menu->AppendCheckItem(WxCommandId(kLongCommand), "LONG(&L)");
    return menu;
}

void CMemoryWnd::OnContextMenu(wxContextMenuEvent& event) {
    std::unique_ptr<wxMenu> menu(CreateWidthMenu());
    const wxPoint at = event.GetPosition();
    PopupMenu(menu.get(), at == wxDefaultPosition ? at : ScreenToClient(at));
}

CListMemoryCtrl* CMemoryWnd::Grid(int digits) const {
    return m_grids[WidthIndex(digits)];
}

void CMemoryWnd::ShowGridOfWidth() {
    for (CListMemoryCtrl* grid : m_grids)
        if (grid != ShownGrid()) grid->Hide();
    ShownGrid()->Show();
    SetControl(ShownGrid());
}

void CMemoryWnd::InitGrid() {
    const int rows = (m_endAddress + 1) / int(kBytesPerRow);
    for (int i = 0; i < 3; ++i) {
        const int digits = kWidths[i];
        CListMemoryCtrl* grid = m_grids[i];
        grid->SetEditAllowed(false);
        grid->SetColumnHeader(MemoryColumnSpec(digits));
        std::vector<std::vector<std::string>> zeros;
        for (int row = 0; row < rows; ++row) {
            std::vector<std::string> texts{RowLabel(uint32_t(row) * kBytesPerRow)};
            texts.resize(size_t(CellsPerRow(digits)) + 1, std::string(size_t(digits), '0'));
            zeros.push_back(std::move(texts));
        }
        grid->ReplaceRows(zeros);
    }
    SetRangeTexts(m_pane.Spec().startAtCreation, m_pane.Spec().endAtCreation);
}

void CMemoryWnd::SetRangeTexts(const std::string& start, const std::string& end) {
    m_startEdit->ChangeValue(start);
    m_endEdit->ChangeValue(end);
}

void CMemoryWnd::ResetRangeTexts() {
    // Nothing the closed program showed stays: the grids of a new pane.
    m_endAddress = kEndAddressOfNewPane;
    InitGrid();
    SetRangeTexts(m_pane.Spec().startAfterClose, m_pane.Spec().endAfterClose);
}

void CMemoryWnd::ForgetProgram() {
    m_pane.ForgetProgram();
}

void CMemoryWnd::EndEdits() {
    for (CListMemoryCtrl* grid : m_grids)
        grid->EndEdit(true);
}

void CMemoryWnd::SetGridsEditable(bool editable) {
    for (CListMemoryCtrl* grid : m_grids)
        grid->SetEditAllowed(editable);
}

void CMemoryWnd::MarkAllForRefill() {
    for (CListMemoryCtrl* grid : m_grids)
        grid->SetRefill(true);
}

void CMemoryWnd::MarkOtherGridsStale() {
    bool edited[3];
    for (int i = 0; i < 3; ++i)
        edited[i] = m_grids[i]->IsEdited();
    for (int i = 0; i < 3; ++i) {
        if (!edited[i]) continue;
        for (int other = 0; other < 3; ++other)
            if (other != i) m_grids[other]->SetRefill(true);
    }
    for (CListMemoryCtrl* grid : m_grids)
        grid->SetEdited(false);
}

MemoryPane::Range CMemoryWnd::EditRange() const {
    return m_pane.RangeOfTexts(TextOf(m_startEdit), TextOf(m_endEdit));
}

void CMemoryWnd::ShowOutOfMemory(const MemoryPane::Range& range) {
    if (!range.start) m_startEdit->ChangeValue(kOutOfMemoryText);
    if (!range.end) m_endEdit->ChangeValue(kOutOfMemoryText);
}

void CMemoryWnd::RefreshRange() {
    const MemoryPane::Range range = EditRange();
    if (!range.IsValid()) {
        ShowOutOfMemory(range);
        return;
    }
    m_endAddress = int(*range.end);
    m_pane.Show(*range.start, *range.end);
    FillGrid();
}

void CMemoryWnd::FillGrid() {
    if (!g_bMemoryWindowsActive) return;
    CListMemoryCtrl* grid = ShownGrid();
    if (!grid->NeedsRefill()) return;
    grid->SetRefill(false);
    grid->ReplaceRows(m_pane.Rows(m_cellWidth));
}

void CMemoryWnd::SetCellWidth(int digits) {
    if (!IsCellWidth(digits)) return;
    m_cellWidth = digits;
    for (CListMemoryCtrl* grid : m_grids)
        grid->SetCellWidth(digits);
    MarkOtherGridsStale();
    RefreshRange();
    ShowGridOfWidth();
}

void CMemoryWnd::OnCellEdited(CListMemoryCtrl* grid, int digits, int row, int column) {
    const MemoryPane::Commit commit = m_pane.CommitCell(grid->GetItemText(row, column), digits,
                                                        column, grid->GetItemText(row, 0));
    if (commit.accepted) grid->SetEdited(true);
    grid->SetItemText(row, column, commit.cellText);
}

void CMemoryWnd::OnCommitRow() {
    if (g_bProjectLoaded && !g_bTargetBusy) UpdateDebugWindows();
}

// ---- IData ----

CInternalMemoryWnd::CInternalMemoryWnd(wxWindow* parent, int id, const wxString& caption)
    : CMemoryWnd(parent, id, caption, MemoryKind::Internal) {
    // The pane always shows all of internal data and the SFRs.
    StartAddressEdit()->Disable();
    EndAddressEdit()->Disable();
    g_pInternalMemoryWnd = this;
}

CInternalMemoryWnd::~CInternalMemoryWnd() {
    if (g_pInternalMemoryWnd == this) g_pInternalMemoryWnd = nullptr;
}

void CInternalMemoryWnd::ReadFromTarget() {
    if (!g_bProjectLoaded || g_bTargetBusy) {
        platform::ShowMessage(kFlashPaneNotReadyText);
        return;
    }
    UpdateDebugWindows();
}

void CInternalMemoryWnd::SetCellWidth(int digits) {
    if (!IsCellWidth(digits)) return;
    m_cellWidth = digits;
    for (int width : {kCharCells, kIntCells, kLongCells})
        Grid(width)->SetCellWidth(digits);
    RefreshIDataWindow();
    ShowGridOfWidth();
}

void CInternalMemoryWnd::RefreshIDataWindow() {
    if (!g_bMemoryWindowsActive) return;
    const MemoryPane::Range range = EditRange();
    if (!range.IsValid()) {
        ShowOutOfMemory(range);
        return;
    }
    m_endAddress = int(*range.end);
    m_pane.Show(*range.start, *range.end);
    ShownGrid()->UpdateRows(m_pane.Rows(m_cellWidth));
}

// ---- External ----

CExternalMemoryWnd::CExternalMemoryWnd(wxWindow* parent, int id, const wxString& caption)
    : CMemoryWnd(parent, id, caption, MemoryKind::External) {
    g_pExternalMemoryWnd = this;
}

CExternalMemoryWnd::~CExternalMemoryWnd() {
    if (g_pExternalMemoryWnd == this) g_pExternalMemoryWnd = nullptr;
}

void CExternalMemoryWnd::ReadFromTarget() {
    const MemoryPane::Range range = EditRange();
    switch (m_pane.ReadFromTarget(range)) {
    case MemoryPane::ReadResult::OutOfMemory:
        ShowOutOfMemory(range);
        return;
    case MemoryPane::ReadResult::Done:
        SetGridsEditable(true);
        MarkAllForRefill();
        RefreshRange();
        return;
    default:
        return;
    }
}

// ---- Flash ----

CFlashMemoryWnd::CFlashMemoryWnd(wxWindow* parent, int id, const wxString& caption)
    : CMemoryWnd(parent, id, caption, MemoryKind::Flash) {
    m_dataMemory = new wxCheckBox(this, WxCommandId(kDataMemoryCommand), "Data memory");
    AddToAddressRow(m_dataMemory);
    m_dataMemory->Bind(wxEVT_CHECKBOX,
                       [this](wxCommandEvent& event) { SetDataMemory(event.IsChecked()); });
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { OnWrite(); }, WxCommandId(kWriteCommand));
    g_pFlashMemoryWnd = this;
}

CFlashMemoryWnd::~CFlashMemoryWnd() {
    if (g_pFlashMemoryWnd == this) g_pFlashMemoryWnd = nullptr;
}

void CFlashMemoryWnd::ReadFromTarget() {
    FlashPaneRead(m_pane.IsDataFlash());
}

void CFlashMemoryWnd::OnWrite() {
    EndEdits();
    FlashPaneWrite(m_pane.IsDataFlash());
}

void CFlashMemoryWnd::ResetRangeTexts() {
    m_dataMemory->SetValue(false);
    m_pane.SetDataFlash(false);
    CMemoryWnd::ResetRangeTexts();
}

void CFlashMemoryWnd::SetDataMemory(bool checked) {
    m_dataMemory->SetValue(checked);
    m_pane.SetDataFlash(checked);
    SetRangeTexts(m_pane.Spec().startAtCreation, checked ? kDataFlashEndText : kCodeFlashEndText);
    MarkAllForRefill();
    RefreshRange();
}

void CFlashMemoryWnd::RedrawFromHostCopy() {
    SetGridsEditable(true);
    MarkAllForRefill();
    RefreshRange();
}

// ---- Code ----

CCodeMemoryWnd::CCodeMemoryWnd(wxWindow* parent, int id, const wxString& caption)
    : CMemoryWnd(parent, id, caption, MemoryKind::Code) {
    g_pCodeMemoryWnd = this;
}

CCodeMemoryWnd::~CCodeMemoryWnd() {
    if (g_pCodeMemoryWnd == this) g_pCodeMemoryWnd = nullptr;
}

void CCodeMemoryWnd::ReadFromTarget() {
    if (m_pane.ReadFromTarget(MemoryPane::Range()) != MemoryPane::ReadResult::Done) return;
    SetGridsEditable(false);
    MarkAllForRefill();
    RefreshRange();
}

void CCodeMemoryWnd::ReadShownRange() {
    const MemoryPane::Range range = EditRange();
    if (!range.IsValid()) {
        ShowOutOfMemory(range);
        return;
    }
    if (m_pane.ReadCodeThrough(*range.end) != MemoryPane::ReadResult::Done) return;
    SetGridsEditable(false);
    MarkAllForRefill();
    RefreshRange();
}

// ---- the panes together ----

CDockPane* CreateMemoryWnd(wxWindow* parent, int id, int controlId, const wxString& caption) {
    MemoryKind kind;
    if (!MemoryKindOfPane(controlId, kind)) return nullptr;
    switch (kind) {
    case MemoryKind::Internal:
        return new CInternalMemoryWnd(parent, id, caption);
    case MemoryKind::External:
        return new CExternalMemoryWnd(parent, id, caption);
    case MemoryKind::Flash:
        return new CFlashMemoryWnd(parent, id, caption);
    case MemoryKind::Code:
        return new CCodeMemoryWnd(parent, id, caption);
    }
    return nullptr;
}

void InitMemoryWindows() {
    g_bMemoryWindowsActive = true;
    if (!g_pInternalMemoryWnd) return;
    for (int digits : {kCharCells, kIntCells, kLongCells})
        g_pInternalMemoryWnd->Grid(digits)->SetEditAllowed(true);
    g_pInternalMemoryWnd->RefreshIDataWindow();
}

void ResetMemoryRanges() {
    g_bMemoryWindowsActive = false;
    for (CMemoryWnd* pane : std::initializer_list<CMemoryWnd*>{
             g_pInternalMemoryWnd, g_pExternalMemoryWnd, g_pFlashMemoryWnd, g_pCodeMemoryWnd}) {
        if (!pane) continue;
        pane->EndEdits();
        if (pane == g_pFlashMemoryWnd || pane == g_pCodeMemoryWnd) pane->ForgetProgram();
        pane->ResetRangeTexts();
    }
}

void ReadProgramPanes() {
    if (!g_bProjectLoaded || g_bTargetBusy) return;
    LinkErrorScope oneMessage;
    // The code flash copy is read whole (the pane's Write programs all of
    // it), whatever the "Data memory" box shows; code memory only as far as
    // the Code pane shows it.
    if (g_pFlashMemoryWnd) RefreshFlash(false);
    if (g_pCodeMemoryWnd) g_pCodeMemoryWnd->ReadShownRange();
}
