#include "function_key_filter.h"

#include "command_rules.h"

#include <wx/dialog.h>
#include <wx/event.h>
#include <wx/window.h>

CFunctionKeyFilter::CFunctionKeyFilter(wxWindow* frame, std::function<void(int)> onRelease)
    : m_frame(frame), m_onRelease(std::move(onRelease)) {
    wxEvtHandler::AddFilter(this);
}

CFunctionKeyFilter::~CFunctionKeyFilter() {
    wxEvtHandler::RemoveFilter(this);
}

bool CFunctionKeyFilter::BelongsToFrame(wxObject* object) const {
    // Class checks by IsKindOf: wxDynamicCast casts before it checks.
    if (!object || !object->IsKindOf(wxCLASSINFO(wxWindow))) return false;
    // Floating panes are top-level windows too, but their parent is the frame.
    for (auto* window = static_cast<wxWindow*>(object); window; window = window->GetParent()) {
        if (window == m_frame) return true;
        if (window->IsKindOf(wxCLASSINFO(wxDialog))) return false;
    }
    return false;
}

int CFunctionKeyFilter::FilterEvent(wxEvent& event) {
    wxEventType type = event.GetEventType();
    if (type != wxEVT_CHAR_HOOK && type != wxEVT_KEY_DOWN && type != wxEVT_KEY_UP &&
        type != wxEVT_CHAR)
        return Event_Skip;
    int functionNumber = static_cast<wxKeyEvent&>(event).GetKeyCode() - WXK_F1 + 1;
    if (!IsDebugFunctionKey(functionNumber)) return Event_Skip;
    if (!BelongsToFrame(event.GetEventObject())) return Event_Skip;
    if (type == wxEVT_KEY_UP && m_onRelease) m_onRelease(functionNumber);
    return Event_Processed;
}
