// Damaged copies of a project, opened as the user opens them, to compare with
// what the intact project loads.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "loaded_model.h"
#include "test_support.h"

namespace debuginfo_test {

// One text line of a file: where it starts, its number and its text without line end.
struct TextSpan {
    size_t offset = 0;
    size_t number = 0;
    std::string text;
};
std::vector<TextSpan> SpansOf(const std::string& text);

// Where word `index` of the line starts in the file (-1: the last word).
size_t WordOffset(const TextSpan& span, int index);

// A project copied once under a scratch folder; each open rewrites one of its
// files from the intact text with one change.
class DamagedCopy {
public:
    // `file` is the intact file of `project` that the opens change.
    DamagedCopy(const ProjectInFolder& project, const std::string& file, const TempFolder& scratch);
    const std::string& Text() const { return m_text; }
    const std::string& Path() const { return m_path; }
    // Opens the copy whose file holds `replacement` in place of `length`
    // characters at `offset`.
    LoadedModel Open(size_t offset, size_t length, const std::string& replacement) const;

private:
    ProjectInFolder m_project;
    std::string m_copy, m_path, m_text, m_scratch;
};

// Calls `check` for every project of ExampleAndRealProjects() that opens,
// with what it loaded; the example gives both map forms.
void ForEveryOpenedProject(const std::function<void(const ProjectInFolder&, const LoadedModel&,
                                                    const TempFolder&)>& check);

// The damaged open showed one message, naming `path` and holding `text`.
void ExpectMessageNaming(const LoadedModel& damaged, const std::string& path,
                         const std::string& text);

// The damaged open loaded what `expected` holds.
void ExpectModel(const LoadedModel& got, const LoadedModel& expected);

} // namespace debuginfo_test
