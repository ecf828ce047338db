#include "plain_text_layout.h"

#include "fake_measurer.h"

#include <gtest/gtest.h>

using namespace controls;
using controls_test::FakeMeasurer;

TEST(PlainTextLayout, WrapsAtBlanksAndLineFeeds) {
    FakeMeasurer measurer;
    EXPECT_EQ(WrapPlainText("aa bb cc", 50, measurer), (std::vector<std::string>{"aa bb", "cc"}));
    EXPECT_EQ(WrapPlainText("aa bb cc", 80, measurer), (std::vector<std::string>{"aa bb cc"}));
    EXPECT_EQ(WrapPlainText("one\r\ntwo", 500, measurer), (std::vector<std::string>{"one", "two"}));
    // A word wider than the line keeps a line of its own.
    EXPECT_EQ(WrapPlainText("a verylongword b", 40, measurer),
              (std::vector<std::string>{"a", "verylongword", "b"}));
    EXPECT_EQ(WrapPlainText("", 40, measurer), (std::vector<std::string>{""}));
}

TEST(PlainTextLayout, PathsAreShortenedInTheMiddle) {
    FakeMeasurer measurer;
    const std::string path = "C:\\work\\project\\main.c"; // 22 characters
    EXPECT_EQ(CompactPath(path, 220, measurer), path);
    std::string shortened = CompactPath(path, 150, measurer);
    EXPECT_EQ(shortened, "C:\\wo...\\main.c");
    EXPECT_LE(static_cast<int>(shortened.size()) * 10, 150);
    EXPECT_EQ(CompactPath(path, 100, measurer), "...\\main.c");
    EXPECT_EQ(CompactPath(path, 60, measurer), "mai...");
    EXPECT_EQ(CompactPath(path, 5, measurer), "...");
    EXPECT_EQ(CompactPath("readme.txt", 70, measurer), "read...");
}
