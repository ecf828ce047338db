// The bare application the benchmarks that paint run in: the toolkit started
// on the display, and an event pump between the measured steps.
#pragma once

#include <wx/app.h>

class BenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// Starts the toolkit with a BenchApp; false, with a line on stderr saying that
// `name` needs a display, when there is none.
bool StartBenchApp(int argc, char** argv, const char* name);
// Ends what StartBenchApp started.
void EndBenchApp();

// Handles the pending events and lets 5 ms pass, `rounds` times.
void Pump(int rounds);
