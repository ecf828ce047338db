#include "file_faults.h"

#include <algorithm>

#include "project_messages.h"

namespace {

constexpr size_t kLinesShown = 10;

} // namespace

void FileFaults::Refuse(uint32_t line, std::string_view field, std::string_view text,
                        std::string_view fault) {
    std::string reason(field);
    reason += " \"";
    reason += text;
    reason += "\" ";
    reason += fault;
    m_refused.push_back({line, std::move(reason)});
}

std::string FileFaults::Message(const std::string& path) const {
    std::string message;
    if (m_bIncomplete) message = FillFormat(kIncompleteFileFormat, {path});
    if (m_refused.empty()) return message;
    if (!message.empty()) message += "\n";
    message += FillFormat(kRefusedLinesFormat, {path});
    std::vector<RefusedLine> lines = m_refused;
    std::stable_sort(lines.begin(), lines.end(), [](const RefusedLine& a, const RefusedLine& b) {
        return a.m_nLine < b.m_nLine;
    });
    for (size_t i = 0; i < lines.size() && i < kLinesShown; ++i)
        message += "\nline " + std::to_string(lines[i].m_nLine) + ": " + lines[i].m_strReason;
    if (lines.size() > kLinesShown)
        message += "\n" + std::to_string(lines.size() - kLinesShown) + kMoreRefusedLinesText;
    return message;
}
