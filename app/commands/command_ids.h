// Command ids of the menus, toolbars and function keys.
//
// The numbers are the program's own command ids; the window layer keeps
// them as its event ids, except for the four commands that the toolkit has
// stock ids for (see the window layer's id mapping).
#pragma once

namespace cmd {

// Project
constexpr int kOpen = 57601;
constexpr int kClose = 32876;
constexpr int kReload = 32896;
constexpr int kExit = 57665;
// Help
constexpr int kAbout = 57664;

// Debug
constexpr int kBoardReset = 32918;
constexpr int kImageLoad = 32898;
constexpr int kContinue = 32899;
constexpr int kStop = 32900;
constexpr int kStep = 32901;
constexpr int kNext = 32902;
constexpr int kStepi = 32903;
constexpr int kNexti = 32904;
constexpr int kRunToCursorLine = 32924;
constexpr int kSetBreak = 32812;
constexpr int kClearBreak = 32819;
constexpr int kClearAllBreaks = 32908;

// The BreakPoint pane's toolbar (enabled as the debug commands are)
constexpr int kRemoveBreakPoint = 40043;
constexpr int kRemoveAllBreakPoints = 40028;

// Tool
constexpr int kInitDebugger = 32909;
constexpr int kFind = 57636;
constexpr int kGotoSourceLine = 32787;
constexpr int kGotoNextBreakPoint = 32820;
constexpr int kGotoPreBreakPoint = 32821;

// Window (pane toggles)
constexpr int kSearchWindow = 32860;
constexpr int kLocalVariableWindow = 40080;
constexpr int kGlobalVariableWindow = 32867;
constexpr int kSymbolWindow = 32868;
constexpr int kBreakWindow = 32869;
constexpr int kIDataMemoryWindow = 32870;
constexpr int kExternalMemoryWindow = 40077;
constexpr int kCodeMemoryWindow = 40078;
constexpr int kFlashMemoryWindow = 40082;
constexpr int kAssemblyWindow = 32871;
constexpr int kRegisterWindow = 32872;

// Environment
constexpr int kFontStyle = 32833;
constexpr int kFontColor = 32831;
constexpr int kBackgroundColor = 32832;

// Analysis (no menu entry; enabled while a project is loaded)
constexpr int kAnalysisPrintTrace = 32921;
constexpr int kAnalysisStart = 32922;
constexpr int kAnalysisReport = 32923;

// Visual looks
constexpr int kFirstLook = 210;
constexpr int kLastLook = 218;
constexpr int kDefaultLook = 214;

} // namespace cmd
