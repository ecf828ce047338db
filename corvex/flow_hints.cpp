#include "flow_hints.h"

#include <charconv>
#include <cstdio>
#include <optional>

#include "regular_file.h"

namespace disasm8051 {

namespace {

std::optional<uint16_t> readAddress(std::string_view field) {
    uint16_t value = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value, 16);
    if (field.size() != 4 || stop != end || error != std::errc()) return std::nullopt;
    return value;
}

// The fields of `line` split at single blanks.
std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    size_t pos = 0;
    while (true) {
        const size_t blank = line.find(' ', pos);
        out.push_back(line.substr(pos, blank - pos));
        if (blank == std::string_view::npos) return out;
        pos = blank + 1;
    }
}

bool parseLine(std::string_view line, FlowHints& hints) {
    const std::vector<std::string_view> f = fields(line);
    const std::optional<uint16_t> address = f.size() > 1 ? readAddress(f[1]) : std::nullopt;
    if (!address) return false;
    if (f[0] == "code" && f.size() == 2) {
        hints.codeStarts.push_back(*address);
        return true;
    }
    if (f[0] == "switch" && f.size() == 3 && (f[2] == "1" || f[2] == "2" || f[2] == "4")) {
        hints.switchHelpers.push_back({*address, static_cast<uint8_t>(f[2][0] - '0')});
        return true;
    }
    return false;
}

} // namespace

std::string renderHints(const FlowHints& hints) {
    std::string text;
    char line[24];
    for (uint16_t address : hints.codeStarts) {
        std::snprintf(line, sizeof line, "code %04X\n", address);
        text += line;
    }
    for (const SwitchHelper& helper : hints.switchHelpers) {
        std::snprintf(line, sizeof line, "switch %04X %u\n", helper.address,
                      unsigned(helper.valueBytes));
        text += line;
    }
    return text;
}

bool parseHints(std::string_view text, FlowHints& hints, std::string& error) {
    int number = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        ++number;
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!parseLine(line, hints)) {
            error = "line " + std::to_string(number) + ": not a code or switch hint: \"" +
                    std::string(line.substr(0, 40)) + "\"";
            return false;
        }
        pos = end + 1;
    }
    return true;
}

bool readHintsFile(const std::string& path, FlowHints& hints, std::string& error) {
    std::string text, why;
    if (platform::ReadRegularFile(path, text, &why) != platform::FileReadStatus::Read) {
        error = path + ": cannot open: " + why;
        return false;
    }
    if (!parseHints(text, hints, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace disasm8051
