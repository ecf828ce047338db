#include "string_tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> AllTokens(CTokenizer& tokenizer) {
    std::vector<std::string> tokens;
    while (tokenizer.HasMoreTokens())
        tokens.push_back(tokenizer.GetNextToken());
    return tokens;
}

} // namespace

TEST(StringTokenizer, DelimitersInARowGiveEmptyTokensAndATrailingOneEndsTheText) {
    CTokenizer tokenizer("a||b", "|");
    EXPECT_EQ(AllTokens(tokenizer), (std::vector<std::string>{"a", "", "b"}));

    tokenizer.SetString("x,y,");
    tokenizer.SetDelimiters(",");
    EXPECT_EQ(AllTokens(tokenizer), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(tokenizer.GetNextToken(), "");

    tokenizer.SetString("");
    EXPECT_FALSE(tokenizer.HasMoreTokens());
}

TEST(StringTokenizer, EveryCharacterOfTheSetIsADelimiter) {
    CTokenizer tokenizer("one two;three", " ;");
    EXPECT_EQ(AllTokens(tokenizer), (std::vector<std::string>{"one", "two", "three"}));
}

TEST(StringTokenizer, SetStringStartsOverFromTheFirstCharacter) {
    CTokenizer tokenizer("a b", " ");
    EXPECT_EQ(tokenizer.GetNextToken(), "a");
    tokenizer.SetString("c d");
    EXPECT_EQ(tokenizer.GetNextToken(), "c");
}

TEST(StringTokenizer, QuotedStringTakesTheTextBetweenQuotesAndSkipsToTheNextDelimiter) {
    CTokenizer tokenizer("key \"two words, here\" tail,next", ",");
    EXPECT_EQ(tokenizer.GetNextString(true), "two words, here");
    EXPECT_EQ(tokenizer.GetNextString(), "next");
    EXPECT_FALSE(tokenizer.HasMoreTokens());

    // An unclosed quote runs to the end of the text.
    tokenizer.SetString("\"open");
    EXPECT_EQ(tokenizer.GetNextString(true), "open");
}

TEST(StringTokenizer, NumbersReadLikeScanfAndFallBackToTheDefault) {
    CTokenizer tokenizer("12x;-7;word;;99999999999", ";");
    EXPECT_EQ(tokenizer.GetNextInt(-1), 12);
    EXPECT_EQ(tokenizer.GetNextInt(-1), -7);
    EXPECT_EQ(tokenizer.GetNextInt(-1), -1);
    EXPECT_EQ(tokenizer.GetNextLong(5), 5); // the empty token
    EXPECT_EQ(tokenizer.GetNextLong(5), 99999999999L);
}

TEST(StringTokenizer, FloatingPointAcceptsADecimalComma) {
    CTokenizer tokenizer("3,5 2.25 1e3 pi", " ");
    EXPECT_FLOAT_EQ(tokenizer.GetNextFloat(0), 3.5f);
    EXPECT_DOUBLE_EQ(tokenizer.GetNextDouble(0), 2.25);
    EXPECT_DOUBLE_EQ(tokenizer.GetNextDouble(0), 1000.0);
    EXPECT_DOUBLE_EQ(tokenizer.GetNextDouble(-2.5), -2.5);
}

TEST(StringTokenizer, BooleansReadAsNumbersOrTrueAndFalseInAnyCase) {
    CTokenizer tokenizer("0 7 TRUE False maybe", " ");
    EXPECT_FALSE(tokenizer.GetNextBool(true));
    EXPECT_TRUE(tokenizer.GetNextBool(false));
    EXPECT_TRUE(tokenizer.GetNextBool(false));
    EXPECT_FALSE(tokenizer.GetNextBool(true));
    EXPECT_TRUE(tokenizer.GetNextBool(true));
    EXPECT_FALSE(tokenizer.GetNextBool(false));
}
