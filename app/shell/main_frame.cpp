#include "main_frame.h"

#include "app_settings.h"
#include "assemble_view.h"
#include "break_wnd.h"
#include "dock_pane.h"
#include "emulator_wnd.h"
#include "file_view.h"
#include "frame_layout.h"
#include "function_key_filter.h"
#include "html_list_ctrl.h"
#include "layout_settings.h"
#include "memory_wnd.h"
#include "properties_wnd.h"
#include "run_commands.h"
#include "status_gauge.h"
#include "target_flags.h"
#include "tool_icons.h"
#include "variable_panes.h"
#include "wx_command_ids.h"

#include <wx/app.h>
#include <wx/aui/auibar.h>
#include <wx/display.h>
#include <wx/menu.h>
#include <wx/statusbr.h>

#include <algorithm>

namespace {

const char* const kTabGroupName = "BreakPointGroup";
const char* const kSourceBookName = "SourceWindows";
const char* const kRunningText = "Running";

// The first-run frame size, within the screen's work area (frame_layout.h
// sizes the panes for it).
const wxSize kFrameSize(1200, 900);

// The frame's size, within the screen's work area, centred on it.
wxRect FirstRunFrameRect() {
    wxRect area = wxDisplay(0u).GetClientArea();
    wxSize size(std::min(kFrameSize.x, area.width), std::min(kFrameSize.y, area.height));
    return wxRect(area.x + (area.width - size.x) / 2, area.y + (area.height - size.y) / 2, size.x,
                  size.y);
}

wxSize FirstRunSize(PanePlace place) {
    const wxSize frame = FirstRunFrameRect().GetSize();
    const PixelSize size = FirstRunPaneSize(place, {frame.x, frame.y});
    return wxSize(size.width, size.height);
}

wxString PaneName(size_t index) {
    return wxString::Format("pane%zu", index);
}

// The commands that show and hide a pane carry a check mark.
wxItemKind KindOf(int command) {
    return PaneForToggle(command) >= 0 ? wxITEM_CHECK : wxITEM_NORMAL;
}

wxMenuBar* BuildMenuBar(const std::vector<MenuSpec>& menus) {
    auto* bar = new wxMenuBar;
    for (const MenuSpec& spec : menus) {
        auto* menu = new wxMenu;
        for (const MenuEntry& entry : spec.entries) {
            if (entry.id == 0)
                menu->AppendSeparator();
            else
                menu->Append(WxCommandId(entry.id), entry.label, wxEmptyString, KindOf(entry.id));
        }
        bar->Append(menu, spec.title);
    }
    return bar;
}

wxAuiToolBar* BuildToolBar(wxWindow* parent, const ToolBarSpec& spec) {
    auto* bar = new wxAuiToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                 wxAUI_TB_DEFAULT_STYLE | wxAUI_TB_GRIPPER);
    bar->SetName(spec.name);
    bar->SetToolBitmapSize(wxSize(16, 16));
    for (const ToolEntry& tool : spec.tools) {
        if (tool.id == 0) {
            bar->AddSeparator();
            continue;
        }
        bar->AddTool(WxCommandId(tool.id), tool.label, ToolIcon(tool.icon), tool.label,
                     KindOf(tool.id));
    }
    bar->Realize();
    return bar;
}

} // namespace

CMainFrame::CMainFrame()
    : wxFrame(nullptr, wxID_ANY, "Ostrel Debugger", FirstRunFrameRect().GetPosition(),
              FirstRunFrameRect().GetSize()) {
    m_aui.SetManagedWindow(this);
    // The bottom row may take its first-run height (the toolkit's default
    // keeps a docked row to a third of the window).
    m_aui.SetDockSizeConstraint(0.45, 0.45);
    CreateMenus();
    CreateToolBars();
    CreateStatusBarPanes();
    CreatePanes();
    ApplyLook(ReadApplicationLook());
    // The panes and toolbars without a command that shows them come back shown.
    std::vector<wxString> alwaysShown{"SubToolBar", "DebugToolBar"};
    for (size_t i = 0; i < DockingPanes().size(); ++i)
        if (DockingPanes()[i].toggleId == 0 && DockingPanes()[i].place != PanePlace::Hidden)
            alwaysShown.push_back(PaneName(i));
    RestoreDockingLayout(m_aui, alwaysShown);
    m_aui.Update();
    // Setting the client size tells the toolkit the frame's size is the one
    // wanted, so it shows the frame at once. Otherwise, under a window
    // manager, it waits for the border sizes and lays the frame out at a few
    // pixels first, and the toolkit's widgets complain of negative sizes.
    SetClientSize(GetClientSize());

    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
    for (const PaneSpec& pane : DockingPanes()) {
        if (pane.toggleId == 0) continue;
        Bind(wxEVT_MENU, &CMainFrame::OnWindowToggle, this, WxCommandId(pane.toggleId));
        Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateWindowToggle, this, WxCommandId(pane.toggleId));
    }
    Bind(wxEVT_MENU, &CMainFrame::OnApplicationLook, this, WxCommandId(cmd::kFirstLook),
         WxCommandId(cmd::kLastLook));
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateApplicationLook, this, WxCommandId(cmd::kFirstLook),
         WxCommandId(cmd::kLastLook));

    m_keyFilter = std::make_unique<CFunctionKeyFilter>(
        this, [this](int functionNumber) { OnFunctionKeyRelease(functionNumber); });
    SetMainFrameLink(this);
    SetRunCompletionSink(this);
}

CMainFrame::~CMainFrame() {
    if (m_onDestroying) m_onDestroying();
    if (GetMainFrameLink() == this) SetMainFrameLink(nullptr);
    if (GetRunCompletionSink() == this) SetRunCompletionSink(nullptr);
    m_keyFilter.reset();
    m_aui.UnInit();
    // The menu bar not attached to the frame is ours to delete.
    delete (m_sourceMenuShown ? m_startMenu : m_sourceMenu);
}

void CMainFrame::CreateMenus() {
    m_startMenu = BuildMenuBar(StartMenuBar());
    m_sourceMenu = BuildMenuBar(SourceMenuBar());
    SetMenuBar(m_startMenu);
}

void CMainFrame::ShowSourceMenu(bool show) {
    m_sourceWindowsOpen = show;
    UpdateMenuBar();
}

void CMainFrame::SetProjectMenus(bool loaded) {
    m_projectMenus = loaded;
    UpdateMenuBar();
}

void CMainFrame::UpdateMenuBar() {
    const bool show = m_sourceWindowsOpen || m_projectMenus;
    if (show == m_sourceMenuShown) return;
    m_sourceMenuShown = show;
    SetMenuBar(show ? m_sourceMenu : m_startMenu);
}

void CMainFrame::CreateToolBars() {
    wxAuiToolBar* sub = BuildToolBar(this, SubToolBar());
    m_aui.AddPane(
        sub,
        wxAuiPaneInfo().Name("SubToolBar").Caption(SubToolBar().name).ToolbarPane().Top().Row(0));
    wxAuiToolBar* debug = BuildToolBar(this, DebugToolBar());
    m_aui.AddPane(debug, wxAuiPaneInfo()
                             .Name("DebugToolBar")
                             .Caption(DebugToolBar().name)
                             .ToolbarPane()
                             .Top()
                             .Row(1));
}

void CMainFrame::CreateStatusBarPanes() {
    wxStatusBar* bar = CreateStatusBar(kStatusPaneCount);
    // Pane 0 tells the run state; the menus have no help texts to show there.
    SetStatusBarPane(-1);
    const std::vector<int>& widths = StatusPaneWidths();
    bar->SetStatusWidths(kStatusPaneCount, widths.data());
    m_progress = new CStatusGauge(bar, 100);
    bar->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        PlaceProgressGauge();
        event.Skip();
    });
    PlaceProgressGauge();
}

void CMainFrame::PlaceProgressGauge() {
    wxRect rect;
    if (GetStatusBar() && GetStatusBar()->GetFieldRect(kProgressPane, rect))
        m_progress->SetSize(rect);
}

void CMainFrame::ReportProgress(int percent) {
    if (!m_progressValue.Set(percent)) return;
    m_progress->SetValue(m_progressValue.Shown());
}

void CMainFrame::CreatePanes() {
    m_sourceBook = new wxAuiNotebook(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                     wxAUI_NB_TOP | wxAUI_NB_TAB_MOVE | wxAUI_NB_SCROLL_BUTTONS);
    m_aui.AddPane(m_sourceBook,
                  wxAuiPaneInfo().Name(kSourceBookName).CenterPane().PaneBorder(false));

    m_tabGroup = new wxAuiNotebook(this, wxID_ANY, wxDefaultPosition, wxSize(200, 200),
                                   wxAUI_NB_TOP | wxAUI_NB_TAB_MOVE | wxAUI_NB_SCROLL_BUTTONS);
    m_tabGroup->Bind(wxEVT_AUINOTEBOOK_PAGE_CHANGED, &CMainFrame::OnTabGroupPageChanged, this);

    const std::vector<PaneSpec>& specs = DockingPanes();
    for (size_t i = 0; i < specs.size(); ++i) {
        const PaneSpec& spec = specs[i];
        wxWindow* parent =
            spec.place == PanePlace::InTabGroup || spec.place == PanePlace::RightOfPrevious
                ? static_cast<wxWindow*>(m_tabGroup)
                : this;
        const int id = WxCommandId(spec.controlId);
        if (static_cast<int>(i) == kAssemblyPane) {
            m_assembleView = new CAssembleView(parent, id, spec.caption);
            m_panes.push_back(m_assembleView);
        } else if (static_cast<int>(i) == kRegisterPane) {
            m_registerWnd = new CPropertiesWnd(parent, id, spec.caption);
            m_panes.push_back(m_registerWnd);
        } else if (static_cast<int>(i) == kBreakPointPane) {
            m_breakWnd = new CBreakWnd(parent, id, spec.caption);
            m_panes.push_back(m_breakWnd);
        } else if (static_cast<int>(i) == kEmulatorPane) {
            m_emulatorWnd = new CEmulatorWnd(parent, id, spec.caption);
            m_panes.push_back(m_emulatorWnd);
        } else if (static_cast<int>(i) == kWorkSpacePane) {
            m_fileView = new CFileView(parent, id, spec.caption);
            m_panes.push_back(m_fileView);
        } else if (CDockPane* memory = CreateMemoryWnd(parent, id, spec.controlId, spec.caption)) {
            m_panes.push_back(memory);
        } else if (CDockPane* pane = CreateVariablePane(spec.toggleId, parent, id, spec.caption)) {
            m_panes.push_back(pane);
        } else {
            m_panes.push_back(new CDockPane(parent, id, spec.caption));
        }
    }
    for (size_t i = 0; i < specs.size(); ++i) {
        const PaneSpec& spec = specs[i];
        wxAuiPaneInfo info = wxAuiPaneInfo()
                                 .Name(PaneName(i))
                                 .Caption(spec.caption)
                                 .BestSize(FirstRunSize(spec.place));
        switch (spec.place) {
        case PanePlace::Bottom:
            m_aui.AddPane(m_panes[i], info.Bottom().Layer(0).Position(0));
            break;
        case PanePlace::Right:
            m_aui.AddPane(m_panes[i], info.Right());
            break;
        case PanePlace::Left:
            m_aui.AddPane(m_panes[i], info.Left());
            break;
        case PanePlace::Hidden:
            m_aui.AddPane(m_panes[i], info.Float().Hide());
            break;
        case PanePlace::RightOfPrevious:
        case PanePlace::InTabGroup:
            break; // pages of the tab group, added below
        }
    }
    for (int index : TabGroupPanes())
        AddToTabGroup(static_cast<size_t>(index), false);
    m_tabGroup->SetSelection(0);
    m_aui.AddPane(m_tabGroup, wxAuiPaneInfo()
                                  .Name(kTabGroupName)
                                  .Caption(m_tabGroup->GetPageText(0))
                                  .BestSize(FirstRunSize(PanePlace::InTabGroup))
                                  .Bottom()
                                  .Layer(0)
                                  .Position(1));
}

void CMainFrame::AddToTabGroup(size_t index, bool select) {
    // Keep the group's order: the page goes after every group member before it.
    const std::vector<int>& order = TabGroupPanes();
    size_t position = 0;
    for (int member : order) {
        if (static_cast<size_t>(member) == index) break;
        if (m_tabGroup->GetPageIndex(m_panes[member]) != wxNOT_FOUND) ++position;
    }
    m_tabGroup->InsertPage(position, m_panes[index], m_panes[index]->Caption(), select);
}

bool CMainFrame::IsPaneShown(size_t index) const {
    CDockPane* pane = m_panes.at(index);
    if (pane->GetParent() == m_tabGroup)
        return m_tabGroup->GetPageIndex(pane) != wxNOT_FOUND &&
               m_aui.GetPane(kTabGroupName).IsShown();
    return m_aui.GetPane(pane).IsShown();
}

bool CMainFrame::IsPaneInView(size_t index) const {
    CDockPane* pane = m_panes.at(index);
    if (pane->GetParent() != m_tabGroup) return m_aui.GetPane(pane).IsShown();
    const int page = m_tabGroup->GetPageIndex(pane);
    return page != wxNOT_FOUND && page == m_tabGroup->GetSelection() &&
           m_aui.GetPane(kTabGroupName).IsShown();
}

void CMainFrame::TogglePane(size_t index) {
    CDockPane* pane = m_panes.at(index);
    const bool inView = IsPaneInView(index);
    if (pane->GetParent() == m_tabGroup) {
        wxAuiPaneInfo& group = m_aui.GetPane(kTabGroupName);
        int page = m_tabGroup->GetPageIndex(pane);
        if (inView) {
            m_tabGroup->RemovePage(page);
            pane->Hide();
            if (m_tabGroup->GetPageCount() == 0) group.Hide();
        } else {
            if (page == wxNOT_FOUND)
                AddToTabGroup(index, true);
            else
                m_tabGroup->SetSelection(page);
            group.Show();
        }
    } else {
        m_aui.GetPane(pane).Show(!inView);
    }
    m_aui.Update();
}

void CMainFrame::OnWindowToggle(wxCommandEvent& event) {
    int index = PaneForToggle(CommandFromWxId(event.GetId()));
    if (index >= 0) TogglePane(static_cast<size_t>(index));
}

void CMainFrame::OnUpdateWindowToggle(wxUpdateUIEvent& event) {
    int index = PaneForToggle(CommandFromWxId(event.GetId()));
    if (index >= 0) event.Check(IsPaneInView(static_cast<size_t>(index)));
}

void CMainFrame::OnTabGroupPageChanged(wxAuiNotebookEvent& event) {
    int page = m_tabGroup->GetSelection();
    if (page != wxNOT_FOUND) {
        m_aui.GetPane(kTabGroupName).Caption(m_tabGroup->GetPageText(page));
        m_aui.Update();
    }
    event.Skip();
}

void CMainFrame::OnFunctionKeyRelease(int functionNumber) {
    KeyResult result = FunctionKeyRelease(functionNumber, CurrentDebugState());
    switch (result.action) {
    case KeyAction::None:
        break;
    case KeyAction::Stop:
        OnDebugStop();
        break;
    case KeyAction::Command:
        wxQueueEvent(this, new wxCommandEvent(wxEVT_MENU, WxCommandId(result.command)));
        break;
    }
}

void CMainFrame::PostRunCompletion(const RunCompletion& completion) {
    CallAfter([completion] {
        JoinFinishedWorker();
        FinishRun(completion);
        JoinFinishedWorker();
        wxWakeUpIdle();
    });
}

void CMainFrame::ApplyLook(int look) {
    LookStyle style = LookStyleFor(look);
    m_look = look < cmd::kFirstLook || look > cmd::kLastLook ? cmd::kDefaultLook : look;
    auto* dockArt = new wxAuiDefaultDockArt;
    if (style.background != 0) {
        wxColour colour((style.background >> 16) & 0xFF, (style.background >> 8) & 0xFF,
                        style.background & 0xFF);
        dockArt->SetColour(wxAUI_DOCKART_BACKGROUND_COLOUR, colour);
        dockArt->SetColour(wxAUI_DOCKART_SASH_COLOUR, colour);
        dockArt->SetColour(wxAUI_DOCKART_ACTIVE_CAPTION_COLOUR, colour);
        dockArt->SetColour(wxAUI_DOCKART_ACTIVE_CAPTION_GRADIENT_COLOUR, colour);
    }
    m_aui.SetArtProvider(dockArt);
    unsigned flags =
        m_aui.GetFlags() & ~(wxAUI_MGR_VENETIAN_BLINDS_HINT | wxAUI_MGR_RECTANGLE_HINT);
    m_aui.SetFlags(
        flags | (style.smartDocking ? wxAUI_MGR_VENETIAN_BLINDS_HINT : wxAUI_MGR_RECTANGLE_HINT));
    for (wxAuiNotebook* book : {m_sourceBook, m_tabGroup}) {
        if (!book) continue;
        if (style.flatTabs)
            book->SetArtProvider(new wxAuiSimpleTabArt);
        else
            book->SetArtProvider(new wxAuiGenericTabArt);
    }
    m_aui.Update();
    Refresh();
    WriteApplicationLook(m_look);
}

void CMainFrame::OnApplicationLook(wxCommandEvent& event) {
    ApplyLook(CommandFromWxId(event.GetId()));
}

void CMainFrame::OnUpdateApplicationLook(wxUpdateUIEvent& event) {
    event.Check(CommandFromWxId(event.GetId()) == m_look);
}

void CMainFrame::OnIdle(wxIdleEvent& event) {
    event.Skip();
    const bool running = g_bTargetBusy;
    if (running != m_runningShown && GetStatusBar()) {
        m_runningShown = running;
        SetStatusText(running ? kRunningText : "", 0);
    }
    if (IsActive() && !wxWindow::FindFocus()) {
        wxWindow* target = m_sourceBook->GetPageCount() > 0 ? m_sourceBook->GetCurrentPage()
                                                            : m_assembleView->ShownList();
        if (target && target->IsShownOnScreen()) target->SetFocus();
    }
}

void CMainFrame::OnClose(wxCloseEvent& event) {
    (void)event;
    // A worker still driving the target is stopped and joined first: nothing
    // it reaches may be destroyed before it has ended.
    StopAndJoinWorker();
    if (m_onClosing) m_onClosing();
    SaveDockingLayout(m_aui);
    Destroy();
}
