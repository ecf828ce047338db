#include "regular_file.h"

#include "temp_tree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
using platform_test::TempTree;

// Only a regular file is read, through a symbolic link too; anything else is
// refused before it is read, at once: a FIFO without a writer and a device
// that never ends included.
TEST(RegularFile, OnlyARegularFileIsRead) {
    TempTree tree;
    tree.makeFile("f.txt", "text\n");
    tree.makeDir("d");
    ASSERT_EQ(symlink("f.txt", tree.path("link").c_str()), 0);
    ASSERT_EQ(symlink("missing", tree.path("dangling").c_str()), 0);
    ASSERT_EQ(symlink("/dev/zero", tree.path("zero").c_str()), 0);
    ASSERT_EQ(mkfifo(tree.path("fifo").c_str(), 0600), 0);
    struct Case {
        const char* name;
        FileReadStatus status;
        const char* why;
    };
    const Case cases[] = {
        {"f.txt", FileReadStatus::Read, ""},
        {"link", FileReadStatus::Read, ""},
        {"missing", FileReadStatus::Missing, "No such file or directory"},
        {"dangling", FileReadStatus::Missing, "No such file or directory"},
        {"f.txt/x", FileReadStatus::Missing, "Not a directory"},
        {"fifo", FileReadStatus::NotRegular, "a FIFO, not a regular file"},
        {"zero", FileReadStatus::NotRegular, "a device, not a regular file"},
        {"d", FileReadStatus::NotRegular, "a folder, not a regular file"},
    };
    for (const Case& c : cases) {
        std::string out = "old";
        std::string why;
        EXPECT_EQ(ReadRegularFile(tree.path(c.name), out, &why), c.status) << c.name;
        EXPECT_EQ(why, c.why) << c.name;
        EXPECT_EQ(out, c.status == FileReadStatus::Read ? "text\n" : "") << c.name;
    }
}
