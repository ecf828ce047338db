#include "column_format.h"

#include <gtest/gtest.h>

#include <climits>

using namespace controls;

namespace {

std::vector<std::string> Names(const std::vector<ColumnSpec>& columns) {
    std::vector<std::string> names;
    for (const ColumnSpec& column : columns)
        names.push_back(column.name);
    return names;
}

} // namespace

TEST(ColumnSpec, NamesKeepTheBlankAfterTheSeparator) {
    std::vector<ColumnSpec> columns = ParseColumnSpec("Name, 100; Value, 100");
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(Names(columns), (std::vector<std::string>{"Name", " Value"}));
    EXPECT_EQ(columns[0].width, 100);
    EXPECT_EQ(columns[1].width, 100);
    EXPECT_EQ(columns[1].align, ColumnAlign::Left);
}

TEST(ColumnSpec, WidthAndAlignmentFields) {
    std::vector<ColumnSpec> columns =
        ParseColumnSpec("Bare;Word, wide;Centre, 30, 1;Right,  45,2;Other, 60, 3;Neg, -5");
    ASSERT_EQ(columns.size(), 6u);
    EXPECT_EQ(columns[0].width, 100); // no width field
    EXPECT_EQ(columns[1].width, 0);   // a width that is no number
    EXPECT_EQ(columns[2].width, 30);
    EXPECT_EQ(columns[2].align, ColumnAlign::Centre);
    EXPECT_EQ(columns[3].width, 45); // leading blanks skipped
    EXPECT_EQ(columns[3].align, ColumnAlign::Right);
    EXPECT_EQ(columns[4].align, ColumnAlign::Left);
    EXPECT_EQ(columns[5].width, -5);
}

TEST(ColumnSpec, EmptyEntriesAndFieldsAreSkipped) {
    EXPECT_EQ(Names(ParseColumnSpec(";;A, 10;;;B;")), (std::vector<std::string>{"A", "B"}));
    // Empty fields are dropped before they are counted, so ",,x" names a column "x".
    std::vector<ColumnSpec> columns = ParseColumnSpec(",,,;,,x,,20");
    ASSERT_EQ(columns.size(), 1u);
    EXPECT_EQ(columns[0].name, "x");
    EXPECT_EQ(columns[0].width, 20);
    EXPECT_TRUE(ParseColumnSpec("").empty());
    EXPECT_TRUE(ParseColumnSpec(";;;").empty());
}

TEST(ColumnSpec, SpecificationsOfThePanes) {
    EXPECT_EQ(Names(ParseColumnSpec("Name, 100; Value, 100; Type, 100;Address, 100")),
              (std::vector<std::string>{"Name", " Value", " Type", "Address"}));
    EXPECT_EQ(Names(ParseColumnSpec("Property, 100; Value, 100;")),
              (std::vector<std::string>{"Property", " Value"}));
    std::vector<ColumnSpec> memory = ParseColumnSpec("Address, 100;0, 30;5,30;F, 30");
    ASSERT_EQ(memory.size(), 4u);
    EXPECT_EQ(memory[2].name, "5");
    EXPECT_EQ(memory[2].width, 30);
}

TEST(ColumnSpec, SplitStringKeepsPiecesUntrimmed) {
    EXPECT_EQ(SplitString(" a ;;b;", ';'), (std::vector<std::string>{" a ", "b"}));
    EXPECT_TRUE(SplitString("", ';').empty());
    EXPECT_EQ(SplitString("abc", ';'), (std::vector<std::string>{"abc"}));
}

TEST(ColumnSpec, LeadingIntReadsLikeAtoi) {
    EXPECT_EQ(ReadLeadingInt("  -12x"), -12);
    EXPECT_EQ(ReadLeadingInt("+7"), 7);
    EXPECT_EQ(ReadLeadingInt("x7"), 0);
    EXPECT_EQ(ReadLeadingInt(""), 0);
    EXPECT_EQ(ReadLeadingInt("99999999999999"), INT_MAX);
    EXPECT_EQ(ReadLeadingInt("-99999999999999"), INT_MIN);
}
