// The line tables of a module: which source line each instruction belongs to.
#include <gtest/gtest.h>

#include "line_tables.h"

namespace {

// A module MAIN.C with a function MAIN at 0x0003 of length 0x10, followed by
// a function NEXT at 0x0013, and the disassembly of both.
class LineTables : public ::testing::Test {
protected:
    void SetUp() override {
        SymbolInfo symbol("main");
        symbol.m_dwAddress = 0x0003;
        symbol.m_strClass = "CODE";
        table.EnterSymbolCopy(symbol, kSelectCode);
        mainSymbol = table.SymbolAtAddress(0x0003, kSelectCode);

        auto segment = std::make_unique<CSymbolStruct>();
        segment->m_strName = "MAIN";
        segment->m_dwStart = 0x0003;
        segment->m_dwLength = 0x10;
        segment->m_nKind = kSegmentCode;
        database.m_listCode.push_back(std::move(segment));

        for (uint32_t address : {0x03u, 0x05u, 0x08u, 0x0Au, 0x0Cu, 0x13u})
            instructions[address] = "0000 NOP";
        instructions[0x05] = "7401 MOV    A,#01H";
        instructions[0x0F] = "020000 LJMP   0000H";
        instructions[0x12] = "00 NOP";
        labels[0x08] = "; LABEL L0008";

        listing.m_pSourceLoader = std::make_shared<Loader>();
        std::string text;
        for (int line = 1; line <= 10; ++line)
            text += "line " + std::to_string(line) + "\n";
        listing.m_pSourceLoader->AssignText("main.c", text);
        SplitTextLines(*listing.m_pSourceLoader);
    }

    int Build(const CLineInfoInModule* module) {
        return BuildModuleLineEntries(module, listing, "main.c", instructions,
                                      OrderInstructions(instructions), labels, table, &database);
    }

    // MAIN with line 5 at its start and line 6 at 0x0008, up to its end.
    int BuildMainWithLinesFiveAndSix() {
        CLineInfoInModule module("MAIN");
        module.AddLine(0, 0x0003, kLineFunctionStart);
        module.AddLine(5, 0x0003, kLineSource);
        module.AddLine(6, 0x0008, kLineSource);
        module.AddLine(0, 0, kLineFunctionEnd);
        return Build(&module);
    }

    const TextLine& SourceLine(uint32_t line) const {
        return listing.m_pSourceLoader->m_lines[line - 1];
    }

    CSymbolTable table;
    CSymbolDatabase database;
    AddressTextMap instructions;
    AddressTextMap labels;
    LSTLoader listing;
    SymbolInfo* mainSymbol = nullptr;
};

} // namespace

TEST_F(LineTables, TheLastLineOfAFunctionEndsWithItsSegment) {
    ASSERT_EQ(BuildMainWithLinesFiveAndSix(), 1);

    EXPECT_EQ(table.GetLineOfAddress(0x03), "MAIN.C:5");
    EXPECT_EQ(table.GetLineOfAddress(0x05), "MAIN.C:5");
    for (uint32_t address : {0x08u, 0x0Au, 0x0Cu, 0x0Fu, 0x12u})
        EXPECT_EQ(table.GetLineOfAddress(address), "MAIN.C:6") << address;
    EXPECT_EQ(table.GetLineOfAddress(0x13), ""); // the next function's first instruction

    const TextLine& five = SourceLine(5);
    ASSERT_EQ(five.m_instructions.size(), 2u);
    EXPECT_EQ(five.m_instructions[1].m_strText, "7401 MOV    A,#01H");
    EXPECT_EQ(five.m_instructions[1].m_dwAddress, 0x05u);
    EXPECT_EQ(five.m_instructions[1].m_nSize, 2u);
    EXPECT_EQ(five.m_instructions[1].m_pFunction, mainSymbol);
    EXPECT_EQ(five.m_pFunctionSymbol, mainSymbol);

    const TextLine& six = SourceLine(6);
    ASSERT_EQ(six.m_instructions.size(), 5u);
    // The label's name prefixes the text; the size comes from the word after it.
    EXPECT_EQ(six.m_instructions[0].m_strText, "L0008: 0000 NOP");
    EXPECT_EQ(six.m_instructions[0].m_nSize, 2u);
    EXPECT_EQ(six.m_instructions[3].m_nSize, 3u);
    EXPECT_TRUE(SourceLine(7).m_instructions.empty());
}

// The linker may put code shared by the module in front of a function inside
// the function's segment: the last line still ends where the segment ends.
TEST_F(LineTables, ASegmentStartingBeforeItsFunctionStillEndsTheLastLine) {
    database.m_listCode.front()->m_dwStart = 0x0001;
    database.m_listCode.front()->m_dwLength = 0x12;
    ASSERT_EQ(BuildMainWithLinesFiveAndSix(), 1);
    EXPECT_EQ(table.GetLineOfAddress(0x12), "MAIN.C:6");
    EXPECT_EQ(table.GetLineOfAddress(0x13), "");
    EXPECT_EQ(SourceLine(6).m_instructions.size(), 5u);
}

TEST_F(LineTables, LinesThatCoverNothingOrOneInstruction) {
    CLineInfoInModule module("MAIN");
    module.AddLine(2, 0x000F, kLineSource); // outside any function: one instruction
    module.AddLine(0, 0x0003, kLineFunctionStart);
    module.AddLine(3, 0x0003, kLineSource); // followed by a function start: nothing
    module.AddLine(0, 0x0008, kLineFunctionStart);
    module.AddLine(0, 0, kLineFunctionEnd);
    module.AddLine(0, 0, kLineFunctionEnd);
    module.AddLine(9, 0x0012, kLineSource); // the module's last record: one instruction
    ASSERT_EQ(Build(&module), 1);

    EXPECT_EQ(table.GetLineOfAddress(0x0F), "MAIN.C:2");
    EXPECT_EQ(table.GetLineOfAddress(0x03), "");
    EXPECT_EQ(table.GetLineOfAddress(0x12), "MAIN.C:9");
    EXPECT_EQ(table.GetLineOfAddress(0x13), "");
    ASSERT_EQ(SourceLine(2).m_instructions.size(), 1u);
    EXPECT_EQ(SourceLine(2).m_instructions[0].m_pFunction, nullptr);
    EXPECT_EQ(SourceLine(2).m_instructions[0].m_nSize, 3u);
    EXPECT_TRUE(SourceLine(3).m_instructions.empty());
    EXPECT_EQ(SourceLine(9).m_instructions.size(), 1u);

    // An assembler block has no segment: its last line keeps its instruction.
    CLineInfoInModule block("MAIN");
    block.AddLine(0, 0x0003, kLineFunctionStart);
    block.AddLine(4, 0x0003, kLineSource);
    block.AddLine(5, 0x000C, kLineSource);
    block.AddLine(0, 0, kLineFunctionEnd);
    database.m_listCode.clear();
    ASSERT_EQ(Build(&block), 1);
    EXPECT_EQ(table.GetLineOfAddress(0x0C), "MAIN.C:5");
    EXPECT_EQ(SourceLine(5).m_instructions.size(), 1u);
}

// Records out of address order: each instruction goes to the first line whose
// range holds it, once; a segment reaching past 32 bits ends nowhere early.
TEST_F(LineTables, RecordsOutOfOrderGiveEachInstructionToOneLine) {
    database.m_listCode.front()->m_dwLength = 0xFFFFFFFF;
    CLineInfoInModule module("MAIN");
    module.AddLine(0, 0x0003, kLineFunctionStart);
    module.AddLine(5, 0x0003, kLineSource);
    module.AddLine(6, 0x000C, kLineSource); // the next record lies below: nothing
    module.AddLine(7, 0x0005, kLineSource); // up to 0x13, over line 5's range
    module.AddLine(8, 0x0013, kLineSource);
    module.AddLine(9, 0x0008, kLineSource); // up to the segment's end
    module.AddLine(0, 0, kLineFunctionEnd);
    ASSERT_EQ(Build(&module), 1);

    auto addressesOf = [this](uint32_t line) {
        std::vector<uint32_t> addresses;
        for (const InstructionInfo& instruction : SourceLine(line).m_instructions)
            addresses.push_back(instruction.m_dwAddress);
        return addresses;
    };
    EXPECT_EQ(addressesOf(5), (std::vector<uint32_t>{0x03, 0x05, 0x08, 0x0A}));
    EXPECT_TRUE(addressesOf(6).empty());
    EXPECT_EQ(addressesOf(7), (std::vector<uint32_t>{0x0C, 0x0F, 0x12}));
    EXPECT_TRUE(addressesOf(8).empty());
    EXPECT_EQ(addressesOf(9), (std::vector<uint32_t>{0x13}));
    for (uint32_t address : {0x03u, 0x05u, 0x08u, 0x0Au})
        EXPECT_EQ(table.GetLineOfAddress(address), "MAIN.C:5") << address;
    EXPECT_EQ(table.GetLineOfAddress(0x0C), "MAIN.C:7");
    EXPECT_EQ(table.GetLineOfAddress(0x13), "MAIN.C:9");
}

TEST_F(LineTables, DeepNestingAndUnbalancedEndsAreSafe) {
    CLineInfoInModule module("MAIN");
    module.AddLine(0, 0, kLineFunctionEnd); // no function open: ignored
    for (int level = 0; level < kMaxFunctionDepth + 10; ++level)
        module.AddLine(0, 0x0003, kLineFunctionStart);
    module.AddLine(4, 0x0003, kLineSource);
    module.AddLine(5, 0x0008, kLineSource);
    for (int level = 0; level < kMaxFunctionDepth + 20; ++level)
        module.AddLine(0, 0, kLineFunctionEnd);
    module.AddLine(7, 0x0013, kLineSource); // every function closed again
    module.AddLine(8, 0x0014, kLineSource);
    ASSERT_EQ(Build(&module), 1);

    EXPECT_EQ(table.GetLineOfAddress(0x03), "MAIN.C:4");
    EXPECT_EQ(table.GetLineOfAddress(0x0C), "MAIN.C:5");
    ASSERT_FALSE(SourceLine(4).m_instructions.empty());
    EXPECT_EQ(SourceLine(4).m_instructions[0].m_pFunction, mainSymbol);
    ASSERT_EQ(SourceLine(7).m_instructions.size(), 1u);
    EXPECT_EQ(SourceLine(7).m_instructions[0].m_pFunction, nullptr);
}

TEST_F(LineTables, FailuresAndLinesBeyondTheFile) {
    EXPECT_EQ(Build(nullptr), 0);

    CLineInfoInModule beyond("MAIN");
    beyond.AddLine(0, 0x0003, kLineFunctionStart);
    beyond.AddLine(50, 0x0003, kLineSource);
    beyond.AddLine(0, 0, kLineFunctionEnd);
    table.SetLineAddress("MAIN.C:50", 0x0003); // as the map reader enters it
    ASSERT_EQ(Build(&beyond), 1);
    // The line is not in the file: its code gets no position, not even the map's.
    for (uint32_t address : {0x03u, 0x0Fu})
        EXPECT_EQ(table.GetLineOfAddress(address), "") << address;
    EXPECT_EQ(table.GetAddressOfLine("MAIN.C:50"), kNoAddress);

    CLineInfoInModule untranslated("MAIN");
    untranslated.AddLine(0, 0x0003, kLineFunctionStart);
    untranslated.AddLine(kUntranslatedLine, 0x0003, kLineSource);
    untranslated.AddLine(0, 0, kLineFunctionEnd);
    EXPECT_EQ(Build(&untranslated), 0);
}

// A line whose next record was refused keeps only its own instruction, and
// one past the end of the file not even its position; the code up to the next
// record read belongs to no line.
TEST_F(LineTables, ALineBeforeARefusedRecordKeepsOnlyItsOwnInstruction) {
    CLineInfoInModule module("MAIN");
    module.AddLine(0, 0x0003, kLineFunctionStart);
    module.AddLine(4, 0x0003, kLineSource)->m_bNextRefused = true;
    module.AddLine(50, 0x0008, kLineSource)->m_bNextRefused = true;
    module.AddLine(6, 0x000C, kLineSource);
    module.AddLine(0, 0, kLineFunctionEnd);
    table.SetLineAddress("MAIN.C:50", 0x0008); // as the map reader enters it
    ASSERT_EQ(Build(&module), 1);

    EXPECT_EQ(table.GetLineOfAddress(0x03), "MAIN.C:4");
    ASSERT_EQ(SourceLine(4).m_instructions.size(), 1u);
    for (uint32_t address : {0x05u, 0x08u, 0x0Au})
        EXPECT_EQ(table.GetLineOfAddress(address), "") << address;
    EXPECT_EQ(table.GetAddressOfLine("MAIN.C:50"), kNoAddress);
    EXPECT_EQ(table.GetLineOfAddress(0x0C), "MAIN.C:6");
    EXPECT_EQ(SourceLine(6).m_instructions.size(), 3u);
}

TEST(InstructionSizes, TheBytesWordGivesTheSize) {
    EXPECT_EQ(InstructionSize("12080A LCALL  L080A"), 3u);
    EXPECT_EQ(InstructionSize("L0003: 7401 MOV    A,#01H"), 2u);
    EXPECT_EQ(InstructionSize("22 RET"), 1u);
    EXPECT_EQ(InstructionSize("LAB: 0000"), 2u); // not a generated label: its own length
    EXPECT_EQ(InstructionSize(""), 0u);
    EXPECT_EQ(LabelNameOf("; LABEL L0003\r"), "L0003");
    EXPECT_EQ(LabelNameOf("; LABEL"), "");
}
