// The four report lists of the information panes, each the shared report
// list with its own policy.
#pragma once

#include "report_list_ctrl.h"

// The watch (Search) and Local Variable lists.
class CReportCtrl : public CReportListCtrl {
public:
    CReportCtrl() : CReportListCtrl(controls::ReportListPolicy::Watch()) {}
};

// The Global Variable list.
class CReportCtrlAll : public CReportListCtrl {
public:
    CReportCtrlAll() : CReportListCtrl(controls::ReportListPolicy::GlobalVariables()) {}
    // Writes `value` into column 1 of the row as an unsigned decimal number.
    bool SetItemTextUInt(int row, unsigned value) {
        return SetItemText(row, 1, std::to_string(value));
    }
};

// The Emulator status list.
class CReportCtrlEmul : public CReportListCtrl {
public:
    CReportCtrlEmul() : CReportListCtrl(controls::ReportListPolicy::Emulator()) {}
};

// The BreakPoint list.
class CListGridCtrl : public CReportListCtrl {
public:
    CListGridCtrl() : CReportListCtrl(controls::ReportListPolicy::Breakpoints()) {}
};
