// The register pane's rows: values read from the host copies, the texts
// shown, and edits written to the simulated board.
#include "sim_board.h"

#include "host_memory.h"
#include "register_table.h"
#include "target_protocol.h"

#include <set>

namespace {

uint32_t ValueOf(const RegisterValues& values, const char* name) {
    const int row = FindRegisterRow(name);
    EXPECT_GE(row, 0) << name;
    return row < 0 ? 0 : values[row];
}

std::string TextOf(const RegisterValues& values, const char* name) {
    const int row = FindRegisterRow(name);
    return RegisterValueText(RegisterTable()[row], values[row]);
}

uint8_t BoardSfr(uint32_t address) {
    uint8_t value = 0;
    Board().ReadMemory(SIMBOARD_SFR, address, &value, 1);
    return value;
}

} // namespace

TEST(RegisterTable, RowsAreTheGroupsOfThePaneInOrder) {
    const auto& rows = RegisterTable();
    std::set<std::string> names;
    int counts[3] = {0, 0, 0};
    for (const RegisterRow& row : rows) {
        names.insert(row.name);
        ++counts[int(row.group)];
    }
    EXPECT_EQ(names.size(), size_t(kRegisterRowCount)) << "every name once";
    EXPECT_EQ(counts[int(RegisterGroup::kDefault)], 13);
    EXPECT_EQ(counts[int(RegisterGroup::kPsw)], 7);
    EXPECT_EQ(counts[int(RegisterGroup::kSpecial)], 46);
    EXPECT_STREQ(rows[12].name, "PC $");
    EXPECT_STREQ(rows[13].name, "P");
    EXPECT_STREQ(rows[20].name, "P0");
    EXPECT_STREQ(rows[65].name, "WCONF");
    EXPECT_STREQ(RegisterGroupName(RegisterGroup::kSpecial), "Speicial Registers");
    EXPECT_EQ(RegisterDescription(rows[3]), "Register 3");
    EXPECT_EQ(RegisterDescription(rows[FindRegisterRow("DPTR0")]), "Register DPTR0");
}

TEST(RegisterTable, ValuesComeFromTheCopyAndTheBankThePswSelects) {
    std::array<uint8_t, 0x100> image{};
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = uint8_t(i * 7 + 3);
    image[kPswAddress] = 0x18;
    RegisterValues values = ReadRegisterValues(image, 0x1234);
    EXPECT_EQ(ValueOf(values, "RS"), 3u);
    for (int n = 0; n < 8; ++n)
        EXPECT_EQ(values[n], image[0x18 + n]) << "R" << n;
    for (int i = 0; i < kRegisterRowCount; ++i) {
        const RegisterRow& row = RegisterTable()[i];
        uint32_t expected = image[row.address];
        if (row.kind == RegisterKind::kWord) expected += 256u * image[row.address + 1];
        if (row.kind == RegisterKind::kByte || row.kind == RegisterKind::kWord) {
            EXPECT_EQ(values[i], expected) << row.name;
        }
    }
    EXPECT_EQ(ValueOf(values, "A"), ValueOf(values, "ACC"));
    EXPECT_EQ(TextOf(values, "PC $"), "0x1234");
    image[kPswAddress] = 0x81;
    values = ReadRegisterValues(image, 0);
    for (const char* flag : {"CY", "P"})
        EXPECT_EQ(TextOf(values, flag), "1") << flag;
    for (const char* flag : {"F1", "OV", "RS", "F0", "AC"})
        EXPECT_EQ(TextOf(values, flag), "0") << flag;
    EXPECT_EQ(values[0], image[0]);

    image[0x81] = 0x0F;
    image[0x84] = 0x34;
    image[0x85] = 0x12;
    values = ReadRegisterValues(image, 0);
    EXPECT_EQ(TextOf(values, "SP"), "0x0f");
    EXPECT_EQ(TextOf(values, "DPTR1"), "0x1234");
    EXPECT_EQ(TextOf(values, "PC $"), "0x0000");
}

TEST(RegisterTable, PswWritesKeepToTheirField) {
    auto plan = [](const char* name, uint32_t value, uint8_t psw) {
        return PlanRegisterWrite(RegisterTable()[FindRegisterRow(name)], value, 0, psw);
    };
    EXPECT_EQ(plan("RS", 2, 0x81).value, 0x91u);
    EXPECT_EQ(plan("CY", 1, 0x00).value, 0x80u);
    EXPECT_EQ(plan("CY", 0, 0xFF).value, 0x7Fu);
    // Wider values lose their upper bits: 2 into P leaves F1, 5 into RS leaves F0.
    EXPECT_EQ(plan("P", 2, 0x00).value, 0x00u);
    EXPECT_EQ(plan("RS", 5, 0x00).value, 0x08u);
    EXPECT_EQ(plan("AC", 0x100, 0x81).value, 0x81u);
    for (const char* flag : {"P", "F1", "OV", "RS", "F0", "AC", "CY"}) {
        EXPECT_EQ(plan(flag, 1, 0).address, kPswAddress);
        EXPECT_EQ(plan(flag, 1, 0).size, 1);
    }
    const RegisterWrite r2 = PlanRegisterWrite(RegisterTable()[2], 0x1FF, 1, 0x00);
    EXPECT_EQ(r2.address, 0x0Au);
    EXPECT_EQ(r2.value, 0xFFu);
    EXPECT_EQ(plan("PC $", 0x10100, 0).kind, RegisterWrite::Kind::kProgramCounter);
    EXPECT_EQ(plan("PC $", 0x10100, 0).value, 0x0100u);
}

using RegisterWriteOnBoard = SimBoardTest;

TEST_F(RegisterWriteOnBoard, EditsReachTheBoardAndWordsReadBackAsTyped) {
    // A (SFR byte), R3 of bank 2 (internal data), a flag against the copy's PSW.
    g_InternalDataImage[kPswAddress] = 0x81;
    ASSERT_EQ(WriteRegister("A", 15, 0), 1);
    ASSERT_EQ(WriteRegister("R3", 0x5A, 2), 1);
    ASSERT_EQ(WriteRegister("RS", 2, 0), 1);
    EXPECT_EQ(BoardSfr(0xE0), 0x0F);
    uint8_t r3 = 0;
    Board().ReadMemory(SIMBOARD_IRAM, 0x13, &r3, 1);
    EXPECT_EQ(r3, 0x5A);
    // P is the parity of A, which the core keeps itself.
    EXPECT_EQ(BoardSfr(kPswAddress) & 0xFE, 0x90);

    // A word goes out as one two-byte write and reads back as typed.
    ClearTrace();
    ASSERT_EQ(WriteRegister("DPTR0", 0x1234, 0), 1);
    EXPECT_EQ(Sent(), Bytes({0x5C, 0x08, 0x5B, 0x00, 0x00, 0x82, 0x56, 0x12, 0x34}));
    EXPECT_EQ(BoardSfr(0x82), 0x34); // DPL
    EXPECT_EQ(BoardSfr(0x83), 0x12); // DPH
    uint32_t typed = 0xA1B2;
    for (const char* word : {"DPTR1", "ISPADDR", "RAMBA16", "RAMEA16"})
        ASSERT_EQ(WriteRegister(word, typed += 0x0101, 0), 1) << word;
    ReadMemoryImages();
    const RegisterValues values = ReadRegisterValues(g_InternalDataImage, 0);
    EXPECT_EQ(ValueOf(values, "DPTR0"), 0x1234u);
    EXPECT_EQ(ValueOf(values, "DPH"), 0x12u);
    typed = 0xA1B2;
    for (const char* word : {"DPTR1", "ISPADDR", "RAMBA16", "RAMEA16"})
        EXPECT_EQ(ValueOf(values, word), typed += 0x0101) << word;
    EXPECT_EQ(ValueOf(values, "RS"), 2u);

    // The program counter goes through the set-PC command and writes no memory.
    ClearTrace();
    ASSERT_EQ(WriteRegister("PC $", 0x0100, 0), 1);
    EXPECT_EQ(Sent(), Bytes({0x5A, 0x01, 0x00}));
    EXPECT_EQ(Board().GetPc(), 0x0100);
    EXPECT_EQ(ReadPc(), 0x0100);

    ClearTrace();
    EXPECT_EQ(WriteRegister("PSW ", 1, 0), 0);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(Messages().empty());
}
