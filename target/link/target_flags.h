// Process-wide state shared by the user-interface thread and the run worker.
//
// The worker polls the stop flags while the user interface writes them, so
// every flag is atomic: each pass of a polling loop reads memory afresh.
#pragma once

#include <atomic>
#include <string>

// A worker owns the target; the user interface sends nothing meanwhile.
extern std::atomic<bool> g_bTargetBusy;
// Stop was pressed: the run worker sends the break byte.
extern std::atomic<bool> g_bStopRequest;
// Stop was pressed: the step loops end after the current instruction.
extern std::atomic<bool> g_bStepStop;
// A project is loaded; the debug commands are enabled.
extern std::atomic<bool> g_bProjectLoaded;
// The target's code memory was found equal to the loaded image.
extern std::atomic<bool> g_bImageVerified;
// The project is a bare image without debug information.
extern std::atomic<bool> g_bHexOnly;

// Path of the project's Intel HEX image (set when a project is opened).
extern std::string g_strHexPath;
