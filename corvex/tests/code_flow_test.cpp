// Instruction starts found by following the code from the vectors, where a
// linear sweep gets out of step after data placed between instructions.
#include "disassembler.h"
#include "opcode_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Chunk {
    uint16_t address;
    std::vector<uint8_t> bytes;
};

std::string listingOf(const std::vector<Chunk>& chunks, const disasm8051::FlowHints& hints = {}) {
    auto image = std::make_unique<intelhex::Image>();
    for (const Chunk& chunk : chunks) {
        for (size_t i = 0; i < chunk.bytes.size(); ++i) {
            image->bytes[chunk.address + i] = chunk.bytes[i];
            image->present.set(chunk.address + i);
        }
    }
    return disasm8051::renderListing(disasm8051::disassemble(*image, hints));
}

// Address -> text of each instruction and data line (label lines left out).
std::map<uint16_t, std::string> linesByAddress(const std::string& listing) {
    std::map<uint16_t, std::string> lines;
    size_t pos = 0;
    for (size_t eol; (eol = listing.find('\n', pos)) != std::string::npos; pos = eol + 1) {
        const std::string line = listing.substr(pos, eol - pos);
        if (line.find("; LABEL") != std::string::npos) continue;
        lines[static_cast<uint16_t>(std::stoul(line.substr(0, 4), nullptr, 16))] = line.substr(5);
    }
    return lines;
}

std::string hex2(unsigned value) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", value);
    return buf;
}

TEST(CodeFlow, FunctionAfterAConstantTableStartsAtItsOwnAddress) {
    // The table's 12H reads as LCALL and would swallow the first byte of the
    // function that follows it.
    const std::string listing = listingOf({
        {0x0000, {0x02, 0x01, 0x00}}, // LJMP main
        {0x0100,
         {0x90, 0x01, 0x07, 0x12, 0x01, 0x09, 0x22, // main
          0x12, 0x34,                               // table
          0xE4, 0xF5, 0x90, 0x22}},                 // function
    });
    EXPECT_EQ(listing, "0000 020100 LJMP   L0100\n"
                       "0100 ; LABEL L0100\n"
                       "0100 900107 MOV    DPTR,#0107H\n"
                       "0103 120109 LCALL  L0109\n"
                       "0106 22 RET\n"
                       "0107 1234 DB     12H,34H\n"
                       "0109 ; LABEL L0109\n"
                       "0109 E4 CLR    A\n"
                       "010A F590 MOV    P1,A\n"
                       "010C 22 RET\n");
}

TEST(CodeFlow, JumpTableAfterJmpAtADptrIsSweptUpToTheNextReachedInstruction) {
    // The table holds the words 0200H and 0210H; swept, it reads as LJMP and
    // a JBC cut short where the main loop begins.
    const std::string listing = listingOf({
        {0x0000, {0x02, 0x01, 0x09}}, // LJMP main
        {0x0100,
         {0x90, 0x01, 0x05, 0x23, 0x73,               // dispatcher
          0x02, 0x00, 0x02, 0x10,                     // jump table
          0x74, 0x01, 0x12, 0x01, 0x00, 0x80, 0xFE}}, // main
    });
    EXPECT_EQ(listing, "0000 020109 LJMP   L0109\n"
                       "0100 ; LABEL L0100\n"
                       "0100 900105 MOV    DPTR,#0105H\n"
                       "0103 23 RL     A\n"
                       "0104 73 JMP    @A+DPTR\n"
                       "0105 020002 LJMP   0002H\n"
                       "0108 10 DB     10H\n"
                       "0109 ; LABEL L0109\n"
                       "0109 7401 MOV    A,#01H\n"
                       "010B 120100 LCALL  L0100\n"
                       "010E ; LABEL L010E\n"
                       "010E 80FE SJMP   L010E\n");
}

TEST(CodeFlow, CallTargetInsideADataRunBecomesAnInstruction) {
    // Swept alone, the last two bytes are one data line (an LCALL cut by the
    // end of the image); the second of them is the called function.
    const std::string listing = listingOf({
        {0x0000, {0x02, 0x01, 0x00}},
        {0x0100, {0x31, 0x05, 0x80, 0xFE, 0x12, 0x22}},
    });
    EXPECT_EQ(listing, "0000 020100 LJMP   L0100\n"
                       "0100 ; LABEL L0100\n"
                       "0100 3105 ACALL  L0105\n"
                       "0102 ; LABEL L0102\n"
                       "0102 80FE SJMP   L0102\n"
                       "0104 12 DB     12H\n"
                       "0105 ; LABEL L0105\n"
                       "0105 22 RET\n");
}

// One block per opcode with a relative target: the branch skips an
// instruction that ends the flow and a 02H byte after it. Only the branch's
// target leads on, so each block is found only when both the branch's target
// and its fall-through are followed, and every 02H byte stays data only when
// flow stops after RET, RETI, JMP @A+DPTR, LJMP, AJMP and SJMP.
TEST(CodeFlow, FollowsEveryBranchBothWaysAndStopsAfterUnconditionalTransfers) {
    const std::vector<std::vector<uint8_t>> stops = {{0x22},       {0x32},    {0x73},
                                                     {0x02, 0, 0}, {0x01, 0}, {0x80, 0}};
    std::vector<uint8_t> code;
    std::vector<uint16_t> branches;
    std::vector<uint16_t> dataBytes;
    const uint16_t base = 0x0200;
    for (int op = 0; op < 256; ++op) {
        const isa8051::OpcodeInfo& info = isa8051::opcodeInfo(static_cast<uint8_t>(op));
        if (op == 0x80 || (info.operands[0] != isa8051::Operand::Rel &&
                           info.operands[1] != isa8051::Operand::Rel &&
                           info.operands[2] != isa8051::Operand::Rel))
            continue;
        const std::vector<uint8_t>& stop = stops[branches.size() % stops.size()];
        branches.push_back(static_cast<uint16_t>(base + code.size()));
        code.push_back(static_cast<uint8_t>(op));
        code.resize(code.size() + info.length - 2, 0x00); // operand bytes: R0, 20H.0, #00H
        code.push_back(static_cast<uint8_t>(stop.size() + 1));
        const uint16_t next = static_cast<uint16_t>(base + code.size() + stop.size() + 1);
        code.insert(code.end(), stop.begin(), stop.end());
        if (stop[0] == 0x02) { // LJMP next
            code[code.size() - 2] = static_cast<uint8_t>(next >> 8);
            code[code.size() - 1] = static_cast<uint8_t>(next);
        } else if (stop[0] == 0x01) { // AJMP next, same 2 KB page
            code[code.size() - 2] = static_cast<uint8_t>((next >> 3 & 0xE0) | 0x01);
            code[code.size() - 1] = static_cast<uint8_t>(next);
        } else if (stop[0] == 0x80) { // SJMP next
            code[code.size() - 1] = 0x01;
        }
        dataBytes.push_back(static_cast<uint16_t>(base + code.size()));
        code.push_back(0x02);
    }
    code.push_back(0x22);
    ASSERT_EQ(branches.size(), 28u) << "7 conditional jumps, 12 CJNE, 9 DJNZ";

    const std::map<uint16_t, std::string> lines =
        linesByAddress(listingOf({{0x0000, {0x02, 0x02, 0x00}}, {base, code}}));
    for (size_t i = 0; i < branches.size(); ++i) {
        const std::string opcode = hex2(code[branches[i] - base]);
        SCOPED_TRACE("block of opcode " + opcode);
        ASSERT_EQ(lines.count(branches[i]), 1u);
        EXPECT_EQ(lines.at(branches[i]).substr(0, 2), opcode);
        ASSERT_EQ(lines.count(dataBytes[i]), 1u);
        EXPECT_EQ(lines.at(dataBytes[i]), "02 DB     02H");
    }
    EXPECT_EQ(lines.rbegin()->second, "22 RET");
}

TEST(CodeFlow, FollowsTheInterruptVectorsTheImageHolds) {
    // Reset and timer 0 vectors present. Each handler sits behind a byte that
    // would otherwise make the sweep swallow its start.
    const std::string listing = listingOf({
        {0x0000, {0x02, 0x01, 0x01}},
        {0x000B, {0x02, 0x01, 0x04}},
        {0x0100, {0x90, 0x80, 0xFE, 0x75, 0x32}},
    });
    EXPECT_EQ(listing, "0000 020101 LJMP   L0101\n"
                       "000B 020104 LJMP   L0104\n"
                       "0100 90 DB     90H\n"
                       "0101 ; LABEL L0101\n"
                       "0101 80FE SJMP   L0101\n"
                       "0103 75 DB     75H\n"
                       "0104 ; LABEL L0104\n"
                       "0104 32 RETI\n");
}

TEST(CodeFlow, VectorInsideAnInstructionReachedFromAnotherVectorIsNotFollowed) {
    // The function called from reset covers 0013H with MOV DPTR,#1234H;
    // followed from there, 34H would read as ADDC A,#80H.
    const std::string listing = listingOf({
        {0x0000, {0x02, 0x00, 0x0E}},
        {0x000E, {0x00, 0x00, 0x00, 0x90, 0x12, 0x34, 0x80, 0xFE}},
    });
    EXPECT_EQ(listing, "0000 02000E LJMP   L000E\n"
                       "000E ; LABEL L000E\n"
                       "000E 00 NOP\n"
                       "000F 00 NOP\n"
                       "0010 00 NOP\n"
                       "0011 901234 MOV    DPTR,#1234H\n"
                       "0014 ; LABEL L0014\n"
                       "0014 80FE SJMP   L0014\n");
}

TEST(CodeFlow, VectorWhoseCodeOverlapsTheResetVectorsCodeIsNotFollowed) {
    // 0011H-0013H is library code nothing calls; followed from 0013H, its
    // 80H would read as an SJMP covering the reached 0014H.
    const std::string listing = listingOf({
        {0x0000, {0x02, 0x00, 0x14}},
        {0x0011, {0xE8, 0x64, 0x80, 0xF8, 0x80, 0xFE}},
    });
    EXPECT_EQ(listing, "0000 020014 LJMP   L0014\n"
                       "0011 E8 MOV    A,R0\n"
                       "0012 6480 XRL    A,#80H\n"
                       "0014 ; LABEL L0014\n"
                       "0014 F8 MOV    R0,A\n"
                       "0015 ; LABEL L0015\n"
                       "0015 80FE SJMP   L0015\n");
}

TEST(CodeFlow, ReachedInstructionsAreWrittenEvenWhereTheyOverlap) {
    // LJMP 0001H lands on its own second byte; the AJMP at 0002H lacks its
    // operand byte and is no instruction, so flow ends there.
    EXPECT_EQ(listingOf({{0x0000, {0x02, 0x00, 0x01}}}), "0000 020001 LJMP   L0001\n"
                                                         "0001 ; LABEL L0001\n"
                                                         "0001 00 NOP\n");
    // Flow reaching the undefined opcode leaves it to the sweep as data.
    EXPECT_EQ(listingOf({{0x0000, {0x00, 0xA5, 0x22}}}), "0000 00 NOP\n"
                                                         "0001 A5 DB     0A5H\n"
                                                         "0002 22 RET\n");
}

// A switch calls a helper that reads the case table after the call and
// jumps to the case: flow goes on at the cases, never after the call, and
// the table is data, one line per entry. Case 0 holds a switch on a long
// value, whose 6-byte entries take two lines each.
TEST(CodeFlow, CaseTablesAfterSwitchCallsAreDataAndTheirCasesAreCode) {
    const std::vector<Chunk> image = {
        {0x0000, {0x02, 0x01, 0x00}},
        {0x0100, {0x12, 0x02, 0x00,                               // LCALL char switch
                  0x01, 0x0D, 0x00, 0x01, 0x1A, 0x07, 0x00, 0x00, // (010DH, 0), (011AH, 7), end
                  0x01, 0x1D,                                     // default 011DH
                  0x12, 0x02, 0x01,                               // case 0: LCALL long switch
                  0x01, 0x1C, 0x00, 0x00, 0x00, 0x05,             // (011CH, 5)
                  0x00, 0x00, 0x01, 0x1D,                         // end, default 011DH
                  0x80, 0xFE, 0x22, 0x22}},                       // case 7, case 5, default
        {0x0200, {0x22, 0x22}},                                   // the helpers
    };
    // Without the helpers' addresses the call falls through into its table.
    EXPECT_NE(listingOf(image).find("0103 010D AJMP   000DH\n"), std::string::npos);

    disasm8051::FlowHints hints;
    hints.switchHelpers = {{0x0200, 1}, {0x0201, 4}};
    EXPECT_EQ(listingOf(image, hints), "0000 020100 LJMP   L0100\n"
                                       "0100 ; LABEL L0100\n"
                                       "0100 120200 LCALL  L0200\n"
                                       "0103 010D00 DB     01H,0DH,00H\n"
                                       "0106 011A07 DB     01H,1AH,07H\n"
                                       "0109 0000011D DB     00H,00H,01H,1DH\n"
                                       "010D ; LABEL L010D\n"
                                       "010D 120201 LCALL  L0201\n"
                                       "0110 011C DB     01H,1CH\n"
                                       "0112 00000005 DB     00H,00H,00H,05H\n"
                                       "0116 0000011D DB     00H,00H,01H,1DH\n"
                                       "011A ; LABEL L011A\n"
                                       "011A 80FE SJMP   L011A\n"
                                       "011C ; LABEL L011C\n"
                                       "011C 22 RET\n"
                                       "011D ; LABEL L011D\n"
                                       "011D 22 RET\n"
                                       "0200 ; LABEL L0200\n"
                                       "0200 22 RET\n"
                                       "0201 ; LABEL L0201\n"
                                       "0201 22 RET\n");
}

TEST(CodeFlow, UnreadableCaseTableIsDataUpToTheNextCode) {
    // The table names 0150H, which the image does not hold: no case is
    // followed, and the bytes up to the code the map knows are data.
    const std::vector<Chunk> image = {
        {0x0000, {0x02, 0x01, 0x00}},
        {0x0100, {0x12, 0x01, 0x0C, 0x01, 0x50, 0x00, 0x00, 0x00, 0x01, 0x0A, 0x80, 0xFE, 0x22}},
    };
    disasm8051::FlowHints hints;
    hints.codeStarts = {0x010A};
    hints.switchHelpers = {{0x010C, 1}};
    EXPECT_EQ(listingOf(image, hints), "0000 020100 LJMP   L0100\n"
                                       "0100 ; LABEL L0100\n"
                                       "0100 12010C LCALL  L010C\n"
                                       "0103 01500000 DB     01H,50H,00H,00H\n"
                                       "0107 00010A DB     00H,01H,0AH\n"
                                       "010A ; LABEL L010A\n"
                                       "010A 80FE SJMP   L010A\n"
                                       "010C ; LABEL L010C\n"
                                       "010C 22 RET\n");
}

} // namespace
