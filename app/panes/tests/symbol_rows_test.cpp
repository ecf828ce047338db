// The Symbol pane's rows and the formatted variable records built with them,
// on made-up modules and on the example project's linker map.
#include "symbol_rows.h"
#include "variable_rows.h"
#include "variable_symbols.h"

#include "debugger_views.h"
#include "listing_reader.h"
#include "m51_reader.h"
#include "map_loader.h"
#include "text_loader.h"
#include "typed_values.h"

#include <gtest/gtest.h>

#include <set>

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

TEST_F(SymbolRowsTest, TheExampleMapGivesEveryModuleAndItsVariables) {
    const std::string folder = std::string(VEXA_SOURCE_DIR) + "/example";
    MapLoader map(folder + "/lst/blinky.m51", "/");
    ASSERT_EQ(ParseM51File(map, *g_pSymbolTable, *g_pSymbolDatabase, folder), 1);
    for (const char* name : {"lst/main.lst", "lst/delay.lst"}) {
        LSTLoader listing;
        ASSERT_EQ(LoadSourceFile(listing, folder + "/" + name, "/"), 1);
        SplitTextLines(listing);
        ASSERT_EQ(ParseListingFile(listing, *g_pSymbolTable, g_pSymbolDatabase.get()), 1);
    }
    ASSERT_FALSE(map.m_listModules.empty());

    const std::vector<SymbolModuleRows> rows = BuildSymbolRows(map.m_listModules);
    ASSERT_EQ(rows.size(), map.m_listModules.size());
    std::set<std::string> variables, records;
    for (size_t m = 0; m < rows.size(); ++m) {
        const SymbolInfo& module = *map.m_listModules[m];
        EXPECT_EQ(rows[m].name, module.m_strName);
        ASSERT_EQ(rows[m].symbols.size(), module.m_children.size());
        for (size_t s = 0; s < rows[m].symbols.size(); ++s) {
            const SymbolInfo& symbol = *module.m_children[s];
            EXPECT_EQ(rows[m].symbols[s].kind, symbol.m_strKind);
            EXPECT_EQ(rows[m].symbols[s].address.substr(0, 2),
                      symbol.m_strClass.substr(0, 1) + ":");
            if (ResolveVariable(symbol.m_strName, uint16_t(0))) variables.insert(symbol.m_strName);
        }
    }
    // A record for every symbol that is a variable, typed by the listings.
    for (const auto& info : g_VariableInfoList) {
        records.insert(info->m_strName);
        EXPECT_TRUE(info->m_strName != "pattern" || info->m_strType == "U_CHAR");
    }
    EXPECT_EQ(records, variables);
    EXPECT_TRUE(variables.count("pattern"));
}
