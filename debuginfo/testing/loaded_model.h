// What a headless Open of a project loaded, copied out of the loader so that
// two opens (of a project and of an altered copy of it) can be compared.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace debuginfo_test {

struct LineRecord {
    uint32_t kind = 0;
    uint32_t line = 0;
    uint32_t address = 0;
    bool operator==(const LineRecord& other) const {
        return kind == other.kind && line == other.line && address == other.address;
    }
};

struct AttachedInstruction {
    uint32_t address = 0;
    std::string text;
    std::string function; // the enclosing function's name, "" outside functions
    bool operator==(const AttachedInstruction& other) const {
        return address == other.address && text == other.text && function == other.function;
    }
};

std::ostream& operator<<(std::ostream& out, const LineRecord& record);
std::ostream& operator<<(std::ostream& out, const AttachedInstruction& instruction);

struct LoadedModel {
    bool loaded = false;
    std::vector<std::string> messages;
    std::string imagePath; // the image the open took
    std::string mapPath;   // the map the open read
    uint64_t imageEnd = 0; // after the last instruction of the disassembly
    // By module name: its source file ("MAIN.C") and its line records.
    std::map<std::string, std::string> moduleSources;
    std::map<std::string, std::vector<LineRecord>> records;
    // By module name: the listing read for it.
    std::map<std::string, std::string> listings;
    // By source file: its lines' texts, and the file read.
    std::map<std::string, std::vector<std::string>> sourceLines;
    std::map<std::string, std::string> sourcePaths;
    // By "FILE:LINE": the instructions attached to that source line.
    std::map<std::string, std::vector<AttachedInstruction>> instructions;
    // Every module's symbols and every function's locals, one text each with
    // the name, address, kind, class, type, size and space the open gave it.
    std::vector<std::string> symbols;
    // The position of each attached instruction's address, of each line
    // record's address and of 0xFFFFFFFF.
    std::map<uint32_t, std::string> lineOfAddress;
};

// Opens `project` headless with the real disassembler (its output goes to
// `scratchFolder`), copies out what it loaded and closes it again. Messages
// are answered OK, and No to the offer to open the image alone.
LoadedModel OpenAndRead(const std::string& project, const std::string& scratchFolder);

// The example's two project files and every project file of the real
// projects beside the repository, with the folder each project lies in.
struct ProjectInFolder {
    std::string folder;
    std::string project;
};
std::vector<ProjectInFolder> ExampleAndRealProjects();

// Copies `folder` with everything below it to `to`.
void CopyFolder(const std::string& folder, const std::string& to);

// Checks that `got` holds what `expected` does: its symbols (unless told
// not to), modules, line records, source lines, instructions and the lines
// of their addresses.
void ExpectSameModel(const LoadedModel& got, const LoadedModel& expected, bool symbols = true);
// Checks that `got` opened with one message, naming `path` and holding
// `text`, and holds what `expected` does.
void ExpectOpened(const LoadedModel& got, const std::string& path, const std::string& text,
                  const LoadedModel& expected);

// A fresh copy of a project's folder, with its path of each file of the original.
struct ProjectCopy {
    std::string folder; // of the original
    std::string root;
    std::string project;
    std::string Of(const std::string& original) const;
    LoadedModel Open() const { return OpenAndRead(project, root); }
    // Opens the copy after `alter` changed its file `path`, which then gets
    // back what it held (a file in its place is removed first).
    LoadedModel OpenAltered(const std::string& path, const std::function<void()>& alter) const;
    // Opens it with `replacement` in place of `length` characters at
    // `offset` of the file `path`.
    LoadedModel OpenReplaced(const std::string& path, size_t offset, size_t length,
                             const std::string& replacement) const;
};
using FreshCopy = std::function<ProjectCopy()>;

// Opens the example and every real project and runs `check` on each one
// that opens whole without a message, with `fresh` making copies of it. The
// example gives both map forms.
void ForEveryProjectThatOpens(
    const std::function<void(const LoadedModel& whole, const FreshCopy& fresh)>& check);

} // namespace debuginfo_test
