// The user's breakpoints as the host keeps them: one record per breakpoint in
// the order they were added, the code-address map the views read, and the
// markers in the editor and the two code lists of the assembly view.
#pragma once

#include <cstdint>
#include <list>
#include <string>

// The file of a breakpoint on an address without a source line, and its label.
constexpr const char* kAsmOnlyFile = "ONLY_ASM_CODE";
constexpr const char* kBaseAddressLabel = "_BASE_ADDR_";
// The label when no code symbol holds the address.
constexpr const char* kNoLabel = "-1";

struct CInfo_Break {
    std::string m_strFile;  // source file with extension, or "ONLY_ASM_CODE"
    std::string m_strLabel; // code symbol holding the address
    int32_t m_nOffset = 0;  // address - the symbol's address
    int32_t m_nLine = 0;    // from 1
    int32_t m_nReserved = 0;
    uint32_t m_dwAddress = 0;
    int32_t m_nAsmRow = -1;    // row in the assembly list of the assembly view
    int32_t m_nSourceRow = -1; // row in its source list
};

// The breakpoint list, in the order the breakpoints were added.
extern std::list<CInfo_Break> g_BreakList;

// Rows of the break pane's grid that a rewrite blanks.
constexpr int kBreakPaneRows = 50;

// What the breakpoint records show in the windows.
class BreakpointViews {
public:
    virtual ~BreakpointViews() = default;
    // The editor's breakpoint marker on a line (from 1) of a source file.
    virtual void AddBreakPointMarker(const std::string& file, int line) = 0;
    virtual void RemoveBreakPointMarker(const std::string& file, int line) = 0;
    // Rows of a code address in the assembly view's two lists; -1 when none.
    virtual int AsmRowOfAddress(uint32_t address) = 0;
    virtual int SourceRowOfAddress(uint32_t address) = 0;
    // Marks both rows: 1 breakpoint, 0 none. A row of -1 is left alone.
    virtual void SetCodeListMarkers(int asmRow, int sourceRow, int value) = 0;
    // The break pane: every row of the grid to empty texts / one row per record.
    virtual void BlankBreakPane() = 0;
    virtual void FillBreakWnd(const std::list<CInfo_Break>& records) = 0;
};

// Installing nullptr removes the views; the records then change alone.
void SetBreakpointViews(BreakpointViews* views);
BreakpointViews* GetBreakpointViews();

// Builds the record (label and offset from the code symbol of the line; the
// address itself as offset for "ONLY_ASM_CODE" or without a symbol), marks
// the address in the map and in both code lists, appends the record.
void AddBreakPoint(const std::string& file, int line, uint32_t address);
// Unmarks the address in the map; the first record matching all three
// loses its code-list marks and goes. Its index, or the number of records
// when none matched.
size_t RemoveBreakPoint(const std::string& file, int line, uint32_t address);
// 1 when a record has that file and line; 0 for "ONLY_ASM_CODE".
int IsBreakpointAt(const std::string& file, int line);
// The file and line of the address's source position; 0 when it has none.
int GetLineToken(uint32_t address, int& line, std::string& file);
// Blanks the break pane and rewrites it from the list.
void RewriteBreakPane();
// Project close: blanks the break pane, empties the list and the address map.
void ClearBreakPointList();
// The break pane's remove-all: every record goes with its editor and
// code-list markers; the pane is blanked and the address map emptied.
void RemoveAllBreakPointRecords();
