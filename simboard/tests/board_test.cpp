#include "board_test.h"

void BoardTest::SetUp() {
    ASSERT_EQ(lib.loadError, "") << simBoardLibraryPath();
    lib.ResetBoard();
    char description[] = "USB <-> Serial";
    ASSERT_EQ(lib.FT_OpenEx(description, FT_OPEN_BY_DESCRIPTION, &handle), FT_OK);
}

void BoardTest::TearDown() {
    if (lib.ResetBoard != nullptr) lib.ResetBoard();
}

void BoardTest::send(const Bytes& bytes) {
    DWORD written = 0;
    ASSERT_EQ(lib.FT_Write(handle, const_cast<uint8_t*>(bytes.data()),
                           static_cast<DWORD>(bytes.size()), &written),
              FT_OK);
    ASSERT_EQ(written, bytes.size());
}

Bytes BoardTest::receive(size_t count) {
    Bytes out(count);
    DWORD read = 0;
    EXPECT_EQ(lib.FT_Read(handle, out.data(), static_cast<DWORD>(count), &read), FT_OK);
    out.resize(read);
    return out;
}

uint16_t BoardTest::receivePc() {
    Bytes pc = receive(2);
    EXPECT_EQ(pc.size(), 2u);
    if (pc.size() != 2) return 0xFFFF;
    return static_cast<uint16_t>(pc[0] | pc[1] << 8);
}

DWORD BoardTest::queued() {
    DWORD n = 0;
    EXPECT_EQ(lib.FT_GetQueueStatus(handle, &n), FT_OK);
    return n;
}

DWORD BoardTest::pollUntilQueued(DWORD count) {
    DWORD n = 0;
    for (int i = 0; i < 100000 && n < count; ++i)
        n = queued();
    return n;
}

Bytes BoardTest::readSpace(uint8_t space, uint32_t address, size_t count) {
    send(selectSpace(space) + setAddress(address));
    Bytes out;
    while (out.size() < count) {
        size_t piece = std::min<size_t>(count - out.size(), 255);
        send(readBlock(static_cast<uint8_t>(piece)));
        Bytes got = receive(piece);
        EXPECT_EQ(got.size(), piece);
        if (got.size() != piece) break;
        out = out + got;
    }
    return out;
}

void BoardTest::store(int memory, uint32_t address, const Bytes& bytes) {
    ASSERT_EQ(lib.WriteMemory(memory, address, bytes.data(), static_cast<uint32_t>(bytes.size())),
              bytes.size());
}

Bytes BoardTest::fetch(int memory, uint32_t address, size_t count) {
    Bytes out(count);
    out.resize(lib.ReadMemory(memory, address, out.data(), static_cast<uint32_t>(count)));
    EXPECT_EQ(out.size(), count);
    return out;
}
