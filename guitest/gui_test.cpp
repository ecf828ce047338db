#include "gui_test.h"

#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/filename.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>
#include <wx/window.h>
#include <wx/wx.h>

namespace guitest {

void PumpEvents(int milliseconds) {
    wxStopWatch watch;
    do {
        wxTheApp->ProcessPendingEvents();
        while (wxTheApp->Pending()) wxTheApp->Dispatch();
        wxTheApp->Yield(true);
        wxMilliSleep(5);
    } while (watch.Time() < milliseconds);
}

std::string ScreenshotDirectory() {
    std::string dir = VEXA_SCREENSHOT_DIR;
    wxFileName::Mkdir(dir, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    return dir;
}

std::string SaveScreenshot(wxWindow* window, const std::string& name) {
    if (window == nullptr) return std::string();
    window->Update();
    PumpEvents(100);
    wxPoint origin = window->GetScreenPosition();
    wxSize size = window->GetSize();
    if (size.x <= 0 || size.y <= 0) return std::string();
    wxBitmap bitmap(size);
    {
        wxScreenDC screen;
        wxMemoryDC memory(bitmap);
        memory.Blit(0, 0, size.x, size.y, &screen, origin.x, origin.y);
    }
    std::string path = ScreenshotDirectory() + "/" + name + ".png";
    if (!bitmap.SaveFile(path, wxBITMAP_TYPE_PNG)) return std::string();
    return path;
}

} // namespace guitest
