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

// A generic pointer goes as three one-byte writes, memory type first, so each
// byte lands at its own address in the order the compiler stores them.
int WriteGenericPointer(const SymbolInfo& symbol, const std::string& text) {
    const std::optional<uint32_t> pointer = GenericPointerOfText(text);
    if (!pointer) return 0;
    for (int i = 0; i < kGenericPointerBytes; ++i) {
        const uint32_t address = symbol.m_dwAddress + uint32_t(i);
        const uint32_t byte = *pointer >> (8 * (kGenericPointerBytes - 1 - i)) & 0xFF;
        if (!WriteTargetValue(address, byte, 1, int(symbol.m_nSpace))) return 0;
        PatchTypedValue(symbol.m_nSpace, 1, address, byte);
    }
    return 1;
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

int WriteSymbolValue(const SymbolInfo& symbol, const std::string& valueText,
                     const std::string& type) {
    if (IsGenericPointer(type, symbol.m_nSize)) return WriteGenericPointer(symbol, valueText);
    uint32_t value = 0;
    if (!ValueOfEditedText(valueText, value)) return 0;
    const int width = FitWidth(WriteWidthOfType(type), symbol.m_nSize);
    if (!WriteTargetValue(symbol.m_dwAddress, value, width, int(symbol.m_nSpace))) return 0;
    PatchTypedValue(symbol.m_nSpace, width, symbol.m_dwAddress, value);
    return 1;
}

int WriteEditedVariable(const std::string& name, const std::string& valueText,
                        const std::string& type) {
    const SymbolInfo* symbol = LookupSymbol(name, kSelectData);
    return symbol ? WriteSymbolValue(*symbol, valueText, type) : 0;
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
