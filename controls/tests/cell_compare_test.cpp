#include "cell_compare.h"

#include <gtest/gtest.h>

using namespace controls;

TEST(CellCompare, HexReadingFollowsStrtoulOnA32BitPlatform) {
    EXPECT_EQ(ParseHexCell("10"), 0x10u);
    EXPECT_EQ(ParseHexCell("0x1F"), 0x1Fu);
    EXPECT_EQ(ParseHexCell("  ff"), 0xFFu); // leading blanks are skipped
    EXPECT_EQ(ParseHexCell("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHexCell("-0x10"), 0xFFFFFFF0u);
    EXPECT_EQ(ParseHexCell("123456789ABC"), 0xFFFFFFFFu); // clamped to 32 bits
    EXPECT_EQ(ParseHexCell("-123456789ABC"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHexCell("FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_FALSE(ParseHexCell("1F ")); // trailing blank is left over
    EXPECT_FALSE(ParseHexCell("0x"));  // "0" read, "x" left over
    EXPECT_FALSE(ParseHexCell("0xG1"));
    EXPECT_FALSE(ParseHexCell("9.5"));
    EXPECT_FALSE(ParseHexCell(""));
    EXPECT_FALSE(ParseHexCell(" "));
    EXPECT_FALSE(ParseHexCell("-"));
}

TEST(CellCompare, DecimalReadingAllowsOneTrailingPercent) {
    EXPECT_EQ(ParseDecimalCell("9.5"), 9.5);
    EXPECT_EQ(ParseDecimalCell(" -2.25"), -2.25);
    EXPECT_EQ(ParseDecimalCell("50%"), 50.0);
    EXPECT_EQ(ParseDecimalCell(".5"), 0.5);
    EXPECT_EQ(ParseDecimalCell("5."), 5.0);
    EXPECT_EQ(ParseDecimalCell("1.5e3"), 1500.0);
    EXPECT_EQ(ParseDecimalCell("+2E-1"), 0.2);
    EXPECT_FALSE(ParseDecimalCell("50%%"));
    EXPECT_FALSE(ParseDecimalCell("5 %"));
    EXPECT_FALSE(ParseDecimalCell("1e"));
    EXPECT_FALSE(ParseDecimalCell("."));
    EXPECT_FALSE(ParseDecimalCell("inf"));
    EXPECT_FALSE(ParseDecimalCell("nan"));
    EXPECT_FALSE(ParseDecimalCell("%"));
}

TEST(CellCompare, DatesAndTimes) {
    ASSERT_TRUE(ParseDateCell("1899-12-30"));
    EXPECT_EQ(*ParseDateCell("1899-12-30"), 0.0);
    EXPECT_EQ(*ParseDateCell("1900-01-01"), 2.0);
    EXPECT_EQ(*ParseDateCell("2024-03-01") - *ParseDateCell("2024-02-28"), 2.0); // leap year
    EXPECT_EQ(*ParseDateCell("1/2/2024"), *ParseDateCell("2024-01-02"));
    EXPECT_EQ(*ParseDateCell("1/2/24"), *ParseDateCell("2024/01/02"));
    EXPECT_EQ(*ParseDateCell("12:00"), 0.5);
    EXPECT_EQ(*ParseDateCell("12:00 AM"), 0.0);
    EXPECT_EQ(*ParseDateCell("1:30 pm"), *ParseDateCell("13:30:00"));
    EXPECT_GT(*ParseDateCell("2024-01-02 08:00"), *ParseDateCell("2024-01-02"));
    EXPECT_FALSE(ParseDateCell("2023-02-29"));
    EXPECT_FALSE(ParseDateCell("13/1/2024"));
    EXPECT_FALSE(ParseDateCell("24:00"));
    EXPECT_FALSE(ParseDateCell("13:00 PM"));
    EXPECT_FALSE(ParseDateCell("10"));
    EXPECT_FALSE(ParseDateCell("2024-01-02x"));
}

TEST(CellCompare, FirstRuleBothTextsSatisfyDecides) {
    // Rule 1: decimal digit strings are read in base 16.
    EXPECT_EQ(CompareCellTexts("9", "A"), -1);
    EXPECT_EQ(CompareCellTexts("A", "10"), -1);
    EXPECT_EQ(CompareCellTexts("0x10", "16"), -1); // 16 < 0x16
    EXPECT_EQ(CompareCellTexts("0x10", "10"), 0);
    EXPECT_EQ(CompareCellTexts("-1", "FFFFFFFE"), 1);
    // Rule 2: only when one of them is no hex number.
    EXPECT_EQ(CompareCellTexts("9.5", "10"), -1);
    EXPECT_EQ(CompareCellTexts("75%", "8.5%"), 1);
    // Rule 3.
    EXPECT_EQ(CompareCellTexts("12/31/2023", "2024-01-01"), -1);
    EXPECT_EQ(CompareCellTexts("2:00 PM", "11:00"), 1);
    // Rule 4: byte-wise, bytes unsigned.
    EXPECT_EQ(CompareCellTexts("xyz", "10"), 1);
    EXPECT_EQ(CompareCellTexts("abc", "10"), 1); // both hex: 0xABC > 0x10
    EXPECT_EQ(CompareCellTexts("10", "2024-01-01"), -1);
    EXPECT_EQ(CompareCellTexts("\xC5", "z"), 1);
    EXPECT_EQ(CompareCellTexts("", "0"), -1);
    EXPECT_EQ(CompareCellTexts("", ""), 0);
}

TEST(CellCompare, OrderIsNotTransitive) {
    // The reason the sort must tolerate it: a cycle of three texts.
    EXPECT_EQ(CompareCellTexts("10", "1F"), -1);  // hex 16 < 31
    EXPECT_EQ(CompareCellTexts("1F", "9.5"), -1); // byte-wise
    EXPECT_EQ(CompareCellTexts("9.5", "10"), -1); // decimal
}
