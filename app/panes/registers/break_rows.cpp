#include "break_rows.h"

#include "breakpoint_slot_ops.h"
#include "symbol_lookup.h"

#include <cstdio>
#include <iterator>

std::string BreakRowName(const CInfo_Break& record, bool asmListShown) {
    int line = record.m_nLine;
    if (record.m_strFile == kAsmOnlyFile)
        line = asmListShown ? record.m_nAsmRow : record.m_nSourceRow;
    return record.m_strFile + " , Line : " + std::to_string(line);
}

std::string BreakRowLabel(const CInfo_Break& record) {
    // A breakpoint without a source line has no label but its address.
    if (record.m_strFile == kAsmOnlyFile) {
        char address[16];
        std::snprintf(address, sizeof address, "0x%04X", unsigned(record.m_dwAddress));
        return address;
    }
    return record.m_strLabel + " + " + std::to_string(record.m_nOffset);
}

const CInfo_Break* SelectedBreakRecord(int selectedRow) {
    if (selectedRow < 0 || size_t(selectedRow) >= g_BreakList.size()) return nullptr;
    return &*std::next(g_BreakList.begin(), selectedRow);
}

void RemoveBreakRecord(const CInfo_Break& record) {
    // The record goes with the list entry: work on a copy.
    const CInfo_Break removed = record;
    RemoveBreakPoint(removed.m_strFile, removed.m_nLine, removed.m_dwAddress);
    RewriteBreakPane();
    ClearBreakPoint(removed.m_dwAddress);
}

void FinishRemoveAllBreakPoints() {
    ClearAllBreakPoints();
    ClearInternalBreakPoints();
    g_mapBreakAddress.clear();
}
