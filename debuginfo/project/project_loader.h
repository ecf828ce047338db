// Opening, reloading and closing a project without a user interface: the
// loader reads the project file, the linker map, the disassembly, every
// module's listing, assembler source and source, builds the line tables and
// the assembly listings, and hands the rest to the user interface and to the
// target session through the two interfaces below. Messages go through
// platform::ShowMessage.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "disasm_loader.h"
#include "line_tables.h"
#include "map_loader.h"
#include "project_file.h"
#include "project_image.h"
#include "project_modules.h"
#include "project_paths.h"
#include "text_loader.h"

// What Open and Close ask of the user interface.
class ProjectLoaderView {
public:
    virtual ~ProjectLoaderView() = default;
    // Shows the open-file dialog with `filter`; false unless confirmed with OK.
    virtual bool ChooseProjectFile(const std::string& filter, std::string& path) = 0;
    // The status bar's progress pane (it shows values above 100 as 100).
    virtual void ReportProgress(int percent) = 0;
    virtual void ClearWorkspaceTree() = 0;
    virtual void FillWorkspaceTree(const std::string& imageName) = 0;
    virtual void ExpandWorkspaceTree() = 0;
    // Opens an editor document on a project source file.
    virtual void OpenSourceDocument(const std::string& path) = 0;
    virtual void CloseAllDocuments() = 0;
    // The end-address field of the code-memory pane.
    virtual void SetCodeMemoryEnd(const std::string& text) = 0;
    virtual bool MainWindowExists() = 0;
    // The assembly pane's command that switches to the assembly-only list.
    virtual void ShowAssemblyOnly() = 0;
    // Empties every pane that shows the project (workspace, emulator,
    // registers, breakpoints, memory ranges, variables, symbols, assembly)
    // and ends any in-place edit.
    virtual void ClearPanes() = 0;
    // Runs `command` once the current command has returned.
    virtual void PostCommand(std::function<void()> command) = 0;
};

// What Open and Close ask of the target link and run control.
class ProjectSession {
public:
    virtual ~ProjectSession() = default;
    virtual bool IsProjectLoaded() = 0;
    virtual void ClearProjectLoaded() = 0;
    virtual void ClearImageVerified() = 0;
    virtual void SetHexOnly(bool hexOnly) = 0;
    // The image that Image Load and the verification read.
    virtual void SetHexPath(const std::string& path) = 0;
    virtual void InitDebugger() = 0;
    // Fills the host copies and the panes; the project then counts as loaded.
    virtual void StartDebugSession() = 0;
    virtual uint16_t ReadPc() = 0;
    virtual void SetCurrentPc(uint16_t pc) = 0;
    virtual void ShowPcInAssembly(uint16_t pc, int select) = 0;
    virtual void UpdateDebugWindows() = 0;
};

// The assembly pane shows the assembly-only list.
extern int g_bAsmOnly;
// The map loader of the open project; null when none is open. Not owned.
extern MapLoader* g_pProject;

class CProjectLoader {
public:
    CProjectLoader(ProjectLoaderView& view, ProjectSession& session);
    ~CProjectLoader();
    CProjectLoader(const CProjectLoader&) = delete;
    CProjectLoader& operator=(const CProjectLoader&) = delete;

    // The Project menu's commands.
    void OnFileOpen();
    void OnProjectReload();
    void OnProjectClose();
    // Empties the loaded project; safe when nothing is loaded.
    void CloseProject();
    // Asks whether to open the image alone; on Yes posts Open again, which
    // then opens the kept image in hex-only mode without a dialog.
    void OfferHexOnlyOpen();

    // Where the disassembler program lives and where its output goes.
    std::string m_strDisassemblerDir;
    std::string m_strDisassemblyOutput;

    // The project being loaded or loaded.
    CFileStruct m_fileStruct;
    std::vector<ProjectModule> m_modules; // in project order
    std::unique_ptr<MapLoader> m_pMapLoader;
    std::list<std::shared_ptr<LSTLoader>> m_listLstLoaders;      // last loaded first
    std::unordered_map<std::string, LSTLoader*> m_mapLstLoaders; // upper-case module name
    std::list<std::shared_ptr<Loader>> m_listSourceLoaders;      // last loaded first
    std::unique_ptr<DisasmLoader> m_pDisasmLoader;
    CProjectFileList m_projectFiles;
    ProjectSettings m_settings;
    bool m_bM51Exists = false;
    bool m_bMapExists = false;
    bool m_bReload = false;
    bool m_bFromProjectFile = false; // this Open read a project file
    bool m_bHexOnly = false;
    bool m_bReopenHexOnly = false;
    std::string m_strLastPath;    // the path last chosen, as typed
    std::string m_strHexPath;     // the image of the open project
    ProjectImage m_image;         // where the project file's image was looked for
    std::string m_strKeptHexPath; // the image a hex-only re-open takes

private:
    bool ChoosePath(std::string& path);
    bool ReadMapAndProjectFile(const std::string& mapPath);
    // An image found in place of the missing one is taken only when the map
    // says it is this build's; otherwise Open stops, naming both. The
    // project's own image, when the map says it is another build's, is taken
    // only when the user says so.
    bool AcceptImage();
    bool LoadDisassembly();
    bool LoadModules();
    bool LoadModule(const ProjectModule& module, const InstructionOrder& order);
    // Reads the module's assembler source when the listing says the module
    // was compiled through one, turning the map's .SRC lines into C lines.
    bool TranslateSrcLines(const ProjectModule& module, const LSTLoader& listing,
                           CLineInfoInModule* lines);
    // Says once when the module's source no longer matches its listing, or
    // when the map places code past the source's end; Open goes on.
    void ReportChangedSource(const LSTLoader& listing, const CLineInfoInModule* lines);
    std::string ListingFolder() const;
    std::string OutputFolder() const;
    // What a reader left out of a file or found cut short, in one message.
    void ShowFileFaults(const FileFaults& faults, const std::string& path);
    void FinishOpen();
    void Progress(int percent) { m_view.ReportProgress(percent); }
    // The clean-up of a failed step: close, show `message` (none when
    // empty: the failure has shown its own), offer the image.
    void Abandon(const std::string& message);

    ProjectLoaderView& m_view;
    ProjectSession& m_session;
};
