// The assembly listings built from a small hand-made project: rows, kinds,
// address/row maps, source-line indexes and progress.
#include <gtest/gtest.h>

#include "listing_model.h"
#include "row_format.h"

namespace {

std::shared_ptr<Loader> SourceOf(const std::string& name, int lineCount) {
    auto loader = std::make_shared<Loader>();
    std::string text;
    for (int line = 1; line <= lineCount; ++line)
        text += name + " line " + std::to_string(line) + "\r\n";
    loader->AssignText(name, text);
    SplitTextLines(*loader);
    return loader;
}

std::string SourceRow(const std::string& file, int line) {
    return FormatSourceLine(file + " line " + std::to_string(line), line);
}

class ListingModel : public ::testing::Test {
protected:
    // A.C (8 lines) loaded first, B.C (4 lines) second: the loader list holds
    // the last loaded first, the index list the first loaded first.
    void SetUp() override {
        sources.push_front(SourceOf("a.c", 8));
        sources.push_front(SourceOf("b.c", 4));
        indexes.emplace_back("A.C");
        indexes.emplace_back("B.C");
    }

    void Disassemble(const std::string& text) {
        disassembly.AssignText("Corvex.out", text);
        SplitTextLines(disassembly);
        disassembly.CollectLabels();
    }

    void Build(const CSymbolTable* symbols) {
        progress.clear();
        BuildAssemblyListings(sources, indexes, symbols, disassembly, model,
                              [this](int percent) { progress.push_back(percent); });
    }

    const CIndexTable& Index(const std::string& name) const {
        for (const CIndexTable& index : indexes)
            if (index.m_strFileName == name) return index;
        throw std::runtime_error("no index " + name);
    }

    std::list<std::shared_ptr<Loader>> sources;
    std::list<CIndexTable> indexes;
    CSymbolTable table;
    DisasmLoader disassembly;
    CListingModel model;
    std::vector<int> progress;
};

} // namespace

TEST_F(ListingModel, BlocksOfSourceRowsBeforeTheirInstructions) {
    // A.C:3 and 4 share 0x0000 (3 is shown with 4), 5 has no code, 6 at 0x0003
    // covers two instructions; 0x0006 has no line but a code symbol.
    table.SetLineAddress("A.C:3", 0x0000);
    table.SetLineAddress("A.C:4", 0x0000);
    table.SetLineAddress("A.C:6", 0x0003);
    table.SetLineOfAddress(0x0004, "A.C:6");
    SymbolInfo symbol("helper");
    symbol.m_dwAddress = 0x0006;
    table.EnterSymbolCopy(symbol, kSelectCode);
    Disassemble("0000 020003 LJMP   L0003\n"
                "0003 ; LABEL L0003\n"
                "0003 E4 CLR    A\n"
                "0004 F590 MOV    P1,A\n"
                "0006 22 RET\n");
    Build(&table);

    const std::vector<std::string> expectedRows = {
        SourceRow("a.c", 1),
        SourceRow("a.c", 2),
        SourceRow("a.c", 3),
        SourceRow("a.c", 4),
        FormatDisassemblyLine("020003 LJMP   L0003", 0x0000),
        SourceRow("a.c", 5),
        SourceRow("a.c", 6),
        FormatDisassemblyLine("L0003: E4 CLR    A", 0x0003),
        FormatDisassemblyLine("F590 MOV    P1,A", 0x0004),
        FormatSourceLine("helper", 0),
        FormatDisassemblyLine("22 RET", 0x0006)};
    EXPECT_EQ(model.m_srcRows, expectedRows);
    EXPECT_EQ(model.m_srcRowKinds, (std::vector<int32_t>{0, 0, 0, 0, 1, 0, 0, 1, 2, 0, 1}));
    const std::vector<std::string> expectedAsm = {expectedRows[4], expectedRows[7], expectedRows[8],
                                                  expectedRows[10]};
    EXPECT_EQ(model.m_asmRows, expectedAsm);

    const std::unordered_map<uint32_t, int32_t> srcRows = {{0, 4}, {3, 7}, {4, 8}, {6, 10}};
    const std::unordered_map<uint32_t, int32_t> asmRows = {{0, 0}, {3, 1}, {4, 2}, {6, 3}};
    EXPECT_EQ(model.m_mapAddressToSrcRow, srcRows);
    EXPECT_EQ(model.m_mapAddressToAsmRow, asmRows);
    for (const auto& [address, row] : srcRows)
        EXPECT_EQ(model.m_mapSrcRowToAddress.at(row), address);
    for (const auto& [address, row] : asmRows)
        EXPECT_EQ(model.m_mapAsmRowToAddress.at(row), address);
    EXPECT_EQ(model.m_mapSrcRowToAddress.size(), 4u);
    EXPECT_EQ(model.m_mapAsmRowToAddress.size(), 4u);

    // Lines shown above a line with code point at its first instruction.
    const CIndexTable& a = Index("A.C");
    ASSERT_EQ(a.Count(), 8u);
    for (uint32_t line : {1u, 2u, 3u}) {
        EXPECT_EQ(a.Entry(line)->m_nSrcRow, 4) << line;
        EXPECT_EQ(a.Entry(line)->m_nAsmRow, 0) << line;
    }
    EXPECT_EQ(a.Entry(3)->m_nAddress, -1); // only the line itself carries the address
    EXPECT_EQ(a.Entry(4)->m_nAddress, 0);
    EXPECT_EQ(a.Entry(5)->m_nSrcRow, 7);
    EXPECT_EQ(a.Entry(6)->m_nSrcRow, 7);
    EXPECT_EQ(a.Entry(6)->m_nAsmRow, 1);
    EXPECT_EQ(a.Entry(6)->m_nAddress, 3);
    for (uint32_t line : {7u, 8u}) { // no code below: untouched
        const IndexEntry* entry = a.Entry(line);
        EXPECT_EQ(entry->m_nSrcRow, -1);
        EXPECT_EQ(entry->m_nAsmRow, -1);
        EXPECT_EQ(entry->m_nAddress, -1);
        EXPECT_EQ(entry->m_nReserved, 0);
    }
    EXPECT_EQ(a.Entry(0), nullptr);
    EXPECT_EQ(a.Entry(9), nullptr);
    EXPECT_EQ(Index("B.C").Count(), 4u);
}

TEST_F(ListingModel, EqualLineNumbersInTwoFilesAreTwoBlocks) {
    table.SetLineAddress("A.C:2", 0x0000);
    table.SetLineAddress("A.C:1", 0x0100); // stops the search above A.C:2
    table.SetLineAddress("B.C:2", 0x0001);
    table.SetLineAddress("B.C:1", 0x0100);
    table.SetLineOfAddress(0x0002, "B.C:2");
    Disassemble("0000 00 NOP\n0001 00 NOP\n0002 00 NOP\n");
    Build(&table);
    const std::vector<std::string> expectedRows = {
        SourceRow("a.c", 2), FormatDisassemblyLine("00 NOP", 0), SourceRow("b.c", 2),
        FormatDisassemblyLine("00 NOP", 1), FormatDisassemblyLine("00 NOP", 2)};
    EXPECT_EQ(model.m_srcRows, expectedRows);
    EXPECT_EQ(model.m_srcRowKinds, (std::vector<int32_t>{0, 1, 0, 1, 2}));
    EXPECT_EQ(Index("B.C").Entry(2)->m_nSrcRow, 3);
    EXPECT_EQ(Index("B.C").Entry(2)->m_nAddress, 1);
    EXPECT_EQ(Index("B.C").Entry(1)->m_nSrcRow, -1);
}

TEST_F(ListingModel, AnImageWithoutDebugInformationListsInstructionsOnly) {
    table.SetLineAddress("A.C:2", 0x0000); // ignored: no table is given
    Disassemble("0000 00 NOP\n0001 ; LABEL L0001\n0001 80FE SJMP   L0001\n");
    Build(nullptr);
    EXPECT_EQ(model.m_srcRows, model.m_asmRows);
    ASSERT_EQ(model.m_srcRows.size(), 2u);
    EXPECT_EQ(model.m_srcRows[1], FormatDisassemblyLine("L0001: 80FE SJMP   L0001", 1));
    EXPECT_EQ(model.m_srcRowKinds, (std::vector<int32_t>{2, 2}));
    EXPECT_EQ(Index("A.C").Entry(2)->m_nSrcRow, -1);
}

TEST_F(ListingModel, SourceTextIsEscapedAndUntabbed) {
    auto loader = std::make_shared<Loader>();
    loader->AssignText("c.c", "#include <intrins.h>\n\tif (a<b && c>d)\r\n");
    SplitTextLines(*loader);
    sources.push_front(loader);
    indexes.emplace_back("C.C");
    table.SetLineAddress("C.C:2", 0x0000);
    Disassemble("0000 00 NOP\n0001 00 NOP\n");
    Build(&table);
    ASSERT_EQ(model.m_srcRows.size(), 4u);
    EXPECT_EQ(model.m_srcRows[0], "<font color=#A31515>        1 :        "
                                  "#include &lt;intrins.h&gt;</font>");
    EXPECT_EQ(model.m_srcRows[1], "<font color=#A31515>        2 :            "
                                  "if (a&lt;b &amp;&amp; c&gt;d)</font>");
}

TEST_F(ListingModel, LinesBeyondTheFileAndUnknownFilesShowNoSource) {
    table.SetLineAddress("A.C:20", 0x0000); // beyond the 8 lines of A.C
    table.SetLineAddress("X.C:1", 0x0001);  // no such source
    table.SetLineAddress("B.C:2147483647", 0x0002);
    Disassemble("0000 00 NOP\n0001 00 NOP\n0002 00 NOP\n");
    Build(&table);
    EXPECT_EQ(model.m_srcRows.size(), 3u);
    // A line beyond the file still counts as shown source for the kind.
    EXPECT_EQ(model.m_srcRowKinds, (std::vector<int32_t>{1, 2, 1}));
    // ... but points none of the file's lines at its code.
    for (const char* file : {"A.C", "B.C"})
        for (uint32_t line = 1; line <= Index(file).Count(); ++line)
            EXPECT_EQ(Index(file).Entry(line)->m_nSrcRow, -1) << file << ":" << line;
}

TEST_F(ListingModel, ProgressRisesOnlyWhenThePercentChanges) {
    Disassemble("0000 00 NOP\n0FFF 00 NOP\n");
    Build(nullptr);
    ASSERT_EQ(progress.size(), 91u);
    for (size_t i = 0; i < progress.size(); ++i)
        EXPECT_EQ(progress[i], 40 + static_cast<int>(i));

    Disassemble("0000 00 NOP\n0002 00 NOP\n");
    Build(nullptr);
    EXPECT_EQ(progress, (std::vector<int>{40, 85, 130}));

    Disassemble(""); // highest address 0: no walk, the model is emptied
    Build(&table);
    EXPECT_TRUE(progress.empty());
    EXPECT_TRUE(model.m_srcRows.empty());
    EXPECT_TRUE(model.m_mapAddressToSrcRow.empty());
}

TEST(IndexTable, ResizingStartsAfresh) {
    CIndexTable index("MAIN.C");
    index.Resize(3);
    index.Entry(2)->m_nSrcRow = 7;
    index.Resize(2);
    ASSERT_EQ(index.Count(), 2u);
    EXPECT_EQ(index.Entry(2)->m_nSrcRow, -1);
    EXPECT_EQ(index.Entry(3), nullptr);
}
