// The .SRC translation of line numbers and the assembler listing reader.
#include <gtest/gtest.h>

#include "line_tables.h"
#include "src_listing_reader.h"

namespace {

Loader LoaderOf(const std::string& text) {
    Loader loader;
    loader.AssignText("MAIN.SRC", text);
    SplitTextLines(loader);
    return loader;
}

// `count` lines of .SRC text, with `comments` placed at their line numbers.
std::string SrcText(int count, const std::map<int, std::string>& comments) {
    std::string text;
    for (int line = 1; line <= count; ++line) {
        auto it = comments.find(line);
        text += it != comments.end() ? it->second : "\tMOV\tA,R7";
        text += "\n";
    }
    return text;
}

} // namespace

TEST(SrcTranslation, LinesUnderACommentBecomeItsCLine) {
    CSymbolTable table;
    table.SetLineAddress("MAIN.C:11", 0x0010);
    table.SetLineAddress("MAIN.C:12", 0x0012);
    CLineInfoInModule module("MAIN");
    module.AddLine(0, 0x0010, kLineFunctionStart);
    module.AddLine(11, 0x0010, kLineSource);
    module.AddLine(12, 0x0012, kLineSource);
    module.AddLine(13, 0x0014, kLineSource); // no entry in the maps
    module.AddLine(0, 0, kLineFunctionEnd);

    const Loader src = LoaderOf(SrcText(13, {{10, "; SOURCE LINE # 5"}}));
    ParseSrcFile(src, &module, table);

    EXPECT_EQ(module.m_lines[1].m_nLine, 5u);
    EXPECT_EQ(module.m_lines[2].m_nLine, 5u);
    EXPECT_EQ(module.m_lines[3].m_nLine, 5u);
    EXPECT_EQ(module.m_lines[0].m_nLine, 0u); // function records are left alone
    EXPECT_EQ(table.GetLineOfAddress(0x0010), "MAIN.C:5");
    EXPECT_EQ(table.GetLineOfAddress(0x0012), "MAIN.C:5");
    EXPECT_EQ(table.GetLineOfAddress(0x0014), "");
    EXPECT_EQ(table.GetAddressOfLine("MAIN.C:11"), kNoAddress);
    EXPECT_EQ(table.GetAddressOfLine("MAIN.C:12"), kNoAddress);
    EXPECT_EQ(table.GetAddressOfLine("MAIN.C:5"), 0x0012u);
}

TEST(SrcTranslation, RecordsOutOfOrderAreStillTranslated) {
    CSymbolTable table;
    CLineInfoInModule module("MAIN");
    module.AddLine(20, 0x0030, kLineSource);
    module.AddLine(8, 0x0008, kLineSource); // lower than one already passed
    module.AddLine(21, 0x0032, kLineSource);
    module.AddLine(99, 0x0040, kLineSource); // beyond the .SRC text: kept
    const Loader src =
        LoaderOf(SrcText(25, {{3, "; SOURCE LINE # 2"}, {15, "\t; SOURCE LINE # 7\t; x"}}));
    ParseSrcFile(src, &module, table);
    EXPECT_EQ(module.m_lines[0].m_nLine, 7u);
    EXPECT_EQ(module.m_lines[1].m_nLine, 2u);
    EXPECT_EQ(module.m_lines[2].m_nLine, 7u);
    EXPECT_EQ(module.m_lines[3].m_nLine, 99u);
}

// Shared entry blocks ("L?0003:") stand at the head of a function's segment,
// before its first comment: they belong to the function's first line, not to
// the line above the segment. Without any comment a line stays unknown.
TEST(SrcTranslation, CodeAtTheHeadOfASegmentTakesTheNextComment) {
    CSymbolTable table;
    table.SetLineAddress("MAIN.C:2", 0x0004);
    CLineInfoInModule module("MAIN");
    module.AddLine(2, 0x0004, kLineSource);
    ParseSrcFile(LoaderOf(SrcText(4, {{3, "; SOURCE LINE # 1"}})), &module, table);
    EXPECT_EQ(module.m_lines[0].m_nLine, 1u);
    EXPECT_EQ(table.GetLineOfAddress(0x0004), "MAIN.C:1");
    EXPECT_EQ(table.GetAddressOfLine("MAIN.C:1"), 0x0004u);

    CLineInfoInModule alone("MAIN");
    alone.AddLine(2, 0x0004, kLineSource);
    ParseSrcFile(LoaderOf(SrcText(3, {})), &alone, table);
    EXPECT_EQ(alone.m_lines[0].m_nLine, kUntranslatedLine);
    ParseSrcFile(LoaderOf("x\n"), nullptr, table); // a null module does nothing

    const Loader src = LoaderOf(SrcText(10, {{1, "\tRSEG  ?DT?MAIN"},
                                             {3, "\tRSEG  ?PR?MAIN?MAIN"},
                                             {4, "; SOURCE LINE # 40"},
                                             {5, "; SOURCE LINE # 41 \r"},
                                             {6, "\tRSEG  ?PR?F?MAIN"},
                                             {9, "\t\t\t; SOURCE LINE # 50"}}));
    EXPECT_EQ(SourceLineTable(src), (std::vector<int32_t>{40, 40, 40, 40, 41, 50, 50, 50, 50, 50}));
    // A segment that no comment follows keeps the line above it.
    EXPECT_EQ(SourceLineTable(LoaderOf(SrcText(3, {{1, "; SOURCE LINE # 7"}, {2, " RSEG  X"}}))),
              (std::vector<int32_t>{7, 7, 7}));
}

// The listing's heading says whether the compiler wrote a .SRC file; the
// command line wraps onto lines that start with "-", even inside a word.
TEST(SrcTranslation, TheListingTellsACompilationThroughSrc) {
    std::string path = "unchanged";
    EXPECT_TRUE(CompiledThroughSrc(
        LoaderOf(
            "COMPILER INVOKED BY: C:\\Keil\\C51\\BIN\\C51.EXE Src\\io.c DEBUG PRINT(.\\Lst\\i\r\n"
            "                    -o.lst) SR\r\n"
            "                    -C(.\\Obj\\io.SRC)\r\n\r\nline level    source\r\n"),
        path));
    EXPECT_EQ(path, ".\\Obj\\io.SRC");
    EXPECT_TRUE(
        CompiledThroughSrc(LoaderOf("COMPILER INVOKED BY: C51.EXE io.c SRC DEBUG\n"), path));
    EXPECT_EQ(path, "");
    for (const char* stale : {"COMPILER INVOKED BY: C51.EXE Src\\io.c INCDIR(.\\SRC) DEBUG\n",
                              "COMPILER INVOKED BY: C51.EXE io.c DEBUG\n\n-SRC\n",
                              "line level    source\n   1  SRC(x)\n"})
        EXPECT_FALSE(CompiledThroughSrc(LoaderOf(stale), path)) << stale;
}

namespace {

std::unique_ptr<SymbolInfo> Record(const char* name, uint32_t address) {
    auto record = std::make_unique<SymbolInfo>(name);
    record->m_dwAddress = address;
    return record;
}

// Module records: ?C_STARTUP (0x0000) with children; MAIN (0x0800).
void AddModules(MapLoader& map) {
    auto startup = Record("?C_STARTUP", 0x0000);
    startup->m_strType = "MODULE";
    SymbolInfo& idata = *AddChildSymbol(*startup, SymbolInfo("IDATALEN"));
    AddChildSymbol(idata, SymbolInfo("INNER"));
    AddChildSymbol(*startup, SymbolInfo("STARTUP1"));
    map.m_listModules.push_back(std::move(startup));
    map.m_listModules.push_back(Record("MAIN", 0x0800));
    AddChildSymbol(*map.m_listModules.back(), SymbolInfo("STARTUP1"));
}

} // namespace

TEST(StartupListing, RecordsAreFoundModuleByModule) {
    MapLoader map;
    AddModules(map);
    EXPECT_EQ(FindSymbolRecord(map, "MAIN"), map.m_listModules[1].get());
    EXPECT_EQ(FindSymbolRecord(map, "STARTUP1"), map.m_listModules[0]->m_children[1].get());
    EXPECT_EQ(FindSymbolRecord(map, "INNER"),
              map.m_listModules[0]->m_children[0]->m_children[0].get());
    EXPECT_EQ(FindSymbolRecord(map, "NONE"), nullptr);
    EXPECT_EQ(FindStartupModuleAddress(map, "MAI"), 0x0800u);
    EXPECT_EQ(FindStartupModuleAddress(map, "?C_STARTUP"), 0x0000u);
    EXPECT_EQ(FindStartupModuleAddress(map, "X"), 0u);

    MapLoader single;
    single.m_listModules.push_back(Record("?C_STARTUP", 0x0123));
    EXPECT_EQ(FindStartupModuleAddress(single, "?C_STARTUP"), 0x0123u);
}

TEST(StartupListing, TheCodeHeadingEndsTheReading) {
    MapLoader map;
    map.m_listModules.push_back(Record("?C_STARTUP", 0x0040));
    AddChildSymbol(*map.m_listModules[0], SymbolInfo("IDATALEN"));
    uint32_t startup = 0;
    const Loader listing = LoaderOf("A51 MACRO ASSEMBLER  STARTUP\n"
                                    "LOC  OBJ            LINE     SOURCE\n"
                                    "N A M E             T Y P E  V A L U E   ATTRIBUTES\n"
                                    "\n"
                                    "IDATALEN . . . . .  N NUMB   0080H   A\n");
    EXPECT_EQ(ParseStartupListing(listing, map, startup), 1);
    EXPECT_EQ(startup, 0x0040u);
    EXPECT_EQ(map.m_listModules[0]->m_children[0]->m_strType, "");

    MapLoader empty;
    startup = 7;
    ParseStartupListing(listing, empty, startup);
    EXPECT_EQ(startup, 0u);
}

TEST(StartupListing, TheSymbolTableGivesKindWords) {
    MapLoader map;
    AddModules(map);
    uint32_t startup = 0xAAAA;
    const Loader listing = LoaderOf("N A M E             T Y P E  V A L U E   ATTRIBUTES\n"
                                    "\n"
                                    "?C_STARTUP . . . .  C ADDR   0000H   A\n"
                                    "IDATALEN . . . . .  N NUMB   0080H   A\n"
                                    "\n"
                                    "C51 COMPILER page heading\n"
                                    "STARTUP1 . . . . .  C SEG    000CH       REL=UNIT\n"
                                    "REGISTER BANK(S) USED: 0\n"
                                    "ASSEMBLY COMPLETE.  0 WARNING(S), 0 ERROR(S)\n"
                                    "MAIN . . . . . . .  C SEG    0000H\n");
    EXPECT_EQ(ParseStartupListing(listing, map, startup), 1);
    EXPECT_EQ(startup, 0xAAAAu);                          // no code heading met
    EXPECT_EQ(map.m_listModules[0]->m_strType, "MODULE"); // names with '?' are passed over
    EXPECT_EQ(map.m_listModules[0]->m_children[0]->m_strType, "NUMB");
    EXPECT_EQ(map.m_listModules[0]->m_children[1]->m_strType, "SEG");
    EXPECT_EQ(map.m_listModules[1]->m_strType, ""); // after the end of the table
}
