// The numbers of the editing component's interface that the editor uses.
//
// They are plain constants so that the code without a window can use them;
// a windowed test checks every one against wxWidgets' own wxSTC_* values.
#pragma once

#include <cstdint>

namespace sci {

// Messages sent by number, where wxStyledTextCtrl has no typed method (or
// none that takes the text as raw bytes).
constexpr int kMsgFindText = 2150;
constexpr int kMsgSetSel = 2160;
constexpr int kMsgSearchInTarget = 2197;

// Lexers, by the component's lexer numbers. 13 (XCODE) and 29, 30 (ASP, PHP)
// have no lexer compiled into this Scintilla: files of those kinds show
// without colouring, as the component falls back to its null lexer.
constexpr int kLexNull = 1;
constexpr int kLexPython = 2;
constexpr int kLexCpp = 3;
constexpr int kLexHtml = 4;
constexpr int kLexXml = 5;
constexpr int kLexPerl = 6;
constexpr int kLexSql = 7;
constexpr int kLexVb = 8;
constexpr int kLexProperties = 9;
constexpr int kLexErrorList = 10;
constexpr int kLexMakefile = 11;
constexpr int kLexBatch = 12;
constexpr int kLexXcode = 13;
constexpr int kLexLatex = 14;
constexpr int kLexLua = 15;
constexpr int kLexDiff = 16;
constexpr int kLexConf = 17;
constexpr int kLexPascal = 18;
constexpr int kLexAve = 19;
constexpr int kLexAda = 20;
constexpr int kLexLisp = 21;
constexpr int kLexRuby = 22;
constexpr int kLexEiffel = 23;
constexpr int kLexEiffelKw = 24;
constexpr int kLexTcl = 25;
constexpr int kLexNnCronTab = 26;
constexpr int kLexBullant = 27;
constexpr int kLexVbScript = 28;
constexpr int kLexAsp = 29;
constexpr int kLexPhp = 30;
constexpr int kLexBaan = 31;
constexpr int kLexMatlab = 32;
constexpr int kLexScriptol = 33;
constexpr int kLexAsm = 34;
constexpr int kLexCppNoCase = 35;
constexpr int kLexFortran = 36;
constexpr int kLexF77 = 37;
constexpr int kLexCss = 38;
constexpr int kLexPov = 39;
constexpr int kLexLout = 40;
constexpr int kLexEScript = 41;

// Marker symbols.
constexpr int kMarkRoundRect = 1;
constexpr int kMarkSmallRect = 3;
constexpr int kMarkShortArrow = 4;
constexpr int kMarkEmpty = 5;
constexpr int kMarkMinus = 7;
constexpr int kMarkPlus = 8;
constexpr int kMarkBackground = 22;

// Search flags.
constexpr int kFindMatchCase = 0x4;
constexpr int kFindRegExp = 0x200000;

// Predefined styles.
constexpr int kStyleLineNumber = 33;
constexpr int kStyleBraceLight = 34;

// Margins: line numbers, markers (selection margin), folding.
constexpr int kMarginLineNumbers = 0;
constexpr int kMarginSelection = 1;
constexpr int kMarginFold = 2;

// Other values sent by the editor.
constexpr uint32_t kMaskFolders = 0xFE000000;
constexpr int kFoldFlagLineAfterContracted = 0x10;
constexpr int kModInsertText = 0x1;
constexpr int kModDeleteText = 0x2;
constexpr int kEolLf = 2;
constexpr int kIndentGuidesReal = 1;
constexpr int kFoldLevelBase = 0x400;
constexpr int kFoldLevelNumberMask = 0xFFF;

} // namespace sci
