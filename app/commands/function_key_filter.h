// The debugger's function keys, seen before any window of the main frame.
//
// Presses of F2 to F12 are swallowed so that neither the menu bar's F10 key,
// the menu labels' accelerators nor the editor act on them; releases are
// handed to the frame. Keys in dialogs (and other top-level windows that are
// not the main frame's) are left alone.
#pragma once

#include <wx/eventfilter.h>

#include <functional>

class wxObject;
class wxWindow;

class CFunctionKeyFilter : public wxEventFilter {
public:
    // `onRelease` gets the function-key number (2 to 12) of each release.
    CFunctionKeyFilter(wxWindow* frame, std::function<void(int)> onRelease);
    ~CFunctionKeyFilter() override;

    int FilterEvent(wxEvent& event) override;

private:
    bool BelongsToFrame(wxObject* object) const;

    wxWindow* m_frame;
    std::function<void(int)> m_onRelease;
};
