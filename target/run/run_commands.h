// The Debug menu's run commands as the user interface calls them: each checks
// its guards and the image, then starts its worker (or, for Stepi, acts at
// once) and returns. Results: 1 when the command was started, 0 when a guard
// or the image check refused it.
//
// Continue, Step, Next, Nexti and Run To Cursor Line run on one worker
// thread with the busy flag set; the worker posts its completion and the
// user interface clears the flag in FinishRun. Nexti runs on the worker so
// that Stop still reaches a called routine that never returns.
#pragma once

#include <cstdint>
#include <string>

// Enable rules of the debug commands.
bool IsDebugCommandEnabled(); // loaded and not busy
bool IsStopEnabled();         // loaded
bool IsRunToCursorEnabled();  // loaded, not busy and not a bare image

// When the target's image has not been found equal to the project's since
// the project was opened, compares them now. On a mismatch shows
// "Error!! Load Image mismatch. please reload Image." and gives 0.
int CheckTargetImage();

int OnDebugContinue();
// Raises both stop requests; the worker sends the break byte.
int OnDebugStop();
int OnDebugStep();
int OnDebugNext();
int OnDebugNexti();
// One instruction on the calling (user-interface) thread; the PC is shown and
// every pane refreshed before it returns.
int OnDebugStepi();

// Runs to the code address of `file`:`line` (the editor's caret line). 0 as
// well when the line has no code.
int OnDebugRunToCursorLine(const std::string& file, int line);
// Image check, busy, and a worker running to `address`.
int StartRunToCursorThread(uint32_t address);

// True while a worker thread exists that has not been joined.
bool IsWorkerRunning();
// Joins a worker that has already posted its completion (no stop request).
void JoinFinishedWorker();
// Before the project or the main window goes away: stops the target when a
// worker runs it, joins the worker, drops whatever it still posts and clears
// the busy flag.
void StopAndJoinWorker();

// Project close (and main-window close): StopAndJoinWorker, then the
// breakpoint list and address map emptied and the PC model dropped.
void EndRunSession();
