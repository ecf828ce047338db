// The register pane's rows: values read from the host copies, the texts
// shown, and edits written to the simulated board.
#include "sim_board.h"

#include "host_memory.h"
#include "register_table.h"
#include "target_protocol.h"

namespace {

uint32_t ValueOf(const RegisterValues& values, const char* name) {
    return values.at(size_t(FindRegisterRow(name)));
}

std::string TextOf(const RegisterValues& values, const char* name) {
    const int row = FindRegisterRow(name);
    return RegisterValueText(RegisterTable()[row], values[row]);
}

uint8_t PswOf(const char* field, uint32_t value, uint8_t psw) {
    return uint8_t(PlanRegisterWrite(RegisterTable()[FindRegisterRow(field)], value, 0, psw).value);
}

} // namespace

TEST(RegisterTable, RowsReadTheCopyWithTheBankThePswSelects) {
    std::array<uint8_t, 0x100> image{};
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = uint8_t(i * 7 + 3);
    image[kPswAddress] = 0x18;
    image[0x84] = 0x34;
    image[0x85] = 0x12;
    RegisterValues values = ReadRegisterValues(image, 0x1234);
    EXPECT_EQ(TextOf(values, "RS"), "3");
    for (int n = 0; n < 8; ++n)
        EXPECT_EQ(values[n], image[0x18 + n]) << "R" << n;
    for (const char* name : {"A", "ACC", "RLDH", "WCONF"})
        EXPECT_EQ(ValueOf(values, name), image[RegisterTable()[FindRegisterRow(name)].address]);
    EXPECT_EQ(TextOf(values, "DPTR1"), "0x1234");
    EXPECT_EQ(TextOf(values, "PC $"), "0x1234");
    EXPECT_EQ(TextOf(values, "SP"), "0x8a");

    image[kPswAddress] = 0x81;
    values = ReadRegisterValues(image, 0);
    EXPECT_EQ(TextOf(values, "CY") + TextOf(values, "P"), "11");
    for (const char* flag : {"F1", "OV", "RS", "F0", "AC"})
        EXPECT_EQ(TextOf(values, flag), "0") << flag;
    EXPECT_EQ(values[0], image[0]);
    EXPECT_STREQ(RegisterGroupName(RegisterTable()[20].group), "Speicial Registers");
    EXPECT_EQ(RegisterDescription(RegisterTable()[3]), "Register 3");
}

TEST(RegisterTable, PswWritesKeepToTheirField) {
    EXPECT_EQ(PswOf("RS", 2, 0x81), 0x91);
    EXPECT_EQ(PswOf("CY", 1, 0x00), 0x80);
    EXPECT_EQ(PswOf("CY", 0, 0xFF), 0x7F);
    // Wider values lose their upper bits: 2 into P leaves F1, 5 into RS leaves F0.
    EXPECT_EQ(PswOf("P", 2, 0x00), 0x00);
    EXPECT_EQ(PswOf("RS", 5, 0x00), 0x08);
    const RegisterWrite r2 = PlanRegisterWrite(RegisterTable()[2], 0x1FF, 1, 0x00);
    EXPECT_EQ(r2.address, 0x0Au);
    EXPECT_EQ(r2.value, 0xFFu);
}

using RegisterWriteOnBoard = SimBoardTest;

TEST_F(RegisterWriteOnBoard, EditsReachTheBoardAndWordsReadBackAsTyped) {
    g_InternalDataImage[kPswAddress] = 0x81;
    ASSERT_EQ(WriteRegister("R3", 0x5A, 2), 1);
    ASSERT_EQ(WriteRegister("RS", 2, 0), 1);
    // A word goes out as one two-byte write, which the link reads back, and
    // reads back as typed.
    ClearTrace();
    ASSERT_EQ(WriteRegister("DPTR0", 0x1234, 0), 1);
    EXPECT_EQ(Sent(), Bytes({0x5C, 0x08, 0x5B, 0x00, 0x00, 0x82, 0x56, 0x12, 0x34, //
                             0x5C, 0x08, 0x5B, 0x00, 0x00, 0x82, 0x54, 0x02}));
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
    EXPECT_EQ(ValueOf(values, "R3"), 0x5Au) << "R3 of bank 2";
    // P is the parity of A, which the core keeps itself.
    EXPECT_EQ(g_InternalDataImage[kPswAddress] & 0xFE, 0x90);

    // The program counter goes through the set-PC command and writes no memory.
    ClearTrace();
    ASSERT_EQ(WriteRegister("PC $", 0x0100, 0), 1);
    EXPECT_EQ(Sent(), Bytes({0x5A, 0x01, 0x00}));
    EXPECT_EQ(Board().GetPc(), 0x0100);
    EXPECT_EQ(WriteRegister("PSW ", 1, 0), 0);
    EXPECT_EQ(Sent().size(), 3u);
    EXPECT_TRUE(Messages().empty());
}
