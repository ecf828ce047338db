// Preloading the code flash from the Intel HEX file named by VEXA_SIM_HEX.
#include "board_test.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class SimBoardHexPreload : public BoardTest {
protected:
    void TearDown() override {
        unsetenv("VEXA_SIM_HEX");
        if (!path_.empty()) std::remove(path_.c_str());
        BoardTest::TearDown();
    }

    // Writes `text` to a temporary file, names it in VEXA_SIM_HEX and resets
    // the board, as a process start with that variable would.
    void preload(const std::string& text) {
        path_ = testing::TempDir() + "simboard_preload_" + std::to_string(getpid()) + ".hex";
        std::ofstream(path_) << text;
        setenv("VEXA_SIM_HEX", path_.c_str(), 1);
        lib.ResetBoard();
    }

    std::string path_;
};

} // namespace

TEST_F(SimBoardHexPreload, DataRecordsAreInTheCodeFlash) {
    preload(":0300300002123485\n"
            ":020000000102FB\n"
            ":00000001FF\n");
    EXPECT_EQ(fetch(SIMBOARD_CODE_FLASH, 0x0000, 3), (Bytes{0x01, 0x02, 0xFF}));
    EXPECT_EQ(fetch(SIMBOARD_CODE_FLASH, 0x0030, 4), (Bytes{0x02, 0x12, 0x34, 0xFF}));
    unsetenv("VEXA_SIM_HEX");
    lib.ResetBoard();
    EXPECT_EQ(fetch(SIMBOARD_CODE_FLASH, 0x0030, 1), Bytes{0xFF});
}

TEST_F(SimBoardHexPreload, RejectedFileLeavesTheFlashErased) {
    preload(":03003000021234FF\n:00000006FA\n"); // an unknown record type
    EXPECT_EQ(fetch(SIMBOARD_CODE_FLASH, 0x0030, 3), Bytes(3, 0xFF));
    preload(":0300300002123485\n"); // cut short before its end record
    EXPECT_EQ(fetch(SIMBOARD_CODE_FLASH, 0x0030, 3), Bytes(3, 0xFF));
    setenv("VEXA_SIM_HEX", "/nonexistent/simboard.hex", 1);
    lib.ResetBoard();
    EXPECT_EQ(fetch(SIMBOARD_CODE_FLASH, 0x0000, 1), Bytes{0xFF});
}
