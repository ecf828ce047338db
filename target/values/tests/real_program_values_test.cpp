// Typed values of a real C51 program running on the simulated board: after
// each stop the values read through the host copies equal the bytes the
// board's core holds, and a value written between two stops is what the
// program goes on with.
#include "run_program.h"
#include "source_facts.h"
#include "variable_symbols.h"

#include "breakpoint_slot_ops.h"
#include "extended_map_reader.h"
#include "fake_source_views.h"
#include "hex_image.h"
#include "listing_reader.h"
#include "m51_reader.h"
#include "map_loader.h"
#include "pc_model.h"
#include "run_commands.h"
#include "run_lookups.h"
#include "symbol_lookup.h"
#include "target_flags.h"
#include "text_loader.h"
#include "typed_values.h"
#include "value_texts.h"
#include "variable_write.h"
#include "xdata_range.h"

#include <bitset>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <set>
#include <sstream>

namespace {

// A real project beside the repository: its map, the listings with symbol
// tables and the image.
struct RealProject {
    const char* folder;
    const char* map; // ".M51" or extended ".map"
    std::vector<const char*> listings;
    const char* hex;
};

const RealProject kProt{"mcp-prot", "prot.M51", {"prot.LST", "lcd.LST"}, "prot.hex"};
const RealProject kBlinky{
    "exitrip-blinky",
    "lst/Blinky.map",
    {"lst/Blinky.lst", "lst/uart.lst", "lst/song.lst", "lst/riff.lst", "lst/LUTFreq.lst"},
    "obj/Blinky.hex"};

void PrintTo(const RealProject& project, std::ostream* out) {
    *out << project.folder;
}

std::string FolderOf(const RealProject& project) {
    return std::string(VEXA_KEIL_FIXTURES) + "/" + project.folder;
}

// The value of `size` bytes of internal data at `address`, most significant
// first, straight from the board's core.
uint32_t BoardValue(uint32_t address, int size) {
    return CoreValue(BoardInternalBytes(), address, size);
}

// An array as its source declares it: "unsigned char name[size]="text";".
struct ArrayDeclaration {
    uint32_t size = 0;
    std::string text;
};

ArrayDeclaration DeclarationIn(const std::string& source, const std::string& name) {
    std::istringstream lines(source);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t at = line.find(" " + name + "[");
        const size_t quote = line.find('"');
        if (at == std::string::npos || quote == std::string::npos) continue;
        const size_t end = line.find('"', quote + 1);
        if (end == std::string::npos) continue;
        return {uint32_t(std::stoul(line.substr(at + name.size() + 2))),
                line.substr(quote + 1, end - quote - 1)};
    }
    return {};
}

class RealProgramTest : public RunControlTest {
protected:
    void Open(const RealProject& project) {
        m_folder = FolderOf(project);
        if (!std::filesystem::exists(m_folder + "/" + project.map))
            GTEST_SKIP() << "no " << m_folder;
        std::string why;
        if (!BoardRunsProgram(m_folder + "/" + project.map, why)) GTEST_SKIP() << why;
        SetRunControlLookups({}); // the loaded symbol table answers
        SetPcDisplay(&m_display);
        m_display.CreatePcModel();
        ReadDebugInformation(project);
        LoadImage(project);
        ClearVariableInfo();
    }
    void TearDown() override {
        ClearVariableInfo();
        DropSymbolTables();
        ResetXdataRange();
        RunControlTest::TearDown();
    }
    void ReadDebugInformation(const RealProject& project) {
        StartSymbolTables();
        ResetXdataRange();
        const std::string map = m_folder + "/" + project.map;
        m_map = std::make_unique<MapLoader>(map, "/");
        if (map.substr(map.size() - 4) == ".M51")
            ASSERT_EQ(ParseM51File(*m_map, *g_pSymbolTable, *g_pSymbolDatabase, m_folder), 1);
        else
            ASSERT_EQ(ParseMapFile(*m_map, *g_pSymbolTable, *g_pSymbolDatabase, m_folder), 1);
        g_pSymbolTable->m_pModuleRecords = &m_map->m_listModules;
        for (const char* name : project.listings) {
            LSTLoader listing;
            ASSERT_EQ(LoadSourceFile(listing, m_folder + "/" + name, "/"), 1);
            SplitTextLines(listing);
            ASSERT_EQ(ParseListingFile(listing, *g_pSymbolTable, g_pSymbolDatabase.get()), 1);
        }
    }
    void LoadImage(const RealProject& project) {
        HexImage image;
        std::string error;
        g_strHexPath = m_folder + "/" + project.hex;
        ASSERT_EQ(ReadHexImage(g_strHexPath, image, error), HexReadResult::Ok) << error;
        Board().WriteMemory(SIMBOARD_CODE_FLASH, 0, image.bytes.data(),
                            uint32_t(image.bytes.size()));
        ASSERT_EQ(CheckTargetImage(), 1);
    }
    // Runs from the reset address to `address` and refreshes as the user interface does.
    void RunTo(uint16_t address) {
        ASSERT_EQ(SetBreakPoint(address), 1);
        Board().SetPc(0);
        ASSERT_EQ(OnDebugContinue(), 1);
        ASSERT_EQ(Finish().pc, address);
        ASSERT_EQ(ClearBreakPoint(address), 1);
    }

    FakeSourceViews m_views;
    PcModelDisplay m_display{m_views, [](uint16_t, int) {}};
    std::unique_ptr<MapLoader> m_map;
    std::string m_folder;
};

// print_wc prints the string wc holds ("Welcome!") a character at a time:
// the tests stop on `l++;` inside its loop, where the local l counts the
// characters printed so far. Its address, l's place and wc's declaration are
// read from the project.
class RealProgramValuesTest : public RealProgramTest {
protected:
    void SetUp() override {
        RealProgramTest::SetUp();
        Open(kProt);
        if (IsSkipped() || HasFatalFailure()) return;
        const SourcePosition increment = StatementInFunction(m_folder, "print_wc", "l++;");
        ASSERT_NE(increment.line, 0);
        const uint32_t address = AddressOfPosition(increment);
        ASSERT_NE(address, kNoAddress);
        m_increment = uint16_t(address);
        const CSymbolLocalVar* local =
            FindSymbolInRange(FindFunctionOfAddress(address), "l", address);
        ASSERT_NE(local, nullptr);
        m_local = local->m_dwAddress;
        m_wc = DeclarationIn(SourceText(m_folder, increment.file), "wc");
        ASSERT_GE(m_wc.text.size(), 4u);
        for (int i = 0; i < 4; ++i)
            m_wcFirstFour = m_wcFirstFour << 8 | uint8_t(m_wc.text[size_t(i)]);
    }
    // Continues to the next breakpoint and refreshes as the user interface does.
    void ContinueToBreakpoint() {
        ASSERT_EQ(OnDebugContinue(), 1);
        const RunCompletion done = Finish();
        ASSERT_EQ(done.pc, m_increment);
    }
    const SymbolInfo& Data(const char* name) {
        const SymbolInfo* symbol = LookupSymbol(name, kSelectData);
        EXPECT_NE(symbol, nullptr) << name;
        static const SymbolInfo none;
        return symbol ? *symbol : none;
    }

    uint16_t m_increment = 0; // `l++;`
    uint32_t m_local = 0;     // l, an int in internal data
    ArrayDeclaration m_wc;
    uint32_t m_wcFirstFour = 0; // its first four characters, as a long reads them
};

TEST_F(RealProgramValuesTest, ValuesAfterEachStopMatchTheCore) {
    // The listing typed the symbols the way the values are read.
    EXPECT_EQ(Data("cl").m_strType, "INT");
    EXPECT_EQ(Data("wc").m_strType, "ARRAY");
    EXPECT_EQ(Data("wc").m_nSize, m_wc.size);
    EXPECT_EQ(Data("P1").m_strType, "U_CHAR");

    ASSERT_EQ(SetBreakPoint(m_increment), 1);
    Board().SetPc(0);
    for (uint32_t pass = 0; pass < 3; ++pass) {
        SCOPED_TRACE(pass);
        ContinueToBreakpoint();
        ClearVariableInfo();
        for (const char* name : {"l", "eflag", "cl", "wc", "P1"})
            FormatSymbolValue(name);
        ASSERT_EQ(g_nVariableInfoCount, 5);

        // The local of print_wc counts the characters printed so far.
        const CInfo& local = *g_VariableInfoList[0];
        char address[16];
        std::snprintf(address, sizeof address, "0x%02x", unsigned(m_local));
        EXPECT_EQ(local.m_strType, "INT");
        EXPECT_EQ(local.m_strAddress, address);
        EXPECT_EQ(BoardValue(m_local, 2), pass);
        EXPECT_EQ(local.m_strValue, std::to_string(pass));
        // The start-up code copied the string constants into the arrays.
        EXPECT_EQ(g_VariableInfoList[3]->m_strValue, std::to_string(int32_t(m_wcFirstFour)));
        for (size_t i = 1; i < 5; ++i) {
            const CInfo& info = *g_VariableInfoList[i];
            const SymbolInfo& symbol = Data(info.m_strName.c_str());
            const int width = ReadWidthOfType(symbol.m_strType);
            EXPECT_EQ(info.m_strValue,
                      std::to_string(int32_t(BoardValue(symbol.m_dwAddress, width))))
                << info.m_strName;
        }
        // The radix texts of the local.
        const uint32_t l = ReadTypedValue(kMemSpaceData, 2, m_local);
        const std::string digit = std::to_string(pass);
        EXPECT_EQ(FormatRadix(l, 2, 2), std::bitset<16>(pass).to_string());
        EXPECT_EQ(FormatRadix(l, 8, 2), "00000000" + digit);
        EXPECT_EQ(FormatRadix(l, 10, 2), digit);
        EXPECT_EQ(FormatRadix(l, 16, 2), "0x000" + digit);
        char welcome[16];
        std::snprintf(welcome, sizeof welcome, "0x%08X", unsigned(m_wcFirstFour));
        EXPECT_EQ(FormatRadix(ReadTypedValue(kMemSpaceData, 4, Data("wc").m_dwAddress), 16, 4),
                  welcome);
    }
}

TEST_F(RealProgramValuesTest, TheProgramGoesOnWithTheValuesWritten) {
    ASSERT_EQ(SetBreakPoint(m_increment), 1);
    Board().SetPc(0);
    ContinueToBreakpoint();
    ASSERT_EQ(BoardValue(m_local, 2), 0u);

    // A char, an int and a long (a four-byte write into the 8-byte array):
    // exactly their bytes change.
    const std::vector<uint8_t> before = BoardInternalBytes();
    EnterDataSymbol(
        MakeVariable("l", m_local, "INT", 2, kMemSpaceData)); // the local, as a data name
    ASSERT_EQ(WriteEditedVariable("l", "5", "INT"), 1);
    ASSERT_EQ(WriteEditedVariable("cl", "0x1234", "INT"), 1);
    ASSERT_EQ(WriteEditedVariable("P1", "0x5A", "U_CHAR"), 1);
    ASSERT_EQ(WriteEditedVariable("wc", "0x48656C6C", "LONG"), 1); // "Hell"
    const std::vector<uint8_t> after = BoardInternalBytes();
    std::map<uint32_t, uint8_t> changed;
    for (uint32_t a = 0; a < 0x100; ++a)
        if (after[a] != before[a]) changed[a] = after[a];
    const uint32_t cl = Data("cl").m_dwAddress;
    const uint32_t wc = Data("wc").m_dwAddress;
    const uint32_t p1 = Data("P1").m_dwAddress;
    std::map<uint32_t, uint8_t> expected{
        {m_local + 1, 0x05}, {cl, 0x12}, {cl + 1, 0x34}, {p1, 0x5A}};
    if (before[m_local] != 0) expected[m_local] = 0;
    const uint8_t hell[] = {'H', 'e', 'l', 'l'};
    for (uint32_t i = 0; i < 4; ++i)
        if (before[wc + i] != hell[i]) expected[wc + i] = hell[i];
    EXPECT_EQ(changed, expected);
    // The host copies show what was written before any new read.
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 2, m_local), 5u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 2, cl), 0x1234u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 4, wc), 0x48656C6Cu);

    // The loop goes on from the count written.
    ContinueToBreakpoint();
    EXPECT_EQ(BoardValue(m_local, 2), 6u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 2, m_local), 6u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 2, cl), 0x1234u);
    EXPECT_TRUE(Messages().empty());
}

// Every typed data symbol of a project, after its start-up code has run to
// main: the value formatted from the host copies equals the core's bytes.
class EveryDataSymbolTest : public RealProgramTest,
                            public ::testing::WithParamInterface<RealProject> {};

TEST_P(EveryDataSymbolTest, MatchesTheCoreAtMain) {
    Open(GetParam());
    if (IsSkipped()) return;
    // Junk where the start-up code clears memory, so a stale byte would show.
    std::vector<uint8_t> junk(0x200, 0xA5);
    Board().WriteMemory(SIMBOARD_XDATA, 0, junk.data(), uint32_t(junk.size()));
    Board().WriteMemory(SIMBOARD_IRAM, 0x08, junk.data(), 0x78);
    const SymbolInfo* mainSymbol = LookupSymbol("main", kSelectCode);
    ASSERT_NE(mainSymbol, nullptr);
    RunTo(uint16_t(mainSymbol->m_dwAddress));

    const std::vector<uint8_t> internal = BoardInternalBytes();
    const std::vector<uint8_t> external = BoardExternalBytes();
    std::set<std::string> checked;
    std::set<uint32_t> spaces;
    for (const auto& module : m_map->m_listModules) {
        for (const auto& child : module->m_children) {
            const SymbolInfo* symbol = LookupSymbol(child->m_strName, kSelectData);
            if (!symbol || !checked.insert(symbol->m_strName).second) continue;
            if (symbol->m_nSize == 0 || symbol->m_strType == "NONE") continue; // not in a listing
            const bool inExternal = symbol->m_nSpace == kMemSpaceXdata;
            if (!inExternal && symbol->m_nSpace != kMemSpaceData) continue;
            if (inExternal &&
                (symbol->m_dwAddress < g_dwXdataLow || symbol->m_dwAddress > g_dwXdataHigh))
                continue; // outside the refreshed range
            const bool pointer = IsGenericPointer(symbol->m_strType, symbol->m_nSize);
            const int width = pointer ? kGenericPointerBytes : ReadWidthOfType(symbol->m_strType);
            uint32_t expected = 0;
            for (int i = 0; i < width; ++i) {
                const uint32_t at = symbol->m_dwAddress + uint32_t(i);
                const uint8_t byte = inExternal ? (at < external.size() ? external[at] : 0)
                                                : (at < internal.size() ? internal[at] : 0);
                expected = expected << 8 | byte;
            }
            FormatSymbolValue(symbol->m_strName.c_str());
            ASSERT_FALSE(g_VariableInfoList.empty());
            EXPECT_EQ(g_VariableInfoList.back()->m_strValue,
                      pointer ? GenericPointerText(expected) : std::to_string(int32_t(expected)))
                << symbol->m_strName << " " << symbol->m_strType;
            spaces.insert(symbol->m_nSpace);
        }
    }
    EXPECT_GE(checked.size(), 5u);
    if (std::string(GetParam().folder) == kBlinky.folder) {
        EXPECT_TRUE(spaces.count(kMemSpaceXdata)); // sysEx, 512 bytes of external data
        const SymbolInfo* sysEx = LookupSymbol("sysEx", kSelectData);
        ASSERT_NE(sysEx, nullptr);
        EXPECT_EQ(ReadTypedValue(kMemSpaceXdata, 4, sysEx->m_dwAddress), 0u); // cleared at start-up
    }
    EXPECT_TRUE(Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, EveryDataSymbolTest, ::testing::Values(kProt, kBlinky),
                         [](const ::testing::TestParamInfo<RealProject>& info) {
                             return std::string(info.param.folder == kProt.folder ? "Prot"
                                                                                  : "Blinky");
                         });

} // namespace
