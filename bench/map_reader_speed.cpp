// How fast the linker-map readers are: the largest map among the real
// projects (when they are beside the repository) and synthetic maps of 200
// modules and 5 000 symbols, once at that size and once four times as large.
// For each: the time per MB of map text and the lookups per second on the
// tables it filled. Equal times per MB at both sizes show that reading is
// linear in the input size.
//
// Usage: map_reader_speed [folder of real projects]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "extended_map_reader.h"
#include "m51_reader.h"
#include "map_loader.h"
#include "map_text.h"
#include "path_resolver.h"
#include "regular_file.h"
#include "symbol_table.h"
#include "xdata_range.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

enum class Form { M51, Extended };

// ---- synthetic maps ----

struct Shape {
    int modules;
    int functionsPerModule;
    int dataPerModule; // public data symbols besides the functions' code symbols
    int localsPerFunction;
    int linesPerFunction;
};

std::string MapRow(const std::string& value, const char* rep, const char* memoryClass,
                   const char* type, const std::string& name) {
    char line[160];
    std::snprintf(line, sizeof line, "      %-12s%-10s%-9s%-10s%s\n", value.c_str(), rep,
                  memoryClass, type, name.c_str());
    return line;
}

std::string SyntheticMap(const Shape& shape, Form form) {
    const int functions = shape.modules * shape.functionsPerModule;
    const uint32_t length = std::max<uint32_t>(4, 0xF000 / static_cast<uint32_t>(functions));
    const bool m51 = form == Form::M51;
    auto start = [&](int module, int function) {
        return 0x100 + static_cast<uint32_t>(module * shape.functionsPerModule + function) * length;
    };
    auto functionName = [](int module, int function) {
        return "F" + std::to_string(module) + "_" + std::to_string(function);
    };
    auto moduleName = [](int module) { return "MOD" + std::to_string(module); };

    std::string text;
    text += m51 ? "            * * * * * * *   C O D E   M E M O R Y   * * * * * * *\n"
                : "* * * * * * * * * * *   C O D E   M E M O R Y   * * * * * * * * * * * * *\n";
    for (int m = 0; m < shape.modules; ++m) {
        for (int f = 0; f < shape.functionsPerModule; ++f) {
            const std::string segment = "?PR?" + functionName(m, f) + "?" + moduleName(m);
            if (m51)
                text += "            CODE    " + Hex(start(m, f) & 0xFFFF, 4) + "H     " +
                        Hex(length, 4) + "H     UNIT         " + segment + "\n";
            else
                text += Hex(start(m, f), 6) + "H   " + Hex(start(m, f) + length - 1, 6) + "H   " +
                        Hex(length, 6) + "H   BYTE   UNIT     CODE           " + segment + "\n";
        }
    }
    text += "\nSYMBOL TABLE OF MODULE:  synthetic (MOD0)\n\n";
    for (int m = 0; m < shape.modules; ++m) {
        text += m51 ? M51Symbol("-------", "MODULE", moduleName(m))
                    : MapRow("---", "MODULE", "---", "---", moduleName(m));
        for (int d = 0; d < shape.dataPerModule; ++d) {
            const uint32_t address = static_cast<uint32_t>(m * shape.dataPerModule + d);
            const std::string name = "v" + std::to_string(m) + "_" + std::to_string(d);
            if (m51)
                text += M51Symbol(d % 2 ? "X:" + Hex(address & 0xFFFF, 4) + "H"
                                        : "D:" + Hex(0x08 + address % 0x70, 4) + "H",
                                  "PUBLIC", name);
            else
                text += d % 2 ? MapRow(Hex(0x02000000 + (address & 0xFFFF), 8) + "H", "PUBLIC",
                                       "XDATA", "WORD", name)
                              : MapRow(Hex(0x08 + address % 0x70, 8) + "H", "PUBLIC", "DATA",
                                       "BYTE", name);
        }
        for (int f = 0; f < shape.functionsPerModule; ++f) {
            const uint32_t address = start(m, f);
            const std::string name = functionName(m, f);
            if (m51) {
                text += M51Symbol("C:" + Hex(address & 0xFFFF, 4) + "H", "PUBLIC", name);
                text += M51Symbol("-------", "PROC", name);
            } else {
                text += MapRow(Hex(0x01000000 + address, 8) + "H", "PUBLIC", "CODE", "---", name);
                text += MapRow(Hex(0x01000000 + address, 8) + "H", "BLOCK", "CODE", "---", "LVL=0");
            }
            for (int l = 0; l < shape.localsPerFunction; ++l) {
                const std::string local = "l" + std::to_string(l);
                text += m51 ? M51Symbol("D:" + Hex(0x08 + l, 4) + "H", "SYMBOL", local)
                            : MapRow(Hex(0x08 + l, 8) + "H", "SYMBOL", "DATA", "BYTE", local);
            }
            for (int l = 0; l < shape.linesPerFunction; ++l) {
                const uint32_t lineAddress =
                    address + static_cast<uint32_t>(l) * length /
                                  static_cast<uint32_t>(shape.linesPerFunction);
                const int line = f * 20 + l + 1;
                text += m51 ? M51Symbol("C:" + Hex(lineAddress & 0xFFFF, 4) + "H", "LINE#",
                                        std::to_string(line))
                            : MapRow(Hex(0x01000000 + lineAddress, 8) + "H", "LINE", "CODE", "---",
                                     "#" + std::to_string(line));
            }
            text += m51 ? M51Symbol("-------", "ENDPROC", name)
                        : MapRow("---", "BLOCKEND", "---", "---", "LVL=0");
        }
        if (m51) text += M51Symbol("-------", "ENDMOD", moduleName(m));
    }
    return text;
}

// ---- measuring ----

struct Result {
    double secondsPerRead = 0;
    size_t symbols = 0;
    size_t positions = 0;
    double symbolLookups = 0;   // per second
    double positionLookups = 0; // per second
    double functionLookups = 0; // per second
};

struct Tables {
    MapLoader loader;
    CSymbolTable table;
    CSymbolDatabase database;
};

void Read(Tables& tables, const std::string& text, Form form) {
    tables.loader.AssignText(form == Form::M51 ? "BENCH.M51" : "BENCH.MAP", text);
    SplitTextLines(tables.loader);
    ResetXdataRange();
    if (form == Form::M51)
        ParseM51File(tables.loader, tables.table, tables.database, "/nonexistent");
    else
        ParseMapFile(tables.loader, tables.table, tables.database, "/nonexistent");
}

// Calls `lookup` over `count` keys until at least a fifth of a second has passed.
template <typename Lookup> double LookupsPerSecond(size_t count, Lookup lookup) {
    if (count == 0) return 0;
    size_t done = 0;
    size_t found = 0;
    const Clock::time_point start = Clock::now();
    do {
        for (size_t i = 0; i < count; ++i)
            found += lookup(i) ? 1 : 0;
        done += count;
    } while (SecondsSince(start) < 0.2);
    if (found == 0) std::printf("  (no lookup found anything)\n");
    return static_cast<double>(done) / SecondsSince(start);
}

Result Measure(const std::string& text, Form form) {
    Result result;
    int reads = 0;
    const Clock::time_point start = Clock::now();
    do {
        Tables tables;
        Read(tables, text, form);
        ++reads;
    } while (SecondsSince(start) < 0.5);
    result.secondsPerRead = SecondsSince(start) / reads;

    Tables tables;
    Read(tables, text, form);
    std::vector<std::pair<std::string, int>> names;
    for (const auto& module : tables.loader.m_listModules)
        for (const auto& child : module->m_children) {
            const int selector = child->m_strClass == "CODE" ? kSelectCode : kSelectData;
            names.emplace_back(child->m_strName, selector);
        }
    std::vector<uint32_t> addresses;
    for (const auto& [name, lines] : tables.loader.m_mapModuleLines)
        for (const CLineInfoInMapFormat& record : lines->m_lines)
            if (record.m_nKind == kLineSource) addresses.push_back(record.m_dwAddress);
    result.symbols = tables.table.RecordCount();
    result.positions = tables.table.LinePositionCount();
    result.symbolLookups = LookupsPerSecond(names.size(), [&](size_t i) {
        return tables.table.LookupSymbol(names[i].first, names[i].second) != nullptr;
    });
    result.positionLookups = LookupsPerSecond(addresses.size(), [&](size_t i) {
        return !tables.table.GetLineOfAddress(addresses[i]).empty();
    });
    result.functionLookups = LookupsPerSecond(addresses.size(), [&](size_t i) {
        return tables.database.FindFunctionOfAddress(addresses[i]) != nullptr;
    });
    return result;
}

void Report(const std::string& label, const std::string& text, Form form) {
    const Result r = Measure(text, form);
    const double megabytes = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    std::printf("%-44s %9zu %9.2f %8.1f %8zu %8zu %12.0f %12.0f %12.0f\n", label.c_str(),
                text.size(), r.secondsPerRead * 1000.0, r.secondsPerRead * 1000.0 / megabytes,
                r.symbols, r.positions, r.symbolLookups, r.positionLookups, r.functionLookups);
}

// The largest ".M51" or ".MAP" file below `folder`; empty when there is none.
void FindLargestMap(const std::string& folder, std::string& largest, off_t& largestSize) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "/" + name;
        struct stat st;
        if (stat(path.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            FindLargestMap(path, largest, largestSize);
            continue;
        }
        const std::string extension = platform::ToUpperKey(platform::ExtensionOf(name));
        if ((extension == ".M51" || extension == ".MAP") && st.st_size > largestSize) {
            largest = path;
            largestSize = st.st_size;
        }
    }
    closedir(dir);
}

} // namespace

int main(int argc, char** argv) {
    const std::string fixtures = argc > 1 ? argv[1] : VEXA_KEIL_FIXTURES;
    std::printf("%-44s %9s %9s %8s %8s %8s %12s %12s %12s\n", "map", "bytes", "ms/read", "ms/MB",
                "symbols", "lines", "names/s", "positions/s", "functions/s");

    std::string largest;
    off_t largestSize = 0;
    FindLargestMap(fixtures, largest, largestSize);
    std::string text;
    if (!largest.empty() && platform::ReadFileBytes(largest, text)) {
        const bool extended = platform::ToUpperKey(platform::ExtensionOf(largest)) == ".MAP";
        Report("largest real map: " + platform::FileNameOf(largest), text,
               extended ? Form::Extended : Form::M51);
    } else {
        std::printf("(no real projects in %s)\n", fixtures.c_str());
    }

    // 200 modules, 5 000 symbols: 5 functions and 20 data symbols per module.
    const Shape base{200, 5, 20, 3, 8};
    const Shape large{800, 5, 20, 3, 8};
    for (Form form : {Form::M51, Form::Extended}) {
        const char* kind = form == Form::M51 ? ".M51" : ".MAP";
        Report(std::string("synthetic ") + kind + " 200 modules, 5000 symbols",
               SyntheticMap(base, form), form);
        Report(std::string("synthetic ") + kind + " 800 modules, 20000 symbols",
               SyntheticMap(large, form), form);
    }
    return 0;
}
