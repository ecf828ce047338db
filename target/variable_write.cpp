#include "variable_write.h"

#include "debugger_views.h"
#include "symbol_lookup.h"
#include "target_flags.h"
#include "target_protocol.h"
#include "value_texts.h"

namespace {

// The widest of 1, 2 and 4 bytes that fits a symbol of `size` bytes (0: size unknown).
int FitWidth(int width, uint32_t size) {
    if (size == 0) return width;
    while (width > 1 && uint32_t(width) > size)
        width /= 2;
    return width;
}

bool MayWrite() {
    return g_bProjectLoaded && !g_bTargetBusy;
}

// Writes the edited cell when it is the Value column, then rewrites the rows.
// False when the name is no data symbol: nothing written, nothing rewritten.
bool WriteAndRewriteRows(EditedVariableList& list) {
    const int row = list.EditedRow();
    if (list.EditedColumn() == variable_column::kValue) {
        const std::string name = list.GetItemText(row, variable_column::kName);
        if (!LookupSymbol(name, kSelectData)) return false;
        WriteEditedVariable(name, list.GetItemText(row, variable_column::kValue),
                            list.GetItemText(row, variable_column::kType));
    }
    for (int r = 0; r < kRefreshedVariableRows; ++r)
        RefreshVariableRow(list, r, list.GetItemText(r, variable_column::kName));
    return true;
}

} // namespace

bool ValueOfEditedText(const std::string& text, uint32_t& value) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    std::string number = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    const bool hex =
        number.size() > 2 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X');
    if (hex) {
        number[1] = 'x';
    } else {
        // A decimal number, whole: digits after an optional sign.
        const size_t digits = number[0] == '+' || number[0] == '-' ? 1 : 0;
        if (number.size() == digits ||
            number.find_first_not_of("0123456789", digits) != std::string::npos)
            return false;
    }
    const std::optional<uint32_t> result = HexStringToInt(ToHexText(number));
    if (!result) return false;
    value = *result;
    return true;
}

int WriteEditedVariable(const std::string& name, const std::string& valueText,
                        const std::string& type) {
    uint32_t value = 0;
    if (!ValueOfEditedText(valueText, value)) return 0;
    const SymbolInfo* symbol = LookupSymbol(name, kSelectData);
    if (!symbol) return 0;
    const int width = FitWidth(WriteWidthOfType(type), symbol->m_nSize);
    if (!WriteTargetValue(symbol->m_dwAddress, value, width, int(symbol->m_nSpace))) return 0;
    PatchTypedValue(symbol->m_nSpace, width, symbol->m_dwAddress, value);
    return 1;
}

void WriteVariableValue(EditedVariableList& list) {
    if (!MayWrite()) return;
    const int mark = list.GetSelectionMark();
    if (!WriteAndRewriteRows(list)) return;
    list.SetRowSelected(mark, false);
    list.SetRowSelected(mark + 1, true);
}

void WriteVariableValueAndRefresh(EditedVariableList& list) {
    if (!MayWrite()) return;
    if (!WriteAndRewriteRows(list)) return;
    DebuggerPanes* panes = GetDebuggerPanes();
    if (!panes) return;
    panes->UpdateGlobalVariableValues();
    panes->FillVariables();
    panes->FillLocalVariables();
    panes->RefreshIDataWindow();
}
