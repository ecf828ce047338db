// The Debug and Tool commands of the application object, and the views it
// gives the target code.
#include "assemble_view.h"
#include "break_wnd.h"
#include "breakpoint_toggle.h"
#include "command_ids.h"
#include "command_rules.h"
#include "debugger_init.h"
#include "editor_breakpoint_views.h"
#include "file_view.h"
#include "html_list_ctrl.h"
#include "image_load.h"
#include "listing_model.h"
#include "main_frame.h"
#include "memory_wnd.h"
#include "my_quillet_app.h"
#include "path_resolver.h"
#include "pc_model.h"
#include "project_loader.h"
#include "project_lookups.h"
#include "project_paths.h"
#include "project_views.h"
#include "run_commands.h"
#include "scintilla_wnd.h"
#include "source_window.h"
#include "source_windows.h"
#include "target_flags.h"
#include "target_session.h"
#include "value_tip_view.h"
#include "window_file.h"
#include "wx_command_ids.h"

namespace {

const char* const kViewLimitText = "Failed To Add BreakPoint. MAX = 16";
const char* const kMarginLimitText = "Fail Set Break. MAX Break Number = 16";

// The session of the windows: the assembly pane takes the new listings
// before the panes' first fill shows the program counter in them; the Flash
// and Code panes then show the program on the target.
class CWindowSession : public CTargetSession {
public:
    explicit CWindowSession(CMainFrame& frame) : m_frame(frame) {}
    void StartDebugSession() override {
        if (g_pAssembleView) {
            g_pAssembleView->Fill(g_ListingModel);
            g_pAssembleView->ShowSelectedList();
        }
        CTargetSession::StartDebugSession();
        m_frame.SetProjectMenus(true);
        ReadProgramPanes();
    }

private:
    CMainFrame& m_frame;
};

int RowOf(const std::unordered_map<uint32_t, int32_t>& rows, uint32_t address) {
    auto it = rows.find(address);
    return it == rows.end() ? -1 : it->second;
}

void MarkRow(CHTMLListCtrl* list, int row, int value) {
    if (row >= 0 && row < list->GetItemCount()) list->SetItemMarker(row, value);
}

} // namespace

// The file of the project's folder that a project file name stands for.
static std::string ProjectPathOf(const std::string& name) {
    if (g_pProjectFileList) {
        std::string resolved = platform::ResolvePath(g_pProjectFileList->m_strProjectDir, name);
        if (!resolved.empty()) return resolved;
    }
    return name;
}

CMyQuilletApp::~CMyQuilletApp() = default;

void CMyQuilletApp::InstallViews() {
    m_sources = std::make_unique<CSourceWindows>(*m_frame);
    m_sources->SetEditorSetup([this](CSourceWindow& window) {
        std::string title = window.Title();
        CScintillaWnd* editor = window.Editor();
        auto sync = [title, editor](wxEvent& event) {
            event.Skip();
            if (g_bProjectLoaded)
                SyncAssemblyToCaret(ProjectFileOfWindow(title), editor->GetCurrentLine());
        };
        editor->Bind(wxEVT_LEFT_UP, sync);
        editor->Bind(wxEVT_KEY_UP, sync);
        CSourceWindow* owner = &window;
        editor->Bind(wxEVT_CONTEXT_MENU, [this, owner](wxContextMenuEvent& event) {
            ShowEditorContextMenu(*owner, event.GetPosition());
        });
        AttachValueTips(editor, title);
        editor->Bind(wxEVT_STC_UPDATEUI, [this, editor](wxStyledTextEvent& event) {
            event.Skip();
            ShowCaretStatus(*editor);
        });
        window.Editor()->SetBreakPointToggle([title](CScintillaWnd&, int line) {
            std::string file = ProjectFileOfWindow(title);
            if (file == kCantSearch) return;
            ToggleBreakPointAtLine(file, line, ToggleRoad::kMargin, kMarginLimitText);
        });
    });
    // Once the window in front has changed (or the last one has gone).
    m_sources->SetFrontChanged([this] { CallAfter([this] { ShowFrontCaretStatus(); }); });
    m_pcDisplay = std::make_unique<PcModelDisplay>(*m_sources, [](uint16_t pc, int mark) {
        if (g_pAssembleView) g_pAssembleView->ShowPcInAssembly(pc, mark);
    });
    m_breakViews = std::make_unique<CEditorBreakpointViews>(*m_sources);
    m_breakViews->asmRowOfAddress = [](uint32_t address) {
        return RowOf(g_ListingModel.m_mapAddressToAsmRow, address);
    };
    m_breakViews->sourceRowOfAddress = [](uint32_t address) {
        return RowOf(g_ListingModel.m_mapAddressToSrcRow, address);
    };
    m_breakViews->setCodeListMarkers = [](int asmRow, int sourceRow, int value) {
        if (!g_pAssembleView) return;
        MarkRow(g_pAssembleView->AsmList(), asmRow, value);
        MarkRow(g_pAssembleView->SourceList(), sourceRow, value);
        g_pAssembleView->ShownList()->Refresh(false);
    };
    m_breakViews->blankBreakPane = [] {
        if (g_pBreakWnd) g_pBreakWnd->BlankBreakWnd();
    };
    m_breakViews->fillBreakWnd = [](const std::list<CInfo_Break>& records) {
        if (g_pBreakWnd) g_pBreakWnd->FillBreakWnd(records);
    };
    m_frame->BreakWnd()->sourceEditor = [this](const std::string& file,
                                               bool activate) -> CScintillaWnd* {
        CSourceWindow* window = m_sources ? m_sources->Find(file) : nullptr;
        if (window) {
            if (activate) m_sources->ActivateView(window);
            return window->Editor();
        }
        window = m_projectViews ? m_projectViews->ShowSourceLine(ProjectPathOf(file)) : nullptr;
        return window ? window->Editor() : nullptr;
    };
    m_session = std::make_unique<CWindowSession>(*m_frame);
    m_projectViews = std::make_unique<CProjectViews>(*m_frame, *m_sources);
    m_loader = std::make_unique<CProjectLoader>(*m_projectViews, *m_session);
    m_projectViews->SetLoader(m_loader.get());
    SetRunControlLookups(ProjectLookups(*m_loader));
    SetPcDisplay(m_pcDisplay.get());
    SetBreakpointViews(m_breakViews.get());
    SetDebuggerPanes(m_projectViews.get());

    m_frame->FileView()->SetOpenFile([this](const std::string& name) {
        // A window already showing the file comes forward; else the file,
        // found in the project's folder, is shown.
        if (CSourceWindow* window = m_sources->Find(name)) {
            m_sources->ActivateView(window);
            return;
        }
        m_projectViews->ShowSourceLine(ProjectPathOf(name));
    });
    m_frame->SetClosingHandler([this] { CloseProject(); });

    CAssembleView* assembly = m_frame->AssembleView();
    assembly->activeProjectFile = [this]() -> std::string {
        CSourceWindow* window = m_sources ? m_sources->Active() : nullptr;
        return window ? ProjectFileOfWindow(window->Title()) : std::string(kCantSearch);
    };
    assembly->toggleInSource = [this](const std::string& file, int line, uint32_t address) {
        CSourceWindow* window = m_sources->Find(file);
        if (!window) window = m_projectViews->ShowSourceLine(ProjectPathOf(file));
        if (!window) {
            ToggleBreakPointAtAddress(address, ToggleRoad::kAssembly, kViewLimitText);
            return;
        }
        m_sources->ActivateView(window);
        window->Editor()->GotoLineNearTop(line);
        ToggleBreakPointAtAddress(address, ToggleRoad::kAssembly, kViewLimitText);
        window->Editor()->GotoLineWithContext(line);
    };
}

void CMyQuilletApp::RemoveViews() {
    SetRunControlLookups({});
    if (GetDebuggerPanes() == m_projectViews.get()) SetDebuggerPanes(nullptr);
    if (GetPcDisplay() == m_pcDisplay.get()) SetPcDisplay(nullptr);
    if (GetBreakpointViews() == m_breakViews.get()) SetBreakpointViews(nullptr);
    m_loader.reset();
    m_projectViews.reset();
    m_session.reset();
    m_breakViews.reset();
    m_pcDisplay.reset();
    m_sources.reset();
}

void CMyQuilletApp::BindDebugCommands() {
    // A command runs only while its rule still holds when its turn comes: a
    // function key's command is queued, and a worker may have taken the
    // target before it runs (F5 and F2 released in one pass).
    auto bind = [this](int command, std::function<void()> action) {
        Bind(
            wxEVT_MENU,
            [command, action](wxCommandEvent&) {
                if (IsCommandEnabled(command, CurrentDebugState())) action();
            },
            WxCommandId(command));
    };
    bind(cmd::kOpen, [this] { OpenProject(); });
    bind(cmd::kClose, [this] { CloseProject(); });
    bind(cmd::kReload, [this] { ReloadProject(); });
    bind(cmd::kImageLoad, [this] {
        if (ImageLoad(m_imageSizeEstimate)) ReadProgramPanes();
    });
    bind(cmd::kContinue, [] { ::OnDebugContinue(); });
    bind(cmd::kStop, [] { ::OnDebugStop(); });
    bind(cmd::kStep, [] { ::OnDebugStep(); });
    bind(cmd::kNext, [] { ::OnDebugNext(); });
    bind(cmd::kStepi, [] { ::OnDebugStepi(); });
    bind(cmd::kNexti, [] { ::OnDebugNexti(); });
    bind(cmd::kRunToCursorLine, [this] { RunToCursorLine(); });
    bind(cmd::kSetBreak, [this] { ToggleBreakPointInView(); });
    bind(cmd::kClearBreak, [this] { ToggleBreakPointInView(); });
    bind(cmd::kClearAllBreaks, [] { ::OnDebugClearAllBreaks(); });
    bind(cmd::kBoardReset, [] { BoardReset(); });
    bind(cmd::kInitDebugger, [] { InitDebuggerAndBoardReset(); });
}

void CMyQuilletApp::OpenProject() {
    if (!m_loader) return;
    m_loader->OnFileOpen();
    UpdateImageSizeEstimate();
}

void CMyQuilletApp::CloseProject() {
    if (!m_loader) return;
    // The worker goes first: nothing it reads may be freed under it.
    EndRunSession();
    m_loader->OnProjectClose();
    UpdateImageSizeEstimate();
}

void CMyQuilletApp::ReloadProject() {
    if (!m_loader) return;
    EndRunSession();
    m_reloading = true;
    m_loader->OnProjectReload();
    m_reloading = false;
    UpdateImageSizeEstimate();
}

void CMyQuilletApp::UpdateImageSizeEstimate() {
    m_imageSizeEstimate = m_loader && m_loader->m_pDisasmLoader
                              ? m_loader->m_pDisasmLoader->m_dwHighestAddress + 16
                              : 0;
}

void CMyQuilletApp::ToggleBreakPointInView() {
    if (!m_frame || !m_sources) return;
    if (g_bHexOnly) {
        m_frame->AssembleView()->OnToggleBreakPoint();
        return;
    }
    CSourceWindow* window = m_sources->Active();
    if (!window) return;
    std::string file = ProjectFileOfWindow(window->Title());
    if (file == kCantSearch) return;
    ToggleResult result = ToggleBreakPointAtLine(file, window->Editor()->GetCurrentLine(),
                                                 ToggleRoad::kSetBreak, kViewLimitText);
    // A line without code: the assembly pane's selected row takes over.
    if (result == ToggleResult::kNoCode) m_frame->AssembleView()->OnToggleBreakPoint();
}

void CMyQuilletApp::RunToCursorLine() {
    if (!m_sources) return;
    CSourceWindow* window = m_sources->Active();
    if (!window) return;
    std::string file = ProjectFileOfWindow(window->Title());
    if (file == kCantSearch) return;
    ::OnDebugRunToCursorLine(file, window->Editor()->GetCurrentLine());
}
