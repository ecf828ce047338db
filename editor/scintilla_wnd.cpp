#include "scintilla_wnd.h"

#include "editor_layout.h"
#include "lexer_table.h"
#include "marker_rules.h"
#include "scintilla_constants.h"
#include "search_ranges.h"
#include "text_bytes.h"

#include <fstream>
#include <iterator>

namespace {

wxColour ColourFromRef(uint32_t colour) {
    return wxColour(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// The component's find request: a range to search (backwards when cpMin is
// above cpMax), the text, and the range of the hit written back.
struct TextToFind {
    struct Range {
        long cpMin;
        long cpMax;
    };
    Range chrg;
    const char* lpstrText;
    Range chrgText;
};

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kYellow = 0x00FFFF;
constexpr uint32_t kGrey = 0xCDCDCD;
constexpr int kHighestMarker = 31;
constexpr int kHighestStyle = 127;

} // namespace

CScintillaWnd::CScintillaWnd() = default;

bool CScintillaWnd::Create(const wxString& windowName, long style, const wxRect& rect,
                           wxWindow* parent, wxWindowID id) {
    if (!wxStyledTextCtrl::Create(parent, id, rect.GetPosition(), rect.GetSize(),
                                  style | wxBORDER_SUNKEN, windowName))
        return false;
    UsePopUp(wxSTC_POPUP_NEVER);
    Bind(wxEVT_CHAR, &CScintillaWnd::OnChar, this);
    Bind(wxEVT_LEFT_DOWN, &CScintillaWnd::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CScintillaWnd::OnLeftDoubleClick, this);
    return true;
}

void CScintillaWnd::InitEditor() {
    ClearDocumentStyle();
    // Style bits are not set: this component always has 8 of them, and its
    // message for setting them is deprecated and does nothing.
    SetIndentationGuides(sci::kIndentGuidesReal);
    SetTabWidth(3);
    SetIndent(3);
    SetCaretPeriod(4000);

    SetLexerProperties();

    SetFoldFlags(sci::kFoldFlagLineAfterContracted);
    SetMarginMask(sci::kMarginFold, static_cast<int>(sci::kMaskFolders));
    SetModEventMask(sci::kModInsertText | sci::kModDeleteText);
    SetMarginSensitive(sci::kMarginFold, true);

    MarkerDefine(31, sci::kMarkMinus);
    MarkerDefine(30, sci::kMarkPlus);
    for (int marker : {29, 28, 25, 26, 27})
        MarkerDefine(marker, sci::kMarkEmpty);

    // C styles: default, comment, line comment, keyword, string, preprocessor,
    // operator, identifier; the matched brace on green.
    const struct {
        int style;
        uint32_t colour;
    } foregrounds[] = {{0, 0x000000}, {1, 0x008000}, {2, 0x004000},  {5, 0xFF0000},
                       {6, 0x0014C8}, {9, 0xFF0000}, {10, 0x4000FF}, {11, 0x000000}};
    for (const auto& entry : foregrounds)
        SetStyleFore(entry.style, entry.colour);
    SetStyleBack(sci::kStyleBraceLight, 0x00FF00);

    ConvertEOLs(sci::kEolLf);
    SetEOLMode(sci::kEolLf);

    MarkerDefine(editor::kMarkerBreakPoint, sci::kMarkRoundRect);
    MarkerDefine(editor::kMarkerCurrentPc, sci::kMarkShortArrow);
    MarkerDefine(editor::kMarkerCodeLine, sci::kMarkSmallRect);
    MarkerDefine(editor::kMarkerCodeLineCovered, sci::kMarkEmpty);
    MarkerDefine(editor::kMarkerBackground, sci::kMarkBackground);

    ShowLineNumbers(true);
    ShowFoldMargin(false);
    ShowSelectionMargin(true);

    for (int marker = 0; marker <= kHighestMarker; ++marker)
        MarkerSetForeground(marker, ColourFromRef(kBlack));
    for (int marker = 0; marker <= kHighestMarker; ++marker)
        MarkerSetBackground(marker, ColourFromRef(kRed));
    MarkerSetForeground(editor::kMarkerBreakPoint, ColourFromRef(kBlack));
    MarkerSetBackground(editor::kMarkerBreakPoint, ColourFromRef(kRed));
    MarkerSetForeground(editor::kMarkerCurrentPc, ColourFromRef(kBlack));
    MarkerSetBackground(editor::kMarkerCurrentPc, ColourFromRef(kYellow));
    MarkerSetForeground(editor::kMarkerCodeLine, ColourFromRef(kGrey));
    MarkerSetBackground(editor::kMarkerCodeLine, ColourFromRef(kGrey));

    for (int style = 0; style <= kHighestStyle; ++style) {
        SetStyleFont(style, "Courier New");
        SetStyleSize(style, 11);
    }
}

void CScintillaWnd::SetLexerProperties() {
    for (const char* property :
         {"fold", "fold.html", "fold.html.preprocessor", "fold.comment", "fold.at.else",
          "fold.flags", "fold.preprocessor", "styling.within.preprocessor", "asp.default.language"})
        SetProperty(property, "1");
}

void CScintillaWnd::SetLexer(int lexer) {
    wxStyledTextCtrl::SetLexer(lexer);
    // This component hands its properties only to the lexer in use when they
    // are set: a new lexer gets them again.
    SetLexerProperties();
}

int CScintillaWnd::SetSearchFlags(int flags) {
    m_nSearchFlags = flags;
    return m_nSearchFlags;
}

// --- Text -------------------------------------------------------------------

void CScintillaWnd::SetText(const std::string& bytes) {
    const bool readOnly = GetReadOnly();
    SetReadOnly(false);
    SetTextRaw(bytes.c_str());
    SetReadOnly(readOnly);
    GotoPos(0);
    SetFocus();
}

std::string CScintillaWnd::GetText() {
    wxCharBuffer text = GetTextRaw();
    return std::string(text.data(), text.length());
}

void CScintillaWnd::GetTextString(std::string& out) {
    out = GetText();
}

bool CScintillaWnd::LoadFile(const std::string& path) {
    if (path.empty()) return true;
    size_t dot = path.rfind('.');
    std::string extension = dot == std::string::npos ? path : path.substr(dot + 1);
    SetLexer(GetLexerForFile(extension));

    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return false;
    if (!bytes.empty()) SetText(bytes);
    SetSavePoint();
    GotoPos(0);
    return true;
}

bool CScintillaWnd::SaveFile(const std::string& path) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    std::string bytes = GetText();
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

int CScintillaWnd::GetLexerForFile(const std::string& extension) {
    return editor::GetLexerForFile(extension);
}

// --- Margins ----------------------------------------------------------------

int CScintillaWnd::GetLineNumberDigits() {
    return editor::LineNumberDigits(GetLineCount());
}

int CScintillaWnd::GetLineNumberMarginWidth() {
    return TextWidth(sci::kStyleLineNumber, "9") * (GetLineNumberDigits() + 1);
}

void CScintillaWnd::ShowLineNumbers(bool show) {
    if (show == m_bLineNumbers) return;
    SetMarginWidth(sci::kMarginLineNumbers,
                   show ? GetLineNumberMarginWidth() + editor::kLineNumberMarginPadding : 0);
    m_bLineNumbers = show;
}

void CScintillaWnd::FitLineNumberMargin() {
    if (m_bLineNumbers)
        SetMarginWidth(sci::kMarginLineNumbers,
                       GetLineNumberMarginWidth() + editor::kLineNumberMarginPadding);
}

void CScintillaWnd::ShowSelectionMargin(bool show) {
    m_bSelectionMargin = show;
    SetMarginWidth(sci::kMarginSelection, show ? editor::kSymbolMarginWidth : 0);
}

void CScintillaWnd::ShowFoldMargin(bool show) {
    m_bFoldMargin = show;
    SetMarginWidth(sci::kMarginFold, show ? editor::kSymbolMarginWidth : 0);
}

// --- Caret and style --------------------------------------------------------

int CScintillaWnd::GetCurrentLine() {
    return LineFromPosition(GetCurrentPos()) + 1;
}

int CScintillaWnd::GetCurrentColumn() {
    return GetColumn(GetCurrentPos()) + 1;
}

int CScintillaWnd::GetCurrentStyle() {
    return GetStyleAt(GetCurrentPos());
}

int CScintillaWnd::GetCurrentFoldLevel() {
    int level = GetFoldLevel(LineFromPosition(GetCurrentPos()));
    return (level & sci::kFoldLevelNumberMask) - sci::kFoldLevelBase;
}

void CScintillaWnd::SetStyleFont(int style, const std::string& faceName) {
    StyleSetFaceName(style, wxString::FromUTF8(faceName));
}

void CScintillaWnd::SetStyleSize(int style, int points) {
    StyleSetSize(style, points);
}

void CScintillaWnd::SetStyleFore(int style, uint32_t colour) {
    StyleSetForeground(style, ColourFromRef(colour));
}

void CScintillaWnd::SetStyleBack(int style, uint32_t colour) {
    StyleSetBackground(style, ColourFromRef(colour));
}

void CScintillaWnd::SetStyleBold(int style, bool bold) {
    StyleSetBold(style, bold);
}

void CScintillaWnd::SetStyleItalic(int style, bool italic) {
    StyleSetItalic(style, italic);
}

void CScintillaWnd::SetStyleUnderline(int style, bool underline) {
    StyleSetUnderline(style, underline);
}

void CScintillaWnd::MatchBraces() {
    int before = GetCurrentPos() - 1;
    int match = BraceMatch(before);
    if (match >= 0)
        BraceHighlight(before, match);
    else
        BraceHighlight(-1, -1);
}

void CScintillaWnd::OnMarginClick(int margin, int position) {
    if (margin == sci::kMarginFold) ToggleFold(LineFromPosition(position));
}

void CScintillaWnd::Recolourise() {
    Colourise(0, -1);
}

// --- Breakpoint markers -----------------------------------------------------

void CScintillaWnd::EditLineMarkers(int line, bool place, int marker) {
    int index = line - 1;
    uint32_t markers = static_cast<uint32_t>(MarkerGet(index));
    editor::MarkerEdit edit =
        place ? editor::PlaceLineMarker(markers, marker) : editor::LiftLineMarker(markers, marker);
    for (int m = 0; m <= kHighestMarker; ++m)
        if (edit.remove & editor::MarkerBit(m)) MarkerDelete(index, m);
    for (int m = 0; m <= kHighestMarker; ++m)
        if (edit.add & editor::MarkerBit(m)) MarkerAdd(index, m);
}

void CScintillaWnd::AddBreakPointMarker(int line) {
    EditLineMarkers(line, true, editor::kMarkerBreakPoint);
}

void CScintillaWnd::RemoveBreakPointMarker(int line) {
    EditLineMarkers(line, false, editor::kMarkerBreakPoint);
}

bool CScintillaWnd::HasBreakPointMarker(int line) {
    return (MarkerGet(line - 1) & editor::MarkerBit(editor::kMarkerBreakPoint)) != 0;
}

void CScintillaWnd::GotoNextBreakPoint() {
    // From the line below the caret's.
    int next = MarkerNext(GetCurrentLine(), editor::MarkerBit(editor::kMarkerBreakPoint));
    if (next >= 0) GotoLine(next);
}

void CScintillaWnd::GotoPrevBreakPoint() {
    // From the line above the caret's.
    int previous =
        MarkerPrevious(GetCurrentLine() - 2, editor::MarkerBit(editor::kMarkerBreakPoint));
    if (previous >= 0) GotoLine(previous);
}

void CScintillaWnd::SetBreakPointToggle(BreakPointToggle toggle) {
    m_breakPointToggle = std::move(toggle);
}

int CScintillaWnd::LineAtPoint(int y) {
    int lineHeight = TextHeight(LineFromPosition(GetCurrentPos()));
    return editor::LineUnderPoint(y, GetFirstVisibleLine(), lineHeight);
}

void CScintillaWnd::ToggleBreakPointAt(int y) {
    if (m_breakPointToggle) m_breakPointToggle(*this, LineAtPoint(y));
}

// --- Line positioning -------------------------------------------------------

void CScintillaWnd::GotoLineNearTop(int line) {
    // Coming up from the last line scrolls the wanted line to the top.
    GotoLine(GetLineCount() - 1);
    GotoLine(line - 2);
}

void CScintillaWnd::GotoLineWithContext(int line) {
    GotoLine(line - 10);
    GotoLine(line - 1);
}

// --- Search and replace -----------------------------------------------------

bool CScintillaWnd::FindAndSelect(long start, long end, const std::string& bytes) {
    if (bytes.empty()) return false;
    TextToFind request{{start, end}, bytes.c_str(), {0, 0}};
    long hit = static_cast<long>(
        SendMsg(sci::kMsgFindText, m_nSearchFlags, reinterpret_cast<wxIntPtr>(&request)));
    if (hit < 0) return false;
    SetFocus();
    GotoPos(static_cast<int>(hit));
    SendMsg(sci::kMsgSetSel, request.chrgText.cpMin, request.chrgText.cpMax);
    return true;
}

bool CScintillaWnd::SearchForward(const std::string& bytes) {
    editor::SearchRange range = editor::ForwardSearchRange(GetSelectionEnd(), GetLength());
    return FindAndSelect(range.start, range.end, bytes);
}

bool CScintillaWnd::SearchBackward(const std::string& bytes) {
    editor::SearchRange range = editor::BackwardSearchRange(GetSelectionStart(), GetCurrentPos());
    return FindAndSelect(range.start, range.end, bytes);
}

std::string CScintillaWnd::GetSelectedText() {
    wxCharBuffer selection = GetSelectedTextRaw();
    std::string bytes(selection.data(), selection.length());
    // The component counts the terminating 0 byte in.
    if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    return bytes;
}

int CScintillaWnd::ReplaceTargetWith(const std::string& bytes) {
    int length = static_cast<int>(bytes.size());
    if (m_nSearchFlags & sci::kFindRegExp) return ReplaceTargetRERaw(bytes.data(), length);
    return ReplaceTargetRaw(bytes.data(), length);
}

void CScintillaWnd::ReplaceSelection(const std::string& bytes) {
    TargetFromSelection();
    ReplaceTargetWith(bytes);
}

long CScintillaWnd::SearchTargetFor(const std::string& bytes) {
    return static_cast<long>(
        SendMsg(sci::kMsgSearchInTarget, bytes.size(), reinterpret_cast<wxIntPtr>(bytes.data())));
}

int CScintillaWnd::ReplaceAll(const std::string& find, const std::string& replace,
                              bool inSelection) {
    if (find.empty()) return 0;
    wxStyledTextCtrl::SetSearchFlags(m_nSearchFlags);
    auto rangeEnd = [&] { return inSelection ? GetSelectionEnd() : GetTextLength(); };
    int end = rangeEnd();
    SetTargetStart(inSelection ? GetSelectionStart() : 0);
    SetTargetEnd(end);

    int count = 0;
    long hit = SearchTargetFor(find);
    // A zero-length hit (a regular expression matching nothing) would be
    // found again and again at the same place: it ends the replacing.
    while (hit >= 0 && hit < end && GetTargetEnd() > GetTargetStart()) {
        int replaced = ReplaceTargetWith(replace);
        ++count;
        end = rangeEnd();
        long next = hit + replaced;
        if (next > end) break;
        SetTargetStart(static_cast<int>(next));
        SetTargetEnd(end);
        hit = SearchTargetFor(find);
    }
    return count;
}

std::string CScintillaWnd::BytesForText(const wxString& text) {
    if (text.IsAscii()) return std::string(text.ToAscii());
    if (editor::IsValidUtf8(GetText())) return std::string(text.utf8_str());
    wxCharBuffer bytes = text.To8BitData();
    return std::string(bytes.data(), bytes.length());
}

wxString CScintillaWnd::TextForBytes(const std::string& bytes) {
    if (editor::IsValidUtf8(bytes)) return wxString::FromUTF8(bytes.data(), bytes.size());
    return wxString::From8BitData(bytes.data(), bytes.size());
}

// --- Mouse and keyboard -----------------------------------------------------

void CScintillaWnd::OnChar(wxKeyEvent& event) {
    // Swallowed: no character reaches the component, so none is typed. A key
    // with Ctrl or Alt (not both: that is AltGr typing a character) goes on
    // unhandled, so that the menus' shortcuts see it.
    if (event.RawControlDown() != event.AltDown()) event.Skip();
}

void CScintillaWnd::OnLeftDown(wxMouseEvent& event) {
    // The margins as they are drawn: the line-number margin carries a few
    // pixels of padding beyond its digits.
    const int marginsEnd =
        GetMarginWidth(sci::kMarginLineNumbers) + GetMarginWidth(sci::kMarginSelection);
    switch (editor::ClassifyLeftClick(event.GetX(), marginsEnd)) {
    case editor::LeftClickZone::Margin:
        ToggleBreakPointAt(event.GetY());
        event.Skip();
        break;
    case editor::LeftClickZone::Gap:
        break;
    case editor::LeftClickZone::Text:
        event.Skip();
        break;
    }
}

void CScintillaWnd::OnLeftDoubleClick(wxMouseEvent& event) {
    ToggleBreakPointAt(event.GetY());
    event.Skip();
}
