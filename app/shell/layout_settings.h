// The main frame's docking layout, kept in the settings from one run to the
// next.
#pragma once

#include <wx/string.h>

#include <vector>

class wxAuiManager;

// Stores the layout `aui` has now.
void SaveDockingLayout(wxAuiManager& aui);

// Gives `aui` the stored layout when it fits the frame's panes (see
// IsRestorableLayout); otherwise, or when none is stored, the layout stays
// the first-run one. The panes keep their own captions, and the ones named in
// `alwaysShown` (those no command shows again) stay shown. Does not update
// the frame.
void RestoreDockingLayout(wxAuiManager& aui, const std::vector<wxString>& alwaysShown);
