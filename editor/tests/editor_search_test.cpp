#include "editor_fixture.h"
#include "scintilla_constants.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

const std::string kText = "main() calls Main;\n"
                          "mainmain MAIN\n"
                          "/* main */ remain m_ain\n";

// Start positions of the non-overlapping hits of `word`, found from the
// text's start.
std::vector<int> HitsOf(std::string text, std::string word, bool matchCase) {
    if (!matchCase) {
        auto lower = [](std::string s) {
            std::transform(s.begin(), s.end(), s.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            return s;
        };
        text = lower(text);
        word = lower(word);
    }
    std::vector<int> hits;
    for (size_t p = text.find(word); p != std::string::npos; p = text.find(word, p + word.size()))
        hits.push_back(static_cast<int>(p));
    return hits;
}

} // namespace

class EditorSearch : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        Load(kText);
    }

    std::vector<int> WalkForward(const std::string& word) {
        std::vector<int> found;
        m_editor->GotoPos(0);
        while (m_editor->SearchForward(word) && found.size() < 50) {
            EXPECT_EQ(m_editor->GetSelectionEnd() - m_editor->GetSelectionStart(),
                      static_cast<int>(word.size()));
            found.push_back(m_editor->GetSelectionStart());
        }
        return found;
    }

    std::vector<int> WalkBackward(const std::string& word) {
        std::vector<int> found;
        m_editor->GotoPos(m_editor->GetLength());
        while (m_editor->SearchBackward(word) && found.size() < 50)
            found.push_back(m_editor->GetSelectionStart());
        std::reverse(found.begin(), found.end());
        return found;
    }
};

TEST_F(EditorSearch, FindNextAndPreviousWalkEveryHitInBothDirections) {
    for (bool matchCase : {true, false}) {
        m_editor->SetSearchFlags(matchCase ? sci::kFindMatchCase : 0);
        std::vector<int> expected = HitsOf(kText, "main", matchCase);
        ASSERT_GE(expected.size(), 5u);
        EXPECT_EQ(expected.front(), 0); // a hit right at the caret
        EXPECT_EQ(WalkForward("main"), expected) << "match case " << matchCase;
        EXPECT_EQ(WalkBackward("main"), expected) << "match case " << matchCase;
    }
    m_editor->SetSearchFlags(0);
    EXPECT_EQ(WalkForward("MAIN"), HitsOf(kText, "main", false));
}

TEST_F(EditorSearch, FindPreviousFindsAOneCharacterHitRightBeforeTheSelection) {
    m_editor->SetText("ab");
    m_editor->GotoPos(1);
    ASSERT_TRUE(m_editor->SearchBackward("a"));
    EXPECT_EQ(m_editor->GetSelectionStart(), 0);
    EXPECT_EQ(m_editor->GetSelectionEnd(), 1);
}

TEST_F(EditorSearch, AMissLeavesCaretAndSelectionAlone) {
    m_editor->SetSearchFlags(sci::kFindMatchCase);
    m_editor->SetSelection(5, 9);
    EXPECT_FALSE(m_editor->SearchForward("Mainly"));
    EXPECT_FALSE(m_editor->SearchForward(""));
    EXPECT_FALSE(m_editor->SearchBackward("xyz"));
    EXPECT_EQ(m_editor->GetSelectionStart(), 5);
    EXPECT_EQ(m_editor->GetSelectionEnd(), 9);
}

TEST_F(EditorSearch, SelectedTextIsTheSelectionsBytes) {
    m_editor->SetSelection(0, 4);
    EXPECT_EQ(m_editor->GetSelectedText(), "main");
    m_editor->GotoPos(3);
    EXPECT_EQ(m_editor->GetSelectedText(), "");
}

TEST_F(EditorSearch, ReplaceAllCountsAndAppliesTheSearchFlags) {
    m_editor->SetSearchFlags(sci::kFindMatchCase);
    EXPECT_EQ(m_editor->ReplaceAll("absent", "x", false), 0);
    EXPECT_EQ(m_editor->GetText(), kText);

    int hits = static_cast<int>(HitsOf(kText, "main", true).size());
    EXPECT_EQ(m_editor->ReplaceAll("main", "start", false), hits);
    std::string text = m_editor->GetText();
    EXPECT_EQ(text.find("main"), std::string::npos);
    EXPECT_NE(text.find("Main"), std::string::npos);
    EXPECT_NE(text.find("MAIN"), std::string::npos);
    EXPECT_NE(text.find("startstart"), std::string::npos);

    m_editor->SetSearchFlags(0);
    EXPECT_EQ(m_editor->ReplaceAll("MAIN", "x", false), 2);
    EXPECT_EQ(m_editor->GetText().find("Main"), std::string::npos);
}

TEST_F(EditorSearch, ReplaceAllInTheSelectionOnlyTouchesTheSelection) {
    m_editor->SetSearchFlags(sci::kFindMatchCase);
    int line2 = m_editor->PositionFromLine(1);
    m_editor->SetSelection(line2, line2 + 8); // "mainmain"
    EXPECT_EQ(m_editor->ReplaceAll("main", "longer", true), 2);
    EXPECT_EQ(m_editor->GetText(), "main() calls Main;\n"
                                   "longerlonger MAIN\n"
                                   "/* main */ remain m_ain\n");
}

TEST_F(EditorSearch, ReplaceAllEndsOnAnEmptyFindTextAndOnAZeroLengthMatch) {
    EXPECT_EQ(m_editor->ReplaceAll("", "x", false), 0);
    EXPECT_EQ(m_editor->GetText(), kText);

    m_editor->SetSearchFlags(sci::kFindRegExp);
    // "z*" matches nothing at the very start.
    EXPECT_EQ(m_editor->ReplaceAll("z*", "Q", false), 0);
    EXPECT_EQ(m_editor->GetText(), kText);

    // A regular expression with a tag, replaced with its expansion.
    m_editor->SetSearchFlags(sci::kFindRegExp | sci::kFindMatchCase);
    EXPECT_EQ(m_editor->ReplaceAll("m\\(a\\)in", "M\\1IN", false), 5);
    EXPECT_EQ(m_editor->GetText(), "MaIN() calls Main;\n"
                                   "MaINMaIN MAIN\n"
                                   "/* MaIN */ reMaIN m_ain\n");
}

TEST_F(EditorSearch, ReplaceSelectionReplacesTheSelectedText) {
    m_editor->SetSelection(0, 4);
    m_editor->ReplaceSelection("start");
    EXPECT_EQ(m_editor->GetText().substr(0, 7), "start()");

    m_editor->SetSearchFlags(sci::kFindRegExp);
    ASSERT_TRUE(m_editor->SearchForward("c\\(all\\)s"));
    m_editor->ReplaceSelection("[\\1]");
    EXPECT_EQ(m_editor->GetText().substr(0, 15), "start() [all] M");
}
