// A shown frame holding one initialised editor, and a scratch folder for the
// files it loads.
#pragma once

#include "scintilla_wnd.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <string>

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file of the scratch folder.
    std::string ScratchPath(const std::string& name) const;
    static void WriteFile(const std::string& path, const std::string& bytes);
    static std::string ReadFile(const std::string& path);
    // Writes `bytes` to a scratch file named `name` and loads it.
    void Load(const std::string& bytes, const std::string& name = "main.c");

    wxFrame* m_frame = nullptr;
    CScintillaWnd* m_editor = nullptr;
    std::string m_scratch;
};
