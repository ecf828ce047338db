// Writing a variable to the target from an edited Value cell of the
// global-variable list.
//
// User-interface thread only; nothing happens unless a project is loaded and
// no worker owns the target.
#pragma once

#include "symbol_records.h"
#include "typed_values.h"

#include <cstdint>
#include <string>

// The global-variable list as the write routines use it.
class EditedVariableList : public VariableRows {
public:
    // The cell of the in-place edit just committed.
    virtual int EditedRow() const = 0;
    virtual int EditedColumn() const = 0;
    // The row holding the selection; -1 when none.
    virtual int GetSelectionMark() const = 0;
    // Selects (with the focus) or deselects a row; a row that does not exist is ignored.
    virtual void SetRowSelected(int row, bool selected) = 0;
};

// Rows rewritten from the formatted variables after a write.
constexpr int kRefreshedVariableRows = 50;

// The number an edited value text stands for, blanks around it ignored: "0x"
// or "0X" and hexadecimal digits, or a decimal number (digits after an
// optional sign). Any other text, "0x" alone included, is no number.
bool ValueOfEditedText(const std::string& text, uint32_t& value);

// Writes `valueText` to `symbol`: as many bytes as the type name asks (1, 2
// or 4) but never more than the symbol's size, and patches the host copy
// alike once the target took it. A generic pointer (type and size) takes a
// pointer text (GenericPointerOfText) and writes its three bytes. 1 after a
// write that reached the target, else 0 (also for a text that is no number
// or no pointer, which writes nothing).
int WriteSymbolValue(const SymbolInfo& symbol, const std::string& valueText,
                     const std::string& type);

// Writes the value of the edited Value cell of a data symbol as
// WriteSymbolValue does. 1 after a write that reached the target, else 0.
int WriteEditedVariable(const std::string& name, const std::string& valueText,
                        const std::string& type);

// The commit of an edit made with the keyboard: the write, the first rows
// rewritten, and the selection moved to the next row.
void WriteVariableValue(EditedVariableList& list);

// The commit of an edit made with the mouse: the write, the first rows
// rewritten, then the global-variable, Search, Local Variable and internal
// memory panes refreshed.
void WriteVariableValueAndRefresh(EditedVariableList& list);
