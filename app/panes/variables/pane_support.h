// What the variable and symbol panes share: the radix popup, the picture on
// the lists' headers and the list rows as the value code reads them.
#pragma once

#include "typed_values.h"

#include <wx/bitmap.h>

#include <functional>
#include <vector>

class CReportListCtrl;
class wxWindow;

// The popup of the radix commands at a screen point: "BINARY\t(&B)" (40050),
// "OCTAVO\t(&O)" (40051), "DECIMAL\t(&D)" (40052), "HEX\t(&X)" (40053).
// `chosen` gets 2, 8, 10 or 16. Only while a project is loaded.
void ShowRadixMenu(wxWindow* pane, const wxPoint& screenPoint,
                   const std::function<void(int radix)>& chosen);

// The radix of a radix command; 0 for another command.
int RadixOfCommand(int command);

// The picture the watch and emulator lists carry on their header.
std::vector<wxBitmap> ListHeaderImages();
void SetListHeaderImages(CReportListCtrl* list);

// A report list's cells as the value code reads and writes them.
class ListRows : public VariableRows {
public:
    explicit ListRows(CReportListCtrl& list) : m_list(list) {}
    std::string GetItemText(int row, int column) const override;
    void SetItemText(int row, int column, const std::string& text) override;

protected:
    CReportListCtrl& m_list;
};

// Writes the four cells of a row (Name, Value, Type, Address).
struct VariableRowTexts;
void WriteVariableRow(CReportListCtrl& list, int row, const VariableRowTexts& texts);
