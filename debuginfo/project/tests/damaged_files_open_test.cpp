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
#include <set>
#include <sys/stat.h>
#include <utility>

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

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// The model without `module` and its source file's lines and instructions.
LoadedModel WithoutModule(LoadedModel model, const std::string& module) {
    const std::string source = model.moduleSources.at(module);
    std::set<uint32_t> dropped;
    for (const LineRecord& record : model.records[module])
        dropped.insert(record.address);
    model.moduleSources.erase(module);
    model.records.erase(module);
    model.sourceLines.erase(source);
    for (auto it = model.instructions.begin(); it != model.instructions.end();) {
        if (it->first.rfind(source + ":", 0) != 0) {
            ++it;
            continue;
        }
        for (const AttachedInstruction& instruction : it->second)
            dropped.insert(instruction.address);
        it = model.instructions.erase(it);
    }
    // An address keeps its position while another module still names it.
    for (const auto& [name, records] : model.records)
        for (const LineRecord& record : records)
            dropped.erase(record.address);
    for (const auto& [key, instructions] : model.instructions)
        for (const AttachedInstruction& instruction : instructions)
            dropped.erase(instruction.address);
    for (uint32_t address : dropped)
        model.lineOfAddress.erase(address);
    return model;
}

// The first file line of a module in a project file's text (for most
// projects the main module's): its line number and its text as written.
struct ModuleLine {
    std::string module;
    int number = 0;
    size_t start = 0;
    std::string raw;
};

ModuleLine FirstModuleLine(const std::string& text, const LoadedModel& whole) {
    size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string raw = text.substr(start, end - start);
        for (const auto& [module, source] : whole.moduleSources)
            if (source == platform::ToUpperKey(SplitAngleBrackets(raw)))
                return {module, number, start, raw};
        start = end + 1;
    }
    return {};
}

} // namespace

// Each damage opens a copy, with its message at once; the copy is mended again
// before the next one.
TEST(DamagedFilesOpen, EachDamagedFileIsNamedAndWhatStillOpensOpensAsBefore) {
    ForEveryProjectThatOpens([](const LoadedModel& whole, const FreshCopy& fresh) {
        const ProjectCopy copy = fresh();
        const std::string project = ReadWholeFile(copy.project);
        const ModuleLine file = FirstModuleLine(project, whole);
        ASSERT_FALSE(file.module.empty());
        const std::string line = file.raw.substr(0, file.raw.find_last_not_of(" \t\r") + 1);
        const size_t name = line.find('<', line.find('>')); // where a wrapped line breaks
        const auto fault = [&](int below, const std::string& text) {
            return "\nline " + std::to_string(file.number + below) + " \"" + text + "\": ";
        };
        const std::string notAFile = "not a File line with its path and name in <...>, so no "
                                     "file is read from it";
        const std::string lines = FillFormat(kProjectFileLinesFormat, {copy.project});

        const std::string hexPath = copy.Of(whole.imagePath);
        const std::string mapPath = copy.Of(whole.mapPath);
        const std::string hex = ReadWholeFile(hexPath);
        auto image = std::make_unique<intelhex::Image>();
        std::string error;
        ASSERT_TRUE(intelhex::parseText(hex, *image, error)) << error;
        // The first data record's line, and after it a record giving its first byte another value.
        const intelhex::Record& first = image->records.front();
        size_t from = 0;
        size_t after = 0;
        for (int at = 0; at < first.line; ++at)
            from = std::exchange(after, hex.find('\n', after) + 1);
        const std::string clash =
            HexRecord(std::stoul(hex.substr(from + 3, 4), nullptr, 16), {first.data[0] ^ 0xFFu});
        char clashWhy[128];
        std::snprintf(
            clashWhy, sizeof clashWhy,
            "line %d: address 0x%04X holds 0x%02X from line %d, this record gives it 0x%02X",
            first.line + 1, first.address, first.data[0], first.line, first.data[0] ^ 0xFFu);
        const auto corvexSays = [&](const std::string& reason) {
            return std::vector<std::string>{
                FillFormat(kDisassemblerFailedFormat, {"corvex: " + hexPath + ": " + reason})};
        };
        const auto fifo = [](const std::string& path) {
            fs::remove(path), mkfifo(path.c_str(), 0600);
        };
        const auto zero = [](const std::string& path) {
            fs::remove(path), fs::create_symlink("/dev/zero", path);
        };

        struct Damage {
            std::string path;
            std::function<void()> apply;
            std::vector<std::string> messages;
            const LoadedModel* model; // what the copy loads, or null when it stops
        };
        const LoadedModel withoutModule = WithoutModule(whole, file.module);
        const std::vector<Damage> damages = {
            // A file listed twice is read once.
            {copy.project,
             [&] {
                 Write(copy.project, project.substr(0, file.start) + file.raw + "\n" +
                                         project.substr(file.start));
             },
             {lines + fault(1, line) + whole.moduleSources.at(file.module) +
              " again (first on line " + std::to_string(file.number) + "), read once"},
             &whole},
            // Wrapped before its name: neither part names a file.
            {copy.project,
             [&] {
                 Write(copy.project, project.substr(0, file.start) + file.raw.substr(0, name) +
                                         "\n" + project.substr(file.start + name));
             },
             {lines + fault(0, line.substr(0, name)) + notAFile + fault(1, line.substr(name)) +
              notAFile},
             &withoutModule},
            {hexPath, [&] { Write(hexPath, hex.substr(0, after)); },
             corvexSays("line " + std::to_string(first.line) +
                        ": the file ends after this record without an end-of-file record"),
             nullptr},
            {hexPath, [&] { Write(hexPath, ""); },
             corvexSays("line 1: the file holds no record, not even an end-of-file record"),
             nullptr},
            {hexPath, [&] { Write(hexPath, hex.substr(0, after) + clash + hex.substr(after)); },
             corvexSays(clashWhy), nullptr},
            {hexPath, [&] { fifo(hexPath); }, corvexSays("cannot read: a FIFO, not a regular file"),
             nullptr},
            {hexPath, [&] { zero(hexPath); },
             corvexSays("cannot read: a device, not a regular file"), nullptr},
            {mapPath,
             [&] { zero(mapPath); },
             {FillFormat(kCannotReadFileFormat, {mapPath, "a device, not a regular file"}),
              kMapMissingText, kHexOnlyQuestion},
             nullptr},
        };
        for (const Damage& damage : damages) {
            SCOPED_TRACE(damage.messages.front());
            const LoadedModel opened = copy.OpenAltered(damage.path, damage.apply);
            // The wrapped module may have been all a project had: it stops then.
            if (damage.model == &withoutModule && !opened.loaded) {
                ASSERT_FALSE(opened.messages.empty());
                EXPECT_EQ(opened.messages.front(), damage.messages.front());
                continue;
            }
            EXPECT_EQ(opened.messages, damage.messages);
            ASSERT_EQ(opened.loaded, damage.model != nullptr);
            // Listings give the dropped module's functions their symbols' details.
            if (damage.model) ExpectSameModel(opened, *damage.model, damage.model == &whole);
        }
    });
}
