#include "gui_test.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>
#include <wx/window.h>
#include <wx/wx.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace guitest {

void PumpEvents(int milliseconds) {
    wxStopWatch watch;
    do {
        wxTheApp->ProcessPendingEvents();
        while (wxTheApp->Pending())
            wxTheApp->Dispatch();
        wxTheApp->Yield(true);
        wxMilliSleep(5);
    } while (watch.Time() < milliseconds);
}

std::string ScreenshotDirectory() {
    std::string dir = VEXA_SCREENSHOT_DIR;
    wxFileName::Mkdir(dir, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    return dir;
}

namespace {

int LowestBit(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// Reads the screen rectangle straight from the X server. (The toolkit's
// screen device context keeps its first capture and returns it again.)
bool GrabScreen(const wxPoint& origin, const wxSize& size, wxImage& image) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    XImage* pixels =
        XGetImage(display, DefaultRootWindow(display), origin.x, origin.y,
                  static_cast<unsigned>(size.x), static_cast<unsigned>(size.y), AllPlanes, ZPixmap);
    if (pixels == nullptr) {
        XCloseDisplay(display);
        return false;
    }
    const int red = LowestBit(pixels->red_mask);
    const int green = LowestBit(pixels->green_mask);
    const int blue = LowestBit(pixels->blue_mask);
    image.Create(size.x, size.y);
    for (int y = 0; y < size.y; ++y) {
        for (int x = 0; x < size.x; ++x) {
            unsigned long v = XGetPixel(pixels, x, y);
            image.SetRGB(x, y, static_cast<unsigned char>((v & pixels->red_mask) >> red),
                         static_cast<unsigned char>((v & pixels->green_mask) >> green),
                         static_cast<unsigned char>((v & pixels->blue_mask) >> blue));
        }
    }
    XDestroyImage(pixels);
    XCloseDisplay(display);
    return true;
}

} // namespace

bool GrabWindow(wxWindow* window, wxImage& image, int settleMs) {
    if (window == nullptr) return false;
    window->Update();
    PumpEvents(settleMs);
    const wxPoint origin = window->GetScreenPosition();
    const wxSize size = window->GetSize();
    if (size.x <= 0 || size.y <= 0) return false;
    // Only the part that lies on the screen can be read.
    const wxRect visible =
        wxRect(origin, size).Intersect(wxRect(wxPoint(0, 0), wxGetDisplaySize()));
    if (visible.IsEmpty()) return false;
    return GrabScreen(visible.GetPosition(), visible.GetSize(), image);
}

std::string SaveScreenshot(wxWindow* window, const std::string& name) {
    wxImage image;
    if (!GrabWindow(window, image)) return std::string();
    std::string path = ScreenshotDirectory() + "/" + name + ".png";
    if (!image.SaveFile(path, wxBITMAP_TYPE_PNG)) return std::string();
    return path;
}

namespace {

// The first 32-bit value of `window`'s property `name`, when it has one.
bool ReadCardinal(Display* display, Window window, const char* name, Atom type,
                  unsigned long& value) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom property = XInternAtom(display, name, True);
    if (property == None ||
        XGetWindowProperty(display, window, property, 0, 1, False, type, &actualType, &format,
                           &count, &after, &data) != Success)
        return false;
    const bool found = data != nullptr && actualType == type && format == 32 && count == 1;
    if (found) value = *reinterpret_cast<unsigned long*>(data);
    if (data) XFree(data);
    return found;
}

// The shown X window of this process titled `title`, searched from `under`.
Window FindShownWindow(Display* display, Window under, const std::string& title) {
    XWindowAttributes attributes;
    unsigned long pid = 0;
    char* name = nullptr;
    if (XGetWindowAttributes(display, under, &attributes) && attributes.map_state == IsViewable &&
        ReadCardinal(display, under, "_NET_WM_PID", XA_CARDINAL, pid) &&
        pid == static_cast<unsigned long>(getpid()) && XFetchName(display, under, &name)) {
        const bool same = title == name;
        XFree(name);
        if (same) return under;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(display, under, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && found == 0; ++i)
            found = FindShownWindow(display, children[i], title);
        if (children) XFree(children);
    }
    return found;
}

} // namespace

bool WindowManagerRunning() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    unsigned long manager = 0;
    const bool running = ReadCardinal(display, DefaultRootWindow(display),
                                      "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, manager) &&
                         manager != 0;
    XCloseDisplay(display);
    return running;
}

bool ResizeFromOutside(wxWindow* window, const wxSize& size) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    const Window found =
        FindShownWindow(display, DefaultRootWindow(display), window->GetLabel().ToStdString());
    if (found != 0) {
        XResizeWindow(display, found, static_cast<unsigned>(size.x), static_cast<unsigned>(size.y));
        XFlush(display);
    }
    XCloseDisplay(display);
    return found != 0;
}

namespace {

bool RunningUnderCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::strcmp(ci, "") != 0 && std::strcmp(ci, "false") != 0;
}

} // namespace

bool StartToolkit(int argc, char** argv, wxApp* app, int& result) {
    wxApp::SetInstance(app);
    if (wxEntryStart(argc, argv)) return true;
    if (RunningUnderCi()) {
        std::fprintf(stderr, "GUI tests need a display (run them under xvfb-run)\n");
        result = 1;
        return false;
    }
    ::testing::GTEST_FLAG(filter) = "-*";
    std::fprintf(stderr, "no display: GUI tests skipped (run them under xvfb-run)\n");
    result = RUN_ALL_TESTS();
    return false;
}

} // namespace guitest
