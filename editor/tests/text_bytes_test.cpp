#include "keyword_list.h"
#include "text_bytes.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextBytes, RecognisesWellFormedUtf8) {
    EXPECT_TRUE(editor::IsValidUtf8(""));
    EXPECT_TRUE(editor::IsValidUtf8("int main(void) { return 0; }\n"));
    EXPECT_TRUE(editor::IsValidUtf8("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"));
}

TEST(TextBytes, EightBitTextAndMalformedSequencesAreNotUtf8) {
    EXPECT_FALSE(editor::IsValidUtf8("caf\xE9"));          // Latin-1
    EXPECT_FALSE(editor::IsValidUtf8("na\xEFve x"));       // Latin-1 lead byte + ASCII
    EXPECT_FALSE(editor::IsValidUtf8("\xC0\x80"));         // overlong
    EXPECT_FALSE(editor::IsValidUtf8("\xE2\x82"));         // cut short
    EXPECT_FALSE(editor::IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(editor::IsValidUtf8("\xF4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_FALSE(editor::IsValidUtf8(std::string("\x80", 1)));
}

TEST(TextBytes, LeadingDecimalNumber) {
    EXPECT_EQ(editor::LeadingDecimalNumber("25"), 25);
    EXPECT_EQ(editor::LeadingDecimalNumber("  12abc"), 12);
    EXPECT_EQ(editor::LeadingDecimalNumber("-3"), -3);
    EXPECT_EQ(editor::LeadingDecimalNumber("abc"), 0);
    EXPECT_EQ(editor::LeadingDecimalNumber(""), 0);
    EXPECT_EQ(editor::LeadingDecimalNumber("99999999999999999999"), 2147483647);
    EXPECT_EQ(editor::LeadingDecimalNumber("-99999999999999999999"), -2147483647 - 1);
}

TEST(KeywordList, IsOneLineOfSingleBlankSeparatedWords) {
    std::string words = editor::kCKeywords;
    EXPECT_EQ(words.size(), 498u);
    EXPECT_EQ(words.find("  "), std::string::npos);
    EXPECT_EQ(words.front(), 'a');
    EXPECT_EQ(words.substr(words.size() - 6), "xor_eq");
    EXPECT_NE(words.find(" volatile "), std::string::npos);
}
