// How long a headless Open takes, phase by phase, with the real disassembler:
// the largest real project that opens (when the projects are beside the
// repository) and synthetic projects of 32 KB and 64 KB of code with a large
// map. The phases are told apart by the progress the loader reports (0 after
// the project file, 10 after the map, 20 after the disassembly, 30 after the
// listings, 100 after the listing model); the line tables are built inside
// the listings step, so they are timed by building them again from the same
// inputs and taken out of that step. Each figure is the best of several runs.
// Equal times per KB at both synthetic sizes show a phase is linear.
//
// Last, the open of the example (in both map forms) and of the 64 KB project
// with one map line damaged past every image: it must cost no more than the
// undamaged open.
//
// Usage: project_open_speed
//        project_open_speed PROJECT.Uv2|IMAGE.hex|FOLDER ...
// With arguments it opens each project or image (a folder stands for every
// project file below it) and prints what the user would get: the messages
// in order, whether it loaded, each module with its kind, source file, line
// records and instructions attached, and the phase times.
#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "headless_open.h"
#include "line_tables.h"
#include "listing_reader.h"
#include "map_text.h"
#include "project_report.h"
#include "symbol_table.h"

namespace {

namespace fs = std::filesystem;
using namespace bench;

// ---- measuring one project ----

struct Measurement {
    bool opened = false;
    std::string failure;  // the first message Open showed
    uint32_t codeEnd = 0; // highest address of the disassembly
    size_t instructions = 0;
    size_t modules = 0;
    size_t linesWithCode = 0; // source lines that got instructions
    double ms[kPhases] = {};
};

size_t AttachedInstructions(const Loader& source) {
    size_t count = 0;
    for (const TextLine& line : source.m_lines)
        count += line.m_instructions.size();
    return count;
}

// Builds the line tables of the loaded project again, on fresh copies of its
// listings and sources, and returns how long that took. The project's symbol
// table takes the positions again (the same ones), so the replay costs a
// little less than the first build, which inserted them. Warns when the copies
// did not get the instructions the open gave the sources.
double ReplayLineTables(const CProjectLoader& loader) {
    std::vector<std::string> sourceNames(loader.m_projectFiles.m_listFiles.begin(),
                                         loader.m_projectFiles.m_listFiles.end());
    std::vector<const LSTLoader*> listings;
    for (auto it = loader.m_listLstLoaders.rbegin(); it != loader.m_listLstLoaders.rend(); ++it)
        listings.push_back(it->get());
    std::vector<std::unique_ptr<LSTLoader>> copies;
    for (const LSTLoader* listing : listings) {
        auto copy = std::make_unique<LSTLoader>();
        copy->AssignText(listing->m_strName, listing->m_strText);
        SplitTextLines(*copy);
        copy->m_strModuleName = listing->m_strModuleName;
        copy->m_pSourceLoader = std::make_shared<Loader>();
        copy->m_pSourceLoader->AssignText(listing->m_pSourceLoader->m_strName,
                                          listing->m_pSourceLoader->m_strText);
        SplitTextLines(*copy->m_pSourceLoader);
        copies.push_back(std::move(copy));
    }
    const Clock::time_point start = Clock::now();
    const AddressTextMap& instructions = loader.m_pDisasmLoader->m_mapInstructions;
    const InstructionOrder order = OrderInstructions(instructions);
    for (size_t i = 0; i < copies.size() && i < sourceNames.size(); ++i) {
        const CLineInfoInModule* lines =
            FindModuleLineInfo(*loader.m_pMapLoader, copies[i]->m_strModuleName);
        BuildModuleLineEntries(lines, *copies[i], sourceNames[i], instructions, order,
                               loader.m_pDisasmLoader->m_mapLabels, *g_pSymbolTable,
                               g_pSymbolDatabase.get());
    }
    const double ms = MillisecondsBetween(start, Clock::now());
    size_t replayed = 0;
    size_t opened = 0;
    for (const auto& copy : copies)
        replayed += AttachedInstructions(*copy->m_pSourceLoader);
    for (const LSTLoader* listing : listings)
        opened += AttachedInstructions(*listing->m_pSourceLoader);
    if (replayed != opened)
        std::printf("  (the line-table replay attached %zu instructions, the open %zu)\n", replayed,
                    opened);
    return ms;
}

Measurement OpenOnce(const std::string& projectPath, const std::string& scratch,
                     size_t expectedMessages = 0) {
    Measurement result;
    HeadlessOpen open(projectPath, scratch);
    if (!open.messages.shown.empty()) result.failure = open.messages.shown.front().text;
    std::replace(result.failure.begin(), result.failure.end(), '\n', ' ');
    result.opened = open.Complete(expectedMessages);
    if (!result.opened) return result;
    const CProjectLoader& loader = open.loader;
    result.codeEnd = loader.m_pDisasmLoader->m_dwHighestAddress;
    result.instructions = loader.m_pDisasmLoader->m_mapInstructions.size();
    result.modules = loader.m_listLstLoaders.size();
    for (const auto& source : loader.m_listSourceLoaders)
        result.linesWithCode += static_cast<size_t>(
            std::count_if(source->m_lines.begin(), source->m_lines.end(),
                          [](const TextLine& line) { return !line.m_instructions.empty(); }));
    open.PhaseTimes(result.ms);
    result.ms[kLineTables] = ReplayLineTables(loader);
    result.ms[kListings] = std::max(0.0, result.ms[kListings] - result.ms[kLineTables]);
    return result;
}

// The best time of each phase over `runs` opens.
Measurement Measure(const std::string& projectPath, const std::string& scratch, int runs,
                    size_t expectedMessages = 0) {
    Measurement best = OpenOnce(projectPath, scratch, expectedMessages);
    for (int run = 1; run < runs && best.opened; ++run) {
        const Measurement next = OpenOnce(projectPath, scratch, expectedMessages);
        for (int phase = 0; phase < kPhases; ++phase)
            best.ms[phase] = std::min(best.ms[phase], next.ms[phase]);
    }
    return best;
}

void Print(const std::string& title, const Measurement& m) {
    std::printf("%s\n", title.c_str());
    if (!m.opened) {
        std::printf("  did not open: %s\n", m.failure.c_str());
        return;
    }
    std::printf("  %zu modules, %zu source lines with code, %zu instructions, code up to 0x%04X\n",
                m.modules, m.linesWithCode, m.instructions, static_cast<unsigned>(m.codeEnd));
    const double kilobytes = (m.codeEnd + 1) / 1024.0;
    std::printf("  %-14s %9s     %8s     %s\n", "phase", "ms", "ms/KB", "us/instruction");
    for (int phase = 0; phase < kPhases; ++phase)
        std::printf("  %-14s %9.2f     %8.3f     %8.3f\n", kPhaseNames[phase], m.ms[phase],
                    m.ms[phase] / kilobytes,
                    m.instructions ? 1000.0 * m.ms[phase] / m.instructions : 0.0);
}

// ---- synthetic projects ----

struct Shape {
    int modules;
    int functionsPerModule = 16;
    int linesPerFunction = 16; // source lines with code
    int bytesPerLine = 4;
    int blankLinesPerFunction = 4; // source lines without code, above the function
    int dataPerModule = 24;
    int localsPerFunction = 3;
};

std::string TableLine(const std::string& name, const char* memoryClass, const char* space,
                      const char* type, const char* size, bool indented) {
    std::string dotted = (indented ? "  " : "") + name;
    while (dotted.size() < 39)
        dotted += dotted.size() % 2 ? ". " : " ";
    char line[160];
    std::snprintf(line, sizeof line, "%-40s%-9s%-7s%-9s0000H  %s\n", dotted.c_str(), memoryClass,
                  space, type, size);
    return line;
}

std::string ModuleName(int module) {
    return "mod" + std::to_string(module);
}
std::string FunctionName(int module, int function) {
    return "f" + std::to_string(module) + "_" + std::to_string(function);
}
std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// An Intel HEX image of `size` NOP bytes from address 0: every address starts
// an instruction, the most instructions an image of that size can hold.
std::string NopImage(uint32_t size) {
    std::string text;
    for (uint32_t address = 0; address < size; address += 16) {
        const uint32_t count = std::min<uint32_t>(16, size - address);
        const uint32_t sum = count + (address >> 8) + (address & 0xFF);
        text += ":" + Hex(count, 2) + Hex(address, 4) + "00" + std::string(count * 2, '0') +
                Hex((0x100 - (sum & 0xFF)) & 0xFF, 2) + "\r\n";
    }
    return text + ":00000001FF\r\n";
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Writes a project of `shape` into `folder` as a build leaves it and returns
// the project file's path: the project file, the map, the image, and each
// module's source and listing with its symbol table.
std::string WriteSyntheticProject(const fs::path& folder, const Shape& shape) {
    const uint32_t functionBytes =
        static_cast<uint32_t>(shape.linesPerFunction * shape.bytesPerLine);
    const uint32_t codeSize =
        static_cast<uint32_t>(shape.modules * shape.functionsPerModule) * functionBytes;
    const int sourceLinesPerFunction = shape.blankLinesPerFunction + shape.linesPerFunction;
    auto start = [&](int module, int function) {
        return static_cast<uint32_t>(module * shape.functionsPerModule + function) * functionBytes;
    };

    std::string project = "### uVision2 Project, (C) Keil Software\r\n### Do not modify !\r\n\r\n"
                          "Target (Target 1), 0x0000 // Tools: 'MCS-51'\r\n\r\n"
                          "Group (Source Group 1)\r\n\r\n";
    for (int m = 0; m < shape.modules; ++m)
        project += "File 1,1,<.\\" + ModuleName(m) + ".c><" + ModuleName(m) + ".c>\r\n";
    project += "\r\n\r\nOptions 1,0,0  // Target 'Target 1'\r\n OutDir (.\\)\r\n"
               " OutName (synth)\r\n LstDir (.\\)\r\n";
    WriteFile(folder / "synth.Uv2", project);
    WriteFile(folder / "synth.hex", NopImage(codeSize));

    std::string map = "BL51 BANKED LINKER/LOCATER V5.12\r\n\r\nINPUT MODULES INCLUDED:\r\n";
    for (int m = 0; m < shape.modules; ++m)
        map += "  " + ModuleName(m) + ".obj (" + Upper(ModuleName(m)) + ")\r\n";
    map += "\r\n\r\nLINK MAP OF MODULE:  synth (MOD0)\r\n\r\n"
           "            * * * * * * *   D A T A   M E M O R Y   * * * * * * *\r\n";
    for (int m = 0; m < shape.modules; ++m)
        map += "            DATA    0008H     0010H     UNIT         ?DT?" + Upper(ModuleName(m)) +
               "\r\n";
    map += "\r\n            * * * * * * *   C O D E   M E M O R Y   * * * * * * *\r\n";
    for (int m = 0; m < shape.modules; ++m)
        for (int f = 0; f < shape.functionsPerModule; ++f)
            map += "            CODE    " + Hex(start(m, f), 4) + "H     " + Hex(functionBytes, 4) +
                   "H     UNIT         ?PR?" + Upper(FunctionName(m, f)) + "?" +
                   Upper(ModuleName(m)) + "\r\n";
    map += "\r\n\r\nSYMBOL TABLE OF MODULE:  synth (MOD0)\r\n\r\n"
           "  VALUE           TYPE          NAME\r\n  ----------------------------------\r\n\r\n";
    for (int m = 0; m < shape.modules; ++m) {
        const std::string module = Upper(ModuleName(m));
        map += M51Symbol("-------", "MODULE", module);
        for (int d = 0; d < shape.dataPerModule; ++d)
            map += M51Symbol(d % 2 ? "X:" + Hex(static_cast<uint32_t>(m * 64 + d), 4) + "H"
                                   : "D:" + Hex(static_cast<uint32_t>(0x08 + d % 0x70), 4) + "H",
                             "PUBLIC", "v" + std::to_string(m) + "_" + std::to_string(d));
        for (int f = 0; f < shape.functionsPerModule; ++f) {
            const std::string function = FunctionName(m, f);
            map += M51Symbol("C:" + Hex(start(m, f), 4) + "H", "PUBLIC", function);
            map += M51Symbol("-------", "PROC", Upper(function));
            for (int l = 0; l < shape.localsPerFunction; ++l)
                map += M51Symbol("D:" + Hex(static_cast<uint32_t>(0x20 + l), 4) + "H", "SYMBOL",
                                 "l" + std::to_string(l));
            for (int l = 0; l < shape.linesPerFunction; ++l)
                map += M51Symbol(
                    "C:" + Hex(start(m, f) + static_cast<uint32_t>(l * shape.bytesPerLine), 4) +
                        "H",
                    "LINE#",
                    std::to_string(f * sourceLinesPerFunction + shape.blankLinesPerFunction + l +
                                   1));
            map += M51Symbol("-------", "ENDPROC", Upper(function));
        }
        map += M51Symbol("-------", "ENDMOD", module);
        map += "\r\n";
    }
    map += "Program Size: data=8.0 xdata=0 code=" + std::to_string(codeSize) + "\r\n";
    map += "LINK/LOCATE RUN COMPLETE.  0 WARNING(S),  0 ERROR(S)\r\n";
    WriteFile(folder / "synth.M51", map);

    for (int m = 0; m < shape.modules; ++m) {
        std::string source;
        std::string echo;
        int number = 0;
        for (int f = 0; f < shape.functionsPerModule; ++f) {
            for (int l = 0; l < sourceLinesPerFunction; ++l) {
                std::string text;
                if (l == 0)
                    text = "// " + FunctionName(m, f) + ": keeps v" + std::to_string(m) + "_0 & co";
                else if (l < shape.blankLinesPerFunction)
                    text = "";
                else if (l == shape.blankLinesPerFunction)
                    text = "void " + FunctionName(m, f) + "(void) {";
                else if (l + 1 == sourceLinesPerFunction)
                    text = "}";
                else
                    text = "    if (v" + std::to_string(m) + "_1 < " + std::to_string(l) + ") v" +
                           std::to_string(m) + "_0 += l0;";
                source += text + "\r\n";
                char line[32];
                std::snprintf(line, sizeof line, "%6d   1    ", ++number);
                echo += line + text + "\r\n";
            }
        }
        WriteFile(folder / (ModuleName(m) + ".c"), source);

        std::string listing = "C51 COMPILER V8.12   " + Upper(ModuleName(m)) +
                              "\r\n\r\nline level    source\r\n\r\n" + echo +
                              "\r\n\r\nNAME                                    CLASS   MSPACE  "
                              "TYPE    OFFSET  SIZE\r\n" +
                              kListingTableRule + "\r\n\r\n\r\n";
        for (int d = 0; d < shape.dataPerModule; ++d)
            listing += TableLine("v" + std::to_string(m) + "_" + std::to_string(d), "PUBLIC",
                                 d % 2 ? "XDATA" : "DATA", d % 2 ? "INT" : "U_CHAR",
                                 d % 2 ? "2" : "1", false);
        for (int f = 0; f < shape.functionsPerModule; ++f) {
            listing += TableLine(FunctionName(m, f), "PUBLIC", "CODE", "PROC", "-----", false);
            for (int l = 0; l < shape.localsPerFunction; ++l)
                listing += TableLine("l" + std::to_string(l), "AUTO", "DATA", "U_CHAR", "1", true);
        }
        listing += "\r\n\r\n" + std::string(kListingTableEnd) + "   STATIC OVERLAYABLE\r\n";
        WriteFile(folder / (ModuleName(m) + ".lst"), listing);
    }
    return (folder / "synth.Uv2").string();
}

// Every project file below `folder`.
std::vector<std::string> ProjectFiles(const std::string& folder) {
    std::vector<std::string> found;
    std::error_code error;
    if (!fs::is_directory(folder, error)) return found;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
        std::string extension = entry.path().extension().string();
        if (entry.is_regular_file(error) && Upper(extension) == ".UV2")
            found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// ---- a damaged map line ----

// Replaces the address of the first source-line record of the map at `path`
// that follows another one inside a function with one no image reaches, so
// that the line before it would reach that address. False when it has none.
bool DamageOneLineRecord(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bool inFunction = false;
    bool afterLine = false;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        const bool isLine = line.find(" LINE") != std::string::npos;
        if (line.find(" PROC ") != std::string::npos || line.find(" BLOCK ") != std::string::npos)
            inFunction = true;
        if (inFunction && isLine && afterLine) {
            const size_t value = text.find_first_not_of(' ', start);
            text.replace(value, text.find(' ', value) - value, "C:FFFFFFFFFFFFFFFFH");
            std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
            return true;
        }
        afterLine = isLine;
        start = end + 1;
    }
    return false;
}

// Opens a copy of the project in `folder` whose map (`map`, relative to the
// folder) has one damaged line record.
void MeasureDamagedOpen(const fs::path& folder, const std::string& project, const std::string& map,
                        const fs::path& scratch, int runs) {
    const fs::path copy = scratch / ("damaged-" + project);
    fs::copy(folder, copy, fs::copy_options::recursive);
    if (!DamageOneLineRecord(copy / map)) {
        std::printf("%s: no line record to damage in %s\n", project.c_str(), map.c_str());
        return;
    }
    // The open names the damaged line in one message and loads the rest.
    const Measurement m = Measure((copy / project).string(), scratch.string(), runs, 1);
    std::printf("  %-16s %s, open %8.2f ms, %s: %s\n", project.c_str(), map.c_str(), m.ms[kTotal],
                m.opened ? "opened with its message" : "did not open", m.failure.c_str());
}

} // namespace

int main(int argc, char** argv) {
    const std::string fixtures = VEXA_KEIL_FIXTURES;
    constexpr int kRuns = 5;
    char pattern[] = "/tmp/project_open_speed.XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path scratch = pattern;
    if (argc > 1) {
        const int status =
            ReportProjects(std::vector<std::string>(argv + 1, argv + argc), scratch.string());
        std::error_code error;
        fs::remove_all(scratch, error);
        return status;
    }

    // The real projects: every one is opened once; the largest that opens is measured.
    const std::vector<std::string> projects = ProjectFiles(fixtures);
    if (projects.empty()) {
        std::printf("real projects: none in %s (skipped)\n\n", fixtures.c_str());
    } else {
        std::string largest;
        uint32_t largestEnd = 0;
        for (const std::string& project : projects) {
            const Measurement once = OpenOnce(project, scratch.string());
            if (once.opened && (largest.empty() || once.codeEnd > largestEnd)) {
                largest = project;
                largestEnd = once.codeEnd;
            }
        }
        if (largest.empty())
            std::printf("real projects: none of %zu opens\n\n", projects.size());
        else
            Print("largest real project that opens: " + largest,
                  Measure(largest, scratch.string(), kRuns));
        std::printf("\n");
    }

    // Synthetic projects of 32 KB and 64 KB: every byte is a NOP; 16 functions of
    // 16 source lines with 4 bytes of code each per module.
    bool fast = true;
    for (int modules : {32, 64}) {
        Shape shape;
        shape.modules = modules;
        const fs::path folder = scratch / ("synth" + std::to_string(modules));
        fs::create_directories(folder);
        const std::string project = WriteSyntheticProject(folder, shape);
        const Measurement m = Measure(project, scratch.string(), kRuns);
        Print("synthetic project of " + std::to_string(modules) + " modules", m);
        std::printf("\n");
        if (modules == 64) fast = m.opened && m.ms[kTotal] < 300.0;
    }
    std::printf("64 KB project opens in under 300 ms: %s\n", fast ? "yes" : "NO");

    // One map line whose address no image reaches (C:FFFFFFFFFFFFFFFFH), in
    // the example's two map forms and in the 64 KB synthetic project.
    std::printf("\nopen with one damaged map line (best of %d):\n", kRuns);
    const fs::path example = VEXA_EXAMPLE_DIR;
    MeasureDamagedOpen(example, "blinky.uv2", "lst/blinky.m51", scratch, kRuns);
    MeasureDamagedOpen(example, "blinky_lx.uv2", "lst/blinky.map", scratch, kRuns);
    MeasureDamagedOpen(scratch / "synth64", "synth.Uv2", "synth.M51", scratch, kRuns);

    std::error_code error;
    fs::remove_all(scratch, error);
    return 0;
}
