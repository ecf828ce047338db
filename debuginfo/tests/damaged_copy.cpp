#include "damaged_copy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "path_resolver.h"

namespace debuginfo_test {

std::vector<TextSpan> SpansOf(const std::string& text) {
    std::vector<TextSpan> spans;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        spans.push_back({start, spans.size() + 1, line});
        start = end + 1;
    }
    return spans;
}

size_t WordOffset(const TextSpan& span, int index) {
    const std::vector<std::string> words = Words(span.text);
    const size_t wanted = index < 0 ? words.size() - 1 : static_cast<size_t>(index);
    size_t at = 0;
    for (size_t i = 0; i <= wanted; ++i)
        at = span.text.find(words[i], i == 0 ? 0 : at + words[i - 1].size());
    return span.offset + at;
}

DamagedCopy::DamagedCopy(const ProjectInFolder& project, const std::string& file,
                         const TempFolder& scratch)
    : m_project(project), m_scratch(scratch.Root()) {
    namespace fs = std::filesystem;
    static int copies = 0;
    m_copy = scratch.Path("copy" + std::to_string(++copies));
    CopyFolder(project.folder, m_copy);
    m_path = m_copy + "/" + fs::relative(file, project.folder).string();
    m_text = ReadWholeFile(m_path);
}

LoadedModel DamagedCopy::Open(size_t offset, size_t length, const std::string& replacement) const {
    namespace fs = std::filesystem;
    std::string text = m_text;
    text.replace(offset, length, replacement);
    std::ofstream(m_path, std::ios::binary | std::ios::trunc) << text;
    return OpenAndRead(m_copy + "/" + fs::relative(m_project.project, m_project.folder).string(),
                       m_scratch);
}

void ForEveryOpenedProject(const std::function<void(const ProjectInFolder&, const LoadedModel&,
                                                    const TempFolder&)>& check) {
    TempFolder scratch;
    std::set<std::string> forms;
    for (const ProjectInFolder& candidate : ExampleAndRealProjects()) {
        SCOPED_TRACE(candidate.project);
        const LoadedModel whole = OpenAndRead(candidate.project, scratch.Root());
        if (!whole.loaded) continue; // a project that stops with a message of its own
        ASSERT_TRUE(whole.messages.empty()) << whole.messages.front();
        check(candidate, whole, scratch);
        forms.insert(platform::ToUpperKey(platform::ExtensionOf(whole.mapPath)));
    }
    EXPECT_EQ(forms, (std::set<std::string>{".M51", ".MAP"}));
}

void ExpectModel(const LoadedModel& got, const LoadedModel& expected) {
    ASSERT_TRUE(got.loaded);
    EXPECT_EQ(got.records, expected.records);
    EXPECT_EQ(got.instructions, expected.instructions);
    EXPECT_EQ(got.lineOfAddress, expected.lineOfAddress);
    EXPECT_EQ(got.symbols, expected.symbols);
    EXPECT_EQ(got.sourceLines, expected.sourceLines);
}

void ExpectOpened(const LoadedModel& got, const std::string& path, const std::string& text,
                  const LoadedModel& expected) {
    ASSERT_EQ(got.messages.size(), 1u);
    EXPECT_NE(got.messages[0].find(path), std::string::npos) << got.messages[0];
    EXPECT_NE(got.messages[0].find(text), std::string::npos) << got.messages[0];
    ExpectModel(got, expected);
}

} // namespace debuginfo_test
