// Helpers for tests that run the built `corvex` program and read its output.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace corvex_test {

struct RunResult {
    int exitStatus;     // -1 when the program did not exit normally
    std::string stdErr; // everything it wrote on standard error
};

// Runs VEXA_BIN_DIR/corvex with these arguments (no shell involved).
RunResult runCorvex(const std::vector<std::string>& args);

// A fresh empty folder, removed with its contents on destruction.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& contents);

// Splits at "\n"; the text after the last "\n" (empty for a complete file)
// is not a line.
std::vector<std::string> splitLines(const std::string& text);

// An Intel HEX text of `bytes` placed from `address`, 16 bytes a record,
// with an end record.
std::string hexText(unsigned address, const std::vector<unsigned char>& bytes);

// Reports, as gtest failures, every line of a listing that the debugger's
// reader would misread: address field, separator, label line form,
// instruction text form (bytes word, no ':' / LABEL / tab / trailing blank).
void expectReadableListing(const std::string& listing);

// The instruction size the debugger derives from an instruction text, with
// an optional generated-label prefix ("L0003: ") in front of it.
int sizeFromText(const std::string& text);

} // namespace corvex_test
