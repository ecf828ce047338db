#include "code_lines.h"
#include "project_paths.h"
#include "run_lookups.h"
#include "window_file.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class CodeLinesTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunControlLookups lookups;
        lookups.addressOfLine = [this](const std::string& key) {
            auto it = addresses.find(key);
            return it == addresses.end() ? 0xFFFFFFFFu : it->second;
        };
        lookups.lineOfAddress = [this](uint32_t address) {
            auto it = positions.find(address);
            return it == positions.end() ? std::string() : it->second;
        };
        SetRunControlLookups(lookups);
    }
    void TearDown() override { SetRunControlLookups({}); }

    std::map<std::string, uint32_t> addresses;
    std::map<uint32_t, std::string> positions;
};

} // namespace

TEST_F(CodeLinesTest, MarksOnlyLinesWhoseCodeMapsBack) {
    addresses = {{"MAIN.C:2", 0x10}, {"MAIN.C:3", 0x10}, {"MAIN.C:5", 0x20}, {"MAIN.C:7", 0x30}};
    // Line 3 shares line 2's code; line 7's address has no position.
    positions = {{0x10, "MAIN.C:2"}, {0x20, "MAIN.C: 5"}};
    EXPECT_EQ(CodeLinesOf("MAIN.C", 10), (std::vector<int>{2, 5}));
    EXPECT_EQ(CodeLinesOf("MAIN.C", 4), (std::vector<int>{2}));
    EXPECT_TRUE(CodeLinesOf("MAIN.C", 0).empty());
    EXPECT_TRUE(CodeLinesOf("UTIL.C", 10).empty());
}

TEST(CodeLines, LineOfPositionReadsTheNumberAfterTheColon) {
    EXPECT_EQ(LineOfPosition("MAIN.C:12"), 12);
    EXPECT_EQ(LineOfPosition("MAIN.C:\t 7 rest"), 7);
    EXPECT_EQ(LineOfPosition("MAIN.C:\r\n"), -1);
    EXPECT_EQ(LineOfPosition("MAIN.C"), -1);
    EXPECT_EQ(LineOfPosition("MAIN.C:x1"), -1);
}

TEST(WindowFile, FindsTheProjectFileWithoutRegardToCase) {
    CProjectFileList list;
    list.m_listFiles = {"MAIN.C", "UTIL.A51"};
    g_pProjectFileList = &list;
    EXPECT_EQ(ProjectFileOfWindow("main.c"), "MAIN.C");
    EXPECT_EQ(ProjectFileOfWindow("Util.a51"), "UTIL.A51");
    EXPECT_EQ(ProjectFileOfWindow("Source main.c"), "MAIN.C");
    EXPECT_EQ(ProjectFileOfWindow("other.c"), kCantSearch);
    g_pProjectFileList = nullptr;
    EXPECT_EQ(ProjectFileOfWindow("main.c"), kCantSearch);
}
