// The display-free part of a memory pane: the host buffer it shows, the range
// its grids show, the reads of the External and Code panes and the commit of
// an edited cell (stored into the buffer and, except in the Flash pane,
// written to the target at once). The pane's window (memory_wnd.h) puts the
// rows made here into its grids.
#pragma once

#include "memory_range.h"
#include "memory_view.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class MemoryPane {
public:
    explicit MemoryPane(MemoryKind kind);

    MemoryKind Kind() const { return kind_; }
    const MemoryPaneSpec& Spec() const { return MemoryPaneSpecOf(kind_); }
    int GetMemoryClass() const { return Spec().memoryClass; }
    // The Flash pane's edits stay on the host until its Write command.
    bool WritesThrough() const { return kind_ != MemoryKind::Flash; }
    bool IsOutOfRange(uint32_t address) const { return ::IsOutOfRange(kind_, address, dataFlash_); }

    // The Flash pane's "Data memory" box: while it is checked the pane shows
    // and edits the data-flash buffer instead of the code flash.
    void SetDataFlash(bool checked) { dataFlash_ = checked; }
    bool IsDataFlash() const { return dataFlash_; }

    // The buffer the grids show and edits store into: the internal data and
    // SFR image, the block the External pane read last (based at its start
    // address), the code flash image or data-flash buffer at 0xFF0000, or the
    // Code pane's own copy of code memory.
    MemoryView View() const;

    // The addresses of the start and end edits; either is empty when its
    // text is no address in the pane's range.
    struct Range {
        std::optional<uint32_t> start;
        std::optional<uint32_t> end;
        bool IsValid() const { return start && end; }
    };
    Range RangeOfTexts(const std::string& startText, const std::string& endText) const;

    // The grids show start to end in rows of 16 bytes from start. The
    // External pane shows the block it read last, whatever is asked, so its
    // rows never label bytes with addresses they were not read from.
    void Show(uint32_t start, uint32_t end);
    uint32_t ShownStart() const { return shownStart_; }
    uint32_t ShownEnd() const { return shownEnd_; }
    int RowCount() const { return shown_ ? MemoryRowCount(shownStart_, shownEnd_) : 0; }
    // Label and cell texts of every row in cells of `digits` digits. A cell
    // starting past the end shown, or with bytes the buffer does not hold,
    // is blank and takes no edit.
    std::vector<std::vector<std::string>> Rows(int digits) const;
    std::vector<std::string> RowTexts(int row, int digits) const;
    // The text of 1-based data column `column` of the row at `rowAddress`.
    std::string CellAt(uint32_t rowAddress, int digits, int column) const;

    // The Read command of the External pane (end - start + 1 bytes from
    // start) and of the Code pane (all 64 KB of code memory). Only while a
    // project is loaded and the target idle; the checks' messages and a
    // failed read's message are shown here, "Out of memory" is the caller's.
    enum class ReadResult { NotReady, OutOfMemory, TooBig, EndBeforeStart, Failed, Done };
    ReadResult ReadFromTarget(const Range& range);
    // The Code pane's read of code memory from 0 through `end` only (what it
    // shows after Open and Image Load); the bytes past `end` show blank
    // until the next Read.
    ReadResult ReadCodeThrough(uint32_t end);

    // Project close: the Code pane's copy of code memory and the Flash
    // pane's host copies of the flash become zeros, so that nothing of the
    // closed program is shown again.
    void ForgetProgram();

    // Commits `text` typed into data column `column` of the row labelled
    // `label`, in cells of `digits` digits: only while a project is loaded
    // and the target idle, and only hexadecimal digits. Each byte shown is
    // stored and, when the pane writes through, written to the target. The
    // cell then shows the bytes as they are in the buffer: the canonical
    // form of what was typed, or what was there for a refused commit.
    struct Commit {
        bool accepted = false;
        std::string cellText;
    };
    Commit CommitCell(const std::string& text, int digits, int column, const std::string& label);

private:
    int WriteSpace(uint32_t address) const;

    MemoryKind kind_;
    bool dataFlash_ = false;
    uint32_t shownStart_ = 0;
    uint32_t shownEnd_ = 0;
    bool shown_ = false;
    std::vector<uint8_t> block_; // External: the last block read; Code: code memory
    uint32_t blockBase_ = 0;
};
