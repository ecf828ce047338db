// Every real project beside the repository: its image disassembled by the
// real `corvex`, every module's listing and assembler source read, and the
// line tables built from them.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

#include "disasm_loader.h"
#include "extended_map_reader.h"
#include "line_tables.h"
#include "listing_reader.h"
#include "m51_reader.h"
#include "map_loader.h"
#include "message_service.h"
#include "path_resolver.h"
#include "project_file.h"
#include "src_listing_reader.h"
#include "test_support.h"
#include "xdata_range.h"

namespace {

// The projects whose C listings carry the symbol table.
const std::set<std::string> kProjectsWithSymbolTables = {"mcp-prot", "exitrip-blinky"};

bool IsAssemblerSource(const std::string& extension) {
    return extension == ".A51" || extension == ".ASM";
}

const SymbolInfo* FindCodeSymbolAt(const CSymbolTable& table, uint32_t address) {
    return table.SymbolAtAddress(address, kSelectCode);
}

struct ProjectCounts {
    size_t cListings = 0;
    size_t typedSymbols = 0; // functions typed PROC from the listings
    size_t asmListings = 0;
    size_t srcFiles = 0;
    size_t instructionsAttached = 0;
    size_t rejectedModules = 0;
    size_t lineRecords = 0;
    size_t lineRecordsInsideInstructions = 0;
};

void CheckProject(const std::string& projectPath, bool expectSymbolTables, ProjectCounts& counts) {
    SCOPED_TRACE(projectPath);
    ProjectSettings settings;
    ASSERT_EQ(ReadProjectFile(projectPath, settings), 1);
    CFileStruct files;
    ASSERT_EQ(ReadProjectGroupFiles(projectPath, files), 1);
    const std::string& dir = settings.m_strProjectDir;

    // The map.
    const std::string mapPath = platform::ResolvePath(
        dir, settings.m_strLstDir + settings.m_strOutName + "." + settings.m_strMapExt);
    ASSERT_FALSE(mapPath.empty());
    ResetXdataRange();
    MapLoader map(mapPath, "/");
    CSymbolTable table;
    CSymbolDatabase database;
    if (settings.m_strMapExt == "MAP")
        ParseMapFile(map, table, database, dir);
    else
        ParseM51File(map, table, database, dir);

    // The disassembly of the image.
    const std::string hexPath =
        platform::ResolvePath(dir, settings.m_strOutDir + settings.m_strOutName + ".hex");
    ASSERT_FALSE(hexPath.empty());
    debuginfo_test::TempFolder scratch;
    const std::string output = scratch.Path("Corvex.out");
    ASSERT_EQ(RunDisassembler(hexPath, output, VEXA_BIN_DIR), 1);
    const DisasmLoader disassembly(output);
    ASSERT_GT(disassembly.m_dwHighestAddress, 0u);

    std::map<uint32_t, std::string> lineOfAddress; // from the attached instructions
    std::vector<std::shared_ptr<LSTLoader>> listings;
    for (const FILEINFO& file : files.m_listFileInfo) {
        const std::string base = platform::FileNameOf(file.m_strPath);
        const bool assembler = IsAssemblerSource(file.m_strExt);
        if (!assembler && file.m_strExt != ".C") continue;
        SCOPED_TRACE(base + file.m_strExt);

        const std::string listingPath =
            platform::ResolvePath(dir, settings.m_strLstDir + base + ".lst");
        if (listingPath.empty()) continue; // not built in this target
        auto listing = std::make_shared<LSTLoader>();
        ASSERT_EQ(LoadSourceFile(*listing, listingPath, "/"), 1);
        SplitTextLines(*listing);
        listings.push_back(listing);

        if (assembler) {
            uint32_t startup = 0xFFFFFFFF;
            EXPECT_EQ(ParseStartupListing(*listing, map, startup), 1);
            ++counts.asmListings;
            continue;
        }

        g_bLoadError = 1;
        EXPECT_EQ(ParseListingFile(*listing, table, &database), 1);
        EXPECT_EQ(g_bLoadError, expectSymbolTables ? 0 : 1);
        if (expectSymbolTables) {
            // The module's functions get the type word PROC (some modules hold data only).
            size_t procs = 0;
            for (const auto& segment : database.m_listCode)
                if (segment->m_strFile == base + ".C")
                    if (const SymbolInfo* code = FindCodeSymbolAt(table, segment->m_dwStart))
                        procs += code->m_strType == "PROC";
            counts.typedSymbols += procs;
        }
        g_bLoadError = 0;
        ++counts.cListings;

        auto sourcePath = settings.m_mapSourcePaths.find(base + file.m_strExt);
        ASSERT_NE(sourcePath, settings.m_mapSourcePaths.end());
        platform::RecordingMessageService messages;
        ASSERT_EQ(CreateSourceLoader(*listing, sourcePath->second, dir), 1);
        ASSERT_EQ(g_bLoadError, 0) << sourcePath->second;
        SplitTextLines(*listing->m_pSourceLoader);
        const size_t sourceLines = listing->m_pSourceLoader->m_lines.size();

        CLineInfoInModule* module = FindModuleLineInfo(map, base);
        ASSERT_NE(module, nullptr) << base;
        const std::string srcPath =
            platform::ResolvePath(dir, settings.m_strOutDir + base + ".SRC");
        if (!srcPath.empty()) {
            const TextFileLoader src(srcPath, "/");
            ParseSrcFile(src, module, table);
            ++counts.srcFiles;
        }

        const std::string sourceName = base + file.m_strExt;
        const int built =
            BuildModuleLineEntries(module, *listing, sourceName, disassembly.m_mapInstructions,
                                   disassembly.m_mapLabels, table, &database);
        // Code that a .SRC file places before its first "; SOURCE LINE #"
        // comment (shared entry blocks "L?nnnn:") has no C line: the module
        // is rejected, as Open rejects it.
        bool untranslated = false;
        for (const CLineInfoInMapFormat& record : module->m_lines)
            untranslated = untranslated || record.m_nLine == kUntranslatedLine;
        if (untranslated) {
            EXPECT_FALSE(srcPath.empty());
            EXPECT_EQ(built, 0);
            ++counts.rejectedModules;
            continue;
        }
        EXPECT_EQ(built, 1);

        const auto& records = module->m_lines;
        for (size_t i = 0; i < records.size(); ++i) {
            const CLineInfoInMapFormat& record = records[i];
            if (record.m_nKind != kLineSource) continue;
            EXPECT_GE(record.m_nLine, 1u);
            EXPECT_LE(record.m_nLine, sourceLines);
            ++counts.lineRecords;
            if (disassembly.m_mapInstructions.count(record.m_dwAddress) == 0) {
                // The disassembler's linear sweep can run out of step after a
                // table of constants placed before a function.
                ++counts.lineRecordsInsideInstructions;
                continue;
            }
            const bool followedBySourceLine = i + 1 < records.size() &&
                                              records[i + 1].m_nKind == kLineSource &&
                                              records[i + 1].m_dwAddress > record.m_dwAddress;
            if (followedBySourceLine && record.m_nLine >= 1 && record.m_nLine <= sourceLines) {
                EXPECT_FALSE(
                    listing->m_pSourceLoader->m_lines[record.m_nLine - 1].m_instructions.empty())
                    << "line " << record.m_nLine;
            }
        }
        const std::string key = platform::ToUpperKey(sourceName) + ":";
        for (const TextLine& line : listing->m_pSourceLoader->m_lines) {
            for (const InstructionInfo& instruction : line.m_instructions) {
                const std::string position = key + std::to_string(line.m_nLine);
                auto [it, added] = lineOfAddress.emplace(instruction.m_dwAddress, position);
                EXPECT_TRUE(added)
                    << instruction.m_dwAddress << " in " << it->second << " and " << position;
                EXPECT_EQ(table.GetLineOfAddress(instruction.m_dwAddress), position);
                ++counts.instructionsAttached;
            }
        }
    }
    ResetXdataRange();
}

} // namespace

TEST(KeilListings, EveryProjectsListingsAndLineTablesAreRead) {
    const std::vector<std::string> folders = debuginfo_test::KeilProjectFolders();
    if (folders.empty()) GTEST_SKIP() << debuginfo_test::KeilFixturesAbsentMessage();
    ProjectCounts counts;
    for (const std::string& folder : folders) {
        const bool withTables = kProjectsWithSymbolTables.count(platform::FileNameOf(folder)) > 0;
        for (const std::string& project : debuginfo_test::FilesWithExtensions(folder, {".uv2"}))
            CheckProject(project, withTables, counts);
    }
    EXPECT_GT(counts.cListings, 10u);
    EXPECT_GT(counts.asmListings, 0u);
    EXPECT_GT(counts.srcFiles, 0u);
    EXPECT_GT(counts.instructionsAttached, 1000u);
    EXPECT_GT(counts.typedSymbols, 20u);
    EXPECT_LE(counts.rejectedModules, 1u); // tft-terminal's S6D0154
    EXPECT_LT(counts.lineRecordsInsideInstructions * 100, counts.lineRecords)
        << counts.lineRecordsInsideInstructions << " of " << counts.lineRecords;
    std::printf("%zu C listings, %zu functions typed, %zu assembler listings, %zu .SRC files, "
                "%zu instructions attached, %zu of %zu line records inside an instruction\n",
                counts.cListings, counts.typedSymbols, counts.asmListings, counts.srcFiles,
                counts.instructionsAttached, counts.lineRecordsInsideInstructions,
                counts.lineRecords);
}
