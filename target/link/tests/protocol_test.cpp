// The byte commands on the wire and the host copies they fill.
#include "sim_board.h"

#include "host_memory.h"
#include "target_flags.h"
#include "target_messages.h"
#include "target_protocol.h"
#include "usb_link.h"

namespace {

using Texts = std::vector<std::string>;

class TargetProtocolTest : public SimBoardTest {
protected:
    void SetUp() override {
        SimBoardTest::SetUp();
        ClearTrace();
        messages->shown.clear();
    }
};

TEST_F(TargetProtocolTest, ProgramCounterCommands) {
    Board().SetPc(0x1234);
    EXPECT_EQ(ReadPc(), 0x1234);
    EXPECT_EQ(Sent(), Bytes({0x59}));
    EXPECT_EQ(Received(), Bytes({0x34, 0x12}));

    ClearTrace();
    EXPECT_EQ(SetPc(0x0ABC), 1);
    EXPECT_EQ(Sent(), Bytes({0x5A, 0x0A, 0xBC}));
    EXPECT_EQ(Board().GetPc(), 0x0ABC);

    ClearTrace();
    uint16_t next = StepInstruction(); // erased flash: 0xFF is MOV R7,A, one byte long
    EXPECT_EQ(next, 0x0ABD);
    EXPECT_EQ(Board().GetPc(), next);
    EXPECT_EQ(Sent(), Bytes({0x5E}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(TargetProtocolTest, AddressChecksRefuseWithoutATransfer) {
    uint8_t buffer[256];
    EXPECT_EQ(ReadMemory(0x70, buffer, 16, kSpaceInternalData), 16);
    EXPECT_EQ(ReadMemory(0x80, buffer, 128, kSpaceSfr), 128);
    EXPECT_TRUE(Messages().empty());
    ClearTrace();

    EXPECT_EQ(ReadMemory(0x70, buffer, 17, kSpaceInternalData), -1);
    EXPECT_EQ(ReadMemory(0x7F, buffer, 1, kSpaceSfr), -1);
    EXPECT_EQ(ReadMemory(0xF0, buffer, 17, kSpaceSfr), -1);
    EXPECT_EQ(ReadMemory(0x80, buffer, 1, kSpaceInternalData), -1);
    EXPECT_EQ(Messages(), (Texts{"Please check address and type!! addr = 0x70, type = 1",
                                 "Please check address and type!! addr = 0x7F, type = 8",
                                 "Please check address and type!! addr = 0xF0, type = 8",
                                 "Please check address and type!! addr = 0x80, type = 1"}));
    EXPECT_TRUE(Trace().empty());
}

TEST_F(TargetProtocolTest, LongReadsGoInPiecesOf255) {
    std::vector<uint8_t> pattern(600);
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = uint8_t(i * 7 + 3);
    Board().WriteMemory(SIMBOARD_XDATA, 0x1000, pattern.data(), uint32_t(pattern.size()));

    InstallWindows();
    g_bReadProgress = true;
    g_nProgressScale = 30;
    g_nProgressBase = 70;
    std::vector<uint8_t> buffer(600);
    EXPECT_EQ(ReadMemory(0x1000, buffer.data(), 600, kSpaceExternalData), 600);
    g_bReadProgress = false;

    EXPECT_EQ(buffer, pattern);
    std::vector<uint8_t> expected = SelectBytes(2, 0x1000);
    Append(expected, Bytes({0x54, 255, 0x54, 255, 0x54, 90}));
    EXPECT_EQ(Sent(), expected);
    // 255/600, 510/600 and 600/600 of the scale, above the base.
    EXPECT_EQ(frame.progress, (std::vector<int>{82, 95, 100}));
}

TEST_F(TargetProtocolTest, ValueWritesOnTheWire) {
    // Each multi-byte write is read back to see where the adapter put its bytes.
    EXPECT_EQ(WriteTargetValue(0x82, 0x1234, 2, kSpaceSfr), 1);
    std::vector<uint8_t> expected = Bytes({0x5C, 0x08, 0x5B, 0x00, 0x00, 0x82, 0x56, 0x12, 0x34});
    Append(expected, SelectBytes(8, 0x82));
    Append(expected, Bytes({0x54, 2}));
    EXPECT_EQ(Sent(), expected);

    ClearTrace();
    EXPECT_EQ(WriteTargetValue(0x0100, 0x11223344, 4, kSpaceExternalData), 1);
    expected = Bytes({0x5C, 0x02, 0x5B, 0x00, 0x01, 0x00, 0x57, 0x44, 0x33, 0x22, 0x11});
    Append(expected, SelectBytes(2, 0x0100));
    Append(expected, Bytes({0x54, 4}));
    EXPECT_EQ(Sent(), expected);

    // The space follows from the address outside spaces 2 and 4.
    ClearTrace();
    EXPECT_EQ(WriteTargetValue(0x30, 0xAB, 1, kSpaceSfr), 1);
    EXPECT_EQ(WriteTargetValue(0xE0, 0xCD, 1, kSpaceInternalData), 1);
    expected = Bytes({0x5C, 0x01, 0x5B, 0x00, 0x00, 0x30, 0x55, 0xAB, //
                      0x5C, 0x08, 0x5B, 0x00, 0x00, 0xE0, 0x55, 0xCD});
    EXPECT_EQ(Sent(), expected);
    EXPECT_TRUE(Messages().empty());

    ClearTrace();
    EXPECT_EQ(WriteTargetValue(0x0100, 0x123456, 3, kSpaceExternalData), 0);
    EXPECT_EQ(Sent(), SelectBytes(2, 0x0100));
    EXPECT_EQ(Messages(),
              Texts{"Please check data size!! (support size : 1,2,4) current size = 3"});
}

TEST_F(TargetProtocolTest, ValuesWrittenReadBackThroughTheHostCopies) {
    // Where the adapter puts the bytes of 0x56 and 0x57 is its own: under
    // either reading every value reads back as written.
    for (uint32_t meanings : {0u, uint32_t(SIMBOARD_ALT_VALUE_WRITE_IN_WIRE_ORDER)}) {
        SCOPED_TRACE(meanings);
        Board().SetAlternativeMeanings(meanings);
        // A 16-bit SFR pair (DPL, DPH) and 1-, 2- and 4-byte values in
        // internal data, SFRs and external data.
        ASSERT_EQ(WriteTargetValue(0x82, 0xBEEF, 2, kSpaceSfr), 1);
        ASSERT_EQ(WriteTargetValue(0x21, 0x5A, 1, kSpaceInternalData), 1);
        ASSERT_EQ(WriteTargetValue(0x30, 0x1234, 2, kSpaceInternalData), 1);
        ASSERT_EQ(WriteTargetValue(0x40, 0xDEADBEEF, 4, kSpaceInternalData), 1);
        ASSERT_EQ(WriteTargetValue(0xF0, 0x77, 1, kSpaceSfr), 1);
        ASSERT_EQ(WriteTargetValue(0x0200, 0x9C, 1, kSpaceExternalData), 1);
        ASSERT_EQ(WriteTargetValue(0x0202, 0xCAFE, 2, kSpaceExternalData), 1);
        ASSERT_EQ(WriteTargetValue(0x0204, 0x01020304, 4, kSpaceExternalData), 1);

        g_dwXdataLow = 0x0200;
        g_dwXdataHigh = 0x0207;
        ReadMemoryImages();
        EXPECT_TRUE(Messages().empty());

        const auto& idata = g_InternalDataImage;
        const auto& xdata = g_ExternalDataImage;
        auto bigEndian = [](const uint8_t* p, int size) {
            uint32_t v = 0;
            for (int i = 0; i < size; ++i)
                v = v << 8 | p[i];
            return v;
        };
        EXPECT_EQ(idata[0x82] | idata[0x83] << 8, 0xBEEF); // SFR pairs are low byte first
        EXPECT_EQ(idata[0x21], 0x5A);
        EXPECT_EQ(bigEndian(&idata[0x30], 2), 0x1234u);
        EXPECT_EQ(bigEndian(&idata[0x40], 4), 0xDEADBEEFu);
        EXPECT_EQ(idata[0xF0], 0x77);
        EXPECT_EQ(xdata[0x0200], 0x9C);
        EXPECT_EQ(bigEndian(&xdata[0x0202], 2), 0xCAFEu);
        EXPECT_EQ(bigEndian(&xdata[0x0204], 4), 0x01020304u);
        EXPECT_EQ(xdata[0x0201], 0x00); // nothing beside them

        EXPECT_EQ(ReadTargetByte(0x21, kSpaceInternalData), 0x5Au);
        EXPECT_EQ(ReadTargetByte(0xF0, kSpaceInternalData), 0x77u); // SFR by address
        EXPECT_EQ(ReadTargetByte(0x0205, kSpaceExternalData), 0x02u);
        const std::vector<uint8_t> zero(0x10, 0);
        Board().WriteMemory(SIMBOARD_XDATA, 0x0200, zero.data(), 0x10);
        Board().WriteMemory(SIMBOARD_IRAM, 0x30, zero.data(), 0x10);
        Board().WriteMemory(SIMBOARD_IRAM, 0x40, zero.data(), 0x10);
    }
}

TEST_F(TargetProtocolTest, ReadTargetByteOnTheWire) {
    const uint8_t value = 0x42;
    Board().WriteMemory(SIMBOARD_SFR, 0xA8, &value, 1);
    EXPECT_EQ(ReadTargetByte(0xA8, kSpaceInternalData), 0x42u);
    std::vector<uint8_t> expected = SelectBytes(8, 0xA8);
    expected.push_back(0x51);
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(Received(), Bytes({0x42}));
}

// --- The refresh after a stop ------------------------------------------------

class HostCopyRefreshTest : public TargetProtocolTest {
protected:
    // The pieces the host asked for in space 2, as (address, count).
    std::vector<std::pair<uint32_t, uint32_t>> ExternalReads() const {
        std::vector<std::pair<uint32_t, uint32_t>> reads;
        const std::vector<uint8_t> sent = Sent();
        for (size_t i = 0; i + 5 < sent.size(); ++i) {
            if (sent[i] != 0x5C || sent[i + 1] != 2 || sent[i + 2] != 0x5B) continue;
            uint32_t address = uint32_t(sent[i + 3]) << 16 | sent[i + 4] << 8 | sent[i + 5];
            uint32_t count = 0;
            for (size_t j = i + 6; j + 1 < sent.size() && sent[j] == 0x54; j += 2)
                count += sent[j + 1];
            reads.emplace_back(address, count);
        }
        return reads;
    }
};

TEST_F(HostCopyRefreshTest, ReadsInternalDataSfrsAndTheExternalRange) {
    std::vector<uint8_t> ram(128), sfr(128), xdata(256);
    for (int i = 0; i < 128; ++i)
        ram[i] = uint8_t(i + 1), sfr[i] = uint8_t(0xFF - i);
    for (int i = 0; i < 256; ++i)
        xdata[i] = uint8_t(i ^ 0x5A);
    Board().WriteMemory(SIMBOARD_IRAM, 0, ram.data(), 128);
    Board().WriteMemory(SIMBOARD_SFR, 0x80, sfr.data(), 128);
    // The core keeps PSW's parity bit in step with ACC, so take the SFRs as the board holds them.
    Board().ReadMemory(SIMBOARD_SFR, 0x80, sfr.data(), 128);
    Board().WriteMemory(SIMBOARD_XDATA, 0x0100, xdata.data(), 256);

    g_dwXdataLow = 0x0100;
    g_dwXdataHigh = 0x01FF;
    ReadMemoryImages();
    EXPECT_TRUE(std::equal(ram.begin(), ram.end(), g_InternalDataImage.begin()));
    EXPECT_TRUE(std::equal(sfr.begin(), sfr.end(), g_InternalDataImage.begin() + 0x80));
    EXPECT_TRUE(std::equal(xdata.begin(), xdata.end(), g_ExternalDataImage.begin() + 0x100));
    EXPECT_EQ(g_ExternalDataImage[0xFF], 0);
    EXPECT_EQ(g_ExternalDataImage[0x200], 0);

    std::vector<uint8_t> expected = SelectBytes(1, 0);
    Append(expected, Bytes({0x54, 128}));
    Append(expected, SelectBytes(8, 0x80));
    Append(expected, Bytes({0x54, 128}));
    Append(expected, SelectBytes(2, 0x100));
    Append(expected, Bytes({0x54, 255, 0x54, 1}));
    EXPECT_EQ(Sent(), expected);
}

TEST_F(HostCopyRefreshTest, TheExternalRangeIsClampedAndMayBeOneByte) {
    using Reads = std::vector<std::pair<uint32_t, uint32_t>>;
    ReadMemoryImages(); // no external-data segments
    EXPECT_EQ(ExternalReads(), Reads{});

    ClearTrace();
    g_dwXdataLow = 0x0040;
    g_dwXdataHigh = 0x0040;
    ReadMemoryImages();
    EXPECT_EQ(ExternalReads(), (Reads{{0x40, 1}}));

    ClearTrace();
    g_dwXdataLow = 0xFF00;
    g_dwXdataHigh = 0x12345;
    ReadMemoryImages();
    EXPECT_EQ(ExternalReads(), (Reads{{0xFF00, 0x100}}));

    ClearTrace();
    g_dwXdataLow = 0x10000;
    g_dwXdataHigh = 0x10010;
    ReadMemoryImages();
    EXPECT_EQ(ExternalReads(), Reads{});

    ClearTrace();
    g_dwXdataLow = 0x0100;
    g_dwXdataHigh = 0x01FF;
    g_bHexOnly = true;
    ReadMemoryImages();
    EXPECT_EQ(ExternalReads(), Reads{});
    EXPECT_TRUE(Messages().empty());
}

TEST_F(HostCopyRefreshTest, PanesAreUpdatedInOrderAfterTheCopies) {
    InstallWindows();
    const uint8_t value = 0x99;
    Board().WriteMemory(SIMBOARD_IRAM, 0x10, &value, 1);
    UpdateDebugWindows();
    EXPECT_EQ(g_InternalDataImage[0x10], 0x99);
    EXPECT_EQ(panes.calls,
              (std::vector<std::string>{"UpdateRegisterWnd", "FillVariables", "FillLocalVariables",
                                        "UpdateGlobalVariableValues", "RefreshIDataWindow",
                                        "UpdateSymbolWnd"}));
}

// --- Link failures in the middle of a command --------------------------------

TEST_F(TargetProtocolTest, DroppedAnswerBytesFailTheReadOnceAndTheLinkRecovers) {
    std::vector<uint8_t> buffer(600);
    Board().DropAnswerBytes(1);
    EXPECT_EQ(ReadMemory(0x1000, buffer.data(), 600, kSpaceExternalData), 0);
    EXPECT_EQ(Messages(), Texts{kUsbErrorText});
    // The read stopped after the failed piece.
    std::vector<uint8_t> expected = SelectBytes(2, 0x1000);
    Append(expected, Bytes({0x54, 255}));
    EXPECT_EQ(Sent(), expected);

    messages->shown.clear();
    Board().SetPc(0x0345);
    EXPECT_EQ(ReadPc(), 0x0345);
    EXPECT_EQ(ReadMemory(0x1000, buffer.data(), 600, kSpaceExternalData), 600);
    EXPECT_TRUE(Messages().empty());

    const uint8_t value = 0x66;
    Board().WriteMemory(SIMBOARD_IRAM, 0x10, &value, 1);
    Board().DropAnswerBytes(1);
    EXPECT_EQ(ReadPc(), 0);
    EXPECT_EQ(ReadTargetByte(0x10, kSpaceInternalData), 0x66u);
    Board().DropAnswerBytes(2);
    EXPECT_EQ(StepInstruction(), 0);
    EXPECT_EQ(Messages(), (Texts{kUsbErrorText, kUsbErrorText}));
    EXPECT_EQ(ReadPc(), Board().GetPc());
}

} // namespace
