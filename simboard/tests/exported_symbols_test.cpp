// The library exports the ten D2XX entry points and the SimBoard_ hooks,
// and nothing else: read from the dynamic symbol table of the built file.
#include "simboard_library.h"

#include <gtest/gtest.h>

#include <elf.h>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// Names of the defined global and weak symbols of a 64-bit ELF file's
// dynamic symbol table.
std::set<std::string> definedDynamicSymbols(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::set<std::string> names;
    if (file.size() < sizeof(Elf64_Ehdr)) return names;
    const auto* header = reinterpret_cast<const Elf64_Ehdr*>(file.data());
    if (header->e_ident[EI_CLASS] != ELFCLASS64 ||
        header->e_shoff + header->e_shnum * sizeof(Elf64_Shdr) > file.size())
        return names;
    const auto* sections = reinterpret_cast<const Elf64_Shdr*>(file.data() + header->e_shoff);
    for (int i = 0; i < header->e_shnum; ++i) {
        if (sections[i].sh_type != SHT_DYNSYM) continue;
        const Elf64_Shdr& strings = sections[sections[i].sh_link];
        const auto* symbols =
            reinterpret_cast<const Elf64_Sym*>(file.data() + sections[i].sh_offset);
        size_t count = sections[i].sh_size / sizeof(Elf64_Sym);
        for (size_t s = 1; s < count; ++s) {
            unsigned char binding = ELF64_ST_BIND(symbols[s].st_info);
            if (symbols[s].st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK))
                continue;
            names.insert(file.data() + strings.sh_offset + symbols[s].st_name);
        }
    }
    return names;
}

} // namespace

TEST(SimBoardExports, OnlyTheEntryPointsAndTheHooks) {
    std::set<std::string> names = definedDynamicSymbols(simBoardLibraryPath());
    ASSERT_FALSE(names.empty()) << simBoardLibraryPath();
    const std::set<std::string> entryPoints = {
        "FT_Open",  "FT_OpenEx",      "FT_Close", "FT_ListDevices", "FT_Read",
        "FT_Write", "FT_ResetDevice", "FT_Purge", "FT_SetTimeouts", "FT_GetQueueStatus"};
    for (const std::string& name : entryPoints)
        EXPECT_EQ(names.count(name), 1u) << name;
    for (const std::string& name : names) {
        bool allowed = entryPoints.count(name) == 1 || name.rfind("SimBoard_", 0) == 0;
        EXPECT_TRUE(allowed) << "unexpected export " << name;
    }
    EXPECT_EQ(names.count("SimBoard_ResetBoard"), 1u);
}
