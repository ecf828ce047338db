// The field project (data/field): a project moved from the machine that built
// it, opened headless with the real disassembler. Its project file names the
// output and listing folders and the start-up file by drive-letter paths; one
// C module is a ".c51" file, one is compiled through its .SRC file (with a
// shared entry block above the first source-line comment), a stale .SRC lies
// beside a listing built without it, the assembler module wait1.a51 names
// itself WAIT, and a C file of the project is a document.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "line_records.h"
#include "listing_model.h"
#include "loader_fakes.h"
#include "message_service.h"
#include "project_messages.h"
#include "symbol_lookup.h"
#include "test_support.h"

namespace {

class FieldProjectTest : public testing::Test {
protected:
    void SetUp() override {
        loader.m_strDisassemblerDir = VEXA_BIN_DIR;
        loader.m_strDisassemblyOutput = scratch.Path("Corvex.out");
        messages.answers = {platform::MessageAnswer::Ok, platform::MessageAnswer::No};
    }
    void TearDown() override { loader.CloseProject(); }
    void Open(const std::string& folder) {
        view.dialogAnswers.push_back(folder + "/field.Uv2");
        loader.OnFileOpen();
    }

    platform::RecordingMessageService messages;
    debuginfo_test::TempFolder scratch;
    debuginfo_test::RecordingView view;
    debuginfo_test::RecordingSession session;
    CProjectLoader loader{view, session};
};

} // namespace

TEST_F(FieldProjectTest, EveryModuleOpensWithItsLinesInBothDirections) {
    Open(debuginfo_test::FieldFolder());
    ASSERT_TRUE(messages.shown.empty()) << messages.Texts().front();
    ASSERT_TRUE(session.loaded);
    std::vector<std::string> modules;
    for (const ProjectModule& module : loader.m_modules)
        modules.push_back(std::string(ModuleKindName(module.m_kind)) + " " +
                          module.m_strModuleName + " " + module.m_strSourceName);
    EXPECT_EQ(modules, (std::vector<std::string>{"C MAIN MAIN.C51", "C IO IO.C",
                                                 "assembler ?C_STARTUP START51.A51",
                                                 "assembler WAIT WAIT1.A51"}));

    // Every instruction of the image belongs to a line of its module, and
    // the instruction at each line record's address is attached to the line,
    // the last record of an assembler module included.
    for (const auto& [address, text] : loader.m_pDisasmLoader->m_mapInstructions)
        EXPECT_NE(GetLineOfAddress(address), "") << address << " " << text;
    for (const ProjectModule& module : loader.m_modules) {
        const Loader& source = *loader.m_mapLstLoaders.at(module.m_strModuleName)->m_pSourceLoader;
        for (const CLineInfoInMapFormat& record :
             FindModuleLineInfo(*loader.m_pMapLoader, module.m_strModuleName)->m_lines) {
            if (record.m_nKind != kLineSource) continue;
            const auto& attached = source.m_lines.at(record.m_nLine - 1).m_instructions;
            EXPECT_TRUE(std::any_of(
                attached.begin(), attached.end(),
                [&](const InstructionInfo& i) { return i.m_dwAddress == record.m_dwAddress; }))
                << module.m_strSourceName << ":" << record.m_nLine;
        }
    }
    // Lines by address and addresses by line (a breakpoint's road): the
    // start-up file by its drive-letter path, its last line included; the
    // .c51 module in C lines, its stale .SRC left alone; io.c through io.SRC,
    // where the entry block L?0003 takes the function's first line; WAIT.
    const std::vector<std::pair<std::string, uint32_t>> lines = {
        {"START51.A51:20", 0x00}, {"START51.A51:31", 0x0C}, {"MAIN.C51:13", 0x11},
        {"MAIN.C51:18", 0x20},    {"IO.C:4", 0x22},         {"IO.C:6", 0x24},
        {"IO.C:12", 0x2A},        {"WAIT1.A51:10", 0x2B},   {"WAIT1.A51:14", 0x33}};
    for (const auto& [key, address] : lines) {
        EXPECT_EQ(GetLineOfAddress(address), key);
        EXPECT_EQ(GetAddressOfLine(key), address) << key;
    }
    const Loader& main = *loader.m_mapLstLoaders.at("MAIN")->m_pSourceLoader;
    EXPECT_EQ(main.m_lines[12 - 1].m_instructions.size(), 4u); // the loop's start and test

    // The loop's test comes back to line 12: the comment above it is not shown again.
    EXPECT_EQ(debuginfo_test::FirstRepeatedSourceRow(g_ListingModel, *g_pSymbolTable), "");
}

TEST_F(FieldProjectTest, AMissingSrcFileOfASrcBuildStopsTheOpen) {
    debuginfo_test::TempFolder copy;
    std::filesystem::copy(debuginfo_test::FieldFolder(), copy.Root(),
                          std::filesystem::copy_options::recursive);
    std::filesystem::remove(copy.Path("obj/io.SRC"));
    Open(copy.Root());
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"Cannot Find .\\obj\\io.SRC File .\nStop Project Loading.",
                                        kHexOnlyQuestion}));
    EXPECT_FALSE(session.loaded);
    EXPECT_EQ(g_pSymbolTable, nullptr);
}

// The image is missing from the output folder: the one of the same name
// beside the project is taken when it holds the bytes the map places and no
// other; without a map nothing says it is this build's.
TEST_F(FieldProjectTest, AnImageFoundInPlaceOfTheMissingOneMustBeThisBuilds) {
    debuginfo_test::TempFolder copy;
    std::filesystem::copy(debuginfo_test::FieldFolder(), copy.Root(),
                          std::filesystem::copy_options::recursive);
    const std::string image = debuginfo_test::ReadWholeFile(copy.Path("obj/field.hex"));
    std::filesystem::rename(copy.Path("obj/field.hex"), copy.Path("field.hex"));
    Open(copy.Root());
    EXPECT_TRUE(messages.shown.empty()) << messages.Texts().front();
    EXPECT_TRUE(session.loaded);
    EXPECT_EQ(session.hexPath, copy.Path("field.hex"));
    loader.CloseProject();

    const std::string stop = "The project's image " + copy.Path("obj/field.hex") +
                             " does not exist. The image of that name found at " +
                             copy.Path("field.hex") + " is not this build's: ";
    // One byte after the code: another build's image.
    copy.Write("field.hex", debuginfo_test::HexRecord(0x34, {0x22}) + image);
    const size_t disassembled = view.Calls("SetCodeMemoryEnd").size();
    Open(copy.Root());
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{stop +
                                                          "the image holds bytes at 0x0034, "
                                                          "where the map " +
                                                          copy.Path("lst/field.M51") +
                                                          " places no code.\nStop Project "
                                                          "Loading."}));
    EXPECT_FALSE(session.loaded);
    EXPECT_EQ(g_pSymbolTable, nullptr);
    EXPECT_EQ(view.Calls("SetCodeMemoryEnd").size(), disassembled);

    messages.shown.clear();
    copy.Write("field.hex", image);
    std::filesystem::remove(copy.Path("lst/field.M51"));
    Open(copy.Root());
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{kNoMapText, stop + "there is no linker map to compare it "
                                                           "with.\nStop Project Loading."}));
    EXPECT_FALSE(session.loaded);
}
