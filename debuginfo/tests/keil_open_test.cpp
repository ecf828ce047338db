// Every real project beside the repository opened headless, with the real
// disassembler: the two whose C listings carry the symbol table open; the
// others stop at their first C listing with the symbol-table message.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "listing_model.h"
#include "loader_fakes.h"
#include "message_service.h"
#include "path_resolver.h"
#include "project_messages.h"
#include "symbol_table.h"
#include "test_support.h"

namespace {

const std::set<std::string> kProjectsWithSymbolTables = {"mcp-prot", "exitrip-blinky"};

// The loaded project's line tables agree with the disassembly: every
// attached instruction starts in it, no address belongs to two lines, and
// every line the index gives an instruction address has instructions.
// Lines with code that got no instruction are added to `bare` as "FILE:LINE".
void CheckLoadedProject(const CProjectLoader& loader, size_t& instructions,
                        std::vector<std::string>& bare) {
    const DisasmLoader& disassembly = *loader.m_pDisasmLoader;
    std::set<uint32_t> seen;
    for (const auto& source : loader.m_listSourceLoaders) {
        for (const TextLine& line : source->m_lines) {
            for (const InstructionInfo& instruction : line.m_instructions) {
                EXPECT_EQ(disassembly.m_mapInstructions.count(instruction.m_dwAddress), 1u);
                EXPECT_TRUE(seen.insert(instruction.m_dwAddress).second)
                    << source->m_strName << ":" << line.m_nLine;
                ++instructions;
            }
        }
    }
    auto source = loader.m_listSourceLoaders.rbegin();
    for (const CIndexTable& index : g_IndexTableList) {
        ASSERT_NE(source, loader.m_listSourceLoaders.rend());
        const Loader& text = **source++;
        EXPECT_EQ(platform::ToUpperKey(text.m_strName), index.m_strFileName);
        if (platform::ExtensionOf(index.m_strFileName) != ".C") continue;
        for (uint32_t line = 1; line <= index.Count(); ++line) {
            const IndexEntry* entry = index.Entry(line);
            if (entry->m_nAddress < 0) continue;
            if (!disassembly.m_mapInstructions.count(static_cast<uint32_t>(entry->m_nAddress)))
                continue;
            if (text.m_lines[line - 1].m_instructions.empty())
                bare.push_back(index.m_strFileName + ":" + std::to_string(line));
        }
    }
}

} // namespace

TEST(KeilOpen, EveryProjectOpensOrStopsAtTheSymbolTable) {
    const std::vector<std::string> folders = debuginfo_test::KeilProjectFolders();
    if (folders.empty()) GTEST_SKIP() << debuginfo_test::KeilFixturesAbsentMessage();
    debuginfo_test::TempFolder scratch;
    size_t opened = 0;
    size_t stopped = 0;
    size_t instructions = 0;
    std::vector<std::string> bare;
    for (const std::string& folder : folders) {
        const bool withTables = kProjectsWithSymbolTables.count(platform::FileNameOf(folder)) > 0;
        for (const std::string& project : debuginfo_test::FilesWithExtensions(folder, {".uv2"})) {
            SCOPED_TRACE(project);
            debuginfo_test::RecordingView view;
            debuginfo_test::RecordingSession session;
            CProjectLoader loader(view, session);
            loader.m_strDisassemblerDir = VEXA_BIN_DIR;
            loader.m_strDisassemblyOutput = scratch.Path("Corvex.out");
            platform::RecordingMessageService messages;
            messages.answers = {platform::MessageAnswer::Ok, platform::MessageAnswer::No};
            view.dialogAnswers.push_back(project);
            loader.OnFileOpen();
            if (withTables) {
                EXPECT_TRUE(messages.shown.empty()) << messages.Texts().front();
                ASSERT_TRUE(session.loaded);
                EXPECT_FALSE(session.hexOnly);
                EXPECT_FALSE(g_ListingModel.m_asmRows.empty());
                CheckLoadedProject(loader, instructions, bare);
                ++opened;
            } else {
                EXPECT_EQ(messages.Texts(),
                          (std::vector<std::string>{kSymbolTableMissingText, kHexOnlyQuestion}));
                EXPECT_FALSE(session.loaded);
                EXPECT_EQ(g_pSymbolTable, nullptr);
                EXPECT_TRUE(g_IndexTableList.empty());
                EXPECT_TRUE(loader.m_listSourceLoaders.empty());
                ++stopped;
            }
            loader.CloseProject();
        }
    }
    EXPECT_EQ(opened, 2u);
    // The last line of _delay: its code segment starts 6 bytes before the
    // function, so the line tables do not find the segment that would end
    // the line and give it no instruction.
    EXPECT_TRUE(bare.empty()) << bare.front();
    EXPECT_GT(stopped, 5u);
    EXPECT_GT(instructions, 500u);
    std::printf(
        "%zu projects opened (%zu instructions attached), %zu stopped at the symbol table\n",
        opened, instructions, stopped);
}
