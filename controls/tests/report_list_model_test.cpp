#include "report_list_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace controls;

namespace {

// Writes down every notification as a short line.
class Recorder : public ReportListObserver {
public:
    bool ShowEditBox(int row, int column) override {
        log.push_back("show " + std::to_string(row) + "," + std::to_string(column));
        return allowEditBox;
    }
    void HideEditBox() override { log.push_back("hide"); }
    void CheckChanged(int row, MouseButton cause) override {
        log.push_back("A710 " + std::to_string(row) + "," +
                      std::to_string(static_cast<int>(cause)));
    }
    void Sorted(int column, bool ascending) override {
        log.push_back("A711 " + std::to_string(column) + "," + (ascending ? "1" : "0"));
    }
    void CellEdited(int row, int column) override {
        log.push_back("A712 " + std::to_string(row) + "," + std::to_string(column));
    }
    void CommitRow(int row, int column) override {
        log.push_back("commit " + std::to_string(row) + "," + std::to_string(column));
    }
    void RowActivated(int row) override { log.push_back("activated " + std::to_string(row)); }
    void ContentChanged() override {}

    // The notifications other than showing and hiding the edit box.
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const std::string& line : log) {
            if (line.rfind("show", 0) != 0 && line != "hide") out.push_back(line);
        }
        return out;
    }

    std::vector<std::string> log;
    bool allowEditBox = true;
};

class ReportListTest : public ::testing::Test {
protected:
    void Build(ReportListPolicy policy, int rows = 4) {
        model = ReportListModel(policy);
        model.SetObserver(&recorder);
        ASSERT_TRUE(model.SetColumnHeader("Name, 100; Value, 100; Type, 100; Address, 100"));
        for (int i = 0; i < rows; ++i) {
            std::string n = std::to_string(i);
            model.InsertRow(model.GetRowCount(), {"name" + n, "value" + n, "type" + n, "addr" + n});
        }
        model.SetEditAllowed(true);
        recorder.log.clear();
    }
    void Click(int row, int column, MouseButton button = MouseButton::LeftDown) {
        model.HandleMouseButton(button, CellHit{row, column, false});
    }
    void ClickBox(int row) {
        model.HandleMouseButton(MouseButton::LeftDown, CellHit{row, 0, true});
    }
    std::vector<bool> Checks() const {
        std::vector<bool> checks;
        for (int row = 0; row < model.GetRowCount(); ++row)
            checks.push_back(model.GetRow(row).checked);
        return checks;
    }

    Recorder recorder;
    ReportListModel model;
};

} // namespace

TEST_F(ReportListTest, ColumnsAndRowRecords) {
    Build(ReportListPolicy::Watch(), 0);
    model.SetDefaultColours(Rgb{1, 2, 3}, Rgb{4, 5, 6});
    EXPECT_EQ(model.GetColumnCount(), 4);
    EXPECT_EQ(model.GetColumn(1).name, " Value");
    EXPECT_EQ(model.InsertRow(5, {"a", "b", "c", "d", "extra"}), 0); // past the end appends
    EXPECT_EQ(model.InsertRow(-1, {"x"}), -1);
    EXPECT_EQ(model.GetItemText(0, 3), "d");
    const RowRecord* record = model.GetRowRecord(0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->textColours, std::vector<Rgb>(4, Rgb{1, 2, 3}));
    EXPECT_EQ(record->backgroundColours, std::vector<Rgb>(4, Rgb{4, 5, 6}));

    EXPECT_EQ(model.InsertColumn(1, ColumnSpec{"New", 50, ColumnAlign::Right}), 1);
    EXPECT_EQ(model.GetItemText(0, 1), "");
    EXPECT_EQ(model.GetItemText(0, 2), "b");
    EXPECT_EQ(model.GetRowRecord(0)->textColours.size(), 5u);
    EXPECT_TRUE(model.DeleteColumn(0));
    EXPECT_EQ(model.GetItemText(0, 1), "b");
    EXPECT_EQ(model.GetRowRecord(0)->backgroundColours.size(), 4u);
    EXPECT_FALSE(model.SetItemText(0, 4, "no such column"));
    EXPECT_FALSE(model.SetItemText(1, 0, "no such row"));

    // An empty specification removes every row and column.
    EXPECT_FALSE(model.SetColumnHeader(""));
    EXPECT_EQ(model.GetColumnCount(), 0);
    EXPECT_EQ(model.GetRowCount(), 0);
}

TEST_F(ReportListTest, ItemStates) {
    Build(ReportListPolicy::Emulator());
    EXPECT_EQ(model.GetItemStates(1), kStateNotSelected | kStateNotChecked | kStateNotFocused);
    EXPECT_TRUE(model.SetItemStates(1, kStateSelected | kStateFocused | kStateChecked));
    EXPECT_TRUE(model.ItemStatesMatch(1, kStateSelected | kStateChecked));
    EXPECT_FALSE(model.ItemStatesMatch(0, kStateSelected));
    EXPECT_TRUE(model.ItemStatesMatch(0, kStateAny | kStateSelected));
    EXPECT_FALSE(model.SetItemStates(1, 0));
    EXPECT_FALSE(model.SetItemStates(9, kStateSelected));
    // Focus belongs to one row at a time.
    model.SetItemStates(2, kStateFocused);
    EXPECT_EQ(model.GetFocusedRow(), 2);
    EXPECT_TRUE(model.ItemStatesMatch(1, kStateNotFocused));
    // Uncheck every checked row, select every unselected one.
    model.SetItemStates(3, kStateChecked);
    model.SetAllItemStates(kStateChecked, kStateNotChecked);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false, false}));
    model.SetAllItemStates(kStateNotSelected, kStateSelected);
    for (int row = 0; row < 4; ++row)
        EXPECT_TRUE(model.GetRow(row).selected);
}

TEST_F(ReportListTest, CheckModeOneTogglesAndAnnounces) {
    Build(ReportListPolicy::Watch());
    model.SetCheckBoxes(true);
    ClickBox(2);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(recorder.Messages(), (std::vector<std::string>{"A710 2,0"}));
    EXPECT_EQ(model.GetSelectedRow(), 2);
    ClickBox(3);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, true, true}));
    // A click beside the box changes no check and sends nothing.
    recorder.log.clear();
    Click(1, 2);
    EXPECT_TRUE(recorder.Messages().empty());
}

TEST_F(ReportListTest, CheckModeTwoKeepsOneCheckedRow) {
    Build(ReportListPolicy::Watch());
    model.SetCheckBoxes(true);
    model.SetCheckMode(CheckMode::Single);
    ClickBox(3);
    ClickBox(1);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, true, false, false}));
    // Checked from code: every other row is unchecked, above it as well as below.
    model.SetItemStates(0, kStateChecked);
    EXPECT_EQ(Checks(), (std::vector<bool>{true, false, false, false}));
    model.SetItemStates(2, kStateChecked);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, true, false}));
    // Unchecking by a click is announced and unchecks only that row.
    recorder.log.clear();
    ClickBox(2);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(recorder.Messages(), (std::vector<std::string>{"A710 2,0"}));
}

TEST_F(ReportListTest, CheckModeThreeRefusesClicks) {
    Build(ReportListPolicy::Watch());
    model.SetCheckBoxes(true);
    model.SetItemStates(1, kStateChecked);
    model.SetCheckMode(CheckMode::Locked);
    ClickBox(1);
    ClickBox(2);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, true, false, false}));
    EXPECT_TRUE(recorder.Messages().empty());
    // Mode 0 lets the box change but handles nothing.
    model.SetCheckMode(CheckMode::None);
    ClickBox(2);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, true, true, false}));
    EXPECT_TRUE(recorder.Messages().empty());
}

TEST_F(ReportListTest, SecondClickOnSelectedRowStartsAnEdit) {
    Build(ReportListPolicy::Watch());
    model.SetItemText(2, 0, "");
    Click(1, 1); // selects
    EXPECT_FALSE(model.IsEditing());
    Click(1, 1); // edits the value of a named row
    EXPECT_TRUE(model.IsEditing());
    EXPECT_EQ(model.GetEditRow(), 1);
    EXPECT_EQ(model.GetEditColumn(), 1);
    EXPECT_EQ(model.GetEditText(), "value1");
    EXPECT_TRUE(model.IsCommitPending());
    model.EndEdit(false);

    Click(2, 1);
    Click(2, 1); // no name: the value cannot be edited
    EXPECT_FALSE(model.IsEditing());
    Click(2, 0); // the name always can
    EXPECT_TRUE(model.IsEditing());
    // A click while editing only ends the edit.
    Click(2, 0);
    EXPECT_FALSE(model.IsEditing());
    Click(2, 2, MouseButton::RightDown);
    Click(2, 2);
    EXPECT_FALSE(model.IsEditing()); // the type column is never edited
}

TEST_F(ReportListTest, ReturnCommitsAndAnnouncesTheEditedCell) {
    Build(ReportListPolicy::Watch());
    Click(3, 1);
    Click(3, 1);
    model.SetEditText("42");
    EXPECT_TRUE(model.HandleKey(EditKey::Return));
    EXPECT_FALSE(model.IsEditing());
    EXPECT_EQ(model.GetItemText(3, 1), "42");
    EXPECT_FALSE(model.IsCommitPending());
    EXPECT_EQ(recorder.Messages(), (std::vector<std::string>{"A712 3,1", "commit 3,1"}));
}

TEST_F(ReportListTest, NextLeftClickCommitsThePendingRow) {
    Build(ReportListPolicy::GlobalVariables());
    Click(0, 1);
    Click(0, 1);
    model.SetEditText("7");
    Click(2, 3);
    EXPECT_EQ(recorder.Messages(), (std::vector<std::string>{"A712 0,1", "commit 0,1"}));
    EXPECT_FALSE(model.IsCommitPending());
    // A right click ends the edit but commits nothing.
    recorder.log.clear();
    Click(0, 1);
    Click(0, 1);
    Click(1, 1, MouseButton::RightDown);
    EXPECT_TRUE(model.IsCommitPending());
    EXPECT_TRUE(recorder.Messages().empty());
}

TEST_F(ReportListTest, PendingCommitIsDroppedByEscapeAndByRebuiltRows) {
    Build(ReportListPolicy::Watch());
    Click(1, 1);
    Click(1, 1);
    model.SetEditText("typed");
    EXPECT_TRUE(model.HandleKey(EditKey::Escape));
    EXPECT_EQ(model.GetItemText(1, 1), "value1");
    EXPECT_FALSE(model.IsCommitPending());
    Click(2, 2);
    EXPECT_TRUE(recorder.Messages().empty());

    // A refresh after a stop rebuilds the rows while an edit is pending: the
    // next click must not write a value the user never edited.
    Click(1, 1);
    Click(1, 1);
    EXPECT_TRUE(model.IsCommitPending());
    model.DeleteAllItems();
    for (int i = 0; i < 4; ++i)
        model.InsertRow(i, {"n", "v", "t", "a"});
    EXPECT_FALSE(model.IsCommitPending());
    Click(1, 1);
    EXPECT_TRUE(recorder.Messages().empty());
}

TEST_F(ReportListTest, EditKeysMoveTheEdit) {
    Build(ReportListPolicy::Watch());
    ASSERT_TRUE(model.StartEdit(1, 3));
    model.SetEditText("x");
    EXPECT_TRUE(model.HandleKey(EditKey::Tab)); // past the last column: column 0
    EXPECT_EQ(model.GetEditRow(), 1);
    EXPECT_EQ(model.GetEditColumn(), 0);
    EXPECT_EQ(model.GetItemText(1, 3), "x");
    EXPECT_TRUE(model.HandleKey(EditKey::Up));
    EXPECT_EQ(model.GetEditRow(), 0);
    EXPECT_TRUE(model.HandleKey(EditKey::Up)); // eaten at the top, stays
    EXPECT_EQ(model.GetEditRow(), 0);
    EXPECT_TRUE(model.HandleKey(EditKey::Down));
    EXPECT_TRUE(model.HandleKey(EditKey::Down));
    EXPECT_TRUE(model.HandleKey(EditKey::Down));
    EXPECT_TRUE(model.HandleKey(EditKey::Down));
    EXPECT_EQ(model.GetEditRow(), 3);
    EXPECT_EQ(model.GetSelectedRow(), 3);
    // Space and Delete belong to the edit box while editing.
    EXPECT_FALSE(model.HandleKey(EditKey::Space));
    EXPECT_FALSE(model.HandleKey(EditKey::Delete));
    EXPECT_FALSE(model.HandleKey(EditKey::Other));
    EXPECT_EQ(recorder.Messages(), (std::vector<std::string>{"A712 1,3"}));
}

TEST_F(ReportListTest, KeysWhileNoEditRuns) {
    Build(ReportListPolicy::Watch());
    model.SelectOnly(2);
    EXPECT_TRUE(model.HandleKey(EditKey::Space));
    EXPECT_FALSE(model.HandleKey(EditKey::Tab));
    EXPECT_FALSE(model.HandleKey(EditKey::Delete)); // acts but is not eaten
    EXPECT_EQ(model.GetRow(2).texts, (std::vector<std::string>{"", "", "", ""}));

    Build(ReportListPolicy::GlobalVariables());
    model.SelectOnly(2);
    model.HandleKey(EditKey::Delete);
    EXPECT_EQ(model.GetItemText(2, 0), "name2");

    Build(ReportListPolicy::Emulator());
    ASSERT_TRUE(model.StartEdit(0, 0));
    EXPECT_FALSE(model.HandleKey(EditKey::Return));
    EXPECT_FALSE(model.HandleKey(EditKey::Space));
    EXPECT_TRUE(model.IsEditing());
}

TEST_F(ReportListTest, UnchangedEditSendsNothingAndKeepsTheSort) {
    Build(ReportListPolicy::Watch());
    model.OnColumnClick(0);
    recorder.log.clear();
    ASSERT_TRUE(model.StartEdit(0, 0));
    EXPECT_FALSE(model.EndEdit(true));
    EXPECT_EQ(model.GetSortColumn(), 0);
    EXPECT_TRUE(recorder.Messages().empty());
    ASSERT_TRUE(model.StartEdit(0, 0));
    model.SetEditText("zzz");
    EXPECT_TRUE(model.EndEdit(true));
    EXPECT_EQ(model.GetSortColumn(), -1);
}

TEST_F(ReportListTest, EditRefusals) {
    Build(ReportListPolicy::Watch());
    EXPECT_FALSE(model.StartEdit(9, 0));
    EXPECT_FALSE(model.StartEdit(0, 4));
    model.SetEditAllowed(false);
    EXPECT_FALSE(model.StartEdit(0, 0));
    model.SetEditAllowed(true);
    recorder.allowEditBox = false; // the edit box cannot be made
    EXPECT_FALSE(model.StartEdit(0, 0));
    EXPECT_FALSE(model.IsEditing());
}

TEST_F(ReportListTest, PoliciesOfTheOtherLists) {
    Build(ReportListPolicy::Emulator());
    Click(1, 0);
    Click(1, 0);
    Click(1, 1);
    EXPECT_FALSE(model.IsEditing());

    Build(ReportListPolicy::Breakpoints());
    Click(1, 1);
    Click(1, 1);
    EXPECT_FALSE(model.IsEditing());
    Click(1, 0);
    EXPECT_TRUE(model.IsEditing());
    EXPECT_FALSE(model.IsCommitPending());
    model.SetEditText("changed");
    Click(3, 0, MouseButton::LeftDoubleClick);
    EXPECT_EQ(recorder.Messages(), (std::vector<std::string>{"activated 1", "A712 1,0"}));
}

TEST_F(ReportListTest, MemoryGridEditsOnlyItsDataCells) {
    Build(ReportListPolicy::MemoryGrid());
    Click(1, 0);
    Click(1, 0); // the address column is never edited
    EXPECT_FALSE(model.IsEditing());
    EXPECT_FALSE(model.StartEdit(1, 0));
    Click(1, 3);
    ASSERT_TRUE(model.IsEditing());
    EXPECT_TRUE(model.IsCommitPending());
    model.SetEditText("x");
    EXPECT_TRUE(model.HandleKey(EditKey::Tab)); // past the last column: the first data cell
    EXPECT_EQ(model.GetEditColumn(), 1);
    model.SetEditText("y");
    EXPECT_TRUE(model.HandleKey(EditKey::Down));
    EXPECT_EQ(model.GetEditRow(), 2);
    // A click elsewhere ends the untouched edit and commits the pending one;
    // each cell left with a changed text was announced on the way.
    Click(0, 2);
    EXPECT_EQ(recorder.Messages(),
              (std::vector<std::string>{"A712 1,3", "A712 1,1", "commit 1,3"}));
    EXPECT_EQ(model.GetRow(1).texts, (std::vector<std::string>{"name1", "y", "type1", "x"}));
}

TEST_F(ReportListTest, HeaderClicksSortAndReverse) {
    Build(ReportListPolicy::Watch(), 0);
    for (const char* value : {"10", "9", "A"})
        model.InsertRow(model.GetRowCount(), {value, "", "", ""});
    model.SetItemStates(0, kStateChecked | kStateSelected);
    model.GetRowRecord(0)->itemData = 77;
    model.OnColumnClick(0);
    EXPECT_EQ(model.GetItemText(0, 0), "9");
    EXPECT_EQ(model.GetItemText(1, 0), "A");
    EXPECT_EQ(model.GetItemText(2, 0), "10");
    // States and records travel with their rows.
    EXPECT_TRUE(model.GetRow(2).checked);
    EXPECT_EQ(model.GetRowRecord(2)->itemData, 77u);
    model.OnColumnClick(0);
    EXPECT_EQ(model.GetItemText(0, 0), "10");
    model.OnColumnClick(1);
    EXPECT_TRUE(model.IsSortAscending());
    EXPECT_EQ(recorder.Messages(), (std::vector<std::string>{"A711 0,1", "A711 0,0", "A711 1,1"}));
    // A text change marks the list unsorted: the next click sorts ascending.
    model.SetItemText(0, 1, "x");
    model.OnColumnClick(1);
    EXPECT_TRUE(model.IsSortAscending());

    model.SetHeaderClickable(false);
    EXPECT_FALSE(model.SortItems(0, true));
    EXPECT_FALSE(model.SortItems(7, true));
}

TEST_F(ReportListTest, SortKeepsSeparatorRowsAndAPendingCommitsRow) {
    Build(ReportListPolicy::Watch(), 0);
    for (const char* value : {"3", "1", "---", "2", "0"})
        model.InsertRow(model.GetRowCount(), {value, "v", "", ""});
    model.SetSeparatorText(std::string("---"));
    Click(4, 1);
    Click(4, 1); // the row named "0" is being edited, its commit pending
    model.SetEditText("new");
    model.SortItems(0, true);
    std::vector<std::string> names;
    for (int row = 0; row < model.GetRowCount(); ++row)
        names.push_back(model.GetItemText(row, 0));
    EXPECT_EQ(names, (std::vector<std::string>{"1", "3", "---", "0", "2"}));
    recorder.log.clear();
    Click(0, 0);
    EXPECT_EQ(recorder.Messages(), (std::vector<std::string>{"commit 3,1"}));
    EXPECT_EQ(model.GetItemText(3, 1), "new");
}
