#include "value_tip_view.h"

#include "project_paths.h"
#include "scintilla_wnd.h"
#include "target_flags.h"
#include "value_tip.h"
#include "variable_rows.h"
#include "window_file.h"

#include <wx/settings.h>

namespace {

constexpr int kDwellMilliseconds = 400;
std::string g_shownTip;

// The tip for the character under a point of the editor's window; none over
// anything but a variable's name.
std::optional<std::string> TipAt(CScintillaWnd& editor, const std::string& title,
                                 const wxPoint& point) {
    if (!g_bProjectLoaded || ProjectFileOfWindow(title) == kCantSearch) return std::nullopt;
    const int position = editor.CharPositionFromPointClose(point.x, point.y);
    if (position < 0) return std::nullopt;
    const int line = editor.LineFromPosition(position);
    const wxCharBuffer text = editor.GetLineRaw(line);
    const std::string lineText(text.data() ? text.data() : "", text.length());
    const std::string identifier =
        IdentifierAt(lineText, position - editor.PositionFromLine(line) + 1);
    if (identifier == "-1") return std::nullopt;
    return ValueTipText(identifier, ShownProgramCounter());
}

} // namespace

void AttachValueTips(CScintillaWnd* editor, const std::string& title) {
    editor->SetMouseDwellTime(kDwellMilliseconds);
    editor->CallTipSetBackground(wxSystemSettings::GetColour(wxSYS_COLOUR_INFOBK));
    editor->CallTipSetForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_INFOTEXT));
    editor->Bind(wxEVT_STC_DWELLSTART, [editor, title](wxStyledTextEvent& event) {
        event.Skip();
        const std::optional<std::string> tip =
            TipAt(*editor, title, wxPoint(event.GetX(), event.GetY()));
        if (!tip) return;
        g_shownTip = *tip;
        editor->CallTipShow(editor->CharPositionFromPointClose(event.GetX(), event.GetY()),
                            wxString::FromUTF8(*tip));
    });
    // The tip goes when the mouse moves on, also out of the window (to
    // another source window's tab, say).
    auto hide = [editor] {
        if (!editor->CallTipActive()) return;
        editor->CallTipCancel();
        g_shownTip.clear();
    };
    editor->Bind(wxEVT_STC_DWELLEND, [hide](wxStyledTextEvent& event) {
        event.Skip();
        hide();
    });
    editor->Bind(wxEVT_LEAVE_WINDOW, [hide](wxMouseEvent& event) {
        event.Skip();
        hide();
    });
}

const std::string& ShownValueTip() {
    return g_shownTip;
}
