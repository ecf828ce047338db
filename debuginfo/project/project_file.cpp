#include "project_file.h"

#include <filesystem>
#include <optional>

#include "line_tokenizer.h"
#include "path_resolver.h"
#include "project_paths.h"
#include "regular_file.h"
#include "text_loader.h"

namespace {

constexpr uint32_t kExtendedLinkerBit = 0x8000;

// The file's text and its real path on disk.
bool ReadProjectText(const std::string& path, std::string& text, std::string& resolved) {
    resolved = platform::ResolvePath(".", path);
    return !resolved.empty() && platform::FileExists(resolved) &&
           platform::ReadFileBytes(resolved, text);
}

// The text after the first "(" up to the next ")" or the end of the line.
std::optional<std::string> ParenthesisValue(std::string_view line) {
    const size_t open = line.find('(');
    if (open == std::string_view::npos) return std::nullopt;
    std::string_view value = line.substr(open + 1);
    return std::string(value.substr(0, value.find(')')));
}

// Every closed "<...>" field of the line, in order.
std::vector<std::string_view> AngleFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t pos = 0;
    for (;;) {
        const size_t open = line.find('<', pos);
        if (open == std::string_view::npos) break;
        const size_t close = line.find('>', open + 1);
        if (close == std::string_view::npos) break;
        fields.push_back(line.substr(open + 1, close - open - 1));
        pos = close + 1;
    }
    return fields;
}

void ReadSettingsLine(std::string_view line, ProjectSettings& settings) {
    const bool lstDir = ContainsText(line, "LstDir");
    const bool outDir = ContainsText(line, "OutDir");
    if (lstDir || outDir || ContainsText(line, "OutName")) {
        auto value = ParenthesisValue(line);
        if (!value) return;
        if (lstDir)
            settings.m_strLstDir = std::move(*value);
        else if (outDir)
            settings.m_strOutDir = std::move(*value);
        else
            settings.m_strOutName = std::move(*value);
        return;
    }
    if (ContainsText(line, "T51FL") && !ContainsText(line, "XT51FL")) {
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) return;
        const auto flags = static_cast<uint32_t>(ParseDecimalNumber(line.substr(equals + 1)));
        settings.m_strMapExt = (flags & kExtendedLinkerBit) ? "MAP" : "M51";
        return;
    }
    if (ContainsText(line, "File")) {
        const std::vector<std::string_view> fields = AngleFields(line);
        if (fields.size() < 2) return;
        const std::string path = platform::ToUpperKey(std::string(fields.front()));
        const std::string name = platform::ToUpperKey(std::string(fields.back()));
        // A file listed again is read from where it was listed first.
        if (!path.empty() && !name.empty()) settings.m_mapSourcePaths.emplace(name, path);
    }
}

} // namespace

void ParseProjectText(std::string_view text, ProjectSettings& settings) {
    for (std::string_view line : SplitLines(text))
        ReadSettingsLine(line, settings);
}

void ParseProjectGroupText(std::string_view text, CFileStruct& files,
                           std::vector<std::string>* faults) {
    bool inGroups = false;
    std::map<std::string, size_t> firstLines; // upper-case file name -> its line
    const std::vector<std::string_view> lines = SplitLines(text);
    for (size_t at = 0; at < lines.size(); ++at) {
        std::string_view line = lines[at];
        if (!inGroups) {
            inGroups = ContainsText(line, "Group");
            continue;
        }
        line = line.substr(0, line.find_last_not_of(" \t") + 1);
        if (line.empty() || ContainsText(line, "Group")) continue;
        if (ContainsText(line, "Options")) break;
        const std::string name = platform::ToUpperKey(SplitAngleBrackets(line));
        const auto first = name.empty() ? firstLines.end() : firstLines.find(name);
        if (name.empty() || first != firstLines.end()) {
            if (faults)
                faults->push_back(
                    "line " + std::to_string(at + 1) + " \"" + std::string(line) + "\": " +
                    (name.empty() ? "not a File line with its path and name in <...>, so no "
                                    "file is read from it"
                                  : name + " again (first on line " +
                                        std::to_string(first->second) + "), read once"));
            continue;
        }
        firstLines.emplace(name, at + 1);
        files.m_listFileInfo.push_back(FILEINFO{
            RemoveFileExtension(name), "." + SplitFileNameAtDot(name), FileTypeOfLine(line)});
    }
}

int ReadProjectFile(const std::string& path, ProjectSettings& settings) {
    std::string text;
    std::string resolved;
    if (!ReadProjectText(path, text, resolved)) return 0;
    // Paths found from the project folder are opened from anywhere later.
    if (!platform::IsAbsolutePath(resolved)) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(resolved, error);
        if (!error) resolved = absolute.lexically_normal().string();
    }
    settings.m_strProjectDir = platform::DirectoryOf(resolved);
    ParseProjectText(text, settings);
    return 1;
}

int ReadProjectGroupFiles(const std::string& path, CFileStruct& files,
                          std::vector<std::string>* faults) {
    std::string text;
    std::string resolved;
    if (!ReadProjectText(path, text, resolved)) return 0;
    ParseProjectGroupText(text, files, faults);
    return 1;
}

std::string SplitAngleBrackets(std::string_view line) {
    const std::vector<std::string_view> fields = AngleFields(line);
    return fields.size() < 2 ? std::string() : std::string(fields[1]);
}

std::string SplitFileNameAtDot(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return std::string();
    std::string_view extension = name.substr(dot + 1);
    return std::string(extension.substr(0, extension.find('>')));
}

int FileTypeOfLine(std::string_view line) {
    const size_t file = line.find("File");
    if (file == std::string_view::npos) return 0;
    std::string_view numbers = line.substr(file + 4);
    numbers = numbers.substr(0, numbers.find('<'));
    const size_t comma = numbers.find(',');
    if (comma == std::string_view::npos) return 0;
    numbers.remove_prefix(comma + 1);
    const size_t digit = numbers.find_first_not_of(" \t");
    if (digit == std::string_view::npos || numbers[digit] < '0' || numbers[digit] > '9') return 0;
    return ParseDecimalNumber(numbers.substr(digit));
}
