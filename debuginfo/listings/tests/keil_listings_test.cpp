// Every real project beside the repository: its image disassembled by the
// real `corvex`, every module's listing and assembler source read, and the
// line tables built from them, whether or not the listings carry the symbol
// table that Open asks for, and once more for a copy moved from the machine
// that built it. What each module must give is read from the project's own
// files.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "disasm_loader.h"
#include "extended_map_reader.h"
#include "line_tables.h"
#include "listing_reader.h"
#include "m51_reader.h"
#include "map_loader.h"
#include "message_service.h"
#include "path_resolver.h"
#include "project_file.h"
#include "project_modules.h"
#include "project_paths.h"
#include "src_listing_reader.h"
#include "test_support.h"
#include "xdata_range.h"

namespace {

struct ProjectCounts {
    size_t cListings = 0;
    size_t asmListings = 0;
    size_t srcBuilds = 0;
    size_t instructionsAttached = 0;
    size_t lineRecords = 0;
    size_t lineRecordsInsideInstructions = 0;
    size_t lineRecordsPastTheirFile = 0;
};

// A module of the project as Open finds it, with its listing.
struct Module {
    ProjectModule project;
    std::shared_ptr<LSTLoader> listing;
};

std::shared_ptr<LSTLoader> LoadListing(const std::string& path) {
    auto listing = std::make_shared<LSTLoader>();
    EXPECT_EQ(LoadSourceFile(*listing, path, "/"), 1);
    SplitTextLines(*listing);
    return listing;
}

// What one project leaves behind (a load error, the external-data range) is
// gone before the next one is read.
struct FreshProjectState {
    FreshProjectState() { Clear(); }
    ~FreshProjectState() { Clear(); }
    static void Clear() {
        g_bLoadError = 0;
        ResetXdataRange();
    }
};

void CheckProject(const std::string& projectPath, ProjectCounts& counts) {
    SCOPED_TRACE(projectPath);
    const FreshProjectState fresh;
    ProjectSettings settings;
    ASSERT_EQ(ReadProjectFile(projectPath, settings), 1);
    CFileStruct files;
    ASSERT_EQ(ReadProjectGroupFiles(projectPath, files), 1);
    const std::string& dir = settings.m_strProjectDir;
    const std::string mapPath = LocateProjectFile(
        dir, settings.m_strLstDir + settings.m_strOutName + "." + settings.m_strMapExt);
    ASSERT_FALSE(mapPath.empty());
    MapLoader map(mapPath, "/");
    const auto objectModules = debuginfo_test::ObjectModuleNames(map.m_strText);

    // The modules the map's module list names, their files found as Open finds them.
    std::vector<Module> modules;
    for (const ProjectModule& project : FindProjectModules(settings, files)) {
        const std::string listingPath = ModuleListingPath(settings, project);
        if (!platform::FileExists(listingPath)) continue; // not built in this target
        Module module{project, LoadListing(listingPath)};
        const std::string& sourceName = project.m_strSourceName;
        EXPECT_EQ(CreateSourceLoader(*module.listing, ModuleSourcePath(settings, project), dir), 1);
        ASSERT_EQ(g_bLoadError, 0) << sourceName;
        SplitTextLines(*module.listing->m_pSourceLoader);
        auto object = objectModules.find(project.m_strBase);
        if (object == objectModules.end()) continue; // not linked
        EXPECT_EQ(project.m_strModuleName, object->second);
        map.m_mapModuleSources[project.m_strModuleName] = sourceName;
        modules.push_back(std::move(module));
    }

    CSymbolTable table;
    CSymbolDatabase database;
    if (settings.m_strMapExt == "MAP")
        ParseMapFile(map, table, database, dir);
    else
        ParseM51File(map, table, database, dir);
    const std::string hexPath =
        LocateProjectFile(dir, settings.m_strOutDir + settings.m_strOutName + ".hex");
    ASSERT_FALSE(hexPath.empty());
    debuginfo_test::TempFolder scratch;
    const std::string output = scratch.Path("Corvex.out");
    ASSERT_EQ(RunDisassembler(hexPath, output, VEXA_BIN_DIR), 1);
    const DisasmLoader disassembly(output);
    const InstructionOrder order = OrderInstructions(disassembly.m_mapInstructions);

    std::map<uint32_t, std::string> lineOfAddress; // from the attached instructions
    for (const Module& module : modules) {
        const std::string& sourceName = module.project.m_strSourceName;
        const std::string& moduleName = module.project.m_strModuleName;
        SCOPED_TRACE(sourceName);
        LSTLoader& listing = *module.listing;
        if (module.project.m_kind == ModuleKind::Assembler) {
            uint32_t startup = 0xFFFFFFFF;
            EXPECT_EQ(ParseStartupListing(listing, map, startup), 1);
            ++counts.asmListings;
        } else {
            const bool withTable = listing.m_strText.find(kListingTableRule) != std::string::npos;
            g_bLoadError = 1;
            FileFaults faults;
            EXPECT_EQ(ParseListingFile(listing, table, &database, &faults), 1);
            EXPECT_EQ(g_bLoadError, withTable ? 0 : 1);
            EXPECT_TRUE(faults.Empty()) << faults.Message(listing.m_strPath);
            g_bLoadError = 0;
            ++counts.cListings;
        }
        CLineInfoInModule* lines = FindModuleLineInfo(map, moduleName);
        ASSERT_NE(lines, nullptr) << moduleName;
        std::string srcPath;
        if (module.project.m_kind == ModuleKind::C && CompiledThroughSrc(listing, srcPath)) {
            const TextFileLoader src(LocateProjectFile(dir, srcPath), "/");
            ParseSrcFile(src, lines, table);
            ++counts.srcBuilds;
        }
        EXPECT_EQ(BuildModuleLineEntries(lines, listing, sourceName, disassembly.m_mapInstructions,
                                         order, disassembly.m_mapLabels, table, &database),
                  1);

        // Every line record at an instruction gives its line instructions; a
        // line past the end of the file (code of an included file, numbered in
        // that file's lines) gives its code no line.
        const Loader& source = *listing.m_pSourceLoader;
        const std::string key = platform::ToUpperKey(sourceName) + ":";
        const auto& records = lines->m_lines;
        bool hasCode = false;
        for (const CLineInfoInMapFormat& record : records) {
            if (record.m_nKind != kLineSource) continue;
            EXPECT_GE(record.m_nLine, 1u);
            ++counts.lineRecords;
            if (record.m_nLine > source.m_lines.size()) {
                EXPECT_NE(table.GetLineOfAddress(record.m_dwAddress),
                          key + std::to_string(record.m_nLine));
                ++counts.lineRecordsPastTheirFile;
                continue;
            }
            if (disassembly.m_mapInstructions.count(record.m_dwAddress) == 0) {
                // The disassembler's linear sweep can run out of step after a
                // table of constants placed before a function.
                ++counts.lineRecordsInsideInstructions;
                continue;
            }
            hasCode = true;
        }
        size_t attached = 0;
        for (const TextLine& line : source.m_lines) {
            for (const InstructionInfo& instruction : line.m_instructions) {
                const std::string position = key + std::to_string(line.m_nLine);
                auto [it, added] = lineOfAddress.emplace(instruction.m_dwAddress, position);
                EXPECT_TRUE(added)
                    << instruction.m_dwAddress << " in " << it->second << " and " << position;
                EXPECT_EQ(table.GetLineOfAddress(instruction.m_dwAddress), position);
                EXPECT_NE(table.GetAddressOfLine(position), kNoAddress) << position;
                ++attached;
            }
        }
        EXPECT_EQ(attached > 0, hasCode) << moduleName << " " << attached;
        counts.instructionsAttached += attached;
    }
}

} // namespace

TEST(KeilListings, EveryModuleOfEveryProjectGetsItsLines) {
    const std::vector<std::string> folders = debuginfo_test::KeilProjectFolders();
    if (folders.empty()) GTEST_SKIP() << debuginfo_test::KeilFixturesAbsentMessage();
    ProjectCounts counts;
    for (const std::string& folder : folders) {
        for (const std::string& project : debuginfo_test::FilesWithExtensions(folder, {".uv2"})) {
            CheckProject(project, counts);
            // The same project moved from the machine that built it.
            const debuginfo_test::TempFolder scratch;
            CheckProject(debuginfo_test::MovedCopyOfProject(project, scratch), counts);
        }
    }
    EXPECT_LT(counts.lineRecordsInsideInstructions * 100, counts.lineRecords)
        << counts.lineRecordsInsideInstructions << " of " << counts.lineRecords;
    std::printf("%zu C listings (%zu built through .SRC), %zu assembler listings, %zu "
                "instructions attached, %zu of %zu line records inside an instruction, %zu past "
                "the end of their file\n",
                counts.cListings, counts.srcBuilds, counts.asmListings, counts.instructionsAttached,
                counts.lineRecordsInsideInstructions, counts.lineRecords,
                counts.lineRecordsPastTheirFile);
}
