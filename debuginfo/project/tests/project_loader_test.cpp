// Open, Reload and Close without a user interface, on the demo project built
// out into listings and an image, and on the real projects beside the
// repository.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

#include "listing_model.h"
#include "listing_reader.h"
#include "loader_fakes.h"
#include "map_module_names.h"
#include "message_service.h"
#include "path_resolver.h"
#include "project_messages.h"
#include "symbol_lookup.h"
#include "test_support.h"

using debuginfo_test::RecordingSession;
using debuginfo_test::RecordingView;
using debuginfo_test::TempFolder;
using platform::MessageAnswer;

namespace {

// An Intel HEX image of `size` NOP bytes from address 0: every address is an
// instruction start.
std::string NopImage(unsigned size) {
    std::string text;
    for (unsigned address = 0; address < size; address += 16) {
        const unsigned count = std::min(16u, size - address);
        unsigned sum = count + (address >> 8) + (address & 0xFF);
        char record[64];
        std::snprintf(record, sizeof record, ":%02X%04X00", count, address);
        text += record;
        text += std::string(count * 2, '0');
        std::snprintf(record, sizeof record, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
        text += record;
    }
    return text + ":00000001FF\n";
}

std::string CListing(bool withSymbolTable) {
    std::string text = "C51 COMPILER V8.12\n\nline level    source\n";
    if (withSymbolTable)
        text += std::string("NAME                                    CLASS   MSPACE  TYPE    "
                            "OFFSET  SIZE\n") +
                kListingTableRule + "\n\n" + kListingTableEnd + "\n";
    return text;
}

// The bytes the demo's maps place: 0x0000 up to 0x0049.
constexpr unsigned kDemoCodeSize = 0x4A;

// The demo project with its listings and image, as a build leaves it.
void WriteBuiltDemo(const TempFolder& folder) {
    debuginfo_test::CopyDemoProject(folder, true);
    folder.Write("demo.hex", NopImage(kDemoCodeSize));
    folder.Write("main.lst", CListing(true));
    folder.Write("util.lst", CListing(true));
    folder.Write("startup.lst",
                 "A51 MACRO ASSEMBLER  STARTUP\n\nLOC  OBJ            LINE     SOURCE\n");
}

class ProjectLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        loader.m_strDisassemblerDir = VEXA_BIN_DIR;
        loader.m_strDisassemblyOutput = scratch.Path("Corvex.out");
        WriteBuiltDemo(project);
    }
    void TearDown() override { loader.CloseProject(); }

    void Open(const std::string& path) {
        view.dialogAnswers.push_back(path);
        loader.OnFileOpen();
    }
    std::string DemoPath() const { return project.Path("DEMO.UV2"); }

    // Nothing of a project is left.
    void ExpectNothingLoaded() const {
        EXPECT_FALSE(session.loaded);
        EXPECT_EQ(g_pSymbolTable, nullptr);
        EXPECT_EQ(g_pSymbolDatabase, nullptr);
        EXPECT_EQ(g_pProject, nullptr);
        EXPECT_EQ(loader.m_pMapLoader, nullptr);
        EXPECT_EQ(loader.m_pDisasmLoader, nullptr);
        EXPECT_TRUE(loader.m_listLstLoaders.empty());
        EXPECT_TRUE(loader.m_listSourceLoaders.empty());
        EXPECT_TRUE(loader.m_mapLstLoaders.empty());
        EXPECT_TRUE(loader.m_projectFiles.m_listFiles.empty());
        EXPECT_TRUE(g_IndexTableList.empty());
        EXPECT_TRUE(g_ListingModel.m_srcRows.empty());
        EXPECT_EQ(g_bLoadError, 0);
    }

    platform::RecordingMessageService messages;
    TempFolder project;
    TempFolder scratch;
    RecordingView view;
    RecordingSession session;
    CProjectLoader loader{view, session};
};

} // namespace

TEST_F(ProjectLoaderTest, OpensTheDemoProjectEndToEnd) {
    g_bLoadError = 1; // left over from elsewhere: must not spoil this load
    Open(DemoPath());
    EXPECT_TRUE(messages.Texts().empty()) << messages.Texts().front();
    ASSERT_TRUE(session.loaded);
    EXPECT_FALSE(session.hexOnly);
    EXPECT_EQ(platform::FileNameOf(session.hexPath), "demo.hex");
    EXPECT_EQ(session.log, (std::vector<std::string>{
                               "ClearImageVerified", "InitDebugger", "StartDebugSession", "ReadPc",
                               "SetCurrentPc 0", "ShowPcInAssembly 0 1", "UpdateDebugWindows"}));
    EXPECT_EQ(view.Calls("FillWorkspaceTree"),
              (std::vector<std::string>{"FillWorkspaceTree demo.hex"}));
    EXPECT_EQ(view.Calls("SetCodeMemoryEnd"), (std::vector<std::string>{"SetCodeMemoryEnd 0x59"}));
    EXPECT_EQ(view.log.back(), "ExpandWorkspaceTree");
    EXPECT_TRUE(view.Calls("ShowAssemblyOnly").empty());

    // Progress: 0, 10, 20, 30, the walk rising from 40, then 100.
    ASSERT_GT(view.progress.size(), 6u);
    EXPECT_EQ(std::vector<int>(view.progress.begin(), view.progress.begin() + 5),
              (std::vector<int>{0, 10, 20, 30, 40}));
    for (size_t i = 5; i + 1 < view.progress.size(); ++i)
        EXPECT_GT(view.progress[i], view.progress[i - 1]);
    EXPECT_EQ(view.progress[view.progress.size() - 2], 130);
    EXPECT_EQ(view.progress.back(), 100);

    // The modules in project order; the source files opened as documents.
    EXPECT_EQ(loader.m_projectFiles.m_listFiles,
              (std::vector<std::string>{"MAIN.C", "UTIL.C", "STARTUP.A51"}));
    ASSERT_EQ(view.documents.size(), 3u);
    EXPECT_EQ(platform::FileNameOf(view.documents[1]), "util.c");
    EXPECT_EQ(loader.m_mapLstLoaders.count("?C_STARTUP"), 1u);
    EXPECT_EQ(loader.m_mapLstLoaders.count("UTIL"), 1u);
    EXPECT_EQ(loader.m_listLstLoaders.front()->m_strModuleName, "?C_STARTUP");
    EXPECT_EQ(g_pProject, loader.m_pMapLoader.get());
    EXPECT_EQ(g_pProject->m_listLstLoaders.size(), 3u);
    std::vector<std::string> indexNames;
    for (const CIndexTable& index : g_IndexTableList)
        indexNames.push_back(index.m_strFileName);
    EXPECT_EQ(indexNames, loader.m_projectFiles.m_listFiles);

    // The line tables cover every instruction of a line's range.
    EXPECT_EQ(GetLineOfAddress(0x04), "MAIN.C:10");
    EXPECT_EQ(GetLineOfAddress(0x29), "UTIL.C:6");
    // The listings: 72 instructions; the index points at their rows.
    EXPECT_EQ(g_ListingModel.m_asmRows.size(), kDemoCodeSize);
    const CIndexTable& main = g_IndexTableList.front();
    EXPECT_EQ(main.Count(), 19u);
    EXPECT_EQ(main.Entry(10)->m_nAddress, 3);
    EXPECT_EQ(main.Entry(1)->m_nSrcRow, g_ListingModel.m_mapAddressToSrcRow.at(3));
    EXPECT_EQ(g_ListingModel.m_srcRowKinds[static_cast<size_t>(main.Entry(10)->m_nSrcRow)],
              kRowFirstInstruction);

    // Close empties everything before the panes are cleared.
    loader.OnProjectClose();
    ExpectNothingLoaded();
    EXPECT_TRUE(view.modelGoneBeforePanes);
    EXPECT_EQ(view.progress.back(), 0);
    EXPECT_EQ(view.log.back(), "ClearPanes");

    // A second Open gives the same listings again.
    Open(DemoPath());
    EXPECT_TRUE(session.loaded);
    EXPECT_EQ(g_ListingModel.m_asmRows.size(), kDemoCodeSize);
    EXPECT_EQ(g_IndexTableList.size(), 3u);
}

TEST_F(ProjectLoaderTest, ReloadAndOpenWhileLoaded) {
    Open(DemoPath());
    ASSERT_TRUE(session.loaded);
    const size_t rows = g_ListingModel.m_srcRows.size();

    Open(DemoPath()); // refused
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kProjectLoadedText}));
    EXPECT_EQ(messages.shown[0].caption, kErrorCaption);
    EXPECT_EQ(session.log.back(), "ClearImageVerified");
    EXPECT_EQ(g_ListingModel.m_srcRows.size(), rows);

    view.dialogAnswers.clear();
    loader.OnProjectReload(); // no dialog
    EXPECT_EQ(view.Calls("ChooseProjectFile").size(), 1u);
    EXPECT_TRUE(session.loaded);
    EXPECT_EQ(g_ListingModel.m_srcRows.size(), rows);
    EXPECT_EQ(g_IndexTableList.size(), 3u);
    EXPECT_FALSE(loader.m_bReload);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(ProjectLoaderTest, ImagesOpenInHexOnlyMode) {
    project.Write("image.Hex", NopImage(0x20));
    Open(project.Path("image.Hex"));
    EXPECT_TRUE(messages.Texts().empty());
    ASSERT_TRUE(session.loaded);
    EXPECT_TRUE(session.hexOnly);
    EXPECT_TRUE(loader.m_bHexOnly);
    EXPECT_EQ(view.Calls("ShowAssemblyOnly").size(), 1u);
    EXPECT_TRUE(view.Calls("FillWorkspaceTree").empty());
    EXPECT_TRUE(view.documents.empty());
    EXPECT_EQ(g_pSymbolTable, nullptr);
    EXPECT_EQ(g_ListingModel.m_srcRows, g_ListingModel.m_asmRows);
    EXPECT_EQ(g_ListingModel.m_srcRows.size(), 0x20u);
    for (int32_t kind : g_ListingModel.m_srcRowKinds)
        EXPECT_EQ(kind, kRowInstruction);

    // Reloading an image keeps the assembly-only view without the command.
    loader.OnProjectReload();
    EXPECT_TRUE(session.loaded);
    EXPECT_EQ(g_bAsmOnly, 1);
    EXPECT_EQ(view.Calls("ShowAssemblyOnly").size(), 1u);
    loader.CloseProject();
    EXPECT_EQ(g_bAsmOnly, 0);
    EXPECT_FALSE(session.hexOnly);
}

TEST_F(ProjectLoaderTest, AProjectWithoutMapOpensAsImage) {
    std::remove(project.Path("demo.m51").c_str());
    std::remove(project.Path("demo.map").c_str());
    Open(DemoPath());
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kNoMapText}));
    EXPECT_EQ(messages.shown[0].caption, "");
    ASSERT_TRUE(session.loaded);
    EXPECT_TRUE(session.hexOnly);
    EXPECT_TRUE(view.documents.empty());
    EXPECT_TRUE(g_IndexTableList.empty());
    EXPECT_EQ(g_ListingModel.m_asmRows.size(), kDemoCodeSize);
}

TEST_F(ProjectLoaderTest, FailuresBeforeAnythingIsRead) {
    view.dialogAnswers.push_back(""); // Cancel
    loader.OnFileOpen();
    EXPECT_TRUE(messages.shown.empty());

    Open(project.Path("missing.Uv2"));
    Open(project.Path("image.bin"));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, kProjectFileFailedText);
    EXPECT_EQ(messages.shown[0].caption, kOpenFailedCaption);
    EXPECT_EQ(messages.shown[1].text, kNotHexFileText);
    EXPECT_EQ(messages.shown[1].caption, kOpenFailedCaption);
    ExpectNothingLoaded();
    EXPECT_TRUE(view.progress.empty());
}

TEST_F(ProjectLoaderTest, AFailedDisassemblyStopsTheOpen) {
    std::remove(project.Path("demo.hex").c_str());
    scratch.Write("Corvex.out", "0000 00 NOP\n0001 00 NOP\n"); // stale output is not read
    messages.answers.push_back(MessageAnswer::No);
    Open(DemoPath());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.rfind("Disassembler failed: ", 0), 0u);
    ExpectNothingLoaded();
    EXPECT_TRUE(view.posted.empty());
}

namespace {

struct FailureCase {
    const char* name;
    std::function<void(const TempFolder&)> spoil;
    std::vector<std::string> messages; // "%MAP" and "%UV2" stand for the paths
};

} // namespace

TEST_F(ProjectLoaderTest, EveryFailureRoadClosesAndOffersTheImage) {
    const std::string projectText = debuginfo_test::ReadWholeFile(project.Path("demo.uv2"));
    const std::string noGroupFiles = projectText.substr(0, projectText.find("File 1,1")) +
                                     projectText.substr(projectText.find("Options"));
    std::string extraModule = projectText;
    extraModule.insert(extraModule.find("File 2,2"), "File 1,1,<.\\extra.c><extra.c>\r\n");
    std::string withText = projectText;
    withText.insert(withText.find("File 2,2"),
                    "File 1,5,<.\\notes.txt><notes.txt>\r\nFile 1,5,<.\\src\\util.h><util.h>\r\n");

    const std::vector<FailureCase> cases = {
        {"no module in the map",
         [](const TempFolder& f) {
             f.Write("demo.m51", "BL51 BANKED LINKER\n");
             f.Write("demo.map", "LX51 LINKER\n");
         },
         {"%MAP file is corrupted"}},
        {"no source file in the project file",
         [&](const TempFolder& f) { f.Write("demo.uv2", noGroupFiles); },
         {"%UV2 file is corrupted"}},
        {"listing cannot be loaded",
         [](const TempFolder& f) { std::remove(f.Path("main.lst").c_str()); },
         {"Cannot Find .\\MAIN.lst File .\nStop Project Loading.", "MAIN.lst file is corrupted"}},
        {"source cannot be loaded",
         [](const TempFolder& f) { std::remove(f.Path("src/util.c").c_str()); },
         {"Cannot Find .\\SRC\\UTIL.C File .\nStop Project Loading.", "UTIL.C file is corrupted"}},
        {"listing without symbol table",
         [](const TempFolder& f) { f.Write("util.lst", CListing(false)); },
         {kSymbolTableMissingText}},
        {"no source-line entries for a module",
         [&](const TempFolder& f) {
             f.Write("demo.uv2", extraModule);
             f.Write("extra.c", "void extra(void) {}\n");
             f.Write("extra.lst", CListing(true));
         },
         {"Option error!! uVision Project Workspace-> EXTRA.C file-> Click right mouse button -> "
          "Select \"Option for File EXTRA.C\" -> Check 'Generate Assembler SRC' file and "
          "'Assemble SRC file' in Properties tab"}},
    };
    for (const FailureCase& failure : cases) {
        SCOPED_TRACE(failure.name);
        TempFolder folder;
        WriteBuiltDemo(folder);
        failure.spoil(folder);
        platform::RecordingMessageService recorded;
        recorded.answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::No};
        view.log.clear();
        view.dialogAnswers.push_back(folder.Path("DEMO.UV2"));
        loader.OnFileOpen();

        const std::string mapPath = folder.Path(loader.m_bMapExists ? "demo.map" : "demo.m51");
        std::vector<std::string> expected;
        for (std::string text : failure.messages) {
            if (text.rfind("%MAP", 0) == 0) text.replace(0, 4, mapPath);
            if (text.rfind("%UV2", 0) == 0) text.replace(0, 4, folder.Path("DEMO.UV2"));
            expected.push_back(text);
        }
        expected.push_back(kHexOnlyQuestion);
        const std::vector<std::string> texts = recorded.Texts();
        EXPECT_EQ(texts, expected);
        EXPECT_EQ(recorded.shown.back().buttons, platform::MessageButtons::YesNo);
        ExpectNothingLoaded();
        EXPECT_TRUE(view.posted.empty());
        EXPECT_TRUE(view.modelGoneBeforePanes);
    }

    // Files of the groups that are neither C nor assembler sources are not modules.
    TempFolder folder;
    WriteBuiltDemo(folder);
    folder.Write("demo.uv2", withText);
    folder.Write("notes.txt", "notes\n");
    platform::RecordingMessageService recorded;
    view.dialogAnswers.push_back(folder.Path("DEMO.UV2"));
    loader.OnFileOpen();
    EXPECT_TRUE(recorded.shown.empty());
    EXPECT_TRUE(session.loaded);
    EXPECT_EQ(loader.m_projectFiles.m_listFiles.size(), 3u);
}

TEST_F(ProjectLoaderTest, YesToTheOfferReopensTheImageAfterTheFailedOpen) {
    std::remove(project.Path("main.lst").c_str());
    messages.answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Yes};
    Open(DemoPath());
    EXPECT_FALSE(session.loaded);
    ASSERT_EQ(view.posted.size(), 1u);
    EXPECT_TRUE(loader.m_bReopenHexOnly);

    view.RunPostedCommands();
    EXPECT_EQ(view.Calls("ChooseProjectFile").size(), 1u); // no second dialog
    ASSERT_TRUE(session.loaded);
    EXPECT_TRUE(session.hexOnly);
    EXPECT_FALSE(loader.m_bReopenHexOnly);
    EXPECT_EQ(platform::FileNameOf(session.hexPath), "demo.hex");
    EXPECT_EQ(g_ListingModel.m_asmRows.size(), kDemoCodeSize);
    EXPECT_EQ(messages.shown.size(), 3u);
}

TEST_F(ProjectLoaderTest, BothMapFormsAndLineEndsGiveTheSameListings) {
    std::vector<std::string> firstRows;
    for (const bool crlf : {false, true}) {
        for (const char* dropped : {"demo.map", "demo.m51"}) {
            SCOPED_TRACE(std::string(dropped) + (crlf ? " CRLF" : " LF"));
            TempFolder folder;
            WriteBuiltDemo(folder);
            if (!crlf) debuginfo_test::CopyDemoProject(folder, false);
            std::remove(folder.Path(dropped).c_str());
            Open(folder.Path("DEMO.UV2"));
            EXPECT_TRUE(messages.shown.empty());
            ASSERT_TRUE(session.loaded);
            EXPECT_EQ(loader.m_bMapExists, std::string(dropped) == "demo.m51");
            EXPECT_EQ(GetLineOfAddress(0x29), "UTIL.C:6");
            if (firstRows.empty())
                firstRows = g_ListingModel.m_srcRows;
            else
                EXPECT_EQ(g_ListingModel.m_srcRows, firstRows);
            loader.CloseProject();
        }
    }
}

TEST_F(ProjectLoaderTest, ReloadAfterAFailedOpenTakesTheSamePath) {
    project.Write("util.lst", CListing(false));
    messages.answers = {MessageAnswer::Ok, MessageAnswer::No};
    Open(DemoPath());
    EXPECT_FALSE(session.loaded);
    project.Write("util.lst", CListing(true));
    loader.OnProjectReload();
    EXPECT_EQ(view.Calls("ChooseProjectFile").size(), 1u);
    EXPECT_TRUE(session.loaded);
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(ProjectLoaderTest, WithBothMapsTheProjectFileChooses) {
    Open(DemoPath());
    EXPECT_TRUE(loader.m_bM51Exists);
    EXPECT_FALSE(loader.m_bMapExists);
    loader.CloseProject();

    std::string text = debuginfo_test::ReadWholeFile(project.Path("demo.uv2"));
    text.replace(text.find("T51FL=80"), 8, "T51FL=32848"); // the extended-linker bit set
    project.Write("demo.uv2", text);
    Open(DemoPath());
    EXPECT_FALSE(loader.m_bM51Exists);
    EXPECT_TRUE(loader.m_bMapExists);
    EXPECT_TRUE(session.loaded);
    EXPECT_TRUE(messages.shown.empty());
}

TEST(MapModuleNames, ObjectModulesUpToTheFirstOtherLine) {
    for (const char* mapName : {"demo.M51", "demo.MAP"}) {
        SCOPED_TRACE(mapName);
        Loader map;
        ASSERT_EQ(LoadSourceFile(map, mapName, debuginfo_test::DemoFolder()), 1);
        SplitTextLines(map);
        std::list<std::string> names;
        ReadMapModuleNames(map, names);
        EXPECT_EQ(names, (std::list<std::string>{".\\src\\util", "main", "STARTUP"}));
    }
    EXPECT_EQ(ParseMapHeaderLine("         COMMENT TYPE 0: C51 V8.12"), 1);
    EXPECT_EQ(ParseMapHeaderLine("COMMENT TYPE"), 0);
    EXPECT_EQ(ParseMapHeaderLine("  COMMENTS TYPE 0"), 0);

    Loader library;
    library.AssignText("x.M51", "INPUT MODULES INCLUDED:\n  a.obj (A)\n"
                                "  C:\\KEIL\\C51\\LIB\\C51S.LIB (?C_STARTUP)\n  b.obj (B)\n");
    SplitTextLines(library);
    std::list<std::string> names;
    ReadMapModuleNames(library, names);
    EXPECT_EQ(names, (std::list<std::string>{"a"}));
}
