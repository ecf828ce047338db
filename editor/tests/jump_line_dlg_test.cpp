#include "editor_fixture.h"
#include "jump_line_dlg.h"

#include <wx/app.h>
#include <wx/textctrl.h>

#include <string>

namespace {

// Shows the dialog modally; once it runs, types `text` and presses `button`.
int RunDialog(CJumpLineDlg& dialog, const wxString& text, int button) {
    wxTheApp->CallAfter([&dialog, text, button] {
        auto* box = static_cast<wxTextCtrl*>(dialog.FindWindow(CJumpLineDlg::IDC_LINE));
        box->SetValue(text);
        wxCommandEvent click(wxEVT_BUTTON, button);
        click.SetEventObject(dialog.FindWindow(button));
        dialog.FindWindow(button)->ProcessWindowEvent(click);
    });
    return dialog.ShowModal();
}

} // namespace

class JumpLineDlgTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        std::string text;
        for (int i = 1; i <= 120; ++i)
            text += "line " + std::to_string(i) + "\n";
        Load(text);
    }
};

TEST_F(JumpLineDlgTest, GoToLinePutsTheCaretOnTheTypedLine) {
    CJumpLineDlg dialog(m_frame);
    EXPECT_EQ(dialog.GetTitle(), "Go To Line");
    auto* box = static_cast<wxTextCtrl*>(dialog.FindWindow(CJumpLineDlg::IDC_LINE));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetValue(), "");

    // The caret line is the dialog's line, and the box still opens empty.
    m_editor->GotoLine(32);
    dialog.SetLine(m_editor->GetCurrentLine());
    EXPECT_EQ(dialog.GetLine(), 33);
    EXPECT_EQ(box->GetValue(), "");
    EXPECT_EQ(RunDialog(dialog, "87", wxID_OK), wxID_OK);
    EXPECT_EQ(dialog.GetLine(), 87);
    m_editor->GotoLineWithContext(dialog.GetLine());
    EXPECT_EQ(m_editor->GetCurrentLine(), 87);
}

TEST_F(JumpLineDlgTest, CancelKeepsTheLineAndTextWithoutANumberGivesZero) {
    CJumpLineDlg dialog(m_frame);
    dialog.SetLine(12);
    EXPECT_EQ(RunDialog(dialog, "40", wxID_CANCEL), wxID_CANCEL);
    EXPECT_EQ(dialog.GetLine(), 12);

    CJumpLineDlg second(m_frame);
    second.SetLine(12);
    EXPECT_EQ(RunDialog(second, "line", wxID_OK), wxID_OK);
    EXPECT_EQ(second.GetLine(), 0);
}
