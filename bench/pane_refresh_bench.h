// The refresh after one Step with every pane of the debugger live: the real
// application on exitrip-blinky, its windows on the display.
#pragma once

// Prints Step, the refresh after it and the repaint that follows, in the
// columns of the run-control table. Prints why instead when there is no
// display or no fixture project.
void ReportPaneRefresh();
