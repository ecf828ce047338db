// Starting a program and the folders a program needs.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace platform {

struct ProgramResult {
    bool started = false;    // false: the program could not be started (see error)
    int exitStatus = -1;     // exit status when it ended normally, -1 when killed by a signal
    std::string error;       // why it could not be started or did not end normally
    std::string errorOutput; // what it wrote to its standard error (the first 64 KB)
};

// Runs `program` with `args` (no shell: each argument is passed as it is),
// in `workDir` when not empty, and waits for it to end. Its standard error
// is collected into the result; its standard output is the caller's. `program` is a path
// (no search of PATH); a relative one is taken from the caller's current folder.
// With a `timeLimit` above 0, a program still running after it is killed, and
// the result says so (started, exit status -1, "... did not end within N s
// and was stopped").
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workDir = std::string(),
                         std::chrono::milliseconds timeLimit = std::chrono::milliseconds(0));

// The folder that holds the running executable (no trailing '/').
std::string ExecutableDirectory();

// A per-user writable folder for files the debugger makes (created on demand):
// $XDG_CACHE_HOME/ostrel-debugger, else $HOME/.cache/ostrel-debugger,
// else a folder under the system's temporary folder; empty when none can be made.
std::string UserDataDirectory();

} // namespace platform
