// The real projects beside the repository, disassembled with what their
// linker maps tell the disassembler.
#include "code_flow_hints.h"
#include "disassembler.h"
#include "extended_map_reader.h"
#include "intel_hex.h"
#include "m51_reader.h"
#include "map_loader.h"
#include "symbol_table.h"
#include "xdata_range.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<fs::path> filesWithExtension(const fs::path& folder, const std::string& extension) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && lowerCase(entry.path().extension()) == extension)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The image built with this map: the ".hex" of the same name in the map's
// folder, else in a folder beside it (".\Lst\" maps, ".\Obj\" images).
fs::path imageOfMap(const fs::path& map) {
    const std::string stem = lowerCase(map.stem());
    for (const fs::path& hex : filesWithExtension(map.parent_path(), ".hex"))
        if (lowerCase(hex.stem()) == stem) return hex;
    for (const auto& sibling : fs::directory_iterator(map.parent_path().parent_path())) {
        if (!sibling.is_directory() || sibling.path() == map.parent_path()) continue;
        for (const fs::path& hex : filesWithExtension(sibling.path(), ".hex"))
            if (lowerCase(hex.stem()) == stem) return hex;
    }
    return {};
}

// Every map of every project folder, with the folders one level below.
std::vector<fs::path> fixtureMaps() {
    std::vector<fs::path> maps;
    const fs::path root = VEXA_KEIL_FIXTURES;
    if (!fs::is_directory(root)) return maps;
    for (const auto& project : fs::directory_iterator(root)) {
        if (!project.is_directory()) continue;
        std::vector<fs::path> folders = {project.path()};
        for (const auto& sub : fs::directory_iterator(project.path()))
            if (sub.is_directory()) folders.push_back(sub.path());
        for (const fs::path& folder : folders)
            for (const char* extension : {".m51", ".map"})
                for (const fs::path& map : filesWithExtension(folder, extension))
                    maps.push_back(map);
    }
    std::sort(maps.begin(), maps.end());
    return maps;
}

// The address an LCALL or ACALL at `address` calls; kImageSize for any
// other instruction.
uint32_t calledAddress(const intelhex::Image& image, uint32_t address) {
    const uint8_t* code = &image.bytes[address];
    if (code[0] == 0x12) return code[1] << 8 | code[2];
    if ((code[0] & 0x1F) == 0x11) return ((address + 2) & 0xF800) | (code[0] & 0xE0) << 3 | code[1];
    return intelhex::kImageSize;
}

// A map read as the debugger reads it.
struct ReadMap {
    explicit ReadMap(const fs::path& map) : loader(map.string(), "/") {
        ResetXdataRange();
        const std::string folder = map.parent_path().string();
        if (lowerCase(map.extension()) == ".map")
            ParseMapFile(loader, table, database, folder);
        else
            ParseM51File(loader, table, database, folder);
        ResetXdataRange();
    }
    MapLoader loader;
    CSymbolTable table;
    CSymbolDatabase database;
};

// The start of every function segment of the map's code memory.
std::vector<uint32_t> functionStarts(const ReadMap& map) {
    std::vector<uint32_t> starts;
    for (const auto& segment : map.database.m_listCode)
        if (segment->m_nKind == kSegmentCode && segment->m_dwLength != 0)
            starts.push_back(segment->m_dwStart);
    return starts;
}

TEST(KeilImages, EveryFunctionOfTheMapStartsAnInstruction) {
    const std::vector<fs::path> maps = fixtureMaps();
    if (maps.empty()) GTEST_SKIP() << "no real projects at " << VEXA_KEIL_FIXTURES;
    int paired = 0;
    for (const fs::path& map : maps) {
        SCOPED_TRACE(map.string());
        const fs::path hex = imageOfMap(map);
        if (hex.empty()) continue;
        ++paired;
        auto image = std::make_unique<intelhex::Image>();
        std::string error;
        ASSERT_TRUE(intelhex::readFile(hex.string(), *image, error)) << error;
        std::bitset<intelhex::kImageSize> instructions;
        for (const disasm8051::ListingLine& line : disasm8051::disassemble(*image))
            if (line.kind == disasm8051::ListingLine::Kind::Instruction)
                instructions.set(line.address);

        const std::vector<uint32_t> starts = functionStarts(ReadMap(map));
        EXPECT_FALSE(starts.empty());
        for (uint32_t start : starts)
            EXPECT_TRUE(start < intelhex::kImageSize && instructions[start])
                << "function at " << std::hex << start << " in " << hex.string();
    }
    EXPECT_GT(paired, 0);
}

// Every real project's image disassembled with what its map tells the
// disassembler: every function and source line the map places in the image
// starts an instruction line, and the case table after every call of a
// switch helper (entries of a code address, high byte first, and a value, up
// to a zero address and the default's address) is data whose cases start
// instruction lines.
TEST(KeilImages, CodePlacesOfTheMapStartInstructionsAndCaseTablesAreData) {
    const std::vector<fs::path> maps = fixtureMaps();
    if (maps.empty()) GTEST_SKIP() << "no real projects at " << VEXA_KEIL_FIXTURES;
    const std::map<std::string, uint32_t> valueBytes = {
        {"?C?CCASE", 1}, {"?C?ICASE", 2}, {"?C?LCASE", 4}};
    size_t places = 0, cases = 0;
    for (const fs::path& path : maps) {
        SCOPED_TRACE(path.string());
        const fs::path hex = imageOfMap(path);
        if (hex.empty()) continue;
        auto image = std::make_unique<intelhex::Image>();
        std::string error;
        ASSERT_TRUE(intelhex::readFile(hex.string(), *image, error)) << error;
        const ReadMap map(path);
        std::map<uint32_t, disasm8051::ListingLine> lines;
        for (const disasm8051::ListingLine& line :
             disasm8051::disassemble(*image, CodeFlowHints(map.loader, map.table, &map.database)))
            if (line.kind != disasm8051::ListingLine::Kind::Label) lines[line.address] = line;
        auto kindAt = [&](uint32_t address) {
            auto line = lines.find(address);
            return line == lines.end() ? disasm8051::ListingLine::Kind::Label : line->second.kind;
        };
        constexpr auto kInstruction = disasm8051::ListingLine::Kind::Instruction;

        std::vector<uint32_t> starts = functionStarts(map);
        for (const auto& module : map.loader.m_moduleLineRecords)
            for (const CLineInfoInMapFormat& record : module->m_lines)
                if (record.m_nKind == kLineSource) starts.push_back(record.m_dwAddress);
        for (uint32_t start : starts) {
            if (start >= intelhex::kImageSize || !image->present[start]) continue;
            EXPECT_EQ(kindAt(start), kInstruction) << "code at " << std::hex << start;
            ++places;
        }

        for (const auto& [name, bytes] : valueBytes) {
            const SymbolInfo* helper = map.table.LookupSymbol(name, kSelectCode);
            for (const auto& [call, line] : lines) {
                if (!helper || kindAt(call) != kInstruction ||
                    calledAddress(*image, call) != helper->m_dwAddress)
                    continue;
                SCOPED_TRACE("switch at " + line.text);
                uint32_t at = call + uint32_t(line.text.find(' ')) / 2;
                while (at + 4 <= intelhex::kImageSize &&
                       (image->bytes[at] | image->bytes[at + 1])) {
                    EXPECT_EQ(kindAt(image->bytes[at] << 8 | image->bytes[at + 1]), kInstruction);
                    at += 2 + bytes;
                }
                ASSERT_LE(at + 4, intelhex::kImageSize);
                EXPECT_EQ(kindAt(image->bytes[at + 2] << 8 | image->bytes[at + 3]), kInstruction);
                // Data lines from the call up to the default's address, and
                // the next line begins after it.
                auto row = lines.upper_bound(call);
                for (; row != lines.end() && row->first < at + 4; ++row)
                    EXPECT_EQ(row->second.kind, disasm8051::ListingLine::Kind::Data)
                        << row->second.text;
                EXPECT_TRUE(row == lines.end() || row->first == at + 4);
                ++cases;
            }
        }
    }
    EXPECT_GT(places, 0u);
    std::printf("%zu code places, %zu case tables\n", places, cases);
}

} // namespace
