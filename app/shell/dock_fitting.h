// How the rows of docked panes make room for the source windows when the
// frame gets smaller: they give up room, down to their least thickness, until
// the centre is back to its least usable size. Toolbar rows keep theirs.
#pragma once

#include <vector>

// The least room in which the source windows count as usable: about ten
// lines of forty characters with the window tabs.
constexpr int kLeastCentreWidth = 320;
constexpr int kLeastCentreHeight = 160;
// A row of panes keeps at least its caption, the panes' title box and tool
// row and a few lines of their lists.
constexpr int kLeastDockThickness = 100;

enum class DockSide { Top, Bottom, Left, Right };

struct DockRow {
    DockSide side;
    int size;       // thickness in pixels, across the side it docks to
    int least;      // it is made no thinner than this
    bool resizable; // a row of panes (a sash beside it); false for toolbars
};

struct ClientSize {
    int width;
    int height;
};

// The thicknesses of `rows` (in their order) in a client area of `client`,
// with `sash` pixels beside each resizable row. Where the centre is narrower
// or lower than its least size, the resizable rows across that direction
// shrink, each by its share of the room it has above its least thickness;
// where the centre has room, nothing changes.
std::vector<int> FitDockRows(const std::vector<DockRow>& rows, ClientSize client, int sash);

// The least client area in which `rows` fit at their least thickness (the
// toolbars at theirs) around a centre of its least size.
ClientSize LeastClientSize(const std::vector<DockRow>& rows, int sash);
