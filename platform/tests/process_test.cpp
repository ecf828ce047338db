#include "process.h"

#include "path_resolver.h"
#include "regular_file.h"
#include "temp_tree.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
using platform_test::TempTree;

TEST(RunProgram, ReportsExitStatus) {
    ProgramResult ok = RunProgram("/bin/true", {});
    EXPECT_TRUE(ok.started);
    EXPECT_EQ(ok.exitStatus, 0);
    EXPECT_TRUE(ok.error.empty());

    ProgramResult fail = RunProgram("/bin/false", {});
    EXPECT_TRUE(fail.started);
    EXPECT_EQ(fail.exitStatus, 1);

    ProgramResult seven = RunProgram("/bin/sh", {"-c", "exit 7"});
    EXPECT_TRUE(seven.started);
    EXPECT_EQ(seven.exitStatus, 7);
}

// What a program says on its standard error comes back with its status; a
// long text is read to its end (the program does not block on a full pipe)
// and kept up to 64 KB.
TEST(RunProgram, CollectsTheProgramsStandardError) {
    ProgramResult why = RunProgram("/bin/sh", {"-c", "echo 'x.hex: cannot open' >&2; exit 1"});
    EXPECT_EQ(why.exitStatus, 1);
    EXPECT_EQ(why.errorOutput, "x.hex: cannot open\n");

    ProgramResult quiet = RunProgram("/bin/true", {});
    EXPECT_EQ(quiet.errorOutput, "");

    ProgramResult flood =
        RunProgram("/bin/sh", {"-c", "head -c 300000 /dev/zero | tr '\\0' e >&2"});
    EXPECT_EQ(flood.exitStatus, 0);
    EXPECT_EQ(flood.errorOutput, std::string(64 * 1024, 'e'));
}

// A program that outlives its time limit is stopped, one that closed its
// standard error first too; one that ends in time runs as without a limit.
TEST(RunProgram, AProgramPastItsTimeLimitIsStopped) {
    using namespace std::chrono;
    for (const char* script : {"exec sleep 30", "exec 2>&-; exec sleep 30"}) {
        const auto start = steady_clock::now();
        const ProgramResult r = RunProgram("/bin/sh", {"-c", script}, "", milliseconds(200));
        EXPECT_LT(steady_clock::now() - start, seconds(10)) << script;
        EXPECT_TRUE(r.started);
        EXPECT_EQ(r.exitStatus, -1);
        EXPECT_EQ(r.error, "/bin/sh did not end within 1 s and was stopped");
    }
    const ProgramResult inTime =
        RunProgram("/bin/sh", {"-c", "echo why >&2; exit 3"}, "", seconds(30));
    EXPECT_EQ(inTime.exitStatus, 3);
    EXPECT_EQ(inTime.errorOutput, "why\n");
    EXPECT_EQ(inTime.error, "");
}

TEST(RunProgram, ProgramsThatCannotStartAreNotStarted) {
    TempTree tree;
    tree.makeFile("not-executable.sh", "#!/bin/sh\nexit 0\n");
    chmod(tree.path("not-executable.sh").c_str(), 0644);
    tree.makeDir("folder");

    for (const std::string& program :
         {tree.path("missing-program"), tree.path("not-executable.sh"), tree.path("folder")}) {
        ProgramResult r = RunProgram(program, {"x"});
        EXPECT_FALSE(r.started) << program;
        EXPECT_EQ(r.exitStatus, -1) << program;
        EXPECT_NE(r.error.find(program), std::string::npos) << r.error;
    }

    // No PATH search and no shell: a bare command name is not looked up.
    EXPECT_FALSE(RunProgram("true", {}).started);

    ProgramResult badDir = RunProgram("/bin/true", {}, tree.path("no-such-folder"));
    EXPECT_FALSE(badDir.started);
    EXPECT_NE(badDir.error.find("no-such-folder"), std::string::npos) << badDir.error;
}

TEST(RunProgram, ArgumentsArePassedIntactWithoutAShell) {
    TempTree tree;
    const std::vector<std::string> args = {"plain", "with spaces",      "it's \"quoted\"",
                                           "",      "$HOME *; echo no", "back\\slash\nnewline"};
    std::vector<std::string> argv = {"-c", "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > out",
                                     "sh"};
    argv.insert(argv.end(), args.begin(), args.end());
    ProgramResult r = RunProgram("/bin/sh", argv, tree.root());
    ASSERT_TRUE(r.started) << r.error;
    EXPECT_EQ(r.exitStatus, 0);

    std::string out;
    ASSERT_TRUE(ReadFileBytes(tree.path("out"), out));
    std::string expected;
    for (const std::string& a : args)
        expected += a + '\0';
    EXPECT_EQ(out, expected);
}

TEST(RunProgram, RunsInTheWorkingFolderWithoutMovingTheCaller) {
    TempTree tree;
    char before[PATH_MAX];
    ASSERT_NE(getcwd(before, sizeof before), nullptr);
    ProgramResult r = RunProgram("/bin/sh", {"-c", "pwd -P > where"}, tree.root());
    ASSERT_TRUE(r.started) << r.error;
    char after[PATH_MAX];
    ASSERT_NE(getcwd(after, sizeof after), nullptr);
    EXPECT_STREQ(before, after);

    std::string where;
    ASSERT_TRUE(ReadFileBytes(tree.path("where"), where));
    char* real = realpath(tree.root().c_str(), nullptr);
    EXPECT_EQ(where, std::string(real) + "\n");
    free(real);
}

TEST(RunProgram, KilledBySignalGivesMinusOneAndAReason) {
    ProgramResult r = RunProgram("/bin/sh", {"-c", "kill -TERM $$"});
    EXPECT_TRUE(r.started);
    EXPECT_EQ(r.exitStatus, -1);
    EXPECT_NE(r.error.find("signal 15"), std::string::npos) << r.error;
}

TEST(ExecutableDirectory, IsTheFolderOfTheTestBinary) {
    char* expected = realpath(VEXA_BIN_DIR, nullptr);
    ASSERT_NE(expected, nullptr);
    char* actual = realpath(ExecutableDirectory().c_str(), nullptr);
    ASSERT_NE(actual, nullptr);
    EXPECT_STREQ(actual, expected);
    EXPECT_NE(ExecutableDirectory().back(), '/');
    free(expected);
    free(actual);
}

namespace {

// Sets or clears environment variables for one test and puts them back.
class ScopedEnv {
public:
    void set(const char* name, const char* value) {
        remember(name);
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->hadValue)
                setenv(it->name.c_str(), it->value.c_str(), 1);
            else
                unsetenv(it->name.c_str());
        }
    }

private:
    struct Saved {
        std::string name;
        bool hadValue;
        std::string value;
    };
    void remember(const char* name) {
        const char* v = getenv(name);
        saved_.push_back({name, v != nullptr, v ? v : ""});
    }
    std::vector<Saved> saved_;
};

} // namespace

TEST(UserDataDirectory, FollowsXdgCacheThenHomeThenTemporaryFolder) {
    TempTree tree;
    ScopedEnv env;

    env.set("XDG_CACHE_HOME", tree.path("xdg").c_str());
    env.set("HOME", tree.path("home").c_str());
    env.set("TMPDIR", tree.root().c_str());
    EXPECT_EQ(UserDataDirectory(), tree.path("xdg/ostrel-debugger"));
    EXPECT_TRUE(DirectoryExists(tree.path("xdg/ostrel-debugger")));

    env.set("XDG_CACHE_HOME", nullptr);
    EXPECT_EQ(UserDataDirectory(), tree.path("home/.cache/ostrel-debugger"));
    EXPECT_TRUE(DirectoryExists(tree.path("home/.cache/ostrel-debugger")));

    env.set("HOME", nullptr);
    const std::string tmpDir = tree.path("ostrel-debugger-" + std::to_string(geteuid()));
    EXPECT_EQ(UserDataDirectory(), tmpDir);
    EXPECT_TRUE(DirectoryExists(tmpDir));
    // Calling again finds the existing folder.
    EXPECT_EQ(UserDataDirectory(), tmpDir);
}
