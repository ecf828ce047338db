// The example project opened headless, in both map forms, with the line ends
// as kept and changed to LF: its map, listings and image agree with each
// other and with SDCC's own debug records.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "example_files.h"
#include "hex_image.h"
#include "listing_model.h"
#include "loader_fakes.h"
#include "message_service.h"
#include "path_resolver.h"
#include "project_loader.h"
#include "symbol_lookup.h"
#include "symbol_records.h"
#include "symbol_table.h"

using debuginfo_test::TempFolder;
using example_test::SdccRecords;

namespace {

struct ExampleForm {
    const char* project; // the project file, as the user would type it
    bool toLf;
    const char* label;
};

void PrintTo(const ExampleForm& form, std::ostream* out) {
    *out << form.label;
}

const ExampleForm kForms[] = {
    {"BLINKY.UV2", false, "M51_CRLF"},
    {"BLINKY.UV2", true, "M51_LF"},
    {"Blinky_LX.Uv2", false, "MAP_CRLF"},
    {"Blinky_LX.Uv2", true, "MAP_LF"},
};

// What the C sources declare: name, C51 type word, size in bytes.
struct Declared {
    const char* name;
    const char* type;
    uint32_t size;
};

class ExampleProjectTest : public testing::TestWithParam<ExampleForm> {
protected:
    void SetUp() override {
        example_test::CopyExampleProject(project, GetParam().toLf);
        records = example_test::ReadSdccRecords(project.Path("obj/blinky.cdb"));
        loader.m_strDisassemblerDir = VEXA_BIN_DIR;
        loader.m_strDisassemblyOutput = scratch.Path("Corvex.out");
        view.dialogAnswers.push_back(project.Path(GetParam().project));
        loader.OnFileOpen();
    }
    void TearDown() override { loader.CloseProject(); }

    platform::RecordingMessageService messages;
    TempFolder project;
    TempFolder scratch;
    debuginfo_test::RecordingView view;
    debuginfo_test::RecordingSession session;
    CProjectLoader loader{view, session};
    SdccRecords records;
};

TEST_P(ExampleProjectTest, OpensWithEveryModule) {
    EXPECT_TRUE(messages.Texts().empty()) << messages.Texts().front();
    ASSERT_TRUE(session.loaded);
    EXPECT_FALSE(session.hexOnly);
    EXPECT_EQ(platform::FileNameOf(session.hexPath), "blinky.hex");
    EXPECT_EQ(loader.m_bMapExists, std::string(GetParam().project) == "Blinky_LX.Uv2");
    EXPECT_EQ(loader.m_projectFiles.m_listFiles,
              (std::vector<std::string>{"MAIN.C", "DELAY.C", "STARTUP.A51"}));
    for (const char* module : {"MAIN", "DELAY", "?C_STARTUP"})
        EXPECT_EQ(loader.m_mapLstLoaders.count(module), 1u) << module;
    ASSERT_EQ(view.documents.size(), 3u);
    EXPECT_EQ(platform::FileNameOf(view.documents[1]), "delay.c");
}

TEST_P(ExampleProjectTest, FunctionsStartAtInstructionsWhereSdccPutThem) {
    ASSERT_TRUE(session.loaded);
    const DisasmLoader& disassembly = *loader.m_pDisasmLoader;
    std::set<std::string> names;
    for (const auto& segment : g_pSymbolDatabase->m_listCode) {
        names.insert(segment->m_strName);
        EXPECT_EQ(disassembly.m_mapInstructions.count(segment->m_dwStart), 1u)
            << segment->m_strName;
    }
    for (const auto& [name, address] : records.functions) {
        SCOPED_TRACE(name);
        const CSymbolStruct* function = FindFunctionOfAddress(address);
        ASSERT_NE(function, nullptr);
        EXPECT_EQ(function->m_dwStart, address);
        EXPECT_TRUE(names.count(function->m_strName));
    }
    EXPECT_EQ(records.functions.size(), 4u); // timer0_isr, next_pattern, main, delay
    // The function after main starts where main ends.
    const CSymbolStruct* main = FindSymbolByName("MAIN", kListCode);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->m_dwStart + main->m_dwLength, records.functions.at("delay"));
}

TEST_P(ExampleProjectTest, TheImageHoldsEveryFunctionWhole) {
    ASSERT_TRUE(session.loaded);
    HexImage image;
    std::string error;
    ASSERT_EQ(ReadHexImage(session.hexPath, image, error), HexReadResult::Ok) << error;
    size_t written = 0;
    for (const HexDataRecord& record : image.records)
        written += record.data.size();
    // The map's program size counts every byte of the image.
    const std::string mapName = loader.m_bMapExists ? "lst/blinky.map" : "lst/blinky.m51";
    const std::string map = debuginfo_test::ReadWholeFile(project.Path(mapName));
    const std::string size = " code=" + std::to_string(written) + (GetParam().toLf ? "\n" : "\r\n");
    EXPECT_NE(map.find(size), std::string::npos);
    size_t functions = 0;
    for (const auto& segment : g_pSymbolDatabase->m_listCode) {
        SCOPED_TRACE(segment->m_strName);
        ASSERT_GT(segment->m_dwLength, 0u);
        const uint32_t last = segment->m_dwStart + segment->m_dwLength - 1;
        ASSERT_LE(last, static_cast<uint32_t>(image.highestAddress));
        if (segment->m_strFile.rfind("?C_", 0) == 0) continue;
        // A C function ends in its return (ret, or reti for the interrupt).
        EXPECT_TRUE(image.bytes[last] == 0x22 || image.bytes[last] == 0x32);
        ++functions;
    }
    EXPECT_EQ(functions, 5u); // four of the sources, one of SDCC's library
}

TEST_P(ExampleProjectTest, EveryCLineWithARecordHasInstructions) {
    ASSERT_TRUE(session.loaded);
    const DisasmLoader& disassembly = *loader.m_pDisasmLoader;
    std::set<std::string> withInstructions;
    auto source = loader.m_listSourceLoaders.rbegin();
    for (const CIndexTable& index : g_IndexTableList) {
        ASSERT_NE(source, loader.m_listSourceLoaders.rend());
        const Loader& text = **source++;
        for (uint32_t line = 1; line <= index.Count(); ++line) {
            const IndexEntry* entry = index.Entry(line);
            const std::string key = index.m_strFileName + ":" + std::to_string(line);
            if (!text.m_lines[line - 1].m_instructions.empty()) withInstructions.insert(key);
            if (entry->m_nAddress < 0) continue;
            EXPECT_EQ(disassembly.m_mapInstructions.count(static_cast<uint32_t>(entry->m_nAddress)),
                      1u)
                << key;
        }
    }
    // Every C line SDCC made code for has its instructions, but for a line
    // whose code starts where a later line's starts: the later line holds it.
    std::set<std::string> expected;
    for (const auto& [address, keys] : records.addressLines)
        expected.insert(keys.back());
    for (const std::string& key : expected)
        EXPECT_EQ(withInstructions.count(key), 1u) << key;
    EXPECT_GT(expected.size(), 25u);
    // So has every instruction line of the start-up source but the last,
    // which no later record ends.
    size_t startupLines = 0;
    for (const std::string& key : withInstructions)
        startupLines += key.rfind("STARTUP.A51:", 0) == 0;
    EXPECT_GT(startupLines, 40u);
}

TEST_P(ExampleProjectTest, SymbolsHaveTheDeclaredTypesAndSdccAddresses) {
    ASSERT_TRUE(session.loaded);
    // Every variable is one byte (or bytes): SDCC and C51 store multi-byte
    // values in opposite orders, so the example has none.
    const Declared globals[] = {{"step", "CHAR", 1},     {"pattern", "U_CHAR", 1},
                                {"passes", "U_CHAR", 1}, {"total", "U_CHAR", 1},
                                {"failed", "U_CHAR", 1}, {"ticks", "U_CHAR", 1},
                                {"history", "ARRAY", 8}, {"P1", "U_CHAR", 1}};
    for (const Declared& global : globals) {
        SCOPED_TRACE(global.name);
        const SymbolInfo* symbol = LookupSymbol(global.name, kSelectData);
        ASSERT_NE(symbol, nullptr);
        EXPECT_EQ(symbol->m_strType, global.type);
        EXPECT_EQ(symbol->m_nSize, global.size);
        EXPECT_EQ(symbol->m_dwAddress, records.globals.at(global.name));
    }
    EXPECT_EQ(LookupSymbol("history", kSelectData)->m_nSpace, kMemSpaceXdata);
    EXPECT_EQ(LookupSymbol("P1", kSelectData)->m_nSpace, kMemSpaceSfr);
    EXPECT_EQ(LookupSymbol("main", kSelectCode)->m_strType, "PROC");

    // Locals: SDCC keeps these in registers of bank 0 or, for the second
    // parameter, in internal data.
    struct Local {
        const char* function;
        Declared declared;
        uint32_t address;
    };
    const Local locals[] = {{"NEXT_PATTERN", {"current", "U_CHAR", 1}, 7},
                            {"NEXT_PATTERN", {"next", "U_CHAR", 1}, 6},
                            {"DELAY", {"stride", "CHAR", 1}, 0},
                            {"DELAY", {"turns", "U_CHAR", 1}, 6},
                            {"DELAY", {"inner", "U_CHAR", 1}, 5}};
    for (const Local& local : locals) {
        SCOPED_TRACE(local.declared.name);
        const CSymbolStruct* function = FindSymbolByName(local.function, kListCode);
        ASSERT_NE(function, nullptr);
        const CSymbolLocalVar* variable =
            FindSymbolInRange(function, local.declared.name, function->m_dwStart);
        ASSERT_NE(variable, nullptr);
        EXPECT_EQ(variable->m_strType, local.declared.type);
        EXPECT_EQ(variable->m_nSize, local.declared.size);
        EXPECT_EQ(variable->m_strClass, "DATA");
        if (local.address != 0) {
            EXPECT_EQ(variable->m_dwAddress, local.address);
        }
    }
    // The parameter in memory lies in its function's data segment.
    const CSymbolStruct* frame = FindSymbolByName("DELAY", kListData);
    ASSERT_NE(frame, nullptr);
    const CSymbolLocalVar* stride =
        FindSymbolInRange(FindSymbolByName("DELAY", kListCode), "stride",
                          FindSymbolByName("DELAY", kListCode)->m_dwStart);
    ASSERT_NE(stride, nullptr);
    EXPECT_TRUE(frame->Holds(stride->m_dwAddress));
}

TEST_P(ExampleProjectTest, LineLookupsAgreeWithSdccRecords) {
    ASSERT_TRUE(session.loaded);
    ASSERT_GT(records.lineAddresses.size(), 20u);
    for (const auto& [key, addresses] : records.lineAddresses) {
        EXPECT_EQ(addresses.count(GetAddressOfLine(key)), 1u) << key;
    }
    for (const auto& [address, keys] : records.addressLines) {
        EXPECT_EQ(GetLineOfAddress(address), keys.back())
            << std::hex << address << " gives " << GetLineOfAddress(address);
    }
    // The start-up code's lines are those of the start-up source.
    const SymbolInfo* startup = LookupSymbol("?C_STARTUP", kSelectCode);
    ASSERT_NE(startup, nullptr);
    const std::string entry = GetLineOfAddress(startup->m_dwAddress);
    EXPECT_EQ(entry.rfind("STARTUP.A51:", 0), 0u) << entry;
}

INSTANTIATE_TEST_SUITE_P(BothMapsBothLineEnds, ExampleProjectTest, testing::ValuesIn(kForms),
                         [](const testing::TestParamInfo<ExampleForm>& info) {
                             return std::string(info.param.label);
                         });

} // namespace
