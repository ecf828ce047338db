// A project whose source file was edited after the build, copied from the
// example and from every real project that opens without a word: Open names
// the file and its first line that differs, once, and goes on. A comment
// edited after the build moves no code and is no difference; a source cut
// short loses the code the map places past its end to no line.
#include <gtest/gtest.h>

#include <algorithm>

#include "line_records.h"
#include "loaded_model.h"
#include "path_resolver.h"
#include "test_support.h"

using namespace debuginfo_test;

namespace {

enum class Edit { Insert, Change, Comment, Cut };

// `text` with its line `line` (from 1) edited, its line ends kept.
std::string Edited(std::string text, uint32_t line, Edit edit) {
    size_t start = 0;
    for (uint32_t n = 1; n < line; ++n)
        start = text.find('\n', start) + 1;
    const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    const char* lineEnd = text.find("\r\n") == std::string::npos ? "\n" : "\r\n";
    if (edit == Edit::Insert) text.insert(start, std::string("int inserted_later;") + lineEnd);
    if (edit == Edit::Change) text.insert(end, " ;");
    if (edit == Edit::Comment) text.insert(end, " // edited after the build");
    if (edit == Edit::Cut) text.erase(start);
    return text;
}

} // namespace

TEST(ChangedSourceOpen, AnEditedSourceIsNamedOnceAndOpenGoesOn) {
    ForEveryProjectThatOpens([](const LoadedModel& written, const FreshCopy& fresh) {
        // The first line with code of a C module.
        std::string module;
        uint32_t line = 0;
        for (const auto& [name, records] : written.records) {
            const std::string& source = written.moduleSources.at(name);
            if (!platform::EqualsNoCase(platform::ExtensionOf(source), ".C")) continue;
            for (const LineRecord& record : records)
                if (record.kind == kLineSource && (line == 0 || record.line < line))
                    line = record.line;
            module = name;
            if (line) break;
        }
        ASSERT_NE(line, 0u);
        const std::string& file = written.moduleSources.at(module);
        const ProjectCopy copy = fresh();
        const std::string path = copy.Of(written.sourcePaths.at(file));
        const std::string name = platform::FileNameOf(path);
        const std::string text = ReadWholeFile(path);

        for (Edit edit : {Edit::Insert, Edit::Change, Edit::Comment, Edit::Cut}) {
            const LoadedModel opened =
                copy.OpenReplaced(path, 0, std::string::npos, Edited(text, line, edit));
            ASSERT_TRUE(opened.loaded);
            if (edit == Edit::Comment) {
                EXPECT_EQ(opened.messages, written.messages);
                continue;
            }
            ASSERT_EQ(opened.messages.size(), 1u);
            const std::string& message = opened.messages[0];
            EXPECT_EQ(message.rfind(name + " was changed after the build: line " +
                                        std::to_string(line) + " differs",
                                    0),
                      0u)
                << message;
            if (edit != Edit::Cut) continue;
            // The code of every line from `line` on is named and stands on no line.
            uint32_t last = 0;
            for (const LineRecord& record : written.records.at(module)) {
                if (record.kind != kLineSource || record.line < line) continue;
                last = std::max(last, record.line);
                EXPECT_NE(opened.lineOfAddress.at(record.address),
                          file + ":" + std::to_string(record.line));
            }
            EXPECT_NE(message.find(std::to_string(last) + " of " + name + ", which has " +
                                   std::to_string(line - 1) + " lines"),
                      std::string::npos)
                << message;
        }
    });
}
