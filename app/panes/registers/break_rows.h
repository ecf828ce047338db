// The break pane's rows and what its commands do to the breakpoint records
// and the adapter's slots; the editor markers are the window's part.
#pragma once

#include "breakpoint_records.h"

#include <string>

// The "Name" text: "%s , Line : %d" of the file and its line; a breakpoint
// without a source line shows its row in the code list shown now (the
// assembly-only list when `asmListShown`, else the mixed list).
std::string BreakRowName(const CInfo_Break& record, bool asmListShown);
// The "Label" text: "%s + %d" of the label and the offset from it; for a
// breakpoint without a source line, its address ("0x%04X").
std::string BreakRowLabel(const CInfo_Break& record);

// The record of the selected list row (-1: none); null when there is none
// or the row is blank, below the last record.
const CInfo_Break* SelectedBreakRecord(int selectedRow);

// Removes one breakpoint: the record with its code-list marks, then its
// slot on the adapter, and the pane is rewritten from the list.
void RemoveBreakRecord(const CInfo_Break& record);

// The end of Remove All, once every record went: every user and internal
// slot freed on the adapter and the address map emptied.
void FinishRemoveAllBreakPoints();
