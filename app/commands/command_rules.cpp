#include "command_rules.h"

#include "command_ids.h"
#include "target_flags.h"

#include <algorithm>

DebugState CurrentDebugState() {
    DebugState state;
    state.loaded = g_bProjectLoaded;
    state.busy = g_bTargetBusy;
    state.hexOnly = g_bHexOnly;
    return state;
}

namespace {

// Enabled while a project is loaded and no worker runs.
const std::vector<int> kIdleCommands = {cmd::kClose, cmd::kReload, cmd::kBoardReset,
                                        cmd::kImageLoad, cmd::kContinue, cmd::kStep, cmd::kNext,
                                        cmd::kStepi, cmd::kNexti, cmd::kSetBreak, cmd::kClearBreak,
                                        cmd::kClearAllBreaks, cmd::kInitDebugger,
                                        // The BreakPoint pane's Remove and Remove All.
                                        cmd::kRemoveBreakPoint, cmd::kRemoveAllBreakPoints};

// Enabled while a project is loaded, running or not.
const std::vector<int> kLoadedCommands = {cmd::kStop, cmd::kAnalysisPrintTrace, cmd::kAnalysisStart,
                                          cmd::kAnalysisReport};

bool IsIdleCommand(int id) {
    return std::find(kIdleCommands.begin(), kIdleCommands.end(), id) != kIdleCommands.end();
}

} // namespace

const std::vector<int>& RuledCommands() {
    static const std::vector<int> commands = [] {
        std::vector<int> all = kIdleCommands;
        all.insert(all.end(), kLoadedCommands.begin(), kLoadedCommands.end());
        all.push_back(cmd::kRunToCursorLine);
        return all;
    }();
    return commands;
}

bool IsCommandEnabled(int id, const DebugState& state) {
    if (std::find(kLoadedCommands.begin(), kLoadedCommands.end(), id) != kLoadedCommands.end())
        return state.loaded;
    if (id == cmd::kRunToCursorLine) return state.loaded && !state.busy && !state.hexOnly;
    if (IsIdleCommand(id)) return state.loaded && !state.busy;
    return true;
}

bool IsDebugFunctionKey(int functionNumber) {
    return functionNumber >= 2 && functionNumber <= 12;
}

KeyResult FunctionKeyRelease(int functionNumber, const DebugState& state) {
    KeyResult result;
    if (!IsDebugFunctionKey(functionNumber)) return result;
    if (functionNumber == 6) {
        if (state.loaded && state.busy) result.action = KeyAction::Stop;
        return result;
    }
    // F9 too waits for an idle target: setting a breakpoint talks to the
    // adapter, which a running worker owns.
    if (!state.loaded || state.busy) return result;
    static const int kCommands[13] = {
        0, 0,           cmd::kBoardReset, cmd::kImageLoad, cmd::kReload, cmd::kContinue,
        0, cmd::kNexti, cmd::kStepi,      cmd::kSetBreak,  cmd::kNext,   cmd::kStep,
        0};
    int command = kCommands[functionNumber];
    if (command != 0) {
        result.action = KeyAction::Command;
        result.command = command;
    }
    return result;
}

int ClampProgress(int percent) {
    return std::clamp(percent, 0, 100);
}

bool ProgressValue::Set(int percent) {
    int value = ClampProgress(percent);
    if (value == shown_) return false;
    shown_ = value;
    return true;
}

std::string WorkingDirFromInstallDir(const std::string& stored) {
    std::string dir = stored.substr(0, 255);
    if (!dir.empty() && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
    return dir;
}

std::string TrimLeadingBlanks(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n\v\f");
    return first == std::string::npos ? std::string() : text.substr(first);
}
