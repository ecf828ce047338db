// What opening each of a list of projects or images gives the user, one
// report per project and a summary: the project-report mode of
// project_open_speed.
#pragma once

#include <string>
#include <vector>

namespace bench {

// Opens each path headless (a folder stands for every project file below it)
// and prints its report. `scratch` takes the disassembler's output. Returns
// 0, or 1 when a path names nothing.
int ReportProjects(const std::vector<std::string>& paths, const std::string& scratch);

} // namespace bench
