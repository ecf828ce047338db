#include "docking_layout.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <set>
#include <vector>

namespace {

constexpr long long kCentreDirection = 5;
constexpr const char* kDockSizePrefix = "dock_size(";

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// `text` cut at every `separator` that no backslash escapes.
std::vector<std::string> SplitUnescaped(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '|' || text[i + 1] == ';')) {
            parts.back() += text.substr(i, 2);
            ++i;
        } else if (text[i] == separator) {
            parts.emplace_back();
        } else {
            parts.back() += text[i];
        }
    }
    return parts;
}

// A whole number that the docking manager reads back unchanged.
bool ReadWhole(const std::string& text, long long& value) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end && !text.empty() && value >= -2147483648LL &&
           value <= 4294967295LL;
}

bool IsWhole(const std::string& text) {
    long long ignored = 0;
    return ReadWhole(text, ignored);
}

// A pane's fields by their lower-case names; false when a field has no name
// or comes twice.
bool ReadPaneFields(const std::string& part, std::map<std::string, std::string>& fields) {
    for (const std::string& field : SplitUnescaped(part, ';')) {
        const size_t equals = field.find('=');
        std::string key = Trimmed(field.substr(0, equals));
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (key.empty()) return false;
        const std::string value = equals == std::string::npos ? "" : field.substr(equals + 1);
        if (!fields.emplace(key, Trimmed(value)).second) return false;
    }
    return fields.count("name") == 1;
}

// "dock_size(direction,layer,row)=size" with every number in range.
bool IsDockSize(const std::string& part) {
    const size_t close = part.find(")=");
    if (part.rfind(kDockSizePrefix, 0) != 0 || close == std::string::npos) return false;
    const size_t open = std::string(kDockSizePrefix).size();
    std::vector<std::string> numbers = SplitUnescaped(part.substr(open, close - open), ',');
    numbers.push_back(Trimmed(part.substr(close + 2)));
    if (numbers.size() != 4) return false;
    std::vector<long long> values;
    for (const std::string& number : numbers) {
        long long value = 0;
        if (!ReadWhole(number, value) || value < 0) return false;
        values.push_back(value);
    }
    return values[0] <= kCentreDirection;
}

// The parts after the version word, up to the first empty one; false when
// anything but blanks follows that.
bool ReadParts(const std::string& layout, std::string& version, std::vector<std::string>& parts) {
    const std::vector<std::string> all = SplitUnescaped(layout, '|');
    version = Trimmed(all.front());
    size_t i = 1;
    for (; i < all.size() && !Trimmed(all[i]).empty(); ++i)
        parts.push_back(all[i]);
    for (; i < all.size(); ++i)
        if (!Trimmed(all[i]).empty()) return false;
    return true;
}

using PaneFields = std::map<std::string, std::string>;

bool PaneFits(const PaneFields& stored, const PaneFields& firstRun, const LayoutStateBits& bits) {
    for (const auto& [key, value] : firstRun) {
        auto field = stored.find(key);
        if (field == stored.end()) return false;
        if (IsWhole(value) && !IsWhole(field->second)) return false;
    }
    if (stored.size() != firstRun.size()) return false;
    long long direction = 0, firstDirection = 0, state = 0, firstState = 0;
    if (!ReadWhole(stored.at("dir"), direction) || !ReadWhole(firstRun.at("dir"), firstDirection) ||
        !ReadWhole(stored.at("state"), state) || !ReadWhole(firstRun.at("state"), firstState))
        return false;
    const bool centre = firstDirection == kCentreDirection;
    if (direction < 0 || direction > kCentreDirection || (direction == kCentreDirection) != centre)
        return false;
    const unsigned changed = static_cast<unsigned>(state) ^ static_cast<unsigned>(firstState);
    return (changed & ~(centre ? bits.centrePane : bits.sidePane)) == 0;
}

} // namespace

bool IsRestorableLayout(const std::string& stored, const std::string& firstRun,
                        const LayoutStateBits& bits) {
    std::string version, firstVersion;
    std::vector<std::string> parts, firstParts;
    if (!ReadParts(stored, version, parts) || !ReadParts(firstRun, firstVersion, firstParts) ||
        version != firstVersion || version.empty())
        return false;

    std::map<std::string, PaneFields> panes; // the first run's, by name
    for (const std::string& part : firstParts) {
        PaneFields fields;
        if (part.rfind("dock_size", 0) == 0) continue;
        if (!ReadPaneFields(part, fields) || fields.count("dir") == 0 || fields.count("state") == 0)
            return false;
        panes[fields["name"]] = fields;
    }

    std::set<std::string> seen;
    for (const std::string& part : parts) {
        if (part.rfind("dock_size", 0) == 0) {
            if (!IsDockSize(part)) return false;
            continue;
        }
        PaneFields fields;
        if (!ReadPaneFields(part, fields)) return false;
        auto pane = panes.find(fields["name"]);
        if (pane == panes.end() || !seen.insert(pane->first).second) return false;
        if (!PaneFits(fields, pane->second, bits)) return false;
    }
    return seen.size() == panes.size();
}
