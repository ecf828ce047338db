// The pointers of the real projects on the simulated board: every pointer
// their listings declare, with the board's bytes in it, shows in the watch,
// local, global and symbol rows and in the value tip as the board holds it,
// and a pointer written from a row reaches the board byte for byte.
#include "road_fixture.h"
#include "source_facts.h"

#include "global_variables.h"
#include "host_memory.h"
#include "local_variables.h"
#include "symbol_lookup.h"
#include "symbol_rows.h"
#include "value_texts.h"
#include "value_tip.h"
#include "variable_write.h"
#include "watch_rows.h"

#include <cstdio>
#include <map>
#include <sstream>

namespace {

// A "PTR" line of a listing's symbol table, such as
// "curSong. . . .  PUBLIC   DATA   PTR      0017H  3"; an indented one is a
// local of the function of the PROC line above it.
struct ListedPointer {
    std::string name;
    std::string function; // empty for a global
    uint32_t size = 0;
};

std::vector<ListedPointer> PointersOfListings(const CProjectLoader& loader) {
    std::vector<ListedPointer> pointers;
    for (const auto& listing : loader.m_listLstLoaders) {
        std::string function;
        for (const TextLine& line : listing->m_lines) {
            std::istringstream words(line.m_strText);
            std::vector<std::string> columns; // name, class, space, type, offset, size
            for (std::string word; words >> word;)
                if (word != ".") columns.push_back(word.substr(0, word.find('.')));
            if (columns.size() != 6) continue;
            const bool local = line.m_strText.rfind("  ", 0) == 0;
            if (!local) function = columns[3] == "PROC" ? columns[0] : "";
            if (columns[3] == "PTR" && (columns[2] == "DATA" || columns[2] == "XDATA"))
                pointers.push_back(
                    {columns[0], local ? function : "", uint32_t(std::stoul(columns[5]))});
        }
    }
    return pointers;
}

// What a generic pointer of these three bytes points to: the compiler's
// memory types 0x00 (internal), 0x01 (external), 0xFE (paged external) and
// 0xFF (code); any other type byte points nowhere.
std::string PointsTo(const uint8_t* bytes) {
    const std::map<uint8_t, char> letters{{0x00, 'I'}, {0x01, 'X'}, {0xFE, 'P'}, {0xFF, 'C'}};
    char text[16];
    if (letters.count(bytes[0]))
        std::snprintf(text, sizeof text, "%c:0x%02X%02X", letters.at(bytes[0]), bytes[1], bytes[2]);
    else
        std::snprintf(text, sizeof text, "0x%02X%02X%02X", bytes[0], bytes[1], bytes[2]);
    return text;
}

std::string ValueOf(const std::optional<VariableRowTexts>& row) {
    return row ? row->value : "<no row>";
}

} // namespace

namespace road {

class PointerRoadTest : public RoadTest {
protected:
    std::vector<uint8_t> BoardBytes(const SymbolInfo& symbol) {
        return symbol.m_nSpace == kMemSpaceXdata ? BoardExternalBytes() : BoardInternalBytes();
    }
    // Puts `bytes` into the board at the pointer and reads the host copies again.
    void Plant(const SymbolInfo& symbol, const std::vector<uint8_t>& bytes) {
        Board().WriteMemory(symbol.m_nSpace == kMemSpaceXdata ? SIMBOARD_XDATA : SIMBOARD_IRAM,
                            symbol.m_dwAddress, bytes.data(), uint32_t(bytes.size()));
        ReadMemoryImages();
    }
    // The watch row and the tip of the pointer at `pc` with `radix`, then a
    // local's row in the Local Variable pane, or a global's record made by
    // the symbol pane and its row in the Global Variable pane.
    std::vector<std::string> Shown(const ListedPointer& pointer, uint16_t pc, int radix) {
        display.SetCurrentPc(pc);
        std::vector<std::string> shown{
            ValueOf(WatchRowTexts(pointer.name, radix, pc, TargetMemoryReader())),
            ValueTipText(pointer.name, pc).value_or("<no tip>")};
        if (!pointer.function.empty()) {
            const LocalVariableList locals =
                LocalVariablesAt(pc, &g_pProject->m_listModules, kVariableRows);
            for (const SymbolInfo* symbol : locals.symbols)
                if (symbol->m_strName == pointer.name)
                    shown.push_back(ValueOf(FormatVariableRow(*symbol, radix)));
            return shown;
        }
        ClearVariableInfo();
        BuildSymbolRows(g_pProject->m_listModules);
        const CInfo* record = FindVariableValue(pointer.name);
        shown.push_back(record ? record->m_strValue : "<no record>");
        for (const VariableRowTexts& row : GlobalVariableRows(g_VariableInfoList, radix))
            if (row.name == pointer.name) shown.push_back(row.value);
        return shown;
    }
};

TEST_F(PointerRoadTest, GenericPointersShowAndTakeTheirThreeBytes) {
    int generic = 0;
    for (const std::string& folder : debuginfo_test::KeilProjectFolders()) {
        for (const std::string& project : debuginfo_test::FilesWithExtensions(folder, {".uv2"})) {
            const std::string name = folder.substr(folder.rfind('/') + 1);
            const std::string file = project.substr(folder.size() + 1);
            SCOPED_TRACE(file);
            std::string why;
            if (!BoardRunsProgram(project, why)) {
                std::printf("skipped %s\n", why.c_str());
                continue;
            }
            loader->CloseProject();
            messages->shown.clear();
            // A project without symbol tables is not opened as its image alone.
            messages->answers = {platform::MessageAnswer::Ok, platform::MessageAnswer::No};
            if (!Open({name.c_str(), false, name.c_str(), file.c_str()}))
                continue; // no symbol tables
            // What Open said is Open's.
            messages->shown.clear();
            for (const ListedPointer& pointer : PointersOfListings(*loader)) {
                SCOPED_TRACE(pointer.name);
                const uint32_t entry =
                    FunctionEntry(pointer.function.empty() ? "main" : pointer.function);
                ASSERT_NE(entry, kNoAddress);
                const uint16_t pc = uint16_t(entry);
                const SymbolInfo* symbol = ResolveVariable(pointer.name, pc);
                ASSERT_NE(symbol, nullptr);
                ASSERT_EQ(symbol->m_strType + std::to_string(symbol->m_nSize),
                          "PTR" + std::to_string(pointer.size));
                const uint32_t at = symbol->m_dwAddress;
                const std::vector<uint8_t> before = BoardBytes(*symbol);
                std::vector<uint8_t> expected = before;
                if (pointer.size != 3) { // a pointer into one memory is a number
                    Plant(*symbol, {0x12, 0x34});
                    const std::vector<std::string> shown = Shown(pointer, pc, 16);
                    EXPECT_EQ(shown[0] + " " + shown[1], "0x1234 " + pointer.name + " : 4660");
                    EXPECT_EQ(WriteWatchValue(pointer.name, "0xABC", "PTR", pc), 1);
                    expected[at] = 0x0A, expected[at + 1] = 0xBC;
                    EXPECT_EQ(BoardBytes(*symbol), expected);
                    continue;
                }
                ++generic;
                for (const uint8_t type : {0xFF, 0x01, 0xFE, 0x00, 0x5A}) {
                    Plant(*symbol, {type, 0x13, 0x36});
                    const std::vector<std::string> inDecimal = Shown(pointer, pc, 10);
                    EXPECT_EQ(inDecimal, Shown(pointer, pc, 16));
                    const std::string pointsTo = PointsTo(&BoardBytes(*symbol)[at]);
                    std::vector<std::string> wanted(pointer.function.empty() ? 4 : 3, pointsTo);
                    wanted[1] = pointer.name + " : " + pointsTo;
                    EXPECT_EQ(inDecimal, wanted);
                }
                // Written from a watch row, then from a global's row: exactly
                // the three bytes change; a number is no pointer and writes nothing.
                Plant(*symbol, {before[at], before[at + 1], before[at + 2]});
                EXPECT_EQ(WriteWatchValue(pointer.name, "4918", "PTR", pc), 0);
                EXPECT_EQ(BoardBytes(*symbol), before);
                EXPECT_EQ(WriteWatchValue(pointer.name, "X:0x0123", "PTR", pc), 1);
                expected[at] = 0x01, expected[at + 1] = 0x01, expected[at + 2] = 0x23;
                EXPECT_EQ(BoardBytes(*symbol), expected);
                EXPECT_EQ(ReadTypedValue(symbol->m_nSpace, 3, at), 0x010123u);
                if (pointer.function.empty()) {
                    EXPECT_EQ(WriteEditedVariable(pointer.name, "c:0x1336", "PTR"), 1);
                    EXPECT_EQ(PointsTo(&BoardBytes(*symbol)[at]), "C:0x1336");
                }
            }
            EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        }
    }
    if (generic == 0) GTEST_SKIP() << "no listing of a real project declares a generic pointer";
}

} // namespace road
