#include "example_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace example_test {

namespace {

// The folders and files of the example folder that are not project files.
bool IsProjectFile(const fs::path& relative) {
    const std::string first = relative.begin()->string();
    return first != "generator" && first != "tests" && first != "CMakeLists.txt" &&
           first != "README.md" && first[0] != '.';
}

std::string ToUpper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

uint32_t HexValue(const std::string& text) {
    return static_cast<uint32_t>(std::stoul(text, nullptr, 16));
}

} // namespace

std::string ExampleFolder() {
    return std::string(VEXA_SOURCE_DIR) + "/example";
}

void CopyExampleProject(const debuginfo_test::TempFolder& folder, bool toLf) {
    const fs::path root = ExampleFolder();
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), root);
        if (!IsProjectFile(relative)) continue;
        std::string text = debuginfo_test::ReadWholeFile(entry.path().string());
        if (toLf) {
            std::string lf;
            for (size_t i = 0; i < text.size(); ++i)
                if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lf += text[i];
            text = std::move(lf);
        }
        folder.Write(relative.generic_string(), text);
    }
}

// Records read: "L:C$file.c$line$...:address" (a C line), "L:G$name$0_0$0:address"
// (a module-level symbol), "L:G$name$0$0:address" and
// "L:Fmodule$name$0$0:address" (a function start).
SdccRecords ReadSdccRecords(const std::string& path) {
    SdccRecords records;
    std::istringstream text(debuginfo_test::ReadWholeFile(path));
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("L:", 0) != 0) continue;
        const size_t colon = line.rfind(':');
        if (colon == std::string::npos || colon < 2) continue;
        const std::string name = line.substr(2, colon - 2);
        const uint32_t address = HexValue(line.substr(colon + 1));
        std::vector<std::string> parts;
        std::stringstream fields(name);
        for (std::string part; std::getline(fields, part, '$');)
            parts.push_back(part);
        if (parts.size() < 3) continue;
        if (parts[0] == "C") {
            const std::string key = ToUpper(parts[1]) + ":" + parts[2];
            records.lineAddresses[key].insert(address);
            std::vector<std::string>& keys = records.addressLines[address];
            if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
        } else if (parts[0] == "G" && parts.size() == 4 && parts[2] == "0_0") {
            records.globals[parts[1]] = address;
        } else if ((parts[0] == "G" || parts[0][0] == 'F') && parts.size() == 4 &&
                   parts[2] == "0" && parts[3] == "0") {
            records.functions[parts[1]] = address;
        }
    }
    return records;
}

} // namespace example_test
