// Value and address texts, and edited value texts turned back into numbers.
#include <gtest/gtest.h>

#include "symbol_records.h"
#include "value_texts.h"

TEST(ValueTexts, WidthsByTypeName) {
    for (const char* type : {"CHAR", "U_CHAR", "BYTE"}) {
        EXPECT_EQ(ReadWidthOfType(type), 1) << type;
        EXPECT_EQ(WriteWidthOfType(type), 1) << type;
    }
    for (const char* type : {"INT", "U_INT", "WORD", "PTR"}) {
        EXPECT_EQ(ReadWidthOfType(type), 2) << type;
        EXPECT_EQ(WriteWidthOfType(type), 2) << type;
    }
    for (const char* type : {"LONG", "U_LONG", "DWORD", "NONE", "ARRAY", "FLOAT", ""}) {
        EXPECT_EQ(ReadWidthOfType(type), 4) << type;
        EXPECT_EQ(WriteWidthOfType(type), 4) << type;
    }
    // Only a write knows the spelling without the underscore.
    EXPECT_EQ(ReadWidthOfType("UCHAR"), 4);
    EXPECT_EQ(WriteWidthOfType("UCHAR"), 1);
    // Names compare exactly.
    EXPECT_EQ(WriteWidthOfType("char"), 4);
}

TEST(ValueTexts, RadixTexts) {
    EXPECT_EQ(FormatRadix(5, 2, 1), "0000000000000101");
    EXPECT_EQ(FormatRadix(0, 2, 1), "0000000000000000");
    EXPECT_EQ(FormatRadix(0x12345, 2, 4), "10010001101000101"); // longer texts are not cut
    EXPECT_EQ(FormatRadix(8, 8, 1), "000000010");
    EXPECT_EQ(FormatRadix(0, 8, 1), "000000000");
    EXPECT_EQ(FormatRadix(0xFFFFFFFF, 8, 4), "037777777777");
    EXPECT_EQ(FormatRadix(255, 10, 1), "255");
    EXPECT_EQ(FormatRadix(0x7FFFFFFF, 10, 4), "2147483647");
    EXPECT_EQ(FormatRadix(0x80000000, 10, 4), "-2147483648");
    EXPECT_EQ(FormatRadix(0xFFFFFFFF, 10, 4), "-1");
    EXPECT_EQ(FormatRadix(0x1234, 16, 1), "0x34");
    EXPECT_EQ(FormatRadix(0x12345, 16, 2), "0x2345");
    EXPECT_EQ(FormatRadix(0xAB, 16, 4), "0x000000AB");
    EXPECT_EQ(FormatRadix(10, 16, 3), "");
    EXPECT_EQ(FormatRadix(10, 7, 1), "");
    EXPECT_EQ(FormatRadix(10, 0, 4), "");
}

TEST(ValueTexts, AddressTexts) {
    SymbolInfo symbol("counter");
    symbol.m_dwAddress = 0x21;
    symbol.m_strClass = "DATA";
    EXPECT_EQ(VariableAddressText(symbol), "D:0x000021");
    symbol.m_dwAddress = 0x1F00;
    symbol.m_strClass = "XDATA";
    EXPECT_EQ(VariableAddressText(symbol), "X:0x001F00");
    symbol.m_dwAddress = 0xABCDEF;
    symbol.m_strClass = "CODE";
    EXPECT_EQ(VariableAddressText(symbol), "C:0xABCDEF");

    EXPECT_EQ(InfoAddressText(5), "0x05");
    EXPECT_EQ(InfoAddressText(0), "0x00");
    EXPECT_EQ(InfoAddressText(0x0A), "0x0a");
    EXPECT_EQ(InfoAddressText(0x21), "0x21");
    EXPECT_EQ(InfoAddressText(0x123), "0x123");
    EXPECT_EQ(InfoAddressText(0x1F00), "0x1f00");
}

TEST(ValueTexts, HexTextsToNumbers) {
    EXPECT_EQ(HexStringToInt("0x1F"), 31u);
    EXPECT_EQ(HexStringToInt("0x1f"), 31u);
    EXPECT_EQ(HexStringToInt("0xDeadBeef"), 0xDEADBEEFu);
    // The first two characters are not looked at.
    EXPECT_EQ(HexStringToInt("##10"), 16u);
    EXPECT_EQ(HexStringToInt("0x"), 0u);
    EXPECT_EQ(HexStringToInt("0"), 0u);
    EXPECT_EQ(HexStringToInt(""), 0u);
    // A character that is no digit gives no number at all.
    EXPECT_EQ(HexStringToInt("0x1G"), std::nullopt);
    EXPECT_EQ(HexStringToInt("0x 1"), std::nullopt);
    EXPECT_EQ(HexStringToInt("0x-1"), std::nullopt);
    // Digits above the 32 bits fall off without overflow.
    EXPECT_EQ(HexStringToInt("0x123456789"), 0x23456789u);
    EXPECT_EQ(HexStringToInt("0xFFFFFFFFFFFF"), 0xFFFFFFFFu);

    EXPECT_EQ(HexDigitValue('7'), 7u);
    EXPECT_EQ(HexDigitValue('b'), 11u);
    EXPECT_EQ(HexDigitValue('F'), 15u);
    EXPECT_EQ(HexDigitValue('g'), kNotHexDigit);
}

TEST(ValueTexts, EditedTextsBecomeHexTexts) {
    EXPECT_EQ(ToHexText("300"), "0x012c");
    EXPECT_EQ(ToHexText("31"), "0x001f");
    EXPECT_EQ(ToHexText("70000"), "0x11170");
    EXPECT_EQ(ToHexText("0x12"), "0x12");
    EXPECT_EQ(ToHexText("0xZZ"), "0xZZ"); // kept; the conversion refuses it
    EXPECT_EQ(ToHexText(""), "");
    // Read as atoi reads: leading blanks and a sign, digits up to the first other character.
    EXPECT_EQ(ToHexText("  12abc"), "0x000c");
    EXPECT_EQ(ToHexText("abc"), "0x0000");
    EXPECT_EQ(ToHexText("0X12"), "0x0000");
    EXPECT_EQ(ToHexText("-1"), "0xffffffff");
    EXPECT_EQ(ToHexText("4294967297"), "0x0001"); // wraps in 32 bits
    // The round trip the variable write makes.
    EXPECT_EQ(HexStringToInt(ToHexText("0x1F")), 31u);
    EXPECT_EQ(HexStringToInt(ToHexText("31")), 31u);
    EXPECT_EQ(HexStringToInt(ToHexText("300")), 300u);
}

TEST(ValueTexts, GenericPointersShowWhereTheyPointAndReadBackStrictly) {
    EXPECT_TRUE(IsGenericPointer("PTR", 3));
    EXPECT_FALSE(IsGenericPointer("PTR", 2) || IsGenericPointer("PTR", 1) ||
                 IsGenericPointer("LONG", 3));
    const std::pair<uint32_t, const char*> shown[] = {{0xFF1336, "C:0x1336"},
                                                      {0x0100AB, "X:0x00AB"},
                                                      {0xFE0042, "P:0x0042"},
                                                      {0x0000F0, "I:0x00F0"},
                                                      {0xA51234, "0xA51234"}};
    for (const auto& [pointer, text] : shown) {
        EXPECT_EQ(GenericPointerText(pointer), text);
        EXPECT_EQ(GenericPointerOfText(text), pointer) << text;
    }
    EXPECT_EQ(GenericPointerOfText(" c:0X1 "), 0xFF0001u);
    EXPECT_EQ(GenericPointerOfText("0x01ffff"), 0x01FFFFu);
    for (const char* refused : {"", "4918", "0x1336", "0xFF13367", "C:1336", "C:0x", "C:0x12345",
                                "D:0x30", "C:0x13G6", "C 0x1336", "C:0x1336,"})
        EXPECT_EQ(GenericPointerOfText(refused), std::nullopt) << refused;
}
