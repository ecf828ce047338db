// When the Project, Debug and Tool commands may run, and what the function
// keys do. No window is needed: the frame asks these rules and acts.
#pragma once

#include <string>
#include <vector>

// The run state the rules look at.
struct DebugState {
    bool loaded = false;  // a project is loaded
    bool busy = false;    // a worker owns the target
    bool hexOnly = false; // the project is an image without debug information
};

// The state of the process-wide flags now.
DebugState CurrentDebugState();

// The commands whose enabled state these rules decide.
const std::vector<int>& RuledCommands();
// Enabled state of one command; commands the rules do not decide are enabled.
bool IsCommandEnabled(int id, const DebugState& state);

// Function keys act on release only. Every release of F2 to F12 is consumed,
// and their presses are swallowed, whether or not they start anything.
bool IsDebugFunctionKey(int functionNumber); // 2 for F2 ... 12 for F12

enum class KeyAction {
    None,    // consumed, nothing happens
    Command, // run `command`
    Stop,    // raise the stop requests of the running worker
};
struct KeyResult {
    KeyAction action = KeyAction::None;
    int command = 0;
};
// What the release of F<functionNumber> does in `state`.
KeyResult FunctionKeyRelease(int functionNumber, const DebugState& state);

// The status bar's progress pane shows 0 to 100.
int ClampProgress(int percent);

// The progress value shown; Set reports whether the shown value changed, so
// the gauge is redrawn only then.
class ProgressValue {
public:
    bool Set(int percent);
    int Shown() const { return shown_; }

private:
    int shown_ = 0;
};

// The working directory made of the stored install directory: at most 255
// characters, without one trailing path separator. Empty leaves the
// working directory as it is.
std::string WorkingDirFromInstallDir(const std::string& stored);

// The find (or replace) history: `count` entries read through `entry`, at
// most 100, leading blanks removed, blank entries skipped.
template <typename EntryReader> std::vector<std::string> ReadHistory(long count, EntryReader entry);

constexpr int kMaxHistoryEntries = 100;
std::string TrimLeadingBlanks(const std::string& text);

template <typename EntryReader>
std::vector<std::string> ReadHistory(long count, EntryReader entry) {
    std::vector<std::string> history;
    for (int i = 0; i < count && i < kMaxHistoryEntries; ++i) {
        std::string text = TrimLeadingBlanks(entry(i));
        if (!text.empty()) history.push_back(text);
    }
    return history;
}
