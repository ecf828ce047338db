// Copies of the example and of every real project that opens, each with one
// file damaged: a line of its file list cut short or given twice, its image
// cut short, emptied or given a byte twice, or a file replaced by something
// that is no file to read. Each opens with its message at once, and where it
// still opens the rest of the loaded model equals the intact one.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sys/stat.h>

#include "disasm_loader.h"
#include "intel_hex.h"
#include "loaded_model.h"
#include "path_resolver.h"
#include "project_file.h"
#include "project_messages.h"
#include "test_support.h"
#include "text_loader.h"

using namespace debuginfo_test;
namespace fs = std::filesystem;

namespace {

std::string Formatted(std::string format, const std::vector<std::string>& parts) {
    size_t at = 0;
    for (const std::string& part : parts) {
        at = format.find("%s", at);
        format.replace(at, 2, part);
        at += part.size();
    }
    return format;
}

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

void ExpectSameModel(const LoadedModel& got, const LoadedModel& expected, bool symbols = true) {
    if (symbols) {
        EXPECT_EQ(got.symbols, expected.symbols);
    }
    EXPECT_EQ(got.moduleSources, expected.moduleSources);
    EXPECT_EQ(got.records, expected.records);
    EXPECT_EQ(got.sourceLines, expected.sourceLines);
    EXPECT_EQ(got.instructions, expected.instructions);
    EXPECT_EQ(got.lineOfAddress, expected.lineOfAddress);
}

// The model without `module` and its source file's lines and instructions.
LoadedModel WithoutModule(LoadedModel model, const std::string& module) {
    const std::string source = model.moduleSources.at(module);
    model.moduleSources.erase(module);
    model.records.erase(module);
    model.sourceLines.erase(source);
    for (auto it = model.instructions.begin(); it != model.instructions.end();) {
        if (it->first.rfind(source + ":", 0) != 0) {
            ++it;
            continue;
        }
        for (const AttachedInstruction& instruction : it->second)
            model.lineOfAddress.erase(instruction.address);
        it = model.instructions.erase(it);
    }
    return model;
}

// A fresh copy of a project's folder.
struct ProjectCopy {
    std::string folder; // of the original
    std::string root;
    std::string project;
    // The copy's path of a file of the original.
    std::string Of(const std::string& original) const {
        return root + "/" + fs::relative(original, folder).string();
    }
    LoadedModel Open() const { return OpenAndRead(project, root); }
};

// Runs `check` on every project that opens whole, which makes copies with `fresh`.
void ForEveryProjectThatOpens(
    const std::function<void(const LoadedModel&, const std::function<ProjectCopy()>& fresh)>&
        check) {
    TempFolder scratch;
    int copies = 0;
    int opened = 0;
    for (const ProjectInFolder& candidate : ExampleAndRealProjects()) {
        SCOPED_TRACE(candidate.project);
        const LoadedModel whole = OpenAndRead(candidate.project, scratch.Root());
        if (!whole.loaded) continue; // a project that stops with a message of its own
        ASSERT_TRUE(whole.messages.empty()) << whole.messages.front();
        ++opened;
        check(whole, [&] {
            ProjectCopy copy{candidate.folder, scratch.Path("copy" + std::to_string(++copies)), ""};
            CopyFolder(candidate.folder, copy.root);
            copy.project = copy.Of(candidate.project);
            return copy;
        });
    }
    EXPECT_GE(opened, 2); // the example in both map forms
}

} // namespace

TEST(DamagedFilesOpen, AFileLineCutShortOrGivenTwiceIsNamedAndTheRestOpensAsBefore) {
    ForEveryProjectThatOpens([](const LoadedModel& whole,
                                const std::function<ProjectCopy()>& fresh) {
        // The first file line of a module: for the most projects, the main one.
        ProjectCopy copy = fresh();
        const std::string text = ReadWholeFile(copy.project);
        size_t start = 0;
        size_t end = 0;
        int number = 0;
        std::string line;
        std::string module;
        for (; module.empty() && start < text.size(); start = end + 1) {
            end = std::min(text.find('\n', start), text.size());
            line = text.substr(start, end - start);
            ++number;
            for (const auto& [name, source] : whole.moduleSources)
                if (source == platform::ToUpperKey(SplitAngleBrackets(line))) module = name;
        }
        ASSERT_FALSE(module.empty());
        start -= line.size() + 1;
        const std::string raw = line;
        line.erase(line.find_last_not_of(" \t\r") + 1);
        const auto quoted = [](int at, const std::string& text) {
            return "\nline " + std::to_string(at) + " \"" + text + "\": ";
        };

        Write(copy.project, text.substr(0, end + 1) + raw + "\n" + text.substr(end + 1));
        const LoadedModel twice = copy.Open();
        EXPECT_EQ(twice.messages,
                  std::vector<std::string>{
                      Formatted(kProjectFileLinesFormat, {copy.project}) +
                      quoted(number + 1, line) + whole.moduleSources.at(module) +
                      " again (first on line " + std::to_string(number) + "), read once"});
        ASSERT_TRUE(twice.loaded);
        ExpectSameModel(twice, whole);

        // Wrapped before its name: neither part names a file.
        const size_t cut = line.find('<', line.find('>'));
        copy = fresh();
        Write(copy.project, text.substr(0, start) + raw.substr(0, cut) + "\n" + raw.substr(cut) +
                                text.substr(end));
        const LoadedModel wrapped = copy.Open();
        const std::string why = "not a File line with its path and name in <...>, so no file is "
                                "read from it";
        ASSERT_FALSE(wrapped.messages.empty());
        EXPECT_EQ(wrapped.messages.front(), Formatted(kProjectFileLinesFormat, {copy.project}) +
                                                quoted(number, line.substr(0, cut)) + why +
                                                quoted(number + 1, line.substr(cut)) + why);
        if (wrapped.loaded) ExpectSameModel(wrapped, WithoutModule(whole, module), false);
    });
}

namespace {

// What a file of a project is replaced with (given its copy's path), and the
// messages Open then shows (given that path).
struct Damage {
    std::string what;
    std::string original;
    std::function<void(const std::string& path)> apply;
    std::function<std::vector<std::string>(const std::string& path)> messages;
};

void MakeFifo(const std::string& path) {
    fs::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
}

void LinkToZero(const std::string& path) {
    fs::remove(path);
    fs::create_symlink("/dev/zero", path);
}

} // namespace

TEST(DamagedFilesOpen, AnImageCutShortOrGivingAByteTwiceOrAFileThatIsNoFileStopsOpenAtOnce) {
    ForEveryProjectThatOpens([](const LoadedModel& whole,
                                const std::function<ProjectCopy()>& fresh) {
        const std::string hex = ReadWholeFile(whole.imagePath);
        auto image = std::make_unique<intelhex::Image>();
        std::string error;
        ASSERT_TRUE(intelhex::parseText(hex, *image, error)) << error;
        std::vector<size_t> lineStarts = {0};
        for (size_t at = hex.find('\n'); at + 1 < hex.size(); at = hex.find('\n', at + 1))
            lineStarts.push_back(at + 1);
        const size_t half = lineStarts.size() / 2;
        // After the first data record, one that gives its first byte another value.
        const intelhex::Record& first = image->records.front();
        const size_t after = lineStarts.at(size_t(first.line));
        const unsigned field = std::stoul(hex.substr(lineStarts[first.line - 1] + 3, 4), 0, 16);
        char clash[80];
        std::snprintf(clash, sizeof clash,
                      "address 0x%04X holds 0x%02X from line %d, this record gives it 0x%02X",
                      first.address, first.data[0], first.line, first.data[0] ^ 0xFFu);
        const auto disassemblerSays = [](const std::string& reason) {
            return [reason](const std::string& path) {
                return std::vector<std::string>{
                    Formatted(kDisassemblerFailedFormat, {"corvex: " + path + ": " + reason})};
            };
        };
        const auto cannotRead = [](const std::string& why, const std::string& then) {
            return [why, then](const std::string& path) {
                return std::vector<std::string>{Formatted(kCannotReadFileFormat, {path, why}), then,
                                                kHexOnlyQuestion};
            };
        };
        const std::string& module = whole.moduleSources.begin()->second;
        const std::string listing = platform::StripExtension(module) + ".lst";

        const std::vector<Damage> damages = {
            {"cut", whole.imagePath,
             [&](const std::string& p) { Write(p, hex.substr(0, lineStarts[half])); },
             disassemblerSays("line " + std::to_string(half) +
                              ": the file ends after this record without an end-of-file record")},
            {"empty", whole.imagePath, [&](const std::string& p) { Write(p, ""); },
             disassemblerSays("line 1: the file holds no record, not even an end-of-file record")},
            {"clash", whole.imagePath,
             [&](const std::string& p) {
                 Write(p, hex.substr(0, after) + HexRecord(field, {first.data[0] ^ 0xFFu}) +
                              hex.substr(after));
             },
             disassemblerSays("line " + std::to_string(first.line + 1) + ": " + clash)},
            {"fifo", whole.imagePath, MakeFifo,
             disassemblerSays("cannot read: a FIFO, not a regular file")},
            {"zero", whole.imagePath, LinkToZero,
             disassemblerSays("cannot read: a device, not a regular file")},
            {"map", whole.mapPath, LinkToZero,
             cannotRead("a device, not a regular file", kMapMissingText)},
        };
        for (const Damage& damage : damages) {
            SCOPED_TRACE(damage.what);
            const ProjectCopy copy = fresh();
            const std::string path = copy.Of(damage.original);
            damage.apply(path);
            const LoadedModel opened = copy.Open();
            EXPECT_FALSE(opened.loaded);
            EXPECT_EQ(opened.messages, damage.messages(path));
        }

        // Every listing of a module's name (an older build may leave one elsewhere).
        const ProjectCopy copy = fresh();
        std::vector<std::string> fifos;
        for (const auto& entry : fs::recursive_directory_iterator(copy.root))
            if (platform::EqualsNoCase(entry.path().filename().string(), listing))
                fifos.push_back(entry.path().string());
        for (const std::string& fifo : fifos)
            MakeFifo(fifo);
        const LoadedModel opened = copy.Open();
        EXPECT_FALSE(opened.loaded);
        ASSERT_EQ(opened.messages.size(), 3u);
        EXPECT_EQ(opened.messages[1], Formatted(kFileCorruptedFormat, {listing}));
        bool named = false;
        for (const std::string& fifo : fifos)
            named |= opened.messages[0] ==
                     Formatted(kCannotReadFileFormat, {fifo, "a FIFO, not a regular file"});
        EXPECT_TRUE(named) << opened.messages[0];
    });
}
