#include "open_filter.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string Cased(std::string text, int (*convert)(int)) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [convert](unsigned char c) { return static_cast<char>(convert(c)); });
    return text;
}

} // namespace

std::string DialogFilter(const std::string& filter) {
    size_t bar = filter.find('|');
    std::string description = Trim(filter.substr(0, bar));
    std::string patterns = bar == std::string::npos ? std::string() : filter.substr(bar + 1);
    patterns = patterns.substr(0, patterns.find('|'));

    std::vector<std::string> all;
    auto add = [&all](const std::string& pattern) {
        if (std::find(all.begin(), all.end(), pattern) == all.end()) all.push_back(pattern);
    };
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        std::string pattern =
            Trim(patterns.substr(start, end == std::string::npos ? end : end - start));
        if (!pattern.empty()) {
            add(pattern);
            add(Cased(pattern, ::tolower));
            add(Cased(pattern, ::toupper));
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    std::string joined;
    for (const std::string& pattern : all)
        joined += (joined.empty() ? "" : ";") + pattern;
    return description + "|" + joined;
}
