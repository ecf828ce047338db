// The editor window of one source file.
//
// CScintillaWnd is the one wrapper of the editing component. It gives the
// component the debugger's look (C colouring, folding, line numbers, the
// breakpoint, program-counter and code-line markers, fonts and colours) and
// offers the operations the rest of the debugger uses.
//
// Lines in this interface are numbered from 1, as the user sees them; the
// component counts from 0. Positions are the component's 0-based byte
// positions. Text goes in and out as raw bytes: a source in an 8-bit code
// page shows and is searched exactly as it is on disk.
//
// The user cannot type into the text: character input is swallowed (keys
// with Ctrl or Alt go on, so the menus' shortcuts work from the editor). The
// component's own context menu is off. A view that must never change its text
// also sets the component's read-only mode; SetText still loads a new text.
#pragma once

#include <wx/stc/stc.h>

#include <cstdint>
#include <functional>
#include <string>

class CScintillaWnd : public wxStyledTextCtrl {
public:
    // Asked to toggle the breakpoint of a line (from 1) by a click in the
    // line-number or marker margin or by a double click on the line.
    using BreakPointToggle = std::function<void(CScintillaWnd& editor, int line)>;

    CScintillaWnd();

    // Creates the window (with a sunken border) as a child of `parent`.
    bool Create(const wxString& windowName, long style, const wxRect& rect, wxWindow* parent,
                wxWindowID id);

    // Sets the look: styles, margins, markers, folding, fonts. Once, before
    // the first file is loaded.
    void InitEditor();

    // The component's search flags, used by every find and replace; the
    // regular-expression flag also makes replacing expand \1 and the like.
    int SetSearchFlags(int flags);

    // --- Text ---------------------------------------------------------
    // Replaces the whole text (also in read-only mode), then puts the caret
    // at the start and takes the focus.
    void SetText(const std::string& bytes);
    std::string GetText();
    void GetTextString(std::string& out);
    // Chooses the lexer from the path's extension and loads the file's bytes.
    // An empty path does nothing and succeeds; an empty file leaves the text
    // as it was. False when the file cannot be read.
    bool LoadFile(const std::string& path);
    // Writes the text to the file, creating or truncating it.
    bool SaveFile(const std::string& path);
    int GetLexerForFile(const std::string& extension);
    // Chooses the component's lexer; the folding properties go with it.
    void SetLexer(int lexer);

    // --- Margins --------------------------------------------------------
    int GetLineNumberDigits();
    int GetLineNumberMarginWidth();
    void ShowLineNumbers(bool show);
    // Sizes the shown line-number margin for the text's line count (after a
    // file was loaded).
    void FitLineNumberMargin();
    void ShowSelectionMargin(bool show);
    void ShowFoldMargin(bool show);

    // --- Caret and style ------------------------------------------------
    int GetCurrentLine();
    int GetCurrentColumn();
    int GetCurrentStyle();
    int GetCurrentFoldLevel();
    void SetStyleFont(int style, const std::string& faceName);
    void SetStyleSize(int style, int points);
    // Colours are 0x00BBGGRR.
    void SetStyleFore(int style, uint32_t colour);
    void SetStyleBack(int style, uint32_t colour);
    void SetStyleBold(int style, bool bold);
    void SetStyleItalic(int style, bool italic);
    void SetStyleUnderline(int style, bool underline);
    void MatchBraces();
    // A click in the fold margin toggles the fold of the clicked line.
    void OnMarginClick(int margin, int position);
    void Recolourise();

    // --- Breakpoint markers ------------------------------------------------
    void AddBreakPointMarker(int line);
    void RemoveBreakPointMarker(int line);
    bool HasBreakPointMarker(int line);
    void GotoNextBreakPoint();
    void GotoPrevBreakPoint();
    // Who toggles breakpoints for clicks in the margins; none by default.
    void SetBreakPointToggle(BreakPointToggle toggle);
    // The line (from 1) under a client y-coordinate.
    int LineAtPoint(int y);

    // --- Line positioning -------------------------------------------------
    // Scrolls so that the line above `line` is at the top and the caret on it.
    void GotoLineNearTop(int line);
    // Shows some lines above `line` and puts the caret on it.
    void GotoLineWithContext(int line);

    // --- Search and replace -----------------------------------------------
    // Find the next hit from the end of the selection, or the previous one
    // before its start, and select it. An empty text finds nothing.
    bool SearchForward(const std::string& bytes);
    bool SearchBackward(const std::string& bytes);
    std::string GetSelectedText();
    void ReplaceSelection(const std::string& bytes);
    // Replaces every hit in the whole text or in the selection; the number of
    // replacements.
    int ReplaceAll(const std::string& find, const std::string& replace, bool inSelection);

    // Text typed in a dialog as the bytes to look for in this document: UTF-8
    // in a UTF-8 (or plain ASCII) document, one byte per character otherwise.
    std::string BytesForText(const wxString& text);
    // Bytes of this document as text for a dialog.
    static wxString TextForBytes(const std::string& bytes);

private:
    void SetLexerProperties();
    void OnChar(wxKeyEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftDoubleClick(wxMouseEvent& event);
    void ToggleBreakPointAt(int y);
    void EditLineMarkers(int line, bool place, int marker);
    bool FindAndSelect(long start, long end, const std::string& bytes);
    long SearchTargetFor(const std::string& bytes);
    int ReplaceTargetWith(const std::string& bytes);

    bool m_bLineNumbers = false;
    bool m_bSelectionMargin = true;
    bool m_bFoldMargin = false;
    int m_nSearchFlags = 0;
    BreakPointToggle m_breakPointToggle;
};
