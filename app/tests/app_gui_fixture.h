// Shared by the application's window tests: the debugger as
// app_gui_main.cpp starts it, and the user's actions on it.
#pragma once

#include "source_facts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

class CMainFrame;
class wxAuiToolBar;
class wxWindow;

namespace appgui {
// The temporary home folder the settings were stored in before start-up.
std::string HomeFolder();

// The running debugger's main frame.
CMainFrame* Frame();
// After a test closed the frame (Exit), a new one as the next start of the
// debugger makes it; nothing when the frame is there.
void StartFrame();
// A menu command sent to `window` (the main frame when null), and what it
// causes handled.
void Command(int command, wxWindow* window = nullptr);
// Waits until no worker owns the target (at most `ms`), then lets the
// windows catch up; whether the target is free.
bool WaitIdle(int ms = 5000);
// `key` typed in `focus` with the mouse resting over it, as the user does.
void PressKey(int key, wxWindow* focus);
// The same, then waits until what the key started has stopped (at most `ms`).
void PressKeyUntilIdle(int key, wxWindow* focus, int ms = 5000);
// The PC the windows show (0 before any).
uint16_t ShownPc();
// The frame's toolbar `name` ("SubToolBar", "DebugToolBar").
wxAuiToolBar* ToolBar(const char* name);
// Whether the Debug toolbar's button of `command` is enabled after an update.
bool DebugToolEnabled(int command);
// Brings a pane of the frame's tab group to the front.
void ShowPane(wxWindow* pane);
// Opens the project at `path` as the Open command does, without its dialog.
void OpenProject(const std::string& path);
// Where a road stops in main() of the project opened from `path`, from its map,
// line tables and sources: the line of `statement` in main, or main's first
// line with code when `statement` is empty. No position when there is none.
SourcePosition LineInMain(const std::string& path, const std::string& statement = "");

// Every project file (".Uv2", any case) below the folder of real projects,
// in path order; empty when the folder is absent.
std::vector<std::string> RealProjectFiles();
// "PC $" in the Register pane set to `pc`, as the user types it.
void EditPc(uint16_t pc);

// A test on the running debugger: its frame is there and in front.
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override;
};
} // namespace appgui
