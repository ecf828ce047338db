// Every real project beside the repository opened headless, with the real
// disassembler. What each project must give is read from its own files: one
// whose C listings all carry the symbol table opens without a message, with
// every module the map gives code to attached to its source lines; one with a
// C listing without the table stops with the symbol-table message.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "line_records.h"
#include "listing_model.h"
#include "listing_reader.h"
#include "loader_fakes.h"
#include "message_service.h"
#include "path_resolver.h"
#include "project_messages.h"
#include "symbol_table.h"
#include "test_support.h"

namespace {

// Whether the project's C listings all exist and all carry the symbol table.
struct ListingFacts {
    bool allFound = true;
    bool allWithTables = true;
};

ListingFacts ReadListingFacts(const std::string& project) {
    ListingFacts facts;
    ProjectSettings settings;
    CFileStruct files;
    if (!ReadProjectFile(project, settings) || !ReadProjectGroupFiles(project, files)) return {};
    for (const FILEINFO& file : files.m_listFileInfo) {
        if (ModuleKindOf(file) != ModuleKind::C) continue;
        const std::string listing =
            LocateProjectFile(settings.m_strProjectDir,
                              settings.m_strLstDir + platform::FileNameOf(file.m_strPath) + ".lst");
        if (listing.empty()) {
            facts.allFound = false;
            continue;
        }
        const std::string text = debuginfo_test::ReadWholeFile(listing);
        facts.allWithTables =
            facts.allWithTables && text.find(kListingTableRule) != std::string::npos;
    }
    return facts;
}

// The loaded project's line tables agree with the disassembly and the map:
// every attached instruction starts in the disassembly and belongs to one
// line, whose key leads back to an address; every module the map gives line
// records at instructions has instructions attached; every module has the
// name the map's module list gives its object. Lines with code that got no
// instruction are added to `bare` as "FILE:LINE".
void CheckLoadedProject(const CProjectLoader& loader, size_t& instructions,
                        std::vector<std::string>& bare) {
    const DisasmLoader& disassembly = *loader.m_pDisasmLoader;
    const auto objectModules = debuginfo_test::ObjectModuleNames(loader.m_pMapLoader->m_strText);
    std::set<uint32_t> seen;
    for (const ProjectModule& module : loader.m_modules) {
        SCOPED_TRACE(module.m_strSourceName);
        auto object = objectModules.find(module.m_strBase);
        if (object != objectModules.end()) {
            EXPECT_EQ(module.m_strModuleName, object->second);
        }
        const CLineInfoInModule* records =
            FindModuleLineInfo(*loader.m_pMapLoader, module.m_strModuleName);
        bool hasCode = false;
        for (size_t i = 0; records && i < records->m_lines.size(); ++i)
            hasCode =
                hasCode || (records->m_lines[i].m_nKind == kLineSource &&
                            disassembly.m_mapInstructions.count(records->m_lines[i].m_dwAddress));
        const Loader& source = *loader.m_mapLstLoaders.at(module.m_strModuleName)->m_pSourceLoader;
        size_t attached = 0;
        for (const TextLine& line : source.m_lines) {
            const std::string key = module.m_strSourceName + ":" + std::to_string(line.m_nLine);
            for (const InstructionInfo& instruction : line.m_instructions) {
                EXPECT_EQ(disassembly.m_mapInstructions.count(instruction.m_dwAddress), 1u);
                EXPECT_TRUE(seen.insert(instruction.m_dwAddress).second) << key;
                EXPECT_EQ(g_pSymbolTable->GetLineOfAddress(instruction.m_dwAddress), key);
                EXPECT_NE(g_pSymbolTable->GetAddressOfLine(key), kNoAddress) << key;
                ++attached;
            }
        }
        EXPECT_EQ(attached > 0, hasCode) << attached;
        instructions += attached;
    }
    // Every place the map says code begins starts an instruction row, none
    // a data row.
    const uint64_t imageEnd = OrderInstructions(disassembly.m_mapInstructions).m_nEnd;
    for (const auto& module : loader.m_pMapLoader->m_moduleLineRecords) {
        for (const CLineInfoInMapFormat& record : module->m_lines) {
            if (record.m_nKind == kLineFunctionEnd || record.m_dwAddress >= imageEnd) continue;
            const auto row = disassembly.m_mapInstructions.find(record.m_dwAddress);
            EXPECT_TRUE(row != disassembly.m_mapInstructions.end() &&
                        row->second.find(" DB ") == std::string::npos)
                << module->m_strModuleName << " line " << record.m_nLine << " at " << std::hex
                << record.m_dwAddress;
        }
    }
    auto source = loader.m_listSourceLoaders.rbegin();
    for (const CIndexTable& index : g_IndexTableList) {
        ASSERT_NE(source, loader.m_listSourceLoaders.rend());
        const Loader& text = **source++;
        EXPECT_EQ(platform::ToUpperKey(text.m_strName), index.m_strFileName);
        for (uint32_t line = 1; line <= index.Count(); ++line) {
            const IndexEntry* entry = index.Entry(line);
            if (entry->m_nAddress < 0) continue;
            if (!disassembly.m_mapInstructions.count(static_cast<uint32_t>(entry->m_nAddress)))
                continue;
            if (text.m_lines[line - 1].m_instructions.empty())
                bare.push_back(index.m_strFileName + ":" + std::to_string(line));
        }
    }
    EXPECT_EQ(debuginfo_test::FirstRepeatedSourceRow(g_ListingModel, *g_pSymbolTable), "");
}

// Whether `text` is Open's report on a source of the project changed after
// the build, and the first for that file.
bool IsChangedSourceReport(const CProjectLoader& loader, const std::string& text,
                           std::set<std::string>& named) {
    for (const auto& source : loader.m_listSourceLoaders)
        if (text.rfind(source->m_strName + " was changed after the build: line ", 0) == 0 ||
            (text.rfind("The map places code on ", 0) == 0 &&
             text.find(" of " + source->m_strName + ", which has ") != std::string::npos))
            return named.insert(source->m_strName).second;
    return false;
}

} // namespace

TEST(KeilOpen, EveryProjectOpensOrStopsWithTheMessageOfItsProblem) {
    const std::vector<std::string> folders = debuginfo_test::KeilProjectFolders();
    if (folders.empty()) GTEST_SKIP() << debuginfo_test::KeilFixturesAbsentMessage();
    debuginfo_test::TempFolder scratch;
    size_t opened = 0;
    size_t stopped = 0;
    size_t instructions = 0;
    std::vector<std::string> bare;
    for (const std::string& folder : folders) {
        for (const std::string& project : debuginfo_test::FilesWithExtensions(folder, {".uv2"})) {
            SCOPED_TRACE(project);
            const ListingFacts facts = ReadListingFacts(project);
            debuginfo_test::RecordingView view;
            debuginfo_test::RecordingSession session;
            CProjectLoader loader(view, session);
            loader.m_strDisassemblerDir = VEXA_BIN_DIR;
            loader.m_strDisassemblyOutput = scratch.Path("Corvex.out");
            platform::RecordingMessageService messages;
            messages.answers = {platform::MessageAnswer::Ok, platform::MessageAnswer::Ok,
                                platform::MessageAnswer::No};
            view.dialogAnswers.push_back(project);
            loader.OnFileOpen();
            if (facts.allFound && facts.allWithTables) {
                // A source changed after its build is named, once; nothing else is said.
                std::set<std::string> changed;
                for (const std::string& text : messages.Texts())
                    EXPECT_TRUE(IsChangedSourceReport(loader, text, changed)) << text;
                ASSERT_TRUE(session.loaded);
                EXPECT_FALSE(session.hexOnly);
                EXPECT_FALSE(g_ListingModel.m_asmRows.empty());
                CheckLoadedProject(loader, instructions, bare);
                ++opened;
            } else {
                if (facts.allFound) {
                    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kSymbolTableMissingText,
                                                                          kHexOnlyQuestion}));
                }
                ASSERT_FALSE(messages.shown.empty());
                EXPECT_EQ(messages.Texts().back(), kHexOnlyQuestion);
                EXPECT_FALSE(session.loaded);
                EXPECT_EQ(g_pSymbolTable, nullptr);
                EXPECT_TRUE(g_IndexTableList.empty());
                EXPECT_TRUE(loader.m_listSourceLoaders.empty());
                ++stopped;
            }
            loader.CloseProject();
        }
    }
    EXPECT_TRUE(bare.empty()) << bare.front();
    std::printf("%zu projects opened (%zu instructions attached), %zu stopped\n", opened,
                instructions, stopped);
}
