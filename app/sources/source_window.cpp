#include "source_window.h"

#include "keyword_list.h"
#include "scintilla_wnd.h"

#include <wx/sizer.h>

namespace {

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

CSourceWindow::CSourceWindow(wxWindow* parent, const std::string& path)
    : wxPanel(parent, wxID_ANY), m_path(path), m_title(FileNameOf(path)) {
    m_editor = new CScintillaWnd;
    m_editor->Create(wxString::FromUTF8(m_title), 0, wxRect(), this, wxID_ANY);
    m_editor->InitEditor();
    m_loaded = m_editor->LoadFile(path);
    // The loaded text is the file as the project's line tables know it: no
    // key, paste or undo may change it.
    m_editor->EmptyUndoBuffer();
    m_editor->SetReadOnly(true);
    m_editor->FitLineNumberMargin();
    m_editor->SetKeyWords(0, editor::kCKeywords);
    m_editor->Recolourise();
    m_editor->Bind(wxEVT_STC_UPDATEUI, [this](wxStyledTextEvent& event) {
        event.Skip();
        m_editor->MatchBraces();
    });
    m_editor->Bind(wxEVT_STC_MARGINCLICK, [this](wxStyledTextEvent& event) {
        event.Skip();
        m_editor->OnMarginClick(event.GetMargin(), event.GetPosition());
    });
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_editor, 1, wxEXPAND);
    SetSizer(sizer);
}
