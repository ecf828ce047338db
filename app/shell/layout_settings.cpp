#include "layout_settings.h"

#include "app_settings.h"
#include "docking_layout.h"

#include <wx/aui/framemanager.h>

#include <map>

namespace {

// What the user changes by hiding, showing, floating and dragging panes.
LayoutStateBits UserStateBits() {
    LayoutStateBits bits;
    bits.centrePane =
        wxAuiPaneInfo::optionActive | wxAuiPaneInfo::savedHiddenState | wxAuiPaneInfo::actionPane;
    bits.sidePane = bits.centrePane | wxAuiPaneInfo::optionHidden | wxAuiPaneInfo::optionFloating |
                    wxAuiPaneInfo::optionMaximized;
    return bits;
}

} // namespace

void SaveDockingLayout(wxAuiManager& aui) {
    WriteDockingLayout(aui.SavePerspective().ToStdString(wxConvUTF8));
}

void RestoreDockingLayout(wxAuiManager& aui, const std::vector<wxString>& alwaysShown) {
    const std::string stored = ReadDockingLayout();
    if (stored.empty()) return;
    const std::string firstRun = aui.SavePerspective().ToStdString(wxConvUTF8);
    if (!IsRestorableLayout(stored, firstRun, UserStateBits())) return;
    std::map<wxString, wxString> captions;
    wxAuiPaneInfoArray& panes = aui.GetAllPanes();
    for (size_t i = 0; i < panes.GetCount(); ++i)
        captions[panes[i].name] = panes[i].caption;
    aui.LoadPerspective(wxString::FromUTF8(stored), false);
    for (size_t i = 0; i < panes.GetCount(); ++i)
        panes[i].Caption(captions[panes[i].name]);
    for (const wxString& name : alwaysShown)
        aui.GetPane(name).Show();
}
