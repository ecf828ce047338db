#include "list_memory_ctrl.h"

#include <wx/font.h>

namespace {

bool IsHexDigit(int c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

CListMemoryCtrl::CListMemoryCtrl() : CReportListCtrl(controls::ReportListPolicy::MemoryGrid()) {}

bool CListMemoryCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                             const wxSize& size) {
    if (!CReportListCtrl::Create(parent, id, pos, size)) return false;
    SetFont(wxFont(wxFontInfo().Family(wxFONTFAMILY_TELETYPE)));
    return true;
}

void CListMemoryCtrl::ReplaceRows(const std::vector<std::vector<std::string>>& rows) {
    EndEdit(true);
    Freeze();
    DeleteAllItems();
    for (const std::vector<std::string>& row : rows)
        InsertRow(GetItemCount(), row);
    Thaw();
}

void CListMemoryCtrl::UpdateRows(const std::vector<std::vector<std::string>>& rows) {
    if (static_cast<int>(rows.size()) != GetItemCount()) {
        ReplaceRows(rows);
        return;
    }
    for (int row = 0; row < GetItemCount(); ++row) {
        for (int column = 0; column < GetColumnCount(); ++column) {
            const std::string& text =
                column < static_cast<int>(rows[row].size()) ? rows[row][column] : std::string();
            if (GetItemText(row, column) != text) SetItemText(row, column, text);
        }
    }
}

int CListMemoryCtrl::MinEditBoxWidth() const {
    constexpr int kBoxPadding = 24;
    return GetTextExtent(wxString(size_t(cellWidth_), '0')).x + kBoxPadding;
}

void CListMemoryCtrl::PrepareEditBox(wxTextCtrl& box) {
    // Hexadecimal digits only; keys that type nothing (arrows, Backspace,
    // Delete, the clipboard shortcuts) keep their use.
    box.Bind(wxEVT_CHAR, [](wxKeyEvent& event) {
        const int c = static_cast<int>(event.GetUnicodeKey());
        if (c == WXK_NONE || c < 0x20 || c == WXK_DELETE || event.ControlDown() || IsHexDigit(c))
            event.Skip();
    });
}
