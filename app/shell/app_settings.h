// The user's settings, kept through wxConfig under the application's key.
#pragma once

#include <string>
#include <vector>

// The settings' key; also the name of the settings file.
extern const char* const kSettingsKey;

// Creates the process's settings object (before any other settings call)
// and deletes it at exit.
void OpenSettings();
void CloseSettings();

// "CurrentDir/INSTALLDIR", empty when not stored.
std::string ReadInstallDir();
// Makes the stored install directory the working directory; a missing or
// empty entry leaves it as it is. Returns the directory made current (empty
// when none).
std::string ApplyInstallDir();

// The stored find and replace histories ("EDIT").
std::vector<std::string> ReadFindHistory();
std::vector<std::string> ReadReplaceHistory();

// The visual look id, 214 when not stored.
int ReadApplicationLook();
void WriteApplicationLook(int look);

// The main frame's docking layout as it was saved ("Workspace/Layout"),
// empty when none is stored.
std::string ReadDockingLayout();
void WriteDockingLayout(const std::string& layout);
