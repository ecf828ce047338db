#include "editor_fixture.h"

#include "gui_test.h"

#include <wx/clipbrd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

void EditorTest::SetUp() {
    char pattern[] = "/tmp/editor_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_scratch = pattern;

    m_frame = new wxFrame(nullptr, wxID_ANY, "main.c", wxPoint(0, 0), wxSize(640, 420));
    m_editor = new CScintillaWnd;
    ASSERT_TRUE(m_editor->Create("Title", 0, wxRect(0, 0, 640, 420), m_frame, 10000));
    m_editor->InitEditor();
    m_frame->Show();
    guitest::PumpEvents(100);
}

void EditorTest::TearDown() {
    if (m_frame != nullptr) m_frame->Destroy();
    guitest::PumpEvents(20);
    // Selecting text hands it to the X primary selection, whose data
    // wxWidgets frees only when the selection passes to another owner, never
    // at exit. Give the selection up, and let the notice that another program
    // took it over arrive, so that the leak check stays clean.
    wxTheClipboard->UsePrimarySelection(true);
    wxTheClipboard->Clear();
    wxTheClipboard->UsePrimarySelection(false);
    guitest::PumpEvents(20);
    std::error_code ignored;
    std::filesystem::remove_all(m_scratch, ignored);
}

std::string EditorTest::ScratchPath(const std::string& name) const {
    return m_scratch + "/" + name;
}

void EditorTest::WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string EditorTest::ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void EditorTest::Load(const std::string& bytes, const std::string& name) {
    std::string path = ScratchPath(name);
    WriteFile(path, bytes);
    ASSERT_TRUE(m_editor->LoadFile(path));
}
