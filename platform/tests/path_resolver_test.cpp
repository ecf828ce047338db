#include "path_resolver.h"
#include "regular_file.h"

#include "temp_tree.h"

#include <gtest/gtest.h>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
using platform_test::TempTree;

TEST(PathText, SplitAndClassify) {
    EXPECT_EQ(SplitPath(".\\SRC\\MAIN.C"), (std::vector<std::string>{"SRC", "MAIN.C"}));
    EXPECT_EQ(SplitPath("..\\lst//x.LST\\"), (std::vector<std::string>{"..", "lst", "x.LST"}));
    EXPECT_EQ(SplitPath("C:\\Tools\\My Files\\a.h"),
              (std::vector<std::string>{"C:", "Tools", "My Files", "a.h"}));
    EXPECT_TRUE(SplitPath("").empty());

    EXPECT_TRUE(IsAbsolutePath("C:\\Tools"));
    EXPECT_TRUE(IsAbsolutePath("d:/x"));
    EXPECT_TRUE(IsAbsolutePath("/usr"));
    EXPECT_TRUE(IsAbsolutePath("\\SRC"));
    EXPECT_FALSE(IsAbsolutePath(".\\SRC"));
    EXPECT_FALSE(IsAbsolutePath("src/main.c"));
    EXPECT_FALSE(IsAbsolutePath(""));
}

TEST(PathText, PiecesOfNames) {
    EXPECT_EQ(FileNameOf("..\\lst\\Main.LST"), "Main.LST");
    EXPECT_EQ(FileNameOf("src/main.c"), "main.c");
    EXPECT_EQ(FileNameOf("main.c"), "main.c");
    EXPECT_EQ(DirectoryOf("..\\lst\\Main.LST"), "..\\lst");
    EXPECT_EQ(DirectoryOf("a//b.c"), "a");
    EXPECT_EQ(DirectoryOf("main.c"), "");
    EXPECT_EQ(DirectoryOf("/main.c"), "/");
    EXPECT_EQ(StripExtension("main.c"), "main");
    EXPECT_EQ(StripExtension("x.tar.gz"), "x.tar");
    EXPECT_EQ(StripExtension("dir.d/name"), "dir.d/name");
    EXPECT_EQ(ExtensionOf("x.M51"), ".M51");
    EXPECT_EQ(ExtensionOf("Makefile"), "");
    EXPECT_EQ(ExtensionOf("dir.d\\name"), "");
    EXPECT_EQ(JoinPath("/a/", "/b"), "/a/b");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("", "b"), "b");
    EXPECT_EQ(ToUpperKey("main_1.c"), "MAIN_1.C");
    EXPECT_TRUE(EqualsNoCase("Reg51.h", "REG51.H"));
    EXPECT_FALSE(EqualsNoCase("Reg51.h", "REG52.H"));
}

class ResolvePathTest : public testing::Test {
protected:
    void SetUp() override {
        tree.makeFile("proj/src/main.c", "int main;");
        tree.makeFile("proj/LST/x.lst");
        tree.makeFile("proj/My Files/Read Me.txt");
        tree.makeDir("proj/sub");
        // Two names equal without regard to case.
        tree.makeFile("proj/twins/Data.txt");
        tree.makeFile("proj/twins/DATA.TXT");
        // "INC" is a file, "inc" the folder; only the folder can be on the way.
        tree.makeFile("proj/mix/INC", "not a folder");
        tree.makeFile("proj/mix/inc/reg51.h");
        proj = tree.path("proj");
    }

    TempTree tree;
    std::string proj;
};

TEST_F(ResolvePathTest, FindsFilesWhateverTheCaseOfTheWindowsName) {
    EXPECT_EQ(ResolvePath(proj, ".\\SRC\\MAIN.C"), proj + "/src/main.c");
    EXPECT_EQ(ResolvePath(proj, "src/main.c"), proj + "/src/main.c");
    EXPECT_EQ(ResolvePath(proj + "/", "Src\\.\\Main.c"), proj + "/src/main.c");
    EXPECT_EQ(ResolvePath(proj + "/sub", "..\\lst\\x.LST"), proj + "/LST/x.lst");
    EXPECT_EQ(ResolvePath(proj, "src\\..\\SRC\\..\\lst\\X.LST"), proj + "/LST/x.lst");
    EXPECT_EQ(ResolvePath(proj, "my files\\READ ME.TXT"), proj + "/My Files/Read Me.txt");
    EXPECT_EQ(ResolvePath(proj, "MIX\\Inc\\REG51.H"), proj + "/mix/inc/reg51.h");

    std::string content;
    ASSERT_TRUE(ReadFileBytes(ResolvePath(proj, "SRC\\MAIN.C"), content));
    EXPECT_EQ(content, "int main;");
}

// With the listing cache the answers are the same; a folder is read once, so
// a name added meanwhile is seen only after the cache has gone.
TEST_F(ResolvePathTest, FolderListingCacheGivesTheSameAnswers) {
    {
        ScopedFolderListingCache cache;
        EXPECT_EQ(ResolvePath(proj, ".\\SRC\\MAIN.C"), proj + "/src/main.c");
        EXPECT_EQ(ResolvePath(proj + "/sub", "..\\lst\\x.LST"), proj + "/LST/x.lst");
        EXPECT_EQ(ResolvePath(proj, "twins\\data.txt"), proj + "/twins/DATA.TXT");
        EXPECT_EQ(ResolvePath(proj, "MIX\\Inc\\REG51.H"), proj + "/mix/inc/reg51.h");
        EXPECT_EQ(ResolvePath(proj, "src\\missing.c"), "");
        {
            ScopedFolderListingCache inner; // nesting keeps working
            EXPECT_EQ(ResolvePath(proj, "SRC\\Main.C"), proj + "/src/main.c");
        }
        tree.makeFile("proj/src/Added.c");
        EXPECT_EQ(ResolvePath(proj, "src\\ADDED.C"), "");
        EXPECT_EQ(ResolvePath(proj, "src\\Added.c"),
                  proj + "/src/Added.c"); // exact names need no listing
    }
    EXPECT_EQ(ResolvePath(proj, "src\\ADDED.C"), proj + "/src/Added.c");
}

TEST_F(ResolvePathTest, ExactNameWinsThenFirstInSortedOrder) {
    EXPECT_EQ(ResolvePath(proj, "twins\\Data.txt"), proj + "/twins/Data.txt");
    EXPECT_EQ(ResolvePath(proj, "twins\\DATA.TXT"), proj + "/twins/DATA.TXT");
    EXPECT_EQ(ResolvePath(proj, "twins\\data.txt"), proj + "/twins/DATA.TXT");
}

TEST_F(ResolvePathTest, FoldersEmptyPathsAndTrailingSeparators) {
    EXPECT_EQ(ResolvePath(proj, ""), proj);
    EXPECT_EQ(ResolvePath(proj, ".\\"), proj);
    EXPECT_EQ(ResolvePath(proj, "SRC\\"), proj + "/src");
    EXPECT_EQ(ResolvePath(proj, "src\\main.c\\"), ""); // a file is no folder
    EXPECT_EQ(ResolvePath(proj, "..\\PROJ\\Src"), proj + "/src");
}

TEST_F(ResolvePathTest, MissingPiecesAndBadBasesGiveEmpty) {
    EXPECT_EQ(ResolvePath(proj, "src\\missing.c"), "");
    EXPECT_EQ(ResolvePath(proj, "nosrc\\main.c"), "");
    EXPECT_EQ(ResolvePath(proj, "src\\main.c\\x"), "");
    EXPECT_EQ(ResolvePath(proj + "/src/main.c", "x"), "");
    EXPECT_EQ(ResolvePath(proj + "/nothing", ""), "");
    EXPECT_EQ(ResolvePath(proj + "/src/main.c", ""), "");
}

// A file that is not there is shown under the real folders that are.
TEST_F(ResolvePathTest, PathsForDisplayResolveAsFarAsTheyExist) {
    EXPECT_EQ(ResolvePathForDisplay(proj, ".\\Lst\\X.LST"), proj + "/LST/x.lst");
    EXPECT_EQ(ResolvePathForDisplay(proj, ".\\lst\\p.hex"), proj + "/LST/p.hex");
    EXPECT_EQ(ResolvePathForDisplay(proj, "SRC\\obj\\p.hex"), proj + "/src/obj/p.hex");
    EXPECT_EQ(ResolvePathForDisplay(proj + "/sub", "..\\obj\\p.hex"), proj + "/obj/p.hex");
    EXPECT_EQ(ResolvePathForDisplay(proj + "/", "p.hex"), proj + "/p.hex");
    EXPECT_EQ(ResolvePathForDisplay(proj, tree.path("PROJ/Src/none.c")), proj + "/src/none.c");
    EXPECT_EQ(ResolvePathForDisplay(proj, "C:\\Keil\\obj\\p.hex"), "C:\\Keil\\obj\\p.hex");
}

TEST_F(ResolvePathTest, AbsolutePaths) {
    std::string upper = tree.root() + "/PROJ/SRC/MAIN.C";
    EXPECT_EQ(ResolvePath("/nonexistent-base", upper), proj + "/src/main.c");

    // Drive letters only resolve when the path exists exactly as written.
    EXPECT_EQ(ResolvePath(proj, "C:\\Tools\\INC\\REG51.H"), "");
    std::string windowsForm = "C:" + proj + "\\src\\main.c";
    EXPECT_EQ(ResolvePath(proj, windowsForm), proj + "/src/main.c");
    EXPECT_EQ(ResolvePath(proj, "C:" + proj + "\\SRC\\main.c"), "");
    EXPECT_EQ(ResolvePath(proj, "C:"), "");
}

TEST_F(ResolvePathTest, LeavesTheCurrentDirectoryAlone) {
    char before[PATH_MAX];
    ASSERT_NE(getcwd(before, sizeof before), nullptr);
    ASSERT_FALSE(ResolvePath(proj, "SRC\\MAIN.C").empty());
    ResolvePath(proj, "..\\proj\\nothing\\x");
    char after[PATH_MAX];
    ASSERT_NE(getcwd(after, sizeof after), nullptr);
    EXPECT_STREQ(before, after);
}

TEST_F(ResolvePathTest, LinkedFoldersAreFollowedNotShortCut) {
    // "link" points into src; "link\.." is src's parent as the system sees it.
    ASSERT_EQ(symlink((proj + "/src").c_str(), (proj + "/sub/link").c_str()), 0);
    std::string r = ResolvePath(proj + "/sub", "LINK\\..\\lst\\x.lst");
    EXPECT_EQ(r, proj + "/sub/link/../LST/x.lst");
    EXPECT_TRUE(FileExists(r));
}

TEST(FileHelpers, ExistenceAndReading) {
    TempTree tree;
    std::string bytes("a\0b\r\n\xff", 6);
    tree.makeFile("f.bin", bytes);
    tree.makeDir("d");
    EXPECT_TRUE(FileExists(tree.path("f.bin")));
    EXPECT_FALSE(FileExists(tree.path("d")));
    EXPECT_TRUE(DirectoryExists(tree.path("d")));
    EXPECT_FALSE(DirectoryExists(tree.path("f.bin")));
    EXPECT_FALSE(FileExists(tree.path("F.BIN")));

    std::string out = "old";
    ASSERT_TRUE(ReadFileBytes(tree.path("f.bin"), out));
    EXPECT_EQ(out, bytes);
    EXPECT_FALSE(ReadFileBytes(tree.path("missing"), out));
    EXPECT_FALSE(ReadFileBytes(tree.path("d"), out));
    // Neither waited for nor read without end.
    ASSERT_EQ(mkfifo(tree.path("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(ReadFileBytes(tree.path("fifo"), out));
    EXPECT_FALSE(ReadFileBytes("/dev/zero", out));
}
