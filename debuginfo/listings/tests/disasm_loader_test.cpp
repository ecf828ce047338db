// The disassembler run with the real `corvex` program, and its output read
// back into the instruction and label maps.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "disasm_loader.h"
#include "message_service.h"
#include "path_resolver.h"
#include "test_support.h"

using debuginfo_test::HexRecord;
using debuginfo_test::TempFolder;

namespace {

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

TEST(Disassembler, BytesItDoesNotDecodeAreToldFromInstructions) {
    // The undefined opcode 0xA5 becomes a data line; the NOP after it does not.
    TempFolder folder;
    folder.Write("image.hex", HexRecord(0x0000, {0xA5, 0x00}) + ":00000001FF\n");
    ASSERT_EQ(RunDisassembler(folder.Path("image.hex"), folder.Path("Corvex.out"), VEXA_BIN_DIR),
              1);
    const DisasmLoader loader(folder.Path("Corvex.out"));
    EXPECT_TRUE(IsDataText(loader.m_mapInstructions.at(0x0000)));
    EXPECT_FALSE(IsDataText(loader.m_mapInstructions.at(0x0001)));
}

TEST(Disassembler, AFailedRunIsReportedAndLeavesNoOldOutput) {
    TempFolder folder;
    const std::string output = folder.Path("Corvex.out");
    platform::RecordingMessageService messages;

    // The image does not exist, or one of its bytes was changed: the
    // disassembler's own message says which file and why.
    folder.Write("Corvex.out", "0000 00 NOP\n");
    EXPECT_EQ(RunDisassembler(folder.Path("missing.hex"), output, VEXA_BIN_DIR), 0);
    EXPECT_FALSE(platform::FileExists(output));
    folder.Write("flipped.hex", ":0100000022DD\n:0100010023DC\n:00000001FF\n");
    EXPECT_EQ(RunDisassembler(folder.Path("flipped.hex"), output, VEXA_BIN_DIR), 0);
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{
                  "Disassembler failed: corvex: " + folder.Path("missing.hex") +
                      ": cannot open: No such file or directory\nStop Project Loading.",
                  "Disassembler failed: corvex: " + folder.Path("flipped.hex") +
                      ": line 2: checksum is 0xDC, the record's bytes call for 0xDB\nStop "
                      "Project Loading."}));

    // No program in the folder: it cannot be started.
    folder.Write("image.hex", kSmallImage);
    folder.Write("Corvex.out", "0000 00 NOP\n");
    EXPECT_EQ(RunDisassembler(folder.Path("image.hex"), output, folder.Path("no-such-dir")), 0);
    EXPECT_FALSE(platform::FileExists(output));
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_NE(messages.shown[2].text.find("Stop Project Loading."), std::string::npos);

    // Nowhere to write the output.
    EXPECT_EQ(RunDisassembler(folder.Path("image.hex"), "", VEXA_BIN_DIR), 0);
    EXPECT_EQ(messages.shown.size(), 4u);
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
