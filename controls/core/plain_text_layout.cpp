#include "plain_text_layout.h"

namespace controls {
namespace {

int WidthOf(TextMeasurer& measurer, const std::string& text) {
    return measurer.Measure(text, 0).width;
}

void WrapParagraph(const std::string& paragraph, int width, TextMeasurer& measurer,
                   std::vector<std::string>& lines) {
    std::string line;
    std::size_t pos = 0;
    while (pos < paragraph.size()) {
        std::size_t blank = paragraph.find(' ', pos);
        std::size_t end = blank == std::string::npos ? paragraph.size() : blank;
        std::string word = paragraph.substr(pos, end - pos);
        std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && WidthOf(measurer, candidate) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
        pos = end + (blank == std::string::npos ? 0 : 1);
    }
    lines.push_back(line);
}

} // namespace

std::vector<std::string> WrapPlainText(const std::string& text, int width, TextMeasurer& measurer) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (true) {
        std::size_t feed = text.find('\n', pos);
        std::string paragraph =
            text.substr(pos, feed == std::string::npos ? std::string::npos : feed - pos);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
        WrapParagraph(paragraph, width, measurer, lines);
        if (feed == std::string::npos) break;
        pos = feed + 1;
    }
    return lines;
}

std::string CompactPath(const std::string& path, int width, TextMeasurer& measurer) {
    if (WidthOf(measurer, path) <= width) return path;
    const std::string ellipsis = "...";
    std::size_t lastSeparator = path.find_last_of("\\/");
    if (lastSeparator != std::string::npos && lastSeparator > 0) {
        const std::string tail = path.substr(lastSeparator);
        // The longest leading part that still fits before "..." and the name.
        for (std::size_t keep = lastSeparator; keep-- > 0;) {
            std::string candidate = path.substr(0, keep) + ellipsis + tail;
            if (WidthOf(measurer, candidate) <= width) return candidate;
        }
    }
    std::string name = lastSeparator == std::string::npos ? path : path.substr(lastSeparator + 1);
    for (std::size_t keep = name.size(); keep-- > 0;) {
        std::string candidate = name.substr(0, keep) + ellipsis;
        if (WidthOf(measurer, candidate) <= width) return candidate;
    }
    return ellipsis;
}

} // namespace controls
