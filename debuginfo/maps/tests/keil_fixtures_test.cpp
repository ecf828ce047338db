// Every real project beside the repository is read: each project file, the
// map it names, every map in the folder and every text file.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>

#include "extended_map_reader.h"
#include "m51_reader.h"
#include "map_loader.h"
#include "map_rules.h"
#include "path_resolver.h"
#include "project_file.h"
#include "project_paths.h"
#include "test_support.h"
#include "text_loader.h"
#include "xdata_range.h"

using debuginfo_test::Words;

namespace {

bool IsExtendedMap(const std::string& path) {
    return platform::EqualsNoCase(platform::ExtensionOf(path), ".MAP");
}

// "0003H" (digits hexadecimal digits and an H) -> 3.
bool ReadHexWord(const std::string& word, size_t digits, uint32_t& value) {
    if (word.size() != digits + 1 || word.back() != 'H') return false;
    for (size_t i = 0; i < digits; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(word[i]))) return false;
    value = static_cast<uint32_t>(std::stoul(word.substr(0, digits), nullptr, 16));
    return true;
}

// A segment of the map's code memory map as this test reads it.
struct CodeSegment {
    uint32_t start;
    uint32_t length;
};

std::vector<CodeSegment> CodeSegmentsOf(const std::vector<TextLine>& lines, bool extended) {
    std::vector<CodeSegment> segments;
    bool inCode = false;
    for (const TextLine& line : lines) {
        const std::string& text = line.m_strText;
        if (text.find("C O D E   M E M O R Y") != std::string::npos) {
            inCode = true;
            continue;
        }
        if (text.find("M E M O R Y") != std::string::npos ||
            text.find("OVERLAY MAP") != std::string::npos) {
            inCode = false;
            continue;
        }
        const std::vector<std::string> words = Words(text);
        CodeSegment segment{0, 0};
        if (!inCode) continue;
        const bool read = extended ? words.size() >= 6 && words[5] == "CODE" &&
                                         ReadHexWord(words[0], 6, segment.start) &&
                                         ReadHexWord(words[2], 6, segment.length)
                                   : words.size() >= 4 && words[0] == "CODE" &&
                                         ReadHexWord(words[1], 4, segment.start) &&
                                         ReadHexWord(words[2], 4, segment.length);
        if (read) segments.push_back(segment);
    }
    return segments;
}

// Public symbols of the symbol-table section that the table must know:
// name -> (selector, addresses seen).
std::map<std::string, std::pair<int, std::set<uint32_t>>>
PublicSymbolsOf(const std::vector<TextLine>& lines, bool extended) {
    std::map<std::string, std::pair<int, std::set<uint32_t>>> symbols;
    bool inTable = false;
    for (const TextLine& line : lines) {
        if (line.m_strText.find("SYMBOL TABLE OF MODULE:") != std::string::npos) inTable = true;
        const std::vector<std::string> words = Words(line.m_strText);
        if (!inTable || words.size() < 3 || words[1] != "PUBLIC") continue;
        uint32_t address = 0;
        int selector = 0;
        if (extended) {
            if (words.size() < 5 || !ReadHexWord(words[0], 8, address) || words[3] == "BIT")
                continue;
            if (words[2] == "CODE")
                selector = 1;
            else if (words[2] == "DATA" || words[2] == "XDATA")
                selector = 2;
            else
                continue;
            address &= 0xFFFF;
        } else {
            const std::string& value = words[0];
            if (words.size() != 3 || value.size() < 3 || value[1] != ':' ||
                std::string("CDX").find(value[0]) == std::string::npos ||
                !ReadHexWord(value.substr(2), value.size() - 3, address))
                continue;
            selector = value[0] == 'C' ? 1 : 2;
        }
        auto& entry = symbols[words.back()];
        entry.first = selector;
        entry.second.insert(address);
    }
    return symbols;
}

void CheckMap(const std::string& path) {
    SCOPED_TRACE(path);
    const bool extended = IsExtendedMap(path);
    ResetXdataRange();
    MapLoader loader(path, "/");
    ASSERT_FALSE(loader.m_lines.empty());
    CSymbolTable table;
    CSymbolDatabase database;
    const std::string folder = platform::DirectoryOf(path);
    if (extended)
        ParseMapFile(loader, table, database, folder);
    else
        ParseM51File(loader, table, database, folder);

    EXPECT_FALSE(loader.m_listModules.empty());
    EXPECT_FALSE(database.m_listCode.empty());
    EXPECT_GT(table.RecordCount(), 0u);
    EXPECT_GT(table.LinePositionCount(), 0u);
    EXPECT_EQ(FirstBrokenMapRule(loader, table, database), "");
    EXPECT_TRUE(loader.m_faults.Empty()) << loader.m_faults.Message(path);

    // Each source-line record of a function lies in the code segment the
    // line tables give that function (the one where it starts), or at the
    // first address after it: C51 puts a closing brace without code of its
    // own there. A record outside such functions (an assembler module's)
    // lies in a code segment of the map.
    const std::vector<CodeSegment> segments = CodeSegmentsOf(loader.m_lines, extended);
    ASSERT_FALSE(segments.empty());
    size_t sourceLines = 0;
    for (const auto& [name, lines] : loader.m_mapModuleLines) {
        std::vector<const CSymbolStruct*> open;
        for (const CLineInfoInMapFormat& record : lines->m_lines) {
            const uint32_t address = record.m_dwAddress;
            if (record.m_nKind == kLineFunctionStart) {
                open.push_back(database.FindFunctionOfAddress(address));
                continue;
            }
            if (record.m_nKind == kLineFunctionEnd) {
                if (!open.empty()) open.pop_back();
                continue;
            }
            ++sourceLines;
            const CSymbolStruct* function = open.empty() ? nullptr : open.back();
            bool inside = function && address >= function->m_dwStart &&
                          address - function->m_dwStart <= function->m_dwLength;
            for (const CodeSegment& segment : segments)
                inside = inside || (!function && address >= segment.start &&
                                    address - segment.start < segment.length);
            EXPECT_TRUE(inside) << name << " line " << record.m_nLine << " at " << address;
        }
    }
    EXPECT_GT(sourceLines, 0u);

    // Each public symbol is found, at its address when the map names only one.
    const auto publics = PublicSymbolsOf(loader.m_lines, extended);
    EXPECT_FALSE(publics.empty());
    for (const auto& [name, expected] : publics) {
        const SymbolInfo* symbol = table.LookupSymbol(name, expected.first);
        ASSERT_NE(symbol, nullptr) << name;
        if (expected.second.size() == 1) {
            EXPECT_EQ(symbol->m_dwAddress, *expected.second.begin()) << name;
        }
    }
    ResetXdataRange();
}

} // namespace

TEST(KeilFixtures, EveryMapIsReadConsistently) {
    const std::vector<std::string> folders = debuginfo_test::KeilProjectFolders();
    if (folders.empty()) GTEST_SKIP() << debuginfo_test::KeilFixturesAbsentMessage();
    for (const std::string& folder : folders) {
        const auto maps = debuginfo_test::FilesWithExtensions(folder, {".m51", ".map"});
        EXPECT_FALSE(maps.empty()) << folder;
        for (const std::string& map : maps)
            CheckMap(map);
    }
}

TEST(KeilFixtures, EveryProjectFileNamesAMapThatIsRead) {
    const std::vector<std::string> folders = debuginfo_test::KeilProjectFolders();
    if (folders.empty()) GTEST_SKIP() << debuginfo_test::KeilFixturesAbsentMessage();
    for (const std::string& folder : folders) {
        for (const std::string& project : debuginfo_test::FilesWithExtensions(folder, {".uv2"})) {
            SCOPED_TRACE(project);
            ProjectSettings settings;
            ASSERT_EQ(ReadProjectFile(project, settings), 1);
            const std::string& dir = settings.m_strProjectDir;
            const std::string map = LocateProjectFile(
                dir, settings.m_strLstDir + settings.m_strOutName + "." + settings.m_strMapExt,
                {LocateProjectFile(dir, settings.m_strLstDir)});
            ASSERT_FALSE(map.empty()) << settings.m_strLstDir << settings.m_strOutName;
            EXPECT_EQ(IsExtendedMap(map), settings.m_strMapExt == "MAP");
            CheckMap(map);
        }
    }
}

TEST(KeilFixtures, EveryTextFileLoadsWithOneLinePerLineEnd) {
    const std::vector<std::string> folders = debuginfo_test::KeilProjectFolders();
    if (folders.empty()) GTEST_SKIP() << debuginfo_test::KeilFixturesAbsentMessage();
    size_t files = 0;
    for (const std::string& folder : folders) {
        for (const std::string& path : debuginfo_test::FilesWithExtensions(
                 folder, {".c", ".h", ".lst", ".a51", ".src", ".m51", ".map", ".uv2"})) {
            SCOPED_TRACE(path);
            const TextFileLoader loader(path, "/");
            const std::string text = debuginfo_test::ReadWholeFile(path);
            ASSERT_EQ(loader.m_strText, text);
            size_t expected = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
            if (!text.empty() && text.back() != '\n') ++expected;
            EXPECT_EQ(loader.m_lines.size(), expected);
            for (const TextLine& line : loader.m_lines)
                EXPECT_TRUE(line.m_strText.empty() || line.m_strText.back() != '\r');
            ++files;
        }
    }
    EXPECT_GT(files, 50u);
}
