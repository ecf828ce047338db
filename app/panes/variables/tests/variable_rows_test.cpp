// The texts of the variable panes' rows without a window: values of every
// width and radix, arrays and SFR pairs, which symbol a name means at the
// program counter, what the Global and Local Variable panes list, and the
// value tip with the identifier under the mouse.
#include "global_variables.h"
#include "host_memory.h"
#include "local_variables.h"
#include "value_tip.h"
#include "variable_rows.h"
#include "variable_symbols.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class VariableRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_InternalDataImage.fill(0);
        g_ExternalDataImage.fill(0);
        StartSymbolTables();
        ClearVariableInfo();
    }
    void TearDown() override {
        ClearVariableInfo();
        DropSymbolTables();
    }
    // A data symbol with the formatted record the symbol pane makes for it.
    void Global(const SymbolInfo& symbol) {
        EnterDataSymbol(symbol);
        AddVariableInfo(symbol.m_strName, "0", symbol.m_strType, "0x0", symbol.m_strKind);
    }
    std::string Value(const char* name, int radix) {
        return VariableValueText(*LookupSymbol(name, kSelectData), radix).value_or("<none>");
    }
};

} // namespace

TEST_F(VariableRowsTest, RowsShowEveryWidthInEveryRadix) {
    Global(MakeVariable("flag", 0x21, "U_CHAR", 1, kMemSpaceData));
    Global(MakeVariable("count", 0x30, "INT", 2, kMemSpaceData));
    Global(MakeVariable("dptr", 0x82, "U_INT", 2, kMemSpaceSfr, "SFRSYM"));
    Global(MakeVariable("total", 0x40, "LONG", 4, kMemSpaceData));
    Global(MakeVariable("buffer", 0x100, "ARRAY", 3, kMemSpaceXdata));
    Global(MakeVariable("opaque", 0x50, "NONE", 2, kMemSpaceData));
    Global(MakeVariable("huge", 0xFFFE, "ARRAY", 0x10000, kMemSpaceXdata));
    const uint8_t internal[][2] = {{0x21, 5},    {0x30, 0x12}, {0x31, 0x34},
                                   {0x82, 0x34}, {0x83, 0x12}, {0x40, 0xFF},
                                   {0x41, 0xFF}, {0x42, 0xFF}, {0x43, 0xFF}};
    for (const auto& [address, value] : internal)
        g_InternalDataImage[address] = value;
    g_ExternalDataImage[0x100] = 0x01;
    g_ExternalDataImage[0x101] = 0xA0;
    g_ExternalDataImage[0x102] = 0xFF;

    EXPECT_EQ(Value("flag", 2), "0000000000000101");
    EXPECT_EQ(Value("flag", 8), "000000005");
    EXPECT_EQ(Value("flag", 16), "0x05");
    EXPECT_EQ(Value("count", 10), "4660");
    EXPECT_EQ(Value("dptr", 16), "0x1234"); // an SFR pair: low byte first
    EXPECT_EQ(Value("total", 10), "-1");
    EXPECT_EQ(Value("total", 16), "0xFFFFFFFF");
    EXPECT_EQ(Value("buffer", 10), "1,160,255");
    EXPECT_EQ(Value("opaque", 10), "<none>");
    // An array past the image's end reads zeros, and at most its cap of bytes.
    const std::string huge = Value("huge", 16);
    EXPECT_EQ(huge.substr(0, 10), "0x00,0x00,");
    EXPECT_EQ(std::count(huge.begin(), huge.end(), ','), long(kMaxArrayRowBytes - 1));

    const std::optional<VariableRowTexts> row =
        FormatVariableRow(*LookupSymbol("buffer", kSelectData), 16);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->name + "|" + row->value + "|" + row->type + "|" + row->address,
              "buffer|0x01,0xA0,0xFF|ARRAY|X:0x000100");
    EXPECT_FALSE(FormatVariableRow(*LookupSymbol("opaque", kSelectData), 10));
}

TEST_F(VariableRowsTest, ALocalAtThePcHidesTheGlobalOfItsNameButNotItsGlobalRow) {
    Global(MakeVariable("i", 0x30, "U_CHAR", 1, kMemSpaceData));
    CSymbolStruct& function = AddFunction("WORK", 0x800, 0x40);
    AddLocal(function, MakeVariable("i", 0x08, "U_CHAR", 1, kMemSpaceData), 0x810, 0x820);
    g_InternalDataImage[0x30] = 7;
    g_InternalDataImage[0x08] = 3;

    EXPECT_EQ(ResolveVariable("i", uint16_t(0x815))->m_dwAddress, 0x08u);
    // Outside the local's scope or its function, or without a PC: the global.
    for (std::optional<uint16_t> pc : {std::optional<uint16_t>(0x830),
                                       std::optional<uint16_t>(0x900), std::optional<uint16_t>()})
        EXPECT_EQ(ResolveVariable("i", pc)->m_dwAddress, 0x30u);
    EXPECT_EQ(ResolveVariable("j", uint16_t(0x815)), nullptr);
    EXPECT_EQ(ValueTipText("i", uint16_t(0x815)), "i : 3");
    EXPECT_EQ(ValueTipText("i", uint16_t(0x900)), "i : 7");
    EXPECT_FALSE(ValueTipText("j", uint16_t(0x815)));
    // The Global Variable pane's row stays the global's, also inside WORK.
    EXPECT_EQ(GlobalVariableRow("i", 10)->value, "7");
}

TEST_F(VariableRowsTest, GlobalPaneListsPlainGlobalsOnceInItsRadix) {
    Global(MakeVariable("flag", 0x21, "U_CHAR", 1, kMemSpaceData));
    Global(MakeVariable("P1", 0x90, "U_CHAR", 1, kMemSpaceSfr, "SFRSYM"));
    Global(MakeVariable("?C?ACC", 0x22, "U_CHAR", 1, kMemSpaceData));
    Global(MakeVariable("table", 0x100, "ARRAY", 4, kMemSpaceXdata));
    Global(MakeVariable("untyped", 0x23, "", 1, kMemSpaceData));
    Global(MakeVariable("total", 0x40, "U_LONG", 4, kMemSpaceData));
    AddVariableInfo("flag", "0", "U_CHAR", "0x21", "PUBLIC"); // a second record of flag
    AddVariableInfo("gone", "0", "U_CHAR", "0x24", "PUBLIC"); // no data symbol
    g_InternalDataImage[0x21] = 0xFF;

    std::vector<VariableRowTexts> rows = GlobalVariableRows(g_VariableInfoList, 16);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name + " " + rows[0].value + " " + rows[0].address, "flag 0xFF D:0x000021");
    EXPECT_EQ(rows[1].name + " " + rows[1].value, "total 0x00000000");
    EXPECT_EQ(GlobalVariableRows(g_VariableInfoList, 2)[0].value, "0000000011111111");
}

TEST_F(VariableRowsTest, LocalPaneListsLocalsThenTheModuleStaticsUpToItsRows) {
    CSymbolStruct& function = AddFunction("WORK", 0x800, 0x40);
    AddLocal(function, MakeVariable("a", 0x08, "U_CHAR", 1, kMemSpaceData), 0x800, 0x83F);
    AddLocal(function, MakeVariable("b", 0x09, "NONE", 1, kMemSpaceData), 0x800, 0x83F);
    g_pSymbolTable->SetLineAddress("WORK.C:12", 0x810);
    std::vector<std::unique_ptr<SymbolInfo>> modules;
    modules.push_back(std::make_unique<SymbolInfo>("OTHER"));
    AddChildSymbol(*modules.back(),
                   MakeVariable("elsewhere", 0x50, "", 1, kMemSpaceData, "SYMBOL"));
    modules.push_back(std::make_unique<SymbolInfo>("WORK"));
    SymbolInfo counter = MakeVariable("counter", 0x30, "", 2, kMemSpaceData, "SYMBOL");
    AddChildSymbol(*modules.back(), counter);
    for (const SymbolInfo& child : {MakeVariable("work", 0x800, "", 0, kMemSpaceCode, "SYMBOL"),
                                    MakeVariable("pub", 0x31, "", 1, kMemSpaceData, "PUBLIC"),
                                    MakeVariable("xbuf", 0x10, "", 8, kMemSpaceXdata, "SYMBOL")})
        AddChildSymbol(*modules.back(), child);
    counter.m_strType = "U_INT"; // the listing typed the table's record, not the module's copy
    EnterDataSymbol(counter);

    LocalVariableList list = LocalVariablesAt(0x810, &modules, 50);
    EXPECT_EQ(list.function, &function);
    std::string names;
    for (const SymbolInfo* symbol : list.symbols)
        names += symbol->m_strName + ":" + symbol->m_strType + " ";
    EXPECT_EQ(names, "a:U_CHAR b:NONE counter:U_INT xbuf: ");
    EXPECT_EQ(LocalVariablesAt(0x810, &modules, 3).symbols.size(), 3u); // the last row
    list = LocalVariablesAt(0x900, &modules, 50);                       // outside every function
    EXPECT_EQ(list.function, nullptr);
    EXPECT_TRUE(list.symbols.empty());
}

TEST_F(VariableRowsTest, TipFindsTheIdentifierUnderTheColumn) {
    // Start, middle and end of a line; a tab is one column; bytes of an 8-bit
    // code page are no identifier characters.
    const std::pair<int, const char*> columns[] = {
        {1, "int"}, {3, "int"},     {4, "-1"},  {6, "a_1"},   {8, "a_1"}, {9, "-1"}, {10, "b"},
        {12, "-1"}, {13, "count2"}, {19, "-1"}, {23, "last"}, {24, "-1"}, {0, "-1"}, {25, "-1"}};
    for (const auto& [column, identifier] : columns)
        EXPECT_EQ(IdentifierAt("int  a_1=b;\tcount2 last\nx", column), identifier) << column;
    EXPECT_EQ(IdentifierAt("a\xE9z", 2), "-1");
    EXPECT_EQ(IdentifierAt("a\xE9z", 3), "z");

    Global(MakeVariable("buf", 0x100, "ARRAY", 3, kMemSpaceXdata));
    g_ExternalDataImage[0x100] = 0x01;
    g_ExternalDataImage[0x101] = 0xA0;
    g_ExternalDataImage[0x102] = 0xFF;
    EXPECT_EQ(ValueTipText("buf", std::nullopt), "buf : 01,a0,ff");
    Global(MakeVariable("big", 0x200, "ARRAY", 1000, kMemSpaceXdata));
    const std::string tip = *ValueTipText("big", std::nullopt);
    EXPECT_EQ(tip.size(), std::string("big : ").size() + kMaxArrayTipBytes * 3 - 1 + 4);
    EXPECT_EQ(tip.substr(tip.size() - 4), ",...");
}
