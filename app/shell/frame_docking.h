// The main frame's docking manager. The rows of docked panes give up room
// whenever the source windows would otherwise be left less than their least
// usable size (dock_fitting.h): after every layout, and at once while the
// frame is resized (by the user or the window manager), before anything is
// placed, so that no pane is ever laid over another. The frame cannot be
// made smaller than the rows fit in.
#pragma once

#include <wx/aui/aui.h>

class CFrameDocking : public wxAuiManager {
public:
    CFrameDocking();

    // Lays the panes out as the manager's own Update does, then fits the rows
    // of docked panes to the frame.
    void Update();

private:
    // The least client area of the frame in which the rows as they are now
    // fit around the source windows.
    wxSize LeastClientSize() const;
    // Gives the rows their fitted thickness; whether one changed.
    bool FitRows();
    // Makes the least client area the frame's least size. (Its border is
    // known only once the frame is shown, so this is done again on resizing.)
    void KeepLeastClientSize();
    void OnManagedSize(wxSizeEvent& event);
};
