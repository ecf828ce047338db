#include "project_report.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "headless_open.h"
#include "line_records.h"
#include "path_resolver.h"
#include "project_file.h"
#include "project_modules.h"

namespace bench {

namespace {

namespace fs = std::filesystem;

struct Target {
    std::string path;
    std::string label; // as printed
};

struct Summary {
    std::string label;
    std::string state; // "loaded", "image only" or "not loaded"
    size_t modules = 0;
    size_t lineRecords = 0;
    size_t attached = 0;
    std::string firstMessage;
};

// The paths to open: a file as given, a folder as every project file below it.
bool Expand(const std::string& path, std::vector<Target>& targets) {
    std::error_code error;
    if (fs::is_regular_file(path, error)) {
        targets.push_back({path, path});
        return true;
    }
    if (!fs::is_directory(path, error)) return false;
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(path, error))
        if (entry.is_regular_file(error) &&
            platform::EqualsNoCase(entry.path().extension().string(), ".uv2"))
            found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    const fs::path base = fs::path(path).lexically_normal();
    for (const fs::path& file : found)
        targets.push_back({file.string(), file.lexically_relative(base).generic_string()});
    return true;
}

// A message on one line: its line ends written as "\n".
std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text)
        line += c == '\n' ? std::string("\\n") : std::string(1, c);
    return line;
}

std::string Shorter(const std::string& path, const std::string& folder) {
    const std::string prefix = folder + "/";
    return path.rfind(prefix, 0) == 0 ? path.substr(prefix.size()) : path;
}

size_t SourceLineRecords(const MapLoader& map, const std::string& module) {
    const CLineInfoInModule* lines = FindModuleLineInfo(map, module);
    if (!lines) return 0;
    return static_cast<size_t>(std::count_if(
        lines->m_lines.begin(), lines->m_lines.end(),
        [](const CLineInfoInMapFormat& record) { return record.m_nKind == kLineSource; }));
}

size_t Attached(const Loader& source) {
    size_t count = 0;
    for (const TextLine& line : source.m_lines)
        count += line.m_instructions.size();
    return count;
}

Summary Report(const Target& target, const std::string& scratch) {
    Summary summary;
    summary.label = target.label;
    HeadlessOpen open(target.path, scratch);
    const CProjectLoader& loader = open.loader;
    std::printf("== %s\n", target.label.c_str());
    if (open.messages.shown.empty()) std::printf("messages: none\n");
    for (size_t i = 0; i < open.messages.shown.size(); ++i)
        std::printf("message %zu: %s\n", i + 1, OneLine(open.messages.shown[i].text).c_str());
    if (!open.messages.shown.empty())
        summary.firstMessage = OneLine(open.messages.shown.front().text);

    summary.state = !open.session.loaded   ? "not loaded"
                    : open.session.hexOnly ? "image only"
                                           : "loaded";
    std::printf("%s\n", summary.state.c_str());
    const bool full = open.session.loaded && loader.m_pMapLoader;
    std::vector<ProjectModule> modules = loader.m_modules;
    ProjectSettings settings = loader.m_settings;
    if (!full && platform::EqualsNoCase(platform::ExtensionOf(target.path), ".uv2")) {
        // Not opened: the modules as the project file gives them.
        CFileStruct files;
        if (ReadProjectFile(target.path, settings) && ReadProjectGroupFiles(target.path, files))
            modules = FindProjectModules(settings, files);
    }
    if (!modules.empty())
        std::printf("  %-10s %-14s %-36s %12s %13s\n", "kind", "module", "source", "line records",
                    "instructions");
    for (const ProjectModule& module : modules) {
        std::string source = module.m_strSourcePath;
        std::string records = "-";
        std::string attached = "-";
        if (full) {
            const Loader& loaded =
                *loader.m_mapLstLoaders.at(module.m_strModuleName)->m_pSourceLoader;
            source = Shorter(loaded.m_strPath, settings.m_strProjectDir);
            const size_t lines = SourceLineRecords(*loader.m_pMapLoader, module.m_strModuleName);
            const size_t instructions = Attached(loaded);
            records = std::to_string(lines);
            attached = std::to_string(instructions);
            summary.lineRecords += lines;
            summary.attached += instructions;
        }
        std::printf("  %-10s %-14s %-36s %12s %13s\n", ModuleKindName(module.m_kind),
                    module.m_strModuleName.c_str(), source.c_str(), records.c_str(),
                    attached.c_str());
        ++summary.modules;
    }
    if (open.session.loaded && loader.m_pDisasmLoader)
        std::printf("  image: %zu instructions up to 0x%04X\n",
                    loader.m_pDisasmLoader->m_mapInstructions.size(),
                    static_cast<unsigned>(loader.m_pDisasmLoader->m_dwHighestAddress));
    double ms[kPhases];
    open.PhaseTimes(ms);
    std::printf("phases (ms):");
    for (int phase = 0; phase < kPhases; ++phase)
        if (phase != kLineTables)
            std::printf(" %s %.2f%s", kPhaseNames[phase], ms[phase],
                        phase + 1 < kPhases ? "," : "");
    std::printf("\n\n");
    return summary;
}

} // namespace

int ReportProjects(const std::vector<std::string>& paths, const std::string& scratch) {
    std::vector<Target> targets;
    int status = 0;
    for (const std::string& path : paths)
        if (!Expand(path, targets)) {
            std::printf("%s: no such file or folder\n", path.c_str());
            status = 1;
        }
    std::vector<Summary> summaries;
    for (const Target& target : targets)
        summaries.push_back(Report(target, scratch));

    std::printf("summary\n  %-34s %-10s %7s %12s %13s  %s\n", "project", "state", "modules",
                "line records", "instructions", "first message");
    for (const Summary& s : summaries) {
        const bool loaded = s.state == "loaded";
        std::printf("  %-34s %-10s %7zu %12s %13s  %s\n", s.label.c_str(), s.state.c_str(),
                    s.modules, loaded ? std::to_string(s.lineRecords).c_str() : "-",
                    loaded ? std::to_string(s.attached).c_str() : "-",
                    s.firstMessage.substr(0, 60).c_str());
    }
    return status;
}

} // namespace bench
