#include "lexer_table.h"
#include "scintilla_constants.h"
#include "string_tokenizer.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(LexerTable, SourceFilesOfTheProjectGetTheirLexersWhateverTheCase) {
    EXPECT_EQ(editor::GetLexerForFile("c"), sci::kLexCpp);
    EXPECT_EQ(editor::GetLexerForFile("C"), sci::kLexCpp);
    EXPECT_EQ(editor::GetLexerForFile("H"), sci::kLexCpp);
    EXPECT_EQ(editor::GetLexerForFile("asm"), sci::kLexAsm);
    EXPECT_EQ(editor::GetLexerForFile("SRC"), sci::kLexEScript);
}

TEST(LexerTable, UnknownExtensionsAndWholePathsGetNoColouring) {
    EXPECT_EQ(editor::GetLexerForFile("a51"), sci::kLexNull);
    EXPECT_EQ(editor::GetLexerForFile("lst"), sci::kLexNull);
    EXPECT_EQ(editor::GetLexerForFile(""), sci::kLexNull);
    EXPECT_EQ(editor::GetLexerForFile("/home/dev/project/Makefile"), sci::kLexNull);
    EXPECT_EQ(editor::GetLexerForFile("c|h"), sci::kLexNull);
}

TEST(LexerTable, TheFirstEntryHoldingAnExtensionWins) {
    EXPECT_EQ(editor::GetLexerForFile("mak"), sci::kLexCpp);
    EXPECT_EQ(editor::GetLexerForFile("cpp"), sci::kLexCpp);
    EXPECT_EQ(editor::GetLexerForFile("e"), sci::kLexEiffel);
    EXPECT_EQ(editor::GetLexerForFile("iface"), sci::kLexMakefile);
}

// Every extension of the table selects its own entry's lexer unless an
// earlier entry already holds it; the later duplicates are exactly the
// three kept from the original table.
TEST(LexerTable, EveryExtensionSelectsItsFirstEntry) {
    std::set<std::string> seen;
    std::set<std::string> shadowed;
    for (int i = 0; i < editor::kLexerTableSize; ++i) {
        CTokenizer tokenizer(editor::LexerTableEntry(i), "|");
        while (tokenizer.HasMoreTokens()) {
            std::string extension = tokenizer.GetNextToken();
            ASSERT_FALSE(extension.empty()) << "entry " << i;
            if (!seen.insert(extension).second) {
                shadowed.insert(extension);
                EXPECT_NE(editor::GetLexerForFile(extension), i + 2) << extension;
            } else {
                EXPECT_EQ(editor::GetLexerForFile(extension), i + 2) << extension;
            }
        }
    }
    EXPECT_EQ(shadowed, (std::set<std::string>{"mak", "cpp", "e"}));
    EXPECT_STREQ(editor::LexerTableEntry(editor::kLexerTableSize - 1), "src|em");
    EXPECT_STREQ(editor::LexerTableEntry(editor::kLexerTableSize), "");
}
