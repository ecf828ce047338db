#include <gtest/gtest.h>

#include "switch_helpers.h"
#include "symbol_lookup.h"

namespace {

// Installs a fresh symbol table and database for one test and removes them after.
class LookupTest : public testing::Test {
protected:
    void SetUp() override {
        g_pSymbolTable = std::make_unique<CSymbolTable>();
        AllocateProjectTables();
    }
    void TearDown() override {
        g_pSymbolTable.reset();
        g_pSymbolDatabase.reset();
        g_mapBreakAddress.clear();
    }

    static CSymbolStruct& AddFunction(const std::string& name, uint32_t start, uint32_t length) {
        auto function = std::make_unique<CSymbolStruct>();
        function->m_strName = name;
        function->m_strFile = "MAIN.C";
        function->m_dwStart = start;
        function->m_dwLength = length;
        function->m_nKind = kSegmentCode;
        g_pSymbolDatabase->m_listCode.push_back(std::move(function));
        return *g_pSymbolDatabase->m_listCode.back();
    }

    static CSymbolLocalVar* AddLocal(CSymbolStruct& function, const std::string& name, uint32_t low,
                                     uint32_t high) {
        auto local = std::make_unique<CSymbolLocalVar>(name);
        local->m_dwScopeLow = low;
        local->m_dwScopeHigh = high;
        function.m_locals.push_back(std::move(local));
        return function.m_locals.back().get();
    }
};

} // namespace

TEST_F(LookupTest, SymbolsResolveAmongCodeOrDataByTheSelector) {
    SymbolInfo counter("counter");
    counter.m_strClass = "DATA";
    SymbolInfo mainSymbol("main");
    mainSymbol.m_strClass = "CODE";
    g_pSymbolTable->EnterSymbolCopy(counter, kSelectData);
    g_pSymbolTable->EnterSymbolCopy(mainSymbol, kSelectCode);

    ASSERT_NE(LookupSymbol("counter", 2), nullptr);
    EXPECT_EQ(LookupSymbol("counter", 2)->m_strClass, "DATA");
    EXPECT_EQ(LookupSymbol("main", 2), nullptr);
    ASSERT_NE(LookupSymbol("main", 1), nullptr);
    EXPECT_EQ(LookupSymbol("main", 0), nullptr);
    EXPECT_EQ(LookupSymbol("", 2), nullptr);
}

TEST_F(LookupTest, PositionsAnswerNothingForAddressesAndLinesWithoutEntries) {
    g_pSymbolTable->SetLineAddress("main.c:42", 0x0100);
    g_pSymbolTable->SetLineAddress("main.c:43", 0x0108);
    EXPECT_EQ(GetLineOfAddress(0x0100), "main.c:42");
    EXPECT_EQ(GetAddressOfLine("main.c:43"), 0x0108u);
    EXPECT_EQ(GetAddressOfLine("main.c:10"), 0xFFFFFFFFu);
    EXPECT_EQ(GetLineOfAddress(0x0104), "");
    // Asking does not enter the address.
    EXPECT_EQ(g_pSymbolTable->AddressPositionCount(), 2u);
}

TEST_F(LookupTest, FunctionOfAddressCoversStartToStartPlusLengthMinusOne) {
    AddFunction("EMPTY", 0x0000, 0);
    AddFunction("MAIN", 0x0003, 0x10);
    AddFunction("MAIN_AGAIN", 0x0003, 0x20);
    EXPECT_EQ(FindFunctionOfAddress(0x0000), nullptr);
    EXPECT_EQ(FindFunctionOfAddress(0x0003)->m_strName, "MAIN");
    EXPECT_EQ(FindFunctionOfAddress(0x0012)->m_strName, "MAIN");
    EXPECT_EQ(FindFunctionOfAddress(0x0013)->m_strName, "MAIN_AGAIN");
    EXPECT_EQ(FindFunctionOfAddress(0x0023), nullptr);
    EXPECT_EQ(FindFunctionOfAddress(0xFFFFFFFF), nullptr);

    EXPECT_EQ(FindSymbolByName("MAIN", kListCode)->m_dwLength, 0x10u);
    EXPECT_EQ(FindSymbolByName("main", kListCode), nullptr);
    EXPECT_EQ(FindSymbolByName("MAIN", kListData), nullptr);
    EXPECT_EQ(FindSymbolByName("MAIN", 7), nullptr);
}

TEST_F(LookupTest, LocalInRangeIsTheInnermostScopeThatHoldsTheAddress) {
    CSymbolStruct& function = AddFunction("MAIN", 0x0100, 0x100);
    CSymbolLocalVar* outer = AddLocal(function, "i", 0x0100, 0x0180);
    CSymbolLocalVar* inner = AddLocal(function, "i", 0x0120, 0x0140);
    AddLocal(function, "j", 0x0100, 0x01FF);
    EXPECT_EQ(FindSymbolInRange(&function, "i", 0x0130), inner);
    EXPECT_EQ(FindSymbolInRange(&function, "i", 0x0110), outer);
    EXPECT_EQ(FindSymbolInRange(&function, "i", 0x0190), nullptr);
    EXPECT_EQ(FindSymbolInRange(&function, "i\r", 0x0130), inner);
    EXPECT_EQ(FindSymbolInRange(&function, "i\r", 0x0110), outer);
    EXPECT_EQ(FindSymbolInRange(&function, "I", 0x0130), nullptr);
    // Of two locals with the same scope the later one wins.
    CSymbolLocalVar* same = AddLocal(function, "i", 0x0120, 0x0140);
    EXPECT_EQ(FindSymbolInRange(&function, "i", 0x0130), same);
    // An outer scope listed after an inner one does not replace it.
    AddLocal(function, "i", 0x0100, 0x01FF);
    EXPECT_EQ(FindSymbolInRange(&function, "i", 0x0130), same);

    CSymbolStruct& bare = AddFunction("BARE", 0x0300, 0x10);
    EXPECT_EQ(FindSymbolInRange(&bare, "i", 0x0300), nullptr);
    EXPECT_EQ(FindSymbolInRange(nullptr, "i", 0x0300), nullptr);
}

TEST_F(LookupTest, BreakAddressOfAnUnknownAddressIsZeroAndIsRemembered) {
    EXPECT_EQ(IsBreakAddress(0x0040), 0);
    EXPECT_EQ(g_mapBreakAddress.count(0x0040), 1u);
    EXPECT_EQ(IsBreakAddress(0x0040), 0);
    g_mapBreakAddress[0x0050] = 1;
    EXPECT_EQ(IsBreakAddress(0x0050), 1);
}

TEST_F(LookupTest, SwitchHelpersEndWhereTheNextRoutineFunctionOrLineBegins) {
    auto enter = [](const char* name, uint32_t address, int selector) {
        SymbolInfo symbol(name);
        symbol.m_dwAddress = address;
        g_pSymbolTable->EnterSymbolCopy(symbol, selector);
    };
    enter("?C?CCASE", 0x0800, kSelectCode);
    enter("?C?IMUL", 0x0826, kSelectCode);
    enter("?C?ICASE", 0x0900, kSelectCode);
    AddFunction("MAIN", 0x0930, 0x40);
    enter("?C?LCASE", 0x0A00, kSelectCode);
    enter("buf", 0x0A10, kSelectData); // data addresses bound no code
    g_pSymbolTable->SetLineAddress("MAIN.C:5", 0x0A31);
    EXPECT_EQ(SwitchHelperEnd(0x0800), 0x0826u);
    EXPECT_EQ(SwitchHelperEnd(0x0900), 0x0930u);
    EXPECT_EQ(SwitchHelperEnd(0x0A00), 0x0A31u);
    // Another routine, an address inside a helper, and no project.
    EXPECT_EQ(SwitchHelperEnd(0x0826), 0u);
    EXPECT_EQ(SwitchHelperEnd(0x0801), 0u);
    g_pSymbolTable.reset();
    EXPECT_EQ(SwitchHelperEnd(0x0800), 0u);
}

TEST(LookupWithoutProject, EveryLookupAnswersNothing) {
    ASSERT_EQ(g_pSymbolTable, nullptr);
    ASSERT_EQ(g_pSymbolDatabase, nullptr);
    EXPECT_EQ(LookupSymbol("main", 1), nullptr);
    EXPECT_EQ(GetLineOfAddress(0), "");
    EXPECT_EQ(GetAddressOfLine("MAIN.C:1"), 0xFFFFFFFFu);
    EXPECT_EQ(FindFunctionOfAddress(0), nullptr);
    EXPECT_EQ(FindSymbolByName("MAIN", 1), nullptr);
}
