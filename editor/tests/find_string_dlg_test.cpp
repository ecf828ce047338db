#include "editor_fixture.h"
#include "find_string_dlg.h"
#include "gui_test.h"
#include "scintilla_constants.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/uiaction.h>

#include <string>
#include <vector>

namespace {

const std::string kText = "int main(void) {\n"
                          "    Main();\n"
                          "    main();\n"
                          "}\n";

} // namespace

class FindStringDlgTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        Load(kText);
        m_history = {"older", "newer"};
        m_dialog = new CFindStringDlg(m_frame, m_history);
        m_dialog->SetEditor(m_editor);
        m_dialog->Show();
        guitest::PumpEvents(50);
    }

    void TearDown() override {
        if (m_dialog) m_dialog->Destroy();
        EditorTest::TearDown();
    }

    wxComboBox* FindBox() {
        return static_cast<wxComboBox*>(m_dialog->FindWindow(CFindStringDlg::IDC_FIND_TEXT));
    }
    wxCheckBox* CaseSensitive() {
        return static_cast<wxCheckBox*>(m_dialog->FindWindow(CFindStringDlg::IDC_CASE_SENSITIVE));
    }
    void PressButton(int id) {
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(m_dialog->FindWindow(id));
        m_dialog->FindWindow(id)->ProcessWindowEvent(click);
    }
    void PressKey(int keyCode) {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = keyCode;
        key.SetEventObject(FindBox());
        m_dialog->ProcessWindowEvent(key);
    }

    std::vector<std::string> m_history;
    wxWeakRef<CFindStringDlg> m_dialog;
};

TEST_F(FindStringDlgTest, TheDialogShowsItsControls) {
    EXPECT_EQ(m_dialog->GetTitle(), "Search");
    EXPECT_EQ(CaseSensitive()->GetLabel(), "Case Sensitive(&C)");
    EXPECT_EQ(m_dialog->FindWindow(CFindStringDlg::IDC_NEXT)->GetLabel(), "Next");
    EXPECT_EQ(m_dialog->FindWindow(CFindStringDlg::IDC_PREVIOUS)->GetLabel(), "Previous");
    EXPECT_FALSE(CaseSensitive()->GetValue());
}

TEST_F(FindStringDlgTest, FillFindBoxListsTheHistoryNewestFirstAndTakesAOneLineSelection) {
    m_editor->SetSelection(4, 8);
    m_dialog->FillFindBox();
    ASSERT_EQ(FindBox()->GetCount(), 2u);
    EXPECT_EQ(FindBox()->GetString(0), "newer");
    EXPECT_EQ(FindBox()->GetString(1), "older");
    EXPECT_EQ(FindBox()->GetValue(), "main");

    m_editor->SetSelection(4, 22); // runs into the second line
    m_dialog->FillFindBox();
    EXPECT_EQ(FindBox()->GetValue(), "");
    EXPECT_EQ(FindBox()->GetCount(), 2u);
}

TEST_F(FindStringDlgTest, NextAndPreviousWalkTheHitsAndRecordTheTextOnce) {
    m_editor->GotoPos(0);
    FindBox()->SetValue("main");
    PressButton(CFindStringDlg::IDC_NEXT);
    EXPECT_EQ(m_editor->GetSelectionStart(), 4);
    PressButton(CFindStringDlg::IDC_NEXT); // case sensitivity off: "Main"
    EXPECT_EQ(m_editor->GetSelectedText(), "Main");
    PressButton(CFindStringDlg::IDC_PREVIOUS);
    EXPECT_EQ(m_editor->GetSelectionStart(), 4);

    EXPECT_EQ(m_history, (std::vector<std::string>{"older", "newer", "main"}));
    ASSERT_EQ(FindBox()->GetCount(), 1u); // the list was never filled
    EXPECT_EQ(FindBox()->GetString(0), "main");

    CaseSensitive()->SetValue(true);
    m_editor->GotoPos(5);
    m_dialog->OnNext(); // skips "Main"
    EXPECT_EQ(m_editor->GetSelectedText(), "main");
    EXPECT_EQ(m_editor->LineFromPosition(m_editor->GetSelectionStart()), 2);
}

TEST_F(FindStringDlgTest, AnEmptyFindTextIsNeitherSearchedNorRecorded) {
    m_editor->SetSelection(2, 3);
    FindBox()->SetValue("");
    m_dialog->OnNext();
    m_dialog->OnPrevious();
    EXPECT_EQ(m_history.size(), 2u);
    EXPECT_EQ(m_editor->GetSelectionStart(), 2);
    EXPECT_EQ(m_editor->GetSelectionEnd(), 3);
}

TEST_F(FindStringDlgTest, EnterFindsTheNextHitAndLeavesTheDialogOpen) {
    m_editor->GotoPos(0);
    FindBox()->SetValue("main");
    PressKey(WXK_RETURN);
    EXPECT_EQ(m_editor->GetSelectionStart(), 4);
    PressKey(WXK_NUMPAD_ENTER);
    EXPECT_EQ(m_editor->GetSelectedText(), "Main");
    guitest::PumpEvents(50);
    ASSERT_TRUE(m_dialog);
    EXPECT_TRUE(m_dialog->IsShown());
}

TEST_F(FindStringDlgTest, EveryEnterTypedFindsTheNextHitOutFromUnderTheDialog) {
    // Sixty lines, every third of them holding the word.
    std::string text;
    std::vector<int> hits;
    for (int line = 0; line < 60; ++line) {
        if (line % 3 == 1) hits.push_back(static_cast<int>(text.size()));
        text += line % 3 == 1 ? "value += 1;\n" : "other();\n";
    }
    Load(text);
    m_editor->GotoPos(0);
    // The dialog over the lower half of the editor, the keyboard in it.
    m_dialog->Move(m_editor->GetScreenPosition() + wxPoint(60, m_editor->GetSize().y / 2));
    FindBox()->SetValue("value");
    m_dialog->Raise();
    FindBox()->SetFocus();
    guitest::PumpEvents(300);

    wxUIActionSimulator simulator;
    for (size_t i = 0; i < 12; ++i) {
        simulator.Char(WXK_RETURN);
        guitest::PumpEvents(150);
        ASSERT_EQ(m_editor->GetSelectionStart(), hits[i]) << "Enter " << i + 1;
        const wxRect hit(m_editor->ClientToScreen(m_editor->PointFromPosition(hits[i])),
                         wxSize(5 * m_editor->TextWidth(0, "v"), m_editor->TextHeight(0)));
        EXPECT_TRUE(m_editor->GetScreenRect().Contains(hit)) << "Enter " << i + 1;
        EXPECT_FALSE(hit.Intersects(m_dialog->GetScreenRect())) << "Enter " << i + 1;
        if (i == 7) guitest::SaveScreenshot(m_frame, "find_enter_hit_beside_the_dialog");
    }
}

TEST_F(FindStringDlgTest, ClosingOrEscapeDestroysTheDialog) {
    m_dialog->Close();
    guitest::PumpEvents(50);
    EXPECT_FALSE(m_dialog);

    m_dialog = new CFindStringDlg(m_frame, m_history);
    m_dialog->Show();
    PressKey(WXK_ESCAPE);
    guitest::PumpEvents(50);
    EXPECT_FALSE(m_dialog);
}

TEST_F(FindStringDlgTest, AnEditorThatClosesLeavesTheDialogWithoutOne) {
    m_editor->Destroy();
    m_editor = nullptr;
    guitest::PumpEvents(50);
    EXPECT_EQ(m_dialog->GetEditor(), nullptr);
    FindBox()->SetValue("main");
    m_dialog->OnNext();
    m_dialog->FillFindBox();
    EXPECT_EQ(m_history.size(), 2u);
}

TEST_F(FindStringDlgTest, An8BitSelectionIsFoundAgain) {
    std::string bytes = "/* caf\xE9 */\nint caf\xE9;\n";
    Load(bytes, "latin.c");
    size_t first = bytes.find("caf\xE9");
    m_editor->SetSelection(static_cast<int>(first), static_cast<int>(first + 4));
    m_dialog->FillFindBox();
    EXPECT_EQ(FindBox()->GetValue(), wxString::FromUTF8("caf\xC3\xA9"));
    m_dialog->OnNext();
    EXPECT_EQ(m_editor->GetSelectionStart(), static_cast<int>(bytes.find("caf\xE9", first + 1)));
    EXPECT_EQ(m_history.back(), "caf\xC3\xA9");
}
