// The exits of a piece of code read from its disassembled texts, and the
// texts that cannot be trusted for it.
#include <gtest/gtest.h>

#include "code_exits.h"

#include <map>

namespace {

TEST(CodeExits, AreReadFromTheBytesOfEachTextOrRefused) {
    static const std::map<uint32_t, std::string> texts = {
        // A table scan: a conditional way out, the jump through the table, a loop back.
        {0x100, "D083 POP    DPH"},
        {0x102, "7003 JNZ    L0107"},
        {0x104, "B40105 CJNE   A,#01H,L010C"},
        {0x107, "73 JMP    @A+DPTR"},
        {0x108, "80F6 SJMP   L0100"},
        // Code that calls out of itself, then runs on past its end.
        {0x200, "E4 CLR    A"},
        {0x201, "3100 ACALL  L0100"},
        {0x203, "F8 MOV    R0,A"},
        // A jump into the middle of an instruction; data; bytes of another length.
        {0x300, "7001 JNZ    L0303"},
        {0x302, "740A MOV    A,#0AH"},
        {0x400, "22 DB     22H"},
        {0x500, "12 LCALL  L0300"},
    };
    RunControlLookups lookups;
    lookups.disassemblyText = [](uint32_t address) {
        auto it = texts.find(address);
        return it == texts.end() ? std::string() : it->second;
    };
    SetRunControlLookups(lookups);
    struct Case {
        CodeRange code;
        bool read;
        std::vector<uint16_t> exits;
    };
    const Case cases[] = {
        {{0x100, 0x10A}, true, {0x104, 0x107}},
        {{0x100, 0x10C}, true, {0x104, 0x107}}, // the texts end after the loop back
        {{0x102, 0x10A}, true, {0x104, 0x107, 0x108}},
        {{0x200, 0x204}, true, {0x201, 0x203}},
        {{0x200, 0x210}, false, {}}, // runs on where no text is
        {{0x300, 0x304}, false, {}},
        {{0x400, 0x401}, false, {}},
        {{0x500, 0x503}, false, {}},
        {{0x0FF, 0x10A}, false, {}}, // no instruction at its start
    };
    for (const Case& c : cases) {
        std::vector<uint16_t> exits;
        EXPECT_EQ(ExitsOfCode(c.code, exits), c.read)
            << std::hex << c.code.low << "-" << c.code.high;
        if (c.read) {
            EXPECT_EQ(exits, c.exits) << std::hex << c.code.low;
        }
    }
    SetRunControlLookups({});
}

} // namespace
