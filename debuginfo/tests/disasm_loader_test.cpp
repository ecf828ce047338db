// The disassembler run with the real `corvex` program, and its output read
// back into the instruction and label maps.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "disasm_loader.h"
#include "message_service.h"
#include "path_resolver.h"
#include "test_support.h"

using debuginfo_test::TempFolder;

namespace {

// One Intel HEX data record.
std::string HexRecord(unsigned address, const std::vector<unsigned>& bytes) {
    std::vector<unsigned> all = {static_cast<unsigned>(bytes.size()), address >> 8, address & 0xFF,
                                 0};
    all.insert(all.end(), bytes.begin(), bytes.end());
    unsigned sum = 0;
    std::string text = ":";
    char digits[3];
    for (unsigned byte : all) {
        std::snprintf(digits, sizeof digits, "%02X", byte);
        text += digits;
        sum += byte;
    }
    std::snprintf(digits, sizeof digits, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
    return text + digits + "\n";
}

// LJMP 0005, NOP, NOP, MOV A,#01H, SJMP $.
const std::string kSmallImage =
    HexRecord(0x0000, {0x02, 0x00, 0x05, 0x00, 0x00, 0x74, 0x01, 0x80, 0xFE}) + ":00000001FF\n";

DisasmLoader LoaderOfText(const std::string& text) {
    DisasmLoader loader;
    loader.AssignText("Corvex.out", text);
    SplitTextLines(loader);
    loader.CollectLabels();
    return loader;
}

} // namespace

TEST(Disassembler, RunsOnAnImageAndItsOutputIsReadBack) {
    TempFolder folder;
    folder.Write("image.hex", kSmallImage);
    const std::string output = folder.Path("out/Corvex.out");
    folder.Write("out/Corvex.out", "0000 stale output of an earlier run\n");
    platform::RecordingMessageService messages;

    ASSERT_EQ(RunDisassembler(folder.Path("image.hex"), output, VEXA_BIN_DIR), 1);
    EXPECT_TRUE(messages.shown.empty());

    DisasmLoader loader(output);
    EXPECT_EQ(loader.m_dwHighestAddress, 7u);
    EXPECT_EQ(loader.m_mapInstructions.size(), 5u);
    EXPECT_EQ(loader.m_mapInstructions.at(0x0000), "020005 LJMP   L0005");
    EXPECT_EQ(loader.m_mapInstructions.at(0x0004), "00 NOP");
    EXPECT_EQ(loader.m_mapInstructions.at(0x0005), "7401 MOV    A,#01H");
    EXPECT_EQ(loader.m_mapLabels.size(), 2u);
    EXPECT_EQ(loader.m_mapLabels.at(0x0005), "; LABEL L0005");
    EXPECT_EQ(loader.m_mapLabels.at(0x0007), "; LABEL L0007");
    EXPECT_EQ(CodeEndAddressText(loader), "0x17");
}

TEST(Disassembler, AFailedRunIsReportedAndLeavesNoOldOutput) {
    TempFolder folder;
    const std::string output = folder.Path("Corvex.out");
    platform::RecordingMessageService messages;

    // The image does not exist: the program exits with a non-zero status.
    folder.Write("Corvex.out", "0000 00 NOP\n");
    EXPECT_EQ(RunDisassembler(folder.Path("missing.hex"), output, VEXA_BIN_DIR), 0);
    EXPECT_FALSE(platform::FileExists(output));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.rfind("Disassembler failed: ", 0), 0u);
    EXPECT_NE(messages.shown[0].text.find("status 1"), std::string::npos);

    // No program in the folder: it cannot be started.
    folder.Write("image.hex", kSmallImage);
    folder.Write("Corvex.out", "0000 00 NOP\n");
    EXPECT_EQ(RunDisassembler(folder.Path("image.hex"), output, folder.Path("no-such-dir")), 0);
    EXPECT_FALSE(platform::FileExists(output));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_NE(messages.shown[1].text.find("Stop Project Loading."), std::string::npos);

    // Nowhere to write the output.
    EXPECT_EQ(RunDisassembler(folder.Path("image.hex"), "", VEXA_BIN_DIR), 0);
    EXPECT_EQ(messages.shown.size(), 3u);
}

TEST(Disassembler, OutputPathIsInTheUserDataFolder) {
    const std::string path = DisassemblyOutputPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(platform::FileNameOf(path), "Corvex.out");
    EXPECT_TRUE(platform::DirectoryExists(platform::DirectoryOf(path)));
}

TEST(DisasmLoaderLines, LaterLinesReplaceAndLabelsCountForTheHighestAddress) {
    const DisasmLoader loader = LoaderOfText("0000 00 NOP\n"
                                             "0000 01 SECOND\n"
                                             "0003 ; LABEL L0003\n"
                                             "0003 ; LABEL L0003B\n"
                                             "07FF ; LABEL L07FF\n"
                                             "0001\n"     // too short: skipped
                                             "0002 \n"    // too short: skipped
                                             "0004 X\n"); // shortest line read
    EXPECT_EQ(loader.m_mapInstructions.at(0x0000), "01 SECOND");
    EXPECT_EQ(loader.m_mapLabels.at(0x0003), "; LABEL L0003B");
    EXPECT_EQ(loader.m_mapInstructions.count(0x0001), 0u);
    EXPECT_EQ(loader.m_mapInstructions.count(0x0002), 0u);
    EXPECT_EQ(loader.m_mapInstructions.at(0x0004), "X");
    EXPECT_EQ(loader.m_dwHighestAddress, 0x07FFu);
    EXPECT_EQ(CodeEndAddressText(loader), "0x80f");
    // Code space ends at 0xffff, whatever the last row's address.
    EXPECT_EQ(CodeEndAddressText(LoaderOfText("FFF8 00 NOP\n")), "0xffff");
}

TEST(DisasmLoaderLines, AMissingFileLeavesTheLoaderEmpty) {
    platform::RecordingMessageService messages;
    g_bLoadError = 0;
    DisasmLoader loader("/nonexistent/Corvex.out");
    EXPECT_EQ(g_bLoadError, 1);
    g_bLoadError = 0;
    EXPECT_TRUE(loader.m_mapInstructions.empty());
    EXPECT_EQ(loader.m_dwHighestAddress, 0u);
    EXPECT_EQ(CodeEndAddressText(loader), "0x10");
}
