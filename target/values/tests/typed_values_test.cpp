// Typed values read from the host copies, the formatted-variable list and the
// rows rewritten from it.
#include "fake_source_views.h"
#include "host_memory.h"
#include "pc_model.h"
#include "typed_values.h"
#include "variable_symbols.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct RowTexts : VariableRows {
    std::string GetItemText(int row, int column) const override {
        auto it = cells.find({row, column});
        return it == cells.end() ? std::string() : it->second;
    }
    void SetItemText(int row, int column, const std::string& text) override {
        cells[{row, column}] = text;
    }
    std::map<std::pair<int, int>, std::string> cells;
};

void Put(std::array<uint8_t, 0x100>& image, uint32_t address,
         std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes)
        image[address++] = b;
}
void Put(std::array<uint8_t, 0x10000>& image, uint32_t address,
         std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes)
        image[address++] = b;
}

class TypedValueTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_InternalDataImage.fill(0);
        g_ExternalDataImage.fill(0);
        g_CodeFlashImage.fill(0);
        ClearVariableInfo();
        StartSymbolTables();
        SetPcDisplay(&m_display);
    }
    void TearDown() override {
        SetPcDisplay(nullptr);
        ClearVariableInfo();
        DropSymbolTables();
    }
    void StopAt(uint16_t pc) {
        m_display.CreatePcModel();
        m_display.SetCurrentPc(pc);
    }

    FakeSourceViews m_views;
    PcModelDisplay m_display{m_views, [](uint16_t, int) {}};
};

TEST_F(TypedValueTest, ByteOrderBySpaceAndWidth) {
    Put(g_InternalDataImage, 0x30, {0x12, 0x34, 0x56, 0x78});
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 1, 0x30), 0x12u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 2, 0x30), 0x1234u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 4, 0x30), 0x12345678u);
    // Space 8 shares the image; only a two-byte value is low byte first there.
    Put(g_InternalDataImage, 0x82, {0x12, 0x34, 0x56, 0x78});
    EXPECT_EQ(ReadTypedValue(kMemSpaceSfr, 2, 0x82), 0x3412u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceSfr, 4, 0x82), 0x12345678u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 2, 0x82), 0x1234u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceSfr, 2, 0x30), 0x3412u);

    Put(g_ExternalDataImage, 0x1F00, {0xAB, 0xCD, 0xEF, 0x01});
    EXPECT_EQ(ReadTypedValue(kMemSpaceXdata, 4, 0x1F00), 0xABCDEF01u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceXdata, 2, 0x1F01), 0xCDEFu);
    Put(g_CodeFlashImage, 0x0100, {0x02, 0x00});
    EXPECT_EQ(ReadTypedValue(kMemSpaceCode, 2, 0x0100), 0x0200u);
    // Values are never sign-extended.
    Put(g_InternalDataImage, 0x40, {0xFF, 0xFE});
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 1, 0x40), 0xFFu);
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 2, 0x40), 0xFFFEu);
    // Spaces without a host copy read 0.
    for (uint32_t space : {0u, 3u, 5u, 16u})
        EXPECT_EQ(ReadTypedValue(space, 4, 0x30), 0u) << space;
}

TEST_F(TypedValueTest, BytesPastAnImageEndReadAsZero) {
    g_InternalDataImage[0xFF] = 0xAA;
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 2, 0xFF), 0xAA00u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceSfr, 2, 0xFF), 0x00AAu);
    EXPECT_EQ(ReadTypedValue(kMemSpaceData, 4, 0xFE), 0x00AA0000u);
    Put(g_ExternalDataImage, 0xFFFE, {0x11, 0x22});
    EXPECT_EQ(ReadTypedValue(kMemSpaceXdata, 4, 0xFFFE), 0x11220000u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceXdata, 1, 0x10000), 0u);
    // The flash window lies far above the external-data copy.
    EXPECT_EQ(ReadTypedValue(kMemSpaceXdata, 4, 0xFF0000), 0u);
    EXPECT_EQ(ReadTypedValue(kMemSpaceCode, 4, 0xFFFFFFFF), 0u);
}

TEST_F(TypedValueTest, PatchedValuesReadBackAndTouchNothingElse) {
    struct Case {
        uint32_t space;
        int size;
        uint32_t address;
        uint32_t value;
    };
    for (const Case& c :
         {Case{kMemSpaceData, 1, 0x21, 0xA5}, Case{kMemSpaceData, 2, 0x22, 0xBEEF},
          Case{kMemSpaceData, 4, 0x30, 0x11170}, Case{kMemSpaceSfr, 2, 0x82, 0x1234},
          Case{kMemSpaceSfr, 4, 0x90, 0xCAFEF00D}, Case{kMemSpaceXdata, 4, 0x0100, 0x89ABCDEF}}) {
        g_InternalDataImage.fill(0x5A);
        g_ExternalDataImage.fill(0x5A);
        PatchTypedValue(c.space, c.size, c.address, c.value);
        const uint32_t mask = c.size == 4 ? 0xFFFFFFFF : (1u << (8 * c.size)) - 1;
        EXPECT_EQ(ReadTypedValue(c.space, c.size, c.address), c.value & mask) << c.address;
        const uint8_t* image =
            c.space == kMemSpaceXdata ? g_ExternalDataImage.data() : g_InternalDataImage.data();
        EXPECT_EQ(image[c.address - 1], 0x5A);
        EXPECT_EQ(image[c.address + uint32_t(c.size)], 0x5A);
    }
    // Big-endian in memory, the SFR pair low byte first.
    PatchTypedValue(kMemSpaceData, 2, 0x40, 0x1234);
    EXPECT_EQ(g_InternalDataImage[0x40], 0x12);
    PatchTypedValue(kMemSpaceSfr, 2, 0x82, 0x1234);
    EXPECT_EQ(g_InternalDataImage[0x82], 0x34);
    // Nothing is stored past an image end, in code memory or in an unknown space.
    g_ExternalDataImage.fill(0);
    PatchTypedValue(kMemSpaceXdata, 4, 0xFFFE, 0x11223344);
    EXPECT_EQ(g_ExternalDataImage[0xFFFE], 0x11);
    EXPECT_EQ(g_ExternalDataImage[0xFFFF], 0x22);
    PatchTypedValue(kMemSpaceCode, 1, 0x10, 0x77);
    EXPECT_EQ(g_CodeFlashImage[0x10], 0);
    PatchTypedValue(3, 1, 0x10, 0x77);
    EXPECT_EQ(g_InternalDataImage[0x10], 0x5A);
}

TEST_F(TypedValueTest, FormattingNeedsAProgramCounterModelAndASymbol) {
    EnterDataSymbol(MakeVariable("count", 0x21, "U_CHAR", 1, kMemSpaceData));
    FormatSymbolValue("count"); // no model yet
    FormatSymbolValue(nullptr);
    EXPECT_EQ(g_nVariableInfoCount, 0);
    StopAt(0x0100);
    FormatSymbolValue(nullptr);
    FormatSymbolValue("missing");
    EXPECT_EQ(g_nVariableInfoCount, 0);
    g_pSymbolDatabase.reset();
    FormatSymbolValue("count");
    EXPECT_EQ(g_nVariableInfoCount, 0);
    AllocateProjectTables();
    FormatSymbolValue("count");
    EXPECT_EQ(g_nVariableInfoCount, 1);
    m_display.ResetPcModel();
    FormatSymbolValue("count");
    EXPECT_EQ(g_nVariableInfoCount, 1);
}

TEST_F(TypedValueTest, FormattedRecordsOfGlobalsAndLocals) {
    EnterDataSymbol(MakeVariable("flag", 0x08, "CHAR", 1, kMemSpaceData, "SYMBOL"));
    EnterDataSymbol(MakeVariable("total", 0x30, "LONG", 4, kMemSpaceData));
    EnterDataSymbol(MakeVariable("DPTR", 0x82, "U_INT", 2, kMemSpaceSfr, "SFRSYM"));
    EnterDataSymbol(MakeVariable("buffer", 0x0123, "ARRAY", 8, kMemSpaceXdata));
    EnterDataSymbol(MakeVariable("i", 0x40, "INT", 2, kMemSpaceData));
    CSymbolStruct& function = AddFunction("scan", 0x0200, 0x40);
    AddLocal(function, MakeVariable("i", 0x10, "U_CHAR", 1, kMemSpaceData, "SYMBOL"), 0x0204,
             0x0230);
    Put(g_InternalDataImage, 0x08, {0xFF});
    Put(g_InternalDataImage, 0x30, {0x80, 0x00, 0x00, 0x01});
    Put(g_InternalDataImage, 0x82, {0x34, 0x12});
    Put(g_ExternalDataImage, 0x0123, {0x00, 0x00, 0x01, 0x02});
    Put(g_InternalDataImage, 0x40, {0x01, 0x00});
    Put(g_InternalDataImage, 0x10, {0x07});

    StopAt(0x0210); // inside the local's scope
    for (const char* name : {"flag", "total", "DPTR", "buffer", "i"})
        FormatSymbolValue(name);
    StopAt(0x0238); // in the function, outside the local's scope
    FormatSymbolValue("i");
    ASSERT_EQ(g_nVariableInfoCount, 6);
    ASSERT_EQ(g_VariableInfoList.size(), 6u);

    auto expect = [](const CInfo& info, const char* name, const char* value, const char* type,
                     const char* address, const char* kind) {
        EXPECT_EQ(info.m_strName, name);
        EXPECT_EQ(info.m_strValue, value) << name;
        EXPECT_EQ(info.m_strType, type) << name;
        EXPECT_EQ(info.m_strAddress, address) << name;
        EXPECT_EQ(info.m_strKind, kind) << name;
    };
    expect(*g_VariableInfoList[0], "flag", "255", "CHAR", "0x08", "SYMBOL");
    expect(*g_VariableInfoList[1], "total", "-2147483647", "LONG", "0x30", "PUBLIC");
    expect(*g_VariableInfoList[2], "DPTR", "4660", "U_INT", "0x82", "SFRSYM");
    expect(*g_VariableInfoList[3], "buffer", "258", "ARRAY", "0x123", "PUBLIC");
    expect(*g_VariableInfoList[4], "i", "7", "U_CHAR", "0x10", "SYMBOL");
    expect(*g_VariableInfoList[5], "i", "256", "INT", "0x40", "PUBLIC");
}

TEST_F(TypedValueTest, ValuesAreReadAgainFromTheHostCopies) {
    EnterDataSymbol(MakeVariable("small", 0x21, "U_CHAR", 1, kMemSpaceData));
    EnterDataSymbol(MakeVariable("big", 0x30, "U_LONG", 4, kMemSpaceData));
    EnterDataSymbol(MakeVariable("word", 0x0100, "INT", 2, kMemSpaceXdata));
    StopAt(0);
    for (const char* name : {"small", "big", "word"})
        FormatSymbolValue(name);
    ASSERT_EQ(g_nVariableInfoCount, 3);

    Put(g_InternalDataImage, 0x21, {0xC8});
    Put(g_InternalDataImage, 0x30, {0xFF, 0xFF, 0xFF, 0xFE});
    Put(g_ExternalDataImage, 0x0100, {0xFF, 0xFF});
    CInfo* small = FindVariableValue("small");
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->m_strValue, "200");
    EXPECT_EQ(FindVariableValue("big")->m_strValue, "4294967294"); // unsigned in four bytes
    EXPECT_EQ(FindVariableValue("word")->m_strValue, "65535");
    EXPECT_EQ(g_nVariableInfoCount, 3); // reads add no record

    EXPECT_EQ(FindVariableValue(""), nullptr);
    EXPECT_EQ(FindVariableValue("smal"), nullptr);

    // A name that is no longer a data symbol keeps its old text.
    StartSymbolTables();
    Put(g_InternalDataImage, 0x21, {0x01});
    EXPECT_EQ(FindVariableValue("small"), nullptr);
    EXPECT_EQ(g_VariableInfoList[0]->m_strValue, "200");

    ClearVariableInfo();
    EXPECT_EQ(g_nVariableInfoCount, 0);
    EXPECT_TRUE(g_VariableInfoList.empty());
}

TEST_F(TypedValueTest, RowsShowTheFormattedRecords) {
    EnterDataSymbol(MakeVariable("speed", 0x50, "INT", 2, kMemSpaceData));
    EnterDataSymbol(MakeVariable("unlisted", 0x52, "INT", 2, kMemSpaceData));
    StopAt(0);
    FormatSymbolValue("speed");
    Put(g_InternalDataImage, 0x50, {0x01, 0x2C});

    RowTexts rows;
    rows.SetItemText(3, 0, "speed");
    RefreshVariableRow(rows, 3, "speed");
    EXPECT_EQ(rows.GetItemText(3, 1), "300");
    EXPECT_EQ(rows.GetItemText(3, 2), "INT");
    EXPECT_EQ(rows.GetItemText(3, 3), "0x50");
    // Names without a record, and the empty name, leave the row alone.
    rows.SetItemText(4, 1, "typed");
    RefreshVariableRow(rows, 4, "unlisted");
    RefreshVariableRow(rows, 4, "");
    EXPECT_EQ(rows.GetItemText(4, 1), "typed");
    EXPECT_EQ(rows.cells.size(), 5u);
}

} // namespace
