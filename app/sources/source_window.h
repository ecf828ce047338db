// One source window: a page of the main frame's centre notebook holding the
// editor of one source file.
#pragma once

#include <wx/panel.h>

#include <string>

class CScintillaWnd;

class CSourceWindow : public wxPanel {
public:
    // Creates the page and loads the file into its editor: read-only, C
    // keywords coloured, the matching brace lit and fold clicks acted on.
    CSourceWindow(wxWindow* parent, const std::string& path);

    CScintillaWnd* Editor() const { return m_editor; }
    const std::string& Path() const { return m_path; }
    // The file name the window shows (the path's last part).
    const std::string& Title() const { return m_title; }
    bool Loaded() const { return m_loaded; }

private:
    CScintillaWnd* m_editor = nullptr;
    std::string m_path;
    std::string m_title;
    bool m_loaded = false;
};
