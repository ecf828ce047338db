#include <gtest/gtest.h>

#include "test_support.h"
#include "xdata_range.h"

using debuginfo_test::MapForm;
using debuginfo_test::ParseMapText;

namespace {

const char* const kMemoryMaps =
    "* * * * * * * * * * *   D A T A   M E M O R Y   * * * * * * * * * * * * *\n"
    "000000H   000007H   000008H   ---    AT..     DATA           \"REG BANK 0\"\n"
    "000008H   00000BH   000004H   BYTE   UNIT     DATA           ?DT?_FUNC?MAIN\n"
    "000020H.0 000020H.1 000000H.2 BIT    UNIT     BIT            ?BI?MAIN\n"
    "* * * * * * * * * * *   C O D E   M E M O R Y   * * * * * * * * * * * * *\n"
    "000000H   000002H   000003H   ---    OFFS..   CODE           ?CO??C_STARTUP?0\n"
    "000003H   000046H   000044H   BYTE   UNIT     CODE           ?PR?MAIN?MAIN\n"
    "000047H   000056H   000010H   BYTE   UNIT     CODE           ?PR?_FUNC?MAIN\n"
    "000057H   000066H   000010H   BYTE   UNIT     CONST          ?CO?MAIN\n"
    "001000H   00100FH   000010H   BYTE   UNIT     CODE           ?PR?FAR?MAIN\n"
    "001010H   00101FH   000010H   BYTE   UNIT     CODE\n"
    "* * * * * * * * * * *  X D A T A   M E M O R Y  * * * * * * * * * * * * *\n"
    "000200H   0002FFH   000100H   BYTE   UNIT     XDATA          ?XD?MAIN\n"
    "000100H   000101H   000002H   ---    ---      **GAP**\n"
    "OVERLAY MAP OF MODULE:   demo (MAIN)\n"
    "000300H   0003FFH   000100H   BYTE   UNIT     XDATA          ?XD?LATE?MAIN\n";

std::string Symbols(const std::string& body) {
    return std::string(kMemoryMaps) + "SYMBOL TABLE OF MODULE:  demo (MAIN)\n" + body;
}

std::string Row(const std::string& value, const std::string& rep, const std::string& memoryClass,
                const std::string& type, const std::string& name) {
    char line[160];
    std::snprintf(line, sizeof line, "      %-12s%-10s%-9s%-10s%s\n", value.c_str(), rep.c_str(),
                  memoryClass.c_str(), type.c_str(), name.c_str());
    return line;
}

} // namespace

TEST(ExtendedMapReader, MemoryMapsMakeSegmentsAndAModuleRecordForTheStartupVector) {
    ResetXdataRange();
    auto map = ParseMapText(kMemoryMaps, MapForm::Extended);
    const CSymbolDatabase& db = map->database;
    ASSERT_EQ(db.m_listCode.size(), 3u);
    EXPECT_EQ(db.m_listCode[0]->m_strName, "MAIN");
    EXPECT_EQ(db.m_listCode[0]->m_dwStart, 0x03u);
    EXPECT_EQ(db.m_listCode[0]->m_dwLength, 0x44u);
    EXPECT_EQ(db.m_listCode[1]->m_strName, "FUNC");
    EXPECT_EQ(db.m_listCode[2]->m_dwStart, 0x1000u);
    ASSERT_EQ(db.m_listData.size(), 1u);
    EXPECT_EQ(db.m_listData[0]->m_strFile, "MAIN.C");
    EXPECT_TRUE(db.m_listXdata.empty());
    EXPECT_EQ(g_dwXdataLow, 0x0100u);
    EXPECT_EQ(g_dwXdataHigh, 0x02FFu);
    ASSERT_EQ(map->loader.m_listModules.size(), 1u);
    EXPECT_EQ(map->loader.m_listModules[0]->m_strName, "C_STARTUP");
    EXPECT_EQ(map->loader.m_listModules[0]->m_strType, "MODULE");
    EXPECT_TRUE(map->loader.m_listModules[0]->m_children.empty());
    ResetXdataRange();
}

TEST(ExtendedMapReader, SymbolTypesSizesAndClasses) {
    auto map = ParseMapText(Symbols(Row("---", "MODULE", "---", "---", "MAIN") +
                                    Row("00000090H", "SFRSYM", "DATA", "BYTE", "P1") +
                                    Row("02000000H", "PUBLIC", "XDATA", "WORD", "buf") +
                                    Row("00000010H", "PUBLIC", "DATA", "DWORD", "total") +
                                    Row("00000014H", "PUBLIC", "DATA", "INT", "count") +
                                    Row("00000016H", "PUBLIC", "DATA", "STRUCT", "record") +
                                    Row("00000020H.1", "PUBLIC", "DATA", "BIT", "flag") +
                                    Row("01000003H", "PUBLIC", "CODE", "NEAR LAB", "entry") +
                                    Row("01000057H", "PUBLIC", "CONST", "---", "table") +
                                    Row("00000063H", "SYMBOL", "NUMBER", "---", "VALUE") +
                                    Row("---", "SYMBOL", "DATA", "BYTE", "nowhere") +
                                    Row("01000005H", "PUBLIC", "CODE", "NEAR", "LAB")),
                            MapForm::Extended);
    const CSymbolTable& table = map->table;
    struct Expected {
        const char* name;
        int selector;
        uint32_t address;
        const char* kind;
        const char* type;
        uint32_t size;
        uint32_t space;
    };
    const Expected expected[] = {{"P1", 2, 0x90, "SFRSYM", "BYTE", 1, kMemSpaceSfr},
                                 {"buf", 2, 0x00, "PUBLIC", "WORD", 2, kMemSpaceXdata},
                                 {"total", 2, 0x10, "PUBLIC", "DWORD", 4, kMemSpaceData},
                                 {"count", 2, 0x14, "PUBLIC", "INT", 2, kMemSpaceData},
                                 {"record", 2, 0x16, "PUBLIC", "NONE", 2, kMemSpaceData},
                                 {"entry", 1, 0x03, "PUBLIC", "NONE", 2, kMemSpaceCode}};
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        const SymbolInfo* symbol = table.LookupSymbol(e.name, e.selector);
        ASSERT_NE(symbol, nullptr);
        EXPECT_EQ(symbol->m_dwAddress, e.address);
        EXPECT_EQ(symbol->m_strKind, e.kind);
        EXPECT_EQ(symbol->m_strType, e.type);
        EXPECT_EQ(symbol->m_nSize, e.size);
        EXPECT_EQ(symbol->m_nSpace, e.space);
    }
    // Bit symbols make nothing; other classes stay with the module only.
    EXPECT_EQ(table.LookupSymbol("flag", 2), nullptr);
    EXPECT_EQ(table.LookupSymbol("table", 1), nullptr);
    EXPECT_EQ(table.LookupSymbol("table", 2), nullptr);
    EXPECT_EQ(table.RecordCount(), 6u);
    ASSERT_EQ(map->loader.m_listModules.size(), 2u);
    const SymbolInfo& module = *map->loader.m_listModules[1];
    ASSERT_EQ(module.m_children.size(), 8u);
    EXPECT_EQ(module.m_children[6]->m_strName, "table");
    EXPECT_EQ(module.m_children[6]->m_strClass, "CONST");
    EXPECT_EQ(module.m_children[6]->m_nSpace, kMemSpaceNone);
    EXPECT_EQ(module.m_children[7]->m_strName, "VALUE");
}

TEST(ExtendedMapReader, PublicSymbolsFromAddress0x1000UpAreRead) {
    auto map = ParseMapText(Symbols(Row("---", "MODULE", "---", "---", "MAIN") +
                                    Row("01001234H", "PUBLIC", "CODE", "---", "farAway") +
                                    Row("C:001000H", "PUBLIC", "CODE", "---", "farToo") +
                                    Row("X:00ABCDH", "PUBLIC", "XDATA", "BYTE", "farData") +
                                    Row("C:000003H", "PUBLIC", "CODE", "---", "near")),
                            MapForm::Extended);
    EXPECT_EQ(map->table.LookupSymbol("farAway", 1)->m_dwAddress, 0x1234u);
    EXPECT_EQ(map->table.LookupSymbol("farToo", 1)->m_dwAddress, 0x1000u);
    EXPECT_EQ(map->table.LookupSymbol("farData", 2)->m_dwAddress, 0xABCDu);
    EXPECT_EQ(map->table.LookupSymbol("near", 1)->m_dwAddress, 0x0003u);
}

TEST(ExtendedMapReader, BlocksChooseTheFunctionAndNestedBlocksKeepIt) {
    auto map = ParseMapText(Symbols(Row("---", "MODULE", "---", "---", "MAIN") +
                                    Row("01000047H", "BLOCK", "CODE", "---", "LVL=0") +
                                    Row("00000006H", "SYMBOL", "DATA", "WORD", "arg") +
                                    Row("0100004AH", "BLOCK", "CODE", "NEAR LAB", "LVL=1") +
                                    Row("00000008H", "SYMBOL", "DATA", "BYTE", "inner") +
                                    Row("00000020H.2", "SYMBOL", "BIT", "BIT", "flag") +
                                    Row("0100004CH", "SYMBOL", "CODE", "NEAR LAB", "LOOP") +
                                    Row("---", "BLOCKEND", "---", "---", "LVL=1") +
                                    Row("01000047H", "LINE", "CODE", "---", "#20") +
                                    Row("0100004AH", "LINE", "CODE", "---", "#21") +
                                    Row("0100004AH", "LINE", "CODE", "---", "#22") +
                                    Row("---", "BLOCKEND", "---", "---", "LVL=0") +
                                    Row("01000200H", "BLOCK", "CODE", "---", "LVL=0") +
                                    Row("00000009H", "SYMBOL", "DATA", "BYTE", "stray") +
                                    Row("---", "BLOCKEND", "---", "---", "LVL=0")),
                            MapForm::Extended);
    const CSymbolStruct* func = map->database.FindSymbolByName("FUNC", kListCode);
    ASSERT_NE(func, nullptr);
    ASSERT_EQ(func->m_locals.size(), 3u);
    EXPECT_EQ(func->m_locals[0]->m_strName, "arg");
    EXPECT_EQ(func->m_locals[0]->m_strType, "WORD");
    EXPECT_EQ(func->m_locals[1]->m_strName, "inner");
    EXPECT_EQ(func->m_locals[1]->m_nSize, 1u);
    EXPECT_EQ(func->m_locals[1]->m_dwScopeLow, 0x47u);
    EXPECT_EQ(func->m_locals[1]->m_dwScopeHigh, 0x56u);
    EXPECT_EQ(func->m_locals[2]->m_strName, "LOOP");
    EXPECT_EQ(func->m_locals[2]->m_nSpace, kMemSpaceCode);
    // A block outside every function clears the current one: "stray" is global.
    EXPECT_NE(map->table.LookupSymbol("stray", 2), nullptr);
    EXPECT_EQ(map->table.LookupSymbol("flag", 2), nullptr);

    const CLineInfoInModule* lines = FindModuleLineInfo(map->loader, "MAIN");
    ASSERT_NE(lines, nullptr);
    std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> records;
    for (const CLineInfoInMapFormat& r : lines->m_lines)
        records.emplace_back(r.m_nLine, r.m_dwAddress, r.m_nKind);
    const std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> expected = {
        {0, 0x47, 0},  {0, 0x4A, 0}, {0, 0, 1},     {20, 0x47, 2},
        {22, 0x4A, 2}, {0, 0, 1},    {0, 0x200, 0}, {0, 0, 1}};
    EXPECT_EQ(records, expected);
    EXPECT_EQ(map->table.GetLineOfAddress(0x4A), "MAIN.C:22");
    EXPECT_EQ(map->table.GetAddressOfLine("MAIN.C:21"), 0x4Au);
}

TEST(ExtendedMapReader, ModulesEndAtTheNextModuleLineOrTheEndOfTheText) {
    auto map = ParseMapText(Symbols(Row("---", "MODULE", "---", "---", "MAIN") +
                                    Row("00000008H", "PUBLIC", "DATA", "BYTE", "a") +
                                    Row("---", "MODULE", "---", "---", "?C_STARTUP") +
                                    Row("01000000H", "LINE", "CODE", "---", "#12") +
                                    Row("00000009H", "PUBLIC", "DATA", "BYTE", "b")),
                            MapForm::Extended);
    ASSERT_EQ(map->loader.m_listModules.size(), 3u);
    EXPECT_EQ(map->loader.m_listModules[1]->m_strName, "MAIN");
    EXPECT_EQ(map->loader.m_listModules[1]->m_children.size(), 1u);
    EXPECT_EQ(map->loader.m_listModules[2]->m_strName, "?C_STARTUP");
    EXPECT_EQ(map->loader.m_listModules[2]->m_children.size(), 1u);
    EXPECT_EQ(map->table.GetLineOfAddress(0), "NONE:12");
}

TEST(ExtendedMapReader, NamesAfterLabAndTruncatedLines) {
    auto map = ParseMapText(Symbols(Row("---", "MODULE", "---", "---", "MAIN") +
                                    Row("01000047H", "BLOCK", "CODE", "---", "LVL=0") +
                                    "      00000006H   SYMBOL    DATA     NEAR      LAB\n" +
                                    "      00000007H   SYMBOL    DATA\n" +
                                    "      01000003H   PUBLIC    CODE     NEAR      LAB\n" +
                                    "      01000047H   LINE      CODE     ---\n" +
                                    "      01000047H   LINE\n" + "      ---         MODULE\n" +
                                    "      01000047H   LINE      CODE     ---       #9\n"),
                            MapForm::Extended);
    EXPECT_EQ(map->table.RecordCount(), 0u);
    EXPECT_EQ(map->table.LinePositionCount(), 0u);
    EXPECT_TRUE(map->database.FindSymbolByName("FUNC", kListCode)->m_locals.empty());
    ASSERT_EQ(map->loader.m_listModules.size(), 2u);
    EXPECT_TRUE(map->loader.m_listModules[1]->m_children.empty());
}
