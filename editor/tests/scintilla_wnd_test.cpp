#include "editor_fixture.h"
#include "gui_test.h"
#include "keyword_list.h"
#include "marker_rules.h"
#include "scintilla_constants.h"

#include <string>

namespace {

const char* const kSource = "/* blinks the LED */\n"      // 1
                            "#include <reg51.h>\n"        // 2
                            "\n"                          // 3
                            "sbit LED = P1^0;\n"          // 4
                            "\n"                          // 5
                            "void delay(unsigned n) {\n"  // 6
                            "    while (n--) ;\n"         // 7
                            "}\n"                         // 8
                            "\n"                          // 9
                            "void main(void) {\n"         // 10
                            "    int count = 0;\n"        // 11
                            "    for (;;) {\n"            // 12
                            "        LED = !LED;\n"       // 13
                            "        delay(500);\n"       // 14
                            "        count++; // loops\n" // 15
                            "    }\n"                     // 16
                            "}\n";                        // 17

wxColour Bgr(uint32_t colour) {
    return wxColour(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

uint32_t Markers(CScintillaWnd* editor, int line) {
    return static_cast<uint32_t>(editor->MarkerGet(line - 1));
}

constexpr uint32_t kBreak = editor::MarkerBit(editor::kMarkerBreakPoint);
constexpr uint32_t kPc = editor::MarkerBit(editor::kMarkerCurrentPc);
constexpr uint32_t kCode = editor::MarkerBit(editor::kMarkerCodeLine);
constexpr uint32_t kCovered = editor::MarkerBit(editor::kMarkerCodeLineCovered);

// Marks the lines that have code, as the code-line marking does.
void MarkCodeLines(CScintillaWnd* editor) {
    for (int line : {6, 7, 8, 10, 11, 12, 13, 14, 15, 17})
        editor->MarkerAdd(line - 1, editor::kMarkerCodeLine);
}

void SendMouse(CScintillaWnd* editor, wxEventType type, int x, int y) {
    wxMouseEvent event(type);
    event.SetEventObject(editor);
    event.m_x = x;
    event.m_y = y;
    event.m_leftDown = type != wxEVT_LEFT_UP;
    editor->ProcessWindowEvent(event);
}

void Click(CScintillaWnd* editor, int x, int y) {
    SendMouse(editor, wxEVT_LEFT_DOWN, x, y);
    SendMouse(editor, wxEVT_LEFT_UP, x, y);
}

} // namespace

TEST_F(EditorTest, InitEditorGivesTheDebuggersLook) {
    EXPECT_EQ(m_editor->GetTabWidth(), 3);
    EXPECT_EQ(m_editor->GetIndent(), 3);
    EXPECT_EQ(m_editor->GetCaretPeriod(), 4000);
    EXPECT_EQ(m_editor->GetIndentationGuides(), sci::kIndentGuidesReal);
    EXPECT_EQ(m_editor->GetEOLMode(), sci::kEolLf);
    EXPECT_EQ(m_editor->GetModEventMask(), sci::kModInsertText | sci::kModDeleteText);
    for (const char* property : {"fold", "fold.comment", "fold.preprocessor", "fold.at.else",
                                 "styling.within.preprocessor", "asp.default.language"})
        EXPECT_EQ(m_editor->GetProperty(property), "1") << property;

    // Line numbers, the marker margin, and the fold margin switched off but
    // ready for the fold markers.
    // (The line-number margin is sized before the fonts are set.)
    EXPECT_GT(m_editor->GetMarginWidth(sci::kMarginLineNumbers), 4);
    EXPECT_EQ(m_editor->GetMarginWidth(sci::kMarginSelection), 16);
    EXPECT_EQ(m_editor->GetMarginWidth(sci::kMarginFold), 0);
    EXPECT_EQ(static_cast<uint32_t>(m_editor->GetMarginMask(sci::kMarginFold)), sci::kMaskFolders);
    EXPECT_TRUE(m_editor->GetMarginSensitive(sci::kMarginFold));

    EXPECT_EQ(m_editor->GetMarkerSymbolDefined(0), sci::kMarkRoundRect);
    EXPECT_EQ(m_editor->GetMarkerSymbolDefined(1), sci::kMarkShortArrow);
    EXPECT_EQ(m_editor->GetMarkerSymbolDefined(2), sci::kMarkSmallRect);
    EXPECT_EQ(m_editor->GetMarkerSymbolDefined(4), sci::kMarkEmpty);
    EXPECT_EQ(m_editor->GetMarkerSymbolDefined(8), sci::kMarkBackground);
    EXPECT_EQ(m_editor->GetMarkerSymbolDefined(30), sci::kMarkPlus);
    EXPECT_EQ(m_editor->GetMarkerSymbolDefined(31), sci::kMarkMinus);
    EXPECT_EQ(m_editor->GetMarkerSymbolDefined(27), sci::kMarkEmpty);

    for (int style : {0, 5, 33, 127}) {
        EXPECT_EQ(m_editor->StyleGetFaceName(style), "Courier New") << style;
        EXPECT_EQ(m_editor->StyleGetSize(style), 11) << style;
    }
    EXPECT_EQ(m_editor->StyleGetForeground(1), Bgr(0x008000));
    EXPECT_EQ(m_editor->StyleGetForeground(5), Bgr(0xFF0000));
    EXPECT_EQ(m_editor->StyleGetForeground(6), Bgr(0x0014C8));
    EXPECT_EQ(m_editor->StyleGetForeground(10), Bgr(0x4000FF));
    EXPECT_EQ(m_editor->StyleGetBackground(sci::kStyleBraceLight), Bgr(0x00FF00));
}

TEST_F(EditorTest, ACFileShowsWithTheCLexerAndItsStyles) {
    Load(kSource, "blink.C");
    EXPECT_EQ(m_editor->GetLexer(), sci::kLexCpp);
    EXPECT_EQ(m_editor->GetText(), kSource);
    EXPECT_EQ(m_editor->GetCurrentPos(), 0);
    EXPECT_FALSE(m_editor->GetModify());

    m_editor->SetKeyWords(0, editor::kCKeywords);
    m_editor->Recolourise();
    auto styleAt = [&](const std::string& what) {
        return m_editor->GetStyleAt(static_cast<int>(std::string(kSource).find(what)));
    };
    EXPECT_EQ(styleAt("blinks"), 1);   // comment
    EXPECT_EQ(styleAt("#include"), 9); // preprocessor
    EXPECT_EQ(styleAt("void main"), 5);
    EXPECT_EQ(styleAt("unsigned"), 5);
    EXPECT_EQ(styleAt("500"), 4); // number
    EXPECT_EQ(styleAt("// loops"), 2);
    EXPECT_EQ(styleAt("{\n    int"), 10); // operator
    EXPECT_EQ(styleAt("delay(unsigned"), 11);

    // Folding: the fold margin click folds the function's body.
    int functionLine = 10 - 1;
    EXPECT_TRUE(m_editor->GetFoldLevel(functionLine) & wxSTC_FOLDLEVELHEADERFLAG);
    m_editor->OnMarginClick(sci::kMarginSelection, m_editor->PositionFromLine(functionLine));
    EXPECT_TRUE(m_editor->GetFoldExpanded(functionLine));
    m_editor->OnMarginClick(sci::kMarginFold, m_editor->PositionFromLine(functionLine));
    EXPECT_FALSE(m_editor->GetFoldExpanded(functionLine));
    EXPECT_FALSE(m_editor->GetLineVisible(functionLine + 1));
}

TEST_F(EditorTest, FilesOfOtherKindsGetTheirLexerOrNone) {
    Load("; startup\n", "STARTUP.A51");
    EXPECT_EQ(m_editor->GetLexer(), sci::kLexNull);
    Load("mov a,#1\n", "main.SRC");
    EXPECT_EQ(m_editor->GetLexer(), sci::kLexEScript);
    Load("x\n", "Makefile");
    EXPECT_EQ(m_editor->GetLexer(), sci::kLexNull);
}

TEST_F(EditorTest, LoadingFailsOnlyForAFileThatCannotBeRead) {
    Load("int a;\n");
    EXPECT_FALSE(m_editor->LoadFile(ScratchPath("missing.c")));
    EXPECT_EQ(m_editor->GetText(), "int a;\n");
    EXPECT_TRUE(m_editor->LoadFile(""));
    EXPECT_EQ(m_editor->GetText(), "int a;\n");
    // An empty file leaves the text as it was.
    Load("", "empty.c");
    EXPECT_EQ(m_editor->GetText(), "int a;\n");
}

TEST_F(EditorTest, ALatin1FileRoundTripsByteForByte) {
    std::string bytes = "/* Z\xE4hler f\xFCr die LED, caf\xE9 \xB0"
                        "C */\r\n"
                        "char text[] = \"\xA9 na\xEFve \x80\xFF\";\r\n";
    Load(bytes, "latin.c");
    EXPECT_EQ(m_editor->GetLength(), static_cast<int>(bytes.size()));
    EXPECT_EQ(m_editor->GetText(), bytes);
    std::string copy = ScratchPath("copy.c");
    ASSERT_TRUE(m_editor->SaveFile(copy));
    EXPECT_EQ(ReadFile(copy), bytes);

    // Searching finds the 8-bit text, also as typed in a dialog.
    ASSERT_TRUE(m_editor->SearchForward("caf\xE9"));
    EXPECT_EQ(m_editor->GetSelectionStart(), static_cast<int>(bytes.find("caf\xE9")));
    EXPECT_EQ(m_editor->BytesForText(wxString::FromUTF8("f\xC3\xBCr")), "f\xFCr");
    m_editor->GotoPos(0);
    ASSERT_TRUE(m_editor->SearchForward(m_editor->BytesForText(wxString::FromUTF8("f\xC3\xBCr"))));
    EXPECT_EQ(m_editor->GetSelectedText(), "f\xFCr");
    EXPECT_EQ(CScintillaWnd::TextForBytes("f\xFCr"), wxString::FromUTF8("f\xC3\xBCr"));
}

TEST_F(EditorTest, AUtf8FileIsSearchedInUtf8) {
    std::string bytes = "/* caf\xC3\xA9 */\n";
    Load(bytes);
    EXPECT_EQ(m_editor->GetText(), bytes);
    std::string find = m_editor->BytesForText(wxString::FromUTF8("caf\xC3\xA9"));
    EXPECT_EQ(find, "caf\xC3\xA9");
    EXPECT_TRUE(m_editor->SearchForward(find));
    EXPECT_EQ(CScintillaWnd::TextForBytes(m_editor->GetSelectedText()),
              wxString::FromUTF8("caf\xC3\xA9"));
}

TEST_F(EditorTest, LineNumberDigitsFollowTheLineCount) {
    m_editor->SetText("one line");
    EXPECT_EQ(m_editor->GetLineNumberDigits(), 2);
    m_editor->SetText("1\n2\n3\n4\n5\n6\n7\n8\n9");
    EXPECT_EQ(m_editor->GetLineNumberDigits(), 2);
    m_editor->SetText("1\n2\n3\n4\n5\n6\n7\n8\n9\n10");
    EXPECT_EQ(m_editor->GetLineNumberDigits(), 3);
    EXPECT_EQ(m_editor->GetLineNumberMarginWidth(),
              m_editor->TextWidth(sci::kStyleLineNumber, "9") * 4);

    m_editor->ShowLineNumbers(false);
    EXPECT_EQ(m_editor->GetMarginWidth(sci::kMarginLineNumbers), 0);
    m_editor->ShowLineNumbers(true);
    EXPECT_EQ(m_editor->GetMarginWidth(sci::kMarginLineNumbers),
              m_editor->GetLineNumberMarginWidth() + 4);
    m_editor->ShowFoldMargin(true);
    EXPECT_EQ(m_editor->GetMarginWidth(sci::kMarginFold), 16);
    m_editor->ShowSelectionMargin(false);
    EXPECT_EQ(m_editor->GetMarginWidth(sci::kMarginSelection), 0);
}

TEST_F(EditorTest, CaretQueriesCountLinesAndColumnsFromOne) {
    Load(kSource);
    m_editor->GotoPos(m_editor->PositionFromLine(10) + 4); // "int" on line 11
    EXPECT_EQ(m_editor->GetCurrentLine(), 11);
    EXPECT_EQ(m_editor->GetCurrentColumn(), 5);
    m_editor->Colourise(0, -1);
    EXPECT_EQ(m_editor->GetCurrentStyle(), 11); // no keyword list set: an identifier
    EXPECT_EQ(m_editor->GetCurrentFoldLevel(), 1);
}

TEST_F(EditorTest, MarkersGoOnTheirLinesAndTheCodeMarkerGivesWay) {
    Load(kSource);
    MarkCodeLines(m_editor);
    EXPECT_EQ(Markers(m_editor, 13), kCode);

    m_editor->AddBreakPointMarker(13);
    m_editor->AddBreakPointMarker(4); // a line without code
    EXPECT_EQ(Markers(m_editor, 13), kBreak | kCovered);
    EXPECT_EQ(Markers(m_editor, 4), kBreak);
    EXPECT_EQ(Markers(m_editor, 12), kCode);
    EXPECT_EQ(Markers(m_editor, 14), kCode);
    EXPECT_TRUE(m_editor->HasBreakPointMarker(13));
    EXPECT_FALSE(m_editor->HasBreakPointMarker(12));

    // Adding it twice changes nothing; one removal takes it off.
    m_editor->AddBreakPointMarker(13);
    m_editor->RemoveBreakPointMarker(13);
    EXPECT_EQ(Markers(m_editor, 13), kCode);
    m_editor->RemoveBreakPointMarker(4);
    EXPECT_EQ(Markers(m_editor, 4), 0u);

    // With the program counter on the line too, the code marker comes back
    // only when the last of the two goes.
    m_editor->AddBreakPointMarker(14);
    m_editor->MarkerAdd(14 - 1, editor::kMarkerCurrentPc);
    EXPECT_EQ(Markers(m_editor, 14), kBreak | kPc | kCovered);
    m_editor->RemoveBreakPointMarker(14);
    EXPECT_EQ(Markers(m_editor, 14), kPc | kCovered);
}

TEST_F(EditorTest, GotoNextAndPreviousBreakPoint) {
    Load(kSource);
    m_editor->AddBreakPointMarker(6);
    m_editor->AddBreakPointMarker(13);
    m_editor->GotoLine(0);
    m_editor->GotoNextBreakPoint();
    EXPECT_EQ(m_editor->GetCurrentLine(), 6);
    m_editor->GotoNextBreakPoint();
    EXPECT_EQ(m_editor->GetCurrentLine(), 13);
    m_editor->GotoNextBreakPoint(); // none below: stays
    EXPECT_EQ(m_editor->GetCurrentLine(), 13);
    m_editor->GotoPrevBreakPoint();
    EXPECT_EQ(m_editor->GetCurrentLine(), 6);
    m_editor->GotoPrevBreakPoint();
    EXPECT_EQ(m_editor->GetCurrentLine(), 6);
}

TEST_F(EditorTest, MarginClicksAndDoubleClicksToggleTheBreakPointOfTheLine) {
    Load(kSource);
    int toggles = 0;
    m_editor->SetBreakPointToggle([&](CScintillaWnd& editor, int line) {
        ++toggles;
        if (editor.HasBreakPointMarker(line))
            editor.RemoveBreakPointMarker(line);
        else
            editor.AddBreakPointMarker(line);
    });
    int height = m_editor->TextHeight(0);
    // The margins as drawn: line numbers (with their padding), then markers.
    int marginEnd = m_editor->GetMarginWidth(sci::kMarginLineNumbers) +
                    m_editor->GetMarginWidth(sci::kMarginSelection);
    int line4 = 3 * height + height / 2;

    // A click at every x of the line-number and marker margins toggles.
    for (int x = 0; x < marginEnd; ++x) {
        Click(m_editor, x, line4);
        EXPECT_EQ(m_editor->HasBreakPointMarker(4), x % 2 == 0) << "x " << x;
    }
    EXPECT_EQ(toggles, marginEnd);
    if (m_editor->HasBreakPointMarker(4)) Click(m_editor, 0, line4);
    const int marginToggles = toggles;

    // Just right of the margins a click does nothing at all: the caret
    // stays where it was.
    m_editor->GotoPos(0);
    Click(m_editor, marginEnd + 3, line4);
    EXPECT_EQ(toggles, marginToggles);
    EXPECT_EQ(m_editor->GetCurrentPos(), 0);

    // In the text a click moves the caret and toggles nothing.
    Click(m_editor, marginEnd + 40, line4);
    EXPECT_EQ(toggles, marginToggles);
    EXPECT_EQ(m_editor->GetCurrentLine(), 4);

    // A double click anywhere on a line toggles that line.
    SendMouse(m_editor, wxEVT_LEFT_DCLICK, marginEnd + 60, 9 * height + 1);
    SendMouse(m_editor, wxEVT_LEFT_UP, marginEnd + 60, 9 * height + 1);
    EXPECT_TRUE(m_editor->HasBreakPointMarker(10));

    // Scrolled down, the line under the point counts the lines above.
    m_editor->SetText(std::string(kSource) + std::string(100, '\n'));
    m_editor->SetFirstVisibleLine(5);
    ASSERT_EQ(m_editor->GetFirstVisibleLine(), 5);
    EXPECT_EQ(m_editor->LineAtPoint(line4), 9);
}

TEST_F(EditorTest, LineNearTopWorksBeyondTenThousandLines) {
    std::string text;
    for (int i = 1; i <= 20000; ++i)
        text += "line " + std::to_string(i) + "\n";
    Load(text);
    ASSERT_GT(m_editor->LinesOnScreen(), 5);

    m_editor->GotoLineNearTop(15000);
    EXPECT_EQ(m_editor->GetCurrentLine(), 14999);
    EXPECT_EQ(m_editor->GetFirstVisibleLine(), 15000 - 2);

    m_editor->GotoLineNearTop(200);
    EXPECT_EQ(m_editor->GetCurrentLine(), 199);
    EXPECT_EQ(m_editor->GetFirstVisibleLine(), 198);
}

TEST_F(EditorTest, LineWithContextPutsTheCaretOnTheLine) {
    std::string text;
    for (int i = 1; i <= 300; ++i)
        text += "line " + std::to_string(i) + "\n";
    Load(text);
    m_editor->GotoLineWithContext(3); // the first jump goes to line -7, clamped
    EXPECT_EQ(m_editor->GetCurrentLine(), 3);
    m_editor->GotoLineWithContext(250);
    EXPECT_EQ(m_editor->GetCurrentLine(), 250);
    EXPECT_LE(m_editor->GetFirstVisibleLine(), 250 - 10);
}

TEST_F(EditorTest, TypingACharacterChangesNothing) {
    Load(kSource);
    m_editor->SetFocus();
    m_editor->GotoPos(0);
    guitest::PumpEvents(100);

    // The character event as the window system delivers it for a key that
    // the component does not handle as a command. (Keystrokes simulated
    // through the display would reach whichever window of the tests running
    // alongside has the focus.)
    wxKeyEvent key(wxEVT_CHAR);
    key.SetEventObject(m_editor);
    key.m_keyCode = 'x';
    key.m_uniChar = 'x';
    m_editor->ProcessWindowEvent(key);
    EXPECT_EQ(m_editor->GetText(), kSource);
    EXPECT_FALSE(m_editor->GetModify());

    // Keys that are commands still work.
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.SetEventObject(m_editor);
    down.m_keyCode = WXK_DOWN;
    m_editor->ProcessWindowEvent(down);
    EXPECT_EQ(m_editor->GetCurrentLine(), 2);
}

TEST_F(EditorTest, ScreenshotWithAllMarkers) {
    m_frame->SetTitle("blink.c");
    Load(kSource, "blink.c");
    m_editor->SetKeyWords(0, editor::kCKeywords);
    m_editor->Recolourise();
    MarkCodeLines(m_editor);
    m_editor->AddBreakPointMarker(13); // on a code line: red, grey gives way
    m_editor->AddBreakPointMarker(4);  // on a line without code
    for (int line : {11}) {            // the program counter on a code line
        uint32_t markers = Markers(m_editor, line);
        editor::MarkerEdit edit = editor::PlaceLineMarker(markers, editor::kMarkerCurrentPc);
        if (edit.remove & kCode) m_editor->MarkerDelete(line - 1, editor::kMarkerCodeLine);
        if (edit.add & kCovered) m_editor->MarkerAdd(line - 1, editor::kMarkerCodeLineCovered);
        m_editor->MarkerAdd(line - 1, editor::kMarkerCurrentPc);
    }
    EXPECT_EQ(Markers(m_editor, 11), kPc | kCovered);
    m_editor->GotoPos(m_editor->PositionFromLine(9) + 17); // after "{" of main
    m_editor->MatchBraces();
    // The picture is taken from the screen: keep clear of the corner where
    // the windows of the tests running alongside open, and come to the top.
    m_frame->SetPosition(wxPoint(620, 580));
    m_frame->Raise();
    guitest::PumpEvents(200);
    std::string path = guitest::SaveScreenshot(m_editor, "editor_markers");
    EXPECT_FALSE(path.empty());
}
