#include "project_loader.h"

#include "code_flow_hints.h"
#include "extended_map_reader.h"
#include "line_tables.h"
#include "listing_model.h"
#include "listing_reader.h"
#include "m51_reader.h"
#include "map_module_names.h"
#include "message_service.h"
#include "path_resolver.h"
#include "process.h"
#include "project_messages.h"
#include "source_check.h"
#include "src_listing_reader.h"
#include "symbol_records.h"
#include "symbol_table.h"
#include "xdata_range.h"

int g_bAsmOnly = 0;
MapLoader* g_pProject = nullptr;

CProjectLoader::CProjectLoader(ProjectLoaderView& view, ProjectSession& session)
    : m_strDisassemblerDir(platform::ExecutableDirectory()),
      m_strDisassemblyOutput(DisassemblyOutputPath()), m_view(view), m_session(session) {}

CProjectLoader::~CProjectLoader() {
    if (g_pProject == m_pMapLoader.get()) g_pProject = nullptr;
    if (g_pProjectFileList == &m_projectFiles) g_pProjectFileList = nullptr;
}

void CProjectLoader::OnProjectReload() {
    CloseProject();
    m_bReload = true;
    OnFileOpen();
    m_bReload = false;
}

void CProjectLoader::OnProjectClose() {
    CloseProject();
}

bool CProjectLoader::ChoosePath(std::string& path) {
    if (m_bReload) {
        path = m_strLastPath;
    } else {
        if (!m_view.ChooseProjectFile(kOpenFileFilter, path)) return false;
        m_strLastPath = path;
    }
    g_pProjectFileList = &m_projectFiles;
    return true;
}

void CProjectLoader::OnFileOpen() {
    m_session.ClearImageVerified();
    if (m_session.IsProjectLoaded()) {
        platform::ShowMessage(kProjectLoadedText, kErrorCaption);
        return;
    }
    g_bLoadError = 0;
    m_bHexOnly = false;
    m_bFromProjectFile = false;
    // The project's folders do not change while it is read: list each once.
    platform::ScopedFolderListingCache folderListings;

    std::string imagePath;
    if (m_bReopenHexOnly) {
        imagePath = m_strKeptHexPath;
        m_bReopenHexOnly = false;
        m_bHexOnly = true;
        g_pProjectFileList = &m_projectFiles;
    } else {
        std::string path;
        if (!ChoosePath(path)) return;
        const std::string extension = GetFileExtension(platform::ToUpperKey(path));
        if (extension == "UV2") {
            ProjectSettings settings;
            if (!ReadProjectFile(path, settings)) {
                platform::ShowMessage(kProjectFileFailedText, kOpenFailedCaption);
                return;
            }
            m_settings = std::move(settings);
            m_image = LocateProjectImage(m_settings);
            imagePath = m_image.m_strPath;
            m_bFromProjectFile = true;
        } else {
            if (extension == "HEX") m_bHexOnly = true;
            imagePath = path;
        }
    }

    m_strHexPath = imagePath;
    m_session.SetHexPath(imagePath);
    if (!platform::EqualsNoCase(GetFileExtension(imagePath), "hex")) {
        platform::ShowMessage(kNotHexFileText, kOpenFailedCaption);
        return;
    }

    std::string mapPath;
    m_bM51Exists = m_bMapExists = false;
    if (m_bFromProjectFile) {
        const std::string base = m_settings.m_strLstDir + m_settings.m_strOutName;
        const std::string m51 =
            LocateProjectFile(m_settings.m_strProjectDir, base + ".M51", {ListingFolder()});
        const std::string map =
            LocateProjectFile(m_settings.m_strProjectDir, base + ".MAP", {ListingFolder()});
        // A map that is there but is no file to read is reported when it is read.
        m_bM51Exists = !m51.empty();
        m_bMapExists = !map.empty();
        if (m_bM51Exists && m_bMapExists) {
            if (m_settings.m_strMapExt == "MAP")
                m_bM51Exists = false;
            else
                m_bMapExists = false;
        }
        mapPath = m_bMapExists ? map : m51;
    }
    if (!m_bM51Exists && !m_bMapExists && !m_bHexOnly) {
        platform::ShowMessage(kNoMapText);
        m_bHexOnly = true;
    }
    m_session.SetHexOnly(m_bHexOnly);

    Progress(0);
    if (!m_bHexOnly && !ReadMapAndProjectFile(mapPath)) return;
    if (m_bFromProjectFile && !AcceptImage()) return;
    Progress(10);
    if (!LoadDisassembly()) return;
    Progress(20);
    if (!m_bHexOnly && !LoadModules()) return;
    Progress(30);
    BuildAssemblyListings(m_listSourceLoaders, g_IndexTableList,
                          m_bHexOnly ? nullptr : g_pSymbolTable.get(), *m_pDisasmLoader,
                          g_ListingModel, [this](int percent) { Progress(percent); });
    Progress(100);
    FinishOpen();
}

bool CProjectLoader::ReadMapAndProjectFile(const std::string& mapPath) {
    auto map = std::make_unique<MapLoader>(mapPath, "/");
    if (g_bLoadError || !map->m_bFileOpen) {
        g_bLoadError = 0;
        platform::ShowMessage(kMapMissingText);
        OfferHexOnlyOpen();
        return false;
    }
    m_view.ClearWorkspaceTree();
    m_view.FillWorkspaceTree(platform::FileNameOf(m_strHexPath));
    SetProjectDirectory(m_settings.m_strProjectDir + "/");
    AllocateProjectTables();

    ReadMapModuleNames(*map, m_fileStruct.m_listNames);
    if (m_fileStruct.m_listNames.empty()) {
        Abandon(FillFormat(kFileCorruptedFormat, {mapPath}));
        return false;
    }
    std::vector<std::string> lineFaults;
    if (!ReadProjectGroupFiles(m_strLastPath, m_fileStruct, &lineFaults)) {
        Abandon(kProjectFileReopenText);
        return false;
    }
    if (!lineFaults.empty()) {
        std::string message = FillFormat(kProjectFileLinesFormat, {m_strLastPath});
        for (const std::string& fault : lineFaults)
            message += "\n" + fault;
        platform::ShowMessage(message);
    }
    if (m_fileStruct.m_listFileInfo.empty()) {
        Abandon(FillFormat(kFileCorruptedFormat, {m_strLastPath}));
        return false;
    }
    // The map names each module's source positions after the project's file.
    m_modules = FindProjectModules(m_settings, m_fileStruct);
    for (const ProjectModule& module : m_modules)
        map->m_mapModuleSources[module.m_strModuleName] = module.m_strSourceName;

    g_pSymbolTable = std::make_unique<CSymbolTable>();
    if (m_bMapExists)
        ParseMapFile(*map, m_settings.m_strProjectDir);
    else
        ParseM51File(*map, m_settings.m_strProjectDir);
    m_pMapLoader = std::move(map);
    g_pProject = m_pMapLoader.get();
    g_pSymbolTable->m_pModuleRecords = &m_pMapLoader->m_listModules;
    return true;
}

bool CProjectLoader::AcceptImage() {
    std::string message;
    switch (JudgeProjectImage(m_image, m_pMapLoader.get(), message)) {
    case ImageDecision::Take:
        return true;
    case ImageDecision::Ask:
        if (platform::ShowMessage(message, std::string(), platform::MessageButtons::YesNo) ==
            platform::MessageAnswer::Yes)
            return true;
        CloseProject();
        return false;
    case ImageDecision::Refuse:
        break;
    }
    CloseProject();
    platform::ShowMessage(message);
    return false;
}

bool CProjectLoader::LoadDisassembly() {
    m_pDisasmLoader.reset();
    // The map's code starts and switch helpers let the disassembler decode
    // the code as the board runs it; a bare image has none.
    const disasm8051::FlowHints hints =
        !m_bHexOnly && m_pMapLoader && g_pSymbolTable
            ? CodeFlowHints(*m_pMapLoader, *g_pSymbolTable, g_pSymbolDatabase.get())
            : disasm8051::FlowHints();
    // A failed run has shown why; nothing stale is read instead.
    if (!RunDisassembler(m_strHexPath, m_strDisassemblyOutput, m_strDisassemblerDir, hints)) {
        CloseProject();
        return false;
    }
    m_pDisasmLoader = std::make_unique<DisasmLoader>(m_strDisassemblyOutput);
    if (g_bLoadError) {
        g_bLoadError = 0;
        CloseProject();
        return false;
    }
    m_view.SetCodeMemoryEnd(CodeEndAddressText(*m_pDisasmLoader));
    return true;
}

std::string CProjectLoader::ListingFolder() const {
    return LocateProjectFile(m_settings.m_strProjectDir, m_settings.m_strLstDir);
}

std::string CProjectLoader::OutputFolder() const {
    return LocateProjectFile(m_settings.m_strProjectDir, m_settings.m_strOutDir);
}

bool CProjectLoader::LoadModules() {
    const InstructionOrder order = OrderInstructions(m_pDisasmLoader->m_mapInstructions);
    DropLinesPastImage(*m_pMapLoader, *g_pSymbolTable, order.m_nEnd);
    ShowFileFaults(m_pMapLoader->m_faults, m_pMapLoader->m_strPath);
    for (const ProjectModule& module : m_modules)
        if (!LoadModule(module, order)) return false;
    return true;
}

bool CProjectLoader::LoadModule(const ProjectModule& module, const InstructionOrder& order) {
    const std::string& projectDir = m_settings.m_strProjectDir;
    const std::string listingName = module.m_strBase + ".lst";
    const std::string& sourceName = module.m_strSourceName;
    const bool assembler = module.m_kind == ModuleKind::Assembler;

    auto listing = std::make_shared<LSTLoader>();
    listing->m_strModuleName = module.m_strModuleName;
    if (!LoadSourceFile(*listing, ModuleListingPath(m_settings, module), projectDir)) {
        g_bLoadError = 0;
        Abandon(FillFormat(kFileCorruptedFormat, {listingName}));
        return false;
    }
    SplitTextLines(*listing);

    CreateSourceLoader(*listing, ModuleSourcePath(m_settings, module), projectDir);
    if (g_bLoadError) {
        g_bLoadError = 0;
        Abandon(FillFormat(kFileCorruptedFormat, {sourceName}));
        return false;
    }
    SplitTextLines(*listing->m_pSourceLoader);

    if (assembler) {
        uint32_t startupAddress = 0;
        ParseStartupListing(*listing, *m_pMapLoader, startupAddress);
    } else {
        g_bLoadError = 1;
        FileFaults faults;
        ParseListingFile(*listing, *g_pSymbolTable, g_pSymbolDatabase.get(), &faults);
        if (g_bLoadError) {
            g_bLoadError = 0;
            Abandon(kSymbolTableMissingText);
            return false;
        }
        ShowFileFaults(faults, listing->m_strPath);
    }

    CLineInfoInModule* lines = FindModuleLineInfo(*m_pMapLoader, module.m_strModuleName);
    if (!assembler && !TranslateSrcLines(module, *listing, lines)) return false;
    const int built = BuildModuleLineEntries(
        lines, *listing, sourceName, m_pDisasmLoader->m_mapInstructions, order,
        m_pDisasmLoader->m_mapLabels, *g_pSymbolTable, g_pSymbolDatabase.get());
    // An assembler module that the map does not list has no code to follow.
    if (!built && !assembler) {
        Abandon(FillFormat(kOptionErrorFormat, {sourceName, sourceName}));
        return false;
    }
    ReportChangedSource(*listing, lines);

    CloseLoaderFile(*listing);
    CloseLoaderFile(*listing->m_pSourceLoader);
    m_listLstLoaders.push_front(listing);
    m_mapLstLoaders[module.m_strModuleName] = listing.get();
    m_listSourceLoaders.push_front(listing->m_pSourceLoader);
    m_view.OpenSourceDocument(listing->m_pSourceLoader->m_strPath);
    m_projectFiles.m_listFiles.push_back(sourceName);
    g_IndexTableList.emplace_back(sourceName);
    m_pMapLoader->m_listLstLoaders.push_front(listing.get());
    return true;
}

void CProjectLoader::ReportChangedSource(const LSTLoader& listing, const CLineInfoInModule* lines) {
    const Loader& source = *listing.m_pSourceLoader;
    // The listing as the project names it: below the project's folder.
    std::string listingName = listing.m_strPath;
    const std::string folder = m_settings.m_strProjectDir + "/";
    if (listingName.rfind(folder, 0) == 0) listingName.erase(0, folder.size());
    const std::string text =
        SourceMismatchText(source.m_strName, listingName, FirstChangedSourceLine(listing, source),
                           SourceLinesPastEnd(lines, source.m_lines.size()), source.m_lines.size());
    if (!text.empty()) platform::ShowMessage(text);
}

bool CProjectLoader::TranslateSrcLines(const ProjectModule& module, const LSTLoader& listing,
                                       CLineInfoInModule* lines) {
    // A .SRC file left beside a listing that was compiled without it says
    // nothing about this build: the map's lines are C lines then.
    std::string directivePath;
    if (!CompiledThroughSrc(listing, directivePath)) return true;
    const std::string besideObjects = m_settings.m_strOutDir + module.m_strBase + ".SRC";
    std::string path = directivePath.empty() ? besideObjects : directivePath;
    std::string found = LocateProjectFile(m_settings.m_strProjectDir, path, {OutputFolder()});
    if (found.empty() && path != besideObjects)
        found = LocateProjectFile(m_settings.m_strProjectDir, besideObjects, {OutputFolder()});
    const TextFileLoader src(found.empty() ? path : found, m_settings.m_strProjectDir);
    if (g_bLoadError) {
        g_bLoadError = 0;
        Abandon(std::string());
        return false;
    }
    ParseSrcFile(src, lines, *g_pSymbolTable);
    return true;
}

void CProjectLoader::ShowFileFaults(const FileFaults& faults, const std::string& path) {
    if (!faults.Empty()) platform::ShowMessage(faults.Message(path));
}

void CProjectLoader::FinishOpen() {
    m_session.InitDebugger();
    m_session.StartDebugSession();
    if (m_bHexOnly) {
        if (m_bReload)
            g_bAsmOnly = 1;
        else if (m_view.MainWindowExists())
            m_view.ShowAssemblyOnly();
    } else {
        m_view.ExpandWorkspaceTree();
    }
    const uint16_t pc = m_session.ReadPc();
    m_session.SetCurrentPc(pc);
    m_session.ShowPcInAssembly(pc, 1);
    m_session.UpdateDebugWindows();
}

void CProjectLoader::Abandon(const std::string& message) {
    CloseProject();
    if (!message.empty()) platform::ShowMessage(message);
    OfferHexOnlyOpen();
}

void CProjectLoader::OfferHexOnlyOpen() {
    m_bReopenHexOnly = false;
    if (platform::ShowMessage(kHexOnlyQuestion, std::string(), platform::MessageButtons::YesNo) !=
        platform::MessageAnswer::Yes)
        return;
    m_bReopenHexOnly = true;
    m_strKeptHexPath = m_strHexPath;
    m_view.PostCommand([this] { OnFileOpen(); });
}

void CProjectLoader::CloseProject() {
    // Every record and every pointer to it goes before the panes are told.
    g_pProject = nullptr;
    m_pMapLoader.reset();
    m_mapLstLoaders.clear();
    m_listLstLoaders.clear();
    m_listSourceLoaders.clear();
    g_ListingModel.Clear();
    g_IndexTableList.clear();
    g_pSymbolDatabase.reset();
    g_pSymbolTable.reset();
    m_pDisasmLoader.reset();
    g_bLoadError = 0;

    Progress(0);
    m_session.ClearProjectLoaded();
    m_view.CloseAllDocuments();
    m_projectFiles.m_listFiles.clear();
    m_fileStruct.m_listNames.clear();
    m_fileStruct.m_listFileInfo.clear();
    m_modules.clear();
    m_view.ClearPanes();

    ResetXdataRange();
    m_bHexOnly = false;
    m_session.SetHexOnly(false);
    g_bAsmOnly = 0;
}
