// What distinguishes the four report lists of the information panes: which
// clicks start an in-place edit, whether edited rows are committed to the
// target, and which keys the list handles itself.
#pragma once

namespace controls {

struct ReportListPolicy {
    // Which cell a click on an already selected and focused row edits.
    enum class MouseEdit {
        Never,
        NameOrValue,  // column 0 always, column 1 when column 0 is not empty
        ValueOfNamed, // column 1 when column 0 is not empty
        FirstColumn,  // column 0
        DataCells,    // every column but column 0, which names the row
    };

    MouseEdit mouseEdit = MouseEdit::Never;
    // An edit started by a click leaves a commit pending; Return or the next
    // left click then asks the owner to write the row to the target.
    bool commitsRows = false;
    // Tab, Return, Escape, Up, Down while editing and Space while not.
    bool handlesEditKeys = false;
    // Delete while not editing empties the selected row's first four cells.
    bool deleteClearsRow = false;
    // A left double-click first announces the selected row to the owner.
    bool announcesDoubleClick = false;

    // The watch and local-variable lists.
    static ReportListPolicy Watch() { return {MouseEdit::NameOrValue, true, true, true, false}; }
    // The global-variable list.
    static ReportListPolicy GlobalVariables() {
        return {MouseEdit::ValueOfNamed, true, true, false, false};
    }
    // The emulator status list.
    static ReportListPolicy Emulator() { return {MouseEdit::Never, false, false, false, false}; }
    // The breakpoint list.
    static ReportListPolicy Breakpoints() {
        return {MouseEdit::FirstColumn, false, false, false, true};
    }
    // The memory grids: column 0 holds each row's address and is never
    // edited, not even by Tab or from code.
    static ReportListPolicy MemoryGrid() {
        return {MouseEdit::DataCells, true, true, false, false};
    }

    // The first column an edit may reach.
    int FirstEditableColumn() const { return mouseEdit == MouseEdit::DataCells ? 1 : 0; }
};

} // namespace controls
