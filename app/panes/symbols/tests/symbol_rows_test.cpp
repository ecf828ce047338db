// The Symbol pane's rows and the formatted variable records built with them.
// (The GUI tests check the rows of real maps.)
#include "symbol_rows.h"
#include "variable_symbols.h"

#include "debugger_views.h"
#include "typed_values.h"

#include <gtest/gtest.h>

namespace {

// A program counter that stays at 0.
struct FixedPc : PcDisplay {
    void CreatePcModel() override {}
    void SetCurrentPc(uint16_t) override {}
    void ShowPcInAssembly(uint16_t, int) override {}
    bool GetCurrentPc(uint16_t& pc) const override { return (pc = 0), true; }
};

class SymbolRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartSymbolTables();
        ClearVariableInfo();
        SetPcDisplay(&m_pc);
    }
    void TearDown() override {
        SetPcDisplay(nullptr);
        ClearVariableInfo();
        DropSymbolTables();
    }
    FixedPc m_pc;
};

SymbolInfo Symbol(const char* name, const char* memoryClass, const char* kind, uint32_t address) {
    SymbolInfo symbol(name);
    symbol.m_strClass = memoryClass;
    symbol.m_strKind = kind;
    symbol.m_dwAddress = address;
    symbol.m_strType = "U_CHAR";
    symbol.m_nSpace = kMemSpaceData;
    return symbol;
}

} // namespace

TEST_F(SymbolRowsTest, AnUnknownClassShowsItsAddressAloneAndStopsNothing) {
    EXPECT_EQ(SymbolAddressText(Symbol("P0", "---", "SFRSYM", 0x80)), "D:0x000080");
    EXPECT_EQ(SymbolAddressText(Symbol("main", "CODE", "PUBLIC", 0x800)), "C:0x000800");
    EXPECT_EQ(SymbolAddressText(Symbol("buf", "XDATA", "PUBLIC", 0x1F00)), "X:0x001F00");
    EXPECT_EQ(SymbolAddressText(Symbol("K", "NUMBER", "PUBLIC", 0x1234567)), "N:0x1234567");
    EXPECT_EQ(SymbolAddressText(Symbol("x", "---", "PUBLIC", 0x5)), "0x000005");

    std::vector<std::unique_ptr<SymbolInfo>> modules;
    modules.push_back(std::make_unique<SymbolInfo>("MAIN"));
    for (const SymbolInfo& symbol :
         {Symbol("a", "DATA", "PUBLIC", 0x21), Symbol("b", "BIT", "SYMBOL", 0x08),
          Symbol("c", "DATA", "SYMBOL", 0x22)})
        AddChildSymbol(*modules.back(), symbol);
    modules.push_back(std::make_unique<SymbolInfo>("c")); // a module named like a variable
    EnterDataSymbol(Symbol("a", "DATA", "PUBLIC", 0x21));
    EnterDataSymbol(Symbol("c", "DATA", "SYMBOL", 0x22));

    const std::vector<SymbolModuleRows> rows = BuildSymbolRows(modules);
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_EQ(rows[0].symbols.size(), 3u);
    const SymbolRow& bit = rows[0].symbols[1];
    EXPECT_EQ(bit.name + " " + bit.kind + " " + bit.address, "b SYMBOL 0x000008");
    // Records for a and c, and c once more for the module of that name.
    std::string records;
    for (const auto& info : g_VariableInfoList)
        records += info->m_strName + "@" + info->m_strAddress + " ";
    EXPECT_EQ(records, "a@0x21 c@0x22 c@0x22 ");
    EXPECT_EQ(g_nVariableInfoCount, 3);
}
