// The assembly listings of the demo project in both map forms, read from LF
// and CRLF copies, with a disassembly of its code written out by hand.
#include <gtest/gtest.h>

#include "demo_cases.h"
#include "extended_map_reader.h"
#include "listing_model.h"
#include "m51_reader.h"
#include "path_resolver.h"
#include "project_file.h"
#include "row_format.h"
#include "test_support.h"
#include "xdata_range.h"

using debuginfo_test::DemoCase;
using debuginfo_test::TempFolder;

namespace {

// One instruction at every address the map gives a line, and one (0x0004)
// inside line 10 of MAIN.C that the map does not name.
const char* const kDemoDisassembly = "0000 02003E LJMP   L003E\n"
                                     "0003 E4 CLR    A\n"
                                     "0004 F508 MOV    08H,A\n"
                                     "0006 F507 MOV    07H,A\n"
                                     "0007 AF07 MOV    R7,07H\n"
                                     "0018 0507 INC    07H\n"
                                     "001E E508 MOV    A,08H\n"
                                     "0025 F590 MOV    P1,A\n"
                                     "0027 22 RET\n"
                                     "0028 EF MOV    A,R7\n"
                                     "002A 2F ADD    A,R7\n"
                                     "0030 E509 MOV    A,09H\n"
                                     "0039 AE0C MOV    R6,0CH\n"
                                     "003D 22 RET\n"
                                     "003E ; LABEL L003E\n"
                                     "003E 787F MOV    R0,#7FH\n"
                                     "0040 E4 CLR    A\n"
                                     "0041 ; LABEL IDATALOOP\n"
                                     "0041 F6 MOV    @R0,A\n"
                                     "0042 D8FD DJNZ   R0,IDATALOOP\n"
                                     "0044 75810D MOV    SP,#0DH\n"
                                     "0047 020003 LJMP   main\n";

class DemoListing : public testing::TestWithParam<DemoCase> {
protected:
    void SetUp() override {
        debuginfo_test::CopyDemoProject(m_folder, GetParam().crlf);
        ASSERT_EQ(ReadProjectFile(m_folder.Path("DEMO.UV2"), m_settings), 1);
        ResetXdataRange();
        AllocateProjectTables();
        m_map = std::make_unique<MapLoader>(m_settings.m_strLstDir + m_settings.m_strOutName +
                                                (GetParam().extended ? ".MAP" : ".M51"),
                                            m_settings.m_strProjectDir);
        if (GetParam().extended)
            ParseMapFile(*m_map, m_table, *g_pSymbolDatabase, m_settings.m_strProjectDir);
        else
            ParseM51File(*m_map, m_table, *g_pSymbolDatabase, m_settings.m_strProjectDir);

        // The modules in project-file order, as Open loads them.
        for (const char* path : {".\\main.c", ".\\src\\util.c", ".\\STARTUP.A51"}) {
            auto source = std::make_shared<Loader>();
            ASSERT_EQ(LoadSourceFile(*source, path, m_settings.m_strProjectDir), 1) << path;
            SplitTextLines(*source);
            m_sources.push_front(source);
            m_indexes.emplace_back(platform::ToUpperKey(source->m_strName));
        }
        m_disassembly.AssignText("Corvex.out", kDemoDisassembly);
        SplitTextLines(m_disassembly);
        m_disassembly.CollectLabels();
        BuildAssemblyListings(m_sources, m_indexes, &m_table, m_disassembly, m_model);
    }
    void TearDown() override {
        g_pSymbolDatabase.reset();
        ResetXdataRange();
    }

    const Loader& Source(const std::string& name) const {
        for (const auto& source : m_sources)
            if (platform::ToUpperKey(source->m_strName) == name) return *source;
        throw std::runtime_error("no source " + name);
    }
    const CIndexTable& Index(const std::string& name) const {
        for (const CIndexTable& index : m_indexes)
            if (index.m_strFileName == name) return index;
        throw std::runtime_error("no index " + name);
    }

    TempFolder m_folder;
    ProjectSettings m_settings;
    std::unique_ptr<MapLoader> m_map;
    CSymbolTable m_table;
    std::list<std::shared_ptr<Loader>> m_sources;
    std::list<CIndexTable> m_indexes;
    DisasmLoader m_disassembly;
    CListingModel m_model;
};

// A block of source lines followed by the instruction at an address.
struct Block {
    const char* file; // null: the instruction alone
    uint32_t first;
    uint32_t last;
    uint32_t address;
};

} // namespace

TEST_P(DemoListing, RowsKindsAndMaps) {
    const Block blocks[] = {{"STARTUP.A51", 1, 92, 0x00},    {"MAIN.C", 1, 10, 0x03},
                            {nullptr, 0, 0, 0x04},           {"MAIN.C", 11, 11, 0x06},
                            {"MAIN.C", 12, 13, 0x07},        {"MAIN.C", 11, 11, 0x18},
                            {"MAIN.C", 14, 17, 0x1E},        {"MAIN.C", 18, 18, 0x25},
                            {"MAIN.C", 19, 19, 0x27},        {"UTIL.C", 1, 6, 0x28},
                            {"UTIL.C", 7, 8, 0x2A},          {"UTIL.C", 9, 9, 0x30},
                            {"UTIL.C", 10, 10, 0x39},        {"UTIL.C", 11, 11, 0x3D},
                            {"STARTUP.A51", 93, 99, 0x3E},   {"STARTUP.A51", 100, 100, 0x40},
                            {"STARTUP.A51", 101, 101, 0x41}, {"STARTUP.A51", 102, 102, 0x42},
                            {"STARTUP.A51", 103, 151, 0x44}, {"STARTUP.A51", 152, 152, 0x47}};
    std::vector<std::string> rows;
    std::vector<int32_t> kinds;
    std::vector<std::string> asmRows;
    for (const Block& block : blocks) {
        if (block.file) {
            const Loader& source = Source(block.file);
            for (uint32_t line = block.first; line <= block.last; ++line) {
                rows.push_back(FormatSourceLine(AlignDisassemblyColumns(CutAtCarriageReturn(
                                                    source.m_lines[line - 1].m_strText)),
                                                static_cast<int32_t>(line)));
                kinds.push_back(kRowSource);
            }
        }
        std::string text = m_disassembly.m_mapInstructions.at(block.address);
        if (block.address == 0x3E) text = "L003E: " + text;
        if (block.address == 0x41) text = "IDATALOOP: " + text;
        rows.push_back(FormatDisassemblyLine(text, block.address));
        asmRows.push_back(rows.back());
        kinds.push_back(block.file ? kRowFirstInstruction : kRowInstruction);
    }
    EXPECT_EQ(rows.size(), 203u);
    EXPECT_EQ(m_model.m_srcRows, rows);
    EXPECT_EQ(m_model.m_srcRowKinds, kinds);
    EXPECT_EQ(m_model.m_asmRows, asmRows);
    EXPECT_EQ(m_model.m_srcRows[93], FormatSourceLine("#include \"src\\util.h\"", 1));

    EXPECT_EQ(m_model.m_mapAddressToSrcRow.at(0x00), 92);
    EXPECT_EQ(m_model.m_mapAddressToSrcRow.at(0x03), 103);
    EXPECT_EQ(m_model.m_mapAddressToSrcRow.at(0x04), 104);
    EXPECT_EQ(m_model.m_mapAddressToSrcRow.at(0x47), 202);
    EXPECT_EQ(m_model.m_mapAddressToAsmRow.at(0x47), 19);
    EXPECT_EQ(m_model.m_mapAddressToSrcRow.size(), 20u);
    for (const auto& [address, row] : m_model.m_mapAddressToSrcRow) {
        EXPECT_EQ(m_model.m_mapSrcRowToAddress.at(row), address);
        EXPECT_NE(m_model.m_srcRowKinds[static_cast<size_t>(row)], kRowSource);
    }
    for (const auto& [address, row] : m_model.m_mapAddressToAsmRow)
        EXPECT_EQ(m_model.m_mapAsmRowToAddress.at(row), address);
}

TEST_P(DemoListing, IndexesOfEverySourceFile) {
    const CIndexTable& main = Index("MAIN.C");
    ASSERT_EQ(main.Count(), 19u);
    // Lines 1 to 9 are shown above line 10 and point at its first instruction.
    for (uint32_t line = 1; line <= 10; ++line) {
        EXPECT_EQ(main.Entry(line)->m_nSrcRow, 103) << line;
        EXPECT_EQ(main.Entry(line)->m_nAsmRow, 1) << line;
    }
    EXPECT_EQ(main.Entry(9)->m_nAddress, -1);
    EXPECT_EQ(main.Entry(10)->m_nAddress, 0x03);
    // Line 11 has two blocks; its entry is the later one.
    EXPECT_EQ(main.Entry(11)->m_nAddress, 0x18);
    EXPECT_EQ(main.Entry(11)->m_nSrcRow, m_model.m_mapAddressToSrcRow.at(0x18));
    EXPECT_EQ(main.Entry(12)->m_nSrcRow, m_model.m_mapAddressToSrcRow.at(0x07));
    for (uint32_t line = 14; line <= 17; ++line)
        EXPECT_EQ(main.Entry(line)->m_nAsmRow, m_model.m_mapAddressToAsmRow.at(0x1E)) << line;
    EXPECT_EQ(main.Entry(19)->m_nAddress, 0x27);

    const CIndexTable& util = Index("UTIL.C");
    ASSERT_EQ(util.Count(), 11u);
    EXPECT_EQ(util.Entry(5)->m_nSrcRow, m_model.m_mapAddressToSrcRow.at(0x28));
    EXPECT_EQ(util.Entry(7)->m_nSrcRow, m_model.m_mapAddressToSrcRow.at(0x2A));

    const CIndexTable& startup = Index("STARTUP.A51");
    ASSERT_EQ(startup.Count(), 153u);
    EXPECT_EQ(startup.Entry(1)->m_nSrcRow, 92);
    EXPECT_EQ(startup.Entry(150)->m_nAsmRow, m_model.m_mapAddressToAsmRow.at(0x44));
    EXPECT_EQ(startup.Entry(153)->m_nSrcRow, -1); // the END line, below all code
}

INSTANTIATE_TEST_SUITE_P(BothFormsBothLineEnds, DemoListing, debuginfo_test::EveryDemoCase(),
                         debuginfo_test::DemoCaseName);
