// Support for tests that open real windows (run them under xvfb-run).
#pragma once

#include <string>

class wxApp;
class wxImage;
class wxSize;
class wxWindow;

namespace guitest {

// Lets the event loop run for about `milliseconds`, so windows get shown,
// sized and painted and queued events are delivered.
void PumpEvents(int milliseconds = 50);

// Saves what `window` shows on the screen as PNG under the build folder's
// screenshots/ directory (name without extension). Returns the file's path,
// empty when it could not be saved.
std::string SaveScreenshot(wxWindow* window, const std::string& name);

// What `window` shows on the screen (the part that lies on it), read after
// the window has painted and events have run for `settleMs`. False when
// nothing of it could be read.
bool GrabWindow(wxWindow* window, wxImage& image, int settleMs = 100);

// The folder the screenshots go to (created on demand).
std::string ScreenshotDirectory();

// Whether a window manager manages the display's windows (it announces
// itself on the root window).
bool WindowManagerRunning();

// Asks for the top-level window `window` to be resized to `size` from
// outside the program, as a user's drag of its border or another program
// does: the window manager carries it out. False when the window is not
// found on the display.
bool ResizeFromOutside(wxWindow* window, const wxSize& size);

// Starts wxWidgets with `app` as the application (call after
// InitGoogleTest). Without a display it returns false and sets `result`: the
// tests are skipped, except under CI, where a missing display is a failure.
bool StartToolkit(int argc, char** argv, wxApp* app, int& result);

} // namespace guitest
