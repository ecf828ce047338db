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

// A program counter that never moves.
struct FixedPc : PcDisplay {
    void CreatePcModel() override {}
    void SetCurrentPc(uint16_t) override {}
    void ShowPcInAssembly(uint16_t, int) override {}
    bool GetCurrentPc(uint16_t& pc) const override {
        pc = 0;
        return true;
    }
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
    std::set<std::string> InfoNames() const {
        std::set<std::string> names;
        for (const auto& info : g_VariableInfoList)
            names.insert(info->m_strName);
        return names;
    }

    FixedPc m_pc;
};

SymbolInfo Symbol(const char* name, const char* memoryClass, const char* kind, uint32_t address) {
    SymbolInfo symbol(name);
    symbol.m_strClass = memoryClass;
    symbol.m_strKind = kind;
    symbol.m_dwAddress = address;
    return symbol;
}

} // namespace

TEST_F(SymbolRowsTest, AddressTextsFollowTheMemoryClass) {
    EXPECT_EQ(SymbolAddressText(Symbol("a", "DATA", "SYMBOL", 0x21)), "D:0x000021");
    EXPECT_EQ(SymbolAddressText(Symbol("P0", "---", "SFRSYM", 0x80)), "D:0x000080");
    EXPECT_EQ(SymbolAddressText(Symbol("main", "CODE", "PUBLIC", 0x800)), "C:0x000800");
    EXPECT_EQ(SymbolAddressText(Symbol("buf", "XDATA", "PUBLIC", 0x1F00)), "X:0x001F00");
    EXPECT_EQ(SymbolAddressText(Symbol("K", "NUMBER", "PUBLIC", 0x1234567)), "N:0x1234567");
    // A class without a letter keeps its address alone.
    EXPECT_EQ(SymbolAddressText(Symbol("flag", "BIT", "SYMBOL", 0x21)), "0x000021");
    EXPECT_EQ(SymbolAddressText(Symbol("x", "---", "PUBLIC", 0x5)), "0x000005");
}

TEST_F(SymbolRowsTest, AnUnknownClassNeitherStopsTheRowsNorTheRecords) {
    std::vector<std::unique_ptr<SymbolInfo>> modules;
    modules.push_back(std::make_unique<SymbolInfo>("MAIN"));
    for (const SymbolInfo& symbol :
         {Symbol("a", "DATA", "PUBLIC", 0x21), Symbol("b", "BIT", "SYMBOL", 0x08),
          Symbol("c", "DATA", "SYMBOL", 0x22)})
        AddChildSymbol(*modules.back(), symbol);
    modules.push_back(std::make_unique<SymbolInfo>("c")); // a module named like a variable
    for (const char* name : {"a", "c"}) {
        SymbolInfo data = Symbol(name, "DATA", "PUBLIC", name[0] == 'a' ? 0x21 : 0x22);
        data.m_strType = "U_CHAR";
        data.m_nSpace = kMemSpaceData;
        EnterDataSymbol(data);
    }

    const std::vector<SymbolModuleRows> rows = BuildSymbolRows(modules);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "MAIN");
    ASSERT_EQ(rows[0].symbols.size(), 3u);
    EXPECT_EQ(rows[0].symbols[1].name, "b");
    EXPECT_EQ(rows[0].symbols[1].kind, "SYMBOL");
    EXPECT_EQ(rows[0].symbols[1].address, "0x000008");
    EXPECT_TRUE(rows[1].symbols.empty());
    // a, c, and c once more for the module of that name.
    ASSERT_EQ(g_VariableInfoList.size(), 3u);
    EXPECT_EQ(g_nVariableInfoCount, 3);
    EXPECT_EQ(g_VariableInfoList[1]->m_strName, "c");
    EXPECT_EQ(g_VariableInfoList[1]->m_strAddress, "0x22");
    EXPECT_EQ(g_VariableInfoList[2]->m_strName, "c");
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
    std::set<std::string> variables;
    for (size_t m = 0; m < rows.size(); ++m) {
        const SymbolInfo& module = *map.m_listModules[m];
        EXPECT_EQ(rows[m].name, module.m_strName);
        ASSERT_EQ(rows[m].symbols.size(), module.m_children.size());
        for (size_t s = 0; s < rows[m].symbols.size(); ++s) {
            const SymbolInfo& symbol = *module.m_children[s];
            EXPECT_EQ(rows[m].symbols[s].kind, symbol.m_strKind);
            EXPECT_EQ(rows[m].symbols[s].address.substr(0, 2), symbol.m_strClass.substr(0, 1) + ":")
                << symbol.m_strName;
            if (ResolveVariable(symbol.m_strName, uint16_t(0))) variables.insert(symbol.m_strName);
        }
    }
    // A record for every symbol that is a variable, the typed globals among them.
    EXPECT_EQ(InfoNames(), variables);
    EXPECT_TRUE(variables.count("pattern"));
    for (const auto& info : g_VariableInfoList) {
        if (info->m_strName == "pattern") {
            EXPECT_EQ(info->m_strType, "U_CHAR");
        }
    }
}
