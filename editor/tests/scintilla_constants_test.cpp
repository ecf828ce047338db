// The editor's plain constants are the component's own numbers.
#include "editor_fixture.h"
#include "lexer_table.h"
#include "scintilla_constants.h"

#include <wx/stc/stc.h>

#include <set>

TEST(ScintillaConstants, ValuesMatchWxWidgets) {
    EXPECT_EQ(sci::kLexNull, wxSTC_LEX_NULL);
    EXPECT_EQ(sci::kLexPython, wxSTC_LEX_PYTHON);
    EXPECT_EQ(sci::kLexCpp, wxSTC_LEX_CPP);
    EXPECT_EQ(sci::kLexHtml, wxSTC_LEX_HTML);
    EXPECT_EQ(sci::kLexXml, wxSTC_LEX_XML);
    EXPECT_EQ(sci::kLexPerl, wxSTC_LEX_PERL);
    EXPECT_EQ(sci::kLexSql, wxSTC_LEX_SQL);
    EXPECT_EQ(sci::kLexVb, wxSTC_LEX_VB);
    EXPECT_EQ(sci::kLexProperties, wxSTC_LEX_PROPERTIES);
    EXPECT_EQ(sci::kLexErrorList, wxSTC_LEX_ERRORLIST);
    EXPECT_EQ(sci::kLexMakefile, wxSTC_LEX_MAKEFILE);
    EXPECT_EQ(sci::kLexBatch, wxSTC_LEX_BATCH);
    EXPECT_EQ(sci::kLexXcode, wxSTC_LEX_XCODE);
    EXPECT_EQ(sci::kLexLatex, wxSTC_LEX_LATEX);
    EXPECT_EQ(sci::kLexLua, wxSTC_LEX_LUA);
    EXPECT_EQ(sci::kLexDiff, wxSTC_LEX_DIFF);
    EXPECT_EQ(sci::kLexConf, wxSTC_LEX_CONF);
    EXPECT_EQ(sci::kLexPascal, wxSTC_LEX_PASCAL);
    EXPECT_EQ(sci::kLexAve, wxSTC_LEX_AVE);
    EXPECT_EQ(sci::kLexAda, wxSTC_LEX_ADA);
    EXPECT_EQ(sci::kLexLisp, wxSTC_LEX_LISP);
    EXPECT_EQ(sci::kLexRuby, wxSTC_LEX_RUBY);
    EXPECT_EQ(sci::kLexEiffel, wxSTC_LEX_EIFFEL);
    EXPECT_EQ(sci::kLexEiffelKw, wxSTC_LEX_EIFFELKW);
    EXPECT_EQ(sci::kLexTcl, wxSTC_LEX_TCL);
    EXPECT_EQ(sci::kLexNnCronTab, wxSTC_LEX_NNCRONTAB);
    EXPECT_EQ(sci::kLexBullant, wxSTC_LEX_BULLANT);
    EXPECT_EQ(sci::kLexVbScript, wxSTC_LEX_VBSCRIPT);
    // 29 and 30 have no wxSTC_LEX_* name any more; they lie between these.
    EXPECT_EQ(sci::kLexAsp, wxSTC_LEX_VBSCRIPT + 1);
    EXPECT_EQ(sci::kLexPhp, wxSTC_LEX_BAAN - 1);
    EXPECT_EQ(sci::kLexBaan, wxSTC_LEX_BAAN);
    EXPECT_EQ(sci::kLexMatlab, wxSTC_LEX_MATLAB);
    EXPECT_EQ(sci::kLexScriptol, wxSTC_LEX_SCRIPTOL);
    EXPECT_EQ(sci::kLexAsm, wxSTC_LEX_ASM);
    EXPECT_EQ(sci::kLexCppNoCase, wxSTC_LEX_CPPNOCASE);
    EXPECT_EQ(sci::kLexFortran, wxSTC_LEX_FORTRAN);
    EXPECT_EQ(sci::kLexF77, wxSTC_LEX_F77);
    EXPECT_EQ(sci::kLexCss, wxSTC_LEX_CSS);
    EXPECT_EQ(sci::kLexPov, wxSTC_LEX_POV);
    EXPECT_EQ(sci::kLexLout, wxSTC_LEX_LOUT);
    EXPECT_EQ(sci::kLexEScript, wxSTC_LEX_ESCRIPT);

    EXPECT_EQ(sci::kMarkRoundRect, wxSTC_MARK_ROUNDRECT);
    EXPECT_EQ(sci::kMarkSmallRect, wxSTC_MARK_SMALLRECT);
    EXPECT_EQ(sci::kMarkShortArrow, wxSTC_MARK_SHORTARROW);
    EXPECT_EQ(sci::kMarkEmpty, wxSTC_MARK_EMPTY);
    EXPECT_EQ(sci::kMarkMinus, wxSTC_MARK_MINUS);
    EXPECT_EQ(sci::kMarkPlus, wxSTC_MARK_PLUS);
    EXPECT_EQ(sci::kMarkBackground, wxSTC_MARK_BACKGROUND);

    EXPECT_EQ(sci::kFindMatchCase, wxSTC_FIND_MATCHCASE);
    EXPECT_EQ(sci::kFindRegExp, wxSTC_FIND_REGEXP);
    EXPECT_EQ(sci::kStyleLineNumber, wxSTC_STYLE_LINENUMBER);
    EXPECT_EQ(sci::kStyleBraceLight, wxSTC_STYLE_BRACELIGHT);
    EXPECT_EQ(sci::kMaskFolders, static_cast<uint32_t>(wxSTC_MASK_FOLDERS));
    EXPECT_EQ(sci::kFoldFlagLineAfterContracted, wxSTC_FOLDFLAG_LINEAFTER_CONTRACTED);
    EXPECT_EQ(sci::kModInsertText, wxSTC_MOD_INSERTTEXT);
    EXPECT_EQ(sci::kModDeleteText, wxSTC_MOD_DELETETEXT);
    EXPECT_EQ(sci::kEolLf, wxSTC_EOL_LF);
    EXPECT_EQ(sci::kIndentGuidesReal, wxSTC_IV_REAL);
    EXPECT_EQ(sci::kFoldLevelBase, wxSTC_FOLDLEVELBASE);
    EXPECT_EQ(sci::kFoldLevelNumberMask, wxSTC_FOLDLEVELNUMBERMASK);
}

// The messages sent by number do what wx's typed methods for the same
// messages do.
using ScintillaMessages = EditorTest;

TEST_F(ScintillaMessages, SentByNumberTheyActLikeTheTypedMethods) {
    m_editor->SetTextRaw("alpha beta alpha gamma");

    m_editor->SendMsg(sci::kMsgSetSel, 6, 10);
    EXPECT_EQ(m_editor->GetSelectionStart(), 6);
    EXPECT_EQ(m_editor->GetSelectionEnd(), 10);
    EXPECT_EQ(m_editor->GetCurrentPos(), 10);

    m_editor->SetTargetRange(1, m_editor->GetLength());
    m_editor->wxStyledTextCtrl::SetSearchFlags(0);
    int typed = m_editor->SearchInTarget("alpha");
    m_editor->SetTargetRange(1, m_editor->GetLength());
    std::string alpha = "alpha";
    long byNumber = static_cast<long>(m_editor->SendMsg(sci::kMsgSearchInTarget, alpha.size(),
                                                        reinterpret_cast<wxIntPtr>(alpha.data())));
    EXPECT_EQ(byNumber, typed);
    EXPECT_EQ(byNumber, 11);

    int typedEnd = 0;
    int typedHit = m_editor->FindText(m_editor->GetLength(), 0, "alpha", 0, &typedEnd);
    EXPECT_EQ(typedHit, 11);
    m_editor->GotoPos(m_editor->GetLength());
    ASSERT_TRUE(m_editor->SearchBackward("alpha")); // sends the find message by number
    EXPECT_EQ(m_editor->GetSelectionStart(), typedHit);
    EXPECT_EQ(m_editor->GetSelectionEnd(), typedEnd);
}

// Lexer numbers without a lexer compiled into this Scintilla fall back to
// the null lexer; every other number of the lexer table has its lexer.
TEST_F(ScintillaMessages, OnlyXcodeAspAndPhpLackALexer) {
    std::set<int> missing;
    for (int lexer = 2; lexer < 2 + editor::kLexerTableSize; ++lexer) {
        m_editor->SetLexer(lexer);
        if (m_editor->GetLexerLanguage() == "null") missing.insert(lexer);
    }
    EXPECT_EQ(missing, (std::set<int>{sci::kLexXcode, sci::kLexAsp, sci::kLexPhp}));
}
