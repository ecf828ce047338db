#include <gtest/gtest.h>

#include "line_tokenizer.h"
#include "test_support.h"
#include "xdata_range.h"

using debuginfo_test::DemoFolder;
using debuginfo_test::ExpectSymbols;
using debuginfo_test::MapForm;
using debuginfo_test::ParseMapText;
using debuginfo_test::TempFolder;

namespace {

const char* const kMemoryMaps =
    "            * * * * * * *   D A T A   M E M O R Y   * * * * * * *\n"
    "            REG     0000H     0008H     ABSOLUTE     \"REG BANK 0\"\n"
    "            DATA    0008H     0002H     UNIT         ?DT?MAIN\n"
    "            DATA    000AH     0004H     UNIT         ?DT?_FUNC?MAIN\n"
    "            IDATA   000EH     0001H     UNIT         ?STACK\n"
    "            * * * * * * *  X D A T A   M E M O R Y  * * * * * * *\n"
    "            XDATA   0100H     0010H     INPAGE       ?PD?MAIN\n"
    "            XDATA   0040H     0000H     UNIT         ?XD?EMPTY?MAIN\n"
    "            * * * * * * *   C O D E   M E M O R Y   * * * * * * *\n"
    "            CODE    0000H     0003H     ABSOLUTE     \n"
    "            CODE    0003H     0044H     UNIT         ?PR?MAIN?MAIN\n"
    "            CODE    0047H     0010H     UNIT         ?PR?_FUNC?MAIN\n"
    "            CODE    0057H     0010H     UNIT         ?CO?MAIN\n"
    "                    0067H     0010H                  *** GAP ***\n"
    "            CODE    0077H     0001H     UNIT         ?PR?\n"
    "OVERLAY MAP OF MODULE:   demo (MAIN)\n"
    "            CODE    0100H     0010H     UNIT         ?PR?LATE?MAIN\n";

std::string Symbols(const std::string& body) {
    return std::string(kMemoryMaps) + "SYMBOL TABLE OF MODULE:  demo (MAIN)\n" + body;
}

} // namespace

TEST(M51Reader, MemoryMapsMakeFunctionsAndSegmentsAndWidenTheExternalDataRange) {
    ResetXdataRange();
    auto map = ParseMapText(kMemoryMaps, MapForm::M51);
    const CSymbolDatabase& db = map->database;
    ASSERT_EQ(db.m_listCode.size(), 2u);
    EXPECT_EQ(db.m_listCode[0]->m_strName, "MAIN");
    EXPECT_EQ(db.m_listCode[0]->m_strFile, "MAIN.C");
    EXPECT_EQ(db.m_listCode[0]->m_dwStart, 0x0003u);
    EXPECT_EQ(db.m_listCode[0]->m_dwLength, 0x44u);
    EXPECT_EQ(db.m_listCode[0]->m_nKind, kSegmentCode);
    EXPECT_EQ(db.m_listCode[1]->m_strName, "FUNC");
    ASSERT_EQ(db.m_listData.size(), 1u);
    EXPECT_EQ(db.m_listData[0]->m_strName, "FUNC");
    EXPECT_EQ(db.m_listData[0]->m_nKind, kSegmentData);
    ASSERT_EQ(db.m_listXdata.size(), 1u);
    EXPECT_EQ(db.m_listXdata[0]->m_strName, "EMPTY");
    EXPECT_EQ(g_dwXdataLow, 0x0040u);
    EXPECT_EQ(g_dwXdataHigh, 0x010Fu);
    EXPECT_TRUE(map->loader.m_listModules.empty());
    ResetXdataRange();
}

TEST(M51Reader, GlobalSymbolsGetTheirClassKindAndSpace) {
    auto map = ParseMapText(Symbols("  -------         MODULE        MAIN\n"
                                    "  D:0090H         PUBLIC        P1\n"
                                    "  D:0008H         PUBLIC        cnt\n"
                                    "  X:0000H         PUBLIC        buf\n"
                                    "  C:0003H         PUBLIC        main\n"
                                    "  B:0020H.0       PUBLIC        flag\n"
                                    "  N:0080H         SYMBOL        IDATALEN\n"
                                    "  I:000EH         SEGMENT       ?STACK\n"
                                    "  D:00FFH         SYMBOL        top\n"
                                    "  D:0100H         PUBLIC        D\n"
                                    "  D:0009H         PUBLIC\n"
                                    "  -------         ENDMOD        MAIN\n"),
                            MapForm::M51);
    const CSymbolTable& table = map->table;
    const auto found = ExpectSymbols(table, {{"P1", 2, 0x90, "SFRSYM", "DATA", kMemSpaceSfr},
                                             {"cnt", 2, 0x08, "PUBLIC", "DATA", kMemSpaceData},
                                             {"buf", 2, 0x00, "PUBLIC", "XDATA", kMemSpaceXdata},
                                             {"main", 1, 0x03, "PUBLIC", "CODE", kMemSpaceCode},
                                             {"top", 2, 0xFF, "SFRSYM", "DATA", kMemSpaceSfr},
                                             {"D", 2, 0x100, "PUBLIC", "DATA", kMemSpaceData}});
    for (const SymbolInfo* symbol : found) {
        if (!symbol) continue;
        EXPECT_EQ(symbol->m_nSize, 0u);
        EXPECT_EQ(symbol->m_strType, "");
    }
    EXPECT_EQ(table.LookupSymbol("flag", 2), nullptr);
    EXPECT_EQ(table.LookupSymbol("IDATALEN", 2), nullptr);
    EXPECT_EQ(table.RecordCount(), 6u);
    ASSERT_EQ(map->loader.m_listModules.size(), 1u);
    const SymbolInfo& module = *map->loader.m_listModules[0];
    EXPECT_EQ(module.m_strName, "MAIN");
    EXPECT_EQ(module.m_strType, "MODULE");
    ASSERT_EQ(module.m_children.size(), 6u);
    EXPECT_EQ(module.m_children[0]->m_strName, "P1");
    EXPECT_EQ(module.m_children[5]->m_strName, "D");
}

TEST(M51Reader, SameNameInTwoModulesKeepsTheFirstInTheTableAndAChildInEach) {
    auto map = ParseMapText(Symbols("  -------         MODULE        MAIN\n"
                                    "  D:0008H         PUBLIC        shared\n"
                                    "  -------         ENDMOD        MAIN\n"
                                    "  -------         MODULE        UTIL\n"
                                    "  D:0009H         PUBLIC        shared\n"
                                    "  D:0008H         PUBLIC        alias\n"
                                    "  -------         ENDMOD        UTIL\n"),
                            MapForm::M51);
    ASSERT_EQ(map->loader.m_listModules.size(), 2u);
    EXPECT_EQ(map->loader.m_listModules[0]->m_children.size(), 1u);
    EXPECT_EQ(map->loader.m_listModules[1]->m_children.size(), 2u);
    EXPECT_EQ(map->table.LookupSymbol("shared", 2)->m_dwAddress, 0x08u);
    // The second "shared" stays for its address 0x09; "alias" for its name.
    EXPECT_EQ(map->table.SymbolAtAddress(0x09, 2)->m_strName, "shared");
    EXPECT_EQ(map->table.SymbolAtAddress(0x08, 2)->m_strName, "shared");
    EXPECT_EQ(map->table.LookupSymbol("alias", 2)->m_dwAddress, 0x08u);
    EXPECT_EQ(map->table.RecordCount(), 3u);
}

TEST(M51Reader, FunctionsLocalsAndLineRecords) {
    auto map = ParseMapText(Symbols("  -------         MODULE        MAIN\n"
                                    "  D:000AH         SYMBOL        outside\n"
                                    "  -------         PROC          MAIN\n"
                                    "  C:0003H         LINE#         5\n"
                                    "  C:0003H         LINE#         6\n"
                                    "  C:0008H         LINE#         7\n"
                                    "  -------         ENDPROC       MAIN\n"
                                    "  -------         PROC          _FUNC\n"
                                    "  D:000AH         SYMBOL        i\n"
                                    "  X:0010H         SYMBOL        x\n"
                                    "  B:0020H.1       SYMBOL        bit\n"
                                    "  C:0047H         LINE#         20\n"
                                    "  -------         ENDPROC       _FUNC\n"
                                    "  -------         PROC          MISSING\n"
                                    "  D:000BH         SYMBOL        later\n"
                                    "  -------         ENDMOD        MAIN\n"),
                            MapForm::M51);
    const CSymbolTable& table = map->table;
    // Two LINE# lines at one address make one record with the later line.
    const CLineInfoInModule* lines = FindModuleLineInfo(map->loader, "MAIN");
    ASSERT_NE(lines, nullptr);
    std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> records;
    for (const CLineInfoInMapFormat& r : lines->m_lines)
        records.emplace_back(r.m_nLine, r.m_dwAddress, r.m_nKind);
    const std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> expected = {
        {0, 0x03, 0}, {6, 0x03, 2},  {7, 0x08, 2}, {0, 0, 1},
        {0, 0x47, 0}, {20, 0x47, 2}, {0, 0, 1},    {0, 0, 0}};
    EXPECT_EQ(records, expected);
    EXPECT_EQ(table.GetAddressOfLine("MAIN.C:5"), 0x03u);
    EXPECT_EQ(table.GetAddressOfLine("MAIN.C:6"), 0x03u);
    EXPECT_EQ(table.GetLineOfAddress(0x03), "MAIN.C:6");
    EXPECT_EQ(table.GetLineOfAddress(0x47), "MAIN.C:20");

    // Locals of _FUNC (found as FUNC) span the function's range.
    const CSymbolStruct* func = map->database.FindSymbolByName("FUNC", kListCode);
    ASSERT_NE(func, nullptr);
    ASSERT_EQ(func->m_locals.size(), 2u);
    const CSymbolLocalVar& i = *func->m_locals[0];
    EXPECT_EQ(i.m_strName, "i");
    EXPECT_EQ(i.m_dwAddress, 0x0Au);
    EXPECT_EQ(i.m_strType, "NONE");
    EXPECT_EQ(i.m_nSize, 2u);
    EXPECT_EQ(i.m_strClass, "DATA");
    EXPECT_EQ(i.m_nSpace, kMemSpaceData);
    EXPECT_EQ(i.m_dwScopeLow, 0x47u);
    EXPECT_EQ(i.m_dwScopeHigh, 0x56u);
    EXPECT_EQ(func->m_locals[1]->m_nSpace, kMemSpaceXdata);
    EXPECT_TRUE(map->database.FindSymbolByName("MAIN", kListCode)->m_locals.empty());

    // SYMBOL lines outside a function (or after a PROC whose segment is
    // missing) are global symbols and children of the module.
    EXPECT_NE(table.LookupSymbol("outside", 2), nullptr);
    EXPECT_NE(table.LookupSymbol("later", 2), nullptr);
    EXPECT_EQ(table.LookupSymbol("i", 2), nullptr);
    EXPECT_EQ(map->loader.m_listModules[0]->m_children.size(), 2u);
}

TEST(M51Reader, StartupModuleKeysNameItsAssemblerSourceWhenItExists) {
    const std::string text = Symbols("  -------         MODULE        ?C_STARTUP\n"
                                     "  C:0000H         LINE#         30\n"
                                     "  -------         ENDMOD        ?C_STARTUP\n"
                                     "  -------         MODULE        PLAIN\n"
                                     "  C:0010H         LINE#         3\n");
    TempFolder folder;
    EXPECT_EQ(ParseMapText(text, MapForm::M51, folder.Root())->table.GetLineOfAddress(0),
              "NONE:30");
    folder.Write("startup.a51", "; start-up\n");
    auto map = ParseMapText(text, MapForm::M51, folder.Root());
    EXPECT_EQ(map->table.GetLineOfAddress(0), "STARTUP.A51:30");
    // A module without an end line ends with the text.
    EXPECT_EQ(map->table.GetLineOfAddress(0x10), "PLAIN.C:3");
    ASSERT_EQ(map->loader.m_listModules.size(), 2u);
    EXPECT_EQ(map->loader.m_listModules[1]->m_strName, "PLAIN");
}

TEST(M51Reader, MapWithoutMemoryMapsGivesEveryProcTheEmptyStartRecord) {
    auto map = ParseMapText("SYMBOL TABLE OF MODULE:  x (MAIN)\n"
                            "  -------         MODULE        MAIN\n"
                            "  -------         PROC          MAIN\n"
                            "  D:0008H         SYMBOL        i\n"
                            "  -------         ENDPROC       MAIN\n"
                            "  -------         ENDMOD        MAIN\n",
                            MapForm::M51);
    EXPECT_TRUE(map->database.m_listCode.empty());
    const CLineInfoInModule* lines = FindModuleLineInfo(map->loader, "MAIN");
    ASSERT_NE(lines, nullptr);
    ASSERT_EQ(lines->m_lines.size(), 2u);
    EXPECT_EQ(lines->m_lines[0].m_nKind, kLineFunctionStart);
    EXPECT_EQ(lines->m_lines[0].m_dwAddress, 0u);
    EXPECT_NE(map->table.LookupSymbol("i", 2), nullptr);
}

TEST(M51Reader, TruncatedLinesMakeNothing) {
    auto map = ParseMapText(Symbols("  -------         MODULE\n"
                                    "  -------         MODULE        MAIN\n"
                                    "  -------         PROC\n"
                                    "  C:0003H         LINE#\n"
                                    "  C:0003H\n"
                                    "  D:\n"
                                    "  D:0008H         SYMBOL\n"
                                    "  -------         ENDMOD        MAIN\n"),
                            MapForm::M51);
    EXPECT_EQ(map->table.RecordCount(), 0u);
    EXPECT_EQ(map->table.LinePositionCount(), 0u);
    ASSERT_EQ(map->loader.m_listModules.size(), 1u);
    EXPECT_TRUE(map->loader.m_listModules[0]->m_children.empty());
}

size_t ChildCount(const debuginfo_test::ParsedMap& map) {
    size_t count = 0;
    for (const auto& module : map.loader.m_listModules)
        count += module->m_children.size();
    return count;
}

// Both demo maps. Each line of their symbol tables that the readers take an
// address from (symbols, blocks, source lines), its address made no number
// or one past 64 KB, is the one line refused and turns no symbol into a
// global. Cut short after a source line that another follows, the map is
// incomplete and that line, now the last, has no known end.
TEST(MapReaders, ADamagedAddressRefusesItsLineAloneAndACutMapIsIncomplete) {
    for (const auto& [name, form] :
         {std::pair("demo.M51", MapForm::M51), std::pair("demo.MAP", MapForm::Extended)}) {
        SCOPED_TRACE(name);
        const std::string text = debuginfo_test::ReadWholeFile(DemoFolder() + "/" + name);
        const std::vector<std::string_view> lines = SplitLines(text);
        const auto whole = ParseMapText(text, form);
        EXPECT_TRUE(whole->loader.m_faults.Empty());
        size_t damaged = 0;
        bool inTable = false;
        for (size_t i = 0; i + 1 < lines.size(); ++i) {
            inTable = inTable || ContainsText(lines[i], "SYMBOL TABLE OF MODULE:");
            const size_t offset = static_cast<size_t>(lines[i].data() - text.data());
            if (ContainsText(lines[i], "LINE") && ContainsText(lines[i + 1], "LINE")) {
                const auto cut = ParseMapText(text.substr(0, offset + lines[i].size() + 1), form);
                EXPECT_TRUE(cut->loader.m_faults.m_bIncomplete);
                EXPECT_TRUE(cut->loader.m_moduleLineRecords.back()->m_lines.back().m_bNextRefused);
            }
            LineTokenizer words(lines[i]);
            const std::string value(words.Next(" ").value_or(""));
            const std::string kind(words.Next(" ").value_or(""));
            const bool read =
                ContainsText(" PUBLIC SYMBOL SFRSYM LINE# LINE BLOCK ", " " + kind + " ") &&
                (form == MapForm::M51 ? value.size() > 2 && value[1] == ':' &&
                                            ContainsText("CDX", value.substr(0, 1))
                                      : value.size() == 9 && value.back() == 'H');
            if (!inTable || !read) continue;
            for (const char* digits : {"0GZZH", "010000H"}) {
                std::string copy = text;
                copy.replace(offset + lines[i].find(value) + 2, value.size() - 2, digits);
                const auto map = ParseMapText(copy, form);
                ASSERT_EQ(map->loader.m_faults.m_refused.size(), 1u) << lines[i] << " " << digits;
                EXPECT_EQ(map->loader.m_faults.m_refused[0].m_nLine, i + 1);
                EXPECT_LE(ChildCount(*map), ChildCount(*whole)) << lines[i];
            }
            ++damaged;
        }
        EXPECT_GT(damaged, 20u);
    }
}
