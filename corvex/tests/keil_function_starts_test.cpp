// The real projects beside the repository: every function their linker map
// places in code memory begins an instruction line of their image's listing.
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
#include <filesystem>
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

// The start of every function segment of the map's code memory.
std::vector<uint32_t> functionStarts(const fs::path& map) {
    ResetXdataRange();
    MapLoader loader(map.string(), "/");
    CSymbolTable table;
    CSymbolDatabase database;
    const std::string folder = map.parent_path().string();
    if (lowerCase(map.extension()) == ".map")
        ParseMapFile(loader, table, database, folder);
    else
        ParseM51File(loader, table, database, folder);
    ResetXdataRange();
    std::vector<uint32_t> starts;
    for (const auto& segment : database.m_listCode)
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

        const std::vector<uint32_t> starts = functionStarts(map);
        EXPECT_FALSE(starts.empty());
        for (uint32_t start : starts)
            EXPECT_TRUE(start < intelhex::kImageSize && instructions[start])
                << "function at " << std::hex << start << " in " << hex.string();
    }
    EXPECT_GT(paired, 0);
}

} // namespace
