#include "properties_wnd.h"

#include "debugger_init.h"
#include "host_memory.h"
#include "scrolled_room.h"
#include "target_flags.h"
#include "target_protocol.h"
#include "variable_write.h"
#include "wx_command_ids.h"

#include <wx/artprov.h>
#include <wx/propgrid/manager.h>
#include <wx/propgrid/props.h>
#include <wx/settings.h>
#include <wx/toolbar.h>

#include <algorithm>

CPropertiesWnd* g_pRegisterWnd = nullptr;

namespace {

constexpr int kExpandAllCommand = 40006;
constexpr int kSortCommand = 40007;
constexpr int kGridId = 2;
// The description box: its usual height, and the least in which its two
// texts still have room.
constexpr int kDescriptionHeight = 72;
constexpr int kLeastDescriptionHeight = 28;
// The bar between the rows and the description box.
constexpr int kSplitterRoom = 6;

wxString RowName(int row) {
    return wxString::Format("register%d", row);
}

// The grid with its description box. The box takes the height given it at
// the next layout. (The toolkit's own request takes effect only when the
// height differs from the box's height measured against the new size, while
// its layout reckons from the old size: a grid made shorter in one step could
// keep the old box height and squeeze the rows below what their scrollbar
// needs.)
class CRegisterGridManager : public wxPropertyGridManager {
public:
    using wxPropertyGridManager::wxPropertyGridManager;
    void SetNextDescBoxHeight(int height) { m_nextDescBoxSize = height; }
};

} // namespace

CPropertiesWnd::CPropertiesWnd(wxWindow* parent, int id, const wxString& caption)
    : CDockPane(parent, id, caption) {
    wxToolBar* bar = PaneToolBar();
    bar->AddTool(WxCommandId(kExpandAllCommand), "Expand All",
                 wxArtProvider::GetBitmap(wxART_PLUS, wxART_TOOLBAR, wxSize(16, 16)));
    bar->AddCheckTool(WxCommandId(kSortCommand), "Sort",
                      wxArtProvider::GetBitmap(wxART_LIST_VIEW, wxART_TOOLBAR, wxSize(16, 16)));
    bar->Realize();
    bar->Bind(
        wxEVT_TOOL, [this](wxCommandEvent&) { OnExpandAllProperties(); },
        WxCommandId(kExpandAllCommand));
    bar->Bind(
        wxEVT_TOOL, [this](wxCommandEvent&) { OnSortProperties(); }, WxCommandId(kSortCommand));
    bar->Bind(
        wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Check(IsAlphabeticMode()); },
        WxCommandId(kSortCommand));

    // The description box comes once the pane has laid the grid out: made
    // with it, the box is first placed at a negative width (a toolkit warning).
    const long style = wxPG_BOLD_MODIFIED | wxPG_SPLITTER_AUTO_CENTER | wxPG_NO_INTERNAL_BORDER;
    m_grid = new CRegisterGridManager(this, kGridId, wxDefaultPosition, wxDefaultSize, style);
    m_grid->AddPage();
    m_grid->Bind(wxEVT_PG_CHANGED, &CPropertiesWnd::OnPropertyChanged, this);
    SetControl(m_grid);
    m_grid->SetWindowStyleFlag(style | wxPG_DESCRIPTION);

    ResetRegisterValues();
    InitPropList();
    // With its header shown: a pane too short for the header, the rows'
    // scrollbar and the box lets the grid run past its bottom edge instead
    // of squeezing them.
    m_grid->SetMinSize(wxSize(controls::kLeastScrolledLength, GridTop() + kSplitterRoom +
                                                                  controls::kLeastScrolledLength +
                                                                  kLeastDescriptionHeight));
    m_grid->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        FitDescriptionBox(event.GetSize().y);
        event.Skip();
    });
    Layout();
    g_pRegisterWnd = this;
}

CPropertiesWnd::~CPropertiesWnd() {
    if (g_pRegisterWnd == this) g_pRegisterWnd = nullptr;
}

wxPropertyGrid* CPropertiesWnd::Grid() const {
    return m_grid->GetGrid();
}

int CPropertiesWnd::GridTop() const {
    return m_grid->GetGrid()->GetPosition().y;
}

void CPropertiesWnd::FitDescriptionBox(int height) {
    const int room = height - GridTop() - kSplitterRoom - controls::kLeastScrolledLength;
    static_cast<CRegisterGridManager*>(m_grid)->SetNextDescBoxHeight(
        std::clamp(room, kLeastDescriptionHeight, kDescriptionHeight));
}

void CPropertiesWnd::ResetRegisterValues() {
    m_values.fill(0);
    for (int row = 0; row < kRegisterRowCount; ++row)
        m_texts[row] = RegisterValueText(RegisterTable()[row], 0);
}

void CPropertiesWnd::SetGridFont() {
    m_grid->SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
}

void CPropertiesWnd::InitPropList() {
    SetGridFont();
    m_grid->ShowHeader();
    m_grid->SetColumnTitle(0, "Register");
    m_grid->SetColumnTitle(1, "Value");

    auto* defaults =
        new wxPropertyCategory(RegisterGroupName(RegisterGroup::kDefault), "group.default");
    auto* psw = new wxPropertyCategory(RegisterGroupName(RegisterGroup::kPsw), "group.psw");
    auto* special =
        new wxPropertyCategory(RegisterGroupName(RegisterGroup::kSpecial), "group.special");
    m_grid->Append(defaults);
    for (int row = 0; row < kRegisterRowCount; ++row) {
        const RegisterRow& spec = RegisterTable()[row];
        auto* property = new wxStringProperty(spec.name, RowName(row), m_texts[row]);
        property->SetHelpString(RegisterDescription(spec));
        m_rows[row] = property;
        switch (spec.group) {
        case RegisterGroup::kDefault:
            m_grid->AppendIn(defaults, property);
            break;
        case RegisterGroup::kPsw:
            if (!psw->GetParent()) m_grid->AppendIn(defaults, psw);
            m_grid->AppendIn(psw, property);
            break;
        case RegisterGroup::kSpecial:
            if (!special->GetParent()) m_grid->Append(special);
            m_grid->AppendIn(special, property);
            break;
        }
    }
    AllowEdit(true);
    m_grid->ExpandAll();
}

void CPropertiesWnd::UpdateRegisterWnd() {
    m_values = ReadRegisterValues(g_InternalDataImage, ReadPc());
    ShowRegisterValues();
}

void CPropertiesWnd::ShowRegisterValues() {
    bool changed = false;
    for (int row = 0; row < kRegisterRowCount; ++row) {
        m_texts[row] = RegisterValueText(RegisterTable()[row], m_values[row]);
        const wxString text(m_texts[row]);
        if (m_rows[row]->GetValueAsString() == text) continue;
        // The value alone; the grid is redrawn once afterwards.
        m_rows[row]->SetValue(text, nullptr, 0);
        changed = true;
    }
    if (!changed) return;
    Grid()->RefreshEditor();
    Grid()->Refresh(false);
}

void CPropertiesWnd::ResetRegisterWnd() {
    m_grid->ClearSelection();
    ResetRegisterValues();
    ShowRegisterValues();
    m_grid->ClearModifiedStatus();
    m_grid->ExpandAll();
    Grid()->Refresh();
}

void CPropertiesWnd::AllowEdit(bool allow) {
    for (wxPGProperty* property : m_rows)
        m_grid->SetPropertyReadOnly(property, !allow);
}

void CPropertiesWnd::OnExpandAllProperties() {
    m_grid->ExpandAll();
}

bool CPropertiesWnd::IsAlphabeticMode() const {
    return Grid()->HasFlag(wxPG_HIDE_CATEGORIES);
}

void CPropertiesWnd::OnSortProperties() {
    const bool alphabetic = !IsAlphabeticMode();
    m_grid->EnableCategories(!alphabetic);
    if (alphabetic) m_grid->GetPage(0)->Sort();
    Grid()->Refresh();
}

int CPropertiesWnd::RowOf(const wxPGProperty* property) const {
    for (int row = 0; row < kRegisterRowCount; ++row)
        if (m_rows[row] == property) return row;
    return -1;
}

void CPropertiesWnd::OnPropertyChanged(wxPropertyGridEvent& event) {
    const int row = RowOf(event.GetProperty());
    // Typing reaches the target only while a project is loaded and idle; the
    // typed text stays until the next refresh.
    if (row < 0 || !g_bProjectLoaded || g_bTargetBusy) return;
    uint32_t value = 0;
    if (!ValueOfEditedText(m_rows[row]->GetValueAsString().ToStdString(), value)) {
        // Not a number: nothing is written and the value shown comes back.
        m_grid->SetPropertyValue(m_rows[row], wxString(m_texts[row]));
        m_rows[row]->SetModifiedStatus(false);
        return;
    }
    const RegisterRow& edited = RegisterTable()[row];
    WriteRegister(edited.name, value, int(m_values[BankRow()]));
    // After a PC edit the marker and the Assembly row go where the target now is.
    if (edited.kind == RegisterKind::kProgramCounter)
        ShowTargetPcAndRefresh();
    else
        UpdateDebugWindows();
}
