// libFuzzer target: the whole headless Open of a one-module project (MAIN.C)
// whose files come from the input, with the real disassembler. The input is
// cut at lines "@@@@" into the linker map (an .MAP map when it names the
// extended linker "LX51", else an .M51 map), MAIN's listing, the Intel HEX
// image and the source; a missing image is 256 NOPs, a missing source the
// listing's text. Open must end, and what it loads keeps the line tables'
// rules: no line record at or past the image's end, every attached
// instruction one of the disassembly's and attached to one line only, its
// position that line's.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "headless_open.h"
#include "line_tables.h"
#include "listing_model.h"
#include "project_loader.h"
#include "symbol_table.h"

namespace {

constexpr const char* kPartSeparator = "\n@@@@\n";

void Require(bool condition) {
    if (!condition) std::abort();
}

std::string NopImage() {
    std::string text;
    for (unsigned address = 0; address < 0x100; address += 16) {
        char record[64];
        const unsigned sum = 16 + (address >> 8) + (address & 0xFF);
        std::snprintf(record, sizeof record, ":10%04X00%s%02X\n", address,
                      std::string(32, '0').c_str(), (0x100 - (sum & 0xFF)) & 0xFF);
        text += record;
    }
    return text + ":00000001FF\n";
}

constexpr const char* kProjectFile = "### uVision2 Project, (C) Keil Software\n"
                                     "Target (Fuzz), 0x0000 // Tools: 'MCS-51'\n"
                                     "Group (Source Group 1)\n"
                                     "File 1,1,<.\\main.c><main.c> 0x0\n\n"
                                     "Options 1,0,0  // Target 'Fuzz'\n"
                                     " OutDir (.\\)\n OutName (fuzz)\n LstDir (.\\)\n";

struct Folder {
    std::string path;
    Folder() {
        char pattern[] = "/tmp/fuzz_project_open.XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        path = pattern;
    }
    ~Folder() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(path + "/" + name, std::ios::binary | std::ios::trunc) << text;
    }
    void Remove(const std::string& name) const { std::remove((path + "/" + name).c_str()); }
};

// The input's parts: map, listing, image, source.
std::vector<std::string> Parts(const std::string& input) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at;
         (at = input.find(kPartSeparator, start)) != std::string::npos && parts.size() < 3;
         start = at + std::char_traits<char>::length(kPartSeparator))
        parts.push_back(input.substr(start, at - start));
    parts.push_back(input.substr(start));
    return parts;
}

void CheckLoadedProject(const CProjectLoader& loader) {
    const DisasmLoader& disassembly = *loader.m_pDisasmLoader;
    const uint64_t imageEnd = OrderInstructions(disassembly.m_mapInstructions).m_nEnd;
    for (const auto& module : loader.m_pMapLoader->m_moduleLineRecords)
        for (const CLineInfoInMapFormat& record : module->m_lines)
            Require(record.m_nKind != kLineSource || record.m_dwAddress < imageEnd);
    std::set<uint32_t> attached;
    for (const auto& source : loader.m_listSourceLoaders) {
        for (const TextLine& line : source->m_lines) {
            for (const InstructionInfo& instruction : line.m_instructions) {
                Require(disassembly.m_mapInstructions.count(instruction.m_dwAddress) == 1);
                Require(attached.insert(instruction.m_dwAddress).second);
                const std::string position =
                    g_pSymbolTable->GetLineOfAddress(instruction.m_dwAddress);
                Require(position.substr(position.rfind(':') + 1) == std::to_string(line.m_nLine));
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The disassembler, run once per input, is fuzzed on its own (fuzz_corvex);
    // its leak check at every exit would take most of this target's time.
    setenv("ASAN_OPTIONS", "detect_leaks=0", 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Folder folder;
    static const std::string nops = NopImage();
    const std::vector<std::string> parts =
        Parts(std::string(reinterpret_cast<const char*>(data), size));
    const std::string& map = parts[0];
    const std::string listing = parts.size() > 1 ? parts[1] : std::string();
    const bool extended = map.find("LX51") != std::string::npos;
    folder.Remove(extended ? "fuzz.M51" : "fuzz.MAP");
    folder.Write(extended ? "fuzz.MAP" : "fuzz.M51", map);
    folder.Write("main.lst", listing);
    folder.Write("fuzz.hex", parts.size() > 2 ? parts[2] : nops);
    folder.Write("main.c", parts.size() > 3 ? parts[3] : listing);
    folder.Write("fuzz.Uv2", kProjectFile);

    {
        bench::HeadlessOpen open(folder.path + "/fuzz.Uv2", folder.path);
        if (open.session.loaded && !open.session.hexOnly) CheckLoadedProject(open.loader);
    }
    Require(!g_pSymbolTable && !g_pProject && g_IndexTableList.empty());
    return 0;
}
