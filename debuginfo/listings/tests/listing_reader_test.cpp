// The symbol table of a C listing completing the map's records.
#include <gtest/gtest.h>

#include "listing_reader.h"

namespace {

const char* kHeading =
    "NAME                                    CLASS   MSPACE  TYPE    OFFSET  SIZE";

class ListingReader : public ::testing::Test {
protected:
    void SetUp() override {
        AddSymbol("P1", 0x90, "DATA", kSelectData);
        AddSymbol("buf", 0x0000, "XDATA", kSelectData);
        AddSymbol("count", 0x08, "DATA", kSelectData);
        AddSymbol("main", 0x0003, "CODE", kSelectCode);
        AddSymbol("helper", 0x0020, "CODE", kSelectCode);
        main = AddFunction("MAIN", 0x0003, 0x10, {"i", "count", "r"});
        helper = AddFunction("HELPER", 0x0020, 0x08, {"k"});
    }

    void AddSymbol(const char* name, uint32_t address, const char* memoryClass, int selector) {
        SymbolInfo symbol(name);
        symbol.m_dwAddress = address;
        symbol.m_strClass = memoryClass;
        symbol.m_strType = "NONE";
        table.EnterSymbolCopy(symbol, selector);
    }

    CSymbolStruct* AddFunction(const char* name, uint32_t start, uint32_t length,
                               std::initializer_list<const char*> locals) {
        auto segment = std::make_unique<CSymbolStruct>();
        segment->m_strName = name;
        segment->m_dwStart = start;
        segment->m_dwLength = length;
        segment->m_nKind = kSegmentCode;
        for (const char* local : locals) {
            auto var = std::make_unique<CSymbolLocalVar>(local);
            var->m_dwScopeLow = start;
            var->m_dwScopeHigh = start + length - 1;
            segment->m_locals.push_back(std::move(var));
        }
        database.m_listCode.push_back(std::move(segment));
        return database.m_listCode.back().get();
    }

    int Parse(const std::string& text) {
        Loader listing;
        listing.AssignText("MAIN.lst", text);
        SplitTextLines(listing);
        g_bLoadError = 1;
        return ParseListingFile(listing, table, &database);
    }

    SymbolInfo& Data(const char* name) { return *table.LookupSymbol(name, kSelectData); }
    SymbolInfo& Local(CSymbolStruct* function, size_t index) { return *function->m_locals[index]; }

    CSymbolTable table;
    CSymbolDatabase database;
    CSymbolStruct* main = nullptr;
    CSymbolStruct* helper = nullptr;
};

std::string Table(const std::string& rows) {
    return std::string("C51 COMPILER V7.50   MAIN\n\n") + kHeading + "\n" + kListingTableRule +
           "\n\n\n" + rows + "\n\nMODULE INFORMATION:   STATIC OVERLAYABLE\n";
}

} // namespace

TEST_F(ListingReader, GlobalsCodeSymbolsAndLocalsGetTypeAndSize) {
    EXPECT_EQ(Parse(Table(
                  "P1 . . . . . . . . . . . . . . . . . .  SFR      DATA   U_CHAR   0090H  1\n"
                  "buf. . . . . . . . . . . . . . . . . .  PUBLIC   XDATA  ARRAY    0000H  10\n"
                  "main . . . . . . . . . . . . . . . . .  PUBLIC   CODE   PROC     0000H  -----\n"
                  "  i. . . . . . . . . . . . . . . . . .  AUTO     DATA   INT      0000H  2\n"
                  "  r. . . . . . . . . . . . . . . . . .  * REG *  DATA   U_LONG   0004H  4\n")),
              1);
    EXPECT_EQ(g_bLoadError, 0);
    EXPECT_EQ(Data("P1").m_strType, "U_CHAR");
    EXPECT_EQ(Data("P1").m_nSize, 1u);
    EXPECT_EQ(Data("buf").m_strType, "ARRAY");
    EXPECT_EQ(Data("buf").m_nSize, 10u);
    SymbolInfo* code = table.LookupSymbol("main", kSelectCode);
    EXPECT_EQ(code->m_strType, "PROC");
    EXPECT_EQ(code->m_nSize, 0u);
    EXPECT_EQ(Local(main, 0).m_strType, "INT");
    EXPECT_EQ(Local(main, 0).m_nSize, 2u);
    EXPECT_EQ(Local(main, 2).m_strType, "U_LONG"); // register variable: * REG *
    EXPECT_EQ(Local(main, 2).m_nSize, 4u);
}

TEST_F(ListingReader, WithoutTheRuleTheFlagStaysSet) {
    Parse(std::string(kHeading) + "\nP1 . . .  SFR      DATA   U_CHAR   0090H  1\n");
    EXPECT_EQ(g_bLoadError, 1);
    EXPECT_EQ(Data("P1").m_strType, "NONE");
    g_bLoadError = 0;
}

TEST_F(ListingReader, LocalsNeedAnIndentAndTheirFunction) {
    Parse(Table("  i. . . . . . . . . . . . . . . . . .  AUTO     DATA   INT      0000H  2\n"
                "main . . . . . . . . . . . . . . . . .  PUBLIC   CODE   PROC     0000H  -----\n"
                "i. . . . . . . . . . . . . . . . . . .  AUTO     DATA   INT      0000H  2\n"
                "  i. . . . . . . . . . . . . . . . . .  AUTO     DATA   CHAR     0000H  1\n"));
    // The first line has no function; the third is not indented and ends main's members.
    EXPECT_EQ(Local(main, 0).m_strType, "");
}

TEST_F(ListingReader, FileLocalFunctionsOwnTheirLocals) {
    Parse(Table("helper . . . . . . . . . . . . . . . .  STATIC   CODE   PROC     0000H  -----\n"
                "  k. . . . . . . . . . . . . . . . . .  AUTO     DATA   U_INT    0000H  2\n"));
    EXPECT_EQ(Local(helper, 0).m_strType, "U_INT");
    EXPECT_EQ(table.LookupSymbol("helper", kSelectCode)->m_strType, "PROC");
}

TEST_F(ListingReader, ALocalNamedLikeAGlobalUpdatesTheLocal) {
    Parse(Table("count. . . . . . . . . . . . . . . . .  PUBLIC   DATA   U_CHAR   0008H  1\n"
                "main . . . . . . . . . . . . . . . . .  PUBLIC   CODE   PROC     0000H  -----\n"
                "  count. . . . . . . . . . . . . . . .  AUTO     DATA   LONG     0000H  4\n"));
    EXPECT_EQ(Data("count").m_strType, "U_CHAR");
    EXPECT_EQ(Data("count").m_nSize, 1u);
    EXPECT_EQ(Local(main, 1).m_strType, "LONG");
    EXPECT_EQ(Local(main, 1).m_nSize, 4u);
}

TEST_F(ListingReader, PageHeadingsInsideTheTableAreSkipped) {
    Parse(Table("main . . . . . . . . . . . . . . . . .  PUBLIC   CODE   PROC     0000H  -----\n"
                "\f\nC51 COMPILER V7.50   MAIN                  PAGE 9\n\n"
                "  i. . . . . . . . . . . . . . . . . .  AUTO     DATA   INT      0000H  2\n"
                "buf. . . . . . . . . . . . . . . . . .  PUBLIC   XDATA  ARRAY    0000H  10\n"
                "MODULE INFORMATION:\n"
                "P1 . . . . . . . . . . . . . . . . . .  SFR      DATA   U_CHAR   0090H  1\n"));
    EXPECT_EQ(Local(main, 0).m_strType, "INT");
    EXPECT_EQ(Data("buf").m_nSize, 10u);
    EXPECT_EQ(Data("P1").m_strType, "NONE"); // after the end of the table
}

TEST_F(ListingReader, ShortLinesLeaveMissingColumnsEmpty) {
    Parse(Table("P1 . . . . . . . . . . . . . . . . . .  SFR      DATA\n"
                "buf. . . . . . . . . . . . . . . . . .  PUBLIC   XDATA  ARRAY\n"
                "1bad . . . . . . . . . . . . . . . . .  PUBLIC   DATA   INT      0000H  2\n"));
    EXPECT_EQ(Data("P1").m_strType, "");
    EXPECT_EQ(Data("P1").m_nSize, 0u);
    EXPECT_EQ(Data("buf").m_strType, "ARRAY");
    EXPECT_EQ(Data("buf").m_nSize, 0u);
}

TEST_F(ListingReader, MembersOfAFunctionTheMapLacksChangeNoGlobal) {
    Parse(Table("lost . . . . . . . . . . . . . . . . .  PUBLIC   CODE   PROC     0000H  -----\n"
                "  count. . . . . . . . . . . . . . . .  AUTO     DATA   LONG     0000H  4\n"));
    EXPECT_EQ(Data("count").m_strType, "NONE");
    EXPECT_EQ(Data("count").m_nSize, 0u);
}
