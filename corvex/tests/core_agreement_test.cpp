// The disassembler's instruction lengths against the 8051 core: each
// instruction of an image holding every opcode is executed alone and must
// move the program counter by the number of bytes its line shows.
#include "corvex_runner.h"
#include "cpu8051.h"
#include "opcode_table.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace corvex_test;

namespace {

TEST(CorvexAgainstCore, EveryNonJumpInstructionAdvancesThePcByItsByteCount) {
    // Operand bytes are zero: direct 00H is R0, bit 00H is 20H.0, and a
    // relative displacement of 0 makes a taken branch land on the next
    // instruction too, so conditional branches can be checked as well.
    const uint16_t base = 0x0100;
    std::vector<unsigned char> bytes;
    for (int op = 0; op < 256; ++op) {
        bytes.push_back(static_cast<unsigned char>(op));
        bytes.resize(bytes.size() + isa8051::opcodeInfo(static_cast<uint8_t>(op)).length - 1, 0);
    }
    ScratchDir dir;
    writeFile(dir / "all.hex", hexText(base, bytes));
    RunResult r = runCorvex({(dir / "all.hex").string(), (dir / "all.out").string()});
    ASSERT_EQ(r.exitStatus, 0) << r.stdErr;

    sim8051::Cpu cpu;
    std::copy(bytes.begin(), bytes.end(), cpu.code().begin() + base);

    const std::set<std::string> jumps = {"AJMP",  "LJMP",  "SJMP", "JMP",
                                         "ACALL", "LCALL", "RET",  "RETI"};
    int checked = 0;
    for (const std::string& line : splitLines(readFile(dir / "all.out"))) {
        if (line.find("LABEL") != std::string::npos) continue;
        std::istringstream words(line);
        std::string address, bytesWord, mnemonic;
        words >> address >> bytesWord >> mnemonic;
        if (jumps.count(mnemonic)) continue;
        SCOPED_TRACE(line);
        const uint16_t pc = static_cast<uint16_t>(std::stoul(address, nullptr, 16));
        cpu.setPc(pc);
        cpu.step();
        EXPECT_EQ(cpu.pc(), pc + bytesWord.size() / 2);
        ++checked;
    }
    // 256 opcodes less 8 AJMP, 8 ACALL, LJMP, LCALL, SJMP, JMP, RET, RETI.
    EXPECT_EQ(checked, 256 - 22);
}

} // namespace
