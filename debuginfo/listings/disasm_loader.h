// The disassembler run and its output: the `corvex` program beside the
// debugger's executable disassembles the project's Intel HEX image into a file
// of lines "AAAA TEXT" (4 hexadecimal address digits, one separator, the text),
// and the loader keeps that file with its instructions and labels by address.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "flow_hints.h"
#include "text_loader.h"

// The file name of the disassembler's output.
constexpr const char* kDisassemblyOutputName = "Corvex.out";
// The disassembler program's file name.
constexpr const char* kDisassemblerProgramName = "corvex";
// The message shown when the disassembler cannot be run or fails ("%s" says
// why: the disassembler's own message when it gave one).
constexpr const char* kDisassemblerFailedFormat = "Disassembler failed: %s\nStop Project Loading.";

// The output file in the per-user data folder; empty when there is no such folder.
std::string DisassemblyOutputPath();

// Runs the disassembler of `programDir` on `hexPath` into `outputPath` and
// waits for it; with `hints` that say anything, they are written to a file
// beside the output (its name with the extension ".hints") and handed to it
// ("--hints FILE"). The previous output
// file is removed first, so a failed run never leaves an older disassembly
// to be read. 1 when the program ran and exited with status 0; otherwise the
// failure is shown and the result is 0.
int RunDisassembler(const std::string& hexPath, const std::string& outputPath,
                    const std::string& programDir, const disasm8051::FlowHints& hints = {});
// The same with the program beside the debugger's executable and the output
// file in the per-user data folder.
int RunDisassembler(const std::string& hexPath);

class DisasmLoader : public Loader {
public:
    DisasmLoader() = default;
    // Loads the output file at `path` and collects its lines; a file that
    // cannot be loaded leaves the loader empty (LoadSourceFile reports it).
    explicit DisasmLoader(const std::string& path);

    // Fills the two maps and the highest address from the lines. A line
    // holding "LABEL" is a label line; any other is an instruction. A later
    // line of the same address replaces the earlier text. Lines shorter than
    // the address, its separator and one character of text are skipped.
    void CollectLabels();

    uint32_t m_dwHighestAddress = 0; // largest address of any line, 0 when none
    std::unordered_map<uint32_t, std::string> m_mapInstructions;
    std::unordered_map<uint32_t, std::string> m_mapLabels;
};

// Whether an instruction text of the disassembly ("BYTES MNEMONIC ...") is a
// data line: bytes the disassembler wrote as "DB" rather than decode them.
bool IsDataText(std::string_view text);

// "0x" and the highest address plus 16, at most 0xFFFF, in lower-case
// hexadecimal: the end of the code range shown once the disassembly is loaded.
std::string CodeEndAddressText(const DisasmLoader& loader);
