// Runs the built program on hand-made images and on broken ones.
#include "corvex_runner.h"
#include "opcode_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;
using namespace corvex_test;

namespace {

const fs::path kData = fs::path(VEXA_SOURCE_DIR) / "corvex" / "tests" / "data";

std::vector<std::string> folderEntries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Checks that every instruction line's size, as the debugger derives it from
// the text (with and without a label prefix), is the opcode's length.
void expectSizesMatchTable(const std::string& listing) {
    for (const std::string& line : splitLines(listing)) {
        const std::string text = line.substr(5);
        if (text.find("LABEL") != std::string::npos || text.find(" DB ") != std::string::npos)
            continue;
        SCOPED_TRACE(line);
        const unsigned opcode = std::stoul(text.substr(0, 2), nullptr, 16);
        const int length = isa8051::opcodeInfo(static_cast<uint8_t>(opcode)).length;
        EXPECT_EQ(sizeFromText(text), length);
        EXPECT_EQ(sizeFromText("L" + line.substr(0, 4) + ": " + text), length);
    }
}

class GoldenImage : public testing::TestWithParam<const char*> {};

TEST_P(GoldenImage, OutputMatchesGoldenFileLineByLine) {
    ScratchDir dir;
    const std::string name = GetParam();
    RunResult r = runCorvex({(kData / (name + ".hex")).string(), (dir / "out.txt").string()});
    ASSERT_EQ(r.exitStatus, 0) << r.stdErr;
    EXPECT_EQ(r.stdErr, "");

    const std::string actual = readFile(dir / "out.txt");
    const std::vector<std::string> got = splitLines(actual);
    const std::vector<std::string> want = splitLines(readFile(kData / (name + ".out")));
    for (size_t i = 0; i < std::max(got.size(), want.size()); ++i) {
        EXPECT_EQ(i < got.size() ? got[i] : "<missing>", i < want.size() ? want[i] : "<none>")
            << "line " << i + 1;
    }
    expectReadableListing(actual);
    expectSizesMatchTable(actual);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"out.txt"})
        << "temporary file left behind";
}

INSTANTIATE_TEST_SUITE_P(Corvex, GoldenImage, testing::Values("operands", "gaps"));

// Every opcode once, each followed by zero operand bytes: the listing is
// readable and every size the debugger derives matches the table.
TEST(CorvexProgram, AllOpcodesGiveReadableLinesOfTableSize) {
    std::vector<unsigned char> bytes;
    for (int op = 0; op < 256; ++op) {
        bytes.push_back(static_cast<unsigned char>(op));
        bytes.resize(bytes.size() + isa8051::opcodeInfo(static_cast<uint8_t>(op)).length - 1, 0);
    }
    ScratchDir dir;
    writeFile(dir / "all.hex", hexText(0x4000, bytes));
    RunResult r = runCorvex({(dir / "all.hex").string(), (dir / "all.out").string()});
    ASSERT_EQ(r.exitStatus, 0) << r.stdErr;
    const std::string listing = readFile(dir / "all.out");
    expectReadableListing(listing);
    expectSizesMatchTable(listing);

    int instructions = 0;
    for (const std::string& line : splitLines(listing))
        if (line.find("LABEL") == std::string::npos) ++instructions;
    EXPECT_EQ(instructions, 256);
    EXPECT_NE(listing.find("4000 00 NOP\n"), std::string::npos);
    EXPECT_NE(listing.find(" A5 DB     0A5H\n"), std::string::npos);
    EXPECT_NE(listing.find(" LCALL  "), std::string::npos) << "LCALL spelled so";
    EXPECT_NE(listing.find(" ACALL  "), std::string::npos) << "ACALL spelled so";
}

TEST(CorvexProgram, EmptyImageGivesAnEmptyOutputFile) {
    ScratchDir dir;
    writeFile(dir / "empty.hex", ":00000001FF\n");
    RunResult r = runCorvex({(dir / "empty.hex").string(), (dir / "out.txt").string()});
    ASSERT_EQ(r.exitStatus, 0) << r.stdErr;
    EXPECT_TRUE(fs::exists(dir / "out.txt"));
    EXPECT_EQ(readFile(dir / "out.txt"), "");
}

TEST(CorvexProgram, ReplacesAnEarlierOutputFile) {
    ScratchDir dir;
    writeFile(dir / "out.txt", "0000 old contents that must go away\n");
    writeFile(dir / "ret.hex", ":0100000022DD\n:00000001FF\n");
    RunResult r = runCorvex({(dir / "ret.hex").string(), (dir / "out.txt").string()});
    ASSERT_EQ(r.exitStatus, 0) << r.stdErr;
    EXPECT_EQ(readFile(dir / "out.txt"), "0000 22 RET\n");
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"out.txt", "ret.hex"}));
}

TEST(CorvexProgram, WrongArgumentCountPrintsUsage) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"a.hex"}, {"a", "b", "c"}, {"a", "b", "--hints"}, {"a", "b", "-h", "c"}}) {
        RunResult r = runCorvex(args);
        EXPECT_EQ(r.exitStatus, 2);
        EXPECT_EQ(r.stdErr, "usage: corvex IMAGE.hex OUTPUT [--hints HINTS]\n");
    }
}

// Hints that cannot be read: exit status 1, one message line naming the
// file (and the line), the output untouched.
TEST(CorvexProgram, BadHintsWriteNothing) {
    ScratchDir dir;
    const std::string hex = (dir / "ret.hex").string(), out = (dir / "out.txt").string();
    writeFile(hex, ":0100000022DD\n:00000001FF\n");
    writeFile(out, "0000 00 NOP\n");
    const std::string bad = dir / "bad.hints", missing = dir / "missing.hints";
    writeFile(bad, "code 0000\nswitch 0B 1\n");
    for (const auto& [hints, message] : std::vector<std::pair<std::string, std::string>>{
             {bad, bad + ": line 2: not a code or switch hint: \"switch 0B 1\"\n"},
             {missing, missing + ": cannot open: No such file or directory\n"}}) {
        const RunResult r = runCorvex({hex, out, "--hints", hints});
        EXPECT_EQ(r.exitStatus, 1);
        EXPECT_EQ(r.stdErr, "corvex: " + message);
        EXPECT_EQ(readFile(out), "0000 00 NOP\n");
    }
}

// A bad image: non-zero exit, one message line naming the file and the
// line, and neither a new output file nor a change to an existing one. The
// reader's tests cover every kind of malformed record.
TEST(CorvexProgram, BadImageWritesNothing) {
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {":0100000022DD\n0100010022DC\n", "line 2: record does not start with ':'"},
        {":0100000022DD\n:00000006FA\n", "line 2: unknown record type 0x06"},
        {":020000040001F9\n:0100000022DD\n", "line 2: data record runs past address 0xFFFF"},
        // One flipped data byte.
        {":0100000022DD\n:0100010023DC\n",
         "line 2: checksum is 0xDC, the record's bytes call for 0xDB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ScratchDir dir;
        const std::string hex = (dir / "bad.hex").string();
        writeFile(hex, c.text);

        RunResult r = runCorvex({hex, (dir / "new.out").string()});
        EXPECT_NE(r.exitStatus, 0);
        EXPECT_EQ(r.stdErr.rfind("corvex: " + hex + ": " + c.message, 0), 0u) << r.stdErr;
        EXPECT_EQ(std::count(r.stdErr.begin(), r.stdErr.end(), '\n'), 1);
        EXPECT_FALSE(fs::exists(dir / "new.out"));

        writeFile(dir / "old.out", "0000 00 NOP\n");
        r = runCorvex({hex, (dir / "old.out").string()});
        EXPECT_NE(r.exitStatus, 0);
        EXPECT_EQ(readFile(dir / "old.out"), "0000 00 NOP\n");
        EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"bad.hex", "old.out"}));
    }
}

TEST(CorvexProgram, MissingImageWritesNothing) {
    ScratchDir dir;
    const std::string hex = (dir / "missing.hex").string();
    RunResult r = runCorvex({hex, (dir / "out.txt").string()});
    EXPECT_NE(r.exitStatus, 0);
    EXPECT_EQ(r.stdErr, "corvex: " + hex + ": cannot open: No such file or directory\n");
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// What lies in a folder: each name with its kind, link target or contents.
std::vector<std::string> folderState(const fs::path& dir) {
    std::vector<std::string> state;
    for (const std::string& name : folderEntries(dir)) {
        const fs::path path = dir / name;
        const fs::file_status status = fs::symlink_status(path);
        std::string what = name + " " + std::to_string(int(status.type())) + " " +
                           std::to_string(int(status.permissions()));
        if (fs::is_symlink(status)) what += " -> " + fs::read_symlink(path).string();
        if (fs::is_regular_file(status)) what += " " + readFile(path);
        state.push_back(what);
    }
    return state;
}

// OUTPUT is replaced only when it is a writable regular file of one name that
// is not the image; anything else is refused with its reason before the image
// is read, and nothing in the folder changes, nor what a link names.
TEST(CorvexProgram, RefusesAnOutputThatIsNotAFileOfItsOwn) {
    using Make = std::function<void(const fs::path& out)>;
    const Make nothing = [](const fs::path&) {};
    const Make file = [](const fs::path& out) { writeFile(out, "0000 00 NOP\n"); };
    const std::vector<std::tuple<std::string, Make, std::string>> cases = {
        {"ret.hex", nothing, "is the image being disassembled"},
        {"same.hex",
         [](const fs::path& out) { fs::create_hard_link(out.parent_path() / "ret.hex", out); },
         "is the image being disassembled"},
        {"link.out", [](const fs::path& out) { fs::create_symlink("kept.txt", out); },
         "is a symbolic link, not a regular file"},
        {"dangling.out", [](const fs::path& out) { fs::create_symlink("missing.txt", out); },
         "is a symbolic link, not a regular file"},
        {"fifo.out", [](const fs::path& out) { ::mkfifo(out.c_str(), 0600); },
         "is a FIFO, not a regular file"},
        {"null.out",
         [](const fs::path& out) { ::mknod(out.c_str(), S_IFCHR | 0666, makedev(1, 3)); },
         "is a device, not a regular file"},
        {"folder.out", [](const fs::path& out) { fs::create_directory(out); },
         "is a folder, not a regular file"},
        {"twice.out",
         [&](const fs::path& out) { file(out), fs::create_hard_link(out, out.string() + "2"); },
         "is one of 2 names of one file (hard links)"},
        {"read-only.out",
         [&](const fs::path& out) { file(out), fs::permissions(out, fs::perms::owner_read); },
         "is read-only"},
    };
    for (const auto& [name, make, why] : cases) {
        SCOPED_TRACE(name);
        ScratchDir dir;
        writeFile(dir / "ret.hex", ":0100000022DD\n:00000001FF\n");
        writeFile(dir / "kept.txt", "kept\n");
        make(dir / name);
        if (!fs::exists(fs::symlink_status(dir / name)))
            continue; // no device node without privilege
        const std::vector<std::string> before = folderState(dir.path());
        const RunResult r = runCorvex({(dir / "ret.hex").string(), (dir / name).string()});
        EXPECT_EQ(r.exitStatus, 1);
        EXPECT_EQ(r.stdErr,
                  "corvex: " + (dir / name).string() + ": " + why + "; it is not replaced\n");
        EXPECT_EQ(folderState(dir.path()), before);
    }
}

TEST(CorvexProgram, UnwritableOutputFolderIsReported) {
    ScratchDir dir;
    writeFile(dir / "ret.hex", ":0100000022DD\n:00000001FF\n");
    const std::string out = (dir / "no-such-folder" / "out.txt").string();
    RunResult r = runCorvex({(dir / "ret.hex").string(), out});
    EXPECT_NE(r.exitStatus, 0);
    EXPECT_EQ(r.stdErr.rfind("corvex: " + out + ": cannot create a temporary file", 0), 0u)
        << r.stdErr;
}

} // namespace
