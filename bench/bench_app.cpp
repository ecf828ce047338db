#include "bench_app.h"

#include <wx/init.h>
#include <wx/utils.h>

#include <cstdio>

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

bool StartBenchApp(int argc, char** argv, const char* name) {
    wxApp::SetInstance(new BenchApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "%s needs a display (run it under xvfb-run)\n", name);
        return false;
    }
    wxTheApp->CallOnInit();
    return true;
}

void EndBenchApp() {
    wxTheApp->OnExit();
    wxEntryCleanup();
}

void Pump(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        wxTheApp->ProcessPendingEvents();
        while (wxTheApp->Pending())
            wxTheApp->Dispatch();
        wxTheApp->Yield(true);
        wxMilliSleep(5);
    }
}
