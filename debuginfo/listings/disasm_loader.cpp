#include "disasm_loader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

#include "line_tokenizer.h"
#include "message_service.h"
#include "path_resolver.h"
#include "process.h"

namespace {

constexpr size_t kAddressDigits = 4;
constexpr size_t kTextColumn = 5; // after the address and its separator
constexpr std::string_view kLabelMark = "LABEL";
// A whole 64 KB image takes the disassembler milliseconds; one still running
// after this is stopped rather than holding Open for ever.
constexpr std::chrono::seconds kDisassemblerTimeLimit(30);
constexpr const char* kHintsExtension = ".hints";

void ReportFailure(const std::string& why) {
    std::string message = kDisassemblerFailedFormat;
    message.replace(message.find("%s"), 2, why);
    platform::ShowMessage(message);
}

std::string HintsPathBeside(const std::string& outputPath) {
    const size_t extension = platform::ExtensionOf(platform::FileNameOf(outputPath)).size();
    return outputPath.substr(0, outputPath.size() - extension) + kHintsExtension;
}

} // namespace

std::string DisassemblyOutputPath() {
    const std::string folder = platform::UserDataDirectory();
    return folder.empty() ? std::string() : platform::JoinPath(folder, kDisassemblyOutputName);
}

int RunDisassembler(const std::string& hexPath, const std::string& outputPath,
                    const std::string& programDir, const disasm8051::FlowHints& hints) {
    if (outputPath.empty()) {
        ReportFailure("no writable folder for its output");
        return 0;
    }
    std::remove(outputPath.c_str());
    std::vector<std::string> args = {hexPath, outputPath};
    if (!hints.empty()) {
        const std::string hintsPath = HintsPathBeside(outputPath);
        std::ofstream file(hintsPath, std::ios::binary | std::ios::trunc);
        file << disasm8051::renderHints(hints);
        file.close();
        if (!file) {
            ReportFailure("cannot write " + hintsPath);
            return 0;
        }
        args.insert(args.end(), {"--hints", hintsPath});
    }
    const std::string program = platform::JoinPath(programDir, kDisassemblerProgramName);
    const platform::ProgramResult result =
        platform::RunProgram(program, args, programDir, kDisassemblerTimeLimit);
    if (!result.started) {
        ReportFailure("cannot start " + program +
                      (result.error.empty() ? "" : ": " + result.error));
        return 0;
    }
    if (result.exitStatus != 0) {
        // The disassembler says what it could not read or write.
        std::string why = result.errorOutput;
        while (!why.empty() && (why.back() == '\n' || why.back() == '\r'))
            why.pop_back();
        if (why.empty())
            why = result.exitStatus < 0 && !result.error.empty()
                      ? result.error
                      : program + " ended with status " + std::to_string(result.exitStatus) +
                            (result.error.empty() ? "" : ": " + result.error);
        ReportFailure(why);
        return 0;
    }
    return 1;
}

int RunDisassembler(const std::string& hexPath) {
    return RunDisassembler(hexPath, DisassemblyOutputPath(), platform::ExecutableDirectory());
}

DisasmLoader::DisasmLoader(const std::string& path) {
    if (LoadSourceFile(*this, path)) SplitTextLines(*this);
    CollectLabels();
}

void DisasmLoader::CollectLabels() {
    m_dwHighestAddress = 0;
    m_mapInstructions.clear();
    m_mapLabels.clear();
    m_mapInstructions.reserve(m_lines.size());
    for (const TextLine& line : m_lines) {
        const std::string& text = line.m_strText;
        if (text.size() <= kTextColumn) continue;
        const uint32_t address = ParseHexNumber(std::string_view(text).substr(0, kAddressDigits));
        std::string body = text.substr(kTextColumn);
        if (ContainsText(text, kLabelMark))
            m_mapLabels[address] = std::move(body);
        else
            m_mapInstructions[address] = std::move(body);
        if (address > m_dwHighestAddress) m_dwHighestAddress = address;
    }
}

bool IsDataText(std::string_view text) {
    const size_t bytesEnd = text.find(' ');
    if (bytesEnd == std::string_view::npos) return false;
    const size_t start = text.find_first_not_of(' ', bytesEnd);
    if (start == std::string_view::npos) return false;
    const std::string_view mnemonic = text.substr(start, text.find(' ', start) - start);
    return mnemonic == "DB";
}

std::string CodeEndAddressText(const DisasmLoader& loader) {
    // Code space ends at 0xFFFF: an image reaching its last row shows up to there.
    const uint64_t end = std::min<uint64_t>(uint64_t(loader.m_dwHighestAddress) + 16, 0xFFFF);
    char text[24];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(end));
    return text;
}
