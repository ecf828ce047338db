#include "frame_layout.h"

#include "command_ids.h"

#include <algorithm>

namespace {

// What a short frame keeps above the bottom row: the menu bar, the two
// toolbars, the status bar and about ten source lines.
constexpr int kCentreBand = 310;

const MenuSpec kHelpMenu = {"&Help", {{cmd::kAbout, "&About Ostrel Debugger"}}};

} // namespace

const std::vector<MenuSpec>& StartMenuBar() {
    static const std::vector<MenuSpec> menus = {{"&Project",
                                                 {{cmd::kOpen, "&Open\tCtrl+O"},
                                                  {cmd::kClose, "&Close\tCtrl+Q"},
                                                  {0, ""},
                                                  {cmd::kExit, "&Exit"}}},
                                                kHelpMenu};
    return menus;
}

const std::vector<MenuSpec>& SourceMenuBar() {
    static const std::vector<MenuSpec> menus = {
        {"&Project",
         {{cmd::kOpen, "&Open\tCtrl+O"},
          {cmd::kClose, "&Close\tCtrl+Q"},
          {cmd::kReload, "&Reload\tF4"},
          {0, ""},
          {cmd::kExit, "&Exit"}}},
        {"&Debug",
         {{cmd::kBoardReset, "Board &Reset\tF2"},
          {cmd::kImageLoad, "&Image Load\tF3"},
          {cmd::kContinue, "&Continue\tF5"},
          {cmd::kStop, "&Stop\tF6"},
          {cmd::kStep, "&Step\tF11"},
          {cmd::kNext, "&Next\tF10"},
          {cmd::kStepi, "&Stepi\tF8"},
          {cmd::kNexti, "&Nexti\tF7"},
          {cmd::kRunToCursorLine, "&Run To Cursor Line"},
          {cmd::kSetBreak, "&Set Break\tF9"},
          {cmd::kClearBreak, "&Clear Break\tF9"},
          {cmd::kClearAllBreaks, "&Clear All Breaks"}}},
        {"&Tool",
         {{cmd::kInitDebugger, "&Init Debugger and Board reset"},
          {0, ""},
          {cmd::kFind, "&Find\tCtrl+F"},
          {cmd::kGotoSourceLine, "&Goto Source Line\tCtrl+G"},
          {0, ""},
          {cmd::kGotoNextBreakPoint, "Goto &Next Break Point"},
          {cmd::kGotoPreBreakPoint, "Goto &Pre Break Point"}}},
        {"&Window",
         {{cmd::kSearchWindow, "&Search Window"},
          {cmd::kLocalVariableWindow, "&Local Variable Window"},
          {cmd::kGlobalVariableWindow, "&Global Variable Window"},
          {cmd::kSymbolWindow, "&Symbol Window"},
          {cmd::kBreakWindow, "&Break Window"},
          {cmd::kIDataMemoryWindow, "&IData Memory Window"},
          {cmd::kExternalMemoryWindow, "&External Memory Window"},
          {cmd::kCodeMemoryWindow, "&Code Memory Window"},
          {cmd::kFlashMemoryWindow, "&Flash Memory Window"},
          {cmd::kAssemblyWindow, "&Assembly Window"},
          {cmd::kRegisterWindow, "&Register Window"}}},
        {"&Environment",
         {{cmd::kFontStyle, "Font &Style"},
          {cmd::kFontColor, "Font &Color"},
          {cmd::kBackgroundColor, "&Background Color"}}},
        kHelpMenu};
    return menus;
}

const ToolBarSpec& SubToolBar() {
    static const ToolBarSpec bar = {
        "Sub ToolBar",
        {{cmd::kOpen, "Open", "open"},
         {cmd::kReload, "Reload", "reload"},
         {0, "", ""},
         {cmd::kGotoNextBreakPoint, "Goto Next Break Point", "goto_next_break"},
         {cmd::kGotoPreBreakPoint, "Goto Pre Break Point", "goto_pre_break"},
         {0, "", ""},
         {cmd::kFontStyle, "Font Style", "font_style"},
         {cmd::kFontColor, "Font Color", "font_color"},
         {cmd::kBackgroundColor, "Background Color", "background_color"},
         {0, "", ""},
         {cmd::kSearchWindow, "Search", "search_window"},
         {cmd::kLocalVariableWindow, "Local Variable", "local_variable_window"},
         {cmd::kGlobalVariableWindow, "Global Variable", "global_variable_window"},
         {cmd::kSymbolWindow, "Symbol", "symbol_window"},
         {cmd::kBreakWindow, "Break", "break_window"},
         {cmd::kIDataMemoryWindow, "IData Memory", "idata_memory_window"},
         {cmd::kExternalMemoryWindow, "External Memory", "external_memory_window"},
         {cmd::kCodeMemoryWindow, "Code Memory", "code_memory_window"},
         {cmd::kFlashMemoryWindow, "Flash Memory", "flash_memory_window"},
         {cmd::kAssemblyWindow, "Assembly", "assembly_window"},
         {cmd::kRegisterWindow, "Register", "register_window"}}};
    return bar;
}

const ToolBarSpec& DebugToolBar() {
    static const ToolBarSpec bar = {
        "Debug ToolBar",
        {{cmd::kInitDebugger, "Init Debugger", "init_debugger"},
         {0, "", ""},
         {cmd::kBoardReset, "Board Reset", "board_reset"},
         {cmd::kImageLoad, "Image Load", "image_load"},
         {cmd::kSetBreak, "Set Break", "set_break"},
         {cmd::kClearBreak, "Clear Break", "clear_break"},
         {cmd::kClearAllBreaks, "Clear All Breaks", "clear_all_breaks"},
         {0, "", ""},
         {cmd::kContinue, "Continue", "continue"},
         {cmd::kStop, "Stop", "stop"},
         {cmd::kStep, "Step", "step"},
         {cmd::kNext, "Next", "next"},
         {cmd::kStepi, "Stepi", "stepi"},
         {cmd::kNexti, "Nexti", "nexti"},
         {cmd::kRunToCursorLine, "Run To Cursor Line", "run_to_cursor"}}};
    return bar;
}

const std::vector<int>& StatusPaneWidths() {
    // The editor's folding level, style and caret position, the four key
    // states, then the progress gauge.
    static const std::vector<int> widths = {-1, 110, 70, 240, 40, 40, 40, 40, kProgressPaneWidth};
    return widths;
}

const std::vector<PaneSpec>& DockingPanes() {
    static const std::vector<PaneSpec> panes = {
        {"Assembly", 404, cmd::kAssemblyWindow, PanePlace::Bottom},
        {"Register", 40005, cmd::kRegisterWindow, PanePlace::Right},
        {"Search", 40011, cmd::kSearchWindow, PanePlace::InTabGroup},
        {"Local Variable", 40079, cmd::kLocalVariableWindow, PanePlace::InTabGroup},
        {"BreakPoint", 40025, cmd::kBreakWindow, PanePlace::RightOfPrevious},
        {"Symbol", 40032, cmd::kSymbolWindow, PanePlace::InTabGroup},
        {"IData Memory", 40033, cmd::kIDataMemoryWindow, PanePlace::InTabGroup},
        {" External Memory", 40074, cmd::kExternalMemoryWindow, PanePlace::InTabGroup},
        {" Flash Memory", 40081, cmd::kFlashMemoryWindow, PanePlace::InTabGroup},
        {"Code Memory", 40075, cmd::kCodeMemoryWindow, PanePlace::InTabGroup},
        {"Global Variable", 40045, cmd::kGlobalVariableWindow, PanePlace::InTabGroup},
        {"Emulator", 40054, 0, PanePlace::Hidden},
        {"WorkSpace", 40063, 0, PanePlace::Left}};
    return panes;
}

PixelSize FirstRunPaneSize(PanePlace place, PixelSize frame) {
    const int bottomHeight = std::min(340, frame.height - kCentreBand);
    switch (place) {
    case PanePlace::Bottom:
        return {std::min(640, frame.width * 54 / 100), bottomHeight};
    case PanePlace::InTabGroup:
    case PanePlace::RightOfPrevious:
        return {std::min(520, frame.width * 44 / 100), bottomHeight};
    default:
        return {std::min(240, frame.width / 5), std::min(300, frame.height / 3)};
    }
}

int PaneForToggle(int toggleId) {
    if (toggleId == 0) return -1;
    const auto& panes = DockingPanes();
    for (size_t i = 0; i < panes.size(); ++i)
        if (panes[i].toggleId == toggleId) return static_cast<int>(i);
    return -1;
}

const std::vector<int>& TabGroupPanes() {
    // BreakPoint, then Search, Local Variable, Global Variable, Symbol, IData
    // Memory, External Memory, Flash Memory and Code Memory.
    static const std::vector<int> pages = {4, 2, 3, 10, 5, 6, 7, 8, 9};
    return pages;
}

LookStyle LookStyleFor(int look) {
    if (look < cmd::kFirstLook || look > cmd::kLastLook) look = cmd::kDefaultLook;
    LookStyle style;
    switch (look) {
    case 210: // plain
    case 212: // system
        break;
    case 211: // flat
        style.flatTabs = true;
        break;
    case 213:
        style.flatTabs = true;
        style.smartDocking = true;
        break;
    case 214:
        style.smartDocking = true;
        break;
    case 215: // blue
        style.smartDocking = true;
        style.background = 0xC4D8F0;
        break;
    case 216: // black
        style.smartDocking = true;
        style.background = 0x535353;
        break;
    case 217: // silver
        style.smartDocking = true;
        style.background = 0xDDE3EA;
        break;
    case 218: // aqua
        style.smartDocking = true;
        style.background = 0xBFD9E3;
        break;
    }
    return style;
}
