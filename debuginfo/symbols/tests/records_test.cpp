#include <gtest/gtest.h>

#include "symbol_records.h"
#include "symbol_table.h"
#include "xdata_range.h"

namespace {

std::unique_ptr<SymbolInfo> Symbol(const std::string& name, uint32_t address) {
    auto symbol = std::make_unique<SymbolInfo>(name);
    symbol->m_dwAddress = address;
    return symbol;
}

} // namespace

TEST(NameRule, CutsOneTrailingCharacterThatIsNeitherAlphanumericNorUnderscore) {
    EXPECT_EQ(SymbolInfo("counter\r").m_strName, "counter");
    EXPECT_EQ(SymbolInfo("buf_").m_strName, "buf_");
    EXPECT_EQ(SymbolInfo("x1").m_strName, "x1");
    EXPECT_EQ(SymbolInfo("a+").m_strName, "a");
    EXPECT_EQ(SymbolInfo("a+-").m_strName, "a+");
    EXPECT_EQ(SymbolInfo("").m_strName, "");
    EXPECT_EQ(SymbolInfo("?").m_strName, "");
    const SymbolInfo unnamed;
    EXPECT_EQ(unnamed.m_strName, "");
    EXPECT_EQ(unnamed.m_strType, "");
    EXPECT_EQ(unnamed.m_nSpace, kMemSpaceNone);
}

TEST(SymbolRecords, TypeTextAndCopiesKeepTheirOwnTexts) {
    SymbolInfo record("cnt");
    SetTextBuffer(&record, "NONE");
    EXPECT_EQ(record.m_strType, "NONE");
    SetTextBuffer(&record, nullptr);
    EXPECT_EQ(record.m_strType, "NONE");
    SetTextBuffer(&record, "U_CHAR;");
    EXPECT_EQ(record.m_strType, "U_CHAR");
    SetTextBuffer(nullptr, "INT");

    auto source = std::make_unique<SymbolInfo>("P1");
    source->m_dwAddress = 0x90;
    source->m_nSize = 1;
    source->m_strType = "BYTE";
    source->m_strKind = "SFRSYM";
    source->m_strClass = "DATA";
    source->m_nSpace = kMemSpaceSfr;
    SymbolInfo module("MAIN");
    module.m_strType = "MODULE";
    SymbolInfo* child = AddChildSymbol(module, *source);
    source.reset();
    ASSERT_EQ(module.m_children.size(), 1u);
    EXPECT_EQ(child->m_strName, "P1");
    EXPECT_EQ(child->m_dwAddress, 0x90u);
    EXPECT_EQ(child->m_nSize, 1u);
    EXPECT_EQ(child->m_strType, "BYTE");
    EXPECT_EQ(child->m_strKind, "SFRSYM");
    EXPECT_EQ(child->m_strClass, "DATA");
    EXPECT_EQ(child->m_nSpace, kMemSpaceSfr);
    EXPECT_TRUE(child->m_children.empty());

    CopySymbolInfo(nullptr, child);
    CopySymbolInfo(child, nullptr);
    EXPECT_EQ(child->m_strName, "P1");
}

TEST(SymbolTable, FirstRecordOfANameOrAnAddressKeepsIt) {
    CSymbolTable table;
    SymbolInfo* first = nullptr;
    {
        auto record = Symbol("counter", 0x08);
        first = record.get();
        EXPECT_EQ(table.AddSymbolName("counter", std::move(record), kSelectData), 1);
    }
    EXPECT_EQ(table.AddSymbolName("counter", Symbol("counter", 0x09), kSelectData), 0);
    EXPECT_EQ(table.LookupSymbol("counter", kSelectData), first);
    // The same name once among the code symbols and once among the data symbols.
    EXPECT_EQ(table.AddSymbolName("counter", Symbol("counter", 0x100), kSelectCode), 1);
    EXPECT_NE(table.LookupSymbol("counter", kSelectCode), first);
    EXPECT_EQ(table.AddSymbolName("x", nullptr, kSelectData), 0);

    auto at08 = Symbol("a", 0x08);
    SymbolInfo* a = at08.get();
    EXPECT_EQ(table.AddSymbolByAddress(0x08, std::move(at08), kSelectData), 1);
    EXPECT_EQ(table.AddSymbolByAddress(0x08, Symbol("b", 0x08), kSelectData), 0);
    EXPECT_EQ(table.SymbolAtAddress(0x08, kSelectData), a);
    EXPECT_EQ(table.SymbolAtAddress(0x08, kSelectCode), nullptr);
    // Flag 1 forces the data map, any other non-zero flag the code map.
    EXPECT_EQ(table.AddSymbolByAddress(0x08, Symbol("c", 0x08), kSelectCode, 1), 0);
    EXPECT_EQ(table.AddSymbolByAddress(0x08, Symbol("d", 0x08), kSelectData, 7), 1);
    EXPECT_EQ(table.SymbolAtAddress(0x08, kSelectCode)->m_strName, "d");

    // A copy is kept when its name or its address is new, else dropped.
    const size_t before = table.RecordCount();
    SymbolInfo again("counter");
    again.m_dwAddress = 0x08;
    EXPECT_FALSE(table.EnterSymbolCopy(again, kSelectData));
    EXPECT_EQ(table.RecordCount(), before);
    again.m_dwAddress = 0x30;
    EXPECT_TRUE(table.EnterSymbolCopy(again, kSelectData));
    EXPECT_EQ(table.LookupSymbol("counter", kSelectData), first);
    EXPECT_EQ(table.SymbolAtAddress(0x30, kSelectData)->m_strName, "counter");
}

TEST(SymbolTable, SourcePositionsMapBothWaysAndLaterEntriesReplace) {
    CSymbolTable table;
    table.SetLineAddress("MAIN.C:12", 0x0010);
    EXPECT_EQ(table.GetAddressOfLine("MAIN.C:12"), 0x0010u);
    EXPECT_EQ(table.GetLineOfAddress(0x0010), "MAIN.C:12");
    table.SetLineAddress("MAIN.C:13", 0x0010);
    EXPECT_EQ(table.GetLineOfAddress(0x0010), "MAIN.C:13");
    EXPECT_EQ(table.GetAddressOfLine("MAIN.C:12"), 0x0010u);
    table.SetLineAddress("MAIN.C:12", 0x0020);
    EXPECT_EQ(table.GetAddressOfLine("MAIN.C:12"), 0x0020u);
    EXPECT_EQ(table.GetAddressOfLine("main.c:12"), kNoAddress);
    EXPECT_EQ(table.GetLineOfAddress(0x0011), "");
}

TEST(XdataRange, SegmentsWidenTheRangeAndLengthZeroLeavesTheHighEnd) {
    ResetXdataRange();
    EXPECT_EQ(g_dwXdataLow, 0x1000000u);
    EXPECT_EQ(g_dwXdataHigh, 0u);
    UpdateCodeRange(nullptr);
    EXPECT_EQ(g_dwXdataLow, 0x1000000u);

    CSymbolStruct empty;
    empty.m_dwStart = 0x0100;
    UpdateCodeRange(&empty);
    EXPECT_EQ(g_dwXdataLow, 0x0100u);
    EXPECT_EQ(g_dwXdataHigh, 0u);

    UpdateCodeRange(0x0200, 0x10);
    UpdateCodeRange(0x0080, 0x04);
    EXPECT_EQ(g_dwXdataLow, 0x0080u);
    EXPECT_EQ(g_dwXdataHigh, 0x020Fu);
    ResetXdataRange();
}
