// Which stored docking layout the main frame takes back at start-up.
//
// A layout is the docking manager's text: a version word, then one part per
// pane ("name=pane1;caption=Register;state=...;dir=2;...") and one per dock
// row ("dock_size(2,0,0)=240"), each part ended by "|"; a "|" or ";" inside
// a value is written as "\|" or "\;".
#pragma once

#include <string>

// The state bits a stored layout may change: on a side pane and toolbar
// (shown, floating and the like), and on the centre pane (docking direction
// 5), which the user can neither hide nor float.
struct LayoutStateBits {
    unsigned sidePane = 0;
    unsigned centrePane = 0;
};

// Whether `stored` may replace `firstRun`, the layout the frame has before
// any is restored: the same version word, each pane of the frame exactly once
// and no other, for each pane the fields the first-run layout gives it and no
// other, a whole number wherever the first run has one, docking directions 0
// to 5 with the centre pane and only it at 5, whole and non-negative dock
// rows and sizes, and pane states that differ only in `bits`. Anything else
// (a damaged text, a layout of another program or of another set of panes)
// gives false.
bool IsRestorableLayout(const std::string& stored, const std::string& firstRun,
                        const LayoutStateBits& bits);
