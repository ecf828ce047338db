#include "pane_support.h"

#include "report_list_ctrl.h"
#include "target_flags.h"
#include "variable_rows.h"
#include "wx_command_ids.h"

#include <wx/dcmemory.h>
#include <wx/menu.h>
#include <wx/window.h>

#include <string>

namespace {

struct RadixCommand {
    int command;
    int radix;
    const char* label;
};

constexpr RadixCommand kRadixCommands[] = {
    {40050, 2, "BINARY\t(&B)"},
    {40051, 8, "OCTAVO\t(&O)"},
    {40052, 10, "DECIMAL\t(&D)"},
    {40053, 16, "HEX\t(&X)"},
};

} // namespace

int RadixOfCommand(int command) {
    for (const RadixCommand& entry : kRadixCommands)
        if (entry.command == command) return entry.radix;
    return 0;
}

void ShowRadixMenu(wxWindow* pane, const wxPoint& screenPoint,
                   const std::function<void(int radix)>& chosen) {
    if (!g_bProjectLoaded) return;
    wxMenu menu;
    for (const RadixCommand& entry : kRadixCommands) {
        // The toolkit reads a text after a tab as a shortcut key; "(&B)" is the
        // item's mnemonic, so it stays beside the name.
        std::string label = entry.label;
        label.replace(label.find('\t'), 1, " ");
        menu.Append(WxCommandId(entry.command), label);
    }
    menu.Bind(wxEVT_MENU, [chosen](wxCommandEvent& event) {
        if (int radix = RadixOfCommand(CommandFromWxId(event.GetId()))) chosen(radix);
    });
    pane->PopupMenu(&menu, screenPoint == wxDefaultPosition ? screenPoint
                                                            : pane->ScreenToClient(screenPoint));
}

std::vector<wxBitmap> ListHeaderImages() {
    // A small value tag: a blue card with two lines of "text".
    wxBitmap bitmap(16, 16);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(wxColour(255, 0, 255)));
        dc.Clear();
        dc.SetPen(wxPen(wxColour(30, 60, 140)));
        dc.SetBrush(wxBrush(wxColour(90, 140, 220)));
        dc.DrawRoundedRectangle(1, 3, 14, 10, 2);
        dc.SetPen(*wxWHITE_PEN);
        dc.DrawLine(4, 6, 12, 6);
        dc.DrawLine(4, 9, 10, 9);
    }
    bitmap.SetMask(new wxMask(bitmap, wxColour(255, 0, 255)));
    return {bitmap};
}

void SetListHeaderImages(CReportListCtrl* list) {
    list->SetHeaderImages(ListHeaderImages());
}

std::string ListRows::GetItemText(int row, int column) const {
    return m_list.GetItemText(row, column);
}

void ListRows::SetItemText(int row, int column, const std::string& text) {
    m_list.SetItemText(row, column, text);
}

void WriteVariableRow(CReportListCtrl& list, int row, const VariableRowTexts& texts) {
    // Unchanged cells are not written: an edit running in the list goes on.
    const std::string* cells[] = {&texts.name, &texts.value, &texts.type, &texts.address};
    for (int column = 0; column < 4; ++column)
        if (list.GetItemText(row, column) != *cells[column])
            list.SetItemText(row, column, *cells[column]);
}
