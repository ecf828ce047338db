// What the main frame is made of: its two menu bars, its toolbars, its
// status-bar panes and its docking panes. Plain tables; the frame builds its
// windows from them.
#pragma once

#include <vector>

// One menu entry; id 0 is a separator.
struct MenuEntry {
    int id;
    const char* label;
};
struct MenuSpec {
    const char* title;
    std::vector<MenuEntry> entries;
};

// Menu 128, shown while no source window is open.
const std::vector<MenuSpec>& StartMenuBar();
// Menu 130, shown while a source window is open.
const std::vector<MenuSpec>& SourceMenuBar();

// One toolbar button; id 0 is a separator. `icon` names its picture in
// res/icons/ (without ".svg").
struct ToolEntry {
    int id;
    const char* label;
    const char* icon;
};
struct ToolBarSpec {
    const char* name; // the toolbar's window text
    std::vector<ToolEntry> tools;
};
const ToolBarSpec& SubToolBar();
const ToolBarSpec& DebugToolBar();

// The status bar: nine panes, the last of them the progress gauge.
constexpr int kStatusPaneCount = 9;
constexpr int kProgressPane = 8;
constexpr int kProgressPaneWidth = 200;
// Widths of the nine panes (-1 stretches).
const std::vector<int>& StatusPaneWidths();

enum class PanePlace {
    Bottom,          // docked at the bottom
    Right,           // docked at the right
    Left,            // docked at the left
    RightOfPrevious, // the tab group's own pane, right of Assembly
    InTabGroup,      // a page of the BreakPoint tab group
    Hidden,          // created hidden, never docked
};

struct PaneSpec {
    const char* caption;
    int controlId;
    int toggleId; // Window-menu command, 0 for none
    PanePlace place;
};
// A docking pane's first-run size in a frame of `frame` pixels. From 1200
// by 900 on, the centre keeps about 25 source lines, the Assembly pane and
// the tab group below it about 11 rows each, and the side panes room for
// their names and values; a smaller frame (a 640 by 480 screen) gives each
// side pane at most a fifth of its width, and the bottom row leaves the
// centre room for about ten source lines, so that the source windows keep a
// usable size.
struct PixelSize {
    int width;
    int height;
};
PixelSize FirstRunPaneSize(PanePlace place, PixelSize frame);

// The thirteen docking panes in order of creation.
const std::vector<PaneSpec>& DockingPanes();
// Indexes of the panes the frame gives their own classes.
constexpr int kAssemblyPane = 0;
constexpr int kRegisterPane = 1;
constexpr int kBreakPointPane = 4;
constexpr int kEmulatorPane = 11;
constexpr int kWorkSpacePane = 12;
// The pane index the Window-menu command toggles, -1 for none.
int PaneForToggle(int toggleId);
// The tab group's pages in their order: the group's own pane first, then the
// panes attached to it.
const std::vector<int>& TabGroupPanes();

// How a visual look (command 210 to 218) draws the docking panes.
struct LookStyle {
    bool flatTabs = false;     // plain flat tabs instead of the default ones
    bool smartDocking = false; // the docking hint shows where a pane will land
    unsigned background = 0;   // 0xRRGGBB of the pane frames, 0 for the system's colour
};
// The style of `look`; an id outside 210 to 218 gives the default look's.
LookStyle LookStyleFor(int look);
